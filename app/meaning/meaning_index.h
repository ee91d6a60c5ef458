// The compiled index of the search by meaning ("1001S.dat") as the search reads it: the file
// is mapped read-only once, its digest and every section checked, and then only read, so one
// index serves any number of threads at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/meaning/meaning_rank.h"

namespace meaning {

enum class IndexStatus {
  kOk,
  kMissing,  // there is no such file
  kDamaged,  // it cannot be read, or fails its digest or a check of its layout
};

// The message for a failed open (empty for kOk).
const char* IndexMessage(IndexStatus status);

class MeaningIndex {
 public:
  // Maps and checks the file. kOk with the index in `index`; otherwise `index` is untouched.
  static IndexStatus Open(const std::string& path, std::unique_ptr<MeaningIndex>* index);

  ~MeaningIndex();
  MeaningIndex(const MeaningIndex&) = delete;
  MeaningIndex& operator=(const MeaningIndex&) = delete;

  uint32_t sense_count() const { return sense_count_; }
  const RankingParameters& ranking() const { return ranking_; }
  const CollectionStats& stats() const { return stats_; }
  // A stored impact times this is the sense's score for the term.
  double impact_step() const { return impact_step_; }

  // A term's postings, as found by FindTerm.
  struct Postings {
    uint32_t term = 0;  // the term's number
    uint32_t document_frequency = 0;
    size_t begin = 0;  // byte range in the postings section
    size_t end = 0;
  };
  // False when the index has no such term.
  bool FindTerm(std::string_view term, Postings* postings) const;
  // The postings of term number `t` (below term_count()).
  Postings TermPostings(uint32_t t) const;
  uint32_t term_count() const { return term_count_; }
  std::string_view TermText(uint32_t t) const;

  // The relatives of term number `t`: [first, last) into Relative, which gives term numbers.
  uint32_t FirstRelative(uint32_t t) const;
  uint32_t EndRelative(uint32_t t) const { return FirstRelative(t + 1); }
  uint32_t Relative(uint32_t entry) const;

  // Calls visit(sense, byte) for each sense of the postings, in ascending order: the byte
  // holds the impact (kImpactMask) and the kInDefinition bit. A posting that would name a sense
  // beyond the index ends the walk.
  template <typename Visit>
  void ForEachPosting(const Postings& postings, Visit visit) const;

  // Part-of-speech code (1 to 4) of sense `s`.
  uint32_t SensePos(uint32_t s) const { return sense_pos_[s]; }
  // The number of distinct terms in the definition of sense `s` (at most 255).
  uint32_t DefinitionTerms(uint32_t s) const { return sense_pos_[sense_count_ + s]; }
  // The word entries of sense `s`: [first, last) into WordId/SenseNumber/SenseFrequency.
  uint32_t FirstWord(uint32_t s) const;
  uint32_t EndWord(uint32_t s) const { return FirstWord(s + 1); }
  uint32_t WordId(uint32_t entry) const;
  uint32_t SenseNumber(uint32_t entry) const;
  uint32_t SenseFrequency(uint32_t entry) const { return word_frequency_[entry]; }

 private:
  MeaningIndex() = default;
  bool Check();
  bool ReadPosting(size_t* at, size_t end, uint32_t* delta, uint8_t* impact) const;

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  uint32_t sense_count_ = 0;
  uint32_t term_count_ = 0;
  uint32_t word_count_ = 0;
  RankingParameters ranking_;
  CollectionStats stats_;
  double impact_step_ = 0;
  const uint8_t* terms_ = nullptr;
  const char* strings_ = nullptr;
  size_t strings_size_ = 0;
  const uint8_t* postings_ = nullptr;
  size_t postings_size_ = 0;
  const uint8_t* sense_first_ = nullptr;
  const uint8_t* sense_pos_ = nullptr;
  const uint8_t* words_ = nullptr;
  const uint8_t* word_frequency_ = nullptr;
  const uint8_t* relative_first_ = nullptr;
  const uint8_t* relatives_ = nullptr;
  uint32_t relative_count_ = 0;
};

template <typename Visit>
void MeaningIndex::ForEachPosting(const Postings& postings, Visit visit) const {
  size_t at = postings.begin;
  uint64_t sense = 0;
  bool first = true;
  while (at < postings.end) {
    uint32_t delta = 0;
    uint8_t impact = 0;
    if (!ReadPosting(&at, postings.end, &delta, &impact)) return;
    sense = first ? delta : sense + delta;
    first = false;
    if (sense >= sense_count_) return;
    visit(static_cast<uint32_t>(sense), impact);
  }
}

}  // namespace meaning
