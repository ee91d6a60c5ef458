#include "engine/md5.h"
#include "engine/md5_lanes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace engine {
namespace {

std::string Hex(const Digest& d) {
  std::string s;
  for (uint8_t b : d)
    s += "0123456789abcdef"[b >> 4], s += "0123456789abcdef"[b & 15];
  return s;
}

TEST(Md5Test, MatchesTheReferenceVectors) {
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
    Md5 md5;  // in pieces of 1 to 131 bytes: every way a piece meets the buffered block
    for (size_t pos = 0, n = 1; pos < input.size(); pos += n, n = n * 7 % 131 + 1)
      md5.Update(input.data() + pos, std::min(n, input.size() - pos));
    EXPECT_EQ(Hex(md5.Final()), hex);
  }
}

// Around each padding boundary (the bit count in the same block, or in one of its own), every
// way of digesting messages side by side gives each message its own digest, whatever the other
// messages hold: each kernel this processor runs (the widest may leave the narrower unused by
// Md5Many), the scalar pair, and Md5Many over every count, which splits it into the widest
// kernel's batches, a batch with spare lanes, pairs and one alone.
TEST(Md5Test, BatchedDigestsMatchSingleOnes) {
  std::mt19937 rng(7);
  for (size_t length : {0, 1, 55, 56, 63, 64, 65, 119, 120, 128, 4096 + 17}) {
    std::vector<std::vector<uint8_t>> messages(37, std::vector<uint8_t>(length));
    std::vector<const uint8_t*> pointers;
    std::vector<Digest> expected;
    for (auto& message : messages) {
      for (auto& b : message)
        b = static_cast<uint8_t>(rng());
      pointers.push_back(message.data());
      expected.push_back(Md5Bytes(message.data(), length));
    }
    std::vector<Digest> digests(messages.size());
    for (const Md5Kernel& kernel : Md5Kernels()) {
      if (!kernel.supported()) continue;
      SCOPED_TRACE(testing::Message() << kernel.name << ", length " << length);
      kernel.digest(pointers.data(), length, digests.data());
      for (int i = 0; i < kernel.lanes; ++i)
        EXPECT_EQ(digests[i], expected[i]) << "lane " << i;
    }
    SCOPED_TRACE(testing::Message() << "length " << length);
    Md5Pair(pointers[0], pointers[1], length, &digests[0], &digests[1]);
    EXPECT_EQ(digests[0], expected[0]);
    EXPECT_EQ(digests[1], expected[1]);
    for (size_t count = 0; count <= messages.size(); ++count) {
      digests.assign(messages.size(), Digest{});
      Md5Many(pointers.data(), count, length, digests.data());
      ASSERT_TRUE(std::equal(digests.begin(), digests.begin() + count, expected.begin()))
          << count << " messages";
    }
  }
}

// Writes `bytes` to a scratch file and digests it from `offset`.
bool DigestOf(const std::vector<uint8_t>& bytes, uint64_t offset, Digest* d) {
  test_support::ScratchFolder folder;
  return FileDigest(folder.Write("file", bytes).c_str(), offset, d);
}

TEST(FileDigestTest, UnreadableInputFails) {
  test_support::ScratchFolder folder;
  const std::vector<uint8_t> file(100);
  Digest d{};
  EXPECT_FALSE(FileDigest(folder.Path("missing").c_str(), 0, &d));
  EXPECT_FALSE(FileDigest(folder.path().c_str(), 0, &d));  // a folder: opens, but cannot be read
  EXPECT_FALSE(FileDigest(nullptr, 0, &d));
  EXPECT_FALSE(DigestOf(file, file.size() + 1, &d));
  EXPECT_FALSE(DigestOf(file, UINT64_MAX, &d));
  EXPECT_FALSE(DigestOf(file, 0, nullptr));
}

// The digest of the complete chunks' digests after the offset: the header and the short tail
// are left out, less than a chunk is the digest of nothing, and the chunks digested in lanes,
// pairs and alone give the chunk-by-chunk digest for every count.
TEST(FileDigestTest, EveryChunkCountMatchesChunkByChunk) {
  std::mt19937 rng(3);
  for (size_t chunks : {0, 1, 2, 3, 4, 7, 19}) {
    SCOPED_TRACE(chunks);
    std::vector<uint8_t> file(32 + chunks * kFileDigestChunk + 77);
    for (auto& b : file)
      b = static_cast<uint8_t>(rng());
    Md5 outer;
    for (size_t i = 0; i < chunks; ++i) {
      Digest chunk = Md5Bytes(file.data() + 32 + i * kFileDigestChunk, kFileDigestChunk);
      outer.Update(chunk.data(), chunk.size());
    }
    const Digest expected = outer.Final();
    EXPECT_EQ(ChunkedDigest(file.data() + 32, file.size() - 32), expected);
    Digest d{};
    ASSERT_TRUE(DigestOf(file, 32, &d));
    EXPECT_EQ(d, expected);
  }
  Digest d{};  // an offset at the end leaves nothing to digest, which is no failure
  ASSERT_TRUE(DigestOf(std::vector<uint8_t>(100), 100, &d));
  EXPECT_EQ(d, Md5Bytes(nullptr, 0));
}

}  // namespace
}  // namespace engine
