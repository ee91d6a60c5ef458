#include "anagram/jumble.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <set>

#include "anagram_test_util.h"
#include "platform/named_event.h"

namespace {

using anagram_test::Anagrams;
using anagram_test::ScratchDir;
using Phrases = std::vector<std::string>;

constexpr int32_t kMany = 1000000;

// Each test runs with the stop event created first as a manually reset event, as the
// application does, and its own engine over a small list.
class JumbleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    stop_ = platform::OpenNamedEvent("StopAnagrams", true, false);
    ASSERT_NE(stop_, nullptr);
  }
  void TearDown() override {
    EXPECT_EQ(Jumble_ShutDown(&engine_), kJumbleOk);
    EXPECT_EQ(engine_, nullptr);
    platform::ResetNamedEvent(stop_);
    platform::CloseNamedEvent(stop_);
  }
  void Load(const std::vector<std::string>& words) {
    Jumble_ShutDown(&engine_);
    std::string path = dir_.Write("1001A.dat", datafiles::BuildAnagramFile(words));
    ASSERT_EQ(Jumble_StartUp(&engine_, path.c_str()), kJumbleOk);
  }

  ScratchDir dir_;
  platform::NamedEvent* stop_ = nullptr;
  JumbleEngine* engine_ = nullptr;
};

TEST_F(JumbleTest, StartUpStatusCodes) {
  struct Case {
    const char* name;
    size_t flip;  // byte to change, or the size to cut the file to
    bool cut;
    uint32_t status;
  } cases[] = {
      {"good", 99, false, kJumbleOk},        {"magic", 3, false, kJumbleCorrupt},
      {"digest", 20, false, kJumbleCorrupt}, {"header only", 32, true, kJumbleBadHeader},
      {"short", 20, true, kJumbleBadHeader}, {"empty", 0, true, kJumbleBadHeader},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> bytes = datafiles::BuildAnagramFile({"cat", "act"});
    if (c.cut) bytes.resize(c.flip);
    if (!c.cut && c.flip < bytes.size()) bytes[c.flip] ^= 1;
    JumbleEngine* engine = nullptr;
    EXPECT_EQ(Jumble_StartUp(&engine, dir_.Write("case.dat", bytes).c_str()), c.status);
    EXPECT_EQ(engine != nullptr, c.status == kJumbleOk);
    Jumble_ShutDown(&engine);
  }
  JumbleEngine* engine = nullptr;
  EXPECT_EQ(Jumble_StartUp(nullptr, dir_.File("case.dat").c_str()), kJumbleNullArgument);
  EXPECT_EQ(Jumble_StartUp(&engine, nullptr), kJumbleNullArgument);
  EXPECT_EQ(Jumble_StartUp(&engine, dir_.File("missing.dat").c_str()), kJumbleNullArgument);
  EXPECT_EQ(Jumble_StartUp2(&engine, nullptr), kJumbleNullArgument);
  EXPECT_EQ(engine, nullptr);
}

TEST_F(JumbleTest, LettersAndListEnd) {
  Load({"ae", "tea", "eat", "a", "e"});
  Phrases of_ae = Anagrams(engine_, "ae", nullptr, 0, 0, 1, kMany);
  EXPECT_EQ(Anagrams(engine_, "Tea", nullptr, 0, 0, 1, kMany), of_ae);  // capitals dropped
  EXPECT_EQ(Anagrams(engine_, "T_E-a-e!", nullptr, 0, 0, 1, kMany), of_ae);
  EXPECT_TRUE(Anagrams(engine_, "123 ,.;-", nullptr, 0, 0, 1, kMany).empty());
  EXPECT_TRUE(Anagrams(engine_, nullptr, nullptr, 0, 0, 1, kMany).empty());
  // An empty word or a word of 128 characters ends the list where it stands.
  for (const std::string& end : {std::string(), std::string(128, 'x')}) {
    Load({"tea", end, "eat"});
    EXPECT_EQ(Anagrams(engine_, "ate", nullptr, 0, 0, 1, kMany), Phrases{"tea"});
  }
}

TEST_F(JumbleTest, NoWordTwiceInASet) {
  // "a" is listed twice: neither "a a" nor a repeated set may come of it.
  Load({"a", "aa", "a", "b", "ab", "ba"});
  Phrases found = Anagrams(engine_, "aa", nullptr, 0, 0, 1, kMany);
  EXPECT_EQ(found, Phrases{"aa"});
  found = Anagrams(engine_, "aab", nullptr, 0, 0, 0, kMany);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (Phrases{"a ab", "a ba", "aa b"}));
}

TEST_F(JumbleTest, OneLetterWordsAndLengthLimits) {
  Load({"o", "a", "b", "i", "bo", "ob", "oi"});
  struct Case {
    int32_t min, max;
    Phrases expected;
  } cases[] = {
      {1, 50, {"bo", "ob"}},  // at minimum 1 only "a" and "i" stand alone
      {0, 50, {"bo", "ob", "b o", "o b"}},
      {1, 0, {"bo", "ob", "b o", "o b"}},  // no length test when either is 0
      {2, 2, {"bo", "ob"}},
      {3, 2, {}},  // minimum above maximum: nothing qualifies
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.min << "-" << c.max);
    Phrases found = Anagrams(engine_, "bo", nullptr, c.min, c.max, 1, kMany);
    std::sort(found.begin(), found.end());
    Phrases expected = c.expected;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
  }
  EXPECT_EQ(Anagrams(engine_, "ia", nullptr, 1, 50, 1, kMany), (Phrases{"a i", "i a"}));
}

TEST_F(JumbleTest, PermutationOrderFoundOrderFirst) {
  Load({"emu", "dog", "cat"});
  // Keys act < dgo < emu: the set is found as cat dog emu.
  EXPECT_EQ(Anagrams(engine_, "dogcatemu", nullptr, 1, 50, 1, kMany),
            (Phrases{"cat dog emu", "cat emu dog", "dog cat emu", "dog emu cat", "emu cat dog",
                     "emu dog cat"}));
  EXPECT_EQ(Anagrams(engine_, "dogcatemu", nullptr, 1, 50, 0, kMany), Phrases{"cat dog emu"});
  EXPECT_EQ(Anagrams(engine_, "dogcatemu", "3-3-3", 1, 50, 1, kMany).size(), 6u);
}

TEST_F(JumbleTest, FilterPlacesTheWords) {
  Load({"oboe", "cat", "boa", "tec"});
  // Found as "cat oboe" (key act first); the filter asks for the four-letter word first.
  EXPECT_EQ(Anagrams(engine_, "catoboe", "4-3", 1, 50, 0, kMany), Phrases{"oboe cat"});
  EXPECT_EQ(Anagrams(engine_, "catoboe", "4-3", 1, 50, 1, kMany), Phrases{"oboe cat"});
  EXPECT_EQ(Anagrams(engine_, "catoboe", "3-4", 1, 50, 0, kMany), Phrases{"cat oboe"});
  // A trailing length is not compared; a comma separates lengths only when orders are fitted
  // (for the candidates "3,3" is a 3).
  EXPECT_EQ(Anagrams(engine_, "catoboe", "4-3-9", 1, 50, 0, kMany), Phrases{"oboe cat"});
  EXPECT_EQ(Anagrams(engine_, "catoboe", "4-3,3", 1, 50, 0, kMany), Phrases{"oboe cat"});
  EXPECT_TRUE(Anagrams(engine_, "catoboe", "4-3-9-9", 1, 50, 0, kMany).empty());
  EXPECT_TRUE(Anagrams(engine_, "catoboe", "", 1, 50, 0, kMany).empty());
  // A part of 32 characters or more makes the filter unusable.
  std::string long_part = "4-" + std::string(31, '0') + "3";
  EXPECT_TRUE(Anagrams(engine_, "catoboe", long_part.c_str(), 1, 50, 0, kMany).empty());
}

TEST_F(JumbleTest, SixLengthFilterIgnoresPermutationsAndSettingsCarryOver) {
  Load({"abc", "de", "f", "gh", "ij", "kl"});
  const char* input = "abcdefghijkl";
  // The set is found as abc de f gh ij kl (lengths 3 2 1 2 2 2).
  EXPECT_EQ(Anagrams(engine_, input, "3-2-1-2-2-2", 0, 0, 1, kMany), Phrases{"abc de f gh ij kl"});
  EXPECT_TRUE(Anagrams(engine_, input, "2-3-1-2-2-2", 0, 0, 1, kMany).empty());
  EXPECT_TRUE(Anagrams(engine_, input, "2-3-1-2-2-2", 0, 0, 0, kMany).empty());
  // Then, without a filter and with permutations on, every order; the negative arguments
  // keep the lengths (0, 0) and the maximum of the requests before.
  EXPECT_EQ(Anagrams(engine_, input, nullptr, -1, -1, 1, -1).size(), 720u);
  // Five lengths still fit the set into an order.
  Load({"abc", "de", "f", "gh", "ij"});
  EXPECT_EQ(Anagrams(engine_, "abcdefghij", "2-3-1-2-2", -1, -1, 0, -1), Phrases{"de abc f gh ij"});
}

TEST_F(JumbleTest, NegativeArgumentsKeepSettings) {
  Load({"o", "b", "bo"});
  EXPECT_EQ(Anagrams(engine_, "bo", nullptr, 2, 5, 1, 7), Phrases{"bo"});
  EXPECT_EQ(Anagrams(engine_, "bo", nullptr, -1, -1, 1, -1), Phrases{"bo"});
  // Minimum 0 lifts the length test; the maximum count becomes 1 (key b sorts first).
  EXPECT_EQ(Anagrams(engine_, "bo", nullptr, 0, -1, 1, 1), Phrases{"b o"});
  EXPECT_EQ(Anagrams(engine_, "bo", nullptr, -1, -1, 1, -1), Phrases{"b o"});
  EXPECT_EQ(Anagrams(engine_, "bo", nullptr, -1, -1, 1, 10), (Phrases{"b o", "o b", "bo"}));
  EXPECT_EQ(Anagrams(engine_, "bo", nullptr, -1, -1, 0, -1), (Phrases{"b o", "bo"}));
  // A null engine changes nothing, not even the settings.
  GenerateAnagrams(nullptr, "bo", nullptr, nullptr, nullptr, 2, 2, 0, 0);
  EXPECT_EQ(Anagrams(engine_, "bo", nullptr, -1, -1, 1, -1).size(), 3u);
  EXPECT_TRUE(Anagrams(engine_, "bo", nullptr, -1, -1, 1, 0).empty());
}

TEST_F(JumbleTest, StopSignal) {
  Load({"emu", "dog", "cat", "god"});
  platform::SetNamedEvent(stop_);
  EXPECT_TRUE(Anagrams(engine_, "dogcatemu", nullptr, 1, 50, 1, kMany).empty());
  platform::ResetNamedEvent(stop_);
  // Set during the first delivery of a three-word set with permutations on: none of the
  // set's other orders goes out.
  struct Context {
    platform::NamedEvent* stop;
    Phrases phrases;
  } context{stop_, {}};
  GenerateAnagrams(
      engine_, "dogcatemu", nullptr,
      [](const char* phrase, void* c) {
        auto* context = static_cast<Context*>(c);
        context->phrases.push_back(phrase);
        platform::SetNamedEvent(context->stop);
      },
      &context, 1, 50, 1, kMany);
  EXPECT_EQ(context.phrases, Phrases{"cat dog emu"});
  platform::ResetNamedEvent(stop_);
  // Nothing of the stopped request lingers into the next.
  EXPECT_EQ(Anagrams(engine_, "dogcatemu", nullptr, 1, 50, 0, kMany).size(), 2u);
}

TEST_F(JumbleTest, OverlongInputAndPhrase) {
  std::string word(127, 'a');
  std::string shorter(126, 'a');
  Load({word, shorter, "a", "b"});
  // Only the first 127 characters are read, so the b's take no part; "a" with the 126-letter
  // word would make a phrase of 128 characters, which is not delivered.
  std::string input = word + std::string(100, 'b');
  EXPECT_EQ(Anagrams(engine_, input.c_str(), nullptr, 0, 0, 1, kMany), Phrases{word});
  // A null callback runs the request to its end without delivering.
  GenerateAnagrams(engine_, word.c_str(), nullptr, nullptr, nullptr, 0, 0, 1, kMany);
}

// Reference model: every set of distinct words that spells the letters exactly, found by
// brute force, against the engine on random lists.
void Spell(const std::vector<std::string>& words, size_t from, std::array<int, 26>& left,
           int left_total, std::vector<std::string>& chosen, std::set<Phrases>* sets) {
  if (left_total == 0) {
    Phrases sorted = chosen;
    std::sort(sorted.begin(), sorted.end());
    sets->insert(sorted);
    return;
  }
  for (size_t i = from; i < words.size(); ++i) {
    bool fits = true;
    for (char c : words[i])
      fits &= --left[c - 'a'] >= 0;
    if (fits) {
      chosen.push_back(words[i]);
      Spell(words, i + 1, left, left_total - static_cast<int>(words[i].size()), chosen, sets);
      chosen.pop_back();
    }
    for (char c : words[i])
      ++left[c - 'a'];
  }
}

Phrases SplitWords(const std::string& phrase) {
  Phrases words;
  size_t start = 0;
  for (size_t space; (space = phrase.find(' ', start)) != std::string::npos; start = space + 1) {
    words.push_back(phrase.substr(start, space - start));
  }
  words.push_back(phrase.substr(start));
  return words;
}

std::string RandomText(std::mt19937& random, int letters, size_t length) {
  std::string text(length, 'a');
  for (char& c : text)
    c = static_cast<char>('a' + random() % letters);
  return text;
}

// Distinct words of 1 to `longest` of the first `letters` letters, in random order.
std::vector<std::string> RandomWords(std::mt19937& random, size_t count, int letters, int longest) {
  std::set<std::string> distinct;
  while (distinct.size() < count)
    distinct.insert(RandomText(random, letters, 1 + random() % longest));
  std::vector<std::string> words(distinct.begin(), distinct.end());
  std::shuffle(words.begin(), words.end(), random);
  return words;
}

TEST_F(JumbleTest, MatchesBruteForceOnRandomLists) {
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    std::vector<std::string> words = RandomWords(random, 40, 5, 4);
    Load(words);
    std::string input = RandomText(random, 5, 4 + random() % 4);
    SCOPED_TRACE("input " + input);
    std::array<int, 26> left{};
    for (char c : input)
      ++left[c - 'a'];
    std::vector<std::string> chosen;
    std::set<Phrases> sets;
    Spell(words, 0, left, static_cast<int>(input.size()), chosen, &sets);

    // Permutations off: each set once. On: every order of every set, each once.
    std::multiset<Phrases> once;
    for (const std::string& phrase : Anagrams(engine_, input.c_str(), nullptr, 0, 0, 0, kMany)) {
      Phrases set = SplitWords(phrase);
      std::sort(set.begin(), set.end());
      once.insert(set);
    }
    EXPECT_EQ(once, std::multiset<Phrases>(sets.begin(), sets.end()));
    Phrases orders;
    for (Phrases set : sets) {
      do {
        std::string phrase;
        for (const std::string& w : set)
          phrase += (phrase.empty() ? "" : " ") + w;
        orders.push_back(phrase);
      } while (std::next_permutation(set.begin(), set.end()));
    }
    Phrases all = Anagrams(engine_, input.c_str(), nullptr, 0, 0, 1, kMany);
    std::sort(all.begin(), all.end());
    std::sort(orders.begin(), orders.end());
    EXPECT_EQ(all, orders);
  }
}

// Words with equal keys go out in the order the comb sort of the candidates leaves them.
TEST_F(JumbleTest, EqualKeysInCombSortOrder) {
  std::mt19937 random(11);
  const std::string input = "aabbc";  // sorted: its own key
  for (int round = 0; round < 20; ++round) {
    std::vector<std::string> words = RandomWords(random, 60, 3, 5);
    Load(words);
    std::vector<std::pair<std::string, std::string>> pairs;  // (key, word) of candidates
    for (const std::string& word : words) {
      std::string key = word;
      std::sort(key.begin(), key.end());
      if (std::includes(input.begin(), input.end(), key.begin(), key.end())) {
        pairs.emplace_back(key, word);
      }
    }
    bool exchanged = true;
    for (size_t gap = pairs.size(); gap > 1 || exchanged;) {
      gap = std::max<size_t>(gap * 10 / 13, 1);
      exchanged = false;
      for (size_t j = 0; j + gap < pairs.size(); ++j) {
        if (pairs[j].first > pairs[j + gap].first) {
          std::swap(pairs[j], pairs[j + gap]);
          exchanged = true;
        }
      }
    }
    Phrases expected, single;
    for (const auto& [key, word] : pairs) {
      if (key == input) expected.push_back(word);
    }
    for (const std::string& phrase : Anagrams(engine_, input.c_str(), nullptr, 0, 0, 0, kMany)) {
      if (phrase.find(' ') == std::string::npos) single.push_back(phrase);
    }
    EXPECT_EQ(single, expected);
  }
}

}  // namespace
