#include "engine/arith_coder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
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

Bytes Stream(uint32_t length, const uint8_t freq[256], const Bytes& code) {
  Bytes s(kStreamHeadSize + code.size());
  for (int i = 0; i < 4; ++i)
    s[i] = static_cast<uint8_t>(length >> (8 * i));
  std::copy(freq, freq + 256, s.begin() + 4);
  std::copy(code.begin(), code.end(), s.begin() + kStreamHeadSize);
  return s;
}

Bytes RandomBytes(std::mt19937& rng, size_t n, uint32_t alphabet = 256) {
  Bytes b(n);
  for (auto& x : b)
    x = static_cast<uint8_t>(rng() % alphabet);
  return b;
}

// Word-like text with a skewed letter distribution, NUL-separated like the stored word lists.
Bytes TextLike(size_t n, uint32_t seed) {
  static const char kLetters[] =
      "eeeeeeeeeeeetttttttttaaaaaaaaooooooooiiiiiiinnnnnnnsssssshhhhhhrrrrrrddddllllcccuuummww"
      "ffggyyppbbvkjxqz";
  std::mt19937 rng(seed);
  Bytes out(n);
  for (auto& b : out)
    b = rng() % 6 == 0 ? 0 : kLetters[rng() % (sizeof kLetters - 1)];
  return out;
}

// Round trip through both decoders; the table the encoder chose must respect the limits.
void ExpectRoundTrip(const Bytes& data, bool with_reference = true) {
  Bytes stream = ArithEncode(data.data(), data.size());
  ASSERT_GE(stream.size(), kStreamHeadSize + 2);
  uint32_t total = 0;
  for (int s = 0; s < 256; ++s)
    total += stream[4 + s];
  EXPECT_LE(total, kMaxFrequencyTotal);
  for (uint8_t b : data)
    ASSERT_NE(stream[4 + b], 0) << "value " << int{b};
  bool ok = false;
  EXPECT_EQ(Decode(stream, data.size(), &ok), data);
  EXPECT_TRUE(ok);
  if (with_reference) {
    EXPECT_EQ(ReferenceDecode(stream), data);
  }
  // The stream carries every bit the decoder reads: what follows it does not matter.
  stream.insert(stream.end(), {0xA5, 0x5A, 0xFF, 0x13});
  EXPECT_EQ(Decode(stream, data.size(), &ok), data);
}

TEST(ArithCoderTest, RoundTripsManyShapes) {
  std::mt19937 rng(2024);
  std::vector<std::pair<std::string, Bytes>> corpus = {{"empty", {}},
                                                       {"one byte", {0x42}},
                                                       {"one 255", {0xFF}},
                                                       {"one value x1000", Bytes(1000, 'e')}};
  Bytes all;
  for (int r = 0; r < 41; ++r) {
    for (int i = 0; i < 256; ++i)
      all.push_back(static_cast<uint8_t>(i));
    if (r == 0) corpus.push_back({"all values once", all});
  }
  corpus.push_back({"all values x41", all});
  Bytes heavy;  // every value present, many beyond the per-value limit: the total governs
  for (int v = 0; v < 256; ++v)
    heavy.insert(heavy.end(), v < 200 ? 1000 : 1, static_cast<uint8_t>(v));
  corpus.push_back({"total-limited", heavy});
  Bytes runs, skewed(20000), two(5000);
  for (int r = 0; r < 50; ++r)
    runs.insert(runs.end(), 1 + rng() % 2000, static_cast<uint8_t>(rng()));
  for (auto& b : skewed)
    b = rng() % 1000 == 0 ? static_cast<uint8_t>(rng()) : 'x';
  for (auto& b : two)
    b = rng() % 2 ? 0 : 255;
  corpus.insert(corpus.end(),
                {{"long runs", runs}, {"one dominant value", skewed}, {"0 and 255", two}});
  for (int i = 0; i < 20; ++i) {
    uint32_t alphabet = 1 + rng() % 256;
    corpus.push_back(
        {"3072-byte block of " + std::to_string(alphabet), RandomBytes(rng, 3072, alphabet)});
  }
  for (int i = 0; i < 100; ++i) {
    corpus.push_back({"small " + std::to_string(i), RandomBytes(rng, rng() % 64, 1 + rng() % 256)});
  }
  for (const auto& [name, data] : corpus) {
    SCOPED_TRACE(name);
    ExpectRoundTrip(data);
  }
}

TEST(ArithCoderTest, RoundTripsLargeStreams) {
  Bytes text = TextLike(2 << 20, 5);
  Bytes stream = ArithEncode(text.data(), text.size());
  EXPECT_LT(stream.size(), text.size() * 6 / 10);  // an order-0 model needs about 4 bits a byte
  ExpectRoundTrip(text, false);
  std::mt19937 rng(9);
  ExpectRoundTrip(RandomBytes(rng, 1 << 19), false);
}

TEST(ArithCoderTest, ScaledFrequenciesFollowCounts) {
  uint8_t freq[256];
  ScaleFrequencies(reinterpret_cast<const uint8_t*>("abracadabra"), 11, freq);
  EXPECT_EQ(std::string(freq + 'a', freq + 'f'), std::string({5, 2, 1, 1, 0}));  // as counted
  Bytes data(300000, 'x');
  data.insert(data.end(), 100000, 'y');
  data.push_back('z');
  ScaleFrequencies(data.data(), data.size(), freq);  // proportions kept, the largest at 255
  EXPECT_EQ(std::string(freq + 'x', freq + 'z' + 1), std::string({char(255), 85, 1}));
}

TEST(ArithCoderTest, EncoderRefusesUnusableTables) {
  const uint8_t data[] = {'a', 'b', 'a'};
  uint8_t freq[256] = {};
  Bytes out = {1, 2, 3};
  freq['a'] = 3;
  EXPECT_FALSE(ArithEncodeWithTable(data, 3, freq, &out));  // 'b' has frequency 0
  EXPECT_TRUE(out.empty());
  freq['a'] = 0;
  EXPECT_FALSE(ArithEncodeWithTable(data, 0, freq, &out));  // total 0
  std::memset(freq, 64, sizeof freq);
  EXPECT_FALSE(ArithEncodeWithTable(data, 3, freq, &out));  // total 16,384
  freq[0] = 63;
  ASSERT_TRUE(ArithEncodeWithTable(data, 3, freq, &out));  // 16,383, the largest allowed
  bool ok = false;
  EXPECT_EQ(Decode(out, 3, &ok), Bytes(data, data + 3));
}

TEST(ArithCoderTest, DecoderFollowsTheTableExactly) {
  uint8_t freq[256] = {};
  bool ok = false;
  freq[7] = 9;
  EXPECT_TRUE(Decode(Stream(0, freq, {}), 0, &ok).empty());  // L = 0
  EXPECT_TRUE(ok);
  // A single non-zero frequency gives that byte whatever the code bits are.
  std::mt19937 rng(3);
  for (int trial = 0; trial < 20; ++trial) {
    EXPECT_EQ(Decode(Stream(500, freq, RandomBytes(rng, rng() % 40)), 500, &ok), Bytes(500, 7));
  }
  // A target exactly on cum[s] decodes as s, across a gap of zero frequencies: with
  // frequencies 3, 5, 8 at 10, 20, 30 (total 16), code 0x3000 gives target 3 = cum[20].
  freq[7] = 0;
  freq[10] = 3, freq[20] = 5, freq[30] = 8;
  EXPECT_EQ(Decode(Stream(1, freq, {0x30, 0x00}), 1, &ok), Bytes{20});
  EXPECT_EQ(Decode(Stream(1, freq, {0x2F, 0xFF}), 1, &ok), Bytes{10});
  // A target at or above cum[255] is 255; just below, the last earlier value present.
  std::memset(freq, 0, sizeof freq);
  freq[3] = 1, freq[255] = 1;
  EXPECT_EQ(Decode(Stream(1, freq, {0x80, 0x00}), 1, &ok), Bytes{255});
  EXPECT_EQ(Decode(Stream(1, freq, {0x7F, 0xFF}), 1, &ok), Bytes{3});
}

TEST(ArithCoderTest, ArbitraryStreamsMatchTheStepwiseDecoder) {
  std::mt19937 rng(17);
  for (int trial = 0; trial < 400; ++trial) {
    uint8_t freq[256];
    for (auto& f : freq) {
      uint32_t r = rng();
      switch (trial % 4) {
        case 0:
          f = r % 4 == 0 ? static_cast<uint8_t>(r >> 8) : 0;
          break;  // sparse
        case 1:
          f = static_cast<uint8_t>(r);
          break;  // totals far above the coder's limit
        case 2:
          f = r % 64 == 0 ? static_cast<uint8_t>(1 + (r >> 8) % 255) : 0;
          break;
        default:
          f = static_cast<uint8_t>(r % 3);
      }
    }
    if (trial == 1) std::memset(freq, 255, sizeof freq);  // the largest total a table can have
    if (std::all_of(freq, freq + 256, [](uint8_t f) { return f == 0; })) freq[rng() % 256] = 1;
    uint32_t length = rng() % 2000;
    Bytes stream = Stream(length, freq, RandomBytes(rng, rng() % 300));
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
  const Bytes data = TextLike(100, 1);
  const Bytes stream = ArithEncode(data.data(), data.size());
  Bytes out(200);
  size_t length = 12345;
  for (size_t cut : {size_t{0}, size_t{4}, kStreamHeadSize - 1}) {  // shorter than the head
    EXPECT_FALSE(ArithDecode(stream.data(), cut, out.data(), out.size(), &length));
  }
  EXPECT_FALSE(ArithDecode(nullptr, 1000, out.data(), out.size(), &length));
  EXPECT_FALSE(ArithDecode(stream.data(), stream.size(), out.data(), 99, &length));  // L > capacity
  EXPECT_EQ(length, 12345u);
  Bytes zero_table = stream;
  std::fill(zero_table.begin() + 4, zero_table.begin() + 260, 0);
  EXPECT_FALSE(ArithDecode(zero_table.data(), zero_table.size(), out.data(), out.size(), &length));
  // L at the capacity is fine; a head alone, or a cut stream, reads its missing bits as 0.
  for (size_t keep : {kStreamHeadSize, kStreamHeadSize + 1, stream.size()}) {
    Bytes cut(stream.begin(), stream.begin() + keep);
    EXPECT_TRUE(ArithDecode(cut.data(), cut.size(), out.data(), 100, &length));
    EXPECT_EQ(length, 100u);
  }
}

}  // namespace
}  // namespace engine
