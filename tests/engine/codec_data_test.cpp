// The decoder over every stream of the compiled Data/: the word index from its resume points and
// each block of the tag file, against the step-by-step reference.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/arith_coder.h"
#include "engine/arith_resume.h"
#include "engine/data_format.h"
#include "engine/little_endian.h"
#include "tests/engine/decoder_builds.h"
#include "tests/engine/reference_decoder.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadDataFile(const char* name) {
  std::ifstream in(std::string(VERBARIUM_DATA_DIR) + "/" + name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Decodes with the library at the capacity its reader passes; empty when the decode fails.
Bytes LibraryDecode(const uint8_t* stream, size_t size, size_t capacity) {
  Bytes out(capacity);
  size_t length = 0;
  if (!engine::ArithDecode(stream, size, out.data(), capacity, &length)) return {};
  out.resize(length);
  return out;
}

class CodecDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(std::string(VERBARIUM_DATA_DIR) + "/1001T.dat")) {
      GTEST_SKIP() << "no compiled Data/";
    }
  }
};

// The compiled index carries its resume points, and the start-up's decode keeps every chain.
TEST_F(CodecDataTest, WordIndexResumesAsTheReference) {
  const Bytes file = ReadDataFile("1001W.dat");
  engine::ResumePoint points[engine::kMaxResumePoints];
  const size_t count = engine::ReadResumeTrailer(file.data(), file.size(), points);
  ASSERT_EQ(count, nymdex::kWordIndexResumePoints);
  const Bytes reference = engine_test::ReferenceDecode(file);
  engine_test::ForEachDecoderBuild([&] {
    Bytes decoded(2 * file.size());
    size_t length = 0, chains = 0;
    ASSERT_TRUE(engine::ArithDecodeResumed(file.data(), file.size(), points, count, decoded.data(),
                                           decoded.size(), &length, &chains));
    decoded.resize(length);
    EXPECT_TRUE(decoded == reference);
    EXPECT_EQ(chains, count + 1);
    // The same stream as one chain, as a reader without the resume points decodes it.
    EXPECT_TRUE(LibraryDecode(file.data(), file.size(), decoded.size()) == reference);
  });
}

TEST_F(CodecDataTest, EveryTagBlockDecodesAsTheReference) {
  const Bytes file = ReadDataFile("1001T.dat");
  ASSERT_GT(file.size(), nymdex::kTagHeaderSize);
  const uint32_t blocks = engine::LoadU32(&file[nymdex::kTagBlockCountAt]);
  ASSERT_GT(blocks, 1000u);
  ASSERT_LE(blocks, nymdex::kMaxTagBlocks);
  for (uint32_t b = 0; b < blocks; ++b) {
    const uint32_t start = engine::LoadU32(&file[nymdex::kTagStartsAt + 4 * b]);
    const uint32_t end = b + 1 == blocks ? engine::LoadU32(&file[nymdex::kTagEndAt])
                                         : engine::LoadU32(&file[nymdex::kTagStartsAt + 4 * b + 4]);
    ASSERT_TRUE(start < end && end <= file.size()) << "block " << b;
    const Bytes reference = engine_test::ReferenceDecode(&file[start], end - start);
    ASSERT_FALSE(reference.empty()) << "block " << b;
    engine_test::ForEachDecoderBuild([&] {
      ASSERT_TRUE(LibraryDecode(&file[start], end - start, nymdex::kMaxTagBlockDecoded) ==
                  reference)
          << "block " << b;
    });
  }
}

}  // namespace
