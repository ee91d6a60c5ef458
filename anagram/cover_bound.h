// A bound of the anagram search's look-ahead: a fractional cover of the letters by at most k
// words, each taken at most once. Not part of the engine's interface.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace jumble {

// The words the cover bound weighs, laid out for weighing many words fast: each word's letters
// as numbers 0 to 25, padded to a multiple of kGroup with kNone, which weighs nothing, so that a
// word's weight is a sum over whole groups (no loop that ends at a different length per word).
class CoverWords {
 public:
  static constexpr int kGroup = 8;
  static constexpr uint8_t kNone = 26;

  // Word n is the n-th added: its letters (any order, 'a' to 'z') and their number.
  void Add(const char* key, int length);
  size_t size() const { return lengths_.size(); }
  int length(int word) const { return lengths_[word]; }
  // The word's letters (0 to 25), then kNone up to the end of its last group.
  const uint8_t* letters(int word) const { return letters_.data() + starts_[word]; }
  int groups(int word) const { return (lengths_[word] + kGroup - 1) / kGroup; }

 private:
  std::vector<uint8_t> letters_;
  std::vector<uint32_t> starts_;
  std::vector<uint8_t> lengths_;
};

// Weighs each letter; a word's weight is the sum of its letters' weights. Any set of at most
// k distinct words that spells the letters exactly has, between its words, the letters'
// weight, and no set of k words can weigh more than the k heaviest words of positive weight.
// So weights under which the letters outweigh the k heaviest words prove that no set spells
// them. Weights 1 for every letter is the test of the longest words; `Refutes` moves the
// weights towards the letters that the heaviest words fall short of (a subgradient step on
// the dual of the fractional cover), a few times at most.
class CoverBound {
 public:
  using Weights = std::array<double, 26>;  // of 'a' to 'z'

  // True only with proof that no set of at most `most_words` distinct words of `fitting`
  // spells `letters` (counts of 'a' to 'z') exactly. Starts from `*weights` and leaves there
  // the last weights tried, after at most `steps` adjustments.
  // When it answers false, `word_weights` (when not null) receives, in the order of
  // `fitting`, each word's weight under the last weights tried, the weights `Floor` speaks of.
  bool Refutes(const std::array<int8_t, 26>& letters, const std::vector<int>& fitting,
               const CoverWords& words, int most_words, int steps, Weights* weights,
               std::vector<double>* word_weights = nullptr);

  // After Refutes answered false: the least weight, under the last weights tried, of a word
  // that spells the letters together with at most `others` (below `most_words`) further
  // distinct words of `fitting`. The letters weigh as much as the words of a set between
  // them, and the others weigh at most as much as the `others` heaviest words, so a lighter
  // word takes part in no such set and the search need not try it.
  double Floor(int others) const;

  // Whether long runs weigh most steps only the contenders for the heaviest words (on by
  // default); the answers, weights and floors are the same either way.
  void SetContendersForTesting(bool on) { contenders_on_ = on; }

 private:
  using Padded = std::array<double, CoverWords::kNone + 1>;  // weights, and 0 for kNone

  void Weigh(const std::vector<int>& fitting, const int* at, size_t count, const CoverWords& words,
             const Padded& padded, size_t taken, bool few, double* sums);
  double ChooseContenders(const std::vector<int>& fitting, const CoverWords& words,
                          const double* sums, double* cutoff);

  std::vector<std::pair<double, int>> heaviest_;  // (weight, word) of the fitting words
  std::vector<double> sums_;  // each word's weight, when the caller does not ask for them
  bool contenders_on_ = true;
  std::vector<int> contenders_;  // positions in the fitting words
  std::vector<double> reaches_;
  std::vector<double> order_;
  // Of the last weights tried: what the letters weigh, the sums of the heaviest words (the
  // n heaviest at n), and the rounding allowed.
  double need_ = 0;
  std::vector<double> heaviest_sums_;
  double tolerance_ = 0;
};

}  // namespace jumble
