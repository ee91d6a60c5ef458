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
  size_t bit = 2048;
  auto next_bit = [&]() -> uint32_t {
    size_t byte = 4 + bit / 8;
    uint32_t b = byte < in.size() ? (in[byte] >> (7 - bit % 8)) & 1 : 0;
    ++bit;
    return b;
  };
  uint32_t low = 0, high = 0xFFFF, code = 0;
  for (int i = 0; i < 16; ++i)
    code = code << 1 | next_bit();
  Bytes out;
  for (uint32_t i = 0; i < length; ++i) {
    uint32_t range = high - low + 1;
    uint32_t target = ((code - low + 1) * total - 1) / range;
    uint32_t s;
    if (target >= cum[255]) {
      s = 255;
    } else {
      uint32_t lower = 0, upper = 255;
      while ((upper - lower) / 2 != 0) {
        uint32_t mid = lower + (upper - lower) / 2;
        if (cum[mid] <= target) {
          lower = mid;
        } else {
          upper = mid;
        }
      }
      s = lower;
    }
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

// Inputs of many shapes, named for the failure messages.
std::vector<std::pair<std::string, Bytes>> Corpus() {
  std::mt19937 rng(2024);
  std::vector<std::pair<std::string, Bytes>> c;
  c.push_back({"empty", {}});
  c.push_back({"one byte", {0x42}});
  c.push_back({"one 255", {0xFF}});
  c.push_back({"one symbol x1000", Bytes(1000, 'e')});
  Bytes all;
  for (int i = 0; i < 256; ++i)
    all.push_back(static_cast<uint8_t>(i));
  c.push_back({"all values once", all});
  Bytes all_many;
  for (int r = 0; r < 40; ++r)
    all_many.insert(all_many.end(), all.begin(), all.end());
  c.push_back({"all values x40", all_many});
  Bytes runs;
  for (int r = 0; r < 50; ++r)
    runs.insert(runs.end(), 1 + rng() % 2000, static_cast<uint8_t>(rng()));
  c.push_back({"long runs", runs});
  Bytes skewed(20000);
  for (auto& b : skewed)
    b = rng() % 1000 == 0 ? static_cast<uint8_t>(rng()) : 'x';
  c.push_back({"one dominant symbol", skewed});
  Bytes geometric(30000);
  std::geometric_distribution<int> geo(0.3);
  for (auto& b : geometric)
    b = static_cast<uint8_t>(std::min(geo(rng), 255));
  c.push_back({"geometric", geometric});
  Bytes two(5000);
  for (auto& b : two)
    b = rng() % 2 ? 0 : 255;
  c.push_back({"two extremes", two});
  for (int i = 0; i < 20; ++i) {
    Bytes block(3072);
    int alphabet = 1 + static_cast<int>(rng() % 256);
    for (auto& b : block)
      b = static_cast<uint8_t>(rng() % alphabet);
    c.push_back({"3072-byte block, alphabet " + std::to_string(alphabet), block});
  }
  for (int i = 0; i < 100; ++i) {
    Bytes small(rng() % 64);
    for (auto& b : small)
      b = static_cast<uint8_t>(rng() % (1 + rng() % 256));
    c.push_back({"small " + std::to_string(i), small});
  }
  return c;
}

// Word-like text with a skewed letter distribution, NUL-separated like the stored word lists.
Bytes TextLike(size_t n, uint32_t seed) {
  static const char kLetters[] =
      "eeeeeeeeeeeetttttttttaaaaaaaaooooooooiiiiiiinnnnnnnsssssshhhhhh"
      "rrrrrrddddllllcccuuummwwffggyyppbbvkjxqz";
  std::mt19937 rng(seed);
  Bytes out;
  out.reserve(n);
  while (out.size() < n) {
    int word = 2 + static_cast<int>(rng() % 9);
    for (int i = 0; i < word && out.size() < n; ++i)
      out.push_back(kLetters[rng() % (sizeof kLetters - 1)]);
    if (out.size() < n) out.push_back(rng() % 5 == 0 ? '_' : 0);
  }
  return out;
}

void ExpectValidTable(const Bytes& data, const Bytes& stream) {
  uint32_t total = 0;
  bool present[256] = {};
  for (uint8_t b : data)
    present[b] = true;
  for (int s = 0; s < 256; ++s) {
    total += stream[4 + s];
    if (present[s]) {
      EXPECT_GE(stream[4 + s], 1) << "symbol " << s;
    }
  }
  EXPECT_GE(total, 1u);
  EXPECT_LE(total, kMaxFrequencyTotal);
}

TEST(ArithCoderTest, RoundTripsManyShapes) {
  for (const auto& [name, data] : Corpus()) {
    SCOPED_TRACE(name);
    Bytes stream = ArithEncode(data.data(), data.size());
    ASSERT_GE(stream.size(), kStreamHeadSize + 2);
    ExpectValidTable(data, stream);
    bool ok = false;
    EXPECT_EQ(Decode(stream, data.size(), &ok), data);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ReferenceDecode(stream), data);

    // The stream carries every bit the decoder reads: what follows it does not matter.
    Bytes followed = stream;
    for (int i = 0; i < 8; ++i)
      followed.push_back(static_cast<uint8_t>(0x5A ^ (i * 37)));
    EXPECT_EQ(Decode(followed, data.size(), &ok), data);
  }
}

TEST(ArithCoderTest, RoundTripsLargeStreams) {
  Bytes text = TextLike(2 << 20, 5);
  Bytes stream = ArithEncode(text.data(), text.size());
  ExpectValidTable(text, stream);
  // An order-0 model of this text needs about 4.2 bits a byte.
  EXPECT_LT(stream.size(), text.size() * 6 / 10);
  bool ok = false;
  EXPECT_EQ(Decode(stream, 2 * stream.size(), &ok), text);
  EXPECT_TRUE(ok);

  std::mt19937 rng(9);
  Bytes noise(1 << 19);
  for (auto& b : noise)
    b = static_cast<uint8_t>(rng());
  stream = ArithEncode(noise.data(), noise.size());
  EXPECT_LT(stream.size(), noise.size() + noise.size() / 100 + 300);
  EXPECT_EQ(Decode(stream, noise.size(), &ok), noise);
}

TEST(ArithCoderTest, ScaledFrequenciesFollowCounts) {
  // Counts within the limits are kept as they are.
  const char kWord[] = "abracadabra";
  uint8_t freq[256];
  ScaleFrequencies(reinterpret_cast<const uint8_t*>(kWord), 11, freq);
  EXPECT_EQ(freq['a'], 5);
  EXPECT_EQ(freq['b'], 2);
  EXPECT_EQ(freq['r'], 2);
  EXPECT_EQ(freq['c'], 1);
  EXPECT_EQ(freq['z'], 0);

  // Large counts keep their proportions and fill the allowed range.
  Bytes data;
  data.insert(data.end(), 300000, 'x');
  data.insert(data.end(), 100000, 'y');
  data.insert(data.end(), 1, 'z');
  ScaleFrequencies(data.data(), data.size(), freq);
  EXPECT_EQ(freq['x'], 255);
  EXPECT_EQ(freq['y'], 85);
  EXPECT_EQ(freq['z'], 1);

  // Every value present and many of them at the per-value limit: the total limit governs.
  data.clear();
  for (int s = 0; s < 256; ++s)
    data.insert(data.end(), s < 200 ? 1000 : 1, static_cast<uint8_t>(s));
  ScaleFrequencies(data.data(), data.size(), freq);
  uint32_t total = 0;
  for (int s = 0; s < 256; ++s) {
    EXPECT_GE(freq[s], 1);
    total += freq[s];
  }
  EXPECT_LE(total, kMaxFrequencyTotal);
  EXPECT_GE(total, kMaxFrequencyTotal - 512);
}

TEST(ArithCoderTest, EncoderRefusesUnusableTables) {
  const uint8_t data[] = {'a', 'b', 'a'};
  uint8_t freq[256] = {};
  Bytes out = {1, 2, 3};
  freq['a'] = 3;
  EXPECT_FALSE(ArithEncodeWithTable(data, 3, freq, &out));  // 'b' has frequency 0
  EXPECT_TRUE(out.empty());
  std::memset(freq, 0, sizeof freq);
  EXPECT_FALSE(ArithEncodeWithTable(data, 0, freq, &out));  // total 0
  std::memset(freq, 64, sizeof freq);                       // total 16,384
  EXPECT_FALSE(ArithEncodeWithTable(data, 3, freq, &out));
  freq[0] = 63;  // total 16,383: the largest allowed
  ASSERT_TRUE(ArithEncodeWithTable(data, 3, freq, &out));
  bool ok = false;
  EXPECT_EQ(Decode(out, 3, &ok), Bytes(data, data + 3));
}

TEST(ArithCoderTest, DecoderFollowsTheTableExactly) {
  uint8_t freq[256] = {};
  bool ok = false;

  // L = 0 decodes to nothing, whatever follows.
  freq[7] = 9;
  Bytes out = Decode(Stream(0, freq, {}), 0, &ok);
  EXPECT_TRUE(ok);
  EXPECT_TRUE(out.empty());

  // A single non-zero frequency gives that byte whatever the code bits are.
  std::mt19937 rng(3);
  for (int trial = 0; trial < 20; ++trial) {
    Bytes code(rng() % 40);
    for (auto& b : code)
      b = static_cast<uint8_t>(rng());
    EXPECT_EQ(Decode(Stream(500, freq, code), 500, &ok), Bytes(500, 7));
  }

  // A target exactly on cum[s] decodes as s, across a gap of zero frequencies: with
  // frequencies 3, 5, 8 at 10, 20, 30 (total 16), code 0x3000 gives target 3 = cum[20].
  std::memset(freq, 0, sizeof freq);
  freq[10] = 3;
  freq[20] = 5;
  freq[30] = 8;
  EXPECT_EQ(Decode(Stream(1, freq, {0x30, 0x00}), 1, &ok), Bytes{20});
  EXPECT_EQ(Decode(Stream(1, freq, {0x2F, 0xFF}), 1, &ok), Bytes{10});

  // A target at or above cum[255] is 255; just below, the last earlier symbol present.
  std::memset(freq, 0, sizeof freq);
  freq[254] = 1;
  freq[255] = 1;
  EXPECT_EQ(Decode(Stream(1, freq, {0x80, 0x00}), 1, &ok), Bytes{255});
  EXPECT_EQ(Decode(Stream(1, freq, {0x7F, 0xFF}), 1, &ok), Bytes{254});
  freq[254] = 0;
  freq[3] = 1;
  EXPECT_EQ(Decode(Stream(1, freq, {0x7F, 0xFF}), 1, &ok), Bytes{3});
}

TEST(ArithCoderTest, ArbitraryStreamsMatchTheStepwiseDecoder) {
  std::mt19937 rng(17);
  for (int trial = 0; trial < 400; ++trial) {
    uint8_t freq[256] = {};
    int kind = trial % 4;
    for (int s = 0; s < 256; ++s) {
      if (kind == 0) freq[s] = rng() % 4 == 0 ? static_cast<uint8_t>(rng()) : 0;  // sparse
      if (kind == 1) freq[s] = static_cast<uint8_t>(rng());  // totals far above the limit
      if (kind == 2) freq[s] = rng() % 64 == 0 ? static_cast<uint8_t>(1 + rng() % 255) : 0;
      if (kind == 3) freq[s] = static_cast<uint8_t>(rng() % 3);
    }
    if (trial == 1) std::memset(freq, 255, sizeof freq);  // the largest total a table can have
    uint32_t total = 0;
    for (uint8_t f : freq)
      total += f;
    if (total == 0) freq[rng() % 256] = 1;
    Bytes code(rng() % 300);
    for (auto& b : code)
      b = static_cast<uint8_t>(rng());
    uint32_t length = rng() % 2000;
    Bytes stream = Stream(length, freq, code);
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
  Bytes stream = ArithEncode(data.data(), data.size());
  Bytes out(200);
  size_t length = 12345;
  // Shorter than the head, or no input at all.
  for (size_t cut : {size_t{0}, size_t{4}, kStreamHeadSize - 1}) {
    Bytes head(stream.begin(), stream.begin() + cut);
    EXPECT_FALSE(ArithDecode(head.data(), head.size(), out.data(), out.size(), &length));
  }
  EXPECT_FALSE(ArithDecode(nullptr, 1000, out.data(), out.size(), &length));
  EXPECT_EQ(length, 12345u);
  // Declared length above the capacity; exactly at it is fine.
  EXPECT_FALSE(ArithDecode(stream.data(), stream.size(), out.data(), 99, &length));
  EXPECT_TRUE(ArithDecode(stream.data(), stream.size(), out.data(), 100, &length));
  EXPECT_EQ(length, 100u);
  // No frequencies at all.
  Bytes zero_table = stream;
  std::fill(zero_table.begin() + 4, zero_table.begin() + 260, 0);
  EXPECT_FALSE(ArithDecode(zero_table.data(), zero_table.size(), out.data(), out.size(), &length));
  // A head alone is a whole stream whose code bits all read as 0; so is a cut one.
  for (size_t keep :
       {kStreamHeadSize, kStreamHeadSize + 1, (kStreamHeadSize + stream.size()) / 2}) {
    Bytes cut(stream.begin(), stream.begin() + keep);
    EXPECT_TRUE(ArithDecode(cut.data(), cut.size(), out.data(), out.size(), &length));
    EXPECT_EQ(length, 100u);
  }
}

}  // namespace
}  // namespace engine
