#include "engine/md5.h"

#include <cstring>
#include <vector>

#include "engine/little_endian.h"
#include "engine/mapped_file.h"
#include "engine/md5_internal.h"
#include "engine/md5_lanes.h"

namespace engine {

namespace {

inline uint32_t RotateLeft(uint32_t x, int n) {
  return (x << n) | (x >> (32 - n));
}

// The round functions, each added to the rest of a step's sum so that b, the previous step's
// result and the last operand to be ready, enters last: the message word, the constant and
// what depends only on c and d are added first. G is (b & d) | (c & ~d), whose two parts
// share no bit and so may be added one after the other.
inline uint32_t AddF(uint32_t sum, uint32_t b, uint32_t c, uint32_t d) {
  return sum + (d ^ (b & (c ^ d)));
}
inline uint32_t AddG(uint32_t sum, uint32_t b, uint32_t c, uint32_t d) {
  return sum + (c & ~d) + (b & d);
}
inline uint32_t AddH(uint32_t sum, uint32_t b, uint32_t c, uint32_t d) {
  return sum + (b ^ (c ^ d));
}
inline uint32_t AddI(uint32_t sum, uint32_t b, uint32_t c, uint32_t d) {
  return sum + (c ^ (b | ~d));
}

// One step for lane L: registers a##L to d##L, message block##L.
#define VERBARIUM_MD5_LANE(L, FN, A, B, C, D, WORD, SHIFT, CONSTANT)                               \
  A##L =                                                                                           \
      B##L + RotateLeft(Add##FN(A##L + LoadU32(block##L + 4 * WORD) + CONSTANT, B##L, C##L, D##L), \
                        SHIFT);

// One 64-byte block into the chaining state.
void TransformOne(uint32_t (&state0)[4], const uint8_t* block0) {
  uint32_t a0 = state0[0], b0 = state0[1], c0 = state0[2], d0 = state0[3];
#define VERBARIUM_MD5_STEP(...) VERBARIUM_MD5_LANE(0, __VA_ARGS__)
  VERBARIUM_MD5_STEPS(VERBARIUM_MD5_STEP)
#undef VERBARIUM_MD5_STEP
  state0[0] += a0, state0[1] += b0, state0[2] += c0, state0[3] += d0;
}

// One block of each of two messages. MD5's steps wait on one another; the steps of a second
// message, independent of the first, keep the processor's idle units busy, so two messages
// take little longer than one.
void TransformTwo(uint32_t (&state0)[4], uint32_t (&state1)[4], const uint8_t* block0,
                  const uint8_t* block1) {
  uint32_t a0 = state0[0], b0 = state0[1], c0 = state0[2], d0 = state0[3];
  uint32_t a1 = state1[0], b1 = state1[1], c1 = state1[2], d1 = state1[3];
#define VERBARIUM_MD5_STEP(...) \
  VERBARIUM_MD5_LANE(0, __VA_ARGS__) VERBARIUM_MD5_LANE(1, __VA_ARGS__)
  VERBARIUM_MD5_STEPS(VERBARIUM_MD5_STEP)
#undef VERBARIUM_MD5_STEP
  state0[0] += a0, state0[1] += b0, state0[2] += c0, state0[3] += d0;
  state1[0] += a1, state1[1] += b1, state1[2] += c1, state1[3] += d1;
}

#undef VERBARIUM_MD5_LANE

}  // namespace

Md5::Md5()
    : state_{kMd5InitialState[0], kMd5InitialState[1], kMd5InitialState[2], kMd5InitialState[3]},
      buffer_{} {}

void Md5::Transform(const uint8_t block[64]) {
  TransformOne(state_, block);
}

void Md5::Update(const void* data, size_t length) {
  if (length == 0) return;
  const uint8_t* p = static_cast<const uint8_t*>(data);
  size_t used = static_cast<size_t>((bit_count_ >> 3) & 63);
  bit_count_ += static_cast<uint64_t>(length) << 3;

  if (used != 0) {
    size_t room = 64 - used;
    if (length < room) {
      std::memcpy(buffer_ + used, p, length);
      return;
    }
    std::memcpy(buffer_ + used, p, room);
    Transform(buffer_);
    p += room;
    length -= room;
  }
  for (; length >= 64; p += 64, length -= 64)
    Transform(p);
  if (length != 0) std::memcpy(buffer_, p, length);
}

Digest Md5::Final() {
  uint8_t length_bytes[8];
  for (int i = 0; i < 8; ++i)
    length_bytes[i] = static_cast<uint8_t>(bit_count_ >> (8 * i));

  // 0x80, then zeros up to 56 bytes modulo 64, then the bit count of the message.
  static const uint8_t kPadding[64] = {0x80};
  size_t used = static_cast<size_t>((bit_count_ >> 3) & 63);
  size_t pad = used < 56 ? 56 - used : 120 - used;
  Update(kPadding, pad);
  Update(length_bytes, 8);

  Digest digest;
  for (int i = 0; i < 4; ++i)
    StoreU32(digest.data() + 4 * i, state_[i]);
  return digest;
}

Digest Md5Bytes(const void* data, size_t length) {
  Md5 md5;
  md5.Update(data, length);
  return md5.Final();
}

Digest Md5String(const char* text) {
  if (text == nullptr) return Md5Bytes(nullptr, 0);
  return Md5Bytes(text, std::strlen(text));
}

void Md5Pair(const uint8_t* first, const uint8_t* second, size_t length, Digest* first_digest,
             Digest* second_digest) {
  uint32_t state[2][4];
  for (auto& lane : state)
    std::memcpy(lane, kMd5InitialState, sizeof lane);
  const size_t whole = length - length % 64;
  for (size_t at = 0; at < whole; at += 64) {
    TransformTwo(state[0], state[1], first + at, second + at);
  }
  uint8_t tails[2][128];
  const uint64_t bits = static_cast<uint64_t>(length) << 3;
  const int blocks = PadTail(first + whole, length - whole, bits, tails[0]);
  PadTail(second + whole, length - whole, bits, tails[1]);
  for (int b = 0; b < blocks; ++b) {
    TransformTwo(state[0], state[1], tails[0] + 64 * b, tails[1] + 64 * b);
  }
  for (int i = 0; i < 4; ++i) {
    StoreU32(first_digest->data() + 4 * i, state[0][i]);
    StoreU32(second_digest->data() + 4 * i, state[1][i]);
  }
}

Digest ChunkedDigest(const uint8_t* data, size_t length) {
  // Every chunk is a message of its own: they are digested side by side in the vector lanes,
  // then their digests, in file order, make the outer message.
  const size_t count = length / kFileDigestChunk;
  std::vector<const uint8_t*> chunks(count);
  for (size_t i = 0; i < count; ++i)
    chunks[i] = data + i * kFileDigestChunk;
  std::vector<Digest> digests(count);
  static_assert(sizeof(Digest) == 16, "the digests are contiguous bytes");
  Md5Many(chunks.data(), count, kFileDigestChunk, digests.data());
  return Md5Bytes(digests.data(), count * sizeof(Digest));
}

bool FileDigest(const char* path, uint64_t start_offset, Digest* out) {
  if (path == nullptr || out == nullptr) return false;
  // The file is read from its mapping, every page entered at once: no copy, and one request
  // instead of a fault per page.
  MappedFile file;
  if (!file.Map(path, /*populate=*/true)) return false;
  // An offset past the end of the file is not a region of the file: fail rather than digest
  // the empty input.
  if (start_offset > file.size()) return false;
  *out = ChunkedDigest(file.data() + start_offset, file.size() - start_offset);
  return true;
}

}  // namespace engine
