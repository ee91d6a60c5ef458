// Word lookups: the byte-position search, identifiers back to words, offset lists.
#include "engine/arith_coder.h"
#include "engine/nymdex_checks.h"
#include "tests/engine/nymdex_test_util.h"

namespace nymdex_test {
namespace {

TEST_F(SampleTest, WordIdsIgnoreCase) {
  const std::pair<const char*, int32_t> cases[] = {
      {"dog", int32_t(Id("dog"))},
      {"Dog", int32_t(Id("dog"))},
      {"DOG", int32_t(Id("dog"))},
      {"ice_cream", int32_t(Id("Ice_Cream"))},
      // Spaces, a prefix of an entry, an extension of one, beyond either end, the sentinel
      // first entry (never examined).
      {"ice cream", -1},
      {"", -1},
      {"do", -1},
      {"dogs", -1},
      {"~~~", -1},
      {" ", -1},
      {"!", -1},
  };
  for (const auto& [word, id] : cases) {
    SCOPED_TRACE(word);
    EXPECT_EQ(Nymdex_GetIdFromWord(engine_, word), id);
    EXPECT_EQ(Nymdex_IsWord(engine_, word), id >= 0 ? 1u : 0u);
  }
}

TEST_F(SampleTest, WordQueriesRefuseNullArguments) {
  char word[kMaxWordLength + 1];
  std::vector<uint32_t> offsets;
  EXPECT_EQ(Nymdex_GetIdFromWord(nullptr, "dog"), -1);
  EXPECT_EQ(Nymdex_GetIdFromWord(engine_, nullptr), -1);
  EXPECT_EQ(Nymdex_IsWord(nullptr, "dog"), kNymdexNullHandle);
  EXPECT_EQ(Nymdex_IsWord(engine_, nullptr), kNymdexNullArgument);
  EXPECT_FALSE(nymdex::IsKnownWord(nullptr, "dog")) << "the error code is not a yes";
  EXPECT_EQ(Nymdex_GetWordFromID(nullptr, 1, word), 0);
  EXPECT_EQ(Nymdex_GetWordFromID(engine_, 1, nullptr), 0);
  EXPECT_EQ(Nymdex_GetOffsetList(nullptr, kNoun, 1, &offsets), 0);
  EXPECT_EQ(Nymdex_GetOffsetList(engine_, kNoun, 1, nullptr), 0);
  EXPECT_EQ(Nymdex_GetEntryRegion(nullptr).data, nullptr);
}

TEST_F(SampleTest, WordOfAnIdIsTheStoredForm) {
  EXPECT_EQ(nymdex::WordOfId(engine_, Id("Ice_Cream")), "Ice_Cream");
  EXPECT_EQ(nymdex::WordOfId(engine_, uint32_t(lexicon_.words.size())), std::nullopt);
}

TEST_F(SampleTest, OffsetListsAppendInSenseOrder) {
  std::vector<uint32_t> offsets = {7};
  EXPECT_EQ(Nymdex_GetOffsetList(engine_, kNoun, Id("walk"), &offsets), 0);
  EXPECT_EQ(Nymdex_GetOffsetList(engine_, kVerb, Id("walk"), &offsets), 1);
  EXPECT_EQ(offsets.size(), 2u) << "appends after what the list held";
  offsets.clear();
  EXPECT_EQ(Nymdex_GetOffsetList(engine_, kNoun, Id("bank"), &offsets), 1);
  ASSERT_EQ(offsets.size(), 2u);
  EXPECT_LT(offsets[0], offsets[1]);
  for (uint32_t pos : {0u, 5u, 255u})
    EXPECT_EQ(Nymdex_GetOffsetList(engine_, pos, Id("bank"), &offsets), 0) << pos;
}

TEST_F(SampleTest, EntryRegionStartsWithTheSentinel) {
  NymdexEntryRegion region = Nymdex_GetEntryRegion(engine_);
  EXPECT_EQ(region.count, lexicon_.words.size());
  EXPECT_EQ(std::string(region.data), "!");
}

// The search as it reads in words, with indexes instead of pointers; the engine's must agree
// with it on any region, sorted or not.
int32_t ReferenceSearch(const std::string& region, const std::string& key, bool by_id, uint32_t id,
                        std::string* found) {
  auto fold = [](std::string s) {
    for (char& c : s)
      c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return s;
  };
  const int64_t size = static_cast<int64_t>(region.size());
  int64_t lo = 0, hi = size;
  while (lo <= hi) {
    int64_t mid = (lo + hi) / 2, p = mid;
    while (p < size && region[p] != '\0')
      ++p;
    int64_t q = p + 7;
    while (q < size && region[q] != '\0')
      ++q;
    if (p >= size || p + 7 >= size || q >= size || q + 6 >= size) {
      hi = mid - 1;
      continue;
    }
    if (region[p + 1] == '\0' || region[p + 7] == '\0') return -1;
    std::string word = region.substr(p + 7, q - p - 7);
    uint32_t value = 0;
    for (int i = 1; i <= 6 && region[q + i] >= '0' && region[q + i] <= '9'; ++i)
      value = value * 10 + (region[q + i] - '0');
    int c = by_id ? (id > value) - (id < value) : fold(key).compare(fold(word));
    if (c == 0) {
      *found = word;
      return static_cast<int32_t>(value);
    }
    (c > 0 ? lo : hi) = c > 0 ? mid + 1 : mid - 1;
  }
  return -1;
}

// Starts `dictionary` over the sample files with `region` as the word index's entries, sealed
// with its digest as the compiler seals an index: the search then meets the region as it is.
NymdexEngine* OpenWithRegion(Dictionary* dictionary, const std::string& region) {
  DataFileImages images = Images(SampleLexicon());
  std::vector<uint8_t> decoded(nymdex::kWordIndexHeaderSize, 0);
  decoded.insert(decoded.end(), region.begin(), region.end());
  SetU32(&decoded, nymdex::kWordIndexMarkerAt, nymdex::kWordIndexMarker);
  const engine::Digest digest = nymdex::WordIndexDigest(decoded.data(), decoded.size());
  std::copy(digest.begin(), digest.end(), decoded.begin() + nymdex::kWordIndexDigestAt);
  images.word_index = engine::ArithEncode(decoded.data(), decoded.size());
  return dictionary->Open(images);
}

TEST(WordIndexTest, SearchAgreesWithTheReferenceOnArbitraryRegions) {
  std::mt19937 random(3);
  const std::string alphabet(
      "abAB\0\0"
      "0123",
      10);
  for (int round = 0; round < 100; ++round) {
    SCOPED_TRACE(round);
    std::string region;
    for (size_t i = random() % 120; i > 0; --i)
      region += alphabet[random() % alphabet.size()];
    Dictionary dictionary;
    NymdexEngine* engine = OpenWithRegion(&dictionary, region);
    ASSERT_NE(engine, nullptr);
    for (int probe = 0; probe < 20; ++probe) {
      std::string key, expected_word;
      for (size_t i = random() % 4; i > 0; --i)
        key += "abAB0"[random() % 5];
      EXPECT_EQ(Nymdex_GetIdFromWord(engine, key.c_str()),
                ReferenceSearch(region, key, false, 0, &expected_word))
          << key;
      uint32_t id = random() % 40;
      char word[kMaxWordLength + 1];
      int32_t expected = ReferenceSearch(region, "", true, id, &expected_word);
      ASSERT_EQ(Nymdex_GetWordFromID(engine, id, word), expected >= 0 ? 1 : 0);
      if (expected >= 0) {
        EXPECT_EQ(word, expected_word);
      }
    }
  }
}

TEST(WordIndexTest, StoredWordTooLongForTheBufferIsNotCopied) {
  // One byte too long for the caller's buffer, and the longest that fits. Varied letters: the
  // index must not shrink below half its size.
  std::string huge = "h", longest = "z";
  for (int i = 1; i < 1024; ++i)
    huge += static_cast<char>('a' + (i * 7 + i / 5) % 26);
  longest += huge.substr(1, 1022);
  auto entry = [](const std::string& word, char id) { return word + '\0' + "00000" + id; };
  Dictionary dictionary;
  NymdexEngine* engine = OpenWithRegion(
      &dictionary, entry("!", '0') + entry("a", '1') + entry(huge, '2') + entry(longest, '3'));
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(Nymdex_GetIdFromWord(engine, huge.c_str()), 2);
  char word[kMaxWordLength + 1];
  EXPECT_EQ(Nymdex_GetWordFromID(engine, 2, word), 0);
  EXPECT_EQ(Nymdex_GetWordFromID(engine, 3, word), 1);
  EXPECT_EQ(word, longest);
}

}  // namespace
}  // namespace nymdex_test
