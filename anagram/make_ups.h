// A bound of the anagram search's look-ahead: how many vowels and consonants a set of distinct
// words can hold between them. Not part of the engine's interface.
#pragma once

#include <cstdint>
#include <vector>

namespace jumble {

// The make-ups (vowels, consonants) of a group of words, counted by kind. Words that hold more
// consonants per vowel than some share r add, between them, at most their own consonants beyond
// r per vowel; every other word adds at most r consonants per vowel. So letters whose
// consonants exceed r per vowel by more than those words can add cannot be spelled by distinct
// words of the group, whatever r; the same holds with vowels and consonants swapped. This is
// the share test of linear programming, taken at each share where it can change.
class MakeUps {
 public:
  void Clear();
  void Add(int vowels, int consonants);
  // False when no set of distinct words of the group can hold exactly these counts.
  bool CanMake(int vowels, int consonants);

 private:
  struct Kind {
    int64_t per;    // vowels (or consonants)
    int64_t count;  // consonants (or vowels)
    int64_t words;
  };
  static bool Holds(int64_t per_total, int64_t count_total, std::vector<Kind>* kinds);

  static constexpr int kMostVowels = 32;
  static constexpr int kMostConsonants = 128;
  std::vector<int32_t> words_ = std::vector<int32_t>(kMostVowels * kMostConsonants);
  std::vector<int> used_;  // cells of words_ that are not zero
  bool unusual_ = false;   // a word of kMostVowels vowels or more: no test
  std::vector<Kind> kinds_;
};

}  // namespace jumble
