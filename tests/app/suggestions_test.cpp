// The bounded edit distance of the spelling suggestions against a plain reference (the
// suggestions themselves: tests/app/lookup_session_test.cpp and tests/cli/).
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/lookup/suggestions.h"

namespace lookup {
namespace {

using Strings = std::vector<std::string>;

// The restricted edit distance by the textbook table, without any bound.
int ReferenceDistance(const std::u32string& a, const std::u32string& b) {
  std::vector<std::vector<int>> d(a.size() + 1, std::vector<int>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i)
    d[i][0] = static_cast<int>(i);
  for (size_t j = 0; j <= b.size(); ++j)
    d[0][j] = static_cast<int>(j);
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j) {
      d[i][j] = std::min(
          {d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

TEST(Suggestions, EditDistanceCountsEachKindOfEdit) {
  const std::tuple<const char32_t*, const char32_t*, int> cases[] = {
      {U"receive", U"receive", 0},
      {U"recieve", U"receive", 1},  // neighbours swapped
      {U"recive", U"receive", 1},
      {U"receeive", U"receive", 1},
      {U"reseive", U"receive", 1},
      {U"rcieve", U"receive", 2},
      {U"ca", U"abc", 3},  // a swap is not edited again
      {U"", U"ab", 2},
      {U"", U"abc", 3},
      {U"caf\u00e9", U"cafe", 1},
      {U"teh", U"the", 1},
      {U"abcdef", U"badcfe", 3},
  };
  for (const auto& [a, b, edits] : cases) {
    EXPECT_EQ(EditDistance(a, b, 2), std::min(edits, 3)) << "limit 2";
    EXPECT_EQ(EditDistance(b, a, 5), edits) << "limit 5, turned round";
  }
  // Against the reference on random short words of a small alphabet, where every kind of
  // edit and every early stop happens often.
  std::mt19937 random(7);
  const auto word = [&] {
    std::u32string w(random() % 9, U'a');
    for (char32_t& c : w)
      c = U'a' + static_cast<char32_t>(random() % 4);
    return w;
  };
  for (int i = 0; i < 20000; ++i) {
    const std::u32string a = word(), b = word();
    const int limit = static_cast<int>(random() % 4);
    ASSERT_EQ(EditDistance(a, b, limit), std::min(ReferenceDistance(a, b), limit + 1))
        << std::string(a.begin(), a.end()) << " " << std::string(b.begin(), b.end());
  }
}

}  // namespace
}  // namespace lookup
