// The rules that keep abbreviations and symbols out of the anagram word list, and the list of
// two-letter words they read.
#include "tools/anagram_word_rules.h"

#include <gtest/gtest.h>

#include "tests/tools/wordnet_fixture.h"

namespace {

using mkdata::WordRule;
using TwoLetterWords = std::set<std::string, std::less<>>;

TEST(AnagramWordRules, LeaveOutWhatAPlayerWouldRefuse) {
  const TwoLetterWords two_letter = {"ox", "we"};
  const struct {
    const char* word;
    WordRule rule;
  } cases[] = {
      {"a", WordRule::kKept},
      {"i", WordRule::kKept},
      {"b", WordRule::kOneLetter},
      {"o", WordRule::kOneLetter},
      {"ox", WordRule::kKept},
      {"ls", WordRule::kTwoLetter},
      {"xo", WordRule::kTwoLetter},
      {"mph", WordRule::kNoVowel},
      {"nth", WordRule::kNoVowel},
      {"gym", WordRule::kKept},
      {"rhythm", WordRule::kKept},
      {"strengths", WordRule::kKept},
      {"bcdfghjklmnpqrstvwxz", WordRule::kNoVowel},
  };
  std::vector<std::string> words;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    EXPECT_EQ(mkdata::JudgeAnagramWord(c.word, two_letter), c.rule);
    words.emplace_back(c.word);
  }
  mkdata::WordRulesReport report;
  mkdata::ApplyAnagramWordRules(&words, two_letter, &report);
  EXPECT_EQ(words, (std::vector<std::string>{"a", "i", "ox", "gym", "rhythm", "strengths"}));
  EXPECT_EQ(report.one_letter, 2u);
  EXPECT_EQ(report.two_letter, 2u);
  EXPECT_EQ(report.no_vowel, 3u);
}

TEST(AnagramWordRules, TwoLetterListLinesAndFailures) {
  wordnet_test::TempFolder folder;
  const struct {
    const char* text;
    TwoLetterWords words;
    const char* error;  // after "<path>"
  } cases[] = {
      {"# comment\r\nox\r\n\nwe\nox\n", {"ox", "we"}, ""},
      {"ox\nabc\n", {}, ":2: \"abc\" is not a word of two letters a to z"},
      {"Ox\n", {}, ":1: \"Ox\" is not a word of two letters a to z"},
      {" ox\n", {}, ":1: \" ox\" is not a word of two letters a to z"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string path = folder / "list";
    wordnet_test::WriteText(path, c.text);
    TwoLetterWords words;
    std::string error;
    EXPECT_EQ(mkdata::ReadTwoLetterWords(path, &words, &error), *c.error == '\0');
    EXPECT_EQ(error, *c.error == '\0' ? "" : path + c.error);
    if (*c.error == '\0') {
      EXPECT_EQ(words, c.words);
    }
  }
  TwoLetterWords words;
  std::string error;
  EXPECT_FALSE(mkdata::ReadTwoLetterWords(folder / "absent", &words, &error));
  EXPECT_EQ(error, folder / "absent" + ": cannot be opened");
}

// The list kept with the sources reads, and holds the everyday words of the game.
TEST(AnagramWordRules, KeptListReads) {
  TwoLetterWords words;
  std::string error;
  ASSERT_TRUE(mkdata::ReadTwoLetterWords(
      std::string(VERBARIUM_SOURCE_DIR) + "/tools/data/" + mkdata::kTwoLetterWordsFile, &words,
      &error))
      << error;
  for (const char* word : {"an", "be", "go", "is", "ox", "we"})
    EXPECT_EQ(words.count(word), 1u) << word;
  for (const char* word : {"ls", "ng", "cm", "ft"})
    EXPECT_EQ(words.count(word), 0u) << word;
}

}  // namespace
