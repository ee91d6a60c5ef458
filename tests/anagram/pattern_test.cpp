#include "anagram/pattern.h"

#include <gtest/gtest.h>

#include <random>

#include "anagram/jumble.h"
#include "anagram_test_util.h"
#include "platform/named_event.h"

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
    const char* close = SetEnd(p + 1);
    return InSet(p + 1, close, *w) && ReferenceRest(close + 1, w + 1);
  }
  return *p == *w && ReferenceRest(p + 1, w + 1);
}

bool ReferenceMatch(const std::string& pattern, const std::string& word) {
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '[') continue;
    const char* close = SetEnd(pattern.c_str() + i + 1);
    if (close == nullptr) return false;  // an unclosed set matches nothing
    i = close - pattern.c_str();
  }
  return ReferenceRest(pattern.c_str(), word.c_str());
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
  for (int round = 0; round < 200000; ++round) {
    std::string pattern = make(pattern_chars, 7);
    std::string word = make(word_chars, 6);
    ASSERT_EQ(MatchPattern(pattern.c_str(), word.c_str()), ReferenceMatch(pattern, word))
        << "pattern \"" << pattern << "\" word \"" << word << "\"";
  }
}

TEST(PatternTest, WildcardLanguage) {
  struct Case {
    const char* pattern;
    const char* word;
    bool matches;
  } cases[] = {
      // The generated patterns above cover the rest of the language.
      {"c?t", "cat", true},         {"c?t", "cart", false},
      {"*ness", "kindness", true},  {"a**b", "axxb", true},
      {"[]]", "]", true},           {"[!a]pple", "bpple", true},
      {"[!a]pple", "apple", false}, {"[\x80-a]", "0", true},  // signed character order
      {"[a-\xff]", "b", false},     {"x[a", "y", false},      // unclosed: nothing matches
      {"Cat", "cat", false},        {"a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaa", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " / " + c.word);
    EXPECT_EQ(MatchPattern(c.pattern, c.word), c.matches);
  }
  EXPECT_FALSE(MatchPattern(nullptr, "a"));
  EXPECT_FALSE(MatchPattern("a", nullptr));
}

TEST(PatternTest, PatternTextsAndSeparators) {
  struct Case {
    const char* text;
    bool pattern;
    int separators;
  } cases[] = {
      {"c?t", true, 0},  {"ice ?ream", true, 1}, {"[bc]at*", true, 0},      {"cat", false, 0},
      {"", false, 0},    {"[!a]pple", false, 0}, {"rock'n?roll", false, 0}, {"2?d", false, 0},
      {"a-?", false, 1}, {"ice_?", false, 0},    {"a--b", false, 2},        {"a - b", false, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(IsPattern(c.text), c.pattern);
    EXPECT_EQ(SeparatorCount(c.text), c.separators);
  }
}

// The walk stops at the region's end, its entry count, an empty word, and an entry whose
// digits do not fit; it never reads past the region.
TEST(PatternTest, WalkEndsSafely) {
  auto region_of = [](const std::string& bytes, uint32_t count) {
    return NymdexEntryRegion{bytes.data(), static_cast<uint32_t>(bytes.size()), count};
  };
  std::string bytes = std::string(
      "cat\0"
      "000001"
      "cot\0"
      "000002"
      "cut\0"
      "000003",
      30);
  EXPECT_EQ(FindPatternMatchesInRegion(region_of(bytes, 3), "c?t").words,
            (Words{"cat", "cot", "cut"}));
  EXPECT_EQ(FindPatternMatchesInRegion(region_of(bytes, 2), "c?t").words, (Words{"cat", "cot"}));
  std::string cut_short = bytes.substr(0, 28);
  EXPECT_EQ(FindPatternMatchesInRegion(region_of(cut_short, 3), "c?t").words,
            (Words{"cat", "cot"}));
  std::string empty_word = std::string(
      "cat\0"
      "000001"
      "\0"
      "000002"
      "cut\0"
      "000003",
      27);
  EXPECT_EQ(FindPatternMatchesInRegion(region_of(empty_word, 3), "c?t").words, Words{"cat"});
  PatternMatches none = FindPatternMatches(nullptr, "c?t");
  EXPECT_TRUE(none.words.empty());
  EXPECT_EQ(none.status, "Found 0 matches");
}

class DictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_ = anagram_test::StartDictionary(
        dir_, {"cat", "cot", "act", "tac", "ice_cream", "ice-cream", "cut-out", "kindness", "bat",
               "batten", "ice", "]", "Dog", "dog_days", "a"});
    ASSERT_NE(engine_, nullptr);
  }
  void TearDown() override { Nymdex_ShutDown(&engine_); }

  anagram_test::ScratchDir dir_;
  NymdexEngine* engine_ = nullptr;
};

TEST_F(DictionaryTest, MatchesOverTheWordIndex) {
  struct Case {
    const char* pattern;
    Words words;
  } cases[] = {
      {"c?t", {"cat", "cot"}},
      {"?og", {"Dog"}},
      {"dog", {}},  // case matters
      {"ice ?ream", {"ice cream"}},
      {"ice?cream", {}},  // the '?' takes the '_', but the phrase has a separator
      {"*ness", {"kindness"}},
      {"[bc]at*", {"bat", "batten", "cat"}},
      {"* *", {"dog days", "ice cream"}},
      {"[]]", {"]"}},
      {"cat", {"cat"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    PatternMatches found = FindPatternMatches(engine_, c.pattern);
    EXPECT_EQ(found.words, c.words);  // in index order
    EXPECT_EQ(found.status, MatchStatusText(c.words.size()));
  }
  // "*" lists every single word: no phrase, no hyphenated word, not the sentinel.
  Words all = FindPatternMatches(engine_, "*").words;
  EXPECT_EQ(all, (Words{"]", "a", "act", "bat", "batten", "cat", "cot", "Dog", "ice", "kindness",
                        "tac"}));
}

// The anagram engine built from the same word index.
TEST_F(DictionaryTest, AnagramEngineFromWordIndex) {
  platform::NamedEvent* stop = platform::OpenNamedEvent("StopAnagrams", true, false);
  JumbleEngine* jumble = nullptr;
  ASSERT_EQ(Jumble_StartUp2(&jumble, engine_), kJumbleOk);
  // Capitalised entries, phrases and the sentinel take no part.
  Words found = anagram_test::Anagrams(jumble, "tca", nullptr, 1, 50, 0, 100);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (Words{"act", "cat", "tac"}));
  EXPECT_TRUE(anagram_test::Anagrams(jumble, "god", nullptr, 1, 50, 0, 100).empty());
  EXPECT_EQ(anagram_test::Anagrams(jumble, "icecat", nullptr, 1, 50, 0, 100).size(), 3u);
  EXPECT_EQ(Jumble_ShutDown(&jumble), kJumbleOk);
  platform::CloseNamedEvent(stop);
}

}  // namespace
}  // namespace anagram
