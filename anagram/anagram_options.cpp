#include "anagram/anagram_options.h"

#include <algorithm>

#include "engine/text_helpers.h"

namespace anagram {

using engine::IsAsciiDigit;
using engine::LeadingDigitsValue;

int CountLetters(const std::string& word) {
  return static_cast<int>(std::count_if(word.begin(), word.end(), engine::IsAsciiLetter));
}

std::string ValidateFilter(const std::string& filter, const std::string& word, int32_t minimum,
                           int32_t maximum) {
  if (filter.empty()) return kInvalidFilterMessage;
  for (char c : filter) {
    if (!IsAsciiDigit(c) && c != '-') return kInvalidFilterMessage;
  }
  if (filter.front() == '-' || filter.back() == '-') return kInvalidFilterMessage;

  int64_t sum = 0;
  size_t start = 0;
  while (start <= filter.size()) {
    size_t end = filter.find('-', start);
    if (end == std::string::npos) end = filter.size();
    // "" (as in 4--3) is 0.
    int64_t value = LeadingDigitsValue(std::string_view(filter).substr(start, end - start));
    if (value < minimum) return kFilterBelowMinimumMessage;
    if (value > maximum) return kFilterAboveMaximumMessage;
    sum += value;
    start = end + 1;
  }
  if (sum != CountLetters(word)) return kFilterLengthMismatchMessage;
  return std::string();
}

MaximumNumberCheck CheckMaximumNumber(const std::string& text) {
  MaximumNumberCheck check;
  std::string number(engine::TrimWhiteSpace(text));
  number.erase(std::remove(number.begin(), number.end(), ','), number.end());
  if (number.empty()) {
    check.modified = true;
    return check;
  }
  auto non_digit =
      std::find_if(number.begin(), number.end(), [](char c) { return !IsAsciiDigit(c); });
  if (non_digit != number.end()) {
    check.message = kNumbersOnlyMessage;
    check.replace_text = true;
    check.text.assign(number.begin(), non_digit);
    return check;
  }
  if (LeadingDigitsValue(number) > kMaximumAnagramsLimit) {
    check.message = kMaximumAnagramsMessage;
    check.replace_text = true;
    check.text = "10,000";
    return check;
  }
  check.modified = true;
  return check;
}

std::string BuildAnagramRequest(const std::string& lookup_text, const std::string& filter_text,
                                const AnagramSettings& settings, AnagramRequestArgs* args) {
  *args = AnagramRequestArgs();
  args->word = engine::AsciiLowerCase(engine::TrimWhiteSpace(lookup_text));
  args->min_length = settings.min_length;
  args->max_length = settings.max_length;
  args->permutations = settings.permutations ? 1 : 0;
  args->max_anagrams = settings.max_anagrams;
  if (args->word.empty()) return std::string();  // nothing to anagram: no request, no message
  if (settings.use_filter && !filter_text.empty()) {
    std::string message =
        ValidateFilter(filter_text, args->word, settings.min_length, settings.max_length);
    if (!message.empty()) return message;
    args->filter = filter_text;
    args->has_filter = true;
  }
  return std::string();
}

}  // namespace anagram
