#include "anagram/anagram_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace anagram {
namespace {

TEST(AnagramOptionsTest, ValidateFilterChecksInOrder) {
  struct Case {
    const char* filter;
    const char* word;
    int32_t min, max;
    const char* message;
  } cases[] = {
      {"4-3", "Trouble", 1, 50, ""},
      {"", "cat", 1, 50, kInvalidFilterMessage},
      {"3 ", "cat", 1, 50, kInvalidFilterMessage},
      {"-3", "cat", 1, 50, kInvalidFilterMessage},
      {"3-", "cat", 1, 50, kInvalidFilterMessage},
      {"4--3", "trouble", 1, 50, kFilterBelowMinimumMessage},  // the empty part is 0
      {"5-2", "trouble", 3, 50, kFilterBelowMinimumMessage},
      {"5-2", "trouble", 3, 4, kFilterAboveMaximumMessage},  // the first part fails first
      {"2-5", "trouble", 3, 4, kFilterBelowMinimumMessage},
      {"3-4", "trouble", 5, 2, kFilterBelowMinimumMessage},  // the minimum is checked first
      {"4-4", "ice cream", 1, 50, ""},                       // only letters count: 8
      {"5-4", "ice cream", 1, 50, kFilterLengthMismatchMessage},
      {"99999999999999999999", "cat", 1, 50, kFilterAboveMaximumMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.filter) + " for " + c.word);
    EXPECT_EQ(ValidateFilter(c.filter, c.word, c.min, c.max), c.message);
  }
}

TEST(AnagramOptionsTest, MaximumNumberCheck) {
  struct Case {
    const char* typed;
    const char* message;
    bool replace;
    const char* text;
    bool modified;
  } cases[] = {
      {" 1,000 ", "", false, "", true},
      {" , ", "", false, "", true},
      {"10,001", kMaximumAnagramsMessage, true, "10,000", false},
      {"99999999999999999999", kMaximumAnagramsMessage, true, "10,000", false},
      {"1,2x3", kNumbersOnlyMessage, true, "12", false},
      {"-5", kNumbersOnlyMessage, true, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    MaximumNumberCheck check = CheckMaximumNumber(c.typed);
    EXPECT_EQ(check.message, c.message);
    EXPECT_EQ(check.replace_text, c.replace);
    EXPECT_EQ(check.text, c.text);
    EXPECT_EQ(check.modified, c.modified);
  }
}

TEST(AnagramOptionsTest, RequestArguments) {
  AnagramSettings settings{2, 9, 300, true, false};
  AnagramRequestArgs args;
  EXPECT_EQ(BuildAnagramRequest("  Ice Cream\t", "4-4", settings, &args), "");
  EXPECT_EQ(args.word, "ice cream");
  EXPECT_EQ(args.FilterArgument(), nullptr);  // "Use Filter" is off
  EXPECT_EQ(args.permutations, 1);
  settings.use_filter = true;
  EXPECT_EQ(BuildAnagramRequest("Ice Cream", "4-4", settings, &args), "");
  EXPECT_STREQ(args.FilterArgument(), "4-4");
  EXPECT_EQ(BuildAnagramRequest("Ice Cream", "", settings, &args), "");
  EXPECT_EQ(args.FilterArgument(), nullptr);
  // The filter is checked against the settings' lengths; an empty word starts nothing.
  EXPECT_EQ(BuildAnagramRequest("Ice Cream", "1-7", settings, &args), kFilterBelowMinimumMessage);
  EXPECT_EQ(BuildAnagramRequest(" \t ", "1-7", settings, &args), "");
  EXPECT_TRUE(args.word.empty());
}

}  // namespace
}  // namespace anagram
