#include "anagram/jumble.h"
#include "anagram/jumble_testing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/named_event.h"
#include "platform/program_names.h"
#include "tests/anagram/anagram_test_util.h"

namespace {

using anagram_test::Phrases;

constexpr int32_t kMany = 1000000;

Phrases Sorted(Phrases phrases) {
  std::sort(phrases.begin(), phrases.end());
  return phrases;
}

// Each test runs with the stop event created first as a manually reset event, as the
// application does, and its own engine over a small list.
class JumbleTest : public ::testing::Test {
 public:
  void SetUp() override { ASSERT_NE(stop_, nullptr); }
  void TearDown() override {
    EXPECT_EQ(Jumble_ShutDown(&engine_), kJumbleOk);
    EXPECT_EQ(engine_, nullptr);
    platform::ResetNamedEvent(stop_);
    platform::CloseNamedEvent(stop_);
  }
  void Load(const std::vector<std::string>& words) {
    Jumble_ShutDown(&engine_);
    std::string path = dir_.Write(program::kAnagramFile, datafiles::BuildAnagramFile(words));
    ASSERT_EQ(Jumble_StartUp(&engine_, path.c_str()), kJumbleOk);
  }
  Phrases Anagrams(const char* input, const char* filter, int32_t min_length, int32_t max_length,
                   int32_t permutations, int32_t max_anagrams) {
    return anagram_test::Anagrams(engine_, input, filter, min_length, max_length, permutations,
                                  max_anagrams);
  }

  test_support::ScratchFolder dir_;
  platform::NamedEvent* stop_ = platform::OpenNamedEvent(program::kStopAnagramsEvent, true, false);
  JumbleEngine* engine_ = nullptr;
  Phrases delivered_;
};

TEST_F(JumbleTest, StartUpStatusCodes) {
  // A list of more than one 512 KiB chunk, so that the digest has a chunk to check.
  std::vector<std::string> many;
  for (int i = 0; i < 120000; ++i)
    many.push_back("w" + std::to_string(i));
  const std::vector<uint8_t> big = datafiles::BuildAnagramFile(many);
  ASSERT_GT(big.size(), 32u + 524288u);
  const struct {
    const char* name;
    bool big;
    size_t flip;  // byte to change, or none
    size_t cut;   // size to cut the file to, or none
    uint32_t status;
  } cases[] = {
      {"good", false, SIZE_MAX, SIZE_MAX, kJumbleOk},
      {"magic", false, 3, SIZE_MAX, kJumbleCorrupt},
      {"digest", false, 20, SIZE_MAX, kJumbleCorrupt},
      {"header only", false, SIZE_MAX, 32, kJumbleBadHeader},
      {"short", false, SIZE_MAX, 20, kJumbleBadHeader},
      // The digest is compared before the size is: a bad digest wins over a missing list.
      {"digest, header only", false, 20, 32, kJumbleCorrupt},
      {"big list", true, SIZE_MAX, SIZE_MAX, kJumbleOk},
      {"big list, chunk byte", true, 32 + 1000, SIZE_MAX, kJumbleCorrupt},
      // The seal after the list sees a changed letter in the short last chunk.
      {"big list, letter after the chunk", true, 32 + 524288 + 12, SIZE_MAX, kJumbleCorrupt},
      {"list, letter", false, 33, SIZE_MAX, kJumbleCorrupt},
      {"big list, seal's marker", true, big.size() - 18, SIZE_MAX, kJumbleCorrupt},
      {"big list, seal's digest", true, big.size() - 1, SIZE_MAX, kJumbleCorrupt},
      {"big list, seal cut", true, SIZE_MAX, big.size() - 10, kJumbleCorrupt},
      {"big list without its seal", true, SIZE_MAX, big.size() - 20, kJumbleOk},
      {"big list, word end after the chunk", true, 32 + 524288 + 10, SIZE_MAX, kJumbleCorrupt},
      // The digest skips the short last chunk; the counts of the header see it cut.
      {"big list, cut in the last chunk", true, SIZE_MAX, big.size() - 1000, kJumbleCorrupt},
      {"big list, last word cut", true, SIZE_MAX, big.size() - 21, kJumbleCorrupt},
      {"big list without counts, cut", true, 5, big.size() - 1000, kJumbleOk},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> bytes = c.big ? big : datafiles::BuildAnagramFile({"cat", "act"});
    if (c.flip < bytes.size()) bytes[c.flip] ^= 1;
    if (c.cut < bytes.size()) bytes.resize(c.cut);
    JumbleEngine* engine = nullptr;
    EXPECT_EQ(Jumble_StartUp(&engine, dir_.Write("case.dat", bytes).c_str()), c.status);
    EXPECT_EQ(engine != nullptr, c.status == kJumbleOk);
    Jumble_ShutDown(&engine);
  }
  JumbleEngine* engine = nullptr;
  EXPECT_EQ(Jumble_StartUp(&engine, nullptr), kJumbleNullArgument);
  EXPECT_EQ(Jumble_StartUp(&engine, dir_.Path("missing.dat").c_str()), kJumbleNullArgument);
  EXPECT_EQ(Jumble_StartUp2(&engine, nullptr), kJumbleNullArgument);
  EXPECT_EQ(engine, nullptr);
}

// The seal covers the bytes from the short last chunk's start up to its digest, however the
// seal meets the last chunk boundary: before it, across it or just after it.
TEST_F(JumbleTest, SealedTailAtEveryChunkBoundary) {
  for (size_t over : {0, 1, 3, 4, 5, 15, 16, 17, 19, 20, 21, 40}) {
    SCOPED_TRACE(testing::Message() << "file ends " << over << " bytes after a chunk");
    const size_t list = engine::kFileDigestChunk + over - nymdex::kAnagramSealSize;
    std::vector<std::string> words(list / 8 - 1, "abcdefg");
    words.push_back(std::string(list - 8 * words.size() - 1, 'z'));
    const std::vector<uint8_t> file = datafiles::BuildAnagramFile(words);
    ASSERT_EQ(file.size(), 32 + engine::kFileDigestChunk + over);
    for (size_t flip : {SIZE_MAX, 32 + list - 2, 32 + list, 32 + list + 3, file.size() - 1}) {
      std::vector<uint8_t> bytes = file;
      if (flip < bytes.size()) bytes[flip] ^= 1;
      JumbleEngine* engine = nullptr;
      EXPECT_EQ(Jumble_StartUp(&engine, dir_.Write("case.dat", bytes).c_str()),
                flip == SIZE_MAX ? kJumbleOk : kJumbleCorrupt)
          << "byte " << flip;
      Jumble_ShutDown(&engine);
    }
  }
}

TEST_F(JumbleTest, OnlyLowerCaseLettersCount) {
  Load({"ae", "tea", "eat", "a", "e"});
  Phrases of_ae = Anagrams("ae", nullptr, 0, 0, 1, kMany);
  EXPECT_EQ(Anagrams("T_E-a-e!", nullptr, 0, 0, 1, kMany), of_ae);  // capitals, signs dropped
  EXPECT_TRUE(Anagrams(nullptr, nullptr, 0, 0, 1, kMany).empty());
}

TEST_F(JumbleTest, EmptyOrOverlongWordEndsTheList) {
  for (const std::string& end : {std::string(), std::string(128, 'x')}) {
    Load({"tea", end, "eat"});
    EXPECT_EQ(Anagrams("ate", nullptr, 0, 0, 1, kMany), Phrases{"tea"});
  }
}

TEST_F(JumbleTest, WordListedTwiceTakesPartOnce) {
  // "a" is listed twice: neither "a a" nor a repeated set may come of it.
  Load({"a", "aa", "a", "b", "ab", "ba"});
  EXPECT_EQ(Anagrams("aa", nullptr, 0, 0, 1, kMany), Phrases{"aa"});
  EXPECT_EQ(Sorted(Anagrams("aab", nullptr, 0, 0, 0, kMany)), (Phrases{"a ab", "a ba", "aa b"}));
}

TEST_F(JumbleTest, LengthLimitsChooseTheWords) {
  Load({"o", "a", "b", "i", "bo", "ob", "oi"});
  // At minimum 1 only "a" and "i" stand alone; no length test when either limit is 0; nothing
  // qualifies when the minimum is above the maximum.
  EXPECT_EQ(Sorted(Anagrams("bo", nullptr, 1, 50, 1, kMany)), (Phrases{"bo", "ob"}));
  EXPECT_EQ(Sorted(Anagrams("bo", nullptr, 1, 0, 1, kMany)), (Phrases{"b o", "bo", "o b", "ob"}));
  EXPECT_EQ(Sorted(Anagrams("bo", nullptr, 2, 2, 1, kMany)), (Phrases{"bo", "ob"}));
  EXPECT_TRUE(Anagrams("bo", nullptr, 3, 2, 1, kMany).empty());
  EXPECT_EQ(Anagrams("ia", nullptr, 1, 50, 1, kMany), (Phrases{"a i", "i a"}));
}

TEST_F(JumbleTest, PermutationsGiveEveryOrderOfASet) {
  Load({"emu", "dog", "cat"});
  // Keys act < dgo < emu: the set is found as cat dog emu, and its orders follow from there.
  EXPECT_EQ(Anagrams("dogcatemu", nullptr, 1, 50, 1, kMany),
            (Phrases{"cat dog emu", "cat emu dog", "dog cat emu", "dog emu cat", "emu cat dog",
                     "emu dog cat"}));
  EXPECT_EQ(Anagrams("dogcatemu", nullptr, 1, 50, 0, kMany), Phrases{"cat dog emu"});
}

TEST_F(JumbleTest, FilterChoosesTheOrder) {
  Load({"oboe", "cat", "boa", "tec"});
  // Found as "cat oboe"; the filter asks for the four-letter word first.
  EXPECT_EQ(Anagrams("catoboe", "4-3", 1, 50, 0, kMany), Phrases{"oboe cat"});
  EXPECT_EQ(Anagrams("catoboe", "4-3", 1, 50, 1, kMany), Phrases{"oboe cat"});
  EXPECT_EQ(Anagrams("catoboe", "3-4", 1, 50, 0, kMany), Phrases{"cat oboe"});
  // A trailing length is not compared; a comma separates lengths only when orders are fitted
  // (for the candidates "3,3" is a 3).
  EXPECT_EQ(Anagrams("catoboe", "4-3-9", 1, 50, 0, kMany), Phrases{"oboe cat"});
  EXPECT_EQ(Anagrams("catoboe", "4-3,3", 1, 50, 0, kMany), Phrases{"oboe cat"});
  EXPECT_TRUE(Anagrams("catoboe", "4-3-9-9", 1, 50, 0, kMany).empty());
  // A part of 32 characters or more makes the filter unusable.
  std::string long_part = "4-" + std::string(31, '0') + "3";
  EXPECT_TRUE(Anagrams("catoboe", long_part.c_str(), 1, 50, 0, kMany).empty());

  // More than five lengths: the set is taken in its found order only (lengths 3 2 1 2 2 2).
  Load({"abc", "de", "f", "gh", "ij", "kl"});
  EXPECT_EQ(Anagrams("abcdefghijkl", "3-2-1-2-2-2", 0, 0, 1, kMany), Phrases{"abc de f gh ij kl"});
  EXPECT_TRUE(Anagrams("abcdefghijkl", "2-3-1-2-2-2", 0, 0, 0, kMany).empty());
  Load({"abc", "de", "f", "gh", "ij"});
  EXPECT_EQ(Anagrams("abcdefghij", "2-3-1-2-2", 0, 0, 0, kMany), Phrases{"de abc f gh ij"});
}

TEST_F(JumbleTest, NegativeArgumentsKeepSettings) {
  Load({"o", "b", "bo"});
  EXPECT_EQ(Anagrams("bo", nullptr, 2, 5, 1, 7), Phrases{"bo"});
  EXPECT_EQ(Anagrams("bo", nullptr, -1, -1, 1, -1), Phrases{"bo"});
  // Minimum 0 lifts the length test; the maximum count becomes 1 (key b sorts first).
  EXPECT_EQ(Anagrams("bo", nullptr, 0, -1, 1, 1), Phrases{"b o"});
  EXPECT_EQ(Anagrams("bo", nullptr, -1, -1, 1, -1), Phrases{"b o"});
  EXPECT_EQ(Anagrams("bo", nullptr, -1, -1, 1, 10), (Phrases{"b o", "o b", "bo"}));
  EXPECT_EQ(Anagrams("bo", nullptr, -1, -1, 0, -1), (Phrases{"b o", "bo"}));
  // A null engine changes nothing, not even the settings.
  GenerateAnagrams(nullptr, "bo", nullptr, nullptr, nullptr, 2, 2, 0, 0);
  EXPECT_EQ(Anagrams("bo", nullptr, -1, -1, 1, -1).size(), 3u);
  EXPECT_TRUE(Anagrams("bo", nullptr, -1, -1, 1, 0).empty());
}

TEST_F(JumbleTest, StopSignal) {
  Load({"emu", "dog", "cat", "god"});
  platform::SetNamedEvent(stop_);
  EXPECT_TRUE(Anagrams("dogcatemu", nullptr, 1, 50, 1, kMany).empty());
  platform::ResetNamedEvent(stop_);
  // Set during the first delivery of a three-word set with permutations on: none of the
  // set's other orders goes out.
  auto stop = [](const char* phrase, void* test) {
    static_cast<JumbleTest*>(test)->delivered_.push_back(phrase);
    platform::SetNamedEvent(static_cast<JumbleTest*>(test)->stop_);
  };
  GenerateAnagrams(engine_, "dogcatemu", nullptr, stop, this, 1, 50, 1, kMany);
  EXPECT_EQ(delivered_, Phrases{"cat dog emu"});
  platform::ResetNamedEvent(stop_);
  // Nothing of the stopped request lingers into the next.
  EXPECT_EQ(Anagrams("dogcatemu", nullptr, 1, 50, 0, kMany).size(), 2u);
}

TEST_F(JumbleTest, OnlyTheFirst127CharactersCount) {
  std::string word(127, 'a');
  Load({word, std::string(126, 'a'), "a", "b"});
  // Only the first 127 characters are read, so the b's take no part; "a" with the 126-letter
  // word would make a phrase of 128 characters, which is not delivered.
  std::string input = word + std::string(100, 'b');
  EXPECT_EQ(Anagrams(input.c_str(), nullptr, 0, 0, 1, kMany), Phrases{word});
  // A null callback runs the request to its end without delivering.
  GenerateAnagrams(engine_, word.c_str(), nullptr, nullptr, nullptr, 0, 0, 1, kMany);
}

// A word's letters sorted ascending.
std::string Key(std::string word) {
  std::sort(word.begin(), word.end());
  return word;
}

// Reference model: every set of distinct words that spells the letters exactly, by brute force.
void Spell(const Phrases& words, size_t from, const std::string& left, Phrases& chosen,
           std::set<Phrases>* sets) {
  if (left.empty()) sets->insert(Sorted(chosen));
  for (size_t i = from; i < words.size(); ++i) {
    std::string key = Key(words[i]);
    std::string rest;
    if (!std::includes(left.begin(), left.end(), key.begin(), key.end())) continue;
    std::set_difference(left.begin(), left.end(), key.begin(), key.end(), std::back_inserter(rest));
    chosen.push_back(words[i]);
    Spell(words, i + 1, rest, chosen, sets);
    chosen.pop_back();
  }
}

// Distinct words of 1 to `longest` of the first `letters` letters, in random order.
Phrases RandomWords(std::mt19937& random, size_t count, int letters, int longest) {
  std::set<std::string> distinct;
  while (distinct.size() < count) {
    std::string word(1 + random() % longest, 'a');
    for (char& c : word)
      c = static_cast<char>('a' + random() % letters);
    distinct.insert(word);
  }
  Phrases words(distinct.begin(), distinct.end());
  std::shuffle(words.begin(), words.end(), random);
  return words;
}

TEST_F(JumbleTest, MatchesBruteForceOnRandomLists) {
  std::mt19937 random(7);
  for (int round = 0; round < 15; ++round) {
    Phrases words = RandomWords(random, 40, 5, 4);
    Load(words);
    std::string input = words[random() % 40] + words[random() % 40];  // mostly spelled by some set
    SCOPED_TRACE("input " + input);
    Phrases chosen;
    std::set<Phrases> sets;
    Spell(words, 0, Key(input), chosen, &sets);

    // Permutations off: each set once. On: every order of every set, each once.
    std::multiset<Phrases> once;
    Phrases orders;
    for (const std::string& phrase : Anagrams(input.c_str(), nullptr, 0, 0, 0, kMany)) {
      std::istringstream split(phrase);
      Phrases set{std::istream_iterator<std::string>(split), {}};
      once.insert(Sorted(set));
    }
    EXPECT_EQ(once, std::multiset<Phrases>(sets.begin(), sets.end()));
    for (Phrases set : sets) {
      do {
        std::string phrase;
        for (const std::string& w : set)
          phrase += (phrase.empty() ? "" : " ") + w;
        orders.push_back(phrase);
      } while (std::next_permutation(set.begin(), set.end()));
    }
    EXPECT_EQ(Sorted(Anagrams(input.c_str(), nullptr, 0, 0, 1, kMany)), Sorted(orders));
  }
}

// The look-ahead only spares work: on random lists, with every option that shapes the search,
// the anagrams and their order are those of the search without it. Inputs are spelled by two
// to seven words, or one letter off (added, dropped or changed), which makes them impossible
// by a small margin: the bounds then refuse most parts of the search. The same holds when every
// look is cut short and asked again in rounds.
TEST_F(JumbleTest, LookAheadKeepsResultsAndOrder) {
  std::mt19937 random(23);
  struct Options {
    const char* filter;
    int32_t min_length, max_length, permutations, count;
  };
  const Options options[] = {
      {nullptr, 0, 0, 0, kMany},
      {nullptr, 0, 0, 1, kMany},
      {nullptr, 2, 3, 0, kMany},
      {nullptr, 0, 0, 1, 7},
      {nullptr, 0, 0, 0, 1},
      {"2-3", 0, 0, 1, kMany},
      {"3,2", 0, 0, 0, kMany},
      {"1-2-1", 0, 0, 1, kMany},
      {"3-4-3-4", 0, 0, 1, kMany},
      {"2,3,4,5", 0, 0, 0, kMany},
      {"1-2-1-2-1-2", 0, 0, 0, kMany},
      {"2-2-1-1-3-1", 0, 0, 1, 5},
      {"3-3-3-3-3-3-3", 0, 0, 0, kMany},
  };
  for (int round = 0; round < 22; ++round) {
    // Short inputs over six letters, then longer ones over seven.
    const bool short_input = round < 10;
    Phrases words = short_input ? RandomWords(random, 40, 6, 4) : RandomWords(random, 60, 7, 6);
    Load(words);
    std::string input;
    const int spelled_by = short_input ? 2 + round % 2 : 4 + round % 4;
    for (int w = 0; w < spelled_by; ++w)
      input += words[random() % words.size()];
    const char letter = static_cast<char>('a' + random() % (short_input ? 6 : 7));
    switch (short_input ? 1 : round % 4) {
      case 1:
        input += letter;
        break;
      case 2:
        input.erase(random() % input.size(), 1);
        break;
      case 3:
        input[random() % input.size()] = letter;
        break;
    }
    for (const Options& o : options) {
      SCOPED_TRACE("input " + input + " filter " + (o.filter ? o.filter : "none") + " lengths " +
                   std::to_string(o.min_length) + "-" + std::to_string(o.max_length) +
                   " permutations " + std::to_string(o.permutations));
      // A long input has many thousands of orders: the first hundreds are compared.
      const int32_t count = short_input ? o.count : std::min(o.count, 300);
      SetLookAheadForTesting(false);
      const Phrases plain =
          Anagrams(input.c_str(), o.filter, o.min_length, o.max_length, o.permutations, count);
      SetLookAheadForTesting(true);
      for (uint32_t first_round_looks : {0u, 1u}) {
        SCOPED_TRACE("first round looks " + std::to_string(first_round_looks));
        SetLookRoundsForTesting(first_round_looks);
        EXPECT_EQ(
            Anagrams(input.c_str(), o.filter, o.min_length, o.max_length, o.permutations, count),
            plain);
      }
      SetLookRoundsForTesting(0);
    }
  }
}

// Sets of more words than a phrase can deliver: a phrase of more than 127 characters, more
// than 12 words with permutations, more words than the filter has lengths.
TEST_F(JumbleTest, WordCountLimitsOfDeliveredPhrases) {
  Phrases letters;
  for (char c = 'a'; c <= 'm'; ++c)
    letters.push_back(std::string(1, c));
  const std::string a63(63, 'a'), b63(63, 'b'), b64(64, 'b');
  const struct {
    const char* name;
    Phrases words;
    std::string input;
    const char* filter;
    int32_t permutations;
    size_t delivered;
  } cases[] = {
      {"13 words, found order", letters, "abcdefghijklm", nullptr, 0, 1},
      {"13 words, permutations", letters, "abcdefghijklm", nullptr, 1, 0},
      {"12 words, permutations", letters, "abcdefghijkl", nullptr, 1, 12},
      {"phrase of 127 characters", {a63, b63}, a63 + b63, nullptr, 0, 1},
      {"phrase of 128 characters", {a63, b64}, a63 + b64, nullptr, 0, 0},
      {"fewer lengths than words", letters, "abcd", "1-1-1", 0, 0},
      {"one length more than words", letters, "abcd", "1-1-1-1-1", 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Load(c.words);
    // At most 12 phrases: the 12-word set's orders are cut at 12.
    const int32_t count = 12;
    SetLookAheadForTesting(false);
    const Phrases plain = Anagrams(c.input.c_str(), c.filter, 0, 0, c.permutations, count);
    SetLookAheadForTesting(true);
    const Phrases ahead = Anagrams(c.input.c_str(), c.filter, 0, 0, c.permutations, count);
    EXPECT_EQ(ahead.size(), c.delivered);
    EXPECT_EQ(ahead, plain);
  }
}

// Words with equal keys go out in the order the comb sort of the candidates leaves them.
TEST_F(JumbleTest, EqualKeysInCombSortOrder) {
  std::mt19937 random(11);
  const std::string input = "aabbc";  // sorted: its own key
  for (int round = 0; round < 8; ++round) {
    Phrases words = RandomWords(random, 60, 3, 5);
    Load(words);
    std::vector<std::pair<std::string, std::string>> pairs;  // (key, word) of candidates
    for (const std::string& word : words) {
      std::string key = Key(word);
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
    for (const std::string& phrase : Anagrams(input.c_str(), nullptr, 0, 0, 0, kMany)) {
      if (phrase.find(' ') == std::string::npos) single.push_back(phrase);
    }
    EXPECT_EQ(single, expected);
  }
}

}  // namespace
