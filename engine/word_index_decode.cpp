// The word index's decode as a start-up makes it, and the cache file made from it: shared by
// the start-up and the data compiler, so that the copy shipped with the data is the very file a
// start-up would write.
#include <limits>

#include "engine/arith_coder.h"
#include "engine/arith_resume.h"
#include "engine/data_format.h"
#include "engine/little_endian.h"
#include "engine/nymdex_checks.h"
#include "engine/word_cache.h"

namespace nymdex {

size_t DeclaredWordIndexLength(const uint8_t* file, uint64_t size) {
  if (size > std::numeric_limits<size_t>::max() / 2 || size < engine::kStreamHeadSize) return 0;
  const uint32_t declared = engine::LoadU32(file);
  if (declared > 2 * size || declared < kWordIndexHeaderSize) return 0;
  return declared;
}

bool DecodeWordIndex(const uint8_t* file, uint64_t size, uint8_t* out, size_t length) {
  // The stored resume points, if any, let the decode run several chains side by side; the
  // result is the one-chain decode's, byte for byte.
  engine::ResumePoint points[engine::kMaxResumePoints];
  const size_t point_count = engine::ReadResumeTrailer(file, size, points);
  size_t decoded = 0;
  return engine::ArithDecodeResumed(file, size, points, point_count, out, length, &decoded) &&
         WordIndexHolds(out, decoded);
}

bool BuildWordCacheImage(const uint8_t* file, uint64_t size, std::vector<uint8_t>* image) {
  image->clear();
  const size_t length = DeclaredWordIndexLength(file, size);
  if (length == 0) return false;
  image->resize(kWordCacheHeaderSize + length);
  uint8_t* decoded = image->data() + kWordCacheHeaderSize;
  if (!DecodeWordIndex(file, size, decoded, length)) {
    image->clear();
    return false;
  }
  MakeWordCacheHeader(size, ExactDigest(file, size), decoded, length, image->data());
  return true;
}

}  // namespace nymdex
