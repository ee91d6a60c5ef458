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

}  // namespace

void CoverWords::Add(const char* key, int length) {
  starts_.push_back(static_cast<uint32_t>(letters_.size()));
  lengths_.push_back(static_cast<uint8_t>(length));
  for (int j = 0; j < length; ++j)
    letters_.push_back(static_cast<uint8_t>(key[j] - 'a'));
  letters_.resize(
      starts_.back() + static_cast<size_t>(groups(static_cast<int>(size()) - 1)) * kGroup, kNone);
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
  if (word_weights != nullptr) word_weights->resize(fitting.size());
  double best_gap = 0;
  int best_step = 0;
  // The weights with one more that pads words, weighing nothing: a word's weight is its letters'
  // weights added in order, then nothing added, the same sum as over its letters alone.
  std::array<double, CoverWords::kNone + 1> padded{};
  for (int step = 0; step < steps; ++step) {
    heaviest_.clear();
    double lightest_kept = 0;
    std::copy(weight.begin(), weight.end(), padded.begin());
    for (size_t n = 0; n < fitting.size(); ++n) {
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
      if (word_weights != nullptr) (*word_weights)[n] = sum;
      // A set is better off without a word of no positive weight; once the few heaviest are
      // found, a word must outweigh the lightest of them. One test, seldom passed, for both.
      if (sum <= lightest_kept) continue;
      if (!few) {
        heaviest_.emplace_back(sum, word);
        continue;
      }
      if (heaviest_.size() == taken) heaviest_.pop_back();
      auto at = heaviest_.end();
      while (at != heaviest_.begin() && (at - 1)->first < sum)
        --at;
      heaviest_.emplace(at, sum, word);
      if (heaviest_.size() == taken) lightest_kept = heaviest_.back().first;
    }
    if (!few && heaviest_.size() > taken) {
      std::nth_element(heaviest_.begin(), heaviest_.begin() + (taken - 1), heaviest_.end(),
                       [](const auto& a, const auto& b) { return a.first > b.first; });
      heaviest_.resize(taken);
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
    if (norm == 0) return false;  // the heaviest words spell the letters
    // Steps shrink so that the weights settle. Letters absent keep their weight: no fitting
    // word holds them.
    const double length = 0.5 / std::sqrt(norm) / (1 + step / 2);
    for (int k = 0; k < 26; ++k) {
      if (letters[k] > 0) weight[k] += length * short_of[k];
    }
  }
  return false;
}

double CoverBound::Floor(int others) const {
  if (heaviest_sums_.empty()) return -HUGE_VAL;
  const size_t taken = std::min<size_t>(std::max(others, 0), heaviest_sums_.size() - 1);
  return need_ - heaviest_sums_[taken] - tolerance_;
}

}  // namespace jumble
