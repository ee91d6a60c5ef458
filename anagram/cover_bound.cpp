#include "anagram/cover_bound.h"

#include <algorithm>
#include <cmath>

namespace jumble {

namespace {

// What the letters must outweigh the heaviest words by, relative to their weight, to count as
// proof: far above the rounding of sums of a few hundred terms.
constexpr double kMargin = 1e-9;
// How many times more fitting words than heaviest words make keeping the heaviest in order as
// they come cheaper than picking them out at the end.
constexpr size_t kFewOfMany = 8;
// Steps without the letters coming closer to outweighing the heaviest words after which a long
// run of steps stops.
constexpr int kPatience = 16;
// Runs of at least this many steps over at least this many words weigh most steps only the
// contenders for the heaviest words, about one word in kContenderShare.
constexpr int kLongRun = 100;
constexpr size_t kManyWords = 4096;
constexpr size_t kContenderShare = 8;

}  // namespace

void CoverWords::Add(const char* key, int length) {
  starts_.push_back(static_cast<uint32_t>(letters_.size()));
  lengths_.push_back(static_cast<uint8_t>(length));
  for (int j = 0; j < length; ++j)
    letters_.push_back(static_cast<uint8_t>(key[j] - 'a'));
  letters_.resize(
      starts_.back() + static_cast<size_t>(groups(static_cast<int>(size()) - 1)) * kGroup, kNone);
}

// Weighs the words at the positions `at` of `fitting` (every position when null; `count` of
// them, ascending) under `padded`, into `sums` when not null, and keeps in heaviest_ the `taken`
// heaviest of positive weight, the earlier of equal weights first, heaviest first when `few`.
void CoverBound::Weigh(const std::vector<int>& fitting, const int* at, size_t count,
                       const CoverWords& words, const Padded& padded, size_t taken, bool few,
                       double* sums) {
  heaviest_.clear();
  double lightest_kept = 0;
  for (size_t c = 0; c < count; ++c) {
    const size_t n = at != nullptr ? static_cast<size_t>(at[c]) : c;
    const int word = fitting[n];
    const uint8_t* letter = words.letters(word);
    double sum = 0;
    // Written out: a group is the same eight additions for every word.
    static_assert(CoverWords::kGroup == 8);
    for (int group = words.groups(word); group > 0; --group, letter += CoverWords::kGroup) {
      sum += padded[letter[0]];
      sum += padded[letter[1]];
      sum += padded[letter[2]];
      sum += padded[letter[3]];
      sum += padded[letter[4]];
      sum += padded[letter[5]];
      sum += padded[letter[6]];
      sum += padded[letter[7]];
    }
    if (sums != nullptr) sums[n] = sum;
    // A set is better off without a word of no positive weight; once the few heaviest are
    // found, a word must outweigh the lightest of them. One test, seldom passed, for both.
    if (sum <= lightest_kept) continue;
    if (!few) {
      heaviest_.emplace_back(sum, word);
      continue;
    }
    if (heaviest_.size() == taken) heaviest_.pop_back();
    auto place = heaviest_.end();
    while (place != heaviest_.begin() && (place - 1)->first < sum)
      --place;
    heaviest_.emplace(place, sum, word);
    if (heaviest_.size() == taken) lightest_kept = heaviest_.back().first;
  }
  if (!few && heaviest_.size() > taken) {
    std::nth_element(heaviest_.begin(), heaviest_.begin() + (taken - 1), heaviest_.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    heaviest_.resize(taken);
  }
}

// After a pass over every word (weights in `sums`): the contenders, the words that may still be
// among the heaviest while no letter's weight moves by more than the returned reach. A word of
// the heaviest loses at most its length times the reach, so the lightest of them still weighs at
// least `*cutoff`; a word whose weight plus its length times the reach stays below that cannot
// join them. The reach is chosen so that about one word in kContenderShare contends.
double CoverBound::ChooseContenders(const std::vector<int>& fitting, const CoverWords& words,
                                    const double* sums, double* cutoff) {
  int longest = 0;
  for (const auto& [sum, word] : heaviest_)
    longest = std::max(longest, words.length(word));
  const double lightest = heaviest_.back().first;
  // The reach at which each word would contend.
  reaches_.resize(fitting.size());
  for (size_t n = 0; n < fitting.size(); ++n)
    reaches_[n] = (lightest - sums[n]) / (words.length(fitting[n]) + longest);
  order_.assign(reaches_.begin(), reaches_.end());
  const size_t share = fitting.size() / kContenderShare;
  std::nth_element(order_.begin(), order_.begin() + share, order_.end());
  const double reach = std::max(order_[share], 0.0);
  contenders_.clear();
  for (size_t n = 0; n < fitting.size(); ++n) {
    if (reaches_[n] <= reach) contenders_.push_back(static_cast<int>(n));
  }
  *cutoff = lightest - longest * reach;
  return reach;
}

bool CoverBound::Refutes(const std::array<int8_t, 26>& letters, const std::vector<int>& fitting,
                         const CoverWords& words, int most_words, int steps, Weights* weights,
                         std::vector<double>* word_weights) {
  heaviest_sums_.clear();
  if (most_words <= 0 || fitting.empty()) return false;
  Weights& weight = *weights;
  const size_t taken = std::min<size_t>(most_words, fitting.size());
  // Few heaviest words among many: kept in order as the weights come, which seldom moves one;
  // otherwise all are weighed and the heaviest picked out.
  const bool few = taken * kFewOfMany <= fitting.size();
  std::vector<double>& sums = word_weights != nullptr ? *word_weights : sums_;
  sums.resize(fitting.size());
  double best_gap = 0;
  int best_step = 0;
  // The weights with one more that pads words, weighing nothing: a word's weight is its letters'
  // weights added in order, then nothing added, the same sum as over its letters alone.
  Padded padded{};
  Padded weighed{};  // the weights of the last step, those Floor speaks of
  // In a long run over many words, most steps weigh only the contenders for the heaviest (see
  // ChooseContenders), as long as no letter's weight is further than the reach from where it was
  // at the last pass over every word and the heaviest among them still weigh at least the cutoff.
  // They are then the heaviest of all words, found in the same order as over all words.
  const bool may_contend =
      contenders_on_ && steps >= kLongRun && fitting.size() >= kManyWords && few;
  bool contending = false;
  double reach = 0;
  double cutoff = 0;
  Weights chosen_at{};       // the weights when the contenders were chosen
  bool all_weighed = false;  // whether the last step weighed every word
  for (int step = 0; step < steps; ++step) {
    std::copy(weight.begin(), weight.end(), padded.begin());
    weighed = padded;
    for (int k = 0; k < 26 && contending; ++k)
      contending = std::fabs(weight[k] - chosen_at[k]) <= reach;
    if (contending) {
      Weigh(fitting, contenders_.data(), contenders_.size(), words, padded, taken, few, nullptr);
      contending = heaviest_.size() == taken &&
                   heaviest_.back().first >= cutoff + kMargin * (std::fabs(cutoff) + 1);
      all_weighed = false;
    }
    if (!contending) {
      Weigh(fitting, nullptr, fitting.size(), words, padded, taken, few, sums.data());
      all_weighed = true;
      if (may_contend && heaviest_.size() == taken) {
        reach = ChooseContenders(fitting, words, sums.data(), &cutoff);
        contending = reach > 0;
        chosen_at = weight;
      }
    }
    double need = 0;
    double scale = 0;
    std::array<double, 26> short_of{};  // what the heaviest words lack of each letter
    for (int k = 0; k < 26; ++k) {
      need += weight[k] * letters[k];
      scale += std::fabs(weight[k]) * letters[k];
      short_of[k] = letters[k];
    }
    double most = 0;
    for (const auto& [sum, word] : heaviest_) {
      most += sum;
      for (int j = 0; j < words.length(word); ++j)
        short_of[words.letters(word)[j]] -= 1;
    }
    if (need - most > kMargin * (scale + most + 1)) return true;
    // A long run of steps stops when the letters have not come closer to outweighing the
    // heaviest words for a while: the weights have settled short of a proof.
    const double gap = (need - most) / (scale + most + 1);
    if (step == 0 || gap > best_gap) {
      best_gap = gap;
      best_step = step;
    } else if (step - best_step > kPatience) {
      steps = step + 1;
    }
    // Kept for Floor, whichever step is the last: the words were weighed with these weights.
    std::sort(heaviest_.begin(), heaviest_.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    need_ = need;
    tolerance_ = kMargin * (scale + most + 1);
    heaviest_sums_.assign(1, 0.0);
    for (const auto& [sum, word] : heaviest_)
      heaviest_sums_.push_back(heaviest_sums_.back() + sum);
    double norm = 0;
    for (int k = 0; k < 26; ++k)
      norm += short_of[k] * short_of[k];
    if (norm == 0) break;  // the heaviest words spell the letters
    // Steps shrink so that the weights settle. Letters absent keep their weight: no fitting
    // word holds them.
    const double length = 0.5 / std::sqrt(norm) / (1 + step / 2);
    for (int k = 0; k < 26; ++k) {
      if (letters[k] > 0) weight[k] += length * short_of[k];
    }
  }
  // Every word's weight under the last step's weights, when that step weighed only contenders.
  if (!all_weighed && word_weights != nullptr) {
    Weigh(fitting, nullptr, fitting.size(), words, weighed, taken, few, sums.data());
  }
  return false;
}

double CoverBound::Floor(int others) const {
  if (heaviest_sums_.empty()) return -HUGE_VAL;
  const size_t taken = std::min<size_t>(std::max(others, 0), heaviest_sums_.size() - 1);
  return need_ - heaviest_sums_[taken] - tolerance_;
}

}  // namespace jumble
