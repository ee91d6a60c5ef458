// The user's custom entries as the search by meaning reads them: each entry's terms by field,
// ranked with the built-in senses (app/meaning/meaning_rank.h), and the words the entries are
// stored under, which count as known words when a description's words are reduced to base
// forms.
//
// The entries are read at one moment, on the thread that owns the custom database, and then
// only read: a window reads them on its own thread and hands them to a search on a worker.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/lookup/text_rules.h"
#include "app/meaning/meaning_rank.h"

struct NymdexEngine;
struct CustomDatabase;

namespace meaning {

struct CustomEntry {
  std::string word;  // display form
  uint32_t pos = 0;  // part-of-speech code, 1 to 10
  std::string definition;
  std::vector<std::string> terms[kFieldCount];  // definition, examples, word and synonyms, ...
  size_t definition_terms = 0;                  // distinct terms of the definition
};

class CustomEntries {
 public:
  CustomEntries() = default;  // no entries

  // Reads every entry of the database (null: none): its definition, examples, word and related
  // words. False, with the entries read so far, when the database cannot be read.
  bool Read(const CustomDatabase* db, const NymdexEngine* engine);

  const std::vector<CustomEntry>& entries() const { return entries_; }
  size_t size() const { return entries_.size(); }
  bool IsKnown(const std::string& index_form) const { return words_.count(index_form) != 0; }

 private:
  std::vector<CustomEntry> entries_;
  std::unordered_set<std::string> words_;
};

// The words a description's words may be reduced to: the engine's and the entries' (either may
// be null).
lookup::IsKnownFunction KnownWords(const NymdexEngine* engine, const CustomEntries* custom);

}  // namespace meaning
