// Word lookups: the byte-position search, identifiers back to words, offset lists.
#include <cstring>
#include <random>

#include "engine/arith_coder.h"
#include "tests/engine/nymdex_test_util.h"

namespace nymdex_test {
namespace {

class SampleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lexicon_ = SampleLexicon();
    ASSERT_TRUE(dictionary_.Write(Images(lexicon_)));
    ASSERT_EQ(dictionary_.Start(&engine_), kNymdexOk);
  }
  void TearDown() override {
    if (engine_ != nullptr) Nymdex_ShutDown(&engine_);
  }
  int32_t IdOf(const std::string& word) const {
    for (size_t i = 0; i < lexicon_.words.size(); ++i) {
      if (lexicon_.words[i].text == word) return static_cast<int32_t>(i);
    }
    return -1;
  }

  Lexicon lexicon_;
  Dictionary dictionary_;
  NymdexEngine* engine_ = nullptr;
};

TEST_F(SampleTest, LookupIgnoresCaseButNotSpaces) {
  const int32_t dog = IdOf("dog");
  for (const char* form : {"dog", "Dog", "DOG"})
    EXPECT_EQ(Nymdex_GetIdFromWord(engine_, form), dog);
  EXPECT_EQ(Nymdex_GetIdFromWord(engine_, "ice_cream"), IdOf("Ice_Cream"));
  EXPECT_EQ(Nymdex_GetIdFromWord(engine_, "ice cream"), -1);
  EXPECT_EQ(Nymdex_GetIdFromWord(engine_, ""), -1);
  EXPECT_EQ(Nymdex_GetIdFromWord(engine_, "do"), -1) << "a prefix of an entry is not the entry";
  EXPECT_EQ(Nymdex_GetIdFromWord(engine_, "dogs"), -1);
  EXPECT_EQ(Nymdex_GetIdFromWord(engine_, "~~~"), -1) << "after the last entry";
  EXPECT_EQ(Nymdex_GetIdFromWord(engine_, " "), -1) << "before the second entry";
  EXPECT_EQ(Nymdex_GetIdFromWord(engine_, "!"), -1) << "the first entry is never examined";

  char word[kMaxWordLength + 1];
  ASSERT_EQ(Nymdex_GetWordFromID(engine_, static_cast<uint32_t>(IdOf("Ice_Cream")), word), 1);
  EXPECT_STREQ(word, "Ice_Cream") << "stored form, stored case";
  EXPECT_EQ(Nymdex_GetWordFromID(engine_, 0, word), 0);
  uint32_t last = static_cast<uint32_t>(lexicon_.words.size() - 1);
  ASSERT_EQ(Nymdex_GetWordFromID(engine_, last, word), 1);
  EXPECT_EQ(word, lexicon_.words.back().text);
  EXPECT_EQ(Nymdex_GetIdFromWord(engine_, word), static_cast<int32_t>(last));
  EXPECT_EQ(Nymdex_GetWordFromID(engine_, last + 1, word), 0);
}

TEST_F(SampleTest, NullArguments) {
  char word[kMaxWordLength + 1];
  std::vector<uint32_t> offsets;
  EXPECT_EQ(Nymdex_GetIdFromWord(nullptr, "dog"), -1);
  EXPECT_EQ(Nymdex_GetIdFromWord(engine_, nullptr), -1);
  EXPECT_EQ(Nymdex_GetWordFromID(nullptr, 1, word), 0);
  EXPECT_EQ(Nymdex_GetWordFromID(engine_, 1, nullptr), 0);
  EXPECT_EQ(Nymdex_IsWord(engine_, "Dog"), 1u);
  EXPECT_EQ(Nymdex_IsWord(engine_, "dogs"), 0u);
  EXPECT_EQ(Nymdex_IsWord(nullptr, "dog"), kNymdexNullHandle);
  EXPECT_EQ(Nymdex_IsWord(engine_, nullptr), kNymdexNullArgument);
  EXPECT_EQ(Nymdex_GetOffsetList(nullptr, kNoun, 1, &offsets), 0);
  EXPECT_EQ(Nymdex_GetOffsetList(engine_, kNoun, 1, nullptr), 0);
  EXPECT_EQ(Nymdex_GetEntryRegion(nullptr).data, nullptr);
}

TEST_F(SampleTest, OffsetListsPerPartOfSpeech) {
  std::vector<uint32_t> offsets = {7};
  const uint32_t walk = static_cast<uint32_t>(IdOf("walk"));
  EXPECT_EQ(Nymdex_GetOffsetList(engine_, kNoun, walk, &offsets), 0);
  EXPECT_EQ(Nymdex_GetOffsetList(engine_, kVerb, walk, &offsets), 1);
  EXPECT_EQ(offsets.size(), 2u) << "appends after what the list held";

  offsets.clear();
  const uint32_t bank = static_cast<uint32_t>(IdOf("bank"));
  EXPECT_EQ(Nymdex_GetOffsetList(engine_, kNoun, bank, &offsets), 1);
  ASSERT_EQ(offsets.size(), 2u);
  EXPECT_LT(offsets[0], offsets[1]) << "stored (sense) order";
  for (uint32_t pos : {0u, 5u, 255u})
    EXPECT_EQ(Nymdex_GetOffsetList(engine_, pos, bank, &offsets), 0);

  NymdexEntryRegion region = Nymdex_GetEntryRegion(engine_);
  EXPECT_EQ(region.count, lexicon_.words.size());
  EXPECT_EQ(std::string(region.data), "!") << "the region starts with the sentinel";
}

// Words of varied lengths, so that probes land on every kind of byte.
Lexicon ManyWords(size_t count, std::mt19937* random, size_t verb_word = 0) {
  LexiconBuilder b;
  b.Synset(1, {"aa"}, "n");
  b.Synset(2, {"ab"}, "v");
  b.Synset(3, {"ac"}, "a");
  b.Synset(4, {"ad"}, "r");
  std::uniform_int_distribution<int> length(1, 12);
  while (b.Build().words.size() < count + 1) {
    std::string word = "w";
    for (int i = length(*random); i > 0; --i)
      word += static_cast<char>('a' + (*random)() % 26);
    b.Bare(word);
  }
  Lexicon lexicon = b.Build();
  if (verb_word != 0) {
    // Make `verb_word` a verb only, and the word before it the last noun.
    lexicon.words[verb_word].senses[1].push_back({1, 0});
    lexicon.words[verb_word - 1].senses[0].push_back({0, 0});
  }
  return lexicon;
}

TEST(WordIndexTest, EveryEntryButTheFirstIsFoundAndResolved) {
  std::mt19937 random(7);
  for (size_t count : {4, 5, 6, 7, 9, 13, 30, 101, 257}) {
    SCOPED_TRACE(count);
    Lexicon lexicon = ManyWords(count, &random);
    Dictionary dictionary;
    ASSERT_TRUE(dictionary.Write(Images(lexicon)));
    NymdexEngine* engine = nullptr;
    ASSERT_EQ(dictionary.Start(&engine), kNymdexOk);
    char word[kMaxWordLength + 1];
    for (uint32_t id = 1; id < lexicon.words.size(); ++id) {
      EXPECT_EQ(Nymdex_GetIdFromWord(engine, lexicon.words[id].text.c_str()), int32_t(id));
      ASSERT_EQ(Nymdex_GetWordFromID(engine, id, word), 1);
      EXPECT_EQ(word, lexicon.words[id].text);
    }
    EXPECT_EQ(Nymdex_GetWordFromID(engine, 0, word), 0);
    EXPECT_EQ(Nymdex_GetWordFromID(engine, uint32_t(lexicon.words.size()), word), 0);
    Nymdex_ShutDown(&engine);
  }
}

TEST(WordIndexTest, OffsetListBucketEdge) {
  std::mt19937 random(11);
  Lexicon lexicon = ManyWords(220, &random, /*verb_word=*/200);
  DataFileImages images = Images(lexicon);
  ASSERT_EQ(GetU32(images.synsets, 144), 2u) << "the last noun is word 199";
  Dictionary dictionary;
  ASSERT_TRUE(dictionary.Write(images));
  NymdexEngine* engine = nullptr;
  ASSERT_EQ(dictionary.Start(&engine), kNymdexOk);
  std::vector<uint32_t> offsets;
  EXPECT_EQ(Nymdex_GetOffsetList(engine, kNoun, 199, &offsets), 1);
  EXPECT_EQ(Nymdex_GetOffsetList(engine, kNoun, 200, &offsets), 0) << "100 x bucket count";
  EXPECT_EQ(Nymdex_GetOffsetList(engine, kVerb, 200, &offsets), 1);
  EXPECT_EQ(Nymdex_GetOffsetList(engine, kNoun, 1000000, &offsets), 0);
  EXPECT_EQ(offsets.size(), 2u);
  Nymdex_ShutDown(&engine);
}

// The search as it reads in words, with indexes instead of pointers; the engine's must
// agree with it on any region, sorted or not.
int32_t ReferenceSearch(const std::string& region, const std::string& key, bool by_id, uint32_t id,
                        std::string* found) {
  auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
  int64_t lo = 0;
  int64_t hi = static_cast<int64_t>(region.size());
  const int64_t size = hi;
  while (lo <= hi) {
    int64_t mid = (lo + hi) / 2;
    int64_t p = mid;
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
    int c = 0;
    if (by_id) {
      c = id > value ? 1 : (id < value ? -1 : 0);
    } else {
      size_t i = 0;
      while (i < key.size() && i < word.size() && fold(key[i]) == fold(word[i]))
        ++i;
      if (i == key.size() || i == word.size()) {
        c = key.size() == word.size() ? 0 : (key.size() < word.size() ? -1 : 1);
      } else {
        c = fold(key[i]) < fold(word[i]) ? -1 : 1;
      }
    }
    if (c == 0) {
      *found = word;
      return static_cast<int32_t>(value);
    }
    if (c > 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
    }
  }
  return -1;
}

TEST(WordIndexTest, SearchAgreesWithTheReferenceOnArbitraryRegions) {
  DataFileImages images = Images(SampleLexicon());
  std::mt19937 random(3);
  const std::string alphabet(
      "abAB\0\0"
      "0123",
      10);
  for (int round = 0; round < 150; ++round) {
    SCOPED_TRACE(round);
    std::string region;
    size_t length = random() % 120;
    for (size_t i = 0; i < length; ++i)
      region += alphabet[random() % alphabet.size()];
    std::vector<uint8_t> decoded(32, 0);
    decoded.insert(decoded.end(), region.begin(), region.end());
    images.word_index = engine::ArithEncode(decoded.data(), decoded.size());
    Dictionary dictionary;
    ASSERT_TRUE(dictionary.Write(images));
    NymdexEngine* engine = nullptr;
    ASSERT_EQ(dictionary.Start(&engine), kNymdexOk);
    for (int probe = 0; probe < 20; ++probe) {
      std::string key;
      for (size_t i = random() % 4; i > 0; --i)
        key += "abAB0"[random() % 5];
      std::string expected_word;
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
    Nymdex_ShutDown(&engine);
  }
}

TEST(WordIndexTest, StoredWordTooLongForTheBufferIsNotCopied) {
  DataFileImages images = Images(SampleLexicon());
  std::string huge = "h";  // varied letters: the index must not shrink below half its size
  for (int i = 1; i < 1500; ++i)
    huge += static_cast<char>('a' + (i * 7 + i / 5) % 26);
  std::string region;
  const std::string words[] = {"!", "a", huge, "z"};
  for (int id = 0; id < 4; ++id)
    region += words[id] + '\0' + "00000" + char('0' + id);
  std::vector<uint8_t> decoded(32, 0);
  decoded.insert(decoded.end(), region.begin(), region.end());
  images.word_index = engine::ArithEncode(decoded.data(), decoded.size());
  Dictionary dictionary;
  ASSERT_TRUE(dictionary.Write(images));
  NymdexEngine* engine = nullptr;
  ASSERT_EQ(dictionary.Start(&engine), kNymdexOk);
  EXPECT_EQ(Nymdex_GetIdFromWord(engine, huge.c_str()), 2);
  char word[kMaxWordLength + 1];
  EXPECT_EQ(Nymdex_GetWordFromID(engine, 2, word), 0);
  EXPECT_EQ(Nymdex_GetWordFromID(engine, 3, word), 1);
  EXPECT_STREQ(word, "z");
  Nymdex_ShutDown(&engine);
}

}  // namespace
}  // namespace nymdex_test
