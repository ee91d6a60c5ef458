// The anagram search's look-ahead: whether the letters left can still be spelled by the
// candidate words from a position on, asked before the ordered search descends, so that it
// never walks a part of the search that holds no anagram. Not part of the engine's interface.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "anagram/cover_bound.h"
#include "anagram/make_ups.h"
#include "platform/named_event.h"

namespace jumble {

using LetterCounts = std::array<int8_t, 26>;

// A candidate word as the look-ahead sees it: its letters sorted ascending.
struct BoundWord {
  const char* key = nullptr;
  uint8_t length = 0;
  uint32_t mask = 0;  // bit k for the letter 'a' + k
};

// Answers "can at most `most_words` distinct words at positions `from` and later spell exactly
// these letters?" Never "no" when such a set exists, so the search may skip what it answers
// "no" to, and never "yes" when none does, so the search never walks a part that holds no
// anagram: a word taken in the look is not taken again below it. The answer does not depend on
// the order in which the search takes the words, so the look branches on the letter held by
// the fewest fitting words (q, x, j before e), and a look runs in rounds that try that letter's
// words in three orders in turn, each round cut short after a number of looks that grows. Below
// a word tried for that letter, the words that hold the letter and lie at or before it in the list
// are barred, so each set is looked for once, under its first such word, whatever the order of
// tries, and what a round cut short found out holds for the next. It
// refuses at once letters of which one is in no fitting word, which the longest fitting words
// cannot hold, or whose vowels and consonants no set of fitting words can hold
// (anagram/make_ups.h); with three words or more to go, also letters that no fractional cover by
// the fitting words can hold (anagram/cover_bound.h), and it never branches on a word too short for
// the longest other words to make up the rest, nor on one lighter than the cover bound's floor.
// Answers are remembered per letters, word count and bars (at most about 45 MB; past that
// they are forgotten and found again). After the stop event is seen, every answer is "yes" and
// `stopped()` holds.
class SpellingBound {
 public:
  using PackedCounts = std::array<uint64_t, 4>;  // letter counts, one byte each

  // The words at positions `from` and later that fit a search node's letters, with what the
  // cover bound tells of them (see CoverBound::Floor): a word of a set of at most k words
  // spelling the letters weighs at least `word_floor`, and with word w taken, every other word
  // at least `rest_floor` less w's weight.
  struct Node {
    std::vector<int> words;  // ascending
    std::vector<double> weights;
    double word_floor = 0;
    double rest_floor = 0;
    bool refuted = false;  // no set of the letters at all
  };

  // `words` in candidate order (a word's position is its index); the stop event is tested now
  // and then and may be null.
  SpellingBound(std::vector<BoundWord> words, platform::NamedEvent* stop);

  // A thorough look gives its first level's cover bound more steps: for the question whether
  // the request has an anagram at all.
  bool CanSpell(const LetterCounts& letters, int total, int from, int most_words,
                bool thorough = false);
  // The same, for the letters of `node` less `word`, which is among its words (and before
  // `from`), with at most `most_words` of its words: the look starts from the node's words
  // that the floors leave rather than from every word.
  bool CanSpellAfter(const Node& node, int word, const LetterCounts& letters, int total, int from,
                     int most_words);

  // Fills `node` for the letters and the words at positions `from` and later, for sets of at
  // most `most_words` words: one pass over the words and one cover bound.
  void Mark(const LetterCounts& letters, int from, int most_words, Node* node);
  // Whether `word` (a position from the node's `from` on that fits its letters) may take part in
  // a set of the node's letters.
  bool MayTake(const Node& node, int word) const;
  bool stopped() const { return stopped_; }

  // How many looks the first round of a look may take (see Look); small numbers make every
  // look run in many rounds.
  void SetFirstRoundLooksForTesting(uint32_t looks);

 private:
  // What is known of one letter multiset and word count: a set exists from every position up
  // to `yes_up_to`, and none from `no_from` on.
  struct Known {
    int yes_up_to = -1;
    int no_from = INT32_MAX;
  };
  // Answers are remembered for looks under at most this many bars on their letters (see
  // above_); a bar is kept as its letter, shifted, and its position.
  static constexpr size_t kKeyedBars = 6;
  static constexpr int kBarLetterShift = 24;
  struct Key {
    LetterCounts letters;
    int8_t words;
    std::array<int32_t, kKeyedBars> bars;  // by letter, -1 for none
    bool operator==(const Key& other) const = default;
  };
  struct LettersHash {
    size_t operator()(const LetterCounts& letters) const;
  };
  struct KeyHash {
    size_t operator()(const Key& key) const;
  };

  // A word tried as the next of a set: its place in the order of tries, its position, and its
  // weight under the cover bound's last weights (0 when the bound was not tried).
  struct Branch {
    int order;
    int word;
    double weight;
  };

  // Decide in rounds, in the two orders of tries in turn.
  bool Look(const LetterCounts& letters, int total, int from, int most_words);
  // `floor`: at levels below the first, the words of the level above weighing less than this
  // under its cover bound's weights take part in no set of these letters (see Decide).
  bool Decide(const LetterCounts& letters, int total, int from, int most_words, int level,
              double floor);
  void Remember(const Key& key, int from, bool can);

  std::vector<BoundWord> words_;
  std::vector<uint8_t> vowels_;               // of each word: a, e, i, o, u and y
  std::vector<PackedCounts> counts_;          // of each word
  std::array<std::vector<int>, 26> holding_;  // positions of the words that hold each letter
  std::array<int, 26> rarest_;                // letters by the number of words that hold them
  platform::NamedEvent* stop_;
  bool stopped_ = false;
  // Of the current round of a look: the order of tries (the heaviest words under the cover
  // bound's weights first, the longest words first, or by the share of vowels left), the looks it
  // may still take, and whether they ran out.
  bool heaviest_first_ = false;
  bool longest_first_ = false;
  uint32_t first_round_looks_;
  uint32_t looks_left_ = 0;
  bool cut_short_ = false;
  bool thorough_ = false;  // of the current look (see CanSpell)
  // After a "yes" of Decide: the set found, or remembered, also exists from every position up
  // to this one (the first position of its words), so the answer is kept for all of them.
  int reach_ = 0;
  uint32_t steps_ = 0;
  std::unordered_map<Key, Known, KeyHash> known_;
  // The last position of a word with exactly these letters, and of each word the position of
  // the word before it with the same letters (-1 when none).
  std::unordered_map<LetterCounts, int, LettersHash> last_with_letters_;
  std::vector<int> previous_same_;
  // Of each level of a look: of each letter, the position at or before which no word that
  // holds the letter may be taken (-1 for none); a level adds the bar of the letter it branched
  // on at the word it took (see Decide), and that letter.
  std::vector<std::array<int32_t, 26>> above_;
  std::vector<int> bar_letter_;
  // The fitting words of each level of the look's recursion: a level's words are those of the
  // level above that still fit, so the lists shrink as letters are used.
  std::vector<std::vector<int>> fitting_;
  std::vector<std::vector<Branch>> branches_;  // of each level
  // Each fitting word's weight under the level's cover bound weights, in the order of fitting_,
  // when the bound was tried at that level.
  std::vector<std::vector<double>> word_weights_;
  std::vector<bool> weighed_;  // whether word_weights_ of a level holds the last look's
  MakeUps make_ups_;
  CoverBound cover_;
  CoverWords cover_words_;  // the words as the cover bound weighs them
  // The cover bound's letter weights at each level: a level starts from those of the level
  // above, and the first level from those of the last look, which are usually close to what
  // refutes the letters.
  std::vector<CoverBound::Weights> weights_;
  // The words the first level of the current look starts from, when a node gives them.
  const Node* node_ = nullptr;
  int first_level_steps_ = 0;  // of the cover bound at the look's first level
  double node_floor_ = 0;
};

}  // namespace jumble
