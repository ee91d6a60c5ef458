#include "anagram/make_ups.h"

#include <algorithm>

namespace jumble {

void MakeUps::Clear() {
  for (int cell : used_)
    words_[cell] = 0;
  used_.clear();
  unusual_ = false;
}

void MakeUps::Add(int vowels, int consonants) {
  if (vowels == 0 && consonants == 0) return;  // adds nothing, and has no share
  if (vowels >= kMostVowels || consonants >= kMostConsonants) {
    unusual_ = true;
    return;
  }
  const int cell = vowels * kMostConsonants + consonants;
  if (words_[cell]++ == 0) used_.push_back(cell);
}

bool MakeUps::CanMake(int vowels, int consonants) {
  if (unusual_) return true;
  kinds_.clear();
  for (int cell : used_)
    kinds_.push_back({cell / kMostConsonants, cell % kMostConsonants, words_[cell]});
  if (!Holds(vowels, consonants, &kinds_)) return false;
  for (Kind& kind : kinds_)
    std::swap(kind.per, kind.count);
  return Holds(consonants, vowels, &kinds_);
}

// Takes the shares r = count / per of the kinds from the largest down. At each, the words of
// larger shares are those taken so far; the letters fail the test at r when their count beyond
// r per `per` exceeds what those words add beyond r per `per`.
bool MakeUps::Holds(int64_t per_total, int64_t count_total, std::vector<Kind>* kinds) {
  std::sort(kinds->begin(), kinds->end(),
            [](const Kind& a, const Kind& b) { return a.count * b.per > b.count * a.per; });
  int64_t per_taken = 0;
  int64_t count_taken = 0;
  for (const Kind& kind : *kinds) {
    if (kind.per > 0 &&
        (count_total - count_taken) * kind.per > kind.count * (per_total - per_taken)) {
      return false;
    }
    per_taken += kind.words * kind.per;
    count_taken += kind.words * kind.count;
  }
  return count_total <= count_taken;
}

}  // namespace jumble
