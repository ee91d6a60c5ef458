#include "anagram/spelling_bound.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace jumble {

namespace {

// The most answers remembered at once (about 90 bytes each); when full, all are forgotten,
// which costs time, never a wrong answer.
constexpr size_t kMostKnown = size_t{1} << 19;
// Looks between two tests of the stop event. A look over many words, with the cover bound,
// takes up to a millisecond, and a test is one atomic read, so the event is tested often.
constexpr uint32_t kStepsBetweenStopTests = 8;
// A set has at most one word per letter, and requests have at most kJumbleMaxInput letters.
constexpr int kMostLevels = 128;
// Letters looked up among the words that hold them before a scan of more words than
// kScanWorthChecking.
constexpr int kRareLettersChecked = 3;
constexpr size_t kScanWorthChecking = 512;
// Words to go from which on the cover bound is tried: with two, the look is a lookup per word
// that holds the branching letter, cheaper than the bound.
constexpr int kCoverWorthTrying = 3;
// Weight adjustments the cover bound tries at a look, and at the first level of a thorough look:
// what the bound refutes there spares all below it, so the weights are given the time to settle
// (80 letters without an anagram: refuted in a tenth of the time). At a look, 24 rather than 12:
// a level refuted spares its words' levels below, which with rare letters in bulk are many (64
// requests of 80 and 100 letters, rare letters in bulk: 33 s instead of 54 s, one stopped at
// 5 s instead of six; common letters: 11% slower in all, the slowest 0.75 s instead of 1.3 s).
constexpr int kCoverSteps = 24;
constexpr int kThoroughCoverSteps = 300;
// Weight adjustments of the cover bound that marks a search range (Mark): done once for a range
// that the search then walks with a look per word it may take, so weights that have settled
// further, whose floor leaves out more words, pay for themselves (100 letters: 780 looks that
// said no, 0.38 s, became 380, 0.08 s).
constexpr int kMarkCoverSteps = 40;
// Looks (calls of Decide past the remembered answers) of a look's first round; each further three
// rounds are given twice as many. A look that finds a set finds it after a number of looks that
// varies by orders of magnitude with the order in which it tries words, and the orders are slow
// on different letters: rounds in turn, each cut short, keep a look from running on in a slow
// order (a request of 100 letters whose first anagram is far along: 5.6 s in the one order,
// 2.0 s in the other, 2.1 s in turns). A round cut short costs little more than its looks: what
// its finished levels answered is remembered for the next. The heaviest words under the cover
// bound's weights, which the fractional cover leans on, are tried first in the first round: of
// four requests of 100 common letters, the slowest took 0.46 s instead of 1.4 s. A round has half
// the looks it had with two orders, so that a turn of all three costs about what a pair did.
constexpr uint32_t kFirstRoundLooks = 4096;

constexpr int kShareSpan = 2 * kMostLevels * kMostLevels + 1;

constexpr int kVowels[] = {'a' - 'a', 'e' - 'a', 'i' - 'a', 'o' - 'a', 'u' - 'a', 'y' - 'a'};

// The letters that the `words` longest of the words counted by length, each taken once, hold
// between them.
int LongestSpan(const int (&of_length)[kMostLevels], int words) {
  int span = 0;
  for (int length = kMostLevels - 1; length > 0 && words > 0; --length) {
    const int taken = std::min(words, of_length[length]);
    words -= taken;
    span += taken * length;
  }
  return span;
}

// Whether the `words` longest of the words counted by length, each taken once, hold `total`
// letters or more between them.
bool LongestCanSpan(const int (&of_length)[kMostLevels], int words, int total) {
  for (int length = kMostLevels - 1; length > 0 && words > 0 && total > 0; --length) {
    const int taken = std::min(words, of_length[length]);
    words -= taken;
    total -= taken * length;
  }
  return total <= 0;
}

constexpr uint64_t kHighBits = 0x8080808080808080u;

// Letter counts eight to a 64-bit number, so that a word's fit is four subtractions.
SpellingBound::PackedCounts Pack(const LetterCounts& letters) {
  SpellingBound::PackedCounts packed{};
  std::memcpy(packed.data(), letters.data(), letters.size());
  return packed;
}

// Whether every count of `word` is at most that of `letters` (counts below 128): with the high
// bit set in each byte of `letters`, a byte of the difference keeps it exactly when the
// letters' count is not below the word's, and no byte borrows from the next.
bool Fits(const SpellingBound::PackedCounts& word, const SpellingBound::PackedCounts& letters) {
  uint64_t kept = kHighBits;
  for (size_t n = 0; n < word.size(); ++n)
    kept &= (letters[n] | kHighBits) - word[n];
  return kept == kHighBits;
}

}  // namespace

size_t SpellingBound::KeyHash::operator()(const Key& key) const {
  size_t hash = LettersHash()(key.letters) * 131 + static_cast<uint8_t>(key.words);
  for (int32_t bar : key.bars)
    hash = hash * 1000003 + static_cast<uint32_t>(bar);
  return hash;
}

size_t SpellingBound::LettersHash::operator()(const LetterCounts& letters) const {
  uint64_t parts[4] = {};
  std::memcpy(parts, letters.data(), letters.size());
  uint64_t hash = 0x9e3779b97f4a7c15u;
  for (uint64_t part : parts) {
    hash = (hash ^ part) * 0xbf58476d1ce4e5b9u;
    hash ^= hash >> 31;
  }
  return static_cast<size_t>(hash);
}

SpellingBound::SpellingBound(std::vector<BoundWord> words, platform::NamedEvent* stop)
    : words_(std::move(words)),
      vowels_(words_.size()),
      counts_(words_.size()),
      stop_(stop),
      first_round_looks_(kFirstRoundLooks),
      above_(kMostLevels + 1),
      bar_letter_(kMostLevels + 1),
      fitting_(kMostLevels + 1),
      branches_(kMostLevels + 1),
      word_weights_(kMostLevels + 1),
      weighed_(kMostLevels + 1),
      weights_(kMostLevels + 1) {
  weights_[0].fill(1.0);
  for (size_t n = 0; n < words_.size(); ++n) {
    LetterCounts letters{};
    for (int j = 0; j < words_[n].length; ++j)
      ++letters[words_[n].key[j] - 'a'];
    counts_[n] = Pack(letters);
    cover_words_.Add(words_[n].key, words_[n].length);
    const auto [last, first] = last_with_letters_.try_emplace(letters, static_cast<int>(n));
    previous_same_.push_back(first ? -1 : last->second);
    last->second = static_cast<int>(n);
    for (uint32_t bits = words_[n].mask; bits != 0; bits &= bits - 1)
      holding_[__builtin_ctz(bits)].push_back(static_cast<int>(n));
    for (int k : kVowels)
      vowels_[n] += static_cast<uint8_t>(
          std::count(words_[n].key, words_[n].key + words_[n].length, 'a' + k));
  }
  for (int k = 0; k < 26; ++k)
    rarest_[k] = k;
  std::stable_sort(rarest_.begin(), rarest_.end(),
                   [&](int a, int b) { return holding_[a].size() < holding_[b].size(); });
}

bool SpellingBound::CanSpell(const LetterCounts& letters, int total, int from, int most_words,
                             bool thorough) {
  node_ = nullptr;
  thorough_ = thorough;
  const bool can = Look(letters, total, from, most_words);
  thorough_ = false;
  return can;
}

void SpellingBound::SetFirstRoundLooksForTesting(uint32_t looks) {
  first_round_looks_ = std::max<uint32_t>(looks, 1);
}

// Rounds of Decide in the three orders of tries in turn, each given a number of looks, until one
// ends within its looks. A round cut short answers nothing and remembers nothing of its unfinished
// levels, so the answer is that of a look without rounds.
bool SpellingBound::Look(const LetterCounts& letters, int total, int from, int most_words) {
  uint32_t looks = first_round_looks_;
  for (int round = 0;; ++round) {
    above_[0].fill(-1);
    bar_letter_[0] = -1;
    // A thorough look's first level is given its many cover bound steps in the first round;
    // later rounds start from the weights they settled on.
    first_level_steps_ = thorough_ && round == 0 ? kThoroughCoverSteps : kCoverSteps;
    heaviest_first_ = round % 3 == 0;
    longest_first_ = round % 3 == 1;
    looks_left_ = looks;
    cut_short_ = false;
    const bool can = Decide(letters, total, from, most_words, 0, -HUGE_VAL);
    if (!cut_short_ || stopped_) {
      cut_short_ = false;
      return can;
    }
    if (round % 3 == 2 && looks < UINT32_MAX / 2) looks *= 2;
  }
}

// Any set of the letters left after `word` joins `word` in a set of the node's letters, so its
// words are among the node's words and weigh at least the rest floor less `word`'s weight: the
// first level's list still holds every word of every such set, and what it remembers holds.
bool SpellingBound::CanSpellAfter(const Node& node, int word, const LetterCounts& letters,
                                  int total, int from, int most_words) {
  const auto at = std::lower_bound(node.words.begin(), node.words.end(), word);
  if (node.refuted || at == node.words.end() || *at != word) {
    node_ = nullptr;
    return Look(letters, total, from, most_words);
  }
  node_ = &node;
  node_floor_ = node.rest_floor - node.weights[at - node.words.begin()];
  const bool can = Look(letters, total, from, most_words);
  node_ = nullptr;
  return can;
}

void SpellingBound::Mark(const LetterCounts& letters, int from, int most_words, Node* node) {
  const PackedCounts packed = Pack(letters);
  uint32_t mask = 0;
  for (int k = 0; k < 26; ++k) {
    if (letters[k] > 0) mask |= 1u << k;
  }
  node->words.clear();
  for (int index = from; index < static_cast<int>(words_.size()); ++index) {
    if ((words_[index].mask & ~mask) == 0 && Fits(counts_[index], packed))
      node->words.push_back(index);
  }
  CoverBound::Weights weights = weights_[0];
  node->refuted = cover_.Refutes(letters, node->words, cover_words_, most_words, kMarkCoverSteps,
                                 &weights, &node->weights);
  node->word_floor = node->refuted ? HUGE_VAL : cover_.Floor(most_words - 1);
  node->rest_floor = node->refuted ? HUGE_VAL : cover_.Floor(most_words - 2);
}

bool SpellingBound::MayTake(const Node& node, int word) const {
  if (node.refuted) return false;
  const auto at = std::lower_bound(node.words.begin(), node.words.end(), word);
  return at == node.words.end() || *at != word ||
         node.weights[at - node.words.begin()] >= node.word_floor;
}

bool SpellingBound::Decide(const LetterCounts& letters, int total, int from, int most_words,
                           int level, double floor) {
  if (total == 0) {
    reach_ = INT32_MAX;
    return true;
  }
  if (most_words <= 0 || from >= static_cast<int>(words_.size())) return false;
  // After the stop event, or when the round is cut short, the answer is "yes": the search
  // walks on (and stops), or the next round asks again.
  if (stopped_ || cut_short_) return true;
  // A word that holds a letter must lie above that letter's bar (see above_).
  const std::array<int32_t, 26>& barred = above_[level];
  auto is_allowed = [&](int index) {
    for (uint32_t bits = words_[index].mask; bits != 0; bits &= bits - 1) {
      if (index <= barred[__builtin_ctz(bits)]) return false;
    }
    return true;
  };
  // The letters left may be one word's: no search needed, and for one word the only answer.
  auto is_one_word = [&] {
    const auto whole = last_with_letters_.find(letters);
    if (whole == last_with_letters_.end()) return false;
    int at = whole->second;
    while (at >= from && !is_allowed(at))
      at = previous_same_[at];
    if (at < from) return false;
    reach_ = at;
    return true;
  };
  if (most_words == 1) return is_one_word();
  // More words than letters never helps, so every such count shares its answers.
  Key key{letters, static_cast<int8_t>(std::min({most_words, total, kMostLevels - 1})), {}};
  // The bars of the letters left: those of other letters bar only words that do not fit.
  key.bars.fill(-1);
  size_t bars = 0;
  for (int k = 0; k < 26; ++k) {
    if (letters[k] == 0 || barred[k] < 0) continue;
    if (bars < kKeyedBars) key.bars[bars] = (k << kBarLetterShift) | barred[k];
    ++bars;
  }
  // A bar's position must fit below its letter in the key (lists of up to 16 million words).
  const bool keyed = bars <= kKeyedBars && words_.size() <= (size_t{1} << kBarLetterShift);
  const auto known = keyed ? known_.find(key) : known_.end();
  if (known != known_.end()) {
    if (from <= known->second.yes_up_to) {
      reach_ = known->second.yes_up_to;
      return true;
    }
    if (from >= known->second.no_from) return false;
  }
  if (is_one_word()) {
    if (keyed) Remember(key, reach_, true);
    return true;
  }
  if (++steps_ % kStepsBetweenStopTests == 0 && platform::TestNamedEvent(stop_)) {
    stopped_ = true;
    return true;
  }
  if (--looks_left_ == 0) {
    cut_short_ = true;
    return true;
  }

  const PackedCounts packed = Pack(letters);
  // Before a long scan, the rarest letters left are each looked up among the words that hold
  // them: one that no fitting word holds ends the look at once.
  const size_t to_scan = level == 0 ? words_.size() - from : fitting_[level - 1].size();
  int checked = to_scan > kScanWorthChecking ? 0 : kRareLettersChecked;
  for (int k : rarest_) {
    if (letters[k] == 0) continue;
    if (checked++ == kRareLettersChecked) break;
    const std::vector<int>& holding = holding_[k];
    bool held = false;
    for (auto at = std::lower_bound(holding.begin(), holding.end(), from);
         at != holding.end() && !held; ++at) {
      held = Fits(counts_[*at], packed);
    }
    if (!held) {
      if (!stopped_ && keyed) Remember(key, from, false);
      return false;
    }
  }

  // The words that fit the letters, from the list of the level above (the same position on,
  // and more letters), or from every word at the first level.
  uint32_t mask = 0;
  for (int k = 0; k < 26; ++k) {
    if (letters[k] > 0) mask |= 1u << k;
  }
  std::vector<int>& fitting = fitting_[level];
  fitting.clear();
  int covering[26] = {};
  int of_length[kMostLevels] = {};  // fitting words of each length
  make_ups_.Clear();
  // The words of the level above lie above its bars; this level adds one.
  const int bar_letter = bar_letter_[level];
  const int bar_at = bar_letter >= 0 ? barred[bar_letter] : -1;
  auto consider = [&](int index) {
    const BoundWord& word = words_[index];
    if ((word.mask & ~mask) != 0 || !Fits(counts_[index], packed)) return;
    if (bar_letter >= 0 && index <= bar_at && (word.mask & (1u << bar_letter)) != 0) return;
    fitting.push_back(index);
    for (uint32_t bits = word.mask; bits != 0; bits &= bits - 1)
      ++covering[__builtin_ctz(bits)];
    ++of_length[word.length];
    make_ups_.Add(vowels_[index], word.length - vowels_[index]);
  };
  if (level == 0 && node_ != nullptr) {
    const std::vector<int>& words = node_->words;
    for (size_t n = std::lower_bound(words.begin(), words.end(), from) - words.begin();
         n < words.size(); ++n) {
      if (node_->weights[n] >= node_floor_) consider(words[n]);
    }
  } else if (level == 0) {
    for (int index = from; index < static_cast<int>(words_.size()); ++index)
      consider(index);
  } else if (weighed_[level - 1] && floor > -HUGE_VAL) {
    const std::vector<int>& above = fitting_[level - 1];
    const std::vector<double>& weights = word_weights_[level - 1];
    for (size_t n = 0; n < above.size(); ++n) {
      if (weights[n] >= floor) consider(above[n]);
    }
  } else {
    for (int index : fitting_[level - 1])
      consider(index);
  }
  weighed_[level] = false;

  // Every letter needs a word that holds it; the letter with the fewest such words is the one
  // to branch on. The longest words, each once, must hold enough letters between them.
  int chosen = -1;
  for (int k = 0; k < 26; ++k) {
    if (letters[k] == 0) continue;
    if (chosen < 0 || covering[k] < covering[chosen] ||
        (covering[k] == covering[chosen] && letters[k] > letters[chosen])) {
      chosen = k;
    }
  }
  int vowels = 0;
  for (int k : kVowels)
    vowels += letters[k];
  const int consonants = total - vowels;
  bool can = covering[chosen] > 0 && LongestCanSpan(of_length, key.words, total) &&
             make_ups_.CanMake(vowels, consonants);
  // Under the cover bound's last weights, a word of a set of k words weighs at least the
  // letters less the k-1 heaviest words, and a word of the rest after word w at least the
  // letters less w less the k-2 heaviest: lighter words are neither tried here nor passed on.
  double word_floor = -HUGE_VAL;
  double rest_floor = -HUGE_VAL;
  if (can && key.words >= kCoverWorthTrying) {
    if (level > 0) weights_[level] = weights_[level - 1];
    can = !cover_.Refutes(letters, fitting, cover_words_, key.words,
                          level == 0 ? first_level_steps_ : kCoverSteps, &weights_[level],
                          &word_weights_[level]);
    if (can) {
      weighed_[level] = true;
      word_floor = cover_.Floor(key.words - 1);
      rest_floor = cover_.Floor(key.words - 2);
    }
  }
  if (can) {
    can = false;
    // Words that leave the rest with the share of vowels of the whole are tried first: a word
    // with more consonants per vowel than the letters hold leaves a rest easier to spell.
    std::vector<Branch>& branches = branches_[level];
    branches.clear();
    // The other words of a set are among these fitting words: a word too short for the
    // longest of them to make up the rest takes part in no set.
    const int rest_span = LongestSpan(of_length, key.words - 1);
    for (size_t n = 0; n < fitting.size(); ++n) {
      const int index = fitting[n];
      const BoundWord& word = words_[index];
      if ((word.mask & (1u << chosen)) == 0 || word.length + rest_span < total) continue;
      const double weight = weighed_[level] ? word_weights_[level][n] : 0;
      if (weight < word_floor) continue;
      const int word_vowels = vowels_[index];
      const int share = (word.length - word_vowels) * vowels - word_vowels * consonants;
      // Shares lie within +-(128 * 128); the longest words first, by share among equal lengths.
      const int order = longest_first_ ? -share - word.length * kShareSpan : -share;
      branches.push_back({order, index, weight});
    }
    // Without the cover bound's weights (two words to go), the heaviest order is that of vowels.
    if (heaviest_first_ && weighed_[level]) {
      std::stable_sort(branches.begin(), branches.end(),
                       [](const Branch& a, const Branch& b) { return a.weight > b.weight; });
    } else {
      std::stable_sort(branches.begin(), branches.end(),
                       [](const Branch& a, const Branch& b) { return a.order < b.order; });
    }
    // A set of these letters holds words that hold the chosen letter, and it is looked for
    // under the first of them in list order: below a word, the words that hold the chosen letter
    // and lie at or before it are barred. So no set is looked for twice, in the words tried
    // before or after, and the word itself is not taken again.
    for (size_t n = 0; n < branches.size() && !can; ++n) {
      const BoundWord& word = words_[branches[n].word];
      LetterCounts left = letters;
      for (int j = 0; j < word.length; ++j)
        --left[word.key[j] - 'a'];
      above_[level + 1] = barred;
      above_[level + 1][chosen] = branches[n].word;
      bar_letter_[level + 1] = chosen;
      const double floor_after =
          rest_floor > -HUGE_VAL ? rest_floor - branches[n].weight : -HUGE_VAL;
      can = Decide(left, total - word.length, from, key.words - 1, level + 1, floor_after);
      if (can) reach_ = std::min(reach_, branches[n].word);
    }
  }
  if (!stopped_ && !cut_short_ && keyed) Remember(key, can ? reach_ : from, can);
  return can;
}

void SpellingBound::Remember(const Key& key, int from, bool can) {
  if (known_.size() >= kMostKnown && known_.find(key) == known_.end()) known_.clear();
  Known& known = known_[key];
  if (can) {
    known.yes_up_to = std::max(known.yes_up_to, from);
  } else {
    known.no_from = std::min(known.no_from, from);
  }
}

}  // namespace jumble
