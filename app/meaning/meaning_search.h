// Find words by meaning: the user describes a word in their own words and the search names
// candidates, best first. The built-in dictionary is searched through its compiled index
// ("1001S.dat", read on the first search only); the user's custom entries are searched beside
// it with the same ranking (BM25F, app/meaning/meaning_rank.h).
//
// A description's words that are not function words are reduced to base forms as the lookup
// box reduces them, and each becomes a query term. Every sense scores the sum of its terms'
// impacts; a word scores its best sense's score plus a prior for that sense's frequency, and is
// offered once, with that sense. The query's own words are never offered. Equal scores are
// ordered by word.
//
// Threads: Search may run on any thread, also several at once, provided the engine stays up
// and the CustomEntries it is given are not changed meanwhile. Reading the custom database
// (CustomEntries::Read) belongs to the thread that owns the database; a window reads it on its
// own thread and hands the snapshot to a worker. Nothing here throws or prints.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "app/meaning/meaning_index.h"
#include "app/meaning/meaning_rank.h"
#include "app/meaning/meaning_text.h"

struct NymdexEngine;
struct CustomDatabase;

namespace meaning {

inline constexpr size_t kDefaultResultCount = 20;
inline constexpr size_t kMaxResultCount = 1000;

// The user's custom entries as the search needs them, read at one moment: each entry's terms
// by field, and the words the entries are stored under (which count as known words when a
// description's words are reduced to base forms).
class CustomEntries {
 public:
  CustomEntries() = default;  // no entries

  // Reads every entry of the database (null: none). False, with the entries read so far, when
  // the database cannot be read.
  bool Read(const CustomDatabase* db, const NymdexEngine* engine);

  size_t size() const { return entries_.size(); }
  bool IsKnown(const std::string& index_form) const { return words_.count(index_form) != 0; }

 private:
  friend class MeaningSearch;
  struct Entry {
    std::string word;  // display form
    uint32_t pos = 0;
    std::string definition;
    std::vector<std::string> terms[kFieldCount];
    size_t definition_terms = 0;  // distinct terms of the definition
  };
  std::vector<Entry> entries_;
  std::unordered_set<std::string> words_;
};

// One offered word.
struct MeaningRow {
  std::string word;        // display form
  uint32_t pos = 0;        // part-of-speech code of the sense (custom entries: 1 to 10)
  std::string definition;  // that sense's definition, as the senses list shows it
  double score = 0;
  bool custom = false;  // the sense is a custom entry
};

enum class MeaningStatus {
  kFound,
  kNothingFound,       // no sense holds any of the terms
  kTooLong,            // kDescriptionTooLongMessage
  kInvalidCharacters,  // kDescriptionInvalidMessage
  kNoSearchableWord,   // kNoSearchableWordMessage
  kIndexMissing,       // IndexMessage(kMissing)
  kIndexDamaged,       // IndexMessage(kDamaged)
};

struct MeaningResult {
  MeaningStatus status = MeaningStatus::kNothingFound;
  std::string message;             // for every status but kFound and kNothingFound
  std::vector<std::string> terms;  // the query terms, in the description's order
  std::vector<MeaningRow> rows;
};

class MeaningSearch {
 public:
  // `engine` gives words and definitions; `index_path` is the compiled index, opened on the
  // first search.
  MeaningSearch(const NymdexEngine* engine, std::string index_path);
  ~MeaningSearch();
  MeaningSearch(const MeaningSearch&) = delete;
  MeaningSearch& operator=(const MeaningSearch&) = delete;

  // Opens the index unless it is open; a failure is remembered and returned again.
  IndexStatus Load() const;

  // The `count` best words (1 to kMaxResultCount; other counts are brought into that range)
  // for a description.
  MeaningResult Search(std::string_view description, const CustomEntries& custom,
                       size_t count = kDefaultResultCount) const;

 private:
  struct Candidate;
  struct Query;
  // Looks the description's terms up, and adds their synonyms.
  void AddSynonyms(Query* query) const;
  // Built-in words: at least `wanted` of the best, each with its best sense.
  void ScoreBuiltIn(const Query& query, size_t wanted, std::vector<Candidate>* candidates) const;
  void ScoreCustom(const Query& query, const CustomEntries& custom,
                   std::vector<Candidate>* candidates) const;
  // Names the candidates from the best down, leaves out the query's own words and repeats,
  // and keeps the `count` best in order.
  void Rank(const Query& query, const TermNormaliser& normaliser, size_t count,
            std::vector<Candidate>* candidates) const;
  MeaningRow Row(const Candidate& candidate, const CustomEntries& custom) const;

  const NymdexEngine* engine_;
  std::string index_path_;
  mutable std::once_flag load_once_;
  mutable IndexStatus load_status_ = IndexStatus::kMissing;
  mutable std::unique_ptr<MeaningIndex> index_;
};

}  // namespace meaning
