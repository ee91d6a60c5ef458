// The block cipher under the record cipher, with the effective key length as a parameter so
// that every key schedule of the cipher can be checked, not only the one the records use.
#pragma once

#include <cstddef>
#include <cstdint>

namespace engine::rc2 {

inline constexpr unsigned kMaxEffectiveBits = 1024;

// Expands `length` (1 to 128) key bytes into the 64 key words. `effective_bits` 0, or above
// 1,024, is taken as 1,024: the reduction then only passes the first byte through the table.
void ExpandKey(const uint8_t* key, size_t length, unsigned effective_bits, uint16_t words[64]);

// One 8-byte block, read and written as four little-endian 16-bit words. `in` and `out` may be
// the same block.
void EncryptBlock(const uint16_t words[64], const uint8_t in[8], uint8_t out[8]);
void DecryptBlock(const uint16_t words[64], const uint8_t in[8], uint8_t out[8]);

}  // namespace engine::rc2
