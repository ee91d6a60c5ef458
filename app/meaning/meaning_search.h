// Find words by meaning: the user describes a word in their own words and the search names
// candidates, best first. The built-in dictionary is searched through its compiled index
// ("1001S.dat", read on the first search only); the user's custom entries are searched beside
// it with the same ranking (BM25F, app/meaning/meaning_rank.h).
//
// A description's words that are not function words are reduced to base forms as the lookup
// box reduces them, and each becomes a query term, which brings its relatives (synonyms, derived
// forms) at a lower weight.
// Senses and words score as app/meaning/meaning_rank.h says; a word is offered once, with its
// best sense. The query's own words are never offered. Equal scores are ordered by word.
//
// Threads: Search may run on any thread, also several at once, provided the engine stays up
// and the CustomEntries it is given are not changed meanwhile (meaning_custom.h: they are read
// on the thread that owns the custom database). Nothing here throws or prints.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "app/meaning/meaning_custom.h"
#include "app/meaning/meaning_index.h"
#include "app/meaning/meaning_rank.h"
#include "app/meaning/meaning_text.h"

struct NymdexEngine;

namespace meaning {

inline constexpr size_t kDefaultResultCount = 20;
inline constexpr size_t kMaxResultCount = 1000;

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
  // Looks the description's terms up, and adds their relatives.
  void AddRelatives(Query* query) const;
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
