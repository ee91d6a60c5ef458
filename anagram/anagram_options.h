// The user's anagram options and length filter: the checks behind the "Anagrams" options page
// and the anagrams view's filter box, and how they become the arguments of one
// GenerateAnagrams request. Plain functions: they return the message to show (empty when all
// is well) and leave the showing to the dialogs.
#pragma once

#include <cstdint>
#include <string>

namespace anagram {

// Messages (shown with the caption "Error").
inline constexpr char kInvalidFilterMessage[] =
    "Invalid filter - see the help\n for a list of valid filters";
inline constexpr char kFilterBelowMinimumMessage[] =
    "The filter includes a length which is less than the set minimum";
inline constexpr char kFilterAboveMaximumMessage[] =
    "The filter includes a length which is greater than the set maximum";
inline constexpr char kFilterLengthMismatchMessage[] =
    "The length of the items in the filter do not match the word lengths";
inline constexpr char kNumbersOnlyMessage[] = "Please enter numbers only";
inline constexpr char kMaximumAnagramsMessage[] = "The maximum number of anagrams is 10,000";

inline constexpr int32_t kMaximumAnagramsLimit = 10000;
inline constexpr size_t kFilterTextLimit = 30;  // characters of the filter box

// The number of letters 'A' to 'Z' and 'a' to 'z' in `word`.
int CountLetters(const std::string& word);

// Checks a length filter such as "4-3" against the word being anagrammed and the minimum and
// maximum word lengths. Returns the first failing check's message, or an empty text when the
// filter may be used.
std::string ValidateFilter(const std::string& filter, const std::string& word, int32_t minimum,
                           int32_t maximum);

// The outcome of the Maximum Number box's check, run on every change of its text.
struct MaximumNumberCheck {
  std::string message;        // to show; empty for none
  bool replace_text = false;  // the box's text must become `text`
  std::string text;
  bool modified = false;  // the page becomes modified
};
MaximumNumberCheck CheckMaximumNumber(const std::string& text);

// The options that shape a request, as the settings hold them (program::kAnagramMinValue,
// kAnagramMaxValue, kAnagramNumberValue, kPermutationsValue and kFilterValue of
// platform/program_names.h).
struct AnagramSettings {
  int32_t min_length = 1;
  int32_t max_length = 50;
  int32_t max_anagrams = 1000;
  bool permutations = true;
  bool use_filter = false;
};

// The arguments of one GenerateAnagrams call.
struct AnagramRequestArgs {
  std::string word;    // trimmed, lower-cased lookup text
  std::string filter;  // empty for none
  bool has_filter = false;
  int32_t min_length = 0;
  int32_t max_length = 0;
  int32_t permutations = 0;
  int32_t max_anagrams = 0;
  const char* FilterArgument() const { return has_filter ? filter.c_str() : nullptr; }
};

// Builds a request from the lookup text, the filter box's text and the settings. When the
// filter is in use and fails ValidateFilter, returns its message and `args` must not be used;
// otherwise returns an empty text. An empty `args->word` means no request is to start.
std::string BuildAnagramRequest(const std::string& lookup_text, const std::string& filter_text,
                                const AnagramSettings& settings, AnagramRequestArgs* args);

}  // namespace anagram
