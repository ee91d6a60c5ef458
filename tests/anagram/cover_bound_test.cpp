#include "anagram/cover_bound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using Letters = std::array<int8_t, 26>;

// A group of words as the cover bound reads them.
struct Group {
  explicit Group(std::vector<std::string> group) : words(std::move(group)) {
    for (const std::string& word : words) {
      cover_words.Add(word.c_str(), static_cast<int>(word.size()));
      fitting.push_back(static_cast<int>(fitting.size()));
    }
  }
  bool Refutes(const std::string& text, int most_words, int steps,
               jumble::CoverBound::Weights weights) {
    Letters letters{};
    for (char c : text)
      ++letters[c - 'a'];
    return bound.Refutes(letters, fitting, cover_words, most_words, steps, &weights, &word_weights);
  }

  std::vector<std::string> words;
  jumble::CoverWords cover_words;
  std::vector<int> fitting;
  jumble::CoverBound bound;
  std::vector<double> word_weights;  // under the last weights Refutes tried
};

// Calls `check` with random groups of words over four letters, start weights (all 1, or
// random), and every set of the group's words: the indices of its words and their letters.
template <typename Check>
void ForEverySetOfRandomGroups(Check check) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> weight(-2.0, 3.0);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> words(1 + random() % 9);
    for (std::string& word : words) {
      word.assign(1 + random() % 5, 'a');
      for (char& c : word)
        c = static_cast<char>('a' + random() % 4);
    }
    Group group(words);
    jumble::CoverBound::Weights start;
    start.fill(1.0);
    if (round % 2 == 1) {
      for (double& w : start)
        w = weight(random);
    }
    for (uint32_t subset = 1; subset < (1u << words.size()); ++subset) {
      std::string letters;
      std::vector<int> set;
      for (size_t n = 0; n < words.size(); ++n) {
        if (subset & (1u << n)) {
          letters += words[n];
          set.push_back(static_cast<int>(n));
        }
      }
      SCOPED_TRACE("round " + std::to_string(round) + " letters " + letters);
      check(group, start, letters, set);
    }
  }
}

// Whatever weights it starts from, the bound never refutes letters that some set of at most k
// distinct words of the group spells.
TEST(CoverBoundTest, NeverRefutesWhatDistinctWordsSpell) {
  ForEverySetOfRandomGroups([](Group& group, const jumble::CoverBound::Weights& start,
                               const std::string& letters, const std::vector<int>& set) {
    const int count = static_cast<int>(set.size());
    EXPECT_FALSE(group.Refutes(letters, count, 40, start));
    EXPECT_FALSE(group.Refutes(letters, count + 2, 40, start));
  });
}

// Every word of a set of k words weighs at least Floor(k - 1), and with word w taken, every
// other word at least Floor(k - 2) less w's weight, after few steps or many.
TEST(CoverBoundTest, FloorHoldsEveryWordOfASet) {
  ForEverySetOfRandomGroups([](Group& group, const jumble::CoverBound::Weights& start,
                               const std::string& letters, const std::vector<int>& set) {
    const int count = static_cast<int>(set.size());
    for (int steps : {1, 40}) {
      for (int most_words : {count, count + 2}) {
        ASSERT_FALSE(group.Refutes(letters, most_words, steps, start));
        for (int w : set) {
          EXPECT_GE(group.word_weights[w], group.bound.Floor(most_words - 1));
          for (int other : set) {
            if (other == w) continue;
            EXPECT_GE(group.word_weights[other],
                      group.bound.Floor(most_words - 2) - group.word_weights[w]);
          }
        }
      }
    }
  });
}

// Long runs over many words weigh most steps only the words that may be among the heaviest:
// the answer, the weights left, each word's weight and the floors are exactly those of weighing
// every word at every step, for letters refuted after many steps and letters never refuted.
TEST(CoverBoundTest, LongRunsEqualWeighingEveryWord) {
  std::mt19937 random(17);
  std::vector<std::string> words(6000);
  for (std::string& word : words) {
    word.assign(2 + random() % 11, 'a');
    for (char& c : word)
      c = static_cast<char>('a' + random() % 26);
  }
  Group every(words);
  every.bound.SetContendersForTesting(false);
  Group contenders(words);
  int refuted = 0;
  for (int ask = 0; ask < 12; ++ask) {
    std::string letters;
    for (int n = 0; n < 4 + ask % 5; ++n)
      letters += words[random() % words.size()];
    const int most_words = 3 + ask % 4;
    SCOPED_TRACE("letters " + letters + " words " + std::to_string(most_words));
    jumble::CoverBound::Weights start;
    start.fill(1.0);
    jumble::CoverBound::Weights left_every = start;
    jumble::CoverBound::Weights left_contenders = start;
    Letters counts{};
    for (char c : letters)
      ++counts[c - 'a'];
    const bool answer = every.bound.Refutes(counts, every.fitting, every.cover_words, most_words,
                                            300, &left_every, &every.word_weights);
    ASSERT_EQ(contenders.bound.Refutes(counts, contenders.fitting, contenders.cover_words,
                                       most_words, 300, &left_contenders, &contenders.word_weights),
              answer);
    refuted += answer;
    EXPECT_EQ(left_contenders, left_every);
    if (answer) continue;
    EXPECT_EQ(contenders.word_weights, every.word_weights);
    for (int others = 0; others < most_words; ++others)
      EXPECT_EQ(contenders.bound.Floor(others), every.bound.Floor(others));
  }
  EXPECT_GT(refuted, 0);
  EXPECT_LT(refuted, 12);
}

// A word's weight is that of all its letters, also of words that fill several groups of the
// layout or end inside one.
TEST(CoverBoundTest, WeighsEveryLetterOfLongWords) {
  std::mt19937 random(3);
  std::uniform_real_distribution<double> weight(-1.0, 2.0);
  std::vector<std::string> words;
  for (int length : {1, 7, 8, 9, 15, 16, 17, 40}) {
    std::string word(length, 'a');
    for (char& c : word)
      c = static_cast<char>('a' + random() % 26);
    words.push_back(word);
  }
  Group group(words);
  jumble::CoverBound::Weights start;
  for (double& w : start)
    w = weight(random);
  std::string all;
  for (const std::string& word : words)
    all += word;
  ASSERT_FALSE(group.Refutes(all, static_cast<int>(words.size()), 1, start));
  for (size_t n = 0; n < words.size(); ++n) {
    SCOPED_TRACE(words[n]);
    double sum = 0;
    for (char c : words[n])
      sum += start[c - 'a'];
    EXPECT_DOUBLE_EQ(group.word_weights[n], sum);
  }
}

TEST(CoverBoundTest, RefutesLettersNoFractionalCoverHolds) {
  jumble::CoverBound::Weights ones;
  ones.fill(1.0);
  const struct {
    const char* name;
    std::vector<std::string> words;
    const char* letters;
    int most_words;
  } cases[] = {
      {"longer than the longest words", {"abc", "ab", "a"}, "aabbcc", 2},
      {"a word twice", {"ab", "c"}, "aabb", 3},
      {"more of a letter than the words hold", {"ex", "ee", "e"}, "eexx", 2},
      {"the long words lack a letter", {"tttte", "ttttt", "ee", "ea"}, "tttteeee", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Group group(c.words);
    EXPECT_TRUE(group.Refutes(c.letters, c.most_words, 40, ones));
  }
}

}  // namespace
