// The decoder written out step by step from the stream's definition: one shift per loop pass
// and a halving search with explicit bounds. The library's decoder must agree with it on every
// stream, valid or not.
#pragma once

#include <cstdint>
#include <vector>

namespace engine_test {

inline std::vector<uint8_t> ReferenceDecode(const uint8_t* in, size_t size) {
  uint32_t length = in[0] | in[1] << 8 | in[2] << 16 | static_cast<uint32_t>(in[3]) << 24;
  uint32_t freq[256], cum[256], total = 0;
  for (int s = 0; s < 256; ++s) {
    freq[s] = in[4 + s];
    cum[s] = total;
    total += freq[s];
  }
  size_t bit = 2048;  // counted from the frequency table
  auto next_bit = [&]() -> uint32_t {
    size_t byte = 4 + bit / 8, shift = 7 - bit++ % 8;
    return byte < size ? (in[byte] >> shift) & 1 : 0;
  };
  uint32_t low = 0, high = 0xFFFF, code = 0;
  for (int i = 0; i < 16; ++i)
    code = code << 1 | next_bit();
  std::vector<uint8_t> out;
  out.reserve(length);
  for (uint32_t i = 0; i < length; ++i) {
    uint32_t range = high - low + 1;
    uint32_t target = ((code - low + 1) * total - 1) / range;
    uint32_t lower = 0, upper = 255;
    while (target < cum[255] && (upper - lower) / 2 != 0) {
      uint32_t mid = lower + (upper - lower) / 2;
      (cum[mid] <= target ? lower : upper) = mid;
    }
    uint32_t s = target >= cum[255] ? 255 : lower;
    out.push_back(static_cast<uint8_t>(s));
    high = low + (cum[s] + freq[s]) * range / total - 1;
    low = (low + cum[s] * range / total) & 0xFFFF;
    for (;;) {
      high &= 0xFFFF;
      if ((low & 0x8000) == (high & 0x8000)) {
      } else if ((low & 0x4000) && !(high & 0x4000)) {
        code ^= 0x4000;
        low ^= 0xC000;
        high |= 0x4000;
      } else {
        break;
      }
      code = ((code << 1) + next_bit()) & 0xFFFF;
      low = (low << 1) & 0xFFFF;
      high = high * 2 + 1;
    }
  }
  return out;
}

inline std::vector<uint8_t> ReferenceDecode(const std::vector<uint8_t>& in) {
  return ReferenceDecode(in.data(), in.size());
}

}  // namespace engine_test
