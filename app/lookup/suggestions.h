// Spelling suggestions for a text the dictionary does not know: the dictionary's words (the
// engine's and the custom database's) within two edits of it, where an edit inserts, deletes
// or substitutes one character or swaps two neighbours. They are ranked by edits, then by how
// common the word is (the tag counts of its senses added up), then alphabetically. Only words
// the lookup box accepts (letters and spaces) are suggested, so each one can be looked up.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct NymdexEngine;
struct CustomDatabase;

namespace lookup {

inline constexpr size_t kMaxSuggestions = 10;
inline constexpr int kMaxSuggestionEdits = 2;
inline constexpr size_t kMinSuggestionLetters = 3;  // shorter texts get none
inline constexpr size_t kMaxSuggestionLength = 64;  // characters; longer texts get none

// The edits between `a` and `b` (each character edited at most once, as a typist errs), or
// `limit` + 1 when there are more than `limit`.
int EditDistance(std::u32string_view a, std::u32string_view b, int limit);

struct SuggestionCandidate {
  std::string word;  // display form
  int edits = 0;
  uint32_t frequency = 0;  // the word's senses' tag counts added up
};

// Orders candidates by edits, then frequency (highest first), then word, and keeps the first
// kMaxSuggestions.
void RankSuggestions(std::vector<SuggestionCandidate>* candidates);

// The engine's words in the form the comparison needs (lower case, letters and "_" only),
// grouped by length. Built once from the word index: a few milliseconds and about 2 MB for the
// whole dictionary.
class SpellingIndex {
 public:
  explicit SpellingIndex(const NymdexEngine* engine);

  size_t size() const { return entries_.size(); }
  // The words within kMaxSuggestionEdits of `key` (index form, lower case), frequency 0.
  void Find(std::u32string_view key, std::vector<SuggestionCandidate>* out) const;

 private:
  struct Entry {
    uint32_t offset;  // into chars_
    uint32_t mask;    // LetterMask of the word
  };
  std::string chars_;
  std::vector<Entry> entries_;  // by length, then index order
  // Entries of length n are entries_[starts_[n]] to entries_[starts_[n + 1]].
  std::vector<size_t> starts_;
};

// Up to kMaxSuggestions words for `text` (a normalised text of letters and spaces): the
// index's words and the custom database's (null for none), ranked. None for a text of fewer
// than kMinSuggestionLetters letters or more than kMaxSuggestionLength characters.
std::vector<std::string> SuggestWords(const SpellingIndex& index, const NymdexEngine* engine,
                                      const CustomDatabase* custom, std::string_view text);

}  // namespace lookup
