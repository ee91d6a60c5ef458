#include "engine/arith_coder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "tests/engine/decoder_builds.h"
#include "tests/engine/reference_decoder.h"

namespace engine {
namespace {

using Bytes = std::vector<uint8_t>;
using engine_test::ReferenceDecode;

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
  engine_test::ForEachDecoderBuild([&] {
    for (size_t i = 0; i < corpus.size(); ++i) {
      SCOPED_TRACE(i);
      ExpectRoundTrip(corpus[i]);
    }
  });
}

TEST(ArithCoderTest, CompressesToNearTheEntropy) {
  std::mt19937 rng(9);
  const Bytes data = RandomBytes(rng, 1 << 19, 16);  // four bits of information a byte
  EXPECT_LT(ArithEncode(data.data(), data.size()).size(), data.size() * 52 / 100);
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

// Tables summing to exactly the coder's limit, random otherwise: the widest target range, where
// one symbol of frequency 1 can leave an interval a single value wide.
void FillToLimit(std::mt19937& rng, bool one_rare, uint8_t freq[256]) {
  std::memset(freq, 0, 256);
  uint32_t left = kMaxFrequencyTotal;
  if (one_rare) freq[rng() % 256] = 1, --left;
  while (left > 0) {
    uint8_t& f = freq[rng() % 256];
    const uint32_t add =
        std::min<uint32_t>({left, 255u - f, static_cast<uint32_t>(1 + rng() % 200)});
    f = static_cast<uint8_t>(f + add);
    left -= add;
  }
}

TEST(ArithCoderTest, ArbitraryStreamsMatchTheStepwiseDecoder) {
  std::mt19937 rng(17);
  for (int trial = 0; trial < 300; ++trial) {
    uint8_t freq[256];
    if (trial % 6 >= 4) {
      FillToLimit(rng, trial % 6 == 5, freq);
    } else {
      for (auto& f : freq) {
        // Sparse; dense, with totals far above the coder's limit; very sparse; tiny.
        const uint32_t r = rng();
        const uint32_t kinds[4] = {r % 4 == 0 ? r >> 8 : 0, r, r % 64 == 0 ? 1 + (r >> 8) % 255 : 0,
                                   r % 3};
        f = static_cast<uint8_t>(kinds[trial % 6]);
      }
    }
    if (trial == 1) std::memset(freq, 255, sizeof freq);  // the largest total a table can have
    if (std::all_of(freq, freq + 256, [](uint8_t f) { return f == 0; })) freq[rng() % 256] = 1;
    uint32_t length = trial == 0 ? 0 : rng() % 2000;
    // Up to 300 code bytes: cut streams, and streams that run out of code while decoding.
    Bytes stream = RandomBytes(rng, kStreamHeadSize + rng() % 300);
    for (int i = 0; i < 4; ++i)
      stream[i] = static_cast<uint8_t>(length >> (8 * i));
    std::copy(freq, freq + 256, stream.begin() + 4);
    SCOPED_TRACE(trial);
    engine_test::ForEachDecoderBuild([&] {
      bool ok = false;
      Bytes out = Decode(stream, length, &ok);
      ASSERT_TRUE(ok);
      ASSERT_EQ(out, ReferenceDecode(stream));
      for (uint8_t b : out)
        ASSERT_NE(freq[b], 0) << "value " << int{b} << " has frequency 0";
    });
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
