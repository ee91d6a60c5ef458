#include "engine/arith_coder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace engine {
namespace {

using Bytes = std::vector<uint8_t>;

// The decoder written out step by step: one shift per loop pass and a halving search with
// explicit bounds. The library's batched shifts and multiply-based division must agree with it
// on every stream, valid or not.
Bytes ReferenceDecode(const Bytes& in) {
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
    return byte < in.size() ? (in[byte] >> shift) & 1 : 0;
  };
  uint32_t low = 0, high = 0xFFFF, code = 0;
  for (int i = 0; i < 16; ++i)
    code = code << 1 | next_bit();
  Bytes out;
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

Bytes Decode(const Bytes& stream, size_t capacity, bool* ok) {
  Bytes out(capacity);
  size_t length = 0;
  *ok = ArithDecode(stream.data(), stream.size(), out.data(), capacity, &length);
  out.resize(*ok ? length : 0);
  return out;
}

Bytes RandomBytes(std::mt19937& rng, size_t n, uint32_t alphabet = 256) {
  Bytes b(n);
  for (auto& x : b)
    x = static_cast<uint8_t>(rng() % alphabet);
  return b;
}

// Round trip through both decoders; the table the encoder chose must respect the limit.
void ExpectRoundTrip(const Bytes& data) {
  Bytes stream = ArithEncode(data.data(), data.size());
  ASSERT_GE(stream.size(), kStreamHeadSize + 2);
  EXPECT_LE(std::accumulate(stream.begin() + 4, stream.begin() + 260, 0u), kMaxFrequencyTotal);
  bool ok = false;
  EXPECT_EQ(Decode(stream, data.size(), &ok), data);
  EXPECT_TRUE(ok);
  EXPECT_EQ(ReferenceDecode(stream), data);
  // The stream carries every bit the decoder reads: what follows it does not matter.
  stream.insert(stream.end(), {0xA5, 0x5A, 0xFF, 0x13});
  EXPECT_EQ(Decode(stream, data.size(), &ok), data);
}

TEST(ArithCoderTest, RoundTripsManyShapes) {
  std::mt19937 rng(2024);
  Bytes all, heavy, skewed(20000);
  for (int i = 0; i < 41 * 256; ++i)  // every value, the exact counts as the table
    all.push_back(static_cast<uint8_t>(i));
  for (int v = 0; v < 256; ++v)  // many values beyond the per-value limit: the total governs
    heavy.insert(heavy.end(), v < 200 ? 1000 : 1, static_cast<uint8_t>(v));
  for (auto& b : skewed)  // the largest count governs; rare values are rounded up to 1
    b = rng() % 1000 == 0 ? static_cast<uint8_t>(rng()) : 'x';
  // A large stream, four bits of information a byte: long runs of the coder's state.
  const Bytes large = RandomBytes(rng, 1 << 19, 16);
  std::vector<Bytes> corpus = {{}, {0x42}, {0xFF}, all, heavy, skewed, Bytes(1000, 'e'), large};
  for (int i = 0; i < 60; ++i) {
    size_t length = i < 10 ? 3072 : rng() % 64;
    corpus.push_back(RandomBytes(rng, length, 1 + rng() % 256));
  }
  for (size_t i = 0; i < corpus.size(); ++i) {
    SCOPED_TRACE(i);
    ExpectRoundTrip(corpus[i]);
  }
}

TEST(ArithCoderTest, CompressesToNearTheEntropy) {
  std::mt19937 rng(9);
  const Bytes data = RandomBytes(rng, 1 << 19, 16);  // four bits of information a byte
  EXPECT_LT(ArithEncode(data.data(), data.size()).size(), data.size() * 52 / 100);
}

TEST(ArithCoderTest, ScaledFrequenciesFollowCounts) {
  uint8_t freq[256];
  ScaleFrequencies(reinterpret_cast<const uint8_t*>("abracadabra"), 11, freq);
  const int a = 'a', x = 'x';
  EXPECT_EQ(std::string(freq + a, freq + a + 5), std::string({5, 2, 1, 1, 0}));  // as counted
  Bytes data(300000, 'x');
  data.insert(data.end(), 100000, 'y');
  data.push_back('z');
  ScaleFrequencies(data.data(), data.size(), freq);  // proportions kept, the largest at 255
  EXPECT_EQ(std::string(freq + x, freq + x + 3), std::string({char(255), 85, 1}));
}

TEST(ArithCoderTest, EncoderRefusesUnusableTables) {
  const uint8_t data[] = {'a', 'b', 'a'};
  uint8_t freq[256] = {};
  Bytes out = {1, 2, 3};
  freq[int{'a'}] = 3;
  EXPECT_FALSE(ArithEncodeWithTable(data, 3, freq, &out));  // 'b' has frequency 0
  EXPECT_TRUE(out.empty());
  freq[int{'a'}] = 0;
  EXPECT_FALSE(ArithEncodeWithTable(data, 0, freq, &out));  // total 0
  std::memset(freq, 64, sizeof freq);
  EXPECT_FALSE(ArithEncodeWithTable(data, 3, freq, &out));  // total 16,384
  freq[0] = 63;
  ASSERT_TRUE(ArithEncodeWithTable(data, 3, freq, &out));  // 16,383, the largest allowed
  bool ok = false;
  EXPECT_EQ(Decode(out, 3, &ok), Bytes(data, data + 3));
}

TEST(ArithCoderTest, ArbitraryStreamsMatchTheStepwiseDecoder) {
  std::mt19937 rng(17);
  for (int trial = 0; trial < 200; ++trial) {
    uint8_t freq[256];
    for (auto& f : freq) {
      // Sparse; dense, with totals far above the coder's limit; very sparse; tiny.
      const uint32_t r = rng();
      const uint32_t kinds[4] = {r % 4 == 0 ? r >> 8 : 0, r, r % 64 == 0 ? 1 + (r >> 8) % 255 : 0,
                                 r % 3};
      f = static_cast<uint8_t>(kinds[trial % 4]);
    }
    if (trial == 1) std::memset(freq, 255, sizeof freq);  // the largest total a table can have
    if (std::all_of(freq, freq + 256, [](uint8_t f) { return f == 0; })) freq[rng() % 256] = 1;
    uint32_t length = trial == 0 ? 0 : rng() % 2000;
    Bytes stream = RandomBytes(rng, kStreamHeadSize + rng() % 300);
    for (int i = 0; i < 4; ++i)
      stream[i] = static_cast<uint8_t>(length >> (8 * i));
    std::copy(freq, freq + 256, stream.begin() + 4);
    SCOPED_TRACE(trial);
    bool ok = false;
    Bytes out = Decode(stream, length, &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(out, ReferenceDecode(stream));
    for (uint8_t b : out)
      ASSERT_NE(freq[b], 0) << "value " << int{b} << " has frequency 0";
  }
}

TEST(ArithCoderTest, RejectsBadStreams) {
  std::mt19937 rng(1);
  const Bytes data = RandomBytes(rng, 100, 20);
  const Bytes stream = ArithEncode(data.data(), data.size());
  Bytes out(200);
  size_t length = 12345;
  for (size_t cut : {size_t{0}, kStreamHeadSize - 1})  // shorter than the head
    EXPECT_FALSE(ArithDecode(stream.data(), cut, out.data(), out.size(), &length));
  EXPECT_FALSE(ArithDecode(nullptr, 1000, out.data(), out.size(), &length));
  EXPECT_FALSE(ArithDecode(stream.data(), stream.size(), out.data(), 99, &length));  // L > capacity
  EXPECT_EQ(length, 12345u);
  Bytes zero_table = stream;
  std::fill(zero_table.begin() + 4, zero_table.begin() + 260, 0);
  EXPECT_FALSE(ArithDecode(zero_table.data(), zero_table.size(), out.data(), out.size(), &length));
  // L at the capacity is fine; a head alone, or a cut stream, reads its missing bits as 0.
  for (size_t keep : {kStreamHeadSize, kStreamHeadSize + 1, stream.size()}) {
    const Bytes cut(stream.begin(), stream.begin() + keep);  // the sanitizer sees its end
    EXPECT_TRUE(ArithDecode(cut.data(), cut.size(), out.data(), 100, &length));
    EXPECT_EQ(length, 100u);
  }
}

}  // namespace
}  // namespace engine
