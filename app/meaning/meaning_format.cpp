#include "app/meaning/meaning_format.h"

#include <algorithm>

namespace meaning {

engine::Digest MeaningDigest(const uint8_t* body, size_t length) {
  engine::Md5 outer;
  for (size_t at = 0; at < length; at += engine::kFileDigestChunk) {
    const size_t chunk = std::min(engine::kFileDigestChunk, length - at);
    const engine::Digest inner = engine::Md5Bytes(body + at, chunk);
    outer.Update(inner.data(), inner.size());
  }
  return outer.Final();
}

void AppendVarint(std::vector<uint8_t>* out, uint32_t value) {
  while (value >= 0x80) {
    out->push_back(static_cast<uint8_t>(value | 0x80));
    value >>= 7;
  }
  out->push_back(static_cast<uint8_t>(value));
}

bool ReadVarint(const uint8_t* bytes, size_t end, size_t* at, uint32_t* value) {
  uint32_t result = 0;
  for (int shift = 0; shift < 35; shift += 7) {
    if (*at >= end) return false;
    const uint8_t byte = bytes[(*at)++];
    if (shift == 28 && byte > 0x0F) return false;
    result |= uint32_t{byte & 0x7Fu} << shift;
    if ((byte & 0x80) == 0) {
      *value = result;
      return true;
    }
  }
  return false;
}

}  // namespace meaning
