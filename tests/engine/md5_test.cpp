#include "engine/md5.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace engine {
namespace {

std::string Hex(const Digest& d) {
  std::string s;
  for (uint8_t b : d)
    s += "0123456789abcdef"[b >> 4], s += "0123456789abcdef"[b & 15];
  return s;
}

TEST(Md5Test, ReferenceSuiteAndPaddingBoundaries) {
  const std::pair<std::string, const char*> cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
      // From 56 bytes modulo 64 on, the bit count moves to a block of its own.
      {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
      {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
      {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
      {std::string(127, 'a'), "020406e1d05cdc2aa287641f7ae2cc39"},
      {std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
  };
  for (const auto& [input, hex] : cases) {
    SCOPED_TRACE(input.substr(0, 80));
    EXPECT_EQ(Hex(Md5Bytes(input.data(), input.size())), hex);
    EXPECT_EQ(Hex(Md5String(input.c_str())), hex);
  }
  EXPECT_EQ(Hex(Md5String("abc\0def")), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(Md5Test, PiecewiseUpdatesMatchOneShot) {
  std::mt19937 rng(7);
  std::vector<uint8_t> data(5000);
  for (auto& b : data)
    b = static_cast<uint8_t>(rng());
  for (int trial = 0; trial < 200; ++trial) {
    size_t length = rng() % data.size(), pos = 0;
    Md5 md5;
    while (pos < length) {
      size_t piece = std::min<size_t>(length - pos, rng() % 150);
      md5.Update(data.data() + pos, piece);
      pos += piece;
    }
    EXPECT_EQ(md5.Final(), Md5Bytes(data.data(), length)) << length;
  }
}

class FileDigestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("verbarium_md5_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "data.bin").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  bool DigestOf(const std::vector<uint8_t>& bytes, uint64_t offset, Digest* d) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return FileDigest(path_.c_str(), offset, d);
  }

  std::filesystem::path dir_;
  std::string path_;
};

TEST_F(FileDigestTest, CompleteChunksOnlyAreDigested) {
  const size_t kHeader = 176;
  std::mt19937 rng(2);
  std::vector<uint8_t> file(kHeader + 2 * kFileDigestChunk);
  for (auto& b : file)
    b = static_cast<uint8_t>(rng());
  const Digest empty = Md5Bytes(nullptr, 0);
  Digest d{};

  // Less than a chunk after the offset: the digest of nothing.
  for (size_t data : {size_t{0}, size_t{1}, kFileDigestChunk - 1}) {
    ASSERT_TRUE(DigestOf({file.begin(), file.begin() + kHeader + data}, kHeader, &d));
    EXPECT_EQ(d, empty) << data;
  }
  // Exactly one chunk: the digest of that chunk's digest.
  Digest first = Md5Bytes(file.data() + kHeader, kFileDigestChunk);
  ASSERT_TRUE(DigestOf({file.begin(), file.begin() + kHeader + kFileDigestChunk}, kHeader, &d));
  EXPECT_EQ(d, Md5Bytes(first.data(), 16));

  // Two chunks: the digest of both digests in file order; a short tail or a changed header
  // byte leaves it alone, a changed chunk byte does not.
  Digest second = Md5Bytes(file.data() + kHeader + kFileDigestChunk, kFileDigestChunk);
  uint8_t both[32];
  std::copy(first.begin(), first.end(), both);
  std::copy(second.begin(), second.end(), both + 16);
  const Digest two = Md5Bytes(both, 32);
  ASSERT_TRUE(DigestOf(file, kHeader, &d));
  EXPECT_EQ(d, two);
  file.resize(file.size() + 1000, 0x5a);
  file[10] ^= 1;
  ASSERT_TRUE(DigestOf(file, kHeader, &d));
  EXPECT_EQ(d, two);
  file[kHeader + kFileDigestChunk + 12345] ^= 0x80;
  ASSERT_TRUE(DigestOf(file, kHeader, &d));
  EXPECT_NE(d, two);
}

TEST_F(FileDigestTest, UnreachableDataFails) {
  Digest d{};
  EXPECT_FALSE(FileDigest((dir_ / "missing.bin").string().c_str(), 0, &d));
  EXPECT_FALSE(FileDigest(dir_.string().c_str(), 0, &d));  // a folder, not a file
  EXPECT_FALSE(FileDigest(nullptr, 0, &d));
  const std::vector<uint8_t> hundred(100, 7);
  EXPECT_FALSE(DigestOf(hundred, 101, &d));
  EXPECT_FALSE(DigestOf(hundred, UINT64_MAX, &d));
  EXPECT_FALSE(DigestOf(hundred, 0, nullptr));
  ASSERT_TRUE(DigestOf(hundred, 100, &d));  // the end itself: an empty region
  EXPECT_EQ(d, Md5Bytes(nullptr, 0));
}

}  // namespace
}  // namespace engine
