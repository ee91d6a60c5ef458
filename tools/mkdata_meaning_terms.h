// The terms of the index of the search by meaning: every word of the lexicon's glosses and
// synsets made a term as a description's words are (app/meaning/meaning_text.h), with the
// lexicon's words as the known words, numbered in the order they are first met, so that the
// same lexicon gives the same numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/meaning/meaning_text.h"
#include "tools/datafile_writer.h"

namespace mkdata {

// Terms of the whole lexicon: each distinct word made a term once.
class Vocabulary {
 public:
  explicit Vocabulary(const datafiles::Lexicon& lexicon);
  Vocabulary(const Vocabulary&) = delete;
  Vocabulary& operator=(const Vocabulary&) = delete;

  // Appends the term numbers of a text's words (function words left out).
  void Terms(std::string_view text, std::vector<uint32_t>* out);

  // The terms' texts, by term number.
  const std::vector<std::string>& texts() const { return texts_; }

 private:
  static constexpr uint32_t kNoTerm = UINT32_MAX;  // a function word

  // The glosses give some two million words: each is found in an open-addressed table of
  // (hash tag, word) slots, mostly at the first probe.
  struct Slot {
    uint32_t tag = 0;    // the hash's high bits
    uint32_t entry = 0;  // 1 + the word's index in words_; 0 for an empty slot
  };

  uint32_t TermOf(std::string_view word);
  uint32_t NewWordTerm(std::string_view word);
  uint32_t Intern(const std::string& term);
  bool Known(const std::string& index_form) const { return known_.count(index_form) != 0; }
  void Place(uint64_t hash, uint32_t entry);

  std::unordered_set<std::string> known_;
  meaning::TermNormaliser normaliser_;
  std::vector<Slot> slots_;  // a power of two of them, at most half in use
  std::vector<std::string> words_;
  std::vector<uint32_t> word_term_;  // by word index
  std::unordered_map<std::string, uint32_t> of_term_;
  std::vector<std::string> texts_;
};

// Every synset's own terms (its words; a phrase gives each of its words), definition terms (the
// gloss before its first ";" outside quotes, as the senses list shows it) and example terms
// (the rest), by synset.
struct SynsetTerms {
  std::vector<std::vector<uint32_t>> own;
  std::vector<std::vector<uint32_t>> definition;
  std::vector<std::vector<uint32_t>> examples;
};

SynsetTerms CollectSynsetTerms(const datafiles::Lexicon& lexicon, Vocabulary* vocabulary);

}  // namespace mkdata
