#include "engine/md5.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace engine {
namespace {

std::string Hex(const Digest& d) {
  static const char kDigits[] = "0123456789abcdef";
  std::string s;
  for (uint8_t b : d) {
    s += kDigits[b >> 4];
    s += kDigits[b & 15];
  }
  return s;
}

TEST(Md5Test, ReferenceSuite) {
  struct Case {
    std::string input;
    const char* hex;
  };
  const Case cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"1234567890123456789012345678901234567890123456789012345678901234567890123456789"
       "0",
       "57edf4a22be3c955ac49da2e2107b67a"},
      // Lengths around the padding boundaries: the bit count must land in a second block
      // from 56 bytes modulo 64 on.
      {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
      {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
      {std::string(63, 'a'), "b06521f39153d618550606be297466d5"},
      {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
      {std::string(65, 'a'), "c743a45e0d2e6a95cb859adae0248435"},
      {std::string(127, 'a'), "020406e1d05cdc2aa287641f7ae2cc39"},
      {std::string(128, 'a'), "e510683b3f5ffe4093d021808bc6ff70"},
      {std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input.size() < 100 ? c.input : std::to_string(c.input.size()) + " bytes");
    EXPECT_EQ(Hex(Md5Bytes(c.input.data(), c.input.size())), c.hex);
    EXPECT_EQ(Hex(Md5String(c.input.c_str())), c.hex);
  }
}

TEST(Md5Test, StringStopsAtNul) {
  const char text[] = "abc\0def";
  EXPECT_EQ(Hex(Md5String(text)), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(Md5Test, PiecewiseUpdatesMatchOneShot) {
  std::mt19937 rng(7);
  std::vector<uint8_t> data(5000);
  for (auto& b : data)
    b = static_cast<uint8_t>(rng());
  for (int trial = 0; trial < 200; ++trial) {
    size_t length = rng() % data.size();
    Md5 md5;
    size_t pos = 0;
    while (pos < length) {
      size_t piece = std::min<size_t>(length - pos, rng() % 150);
      md5.Update(data.data() + pos, piece);
      pos += piece;
    }
    SCOPED_TRACE(length);
    EXPECT_EQ(md5.Final(), Md5Bytes(data.data(), length));
  }
}

// A file in the test's temporary folder, removed at the end of the test.
class FileDigestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("verbarium_md5_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "data.bin").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  void Write(const std::vector<uint8_t>& bytes) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }

  static std::vector<uint8_t> Random(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> v(n);
    for (auto& b : v)
      b = static_cast<uint8_t>(rng());
    return v;
  }

  std::filesystem::path dir_;
  std::string path_;
};

TEST_F(FileDigestTest, ShortRegionDigestsNothing) {
  const Digest empty = Md5Bytes(nullptr, 0);
  for (size_t tail : {size_t{0}, size_t{1}, kFileDigestChunk - 1}) {
    SCOPED_TRACE(tail);
    Write(Random(176 + tail, 1));
    Digest d{};
    ASSERT_TRUE(FileDigest(path_.c_str(), 176, &d));
    EXPECT_EQ(d, empty);
  }
}

TEST_F(FileDigestTest, CompleteChunksAreDigestedTailIgnored) {
  const size_t kHeader = 32;
  std::vector<uint8_t> file = Random(kHeader + 2 * kFileDigestChunk, 2);
  Digest first = Md5Bytes(file.data() + kHeader, kFileDigestChunk);
  Digest second = Md5Bytes(file.data() + kHeader + kFileDigestChunk, kFileDigestChunk);

  // Exactly one chunk: the digest of that chunk's digest.
  std::vector<uint8_t> one(file.begin(), file.begin() + kHeader + kFileDigestChunk);
  Write(one);
  Digest d{};
  ASSERT_TRUE(FileDigest(path_.c_str(), kHeader, &d));
  EXPECT_EQ(d, Md5Bytes(first.data(), first.size()));

  // Two chunks: the digest of both digests in file order.
  Write(file);
  ASSERT_TRUE(FileDigest(path_.c_str(), kHeader, &d));
  uint8_t both[32];
  std::copy(first.begin(), first.end(), both);
  std::copy(second.begin(), second.end(), both + 16);
  const Digest two = Md5Bytes(both, sizeof both);
  EXPECT_EQ(d, two);

  // A short tail, or a changed header byte, leaves it alone; a changed chunk byte does not.
  std::vector<uint8_t> longer = file;
  longer.resize(file.size() + 1000, 0x5a);
  longer[10] ^= 1;
  longer[longer.size() - 1] ^= 1;
  Write(longer);
  ASSERT_TRUE(FileDigest(path_.c_str(), kHeader, &d));
  EXPECT_EQ(d, two);

  longer[kHeader + kFileDigestChunk + 12345] ^= 0x80;
  Write(longer);
  ASSERT_TRUE(FileDigest(path_.c_str(), kHeader, &d));
  EXPECT_NE(d, two);
}

TEST_F(FileDigestTest, UnreachableDataFails) {
  Digest d{};
  EXPECT_FALSE(FileDigest((dir_ / "missing.bin").string().c_str(), 0, &d));
  EXPECT_FALSE(FileDigest(dir_.string().c_str(), 0, &d));  // a folder, not a file
  EXPECT_FALSE(FileDigest(nullptr, 0, &d));

  Write(Random(100, 3));
  EXPECT_FALSE(FileDigest(path_.c_str(), 101, &d));
  EXPECT_FALSE(FileDigest(path_.c_str(), UINT64_MAX, &d));
  EXPECT_FALSE(FileDigest(path_.c_str(), 0, nullptr));
  ASSERT_TRUE(FileDigest(path_.c_str(), 100, &d));  // the end itself is an empty region
  EXPECT_EQ(d, Md5Bytes(nullptr, 0));
}

}  // namespace
}  // namespace engine
