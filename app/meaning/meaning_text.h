// How a description is read for the search by meaning, and how the data compiler reads the
// glosses it indexes: the same words, the same function words left out, the same base forms,
// so that a query term and an index term meet exactly.
//
// A description holds letters, digits, spaces and common punctuation; words are runs of letters
// and digits, lower-cased. Every other character of a gloss separates words too; in a
// description it is refused (CheckDescription). Plain functions over UTF-8 byte strings.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/lookup/text_rules.h"

namespace meaning {

// The most characters of a description that are searched; a longer one is refused.
inline constexpr size_t kMaxDescriptionCharacters = 200;

inline constexpr char kDescriptionTooLongMessage[] =
    "The description is too long: at most 200 characters are used.";
inline constexpr char kDescriptionInvalidMessage[] =
    "The description contains invalid characters. It may hold letters, digits, spaces and\n"
    "common punctuation (commas, semicolons, apostrophes, hyphens, slashes, full stops).";
inline constexpr char kNoSearchableWordMessage[] =
    "The description has no word to search for: it holds only common words such as \"the\" "
    "and \"of\".";

enum class DescriptionCheck { kOk, kTooLong, kInvalidCharacters };

// The first problem of a typed description: more than kMaxDescriptionCharacters characters,
// or a character that is not a letter, a digit, white space or one of , ; ' - / . : ! ? " ( )
// (bytes that are not UTF-8 are invalid).
DescriptionCheck CheckDescription(std::string_view text);

// The message for a check's result; empty for kOk.
const char* DescriptionMessage(DescriptionCheck check);

// The words of a text in order: runs of letters and digits, lower-cased; anything else
// separates them.
std::vector<std::string> SplitWords(std::string_view text);

namespace detail {

constexpr bool IsAsciiWordByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// An ASCII word as it is searched: lower-cased in place; the "t" of "can't" and "doesn't"
// (after "n'") and "cannot" say "not", which is searched.
std::string_view AsciiWord(std::string* word, char before, bool after_n);

// ForEachWord for a text with bytes beyond ASCII.
void ForEachWordOfUtf8(std::string_view text, const std::function<void(std::string_view)>& visit);

}  // namespace detail

// SplitWords without the list: visit(word) for each word in order; the view lasts for the call.
// Inline for ASCII text (every gloss): the compiler calls it for each of millions of words.
template <typename Visit>
void ForEachWord(std::string_view text, Visit&& visit) {
  for (char c : text) {
    if ((c & 0x80) != 0) {
      detail::ForEachWordOfUtf8(text, visit);
      return;
    }
  }
  std::string current;
  char before = ' ';     // the character before the word
  bool after_n = false;  // the word before ended in "n"
  auto flush = [&] {
    if (current.empty()) return;
    visit(detail::AsciiWord(&current, before, after_n));
    after_n = current.back() == 'n';
    current.clear();
  };
  for (char c : text) {
    if (detail::IsAsciiWordByte(c)) {
      current.push_back(c);
    } else {
      flush();
      before = c;
    }
  }
  flush();
}

// True for the common function words ("the", "of", "which", "is", ...) and for words of one
// character: they carry no meaning of their own and are never searched.
bool IsFunctionWord(std::string_view word);

// Turns words into the terms the index keys: the base form the lookup box would settle on
// (cats to cat, baked to bake) when one is known, else the word itself.
class TermNormaliser {
 public:
  explicit TermNormaliser(lookup::IsKnownFunction is_known) : is_known_(std::move(is_known)) {}

  // The term of one word from SplitWords; words with a digit stay as they are.
  std::string Term(const std::string& word) const;

  // The terms of a text: its words that are not function words, each made a term, in order
  // (repeats kept: they count as often as they occur).
  std::vector<std::string> Terms(std::string_view text) const;

 private:
  // Irregular forms (went to go, mice to mouse) will be looked up here, before the rules.
  lookup::IsKnownFunction is_known_;
};

}  // namespace meaning
