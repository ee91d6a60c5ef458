// The index of the search by meaning, "1001S.dat", compiled from the lexicon the engine's
// files are written from (layout in app/meaning/meaning_format.h).
//
// Every synset is one document with the fields of app/meaning/meaning_rank.h: its definition
// and examples (the gloss's quoted pieces), its own words, the words of every more general
// synset above it, the words of the synsets its other pointers lead to, and the definitions of
// its nearest general and related synsets. Words become terms as a description's words do
// (app/meaning/meaning_text.h), with the lexicon's words as the known words. Each (term,
// synset) pair is scored with BM25F ahead of time, so a search only adds up stored impacts.
// The same lexicon gives the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "app/meaning/meaning_rank.h"
#include "tools/datafile_writer.h"

namespace mkdata {

struct MeaningReport {
  size_t terms = 0;
  size_t postings = 0;
  size_t senses = 0;
  size_t word_entries = 0;  // (synset, word) pairs a word can be offered in
  double seconds = 0;       // time the build took
};

// Builds the image of "1001S.dat". False with a message when the lexicon exceeds a limit of
// the format (word identifiers of 20 bits, sense numbers of 12).
bool BuildMeaningIndex(const datafiles::Lexicon& lexicon, const meaning::RankingParameters& ranking,
                       std::vector<uint8_t>* image, MeaningReport* report, std::string* error);

// BuildMeaningIndex with the default ranking on a thread of its own, so that the index is built
// while the engine's files are encoded. The lexicon must stay unchanged until Finish returns.
class MeaningIndexBuild {
 public:
  explicit MeaningIndexBuild(const datafiles::Lexicon& lexicon);
  ~MeaningIndexBuild();
  MeaningIndexBuild(const MeaningIndexBuild&) = delete;
  MeaningIndexBuild& operator=(const MeaningIndexBuild&) = delete;

  // Waits for the build: its result, image, report and message.
  bool Finish(std::vector<uint8_t>* image, MeaningReport* report, std::string* error);

 private:
  struct Outcome;
  std::future<void> done_;
  std::unique_ptr<Outcome> outcome_;
};

}  // namespace mkdata
