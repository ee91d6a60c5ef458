// Turns a parsed WordNet database into the lexicon the data-file writer takes, and builds the
// anagram word list. The mapping:
//
// - One word per lemma; lemmas that differ only in case are one word. Index files hold lemmas
//   in lower case while synsets keep the case of each form, so the stored form is chosen from
//   the synsets: the all-lower-case form when any synset writes it so (a common word that also
//   names something keeps its common spelling), otherwise the form most synsets use, ties to
//   the byte-smallest. A lemma written by no synset keeps its index spelling.
// - Words are sorted by their case-folded bytes (A-Z mapped onto a-z, a prefix first) and
//   numbered from 1; identifier 0 is a sentinel, a single space, which sorts before every word
//   and which no lookup and no pattern ever reaches.
// - Synsets in the order noun, verb, adjective, adverb, each in file order; satellites are
//   adjectives. A synset's words are its forms in order, a form repeated in another case kept
//   once.
// - A word's senses per part of speech are the synsets of its index line, in order. A sense's
//   frequency is cntlist.rev's tag count for the sense key of that lemma in that synset, capped
//   at 255, else 0. The key, not the sense number beside it, decides: in WordNet 3.0 several
//   hundred of those numbers date from an older sense order and would credit the wrong synset.
// - Pointers map to pointer-type codes by the source synset's part of speech; "@i" and "~i"
//   count as "@" and "~"; a symbol without a code there is dropped and counted. Lexical pointers
//   join the two whole synsets; a (type, target) pair already present is not repeated.
// - The gloss is the text after "| " as the data file has it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tools/datafile_writer.h"
#include "tools/wordnet_reader.h"

namespace mkdata {

inline constexpr const char* kSentinelWord = " ";

// The pointer-type code of `symbol` in a synset of part of speech `pos` (1 to 4), or 0.
uint8_t PointerTypeCode(uint8_t pos, std::string_view symbol);

struct LexiconReport {
  size_t words = 0;  // the sentinel not counted
  size_t synsets = 0;
  size_t senses = 0;
  size_t pointers_kept = 0;
  size_t pointers_dropped = 0;
  size_t pointers_repeated = 0;  // lexical pointers that repeated a kept (type, target)
  std::map<std::string, size_t> kept_by_symbol;     // "noun @", "verb $", ...
  std::map<std::string, size_t> dropped_by_symbol;  // "adj +", ...
  size_t case_variant_lemmas = 0;  // lemmas written in more than one case by the synsets
  size_t repeated_forms = 0;       // a form repeated within one synset in another case
  size_t forms_without_index = 0;  // synset forms whose lemma is in no index file
  size_t senses_without_form = 0;  // index senses whose synset does not hold the lemma
  size_t frequencies_capped = 0;
  size_t counts_without_sense = 0;  // cntlist.rev sense keys that name no sense
};

// Builds the lexicon. False, with a message naming the file, line and the limit, when a word,
// a gloss or the number of words exceeds what the data files can hold, or when an index file
// lists one lemma twice.
bool BuildLexicon(const wordnet::Database& db, datafiles::Lexicon* lexicon, LexiconReport* report,
                  std::string* error);

struct AnagramReport {
  size_t list_words = 0;   // lines of the word list
  size_t lemma_words = 0;  // one-word lemmas offered by the lexicon
  size_t kept = 0;         // distinct words written
  size_t rejected = 0;     // not only letters a to z, or 128 letters or more
};

// The word list's lines (end-of-line "\n" or "\r\n"). False with a message when the file
// cannot be read or holds a NUL byte (line named).
bool ReadWordList(const std::string& path, std::vector<std::string>* words, std::string* error);

// The anagram words: the list's words and the lexicon's stored words that consist only of the
// letters a to z (fewer than 128), without repeats, in byte order.
std::vector<std::string> AnagramWords(const std::vector<std::string>& list_words,
                                      const datafiles::Lexicon& lexicon, AnagramReport* report);

}  // namespace mkdata
