// The anagram engine and the pattern walk over the compiled Data/.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "anagram/jumble.h"
#include "anagram/pattern.h"
#include "engine/nymdex.h"
#include "platform/named_event.h"

namespace {

using Words = std::vector<std::string>;

std::string DataFile(const char* name) {
  return std::string(VERBARIUM_DATA_DIR) + "/" + name;
}

void Collect(const char* phrase, void* context) {
  static_cast<Words*>(context)->push_back(phrase);
}

std::string Sorted(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  std::sort(text.begin(), text.end());
  return text;
}

class AnagramDataTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!std::filesystem::exists(DataFile("1001A.dat"))) return;
    stop_ = platform::OpenNamedEvent("StopAnagrams", true, false);
    ASSERT_EQ(Jumble_StartUp(&engine_, DataFile("1001A.dat").c_str()), kJumbleOk);
    // The list as the file holds it: words after the 32-byte header, each ended by a NUL.
    std::ifstream in(DataFile("1001A.dat"), std::ios::binary);
    in.seekg(32);
    for (std::string word; std::getline(in, word, '\0');)
      list_.push_back(word);
  }
  static void TearDownTestSuite() {
    Jumble_ShutDown(&engine_);
    platform::CloseNamedEvent(stop_);
  }
  void SetUp() override {
    if (engine_ == nullptr) GTEST_SKIP() << "no compiled Data/ at " << VERBARIUM_DATA_DIR;
  }

  static Words Anagrams(const char* input, const char* filter, int32_t permutations, int32_t most) {
    Words phrases;
    GenerateAnagrams(engine_, input, filter, Collect, &phrases, 1, 50, permutations, most);
    return phrases;
  }

  static inline platform::NamedEvent* stop_ = nullptr;
  static inline JumbleEngine* engine_ = nullptr;
  static inline Words list_;
};

TEST_F(AnagramDataTest, OneWordAnagramsEqualBruteForce) {
  ASSERT_GT(list_.size(), 50000u);
  for (const char* input : {"listen", "stone", "ate", "parsley", "triangle", "angered", "a"}) {
    SCOPED_TRACE(input);
    std::string filter = std::to_string(std::string(input).size());
    Words found = Anagrams(input, filter.c_str(), 0, 1000000);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(std::adjacent_find(found.begin(), found.end()), found.end()) << "delivered twice";
    Words expected;
    for (const std::string& word : list_) {
      if (Sorted(word) == Sorted(input)) expected.push_back(word);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
    EXPECT_GE(found.size(), 1u);
  }
}

TEST_F(AnagramDataTest, PhrasesSpellTheInputAndSetsAreNotRepeated) {
  std::unordered_set<std::string> known(list_.begin(), list_.end());
  for (const char* input : {"astronomer", "listen", "the eyes", "dormitory"}) {
    SCOPED_TRACE(input);
    Words phrases = Anagrams(input, nullptr, 0, 5000);
    EXPECT_GT(phrases.size(), 10u);
    std::set<Words> sets;
    for (const std::string& phrase : phrases) {
      ASSERT_EQ(Sorted(phrase), Sorted(input)) << phrase;
      std::istringstream split(phrase);
      Words words{std::istream_iterator<std::string>(split), std::istream_iterator<std::string>()};
      for (const std::string& word : words) {
        EXPECT_TRUE(known.count(word)) << word;
        EXPECT_TRUE(word.size() > 1 || word == "a" || word == "i") << phrase;
      }
      std::sort(words.begin(), words.end());
      EXPECT_EQ(std::adjacent_find(words.begin(), words.end()), words.end()) << phrase;
      EXPECT_TRUE(sets.insert(words).second) << "set delivered twice: " << phrase;
    }
  }
  // With permutations on, the first 1,000 phrases of a ten-letter input.
  EXPECT_EQ(Anagrams("astronomer", nullptr, 1, 1000).size(), 1000u);
}

TEST(PatternDataTest, WalkOverTheWordIndex) {
  if (!std::filesystem::exists(DataFile("1001W.dat"))) GTEST_SKIP() << "no compiled Data/";
  NymdexEngine* engine = nullptr;
  ASSERT_EQ(Nymdex_StartUp(&engine, DataFile("1001L.dat").c_str(), DataFile("1001W.dat").c_str(),
                           DataFile("1001T.dat").c_str(), nullptr, nullptr),
            kNymdexOk);
  EXPECT_TRUE(anagram::FindPatternMatches(engine, "ice?cream").words.empty());
  // "*ness" against a plain scan of the index: single words ending in "ness", in index order.
  NymdexEntryRegion region = Nymdex_GetEntryRegion(engine);
  Words expected;
  for (size_t at = 0, n = 0; at < region.length && n < region.count; ++n) {
    std::string word(region.data + at);
    at += word.size() + 7;
    if (word.size() >= 4 && word.compare(word.size() - 4, 4, "ness") == 0 &&
        word.find_first_of("_-") == std::string::npos) {
      expected.push_back(word);
    }
  }
  anagram::PatternMatches ness = anagram::FindPatternMatches(engine, "*ness");
  EXPECT_EQ(ness.words, expected);
  EXPECT_GT(expected.size(), 1000u);
  EXPECT_EQ(ness.status, "Found " + std::to_string(expected.size()) + " matches");
  Nymdex_ShutDown(&engine);
}

}  // namespace
