#include "anagram/pattern.h"

#include <gtest/gtest.h>

#include <random>

namespace anagram {
namespace {

using Words = std::vector<std::string>;

// Reference matcher, written straight from the wildcard rules: recursion at every star, sets
// read in place. Slow, but plain.
const char* SetEnd(const char* set) {  // `set` is just after '['; the closing ']' or null
  if (*set == '!') ++set;
  if (*set == ']') ++set;
  while (*set != '\0' && *set != ']')
    ++set;
  return *set == ']' ? set : nullptr;
}

bool InSet(const char* set, const char* close, char c) {
  bool negate = *set == '!';
  if (negate) ++set;
  bool member = false;
  for (const char* m = set; m < close; ++m) {
    signed char x = static_cast<signed char>(*m);
    if (m + 2 < close && m[1] == '-' && x < static_cast<signed char>(m[2])) {
      member |= static_cast<signed char>(c) >= x && static_cast<signed char>(c) <= m[2];
      m += 2;
    } else {
      member |= *m == c;
    }
  }
  return member != negate;
}

bool ReferenceRest(const char* p, const char* w) {
  if (*p == '\0') return *w == '\0';
  if (*p == '*') {
    for (const char* at = w;; ++at) {
      if (ReferenceRest(p + 1, at)) return true;
      if (*at == '\0') return false;
    }
  }
  if (*w == '\0') return false;
  if (*p == '?') return ReferenceRest(p + 1, w + 1);
  if (*p == '[') {
    // Every match passes each set of the pattern, so an unclosed one matches nothing.
    const char* close = SetEnd(p + 1);
    return close != nullptr && InSet(p + 1, close, *w) && ReferenceRest(close + 1, w + 1);
  }
  return *p == *w && ReferenceRest(p + 1, w + 1);
}

TEST(PatternTest, MatchesReferenceOnGeneratedPatterns) {
  std::mt19937 random(3);
  const std::string pattern_chars = "ab-]![*?\x80\xff";
  const std::string word_chars = "ab-]![\x80\xff";
  auto make = [&](const std::string& chars, size_t longest) {
    std::string text(random() % (longest + 1), ' ');
    for (char& c : text)
      c = chars[random() % chars.size()];
    return text;
  };
  for (int round = 0; round < 40000; ++round) {
    std::string pattern = make(pattern_chars, 7);
    std::string word = make(word_chars, 6);
    ASSERT_EQ(MatchPattern(pattern.c_str(), word.c_str()),
              ReferenceRest(pattern.c_str(), word.c_str()))
        << "pattern \"" << pattern << "\" word \"" << word << "\"";
  }
}

TEST(PatternTest, WildcardLanguage) {
  // The generated patterns above cover the rest of the language.
  EXPECT_TRUE(MatchPattern("[!a]pple", "bpple"));
  EXPECT_TRUE(MatchPattern("[\x80-a]", "0"));  // signed character order
  EXPECT_FALSE(MatchPattern("[a-\xff]", "b"));
  EXPECT_FALSE(MatchPattern("x[a", "x["));  // unclosed: nothing matches
  EXPECT_FALSE(MatchPattern("a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaa"));
  EXPECT_FALSE(MatchPattern(nullptr, "a"));
  EXPECT_FALSE(MatchPattern("a", nullptr));
}

TEST(PatternTest, SeparatorCount) {
  struct Case {
    const char* text;
    int separators;
  } cases[] = {
      {"ice ?ream", 1}, {"[bc]at*", 0}, {"", 0}, {"a-?", 1}, {"a--b", 2}, {"a - b", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SeparatorCount(c.text), c.separators);
  }
}

// An entry region of `words` in index form: each word, its NUL and six digits.
std::string Region(const Words& words) {
  std::string bytes;
  for (const std::string& word : words)
    bytes += word + std::string(1, '\0') + "000001";
  return bytes;
}

Words Found(const std::string& region, uint32_t count, const char* pattern) {
  NymdexEntryRegion entries{region.data(), static_cast<uint32_t>(region.size()), count};
  return FindPatternMatchesInRegion(entries, pattern).words;
}

TEST(PatternTest, WalkOverAnIndex) {
  // The index begins with its sentinel, a single space.
  std::string index = Region({" ", "]", "a", "act", "bat", "cat", "cot", "cut-out", "Dog",
                              "dog_days", "ice", "ice-cream", "ice_cream", "kindness"});
  struct Case {
    const char* pattern;
    Words words;  // in index order, in display form
  } cases[] = {
      {"c?t", {"cat", "cot"}},
      {"dog", {}},        // case matters
      {"ice?cream", {}},  // the '?' takes the '_', but the phrase has a separator
      {"* *", {"dog days", "ice cream"}},
      // Every single word: no phrase, no hyphenated word, not the sentinel.
      {"*", {"]", "a", "act", "bat", "cat", "cot", "Dog", "ice", "kindness"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(Found(index, 1000, c.pattern), c.words);
  }
  NymdexEntryRegion region{index.data(), static_cast<uint32_t>(index.size()), 1000};
  EXPECT_EQ(FindPatternMatchesInRegion(region, "ice ?ream").status, "Found 1 match");
  PatternMatches none = FindPatternMatches(nullptr, "c?t");
  EXPECT_TRUE(none.words.empty());
  EXPECT_EQ(none.status, "Found 0 matches");
}

// The walk stops at the region's end, its entry count, an empty word, and an entry whose
// digits do not fit; it never reads past the region.
TEST(PatternTest, WalkEndsSafely) {
  std::string bytes = Region({"cat", "cot", "cut"});
  EXPECT_EQ(Found(bytes, 3, "c?t"), (Words{"cat", "cot", "cut"}));
  EXPECT_EQ(Found(bytes, 2, "c?t"), (Words{"cat", "cot"}));
  EXPECT_EQ(Found(bytes.substr(0, 28), 3, "c?t"), (Words{"cat", "cot"}));
  EXPECT_EQ(Found(Region({"cat", "", "cut"}), 3, "c?t"), Words{"cat"});
}

}  // namespace
}  // namespace anagram
