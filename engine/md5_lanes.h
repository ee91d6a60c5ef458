// MD5 of several messages of one length at once, one message to each 32-bit lane of the
// processor's vector registers. MD5's steps wait on one another, so one message leaves most of
// a core idle; independent messages side by side fill it. The file digest's chunks are such
// messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/md5.h"

namespace engine {

// A way of digesting `lanes` messages (8 or 16) of `length` bytes each, at
// `messages[0 .. lanes - 1]`, into `digests[0 .. lanes - 1]`: one instruction set and lane
// count. Call `digest` only when `supported()`.
struct Md5Kernel {
  const char* name;
  int lanes;
  int pair_cost;  // what a batch costs, in scalar pairs (Md5Pair) of the same length, rounded up
  bool (*supported)();
  void (*digest)(const uint8_t* const* messages, size_t length, Digest* digests);
};

// Every kernel this build has, supported here or not, the widest first. A 4-lane SSE2 kernel
// lost to the scalar pair (0.9 against 1.4 GB/s: SSE2 has no rotate), so there is none.
std::span<const Md5Kernel> Md5Kernels();

// The digests of `count` messages of `length` bytes each: in batches of the widest kernel this
// processor supports, the rest in a batch with spare lanes or a narrower kernel when that costs
// less than pairs, else in pairs and alone. The same digests as Md5Bytes on each.
void Md5Many(const uint8_t* const* messages, size_t count, size_t length, Digest* digests);

}  // namespace engine
