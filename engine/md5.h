// MD5 of RFC 1321, and the file digest that guards the data files.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace engine {

using Digest = std::array<uint8_t, 16>;

// Incremental MD5: Update any number of times, then Final once.
class Md5 {
 public:
  Md5();
  void Update(const void* data, size_t length);
  Digest Final();

 private:
  void Transform(const uint8_t block[64]);
  uint32_t state_[4];
  uint64_t bit_count_ = 0;
  uint8_t buffer_[64];
};

// Digest of a byte range.
Digest Md5Bytes(const void* data, size_t length);

// Digest of a NUL-terminated string's bytes, the NUL not included.
Digest Md5String(const char* text);

// The digests of two messages of the same `length`, computed side by side: about twice the
// throughput of two Md5Bytes calls.
void Md5Pair(const uint8_t* first, const uint8_t* second, size_t length, Digest* first_digest,
             Digest* second_digest);

// Bytes per chunk of the file digest.
inline constexpr size_t kFileDigestChunk = 524288;

// File digest: the MD5 of the concatenated MD5s of the complete 512 KiB chunks that follow
// `start_offset`. A short final chunk is not digested (stored files rely on it). The chunks are
// digested side by side in vector lanes (engine/md5_lanes.h). Returns false when the file
// cannot be opened or mapped (a folder, a device) or is shorter than `start_offset`.
bool FileDigest(const char* path, uint64_t start_offset, Digest* out);

// The same digest over bytes already in memory: the writers seal their files with it.
Digest ChunkedDigest(const uint8_t* data, size_t length);

}  // namespace engine
