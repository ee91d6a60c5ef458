// A request of the anagram engine: the process-wide settings, the candidate pass over the list,
// and the ordered search that delivers the phrases.
#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "anagram/jumble.h"
#include "anagram/jumble_engine.h"
#include "anagram/jumble_testing.h"
#include "anagram/spelling_bound.h"
#include "engine/text_helpers.h"
#include "platform/named_event.h"
#include "platform/program_names.h"

namespace {

using jumble::ListedWord;

constexpr size_t kLongestFilterPart = 31;
constexpr int kMostPermutedWords = 12;  // 13! does not fit the signed 32-bit order count
constexpr int kManyFilterLengths = 5;   // more lengths than this: found order only
// A search range of at least this many candidates, with at least this many words and letters
// to go, is marked before it is walked (SpellingBound::Mark). With fewer letters the looks are
// cheap and nearly all say yes, and marking would cost more than it spares.
constexpr int kRangeWorthMarking = 64;
constexpr int kWordsWorthMarking = 3;
constexpr int kLettersWorthMarking = 24;

// Process-wide settings, shared by every engine and updated by every request.
std::atomic<int32_t> g_min_length{0};
std::atomic<int32_t> g_max_length{128};
std::atomic<int32_t> g_max_anagrams{0};
std::atomic<bool> g_permutations{false};
std::atomic<bool> g_look_ahead{true};
std::atomic<uint32_t> g_first_round_looks{0};  // 0: the look-ahead's own

// Cuts a filter at each of `separators` into lengths; false when a part has 32 characters or
// more, which makes the filter unusable.
bool ParseLengths(std::string_view filter, std::string_view separators,
                  std::vector<int32_t>* lengths) {
  lengths->clear();
  size_t start = 0;
  while (true) {
    size_t end = filter.find_first_of(separators, start);
    std::string_view part =
        filter.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (part.size() > kLongestFilterPart) return false;
    lengths->push_back(engine::LeadingDigitsValue(part));
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

// A word that can take part in an anagram, with its key (its letters sorted ascending).
struct Candidate {
  const char* word = nullptr;
  uint32_t key = 0;  // offset of the key in Request::keys
  uint8_t length = 0;
  uint32_t mask = 0;
  uint64_t prefix = 0;  // the first eight key bytes, big-endian, zero-padded
};

using jumble::LetterCounts;

// One GenerateAnagrams call: its letters, filter, candidates and search.
class Request {
 public:
  Request(JumbleEngine* engine, AnagramCallback callback, void* context)
      : engine_(engine), callback_(callback), context_(context) {}

  void Run(const char* input, const char* filter);

 private:
  bool PrepareCandidates();
  bool KeyLess(const Candidate& a, const Candidate& b) const;
  void CombSortCandidates();
  void PrepareLookAhead();
  void Search(const LetterCounts& remaining, int remaining_total, int start, int depth);
  void SearchFrom(const LetterCounts& remaining, int remaining_total, int start, int depth);
  void Complete(int depth);
  bool FilterFitsCount(size_t words) const;
  bool FitsFilter(const std::vector<int>& order) const;
  void Deliver(const std::vector<int>& order);

  JumbleEngine* engine_;
  AnagramCallback callback_;
  void* context_;

  int32_t min_length_ = 0;
  int32_t max_length_ = 0;
  int32_t max_anagrams_ = 0;
  bool permutations_ = false;

  LetterCounts letters_{};
  int letter_total_ = 0;
  uint32_t letter_mask_ = 0;

  bool has_filter_ = false;
  bool filter_usable_ = false;
  std::vector<int32_t> filter_lengths_;  // cut at '-': which words may be candidates
  bool match_usable_ = false;
  std::vector<int32_t> match_lengths_;  // cut at '-' and ',': which orders fit

  std::vector<char> keys_;
  std::vector<Candidate> candidates_;
  int first_[26];
  int last_[26];

  // Phrases of more words than this are never delivered (too long, too many orders, or more
  // words than the filter has lengths), so the search does not build them.
  int most_words_ = 0;
  // Asked before the search descends: a part of the search in which the letters left cannot be
  // spelled in few enough words is skipped, which changes neither the phrases nor their order.
  std::unique_ptr<jumble::SpellingBound> look_ahead_;
  // A filter of many lengths fits only the found order: the word at each depth must have the
  // length of the filter's part at that position.
  bool lengths_by_position_ = false;

  // Of each depth: the candidates that fit its letters, marked (SpellingBound::Mark) when its
  // range is long and several words are to go.
  std::vector<jumble::SpellingBound::Node> nodes_;
  std::vector<int> current_;  // candidate positions of the words under construction
  std::string phrase_;
  int32_t delivered_ = 0;
  bool ended_ = false;
};

void Request::Run(const char* input, const char* filter) {
  min_length_ = g_min_length.load();
  max_length_ = g_max_length.load();
  max_anagrams_ = g_max_anagrams.load();
  permutations_ = g_permutations.load();

  // Letters: 'a' to 'z' only; capitals and everything else are dropped, not folded. Only
  // the first kJumbleMaxInput characters of the input are read.
  size_t input_length = input == nullptr ? 0 : strnlen(input, kJumbleMaxInput);
  for (size_t i = 0; i < input_length; ++i) {
    char c = input[i];
    if (engine::IsAsciiLower(c)) {
      ++letters_[c - 'a'];
      ++letter_total_;
      letter_mask_ |= 1u << (c - 'a');
    }
  }

  has_filter_ = filter != nullptr;
  if (has_filter_) {
    filter_usable_ = ParseLengths(filter, "-", &filter_lengths_);
    match_usable_ = ParseLengths(filter, "-,", &match_lengths_);
  }

  if (letter_total_ == 0 || !PrepareCandidates() || candidates_.empty()) return;

  // Keys, then the key order, then the letter index.
  keys_.reserve(4096);
  for (Candidate& candidate : candidates_) {
    int counts[26] = {};
    for (int i = 0; i < candidate.length; ++i)
      ++counts[candidate.word[i] - 'a'];
    candidate.key = static_cast<uint32_t>(keys_.size());
    for (int k = 0; k < 26; ++k)
      keys_.insert(keys_.end(), counts[k], static_cast<char>('a' + k));
  }
  for (Candidate& candidate : candidates_) {
    const char* key = keys_.data() + candidate.key;
    for (int i = 0; i < 8; ++i) {
      candidate.prefix <<= 8;
      if (i < candidate.length) candidate.prefix |= static_cast<unsigned char>(key[i]);
    }
  }
  CombSortCandidates();
  std::fill(std::begin(first_), std::end(first_), -1);
  std::fill(std::begin(last_), std::end(last_), -2);
  for (size_t i = 0; i < candidates_.size(); ++i) {
    int k = keys_[candidates_[i].key] - 'a';
    if (first_[k] < 0) first_[k] = static_cast<int>(i);
    last_[k] = static_cast<int>(i);
  }

  current_.assign(letter_total_, 0);
  nodes_.resize(letter_total_);
  if (g_look_ahead.load()) {
    PrepareLookAhead();
    if (!look_ahead_->CanSpell(letters_, letter_total_, 0, most_words_, true)) return;
    if (look_ahead_->stopped()) return;
  }
  int smallest = 0;
  while (letters_[smallest] == 0)
    ++smallest;
  Search(letters_, letter_total_, first_[smallest], 0);
}

// The limits a delivered phrase sets on the words of a set, and the look-ahead over the
// candidates in their search order.
void Request::PrepareLookAhead() {
  // A phrase is its letters and a space between words, at most kJumbleMaxInput characters.
  most_words_ = kJumbleMaxInput + 1 - letter_total_;
  const bool found_order_only = has_filter_ && filter_lengths_.size() > kManyFilterLengths;
  if (permutations_ && !found_order_only) most_words_ = std::min(most_words_, kMostPermutedWords);
  if (has_filter_) {
    most_words_ = match_usable_ ? std::min<int>(most_words_, match_lengths_.size()) : 0;
  }
  lengths_by_position_ = found_order_only;
  std::vector<jumble::BoundWord> words;
  words.reserve(candidates_.size());
  for (const Candidate& candidate : candidates_)
    words.push_back({keys_.data() + candidate.key, candidate.length, candidate.mask});
  look_ahead_ = std::make_unique<jumble::SpellingBound>(std::move(words), engine_->stop);
  if (const uint32_t looks = g_first_round_looks.load(); looks > 0)
    look_ahead_->SetFirstRoundLooksForTesting(looks);
}

// The candidate pass over the list in list order. False when the stop event ended it.
bool Request::PrepareCandidates() {
  const bool check_lengths = min_length_ > 0 && max_length_ > 0;
  std::unordered_set<std::string_view> seen;
  for (const ListedWord& listed : engine_->listed) {
    if (platform::TestNamedEvent(engine_->stop)) return false;
    // A word with a space, a digit or any other character but 'a' to 'z' cannot be spelled
    // from the letters, so `plain` stands for the space, digit and subtraction tests.
    if (!listed.plain) continue;
    int length = listed.length;
    const char* word = engine_->words.data() + listed.offset;
    if (check_lengths) {
      if (length < min_length_ || length > max_length_) continue;
      if (min_length_ == 1 && length == 1 && word[0] != 'a' && word[0] != 'i') continue;
    }
    if (has_filter_) {
      if (!filter_usable_) continue;
      if (std::find(filter_lengths_.begin(), filter_lengths_.end(), length) ==
          filter_lengths_.end()) {
        continue;
      }
    }
    if (length > letter_total_ || (listed.mask & ~letter_mask_) != 0) continue;
    LetterCounts left = letters_;
    bool fits = true;
    for (int i = 0; i < length && fits; ++i)
      fits = --left[word[i] - 'a'] >= 0;
    if (!fits) continue;
    // A word listed twice takes part once: a set never holds the same word twice and is
    // never delivered twice.
    if (!seen.insert(std::string_view(word, length)).second) continue;
    Candidate candidate;
    candidate.word = word;
    candidate.length = static_cast<uint8_t>(length);
    candidate.mask = listed.mask;
    candidates_.push_back(candidate);
  }
  return true;
}

// Keys compare as strings of unsigned bytes; a key that is a prefix of another sorts first.
bool Request::KeyLess(const Candidate& a, const Candidate& b) const {
  if (a.prefix != b.prefix) return a.prefix < b.prefix;
  int common = std::min(a.length, b.length);
  if (common > 8) {
    int order = std::memcmp(keys_.data() + a.key + 8, keys_.data() + b.key + 8, common - 8);
    if (order != 0) return order < 0;
  }
  return a.length < b.length;
}

// The comb sort decides the order of words with equal keys, and with it the delivery order,
// so it is kept as it is rather than replaced by a library sort.
void Request::CombSortCandidates() {
  size_t n = candidates_.size();
  size_t gap = n;
  bool exchanged = true;
  while (gap > 1 || exchanged) {
    gap = std::max<size_t>(gap * 10 / 13, 1);
    exchanged = false;
    for (size_t j = 0; j + gap < n; ++j) {
      if (KeyLess(candidates_[j + gap], candidates_[j])) {
        std::swap(candidates_[j], candidates_[j + gap]);
        exchanged = true;
      }
    }
  }
}

void Request::Search(const LetterCounts& remaining, int remaining_total, int start, int depth) {
  if (delivered_ >= max_anagrams_) {
    ended_ = true;
    return;
  }
  SearchFrom(remaining, remaining_total, start, depth);
}

void Request::SearchFrom(const LetterCounts& remaining, int remaining_total, int start, int depth) {
  int smallest = 0;
  uint32_t mask = 0;
  for (int k = 25; k >= 0; --k) {
    if (remaining[k] > 0) {
      smallest = k;
      mask |= 1u << k;
    }
  }
  const int end = last_[smallest];
  const int begin = std::max(start, first_[smallest]);
  // Over a long range with several words to go, one pass marks the candidates that may take
  // part in a set at all: the others are passed over without a look, and the looks after the
  // others start from the words it found.
  const jumble::SpellingBound::Node* node = nullptr;
  if (look_ahead_ != nullptr && end - begin >= kRangeWorthMarking &&
      most_words_ - depth >= kWordsWorthMarking && remaining_total >= kLettersWorthMarking) {
    look_ahead_->Mark(remaining, begin, most_words_ - depth, &nodes_[depth]);
    node = &nodes_[depth];
    if (node->refuted) return;
  }
  for (int i = begin; i <= end; ++i) {
    if (platform::TestNamedEvent(engine_->stop)) {
      ended_ = true;
      return;
    }
    const Candidate& candidate = candidates_[i];
    if ((candidate.mask & ~mask) != 0) continue;
    if (node != nullptr && !look_ahead_->MayTake(*node, i)) continue;
    if (lengths_by_position_ && (depth >= static_cast<int>(match_lengths_.size()) ||
                                 candidate.length != match_lengths_[depth])) {
      continue;
    }
    // Candidates are distinct words and later words come from later positions, so no word
    // repeats within a set.
    LetterCounts left = remaining;
    const char* key = keys_.data() + candidate.key;
    bool fits = true;
    for (int j = 0; j < candidate.length && fits; ++j)
      fits = --left[key[j] - 'a'] >= 0;
    if (!fits) continue;
    current_[depth] = i;
    int left_total = remaining_total - candidate.length;
    if (left_total == 0) {
      Complete(depth);
    } else if (look_ahead_ == nullptr ||
               (node != nullptr
                    ? look_ahead_->CanSpellAfter(*node, i, left, left_total, i + 1,
                                                 most_words_ - depth - 1)
                    : look_ahead_->CanSpell(left, left_total, i + 1, most_words_ - depth - 1))) {
      Search(left, left_total, i + 1, depth + 1);
    }
    if (look_ahead_ != nullptr && look_ahead_->stopped()) ended_ = true;
    if (ended_) return;
  }
}

// Whether the filter can fit a set of `words` words: it has as many lengths, or one more,
// which is not compared.
bool Request::FilterFitsCount(size_t words) const {
  return match_usable_ && (match_lengths_.size() == words || match_lengths_.size() == words + 1);
}

// Whether the words in `order` have, position by position, the filter's lengths.
bool Request::FitsFilter(const std::vector<int>& order) const {
  if (!FilterFitsCount(order.size())) return false;
  for (size_t p = 0; p < order.size(); ++p) {
    if (candidates_[current_[order[p]]].length != match_lengths_[p]) return false;
  }
  return true;
}

void Request::Deliver(const std::vector<int>& order) {
  phrase_.clear();
  for (int index : order) {
    if (!phrase_.empty()) phrase_ += ' ';
    const Candidate& candidate = candidates_[current_[index]];
    phrase_.append(candidate.word, candidate.length);
  }
  if (phrase_.size() > static_cast<size_t>(kJumbleMaxInput)) return;
  if (callback_ == nullptr) return;
  callback_(phrase_.c_str(), context_);
  if (++delivered_ >= max_anagrams_) ended_ = true;
}

void Request::Complete(int depth) {
  int n = depth + 1;
  std::vector<int> order(n);
  for (int i = 0; i < n; ++i)
    order[i] = i;

  if (has_filter_ && filter_lengths_.size() > kManyFilterLengths) {
    if (FitsFilter(order)) Deliver(order);
    return;
  }
  // No order can fit a filter with the wrong number of lengths; deciding it here spares
  // walking up to 12! orders in vain.
  if (has_filter_ && !FilterFitsCount(order.size())) return;
  // Orders are the arrangements of the found order in lexicographic order; their count is a
  // signed 32-bit number, so a set of more than 12 words has none.
  if (permutations_) {
    if (n > kMostPermutedWords) return;
    do {
      // A set of 12 words has 12! orders: a stop must be seen between them, not only after.
      if (platform::TestNamedEvent(engine_->stop)) {
        ended_ = true;
        return;
      }
      if (!has_filter_ || FitsFilter(order)) Deliver(order);
      if (ended_) return;
    } while (std::next_permutation(order.begin(), order.end()));
    return;
  }
  if (!has_filter_ || FitsFilter(order)) {
    Deliver(order);
    return;
  }
  if (n > kMostPermutedWords) return;
  while (std::next_permutation(order.begin(), order.end())) {
    if (FitsFilter(order)) {
      Deliver(order);
      return;
    }
  }
}

}  // namespace

void GenerateAnagrams(JumbleEngine* engine, const char* input, const char* filter,
                      AnagramCallback callback, void* context, int32_t min_length,
                      int32_t max_length, int32_t permutations, int32_t max_anagrams) {
  if (engine == nullptr) return;
  if (min_length >= 0) g_min_length.store(min_length);
  if (max_length >= 0) g_max_length.store(max_length);
  if (max_anagrams >= 0) g_max_anagrams.store(max_anagrams);
  g_permutations.store(permutations != 0);

  // The working state lives in the call, so a request that ended early leaves nothing for
  // the next one to trip over. Running out of memory ends the request; what was delivered
  // stays delivered.
  try {
    Request request(engine, callback, context);
    request.Run(input, filter);
  } catch (const std::bad_alloc&) {
  }
}

void SetLookAheadForTesting(bool on) {
  g_look_ahead.store(on);
}

void SetLookRoundsForTesting(uint32_t first_round_looks) {
  g_first_round_looks.store(first_round_looks);
}
