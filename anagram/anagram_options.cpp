#include "anagram/anagram_options.h"

#include <algorithm>

namespace anagram {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string Trim(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsWhiteSpace(text[begin]))
    ++begin;
  while (end > begin && IsWhiteSpace(text[end - 1]))
    --end;
  return text.substr(begin, end - begin);
}

// The value of a run of digits, held at INT32_MAX so that long texts cannot wrap around.
int64_t DigitsValue(const std::string& digits) {
  int64_t value = 0;
  for (char c : digits)
    value = std::min<int64_t>(value * 10 + (c - '0'), INT32_MAX);
  return value;
}

}  // namespace

int CountLetters(const std::string& word) {
  return static_cast<int>(std::count_if(word.begin(), word.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  }));
}

std::string ValidateFilter(const std::string& filter, const std::string& word, int32_t minimum,
                           int32_t maximum) {
  if (filter.empty()) return kInvalidFilterMessage;
  for (char c : filter) {
    if (!IsDigit(c) && c != '-') return kInvalidFilterMessage;
  }
  if (filter.front() == '-' || filter.back() == '-') return kInvalidFilterMessage;

  int64_t sum = 0;
  size_t start = 0;
  while (start <= filter.size()) {
    size_t end = filter.find('-', start);
    if (end == std::string::npos) end = filter.size();
    int64_t value = DigitsValue(filter.substr(start, end - start));  // "" (as in 4--3) is 0
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
  std::string number = Trim(text);
  number.erase(std::remove(number.begin(), number.end(), ','), number.end());
  if (number.empty()) {
    check.modified = true;
    return check;
  }
  auto non_digit = std::find_if(number.begin(), number.end(), [](char c) { return !IsDigit(c); });
  if (non_digit != number.end()) {
    check.message = kNumbersOnlyMessage;
    check.replace_text = true;
    check.text.assign(number.begin(), non_digit);
    return check;
  }
  if (DigitsValue(number) > kMaximumAnagramsLimit) {
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
  args->word = Trim(lookup_text);
  std::transform(args->word.begin(), args->word.end(), args->word.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
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
