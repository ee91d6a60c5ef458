#include "engine/md5.h"

#include <cstdio>
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

// The four round functions and their step, with the additive constants of the sine table.
inline uint32_t F(uint32_t x, uint32_t y, uint32_t z) {
  return z ^ (x & (y ^ z));
}
inline uint32_t G(uint32_t x, uint32_t y, uint32_t z) {
  return y ^ (z & (x ^ y));
}
inline uint32_t H(uint32_t x, uint32_t y, uint32_t z) {
  return x ^ y ^ z;
}
inline uint32_t I(uint32_t x, uint32_t y, uint32_t z) {
  return y ^ (x | ~z);
}

template <uint32_t (*Fn)(uint32_t, uint32_t, uint32_t)>
inline void Step(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, int s, uint32_t t) {
  a = b + RotateLeft(a + Fn(b, c, d) + x + t, s);
}

}  // namespace

Md5::Md5() : state_{0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u}, buffer_{} {}

void Md5::Transform(const uint8_t block[64]) {
  uint32_t x[16];
  for (int i = 0; i < 16; ++i)
    x[i] = LoadU32(block + 4 * i);
  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];

  Step<F>(a, b, c, d, x[0], 7, 0xd76aa478);
  Step<F>(d, a, b, c, x[1], 12, 0xe8c7b756);
  Step<F>(c, d, a, b, x[2], 17, 0x242070db);
  Step<F>(b, c, d, a, x[3], 22, 0xc1bdceee);
  Step<F>(a, b, c, d, x[4], 7, 0xf57c0faf);
  Step<F>(d, a, b, c, x[5], 12, 0x4787c62a);
  Step<F>(c, d, a, b, x[6], 17, 0xa8304613);
  Step<F>(b, c, d, a, x[7], 22, 0xfd469501);
  Step<F>(a, b, c, d, x[8], 7, 0x698098d8);
  Step<F>(d, a, b, c, x[9], 12, 0x8b44f7af);
  Step<F>(c, d, a, b, x[10], 17, 0xffff5bb1);
  Step<F>(b, c, d, a, x[11], 22, 0x895cd7be);
  Step<F>(a, b, c, d, x[12], 7, 0x6b901122);
  Step<F>(d, a, b, c, x[13], 12, 0xfd987193);
  Step<F>(c, d, a, b, x[14], 17, 0xa679438e);
  Step<F>(b, c, d, a, x[15], 22, 0x49b40821);

  Step<G>(a, b, c, d, x[1], 5, 0xf61e2562);
  Step<G>(d, a, b, c, x[6], 9, 0xc040b340);
  Step<G>(c, d, a, b, x[11], 14, 0x265e5a51);
  Step<G>(b, c, d, a, x[0], 20, 0xe9b6c7aa);
  Step<G>(a, b, c, d, x[5], 5, 0xd62f105d);
  Step<G>(d, a, b, c, x[10], 9, 0x02441453);
  Step<G>(c, d, a, b, x[15], 14, 0xd8a1e681);
  Step<G>(b, c, d, a, x[4], 20, 0xe7d3fbc8);
  Step<G>(a, b, c, d, x[9], 5, 0x21e1cde6);
  Step<G>(d, a, b, c, x[14], 9, 0xc33707d6);
  Step<G>(c, d, a, b, x[3], 14, 0xf4d50d87);
  Step<G>(b, c, d, a, x[8], 20, 0x455a14ed);
  Step<G>(a, b, c, d, x[13], 5, 0xa9e3e905);
  Step<G>(d, a, b, c, x[2], 9, 0xfcefa3f8);
  Step<G>(c, d, a, b, x[7], 14, 0x676f02d9);
  Step<G>(b, c, d, a, x[12], 20, 0x8d2a4c8a);

  Step<H>(a, b, c, d, x[5], 4, 0xfffa3942);
  Step<H>(d, a, b, c, x[8], 11, 0x8771f681);
  Step<H>(c, d, a, b, x[11], 16, 0x6d9d6122);
  Step<H>(b, c, d, a, x[14], 23, 0xfde5380c);
  Step<H>(a, b, c, d, x[1], 4, 0xa4beea44);
  Step<H>(d, a, b, c, x[4], 11, 0x4bdecfa9);
  Step<H>(c, d, a, b, x[7], 16, 0xf6bb4b60);
  Step<H>(b, c, d, a, x[10], 23, 0xbebfbc70);
  Step<H>(a, b, c, d, x[13], 4, 0x289b7ec6);
  Step<H>(d, a, b, c, x[0], 11, 0xeaa127fa);
  Step<H>(c, d, a, b, x[3], 16, 0xd4ef3085);
  Step<H>(b, c, d, a, x[6], 23, 0x04881d05);
  Step<H>(a, b, c, d, x[9], 4, 0xd9d4d039);
  Step<H>(d, a, b, c, x[12], 11, 0xe6db99e5);
  Step<H>(c, d, a, b, x[15], 16, 0x1fa27cf8);
  Step<H>(b, c, d, a, x[2], 23, 0xc4ac5665);

  Step<I>(a, b, c, d, x[0], 6, 0xf4292244);
  Step<I>(d, a, b, c, x[7], 10, 0x432aff97);
  Step<I>(c, d, a, b, x[14], 15, 0xab9423a7);
  Step<I>(b, c, d, a, x[5], 21, 0xfc93a039);
  Step<I>(a, b, c, d, x[12], 6, 0x655b59c3);
  Step<I>(d, a, b, c, x[3], 10, 0x8f0ccc92);
  Step<I>(c, d, a, b, x[10], 15, 0xffeff47d);
  Step<I>(b, c, d, a, x[1], 21, 0x85845dd1);
  Step<I>(a, b, c, d, x[8], 6, 0x6fa87e4f);
  Step<I>(d, a, b, c, x[15], 10, 0xfe2ce6e0);
  Step<I>(c, d, a, b, x[6], 15, 0xa3014314);
  Step<I>(b, c, d, a, x[13], 21, 0x4e0811a1);
  Step<I>(a, b, c, d, x[4], 6, 0xf7537e82);
  Step<I>(d, a, b, c, x[11], 10, 0xbd3af235);
  Step<I>(c, d, a, b, x[2], 15, 0x2ad7d2bb);
  Step<I>(b, c, d, a, x[9], 21, 0xeb86d391);

  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
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

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

Digest ChunkedDigest(const uint8_t* data, size_t length) {
  Md5 outer;
  for (size_t at = 0; length - at >= kFileDigestChunk; at += kFileDigestChunk) {
    Digest d = Md5Bytes(data + at, kFileDigestChunk);
    outer.Update(d.data(), d.size());
  }
  return outer.Final();
}

bool FileDigest(const char* path, uint64_t start_offset, Digest* out) {
  if (path == nullptr || out == nullptr) return false;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
  if (!file) return false;

  // An offset past the end of the file is not a region of the file: fail rather than digest
  // the empty input a seek beyond the end would give.
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return false;
  long size = std::ftell(file.get());
  if (size < 0 || start_offset > static_cast<uint64_t>(size)) return false;
  if (std::fseek(file.get(), static_cast<long>(start_offset), SEEK_SET) != 0) return false;

  std::unique_ptr<uint8_t[]> chunk(new (std::nothrow) uint8_t[kFileDigestChunk]);
  if (!chunk) return false;

  // The chunk digests are fed to the outer digest as they come: the same bytes as digesting
  // their concatenation, without keeping the list.
  Md5 outer;
  for (;;) {
    size_t got = std::fread(chunk.get(), 1, kFileDigestChunk, file.get());
    if (got == kFileDigestChunk) {
      Digest d = Md5Bytes(chunk.get(), got);
      outer.Update(d.data(), d.size());
      continue;
    }
    if (std::ferror(file.get()) || !std::feof(file.get())) return false;
    break;  // a short final chunk is left out of the digest
  }
  *out = outer.Final();
  return true;
}

}  // namespace engine
