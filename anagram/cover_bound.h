// A bound of the anagram search's look-ahead: a fractional cover of the letters by at most k
// words, each taken at most once. Not part of the engine's interface.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace jumble {

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

  // `keys[n]` and `lengths[n]` describe word n: its letters (any order) and their number.
  // True only with proof that no set of at most `most_words` distinct words of `fitting`
  // spells `letters` (counts of 'a' to 'z') exactly. Starts from `*weights` and leaves there
  // the last weights tried, after at most `steps` adjustments.
  bool Refutes(const std::array<int8_t, 26>& letters, const std::vector<int>& fitting,
               const std::vector<const char*>& keys, const std::vector<uint8_t>& lengths,
               int most_words, int steps, Weights* weights);

 private:
  std::vector<std::pair<double, int>> heaviest_;  // (weight, word) of the fitting words
};

}  // namespace jumble
