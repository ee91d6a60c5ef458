#include "engine/encrypt.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "engine/rc2_internal.h"

namespace {

std::vector<uint8_t> FromHex(const std::string& hex) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return out;
}

std::string ToHex(const uint8_t* p, size_t n) {
  std::string s;
  for (size_t i = 0; i < n; ++i)
    s += "0123456789abcdef"[p[i] >> 4], s += "0123456789abcdef"[p[i] & 15];
  return s;
}

// Enciphers one block (zeros by default), checks that deciphering gives it back, returns the
// cipher text.
std::string Rc2Hex(const std::vector<uint8_t>& key, unsigned bits,
                   const std::string& plain = "0000000000000000") {
  uint16_t words[64];
  engine::rc2::ExpandKey(key.data(), key.size(), bits, words);
  uint8_t block[8];
  engine::rc2::EncryptBlock(words, FromHex(plain).data(), block);
  std::string cipher = ToHex(block, 8);
  engine::rc2::DecryptBlock(words, block, block);
  EXPECT_EQ(ToHex(block, 8), plain);
  return cipher;
}

TEST(Rc2Test, MatchesKnownVectors) {
  // The published vectors of the cipher, then the 1,024-bit schedule of the records, as an
  // independent implementation of the cipher computes it.
  // Key, effective bits, plain text, cipher text.
  const std::tuple<const char*, unsigned, const char*, const char*> vectors[] = {
      {"0000000000000000", 63, "0000000000000000", "ebb773f993278eff"},
      {"ffffffffffffffff", 64, "ffffffffffffffff", "278b27e42e2f0d49"},
      {"3000000000000000", 64, "1000000000000001", "30649edf9be7d2c2"},
      {"88", 64, "0000000000000000", "61a8a244adacccf0"},
      {"88bca90e90875a", 64, "0000000000000000", "6ccf4308974c267f"},
      {"88bca90e90875a7f0f79c384627bafb2", 64, "0000000000000000", "1a807d272bbe5db1"},
      {"88bca90e90875a7f0f79c384627bafb2", 128, "0000000000000000", "2269552ab0f85ca6"},
      {"88bca90e90875a7f0f79c384627bafb216f80a6f85920584c42fceb0be255daf1e", 129,
       "0000000000000000", "5b78d3a43dfff1f1"},
      {"88bca90e90875a7f0f79c384627bafb2", 1024, "0000000000000000", "db66015b97954a43"},
      {"88bca90e90875a7f0f79c384627bafb216f80a6f85920584c42fceb0be255daf1e", 1024,
       "0000000000000000", "6c63351723f22763"},
  };
  for (const auto& [key, bits, plain, cipher] : vectors)
    EXPECT_EQ(Rc2Hex(FromHex(key), bits, plain), cipher) << key << " / " << bits;
  // The longest key; effective length 0 means 1,024, and 1 bit is the narrowest reduction.
  std::vector<uint8_t> longest(128);
  for (int i = 0; i < 128; ++i)
    longest[i] = static_cast<uint8_t>(i * 7 + 3);
  EXPECT_EQ(Rc2Hex(longest, 1024), "6fee079abd80d25a");
  EXPECT_EQ(Rc2Hex(longest, 0), "6fee079abd80d25a");
  EXPECT_EQ(Rc2Hex(longest, 1), "219911478faf1a46");
}

class EncryptTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Encrypt_Initialize(&handle_, nullptr, 0), kEncryptOk); }
  void TearDown() override { EXPECT_EQ(Encrypt_Deinitialize(&handle_), kEncryptOk); }
  EncryptHandle handle_ = nullptr;
};

// "Verbariu", the zero block, and "abcde" padded with zeros to a block.
constexpr uint8_t kText[21] = {'V', 'e', 'r', 'b', 'a', 'r', 'i', 'u', 0,   0,  0,
                               0,   0,   0,   0,   0,   'a', 'b', 'c', 'd', 'e'};
constexpr char kCipherHex[] = "0ab8766f6d78ccacd9be18b0c77374a424308c5b6331a6d4";

TEST_F(EncryptTest, NoKeyMeansTheDefaultKey) {
  const uint8_t* text = kText;
  EncryptHandle given = nullptr;
  ASSERT_EQ(Encrypt_Initialize(&given, reinterpret_cast<const uint8_t*>(kEncryptDefaultKey), 49),
            kEncryptOk);
  uint8_t cipher[24], plain[24];
  for (EncryptHandle h : {handle_, given}) {
    int32_t length = sizeof cipher;
    ASSERT_EQ(Encrypt(h, text, sizeof kText, cipher, &length), kEncryptOk);
    EXPECT_EQ(length, 24);
    EXPECT_EQ(ToHex(cipher, 24), kCipherHex);
  }
  Encrypt_Deinitialize(&given);
  // Deciphered: the text, then the zeros that filled its last block.
  int32_t length = 24;
  ASSERT_EQ(Decrypt(handle_, cipher, 24, plain, &length), kEncryptOk);
  EXPECT_EQ(ToHex(plain, 24), ToHex(text, 21) + "000000");
}

TEST_F(EncryptTest, RaggedTailDeciphersAsZeros) {
  const std::vector<uint8_t> cipher = FromHex(kCipherHex);
  uint8_t plain[24];
  int32_t length = 22;
  ASSERT_EQ(Decrypt(handle_, cipher.data(), 22, plain, &length), kEncryptOk);
  EXPECT_EQ(length, 22);
  EXPECT_EQ(ToHex(plain, 22), ToHex(kText, 16) + "000000000000");
}

TEST_F(EncryptTest, StatusCodes) {
  uint8_t in[16] = {}, out[16];
  int32_t length = 16;
  for (auto fn : {&Encrypt, &Decrypt}) {
    EXPECT_EQ(fn(nullptr, in, 16, out, &length), kEncryptNullHandle);
    EXPECT_EQ(fn(handle_, nullptr, 16, out, &length), kEncryptNullArgument);
    EXPECT_EQ(fn(handle_, in, 16, nullptr, &length), kEncryptNullArgument);
    EXPECT_EQ(fn(handle_, in, 16, out, nullptr), kEncryptNullArgument);
  }
  EXPECT_EQ(Encrypt_Initialize(nullptr, nullptr, 0), kEncryptNullArgument);
  EXPECT_EQ(Encrypt_Deinitialize(nullptr), kEncryptNullArgument);
  EncryptHandle other = nullptr;
  uint8_t key[129] = {};
  EXPECT_EQ(Encrypt_Initialize(&other, key, 0), kEncryptNullArgument);
  EXPECT_EQ(Encrypt_Initialize(&other, key, 129), kEncryptNullArgument);
  EXPECT_EQ(other, nullptr);

  // The padded length of the longest input cannot be reported: refused before any write.
  out[0] = 0xee;
  EXPECT_EQ(Encrypt(handle_, in, std::numeric_limits<int32_t>::max(), out, &length),
            kEncryptOutputTooSmall);
  EXPECT_EQ(out[0], 0xee);
}

TEST_F(EncryptTest, CapacityIsComparedWithBlockStarts) {
  const uint8_t plain[24] = "ABCDEFGHIJKLMNOPQRSTUVW";
  const struct {
    int32_t input, capacity;
    uint32_t status;
    int32_t reported;  // the length variable afterwards
    size_t written;    // bytes of the output changed
  } cases[] = {
      {9, 8, kEncryptOutputTooSmall, 8, 8},  // the second block would start at 8
      {13, 13, kEncryptOk, 16, 16},          // it starts at 8, below 13
      {16, 9, kEncryptOk, 16, 16},          {17, 16, kEncryptOutputTooSmall, 16, 16},
      {8, 0, kEncryptOutputTooSmall, 0, 0}, {-3, 4, kEncryptOk, -3, 0},
  };
  for (const auto& c : cases) {
    for (int decipher = 0; decipher < 2; ++decipher) {
      if (decipher && c.input % 8 != 0) continue;
      SCOPED_TRACE(std::to_string(c.input) + " bytes, capacity " + std::to_string(c.capacity) +
                   (decipher ? " decrypt" : " encrypt"));
      std::vector<uint8_t> out(32, 0xee);
      int32_t length = c.capacity;
      EXPECT_EQ((decipher ? Decrypt : Encrypt)(handle_, plain, c.input, out.data(), &length),
                c.status);
      EXPECT_EQ(length, c.reported);
      size_t changed = 0;
      for (size_t i = 0; i < out.size(); ++i)
        changed = out[i] != 0xee ? i + 1 : changed;
      EXPECT_EQ(changed, c.written);
    }
  }
}

}  // namespace
