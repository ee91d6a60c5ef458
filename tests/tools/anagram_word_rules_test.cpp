// The rules that keep abbreviations and symbols out of the anagram word list, and the list of
// two-letter words they read.
#include "tools/anagram_word_rules.h"

#include <gtest/gtest.h>

#include "tests/tools/wordnet_fixture.h"

namespace {

TEST(AnagramWordRules, LeaveOutWhatAPlayerWouldRefuse) {
  std::vector<std::string> words = {"a",  "i",   "b",   "ox",     "ls",        "mph",
                                    "xo", "gym", "nth", "rhythm", "strengths", "o"};
  mkdata::WordRulesReport report;
  mkdata::ApplyAnagramWordRules(&words, {"ox", "we"}, &report);
  EXPECT_EQ(words, (std::vector<std::string>{"a", "i", "ox", "gym", "rhythm", "strengths"}));
  EXPECT_EQ(report.one_letter, 2u);
  EXPECT_EQ(report.two_letter, 2u);
  EXPECT_EQ(report.no_vowel, 2u);
}

TEST(AnagramWordRules, TwoLetterListRefusesOtherLines) {
  test_support::ScratchFolder folder;
  const std::string path = folder.Path("list");
  std::set<std::string, std::less<>> words;
  std::string error;
  wordnet_test::WriteText(path, "# comment\r\nox\r\n\nwe\n");
  EXPECT_TRUE(mkdata::ReadTwoLetterWords(path, &words, &error));
  EXPECT_EQ(words, (std::set<std::string, std::less<>>{"ox", "we"}));
  for (const char* line : {"abc", "Ox", " o"}) {
    wordnet_test::WriteText(path, std::string("ox\n") + line + "\n");
    EXPECT_FALSE(mkdata::ReadTwoLetterWords(path, &words, &error));
    EXPECT_EQ(error, path + ":2: \"" + line + "\" is not a word of two letters a to z");
  }
}

}  // namespace
