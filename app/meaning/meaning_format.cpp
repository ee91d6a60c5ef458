#include "app/meaning/meaning_format.h"

#include <algorithm>
#include <thread>

namespace meaning {

engine::Digest MeaningDigest(const uint8_t* file, size_t size) {
  constexpr size_t kHeaderTailAt = kDigestAt + sizeof(engine::Digest);
  const engine::Digest header =
      engine::Md5Bytes(file + kHeaderTailAt, kMeaningHeaderSize - kHeaderTailAt);
  const uint8_t* body = file + kMeaningHeaderSize;
  const size_t length = size - kMeaningHeaderSize;
  // The chunks' digests are independent: a second thread takes the later half of them, which
  // halves the wait of the first search on a machine with two cores.
  const size_t chunks = (length + engine::kFileDigestChunk - 1) / engine::kFileDigestChunk;
  std::vector<engine::Digest> inner(chunks);
  auto digest_chunks = [&](size_t first, size_t last) {
    for (size_t i = first; i < last; ++i) {
      const size_t at = i * engine::kFileDigestChunk;
      inner[i] = engine::Md5Bytes(body + at, std::min(engine::kFileDigestChunk, length - at));
    }
  };
  const size_t half = chunks / 2;
  std::thread later;
  if (half > 0) later = std::thread(digest_chunks, half, chunks);
  digest_chunks(0, half > 0 ? half : chunks);
  if (later.joinable()) later.join();
  engine::Md5 outer;
  outer.Update(header.data(), header.size());
  for (const engine::Digest& digest : inner)
    outer.Update(digest.data(), digest.size());
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
