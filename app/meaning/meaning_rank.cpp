#include "app/meaning/meaning_rank.h"

#include <algorithm>
#include <cmath>

namespace meaning {

namespace {

// SenseScore's shape: the share of the terms held counts to this power, and a definition the
// terms cover wholly adds this share of the score.
constexpr double kCoveragePower = 1.0;
constexpr double kDefinitionBonus = 0.5;
// The most a sense gains when its own definition holds the whole description.
constexpr double kDefinedBonus = 0.25;
// How fast the factor for a word made of the description's words falls with the share of the
// description it repeats, down to kSharedWordFactor.
constexpr double kSharedWordSlope = 0.8;

}  // namespace

double InverseDocumentFrequency(uint32_t documents, uint32_t document_frequency) {
  const double n = documents;
  const double df = document_frequency > documents ? n : static_cast<double>(document_frequency);
  return std::log(1.0 + (n - df + 0.5) / (df + 0.5));
}

double TermImpact(const RankingParameters& ranking, const CollectionStats& stats, double idf,
                  const uint32_t frequency[kFieldCount], const uint32_t length[kFieldCount]) {
  double t = 0;
  for (int f = 0; f < kFieldCount; ++f) {
    if (frequency[f] == 0) continue;
    const double average = stats.average_length[f] > 0 ? stats.average_length[f] : 1.0;
    const double norm = 1.0 - ranking.b[f] + ranking.b[f] * length[f] / average;
    t += ranking.weight[f] * frequency[f] / norm;
  }
  if (t <= 0) return 0;
  return idf * t * (ranking.k1 + 1.0) / (ranking.k1 + t);
}

double WordPrior(const RankingParameters& ranking, uint32_t sense_frequency) {
  return ranking.prior * std::log1p(static_cast<double>(sense_frequency));
}

double SenseScore(double bm25f, size_t matched, size_t terms, size_t covered,
                  size_t definition_terms, double defined_share) {
  double score = bm25f;
  if (terms > 0) {
    score *= std::pow(static_cast<double>(std::min(matched, terms)) / static_cast<double>(terms),
                      kCoveragePower);
  }
  if (definition_terms > 0) {
    score *= 1.0 + kDefinitionBonus * static_cast<double>(std::min(covered, definition_terms)) /
                       static_cast<double>(definition_terms);
  }
  score *= 1.0 + kDefinedBonus * std::clamp(defined_share, 0.0, 1.0);
  return score;
}

double SharedWordFactor(double shared_share) {
  return std::max(kSharedWordFactor, 1.0 - kSharedWordSlope * std::clamp(shared_share, 0.0, 1.0));
}

}  // namespace meaning
