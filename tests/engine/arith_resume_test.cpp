#include "engine/arith_resume.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "engine/arith_coder.h"
#include "engine/little_endian.h"
#include "tests/engine/decoder_builds.h"
#include "tests/engine/reference_decoder.h"

namespace engine {
namespace {

using Bytes = std::vector<uint8_t>;
using engine_test::ReferenceDecode;

struct Resumed {
  Bytes out;
  size_t chains = 0;
};

Resumed DecodeResumed(const Bytes& stream, const std::vector<ResumePoint>& points) {
  Resumed r;
  r.out.resize(LoadU32(stream.data()));
  size_t length = 0;
  EXPECT_TRUE(ArithDecodeResumed(stream.data(), stream.size(), points.data(), points.size(),
                                 r.out.data(), r.out.size(), &length, &r.chains));
  EXPECT_EQ(length, r.out.size());
  return r;
}

Bytes Skewed(std::mt19937& rng, size_t n) {
  Bytes b(n);
  for (auto& x : b)
    x = rng() % 50 == 0 ? static_cast<uint8_t>(rng()) : "etaoin_ \0"[rng() % 9];
  return b;
}

Bytes Random(std::mt19937& rng, size_t n) {
  Bytes b(n);
  for (auto& x : b)
    x = static_cast<uint8_t>(rng());
  return b;
}

// A stream whose table totals exactly the coder's limit: the narrowest intervals.
Bytes AtLimit(std::mt19937& rng, size_t n) {
  uint8_t freq[256];
  std::memset(freq, 64, sizeof freq);
  freq[7] = 1;
  freq[8] = 126;
  Bytes data(n);
  for (auto& x : data)
    x = static_cast<uint8_t>(rng() % 4 == 0 ? 7 : rng());
  Bytes stream;
  EXPECT_TRUE(ArithEncodeWithTable(data.data(), data.size(), freq, &stream));
  return stream;
}

std::vector<Bytes> Streams() {
  std::mt19937 rng(5);
  std::vector<Bytes> streams;
  for (const Bytes& data : {Bytes{}, Bytes{0x41}, Random(rng, 500), Skewed(rng, 700)})
    streams.push_back(ArithEncode(data.data(), data.size()));
  streams.push_back(AtLimit(rng, 600));
  return streams;
}

std::vector<ResumePoint> PointsAt(const Bytes& stream, std::vector<uint32_t> symbols) {
  std::vector<ResumePoint> points;
  EXPECT_TRUE(ArithResumePoints(stream.data(), stream.size(), symbols, &points));
  return points;
}

// A point at every output position covers the first and the last symbol and every kind of seam:
// after no shift, after several, after underflow steps.
TEST(ArithResumeTest, EveryPositionResumesAsTheReference) {
  for (const Bytes& stream : Streams()) {
    const Bytes reference = ReferenceDecode(stream);
    SCOPED_TRACE(reference.size());
    std::vector<uint32_t> all(reference.size() + 1);
    for (uint32_t i = 0; i < all.size(); ++i)
      all[i] = i;
    const std::vector<ResumePoint> points = PointsAt(stream, all);
    ASSERT_EQ(points.size(), all.size());
    for (const ResumePoint& point : points) {
      SCOPED_TRACE(point.symbol);
      const Resumed r = DecodeResumed(stream, {point});
      ASSERT_EQ(r.out, reference);
      ASSERT_EQ(r.chains, 2u);
    }
  }
}

TEST(ArithResumeTest, ManyChainsResumeAsTheReference) {
  std::mt19937 rng(11);
  const Bytes text = Skewed(rng, 60000);
  const Bytes stream = ArithEncode(text.data(), text.size());
  for (int trial = 0; trial < 40; ++trial) {
    std::vector<uint32_t> symbols(1 + trial % kMaxResumePoints);
    for (auto& s : symbols)
      s = trial % 5 == 0 ? 30000 : static_cast<uint32_t>(rng() % (text.size() + 1));  // equal
    std::sort(symbols.begin(), symbols.end());
    SCOPED_TRACE(trial);
    const std::vector<ResumePoint> points = PointsAt(stream, symbols);
    engine_test::ForEachDecoderBuild([&] {
      const Resumed r = DecodeResumed(stream, points);
      ASSERT_TRUE(r.out == text);
      EXPECT_EQ(r.chains, symbols.size() + 1);
    });
  }
}

// Every field of every point damaged in turn, then random points: the output stays the
// one-chain decode's, and a point whose state the decode does not reach there is not kept.
TEST(ArithResumeTest, DamagedPointsLeaveTheOutput) {
  std::mt19937 rng(3);
  const Bytes text = Skewed(rng, 20000);
  const Bytes stream = ArithEncode(text.data(), text.size());
  const std::vector<ResumePoint> good = PointsAt(stream, {5000, 10000, 15000});
  for (size_t which = 0; which < good.size(); ++which) {
    for (int change = 0; change < 14; ++change) {
      std::vector<ResumePoint> points = good;
      ResumePoint& p = points[which];
      const uint32_t symbol_to[] = {p.symbol + 1, p.symbol - 1, 0, 20001, UINT32_MAX};
      const uint32_t bit_to[] = {p.bit + 1, p.bit - 1, UINT32_MAX, 0};
      if (change < 5) p.symbol = symbol_to[change];
      if (change >= 5 && change < 9) p.bit = bit_to[change - 5];
      if (change == 9) p.low ^= 1;
      if (change == 10) p.high ^= 0x100;
      if (change == 11) p.code ^= 2;
      if (change == 12) p.code = static_cast<uint16_t>(p.high + 1);
      if (change == 13) p.low = 0x8000;
      SCOPED_TRACE(testing::Message() << "point " << which << " change " << change);
      const Resumed r = DecodeResumed(stream, points);
      ASSERT_TRUE(r.out == text);
      EXPECT_LT(r.chains, 4u);
    }
  }
  for (int trial = 0; trial < 300; ++trial) {
    std::vector<ResumePoint> points = good;
    for (ResumePoint& p : points) {
      if (rng() % 2 == 0) continue;
      p = {static_cast<uint32_t>(rng() % 20001), static_cast<uint32_t>(rng() % (8 * stream.size())),
           static_cast<uint16_t>(rng() % 0x4000), static_cast<uint16_t>(0xC000 + rng() % 0x4000),
           static_cast<uint16_t>(rng() % 0x4000)};
      if (trial % 3 == 0) p.code = static_cast<uint16_t>(rng());
    }
    SCOPED_TRACE(trial);
    ASSERT_TRUE(DecodeResumed(stream, points).out == text);
  }
}

TEST(ArithResumeTest, TrailerFollowsTheStream) {
  std::mt19937 rng(8);
  const Bytes text = Skewed(rng, 5000);
  Bytes stream = ArithEncode(text.data(), text.size());
  const std::vector<ResumePoint> points = PointsAt(stream, {1000, 2500, 4999});
  AppendResumeTrailer(points, &stream);
  ResumePoint read[kMaxResumePoints];
  ASSERT_EQ(ReadResumeTrailer(stream.data(), stream.size(), read), 3u);
  EXPECT_EQ(std::vector<ResumePoint>(read, read + 3), points);
  EXPECT_EQ(ReferenceDecode(stream), text);  // the trailer is no code bit
  EXPECT_EQ(DecodeResumed(stream, points).chains, 4u);

  // No marker, a count of 0 or above the limit, or more points than the input holds.
  const size_t count_at = stream.size() - 8;
  for (uint32_t count : {0u, 8u, 1000000u}) {
    Bytes damaged = stream;
    std::memcpy(&damaged[count_at], &count, 4);
    EXPECT_EQ(ReadResumeTrailer(damaged.data(), damaged.size(), read), 0u) << count;
  }
  Bytes unmarked = stream;
  unmarked.back() ^= 1;
  EXPECT_EQ(ReadResumeTrailer(unmarked.data(), unmarked.size(), read), 0u);
  const Bytes short_stream(stream.end() - 8 - kStreamHeadSize, stream.end());
  EXPECT_EQ(ReadResumeTrailer(short_stream.data(), short_stream.size(), read), 0u);
}

TEST(ArithResumeTest, WriterRefusesWhatItCannotResume) {
  std::mt19937 rng(2);
  const Bytes text = Random(rng, 100);
  const Bytes stream = ArithEncode(text.data(), text.size());
  std::vector<ResumePoint> points;
  EXPECT_FALSE(ArithResumePoints(stream.data(), stream.size(), {50, 20}, &points));  // descending
  EXPECT_FALSE(ArithResumePoints(stream.data(), stream.size(), {101}, &points));     // past the end
  Bytes wide = stream;
  std::fill(wide.begin() + 4, wide.begin() + 260, 255);  // a total above the limit
  EXPECT_FALSE(ArithResumePoints(wide.data(), wide.size(), {10}, &points));
  EXPECT_TRUE(points.empty());
}

}  // namespace
}  // namespace engine
