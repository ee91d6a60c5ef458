#include "app/meaning/meaning_search.h"

#include <algorithm>
#include <bit>
#include <unordered_map>

#include "app/lookup/senses.h"
#include "app/meaning/meaning_format.h"
#include "engine/nymdex.h"

namespace meaning {

namespace {

constexpr char kNothingFoundMessage[] = "No word matches the description.";

// The senses looked at first, and the factor by which the look widens while words further
// down could still climb into the result.
constexpr size_t kFirstSenses = 256;
constexpr size_t kWidening = 4;

// The description's terms count in full, their relatives (child for kid, woolly for wool) a
// quarter as much; a relative found in a sense counts as its term for the share of the terms
// the sense holds.
constexpr uint32_t kTermWeight = 4;
constexpr uint32_t kRelativeWeight = 1;

// The bit of the description's term number `source` in a mask of the terms a sense holds.
uint32_t SourceBit(uint32_t source) {
  return uint32_t{1} << std::min<uint32_t>(source, 31);
}

}  // namespace

struct MeaningSearch::Candidate {
  double score = 0;
  bool custom = false;
  bool named = false;  // `word` is filled in and the score settled
  uint32_t id = 0;     // word identifier, or custom entry
  uint32_t sense = 0;  // the word's sense number
  uint32_t pos = 0;
  std::string word;  // display form
};

struct MeaningSearch::Query {
  // A term searched for: one of the description's terms, or a relative of one.
  struct Term {
    std::string text;
    uint32_t source = 0;  // the description's term it stands for
    uint32_t weight = 0;  // kTermWeight, or kRelativeWeight
    bool found = false;   // in the index, with these postings
    MeaningIndex::Postings postings;
  };
  std::vector<std::string> terms;  // the description's terms, in its order, each once
  std::vector<Term> searched;
  std::unordered_set<std::string> own_words;  // as typed and as terms: never offered
  // The inverse document frequency of each bit of a mask of held terms (SourceBit), and their
  // sum: how much of the description a sense's definition says, rare words counting most.
  double bit_idf[32] = {};
  double total_idf = 0;

  // The idf-weighted share of the description's terms that the bits of `mask` stand for.
  double Share(uint32_t mask) const {
    if (total_idf <= 0) return 0;
    double sum = 0;
    for (; mask != 0; mask &= mask - 1)
      sum += bit_idf[std::countr_zero(mask)];
    return sum / total_idf;
  }
};

MeaningSearch::MeaningSearch(const NymdexEngine* engine, std::string index_path)
    : engine_(engine), index_path_(std::move(index_path)) {}

MeaningSearch::~MeaningSearch() = default;

IndexStatus MeaningSearch::Load() const {
  std::call_once(load_once_, [this] { load_status_ = MeaningIndex::Open(index_path_, &index_); });
  return load_status_;
}

MeaningResult MeaningSearch::Search(std::string_view description, const CustomEntries& custom,
                                    size_t count) const {
  MeaningResult result;
  count = std::clamp<size_t>(count, 1, kMaxResultCount);
  const DescriptionCheck check = CheckDescription(description);
  if (check != DescriptionCheck::kOk) {
    result.status = check == DescriptionCheck::kTooLong ? MeaningStatus::kTooLong
                                                        : MeaningStatus::kInvalidCharacters;
    result.message = DescriptionMessage(check);
    return result;
  }
  const TermNormaliser normaliser(KnownWords(engine_, &custom));
  Query query;
  for (const std::string& word : SplitWords(description)) {
    query.own_words.insert(word);
    if (IsFunctionWord(word)) continue;
    std::string term = normaliser.Term(word);
    query.own_words.insert(term);
    if (std::find(query.terms.begin(), query.terms.end(), term) == query.terms.end()) {
      query.terms.push_back(std::move(term));
    }
  }
  result.terms = query.terms;
  if (query.terms.empty()) {
    result.status = MeaningStatus::kNoSearchableWord;
    result.message = kNoSearchableWordMessage;
    return result;
  }
  const IndexStatus loaded = Load();
  if (loaded != IndexStatus::kOk) {
    result.status = loaded == IndexStatus::kMissing ? MeaningStatus::kIndexMissing
                                                    : MeaningStatus::kIndexDamaged;
    result.message = IndexMessage(loaded);
    return result;
  }
  AddRelatives(&query);

  std::vector<Candidate> candidates;
  // More candidates than rows: some are the query's own words, some lose their place to the
  // factor for words made of the query's words.
  ScoreBuiltIn(query, 2 * count + query.own_words.size() + custom.size(), &candidates);
  ScoreCustom(query, custom, &candidates);
  for (Candidate& candidate : candidates) {
    if (candidate.custom) candidate.word = custom.entries()[candidate.id].word;
  }
  Rank(query, normaliser, count, &candidates);
  for (const Candidate& candidate : candidates)
    result.rows.push_back(Row(candidate, custom));
  if (result.rows.empty()) {
    result.status = MeaningStatus::kNothingFound;
    result.message = kNothingFoundMessage;
  } else {
    result.status = MeaningStatus::kFound;
  }
  return result;
}

void MeaningSearch::ScoreBuiltIn(const Query& query, size_t wanted,
                                 std::vector<Candidate>* candidates) const {
  const MeaningIndex& index = *index_;
  // Each sense's sum of weighted impacts, and which of the description's terms it holds, in
  // its definition or anywhere (a bit for each, the 32nd standing for the rest).
  std::vector<uint32_t> sum(index.sense_count(), 0);
  std::vector<uint32_t> held(index.sense_count(), 0);
  std::vector<uint32_t> defined(index.sense_count(), 0);
  std::vector<uint32_t> touched;
  for (const Query::Term& term : query.searched) {
    if (!term.found) continue;
    const uint32_t bit = SourceBit(term.source);
    index.ForEachPosting(term.postings, [&](uint32_t sense, uint8_t posting) {
      if (sum[sense] == 0) touched.push_back(sense);
      sum[sense] += (posting & kImpactMask) * term.weight;
      held[sense] |= bit;
      if (posting & kInDefinition) defined[sense] |= bit;
    });
  }
  if (touched.empty()) return;
  const double step = index.impact_step() / kTermWeight;
  std::vector<std::pair<double, uint32_t>> ranked;  // (score, sense)
  ranked.reserve(touched.size());
  for (uint32_t s : touched) {
    ranked.emplace_back(
        SenseScore(sum[s] * step, std::popcount(held[s]), query.terms.size(),
                   std::popcount(defined[s]), index.DefinitionTerms(s), query.Share(defined[s])),
        s);
  }

  // Senses best first, sorted a slice at a time: a word's score is its sense's score plus at
  // most the largest prior, so once the wanted-th best word beats what the next sense could
  // give any word, the rest cannot enter.
  const double largest_prior = WordPrior(index.ranking(), 255);
  auto higher = [](const std::pair<double, uint32_t>& a, const std::pair<double, uint32_t>& b) {
    return a.first != b.first ? a.first > b.first : a.second < b.second;
  };
  std::unordered_map<uint32_t, Candidate> best;  // by word identifier
  std::vector<double> scores;
  size_t done = 0;
  size_t slice = kFirstSenses;
  while (done < ranked.size()) {
    const size_t end = std::min(ranked.size(), done + slice);
    std::nth_element(ranked.begin() + static_cast<long>(done),
                     ranked.begin() + static_cast<long>(end - 1), ranked.end(), higher);
    std::sort(ranked.begin() + static_cast<long>(done), ranked.begin() + static_cast<long>(end),
              higher);
    for (size_t i = done; i < end; ++i) {
      const auto [sense_score, s] = ranked[i];
      for (uint32_t e = index.FirstWord(s); e < index.EndWord(s); ++e) {
        const double score = sense_score + WordPrior(index.ranking(), index.SenseFrequency(e));
        Candidate& c = best[index.WordId(e)];
        if (score > c.score) {
          c.score = score;
          c.id = index.WordId(e);
          c.sense = index.SenseNumber(e);
          c.pos = index.SensePos(s);
        }
      }
    }
    done = end;
    slice *= kWidening;
    if (done >= ranked.size() || best.size() < wanted) continue;
    scores.clear();
    for (const auto& [id, c] : best)
      scores.push_back(c.score);
    std::nth_element(scores.begin(), scores.begin() + static_cast<long>(wanted - 1), scores.end(),
                     std::greater<double>());
    if (scores[wanted - 1] > ranked[done].first + largest_prior) break;
  }
  candidates->reserve(candidates->size() + best.size());
  for (auto& [id, c] : best)
    candidates->push_back(std::move(c));
}

void MeaningSearch::ScoreCustom(const Query& query, const CustomEntries& custom,
                                std::vector<Candidate>* candidates) const {
  const MeaningIndex& index = *index_;
  std::vector<double> idf;
  for (const Query::Term& term : query.searched) {
    idf.push_back(InverseDocumentFrequency(index.sense_count(),
                                           term.found ? term.postings.document_frequency : 0));
  }
  for (size_t e = 0; e < custom.entries().size(); ++e) {
    const CustomEntry& entry = custom.entries()[e];
    uint32_t length[kFieldCount];
    for (int f = 0; f < kFieldCount; ++f)
      length[f] = static_cast<uint32_t>(entry.terms[f].size());
    double sum = 0;
    uint32_t held = 0;
    uint32_t defined = 0;
    for (size_t t = 0; t < query.searched.size(); ++t) {
      const Query::Term& term = query.searched[t];
      uint32_t frequency[kFieldCount];
      for (int f = 0; f < kFieldCount; ++f) {
        frequency[f] = static_cast<uint32_t>(
            std::count(entry.terms[f].begin(), entry.terms[f].end(), term.text));
      }
      const double impact = TermImpact(index.ranking(), index.stats(), idf[t], frequency, length);
      if (impact <= 0) continue;
      sum += impact * term.weight / kTermWeight;
      held |= SourceBit(term.source);
      if (frequency[kDefinitionField] > 0) defined |= SourceBit(term.source);
    }
    if (sum <= 0) continue;
    Candidate c;
    c.score = SenseScore(sum, std::popcount(held), query.terms.size(), std::popcount(defined),
                         entry.definition_terms, query.Share(defined)) +
              WordPrior(index.ranking(), 0);
    c.custom = true;
    c.id = static_cast<uint32_t>(e);
    c.pos = entry.pos;
    candidates->push_back(std::move(c));
  }
}

void MeaningSearch::AddRelatives(Query* query) const {
  const MeaningIndex& index = *index_;
  for (uint32_t i = 0; i < query->terms.size(); ++i) {
    Query::Term term;
    term.text = query->terms[i];
    term.source = i;
    term.weight = kTermWeight;
    term.found = index.FindTerm(term.text, &term.postings);
    // A word the dictionary does not hold weighs as the rarest (a custom entry may hold it).
    const double idf = InverseDocumentFrequency(
        index.sense_count(), term.found ? term.postings.document_frequency : 0);
    query->bit_idf[std::countr_zero(SourceBit(i))] += idf;
    query->total_idf += idf;
    query->searched.push_back(std::move(term));
  }
  const size_t direct = query->searched.size();
  for (size_t i = 0; i < direct; ++i) {
    if (!query->searched[i].found) continue;
    const uint32_t t = query->searched[i].postings.term;
    for (uint32_t e = index.FirstRelative(t); e < index.EndRelative(t); ++e) {
      const uint32_t relative = index.Relative(e);
      const bool searched = std::any_of(
          query->searched.begin(), query->searched.end(),
          [relative](const Query::Term& q) { return q.found && q.postings.term == relative; });
      if (searched) continue;
      Query::Term term;
      term.text = std::string(index.TermText(relative));
      term.source = query->searched[i].source;
      term.weight = kRelativeWeight;
      term.found = true;
      term.postings = index.TermPostings(relative);
      query->searched.push_back(std::move(term));
    }
  }
}

void MeaningSearch::Rank(const Query& query, const TermNormaliser& normaliser, size_t count,
                         std::vector<Candidate>* candidates) const {
  // Best first; among equal scores by word (built-in identifiers ascend with their words).
  auto worse = [](const Candidate& a, const Candidate& b) {
    if (a.score != b.score) return a.score < b.score;
    if (a.named && b.named) return a.word > b.word;
    if (!a.custom && !b.custom) return a.id > b.id;
    return a.word > b.word;
  };
  // A candidate is named, and its score settled, when it first reaches the top: naming can
  // only lower the score, so the top of the heap is final once it is named.
  std::vector<Candidate> heap = std::move(*candidates);
  candidates->clear();
  std::make_heap(heap.begin(), heap.end(), worse);
  std::unordered_set<std::string> offered;
  char stored[kMaxWordLength + 1];
  while (!heap.empty() && candidates->size() < count) {
    std::pop_heap(heap.begin(), heap.end(), worse);
    Candidate& top = heap.back();
    if (top.named) {
      if (offered.insert(top.word).second) candidates->push_back(std::move(top));
      heap.pop_back();
      continue;
    }
    top.named = true;
    if (!top.custom) {
      if (Nymdex_GetWordFromID(engine_, top.id, stored) != 1) {
        heap.pop_back();
        continue;
      }
      top.word = lookup::ToDisplayForm(stored);
    }
    top.word = lookup::LowerCase(top.word);
    // The query's own words are left out: a word of one term that the description holds, when
    // the description holds its other words too ("bake" for "bakes", "give up" for "gives up",
    // not "clean up" for "make clean"). Words made of them ("garden hose") stay, lower.
    const std::vector<std::string> word_terms = normaliser.Terms(top.word);
    const std::vector<std::string> parts = SplitWords(top.word);
    const bool own = word_terms.size() == 1 && query.own_words.count(word_terms[0]) != 0 &&
                     std::all_of(parts.begin(), parts.end(), [&](const std::string& part) {
                       return query.own_words.count(part) != 0 ||
                              query.own_words.count(normaliser.Term(part)) != 0;
                     });
    if (own || query.own_words.count(top.word) != 0) {
      heap.pop_back();
      continue;
    }
    uint32_t shared = 0;
    for (const std::string& term : word_terms) {
      const auto at = std::find(query.terms.begin(), query.terms.end(), term);
      if (at != query.terms.end())
        shared |= SourceBit(static_cast<uint32_t>(at - query.terms.begin()));
    }
    if (shared != 0) top.score *= SharedWordFactor(query.Share(shared));
    std::push_heap(heap.begin(), heap.end(), worse);
  }
  std::stable_sort(candidates->begin(), candidates->end(),
                   [&worse](const Candidate& a, const Candidate& b) { return worse(b, a); });
}

MeaningRow MeaningSearch::Row(const Candidate& candidate, const CustomEntries& custom) const {
  MeaningRow row;
  row.word = candidate.word;
  row.score = candidate.score;
  row.pos = candidate.pos;
  row.custom = candidate.custom;
  if (candidate.custom) {
    row.definition = lookup::CutDefinition(custom.entries()[candidate.id].definition);
    return row;
  }
  char stored[kMaxWordLength + 1];
  TagRecord tag;
  if (Nymdex_GetWordFromID(engine_, candidate.id, stored) == 1 &&
      Nymdex_GetSenseTag(engine_, stored, candidate.sense, &tag) == kNymdexOk) {
    row.definition = lookup::CutDefinition(tag.text);
  }
  return row;
}

}  // namespace meaning
