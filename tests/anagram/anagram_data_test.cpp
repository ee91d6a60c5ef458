// The anagram engine and the pattern walk over the compiled Data/.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <unordered_set>

#include "anagram/jumble_testing.h"
#include "anagram/pattern.h"
#include "engine/data_format.h"
#include "engine/little_endian.h"
#include "platform/named_event.h"
#include "platform/program_names.h"
#include "tests/anagram/anagram_test_util.h"

namespace {

using anagram_test::Phrases;

std::string DataFile(const char* name) {
  return std::string(VERBARIUM_DATA_DIR) + "/" + name;
}

// The letters of a text without its spaces, sorted.
std::string Letters(std::string text) {
  std::erase(text, ' ');
  std::sort(text.begin(), text.end());
  return text;
}

// An engine over the compiled word list, the list as the file holds it, and the lexical
// engine with the words of its index.
class AnagramDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(DataFile(program::kAnagramFile)))
      GTEST_SKIP() << "no compiled Data/";
    ASSERT_EQ(Jumble_StartUp(&engine_, DataFile(program::kAnagramFile).c_str()), kJumbleOk);
    // Words after the header, each ended by a NUL, as long as the header's body length.
    std::ifstream in(DataFile(program::kAnagramFile), std::ios::binary);
    uint8_t header[nymdex::kAnagramHeaderSize];
    ASSERT_TRUE(in.read(reinterpret_cast<char*>(header), sizeof header));
    std::string body(engine::LoadU32(header + nymdex::kAnagramBodyLengthAt), '\0');
    ASSERT_TRUE(in.read(body.data(), static_cast<std::streamsize>(body.size())));
    std::istringstream words(body);
    for (std::string word; std::getline(words, word, '\0');)
      list_.push_back(word);
    ASSERT_GT(list_.size(), 50000u);
    ASSERT_EQ(Nymdex_StartUp(&nymdex_, DataFile(program::kSynsetFile).c_str(),
                             DataFile(program::kWordIndexFile).c_str(),
                             DataFile(program::kTagFile).c_str(), nullptr, nullptr),
              kNymdexOk);
    NymdexEntryRegion region = Nymdex_GetEntryRegion(nymdex_);
    for (size_t at = 0, n = 0; at < region.length && n < region.count; ++n) {
      index_.emplace_back(region.data + at);
      at += index_.back().size() + nymdex::kEntrySuffixSize;
    }
  }
  void TearDown() override {
    Jumble_ShutDown(&engine_);
    if (nymdex_ != nullptr) Nymdex_ShutDown(&nymdex_);
    platform::CloseNamedEvent(stop_);
  }
  Phrases Anagrams(JumbleEngine* engine, const char* input, const char* filter,
                   int32_t permutations, int32_t most) {
    return anagram_test::Anagrams(engine, input, filter, 1, 50, permutations, most);
  }

  platform::NamedEvent* stop_ = platform::OpenNamedEvent(program::kStopAnagramsEvent, true, false);
  JumbleEngine* engine_ = nullptr;
  Phrases list_;
  NymdexEngine* nymdex_ = nullptr;
  Phrases index_;
};

// The look-ahead changes no phrase and no order over the real list either: inputs with many
// phrases, few, or none, with the options that shape the search.
TEST_F(AnagramDataTest, LookAheadKeepsPhrasesAndOrder) {
  const struct {
    const char* input;
    const char* filter;
    int32_t permutations;
  } cases[] = {
      {"astronomer", nullptr, 1},        {"conversation", nullptr, 0}, {"conversation", "5-7", 1},
      {"dormitoryqz", nullptr, 0},       {"xylophonejq", nullptr, 1},  {"rhythmsbcdw", nullptr, 0},
      {"parliamentarian", "4-4-4-3", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    SetLookAheadForTesting(false);
    const Phrases plain = Anagrams(engine_, c.input, c.filter, c.permutations, 3000);
    SetLookAheadForTesting(true);
    EXPECT_EQ(Anagrams(engine_, c.input, c.filter, c.permutations, 3000), plain);
  }
}

// From the list file and from the word index: the one-word anagrams are exactly the words of
// the same letters, each once.
TEST_F(AnagramDataTest, OneWordAnagramsEqualBruteForce) {
  JumbleEngine* from_index = nullptr;
  ASSERT_EQ(Jumble_StartUp2(&from_index, nymdex_), kJumbleOk);
  for (auto [engine, words] : {std::pair(engine_, &list_), std::pair(from_index, &index_)}) {
    SCOPED_TRACE(words == &list_ ? "from the list" : "from the word index");
    // The last plain word too, so that a list cut short is seen.
    auto plain = [](const std::string& w) {
      return w.find_first_not_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos;
    };
    std::string last = *std::find_if(words->rbegin(), words->rend(), plain);
    for (const std::string& input : {std::string("listen"), std::string("stone"),
                                     std::string("ate"), std::string("a"), last}) {
      SCOPED_TRACE(input);
      std::string filter = std::to_string(input.size());
      Phrases found = Anagrams(engine, input.c_str(), filter.c_str(), 0, 1000000);
      std::sort(found.begin(), found.end());
      Phrases expected;
      for (const std::string& word : *words) {
        if (Letters(word) == Letters(input)) expected.push_back(word);
      }
      std::sort(expected.begin(), expected.end());
      expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
      EXPECT_EQ(found, expected);
      EXPECT_GE(found.size(), 1u);
    }
  }
  Jumble_ShutDown(&from_index);
}

TEST_F(AnagramDataTest, EveryPhraseSpellsTheInputWithADistinctSet) {
  std::unordered_set<std::string> known(list_.begin(), list_.end());
  for (const char* input : {"astronomer", "the eyes"}) {
    SCOPED_TRACE(input);
    Phrases phrases = Anagrams(engine_, input, nullptr, 0, 5000);
    EXPECT_GT(phrases.size(), 10u);
    std::set<Phrases> sets;
    for (const std::string& phrase : phrases) {
      ASSERT_EQ(Letters(phrase), Letters(input)) << phrase;
      std::istringstream split(phrase);
      Phrases words{std::istream_iterator<std::string>(split), {}};
      for (const std::string& word : words) {
        EXPECT_TRUE(known.count(word) && (word.size() > 1 || word == "a" || word == "i")) << word;
      }
      std::sort(words.begin(), words.end());
      EXPECT_EQ(std::adjacent_find(words.begin(), words.end()), words.end()) << phrase;
      EXPECT_TRUE(sets.insert(words).second) << "set delivered twice: " << phrase;
    }
  }
  // With permutations on, the first 1,000 phrases of a ten-letter input.
  EXPECT_EQ(Anagrams(engine_, "astronomer", nullptr, 1, 1000).size(), 1000u);
}

// The list holds words a player accepts: lower-case letters only; of one letter only "a" and
// "i"; of two letters only those of the list kept with the sources; longer ones with a vowel.
TEST_F(AnagramDataTest, ListHoldsOnlyPlayableWords) {
  std::set<std::string> two_letter;
  std::ifstream in(std::string(VERBARIUM_SOURCE_DIR) + "/tools/data/two-letter-words.txt");
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] != '#') two_letter.insert(line);
  ASSERT_GT(two_letter.size(), 40u);
  std::set<std::string> one_letter;
  size_t two_letter_kept = 0;
  for (const std::string& word : list_) {
    ASSERT_EQ(word.find_first_not_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << word;
    if (word.size() == 1) one_letter.insert(word);
    if (word.size() == 2) {
      EXPECT_EQ(two_letter.count(word), 1u) << word;
      ++two_letter_kept;
    }
    if (word.size() >= 3) {
      EXPECT_NE(word.find_first_of("aeiouy"), std::string::npos) << word;
    }
  }
  EXPECT_EQ(one_letter, (std::set<std::string>{"a", "i"}));
  EXPECT_GT(two_letter_kept, two_letter.size() / 2);
}

// "*ness" against a plain scan of the word index: single words ending in "ness", in order.
TEST_F(AnagramDataTest, PatternWalkOverTheWordIndex) {
  Phrases expected;
  for (const std::string& word : index_) {
    if (word.ends_with("ness") && word.find_first_of("_-") == std::string::npos) {
      expected.push_back(word);
    }
  }
  anagram::PatternMatches ness = anagram::FindPatternMatches(nymdex_, "*ness");
  EXPECT_EQ(ness.words, expected);
  EXPECT_GT(expected.size(), 1000u);
  EXPECT_EQ(ness.status, "Found " + std::to_string(expected.size()) + " matches");
}

}  // namespace
