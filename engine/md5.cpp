#include "engine/md5.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "engine/little_endian.h"

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

// The 64 steps of RFC 1321: round function, the registers in their rotation, message word,
// shift, constant.
// clang-format off
#define VERBARIUM_MD5_STEPS(STEP) \
  STEP(F, a, b, c, d, 0, 7, 0xd76aa478) \
  STEP(F, d, a, b, c, 1, 12, 0xe8c7b756) \
  STEP(F, c, d, a, b, 2, 17, 0x242070db) \
  STEP(F, b, c, d, a, 3, 22, 0xc1bdceee) \
  STEP(F, a, b, c, d, 4, 7, 0xf57c0faf) \
  STEP(F, d, a, b, c, 5, 12, 0x4787c62a) \
  STEP(F, c, d, a, b, 6, 17, 0xa8304613) \
  STEP(F, b, c, d, a, 7, 22, 0xfd469501) \
  STEP(F, a, b, c, d, 8, 7, 0x698098d8) \
  STEP(F, d, a, b, c, 9, 12, 0x8b44f7af) \
  STEP(F, c, d, a, b, 10, 17, 0xffff5bb1) \
  STEP(F, b, c, d, a, 11, 22, 0x895cd7be) \
  STEP(F, a, b, c, d, 12, 7, 0x6b901122) \
  STEP(F, d, a, b, c, 13, 12, 0xfd987193) \
  STEP(F, c, d, a, b, 14, 17, 0xa679438e) \
  STEP(F, b, c, d, a, 15, 22, 0x49b40821) \
  STEP(G, a, b, c, d, 1, 5, 0xf61e2562) \
  STEP(G, d, a, b, c, 6, 9, 0xc040b340) \
  STEP(G, c, d, a, b, 11, 14, 0x265e5a51) \
  STEP(G, b, c, d, a, 0, 20, 0xe9b6c7aa) \
  STEP(G, a, b, c, d, 5, 5, 0xd62f105d) \
  STEP(G, d, a, b, c, 10, 9, 0x02441453) \
  STEP(G, c, d, a, b, 15, 14, 0xd8a1e681) \
  STEP(G, b, c, d, a, 4, 20, 0xe7d3fbc8) \
  STEP(G, a, b, c, d, 9, 5, 0x21e1cde6) \
  STEP(G, d, a, b, c, 14, 9, 0xc33707d6) \
  STEP(G, c, d, a, b, 3, 14, 0xf4d50d87) \
  STEP(G, b, c, d, a, 8, 20, 0x455a14ed) \
  STEP(G, a, b, c, d, 13, 5, 0xa9e3e905) \
  STEP(G, d, a, b, c, 2, 9, 0xfcefa3f8) \
  STEP(G, c, d, a, b, 7, 14, 0x676f02d9) \
  STEP(G, b, c, d, a, 12, 20, 0x8d2a4c8a) \
  STEP(H, a, b, c, d, 5, 4, 0xfffa3942) \
  STEP(H, d, a, b, c, 8, 11, 0x8771f681) \
  STEP(H, c, d, a, b, 11, 16, 0x6d9d6122) \
  STEP(H, b, c, d, a, 14, 23, 0xfde5380c) \
  STEP(H, a, b, c, d, 1, 4, 0xa4beea44) \
  STEP(H, d, a, b, c, 4, 11, 0x4bdecfa9) \
  STEP(H, c, d, a, b, 7, 16, 0xf6bb4b60) \
  STEP(H, b, c, d, a, 10, 23, 0xbebfbc70) \
  STEP(H, a, b, c, d, 13, 4, 0x289b7ec6) \
  STEP(H, d, a, b, c, 0, 11, 0xeaa127fa) \
  STEP(H, c, d, a, b, 3, 16, 0xd4ef3085) \
  STEP(H, b, c, d, a, 6, 23, 0x04881d05) \
  STEP(H, a, b, c, d, 9, 4, 0xd9d4d039) \
  STEP(H, d, a, b, c, 12, 11, 0xe6db99e5) \
  STEP(H, c, d, a, b, 15, 16, 0x1fa27cf8) \
  STEP(H, b, c, d, a, 2, 23, 0xc4ac5665) \
  STEP(I, a, b, c, d, 0, 6, 0xf4292244) \
  STEP(I, d, a, b, c, 7, 10, 0x432aff97) \
  STEP(I, c, d, a, b, 14, 15, 0xab9423a7) \
  STEP(I, b, c, d, a, 5, 21, 0xfc93a039) \
  STEP(I, a, b, c, d, 12, 6, 0x655b59c3) \
  STEP(I, d, a, b, c, 3, 10, 0x8f0ccc92) \
  STEP(I, c, d, a, b, 10, 15, 0xffeff47d) \
  STEP(I, b, c, d, a, 1, 21, 0x85845dd1) \
  STEP(I, a, b, c, d, 8, 6, 0x6fa87e4f) \
  STEP(I, d, a, b, c, 15, 10, 0xfe2ce6e0) \
  STEP(I, c, d, a, b, 6, 15, 0xa3014314) \
  STEP(I, b, c, d, a, 13, 21, 0x4e0811a1) \
  STEP(I, a, b, c, d, 4, 6, 0xf7537e82) \
  STEP(I, d, a, b, c, 11, 10, 0xbd3af235) \
  STEP(I, c, d, a, b, 2, 15, 0x2ad7d2bb) \
  STEP(I, b, c, d, a, 9, 21, 0xeb86d391)
// clang-format on

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
#undef VERBARIUM_MD5_STEPS

constexpr uint32_t kInitialState[4] = {0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u};

// The message's last bytes completed as RFC 1321 pads them: 0x80, zeros up to 56 bytes modulo
// 64, then the bit count. Returns the number of blocks written to `out`, 1 or 2.
int PadTail(const uint8_t* tail, size_t tail_length, uint64_t bit_count, uint8_t (&out)[128]) {
  std::memset(out, 0, sizeof out);
  if (tail_length != 0) std::memcpy(out, tail, tail_length);
  out[tail_length] = 0x80;
  const int blocks = tail_length < 56 ? 1 : 2;
  for (int i = 0; i < 8; ++i)
    out[64 * blocks - 8 + i] = static_cast<uint8_t>(bit_count >> (8 * i));
  return blocks;
}

}  // namespace

Md5::Md5()
    : state_{kInitialState[0], kInitialState[1], kInitialState[2], kInitialState[3]}, buffer_{} {}

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
    std::memcpy(lane, kInitialState, sizeof lane);
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

namespace {

// Feeds the digests of `count` whole chunks at `data` to `outer`, in order, two at a time.
void DigestChunks(const uint8_t* data, size_t count, Md5* outer) {
  Digest pair[2];
  for (size_t i = 0; i + 1 < count; i += 2) {
    Md5Pair(data + i * kFileDigestChunk, data + (i + 1) * kFileDigestChunk, kFileDigestChunk,
            &pair[0], &pair[1]);
    outer->Update(pair[0].data(), pair[0].size());
    outer->Update(pair[1].data(), pair[1].size());
  }
  if (count % 2 != 0) {
    pair[0] = Md5Bytes(data + (count - 1) * kFileDigestChunk, kFileDigestChunk);
    outer->Update(pair[0].data(), pair[0].size());
  }
}

// Bytes of each chunk read at a time: two such slices, one per chunk of a pair, are the only
// buffer, so that the digest touches little fresh memory.
constexpr size_t kSlice = 65536;
static_assert(kFileDigestChunk % kSlice == 0);

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Reads up to `length` bytes at `offset`: the count read (short only at the end of the file),
// or -1 on an error.
long ReadAt(int fd, uint64_t offset, uint8_t* out, size_t length) {
  size_t done = 0;
  while (done < length) {
    const ssize_t got = ::pread(fd, out + done, length - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return static_cast<long>(done);
}

// The digests of the whole chunks at `first` and, when `pair`, at `second` (file offsets),
// read slice by slice and digested side by side. False when a read fails or comes up short.
bool DigestChunkPair(int fd, uint64_t first, uint64_t second, bool pair, uint8_t* slices,
                     Digest* first_digest, Digest* second_digest) {
  uint32_t state[2][4];
  for (auto& lane : state)
    std::memcpy(lane, kInitialState, sizeof lane);
  uint8_t* const slice[2] = {slices, slices + kSlice};
  for (size_t at = 0; at < kFileDigestChunk; at += kSlice) {
    if (ReadAt(fd, first + at, slice[0], kSlice) != static_cast<long>(kSlice)) return false;
    if (pair && ReadAt(fd, second + at, slice[1], kSlice) != static_cast<long>(kSlice)) {
      return false;
    }
    for (size_t block = 0; block < kSlice; block += 64) {
      if (pair) {
        TransformTwo(state[0], state[1], slice[0] + block, slice[1] + block);
      } else {
        TransformOne(state[0], slice[0] + block);
      }
    }
  }
  uint8_t padding[128];
  PadTail(nullptr, 0, uint64_t{kFileDigestChunk} << 3, padding);  // one block: 0x80, the size
  if (pair) {
    TransformTwo(state[0], state[1], padding, padding);
  } else {
    TransformOne(state[0], padding);
  }
  for (int i = 0; i < 4; ++i) {
    StoreU32(first_digest->data() + 4 * i, state[0][i]);
    StoreU32(second_digest->data() + 4 * i, state[1][i]);
  }
  return true;
}

}  // namespace

Digest ChunkedDigest(const uint8_t* data, size_t length) {
  Md5 outer;
  DigestChunks(data, length / kFileDigestChunk, &outer);
  return outer.Final();
}

bool FileDigest(const char* path, uint64_t start_offset, Digest* out) {
  if (path == nullptr || out == nullptr) return false;
  Descriptor file(::open(path, O_RDONLY | O_CLOEXEC));
  struct stat status;
  if (file.get() < 0 || ::fstat(file.get(), &status) != 0 || status.st_size < 0) return false;

  // An offset past the end of the file is not a region of the file: fail rather than digest
  // the empty input a seek beyond the end would give.
  const uint64_t size = static_cast<uint64_t>(status.st_size);
  if (start_offset > size) return false;
  std::unique_ptr<uint8_t[]> slices(new (std::nothrow) uint8_t[2 * kSlice]);
  if (!slices) return false;

  // The chunks are counted from the size at opening: a file that changes meanwhile fails. The
  // chunk digests are fed to the outer digest as they come, in file order: the same bytes as
  // digesting their concatenation, without keeping the list.
  const uint64_t chunks = (size - start_offset) / kFileDigestChunk;
  Md5 outer;
  for (uint64_t k = 0; k < chunks; k += 2) {
    const uint64_t at = start_offset + k * kFileDigestChunk;
    const bool pair = k + 1 < chunks;
    Digest digests[2];
    if (!DigestChunkPair(file.get(), at, at + kFileDigestChunk, pair, slices.get(), &digests[0],
                         &digests[1])) {
      return false;
    }
    outer.Update(digests[0].data(), digests[0].size());
    if (pair) outer.Update(digests[1].data(), digests[1].size());
  }
  // A short final chunk is left out of the digest, but it is read: a file that cannot be read
  // to its end (a folder, an I/O error) fails.
  for (uint64_t at = start_offset + chunks * kFileDigestChunk; at < size; at += kSlice) {
    if (ReadAt(file.get(), at, slices.get(), kSlice) < 0) return false;
  }
  if (ReadAt(file.get(), size, slices.get(), 1) < 0) return false;
  *out = outer.Final();
  return true;
}

}  // namespace engine
