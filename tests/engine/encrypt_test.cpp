#include "engine/encrypt.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/rc2_internal.h"

namespace {

std::vector<uint8_t> FromHex(const std::string& hex) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return out;
}

std::string ToHex(const uint8_t* p, size_t n) {
  static const char kDigits[] = "0123456789abcdef";
  std::string s;
  for (size_t i = 0; i < n; ++i) {
    s += kDigits[p[i] >> 4];
    s += kDigits[p[i] & 15];
  }
  return s;
}

struct Vector {
  const char* key;
  unsigned effective_bits;
  const char* plain;
  const char* cipher;
};

// The published vectors of the cipher's definition, then vectors for the 1,024-bit schedule
// the records use, obtained from an independent implementation of the cipher.
const Vector kVectors[] = {
    {"0000000000000000", 63, "0000000000000000", "ebb773f993278eff"},
    {"ffffffffffffffff", 64, "ffffffffffffffff", "278b27e42e2f0d49"},
    {"3000000000000000", 64, "1000000000000001", "30649edf9be7d2c2"},
    {"88", 64, "0000000000000000", "61a8a244adacccf0"},
    {"88bca90e90875a", 64, "0000000000000000", "6ccf4308974c267f"},
    {"88bca90e90875a7f0f79c384627bafb2", 64, "0000000000000000", "1a807d272bbe5db1"},
    {"88bca90e90875a7f0f79c384627bafb2", 128, "0000000000000000", "2269552ab0f85ca6"},
    {"88bca90e90875a7f0f79c384627bafb216f80a6f85920584c42fceb0be255daf1e", 129, "0000000000000000",
     "5b78d3a43dfff1f1"},
    {"88bca90e90875a7f0f79c384627bafb2", 1024, "0000000000000000", "db66015b97954a43"},
    {"88bca90e90875a7f0f79c384627bafb216f80a6f85920584c42fceb0be255daf1e", 1024, "0000000000000000",
     "6c63351723f22763"},
};

TEST(Rc2Test, PublishedAndIndependentVectors) {
  for (const Vector& v : kVectors) {
    SCOPED_TRACE(std::string(v.key) + " / " + std::to_string(v.effective_bits));
    std::vector<uint8_t> key = FromHex(v.key), plain = FromHex(v.plain);
    uint16_t words[64];
    engine::rc2::ExpandKey(key.data(), key.size(), v.effective_bits, words);
    uint8_t block[8];
    engine::rc2::EncryptBlock(words, plain.data(), block);
    EXPECT_EQ(ToHex(block, 8), v.cipher);
    engine::rc2::DecryptBlock(words, block, block);
    EXPECT_EQ(ToHex(block, 8), v.plain);
  }
}

TEST(Rc2Test, LongestKeyAndExtremeEffectiveLengths) {
  uint8_t key[128];
  for (int i = 0; i < 128; ++i)
    key[i] = static_cast<uint8_t>(i * 7 + 3);
  const uint8_t zero[8] = {};
  const struct {
    unsigned bits;
    const char* cipher;
  } cases[] = {{1024, "6fee079abd80d25a"}, {0, "6fee079abd80d25a"}, {1, "219911478faf1a46"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bits);
    uint16_t words[64];
    engine::rc2::ExpandKey(key, sizeof key, c.bits, words);
    uint8_t block[8];
    engine::rc2::EncryptBlock(words, zero, block);
    EXPECT_EQ(ToHex(block, 8), c.cipher);
  }
}

class EncryptTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Encrypt_Initialize(&handle_, nullptr, 0), kEncryptOk); }
  void TearDown() override { EXPECT_EQ(Encrypt_Deinitialize(&handle_), kEncryptOk); }
  EncryptHandle handle_ = nullptr;
};

TEST_F(EncryptTest, DefaultKeyVectors) {
  // "Verbariu", the zero block, and "abcde" padded with zeros to a block.
  const uint8_t word[] = {'V', 'e', 'r', 'b', 'a', 'r', 'i', 'u', 0,   0,  0,
                          0,   0,   0,   0,   0,   'a', 'b', 'c', 'd', 'e'};
  uint8_t out[24];
  int32_t length = sizeof out;
  ASSERT_EQ(Encrypt(handle_, word, sizeof word, out, &length), kEncryptOk);
  EXPECT_EQ(length, 24);
  EXPECT_EQ(ToHex(out, 24), "0ab8766f6d78ccacd9be18b0c77374a424308c5b6331a6d4");

  // The same 49 bytes given as a key expand to the same schedule.
  EncryptHandle given = nullptr;
  ASSERT_EQ(Encrypt_Initialize(&given, reinterpret_cast<const uint8_t*>(kEncryptDefaultKey), 49),
            kEncryptOk);
  uint8_t again[24];
  length = sizeof again;
  ASSERT_EQ(Encrypt(given, word, sizeof word, again, &length), kEncryptOk);
  EXPECT_EQ(0, std::memcmp(out, again, sizeof out));
  Encrypt_Deinitialize(&given);
}

TEST_F(EncryptTest, StatusCodes) {
  uint8_t in[16] = {}, out[16];
  int32_t length = 16;
  EXPECT_EQ(Encrypt(nullptr, in, 16, out, &length), kEncryptNullHandle);
  EXPECT_EQ(Decrypt(nullptr, in, 16, out, &length), kEncryptNullHandle);
  for (auto fn : {&Encrypt, &Decrypt}) {
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
  ASSERT_EQ(Encrypt_Initialize(&other, key, 128), kEncryptOk);
  EXPECT_NE(other, nullptr);
  EXPECT_EQ(Encrypt_Deinitialize(&other), kEncryptOk);

  // The padded length of the longest input cannot be reported: refused before any write.
  length = 16;
  out[0] = 0xee;
  EXPECT_EQ(Encrypt(handle_, in, std::numeric_limits<int32_t>::max(), out, &length),
            kEncryptOutputTooSmall);
  EXPECT_EQ(out[0], 0xee);
}

TEST_F(EncryptTest, CapacityIsComparedWithBlockStarts) {
  std::vector<uint8_t> plain(20);
  for (size_t i = 0; i < plain.size(); ++i)
    plain[i] = static_cast<uint8_t>('A' + i);

  struct Case {
    int32_t input;
    int32_t capacity;
    uint32_t status;
    int32_t reported;  // the length variable afterwards
    size_t written;    // bytes of the output changed
  };
  const Case cases[] = {
      {9, 8, kEncryptOutputTooSmall, 8, 8},  // second block would start at 8
      {13, 13, kEncryptOk, 16, 16},          // second block starts at 8 < 13
      {16, 16, kEncryptOk, 16, 16},          // no extra block
      {16, 9, kEncryptOk, 16, 16},
      {17, 16, kEncryptOutputTooSmall, 16, 16},
      {8, 0, kEncryptOutputTooSmall, 0, 0},
      {8, -5, kEncryptOutputTooSmall, -5, 0},
      {0, 4, kEncryptOk, 0, 0},
      {-3, 4, kEncryptOk, -3, 0},
  };
  for (const Case& c : cases) {
    for (bool encipher : {true, false}) {
      SCOPED_TRACE(std::to_string(c.input) + " bytes, capacity " + std::to_string(c.capacity) +
                   (encipher ? " encrypt" : " decrypt"));
      if (!encipher && c.input % 8 != 0) continue;
      std::vector<uint8_t> out(32, 0xee);
      int32_t length = c.capacity;
      uint32_t status =
          (encipher ? Encrypt : Decrypt)(handle_, plain.data(), c.input, out.data(), &length);
      EXPECT_EQ(status, c.status);
      EXPECT_EQ(length, c.reported);
      size_t changed = 0;
      for (size_t i = 0; i < out.size(); ++i) {
        if (out[i] != 0xee) changed = i + 1;
      }
      EXPECT_EQ(changed, c.written);
      // Blocks written before the refusal are complete and correct.
      if (c.written >= 8) {
        uint8_t expect[8];
        int32_t one = 8;
        (encipher ? Encrypt : Decrypt)(handle_, plain.data(), 8, expect, &one);
        EXPECT_EQ(0, std::memcmp(out.data(), expect, 8));
      }
    }
  }
}

TEST_F(EncryptTest, PaddingAndRoundTrips) {
  // 13 bytes: the final block is the 5 remaining bytes followed by zeros.
  const uint8_t text[] = "thirteen byte";
  uint8_t cipher[16], plain[16];
  int32_t length = 13;
  ASSERT_EQ(Encrypt(handle_, text, 13, cipher, &length), kEncryptOk);
  ASSERT_EQ(length, 16);
  length = 16;
  ASSERT_EQ(Decrypt(handle_, cipher, 16, plain, &length), kEncryptOk);
  EXPECT_EQ(length, 16);
  EXPECT_EQ(0, std::memcmp(plain, text, 13));
  EXPECT_EQ(plain[13] | plain[14] | plain[15], 0);

  // A ragged tail is not deciphered; it comes out as zeros.
  uint8_t ragged[12];
  length = 12;
  ASSERT_EQ(Decrypt(handle_, cipher, 12, ragged, &length), kEncryptOk);
  EXPECT_EQ(length, 12);
  EXPECT_EQ(0, std::memcmp(ragged, text, 8));
  EXPECT_EQ(ragged[8] | ragged[9] | ragged[10] | ragged[11], 0);

  // Random lengths, out of place and in place, under a caller key.
  std::mt19937 rng(11);
  uint8_t key[5] = {1, 2, 3, 4, 5};
  EncryptHandle keyed = nullptr;
  ASSERT_EQ(Encrypt_Initialize(&keyed, key, sizeof key), kEncryptOk);
  for (int trial = 0; trial < 100; ++trial) {
    int32_t n = static_cast<int32_t>(rng() % 300) + 1;
    std::vector<uint8_t> in(n), enc(n + 8), dec(n + 8);
    for (auto& b : in)
      b = static_cast<uint8_t>(rng());
    int32_t len = n;
    ASSERT_EQ(Encrypt(keyed, in.data(), n, enc.data(), &len), kEncryptOk);
    ASSERT_EQ(len % 8, 0);
    std::vector<uint8_t> in_place(enc.begin(), enc.begin() + len);
    int32_t enc_len = len;
    ASSERT_EQ(Decrypt(keyed, enc.data(), enc_len, dec.data(), &len), kEncryptOk);
    ASSERT_EQ(Decrypt(keyed, in_place.data(), enc_len, in_place.data(), &enc_len), kEncryptOk);
    SCOPED_TRACE(n);
    EXPECT_EQ(0, std::memcmp(dec.data(), in.data(), n));
    EXPECT_EQ(0, std::memcmp(in_place.data(), in.data(), n));
    // The cipher text is not the plain text.
    EXPECT_NE(0, std::memcmp(enc.data(), in.data(), std::min(n, 8)));
  }
  Encrypt_Deinitialize(&keyed);
}

}  // namespace
