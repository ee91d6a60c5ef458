#include "anagram/spelling_bound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using jumble::LetterCounts;

// Whether at most `most_words` distinct words of `keys`, at positions `from` and later, spell
// `letters` exactly.
bool BruteSpells(const std::vector<std::string>& keys, size_t from, LetterCounts letters, int total,
                 int most_words) {
  if (total == 0) return true;
  if (most_words == 0) return false;
  for (size_t n = from; n < keys.size(); ++n) {
    LetterCounts left = letters;
    bool fits = true;
    for (char c : keys[n])
      fits = fits && --left[c - 'a'] >= 0;
    if (fits &&
        BruteSpells(keys, n + 1, left, total - static_cast<int>(keys[n].size()), most_words - 1)) {
      return true;
    }
  }
  return false;
}

// The look's answer is exact: yes exactly when distinct words spell the letters, also when
// only a word taken twice would, and when asked again of one look with what it remembers.
// Lists of few letters make repeated words and shared remembered answers common. A look whose
// rounds are cut short after a few looks answers the same, whichever of its orders of tries
// ends it.
TEST(SpellingBoundTest, AnswersAsDistinctWordsSpell) {
  std::mt19937 random(5);
  for (int round = 0; round < 40; ++round) {
    std::vector<std::string> keys(20 + random() % 20);
    for (std::string& key : keys) {
      key.assign(1 + random() % 4, 'a');
      for (char& c : key)
        c = static_cast<char>('a' + random() % (3 + round % 3));
      std::sort(key.begin(), key.end());
    }
    std::vector<jumble::BoundWord> words;
    for (const std::string& key : keys) {
      uint32_t mask = 0;
      for (char c : key)
        mask |= 1u << (c - 'a');
      words.push_back({key.c_str(), static_cast<uint8_t>(key.size()), mask});
    }
    jumble::SpellingBound bound(words, nullptr);
    std::vector<std::unique_ptr<jumble::SpellingBound>> in_rounds;
    for (uint32_t looks : {1u, 2u, 5u}) {
      in_rounds.push_back(std::make_unique<jumble::SpellingBound>(words, nullptr));
      in_rounds.back()->SetFirstRoundLooksForTesting(looks);
    }
    for (int ask = 0; ask < 30; ++ask) {
      // Two to five words' letters, some with a word twice, some with a letter more: sets of
      // several words that share letters, found under several levels of bars.
      std::string text = keys[random() % keys.size()];
      text += ask % 3 == 0 ? text : keys[random() % keys.size()];
      if (ask % 2 == 0) text += keys[random() % keys.size()];
      if (ask % 4 == 1) text += keys[random() % keys.size()] + keys[random() % keys.size()];
      if (ask % 5 == 0) text += static_cast<char>('a' + random() % 3);
      LetterCounts letters{};
      for (char c : text)
        ++letters[c - 'a'];
      const int total = static_cast<int>(text.size());
      const int from = static_cast<int>(random() % 8);
      for (int most_words : {1, 2, 3, 5, 6}) {
        SCOPED_TRACE("round " + std::to_string(round) + " letters " + text + " from " +
                     std::to_string(from) + " words " + std::to_string(most_words));
        const bool spells = BruteSpells(keys, from, letters, total, most_words);
        EXPECT_EQ(bound.CanSpell(letters, total, from, most_words), spells);
        for (const auto& look : in_rounds)
          EXPECT_EQ(look->CanSpell(letters, total, from, most_words, ask % 2 == 0), spells);
      }
    }
  }
}

}  // namespace
