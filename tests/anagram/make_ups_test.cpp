#include "anagram/make_ups.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using MakeUp = std::pair<int, int>;  // vowels, consonants

// Every make-up that some set of distinct words of the group holds between them passes; the
// test may only refuse what no set can hold.
TEST(MakeUpsTest, NeverRefusesWhatDistinctWordsHold) {
  std::mt19937 random(5);
  for (int round = 0; round < 200; ++round) {
    std::vector<MakeUp> group(1 + random() % 8);
    for (MakeUp& word : group)
      word = {static_cast<int>(random() % 4), static_cast<int>(random() % 7)};
    jumble::MakeUps make_ups;
    make_ups.Clear();
    for (const MakeUp& word : group)
      make_ups.Add(word.first, word.second);
    std::set<MakeUp> held;
    for (uint32_t subset = 1; subset < (1u << group.size()); ++subset) {
      MakeUp sum{0, 0};
      for (size_t n = 0; n < group.size(); ++n) {
        if (subset & (1u << n)) {
          sum.first += group[n].first;
          sum.second += group[n].second;
        }
      }
      held.insert(sum);
    }
    for (const MakeUp& sum : held) {
      SCOPED_TRACE("round " + std::to_string(round) + " make-up " + std::to_string(sum.first) +
                   "/" + std::to_string(sum.second));
      EXPECT_TRUE(make_ups.CanMake(sum.first, sum.second));
    }
  }
}

TEST(MakeUpsTest, RefusesMoreThanTheSharesAllow) {
  const struct {
    const char* name;
    std::vector<MakeUp> group;
    MakeUp letters;
    bool can;
  } cases[] = {
      {"three consonants per vowel at most", {{1, 2}, {1, 3}, {2, 3}}, {2, 7}, false},
      {"the one word of four per vowel is used once", {{1, 4}, {1, 2}, {1, 2}}, {3, 10}, false},
      {"within the shares", {{1, 4}, {1, 2}, {1, 2}}, {3, 8}, true},
      {"vowels with too few consonants", {{1, 1}, {2, 1}}, {4, 1}, false},
      {"more of both than all the words", {{1, 1}, {1, 1}}, {3, 3}, false},
      {"a vowel-less word takes the extra consonants", {{0, 3}, {1, 1}}, {1, 4}, true},
      {"no words", {}, {1, 0}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    jumble::MakeUps make_ups;
    make_ups.Clear();
    for (const MakeUp& word : c.group)
      make_ups.Add(word.first, word.second);
    EXPECT_EQ(make_ups.CanMake(c.letters.first, c.letters.second), c.can);
  }
}

}  // namespace
