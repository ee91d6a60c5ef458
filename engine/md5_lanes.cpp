#include "engine/md5_lanes.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "engine/little_endian.h"
#include "engine/md5_internal.h"

namespace engine {

namespace {

// 32-bit lanes in registers of 32 and 64 bytes. Vectors are only ever passed by reference
// so that no function's calling convention depends on the instruction set it was built for.
typedef uint32_t Lanes8 __attribute__((vector_size(32)));
typedef uint32_t Lanes16 __attribute__((vector_size(64)));

// The round functions as in RFC 1321; with AVX-512 the compiler makes each one instruction.
#define VERBARIUM_MD5_VF(b, c, d) ((d) ^ ((b) & ((c) ^ (d))))
#define VERBARIUM_MD5_VG(b, c, d) (((b) & (d)) | ((c) & ~(d)))
#define VERBARIUM_MD5_VH(b, c, d) ((b) ^ (c) ^ (d))
#define VERBARIUM_MD5_VI(b, c, d) ((c) ^ ((b) | ~(d)))
#define VERBARIUM_MD5_VSTEP(FN, A, B, C, D, WORD, SHIFT, CONSTANT)                        \
  {                                                                                       \
    const V sum =                                                                         \
        A + words[WORD] + static_cast<uint32_t>(CONSTANT) + VERBARIUM_MD5_V##FN(B, C, D); \
    A = B + ((sum << SHIFT) | (sum >> (32 - SHIFT)));                                     \
  }

// Transpositions of kLanes rows of kLanes words (row i: words of lane i) into columns (row i:
// word i of every lane), each in shuffles the instruction set has as single instructions.

// 16 lanes (AVX-512 has two-source shuffles of any pattern): log2(16) rounds of the same
// interleaving, row 2j taking the first halves of rows j and j + 8 word by word, row 2j + 1
// their second halves.
template <size_t... kAt>
[[gnu::always_inline]] inline void Transpose(Lanes16 (&rows)[16], std::index_sequence<kAt...>) {
  for (int round = 1; round < 16; round *= 2) {
    Lanes16 next[16];
    for (int j = 0; j < 8; ++j) {
      next[2 * j] =
          __builtin_shufflevector(rows[j], rows[j + 8], (kAt % 2 ? 16 + kAt / 2 : kAt / 2)...);
      next[2 * j + 1] =
          __builtin_shufflevector(rows[j], rows[j + 8], (kAt % 2 ? 24 + kAt / 2 : 8 + kAt / 2)...);
    }
    for (int j = 0; j < 16; ++j)
      rows[j] = next[j];
  }
}

// 8 lanes (AVX2 shuffles within 128-bit halves, and swaps halves): interleave pairs of words,
// then pairs of pairs, then exchange the halves.
template <size_t... kAt>
[[gnu::always_inline]] inline void Transpose(Lanes8 (&r)[8], std::index_sequence<kAt...>) {
  Lanes8 t[8], u[8];
  for (int j = 0; j < 8; j += 2) {
    t[j] = __builtin_shufflevector(r[j], r[j + 1], 0, 8, 1, 9, 4, 12, 5, 13);
    t[j + 1] = __builtin_shufflevector(r[j], r[j + 1], 2, 10, 3, 11, 6, 14, 7, 15);
  }
  for (int j = 0; j < 8; j += 4) {
    for (int k = 0; k < 2; ++k) {
      u[j + 2 * k] = __builtin_shufflevector(t[j + k], t[j + k + 2], 0, 1, 8, 9, 4, 5, 12, 13);
      u[j + 2 * k + 1] =
          __builtin_shufflevector(t[j + k], t[j + k + 2], 2, 3, 10, 11, 6, 7, 14, 15);
    }
  }
  for (int j = 0; j < 4; ++j) {
    r[j] = __builtin_shufflevector(u[j], u[j + 4], 0, 1, 2, 3, 8, 9, 10, 11);
    r[j + 4] = __builtin_shufflevector(u[j], u[j + 4], 4, 5, 6, 7, 12, 13, 14, 15);
  }
}

// One 64-byte block of each lane's message into the lanes' chaining state. `blocks[i]` is
// lane i's block. The blocks are read a vector at a time and transposed, so that vector w
// holds message word w of every lane.
template <typename V, int kLanes>
[[gnu::always_inline]] inline void TransformLanes(V (&state)[4], const uint8_t* const* blocks) {
  static_assert(16 % kLanes == 0 && sizeof(V) == 4 * kLanes);
  V words[16];
  for (int part = 0; part < 16 / kLanes; ++part) {
    V rows[kLanes];
    for (int lane = 0; lane < kLanes; ++lane)
      std::memcpy(&rows[lane], blocks[lane] + sizeof(V) * part, sizeof(V));  // little-endian
    Transpose(rows, std::make_index_sequence<kLanes>());
    for (int i = 0; i < kLanes; ++i)
      words[kLanes * part + i] = rows[i];
  }
  V a = state[0], b = state[1], c = state[2], d = state[3];
  VERBARIUM_MD5_STEPS(VERBARIUM_MD5_VSTEP)
  state[0] += a, state[1] += b, state[2] += c, state[3] += d;
}

#undef VERBARIUM_MD5_VSTEP
#undef VERBARIUM_MD5_VI
#undef VERBARIUM_MD5_VH
#undef VERBARIUM_MD5_VG
#undef VERBARIUM_MD5_VF

template <typename V, int kLanes>
[[gnu::always_inline]] inline void DigestLanes(const uint8_t* const* messages, size_t length,
                                               Digest* digests) {
  V state[4];
  for (int i = 0; i < 4; ++i)
    state[i] = V{} + kMd5InitialState[i];
  const uint8_t* blocks[kLanes];
  const size_t whole = length - length % 64;
  for (size_t at = 0; at < whole; at += 64) {
    for (int lane = 0; lane < kLanes; ++lane)
      blocks[lane] = messages[lane] + at;
    TransformLanes<V, kLanes>(state, blocks);
  }
  uint8_t tails[kLanes][128];
  int tail_blocks = 0;
  for (int lane = 0; lane < kLanes; ++lane) {
    tail_blocks =
        PadTail(messages[lane] + whole, length - whole, uint64_t{length} << 3, tails[lane]);
  }
  for (int b = 0; b < tail_blocks; ++b) {
    for (int lane = 0; lane < kLanes; ++lane)
      blocks[lane] = tails[lane] + 64 * b;
    TransformLanes<V, kLanes>(state, blocks);
  }
  for (int lane = 0; lane < kLanes; ++lane) {
    for (int i = 0; i < 4; ++i)
      StoreU32(digests[lane].data() + 4 * i, state[i][lane]);
  }
}

// The kernels: lane vectors of the width each instruction set has, on x86-64 (elsewhere the
// pairs of md5.cpp do all).
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
__attribute__((target("avx2"))) void Avx2x8(const uint8_t* const* messages, size_t length,
                                            Digest* digests) {
  DigestLanes<Lanes8, 8>(messages, length, digests);
}
__attribute__((target("avx512f"))) void Avx512x16(const uint8_t* const* messages, size_t length,
                                                  Digest* digests) {
  DigestLanes<Lanes16, 16>(messages, length, digests);
}
// The processor's features, as the runtime's start-up found them before main.
bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
bool HasAvx512() {
  static const bool has = __builtin_cpu_supports("avx512f");
  return has;
}

// Widest first; `pair_cost` as measured with bench_codec's
// BM_Md5Kernel.
const Md5Kernel kKernels[] = {
    {"avx512x16", 16, 3, HasAvx512, Avx512x16},
    {"avx2x8", 8, 4, HasAvx2, Avx2x8},
};
#endif

}  // namespace

std::span<const Md5Kernel> Md5Kernels() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  return kKernels;
#else
  return {};
#endif
}

void Md5Many(const uint8_t* const* messages, size_t count, size_t length, Digest* digests) {
  size_t done = 0;
  for (const Md5Kernel& kernel : Md5Kernels()) {
    if (!kernel.supported()) continue;
    const size_t lanes = static_cast<size_t>(kernel.lanes);
    for (; count - done >= lanes; done += lanes)
      kernel.digest(messages + done, length, digests + done);
    // Fewer messages than lanes: one batch whose spare lanes repeat the last message, when it
    // costs less than the pairs.
    const size_t rest = count - done;
    if (rest > 0 && (rest + 1) / 2 > static_cast<size_t>(kernel.pair_cost)) {
      const uint8_t* batch[16];
      Digest batch_digests[16];
      for (size_t i = 0; i < lanes; ++i)
        batch[i] = messages[done + std::min(i, rest - 1)];
      kernel.digest(batch, length, batch_digests);
      std::copy(batch_digests, batch_digests + rest, digests + done);
      done = count;
    }
  }
  for (; count - done >= 2; done += 2)
    Md5Pair(messages[done], messages[done + 1], length, &digests[done], &digests[done + 1]);
  if (done < count) digests[done] = Md5Bytes(messages[done], length);
}

}  // namespace engine
