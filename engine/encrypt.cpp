#include "engine/encrypt.h"

#include <cstring>
#include <limits>
#include <new>

#include "engine/rc2_internal.h"

struct EncryptKey {
  uint16_t words[64];
};

namespace engine::rc2 {

namespace {

// The key-expansion permutation: a pseudo-random arrangement of 0 to 255 derived from the
// digits of pi.
constexpr uint8_t kPiTable[256] = {
    0xd9, 0x78, 0xf9, 0xc4, 0x19, 0xdd, 0xb5, 0xed, 0x28, 0xe9, 0xfd, 0x79, 0x4a, 0xa0, 0xd8, 0x9d,
    0xc6, 0x7e, 0x37, 0x83, 0x2b, 0x76, 0x53, 0x8e, 0x62, 0x4c, 0x64, 0x88, 0x44, 0x8b, 0xfb, 0xa2,
    0x17, 0x9a, 0x59, 0xf5, 0x87, 0xb3, 0x4f, 0x13, 0x61, 0x45, 0x6d, 0x8d, 0x09, 0x81, 0x7d, 0x32,
    0xbd, 0x8f, 0x40, 0xeb, 0x86, 0xb7, 0x7b, 0x0b, 0xf0, 0x95, 0x21, 0x22, 0x5c, 0x6b, 0x4e, 0x82,
    0x54, 0xd6, 0x65, 0x93, 0xce, 0x60, 0xb2, 0x1c, 0x73, 0x56, 0xc0, 0x14, 0xa7, 0x8c, 0xf1, 0xdc,
    0x12, 0x75, 0xca, 0x1f, 0x3b, 0xbe, 0xe4, 0xd1, 0x42, 0x3d, 0xd4, 0x30, 0xa3, 0x3c, 0xb6, 0x26,
    0x6f, 0xbf, 0x0e, 0xda, 0x46, 0x69, 0x07, 0x57, 0x27, 0xf2, 0x1d, 0x9b, 0xbc, 0x94, 0x43, 0x03,
    0xf8, 0x11, 0xc7, 0xf6, 0x90, 0xef, 0x3e, 0xe7, 0x06, 0xc3, 0xd5, 0x2f, 0xc8, 0x66, 0x1e, 0xd7,
    0x08, 0xe8, 0xea, 0xde, 0x80, 0x52, 0xee, 0xf7, 0x84, 0xaa, 0x72, 0xac, 0x35, 0x4d, 0x6a, 0x2a,
    0x96, 0x1a, 0xd2, 0x71, 0x5a, 0x15, 0x49, 0x74, 0x4b, 0x9f, 0xd0, 0x5e, 0x04, 0x18, 0xa4, 0xec,
    0xc2, 0xe0, 0x41, 0x6e, 0x0f, 0x51, 0xcb, 0xcc, 0x24, 0x91, 0xaf, 0x50, 0xa1, 0xf4, 0x70, 0x39,
    0x99, 0x7c, 0x3a, 0x85, 0x23, 0xb8, 0xb4, 0x7a, 0xfc, 0x02, 0x36, 0x5b, 0x25, 0x55, 0x97, 0x31,
    0x2d, 0x5d, 0xfa, 0x98, 0xe3, 0x8a, 0x92, 0xae, 0x05, 0xdf, 0x29, 0x10, 0x67, 0x6c, 0xba, 0xc9,
    0xd3, 0x00, 0xe6, 0xcf, 0xe1, 0x9e, 0xa8, 0x2c, 0x63, 0x16, 0x01, 0x3f, 0x58, 0xe2, 0x89, 0xa9,
    0x0d, 0x38, 0x34, 0x1b, 0xab, 0x33, 0xff, 0xb0, 0xbb, 0x48, 0x0c, 0x5f, 0xb9, 0xb1, 0xcd, 0x2e,
    0xc5, 0xf3, 0xdb, 0x47, 0xe5, 0xa5, 0x9c, 0x77, 0x0a, 0xa6, 0x20, 0x68, 0xfe, 0x7f, 0xc1, 0xad};

inline uint16_t Rotl(uint16_t x, int n) {
  return static_cast<uint16_t>((x << n) | (x >> (16 - n)));
}
inline uint16_t Rotr(uint16_t x, int n) {
  return static_cast<uint16_t>((x >> n) | (x << (16 - n)));
}

inline void Load(const uint8_t in[8], uint16_t r[4]) {
  for (int i = 0; i < 4; ++i)
    r[i] = static_cast<uint16_t>(in[2 * i] | in[2 * i + 1] << 8);
}
inline void Store(const uint16_t r[4], uint8_t out[8]) {
  for (int i = 0; i < 4; ++i) {
    out[2 * i] = static_cast<uint8_t>(r[i]);
    out[2 * i + 1] = static_cast<uint8_t>(r[i] >> 8);
  }
}

constexpr int kShift[4] = {1, 2, 3, 5};

// One mixing round over the four words, consuming four key words from `*j` upwards.
inline void Mix(uint16_t r[4], const uint16_t k[64], int* j) {
  for (int i = 0; i < 4; ++i) {
    uint16_t a = r[(i + 3) & 3], b = r[(i + 2) & 3], c = r[(i + 1) & 3];
    r[i] = static_cast<uint16_t>(r[i] + k[(*j)++] + (a & b) + (~a & c));
    r[i] = Rotl(r[i], kShift[i]);
  }
}

inline void Mash(uint16_t r[4], const uint16_t k[64]) {
  for (int i = 0; i < 4; ++i)
    r[i] = static_cast<uint16_t>(r[i] + k[r[(i + 3) & 3] & 63]);
}

// The inverse round: words in the order 3, 2, 1, 0, key words from `*j` downwards.
inline void Unmix(uint16_t r[4], const uint16_t k[64], int* j) {
  for (int i = 3; i >= 0; --i) {
    r[i] = Rotr(r[i], kShift[i]);
    uint16_t a = r[(i + 3) & 3], b = r[(i + 2) & 3], c = r[(i + 1) & 3];
    r[i] = static_cast<uint16_t>(r[i] - k[(*j)--] - (a & b) - (~a & c));
  }
}

inline void Unmash(uint16_t r[4], const uint16_t k[64]) {
  for (int i = 3; i >= 0; --i)
    r[i] = static_cast<uint16_t>(r[i] - k[r[(i + 3) & 3] & 63]);
}

}  // namespace

void ExpandKey(const uint8_t* key, size_t length, unsigned effective_bits, uint16_t words[64]) {
  if (effective_bits == 0 || effective_bits > kMaxEffectiveBits) effective_bits = kMaxEffectiveBits;
  if (length > 128) length = 128;

  uint8_t l[128] = {};
  if (key != nullptr && length > 0) std::memcpy(l, key, length);

  // Stretch the key to 128 bytes, then cut it back to `effective_bits` bits of entropy.
  for (size_t i = length; length > 0 && i < 128; ++i) {
    l[i] = kPiTable[static_cast<uint8_t>(l[i - 1] + l[i - length])];
  }
  const unsigned t8 = (effective_bits + 7) / 8;
  const unsigned tm = 0xffu >> (8 * t8 - effective_bits);
  l[128 - t8] = kPiTable[l[128 - t8] & tm];
  for (int i = 127 - static_cast<int>(t8); i >= 0; --i) {
    l[i] = kPiTable[l[i + 1] ^ l[i + t8]];
  }
  for (int i = 0; i < 64; ++i)
    words[i] = static_cast<uint16_t>(l[2 * i] | l[2 * i + 1] << 8);
}

void EncryptBlock(const uint16_t k[64], const uint8_t in[8], uint8_t out[8]) {
  uint16_t r[4];
  Load(in, r);
  int j = 0;
  for (int round = 0; round < 16; ++round) {
    Mix(r, k, &j);
    if (round == 4 || round == 10) Mash(r, k);
  }
  Store(r, out);
}

void DecryptBlock(const uint16_t k[64], const uint8_t in[8], uint8_t out[8]) {
  uint16_t r[4];
  Load(in, r);
  int j = 63;
  for (int round = 0; round < 16; ++round) {
    Unmix(r, k, &j);
    if (round == 4 || round == 10) Unmash(r, k);
  }
  Store(r, out);
}

}  // namespace engine::rc2

uint32_t Encrypt_Initialize(EncryptHandle* handle, const uint8_t* key, uint32_t key_length) {
  if (handle == nullptr) return kEncryptNullArgument;
  if (key == nullptr) {
    key = reinterpret_cast<const uint8_t*>(kEncryptDefaultKey);
    key_length = sizeof kEncryptDefaultKey - 1;
  } else if (key_length < 1 || key_length > 128) {
    return kEncryptNullArgument;
  }
  EncryptKey* expanded = new (std::nothrow) EncryptKey;
  if (expanded == nullptr) return kEncryptNoMemory;
  engine::rc2::ExpandKey(key, key_length, engine::rc2::kMaxEffectiveBits, expanded->words);
  *handle = expanded;
  return kEncryptOk;
}

uint32_t Encrypt_Deinitialize(EncryptHandle* handle) {
  if (handle == nullptr) return kEncryptNullArgument;
  delete *handle;
  return kEncryptOk;
}

namespace {

// Both directions walk the input a block at a time and compare each block's start, not its
// end, with the capacity: the last block may end up to 7 bytes past it.
uint32_t Crypt(EncryptHandle handle, const uint8_t* in, int32_t length, uint8_t* out,
               int32_t* out_length, bool encipher) {
  if (handle == nullptr) return kEncryptNullHandle;
  if (in == nullptr || out == nullptr || out_length == nullptr) return kEncryptNullArgument;
  if (length <= 0) {
    *out_length = length;
    return kEncryptOk;
  }
  const int64_t rounded = (static_cast<int64_t>(length) + 7) / 8 * 8;
  // The padded length must be reportable through the 32-bit length.
  if (encipher && rounded > std::numeric_limits<int32_t>::max()) return kEncryptOutputTooSmall;

  const int32_t capacity = *out_length;
  for (int64_t offset = 0; offset < length; offset += 8) {
    if (offset >= capacity) return kEncryptOutputTooSmall;
    const int64_t left = length - offset;
    if (left >= 8) {
      if (encipher) {
        engine::rc2::EncryptBlock(handle->words, in + offset, out + offset);
      } else {
        engine::rc2::DecryptBlock(handle->words, in + offset, out + offset);
      }
    } else if (encipher) {
      uint8_t block[8] = {};
      std::memcpy(block, in + offset, static_cast<size_t>(left));
      engine::rc2::EncryptBlock(handle->words, block, out + offset);
    } else {
      // A partial block cannot be deciphered; its bytes come out as zeros, which also ends
      // the text for readers that take the plaintext as a NUL-terminated string.
      std::memset(out + offset, 0, static_cast<size_t>(left));
    }
  }
  *out_length = encipher ? static_cast<int32_t>(rounded) : length;
  return kEncryptOk;
}

}  // namespace

uint32_t Encrypt(EncryptHandle handle, const uint8_t* in, int32_t length, uint8_t* out,
                 int32_t* out_length) {
  return Crypt(handle, in, length, out, out_length, true);
}

uint32_t Decrypt(EncryptHandle handle, const uint8_t* in, int32_t length, uint8_t* out,
                 int32_t* out_length) {
  return Crypt(handle, in, length, out, out_length, false);
}
