#include "tools/mkdata_meaning.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numeric>
#include <string_view>

#include "app/meaning/meaning_format.h"
#include "app/meaning/meaning_text.h"
#include "engine/little_endian.h"
#include "engine/text_helpers.h"
#include "tools/mkdata_lexicon.h"
#include "tools/mkdata_meaning_terms.h"

namespace mkdata {
namespace {

using meaning::kFieldCount;

// Where a pointer's target contributes, by pointer-type code (1 to 42).
enum Link : uint8_t {
  kNoLink = 0,
  kKindLink = 1,        // more general: its words, and those above it, join the kind words
  kWordsLink = 2,       // its words join the linked words
  kDefinitionLink = 4,  // its definition joins the linked definitions
};

constexpr uint8_t LinkOf(uint8_t type) {
  switch (type) {
    case 2:   // noun hypernym
    case 19:  // verb hypernym
      return kKindLink | kDefinitionLink;
    case 11:  // noun derivationally related form
    case 25:  // verb derivationally related form
    case 30:  // adjective similar to
    case 32:  // adjective pertainym
    case 39:  // adverb derived from adjective
      return kWordsLink | kDefinitionLink;
    case 4:
    case 5:
    case 6:  // holonyms
    case 10:
    case 33:  // attributes
    case 12:
    case 26:
    case 35:
    case 40:  // domain of synset, category
    case 21:  // entailment
    case 22:  // cause
    case 23:
    case 34:  // also see
    case 24:  // verb group
    case 31:  // participle
      return kWordsLink;
    default:
      return kNoLink;
  }
}

// The synsets above `s`, at every level, each once.
void Ancestors(const datafiles::Lexicon& lexicon, uint32_t s, std::vector<uint32_t>* out) {
  out->clear();
  std::vector<uint32_t> stack = {s};
  while (!stack.empty()) {
    const uint32_t at = stack.back();
    stack.pop_back();
    for (const datafiles::PointerSpec& p : lexicon.synsets[at].pointers) {
      if ((LinkOf(p.type) & kKindLink) == 0 || p.target == s) continue;
      if (std::find(out->begin(), out->end(), p.target) != out->end()) continue;
      out->push_back(p.target);
      stack.push_back(p.target);
    }
  }
}

// One (term, synset) pair with the term's frequency in each field.
struct Occurrence {
  uint32_t term;
  uint8_t frequency[kFieldCount];  // at most 255 counted
};

// The occurrences of one synset, by term, and its field lengths.
void SynsetOccurrences(const datafiles::Lexicon& lexicon, const SynsetTerms& terms, uint32_t s,
                       std::vector<uint32_t>* ancestors,
                       std::vector<std::pair<uint32_t, int>>* scratch, std::vector<Occurrence>* out,
                       uint32_t length[kFieldCount]) {
  scratch->clear();
  auto add = [&](const std::vector<uint32_t>& list, int field) {
    for (uint32_t term : list)
      scratch->emplace_back(term, field);
  };
  add(terms.definition[s], meaning::kDefinitionField);
  add(terms.examples[s], meaning::kExampleField);
  add(terms.own[s], meaning::kOwnWordsField);
  Ancestors(lexicon, s, ancestors);
  for (uint32_t a : *ancestors)
    add(terms.own[a], meaning::kKindWordsField);
  for (const datafiles::PointerSpec& p : lexicon.synsets[s].pointers) {
    const uint8_t link = LinkOf(p.type);
    if (link & kWordsLink) add(terms.own[p.target], meaning::kLinkedWordsField);
    if (link & kDefinitionLink) add(terms.definition[p.target], meaning::kLinkedDefinitionField);
  }
  std::fill(length, length + kFieldCount, 0);
  for (const auto& [term, field] : *scratch)
    ++length[field];
  std::sort(scratch->begin(), scratch->end());
  out->clear();
  for (const auto& [term, field] : *scratch) {
    if (out->empty() || out->back().term != term) out->push_back({term, {}});
    uint8_t& frequency = out->back().frequency[field];
    if (frequency < UINT8_MAX) ++frequency;
  }
}

void PutU32(std::vector<uint8_t>* image, size_t at, uint32_t value) {
  engine::StoreU32(image->data() + at, value);
}

void AppendU32(std::vector<uint8_t>* image, uint32_t value) {
  const size_t at = image->size();
  image->resize(at + 4);
  PutU32(image, at, value);
}

uint32_t Fixed(double value) {
  return static_cast<uint32_t>(std::lround(value / meaning::kMeaningFixedPoint));
}

// The parameters as the file stores them: the search scores custom entries with exactly these.
meaning::RankingParameters AsStored(const meaning::RankingParameters& ranking) {
  auto stored = [](double value) { return Fixed(value) * meaning::kMeaningFixedPoint; };
  meaning::RankingParameters out;
  out.k1 = stored(ranking.k1);
  out.prior = stored(ranking.prior);
  for (int f = 0; f < kFieldCount; ++f) {
    out.weight[f] = stored(ranking.weight[f]);
    out.b[f] = stored(ranking.b[f]);
  }
  return out;
}

// The words each synset offers, with their sense numbers and the senses' frequencies.
struct OfferedWord {
  uint32_t packed;  // identifier | sense number << kWordIdBits
  uint8_t frequency;
};

bool CollectOfferedWords(const datafiles::Lexicon& lexicon,
                         std::vector<std::vector<OfferedWord>>* offered, std::string* error) {
  offered->assign(lexicon.synsets.size(), {});
  if (lexicon.words.size() > meaning::kWordIdMask + 1) {
    *error = "1001S.dat: more words than the index's 20-bit identifiers hold";
    return false;
  }
  for (uint32_t id = 1; id < lexicon.words.size(); ++id) {
    uint32_t number = 0;
    for (const auto& senses : lexicon.words[id].senses) {
      for (const datafiles::SenseSpec& sense : senses) {
        if (number > meaning::kMaxSenseNumber) {
          *error = "1001S.dat: word \"" + lexicon.words[id].text + "\" has more than " +
                   std::to_string(meaning::kMaxSenseNumber + 1) + " senses";
          return false;
        }
        if (sense.synset >= lexicon.synsets.size()) {
          *error = "1001S.dat: a sense of \"" + lexicon.words[id].text + "\" names no synset";
          return false;
        }
        (*offered)[sense.synset].push_back({id | number << meaning::kWordIdBits, sense.frequency});
        ++number;
      }
    }
  }
  return true;
}

// The senses of each part of speech whose words count as a word's relatives, and the most
// relatives a term keeps.
constexpr size_t kRelativeSenses = 2;
constexpr size_t kMaxRelatives = 16;

// True when two words look like one word and a form derived from it (wool and woolly): they
// share a beginning of at least three letters that leaves at most two of the shorter one.
bool LooksDerived(std::string_view a, std::string_view b) {
  const size_t shorter = std::min(a.size(), b.size());
  size_t common = 0;
  while (common < shorter && a[common] == b[common])
    ++common;
  return common >= 3 && common + 2 >= shorter;
}

// Pointer types that join a sense to senses derived from it or it from them.
constexpr bool IsDerivation(uint8_t type) {
  return type == 11 || type == 25 || type == 31 || type == 32 || type == 39;
}

// Every term's relatives, by term rank: for each one-word lemma, in the order met, the other
// one-word lemmas of its first kRelativeSenses senses of each part of speech (its synonyms),
// and those of the senses derived from these that look derived from it.
std::vector<std::vector<uint32_t>> TermRelatives(const datafiles::Lexicon& lexicon,
                                                 Vocabulary* vocabulary,
                                                 const std::vector<uint32_t>& rank) {
  std::vector<uint32_t> word_term(lexicon.words.size(), UINT32_MAX);
  std::vector<uint32_t> terms;
  for (size_t id = 1; id < lexicon.words.size(); ++id) {
    const std::string& text = lexicon.words[id].text;
    if (text.find('_') != std::string::npos) continue;
    terms.clear();
    vocabulary->Terms(text, &terms);
    if (terms.size() == 1) word_term[id] = rank[terms[0]];
  }
  std::vector<std::vector<uint32_t>> relatives(vocabulary->texts().size());
  for (size_t id = 1; id < lexicon.words.size(); ++id) {
    const uint32_t term = word_term[id];
    if (term == UINT32_MAX) continue;
    std::vector<uint32_t>& list = relatives[term];
    auto add = [&](uint32_t other) {
      const uint32_t relative = word_term[other];
      if (relative == UINT32_MAX || relative == term || list.size() >= kMaxRelatives) return;
      if (std::find(list.begin(), list.end(), relative) == list.end()) list.push_back(relative);
    };
    for (const auto& senses : lexicon.words[id].senses) {
      for (size_t k = 0; k < senses.size() && k < kRelativeSenses; ++k) {
        const datafiles::SynsetSpec& synset = lexicon.synsets[senses[k].synset];
        for (uint32_t other : synset.words)
          add(other);
        for (const datafiles::PointerSpec& p : synset.pointers) {
          if (!IsDerivation(p.type)) continue;
          for (uint32_t other : lexicon.synsets[p.target].words) {
            if (LooksDerived(lexicon.words[id].text, lexicon.words[other].text)) add(other);
          }
        }
      }
    }
  }
  return relatives;
}

// Every synset's occurrences and field lengths, the terms' document frequencies, and the
// collection's average field lengths.
struct Collection {
  std::vector<Occurrence> occurrences;
  std::vector<uint32_t> first_occurrence;    // by synset, one more: occurrences [first, next)
  std::vector<uint32_t> lengths;             // kFieldCount by synset
  std::vector<uint32_t> document_frequency;  // by term number
  meaning::CollectionStats stats;
};

// The occurrences, lengths, document frequencies and length totals of the synsets [begin, end).
struct CollectionPart {
  std::vector<Occurrence> occurrences;
  std::vector<uint32_t> first_occurrence;  // by synset from begin
  std::vector<uint32_t> document_frequency;
  double total[kFieldCount] = {};
};

void CollectPart(const datafiles::Lexicon& lexicon, const SynsetTerms& terms, uint32_t begin,
                 uint32_t end, uint32_t* lengths, CollectionPart* part) {
  part->occurrences.reserve(size_t{end - begin} * 32);
  part->first_occurrence.resize(end - begin);
  std::vector<uint32_t> ancestors;
  std::vector<std::pair<uint32_t, int>> scratch;
  std::vector<Occurrence> one;
  for (uint32_t s = begin; s < end; ++s) {
    uint32_t* length = lengths + size_t{s} * kFieldCount;
    SynsetOccurrences(lexicon, terms, s, &ancestors, &scratch, &one, length);
    part->first_occurrence[s - begin] = static_cast<uint32_t>(part->occurrences.size());
    for (const Occurrence& o : one)
      ++part->document_frequency[o.term];
    part->occurrences.insert(part->occurrences.end(), one.begin(), one.end());
    for (int f = 0; f < kFieldCount; ++f)
      part->total[f] += length[f];
  }
}

// The synsets' two halves are collected side by side, the later one on a thread of its own, and
// joined in synset order: the same collection as one pass (the totals are sums of integers).
Collection CollectOccurrences(const datafiles::Lexicon& lexicon, const SynsetTerms& terms,
                              size_t term_count) {
  const uint32_t n = static_cast<uint32_t>(lexicon.synsets.size());
  const uint32_t half = n / 2;
  Collection c;
  c.lengths.assign(size_t{n} * kFieldCount, 0);
  c.stats.documents = n;
  CollectionPart later;
  later.document_frequency.assign(term_count, 0);
  std::future<void> later_done = std::async(
      std::launch::async, [&] { CollectPart(lexicon, terms, half, n, c.lengths.data(), &later); });
  CollectionPart first;
  first.document_frequency.assign(term_count, 0);
  CollectPart(lexicon, terms, 0, half, c.lengths.data(), &first);
  later_done.get();

  c.occurrences = std::move(first.occurrences);
  const uint32_t shift = static_cast<uint32_t>(c.occurrences.size());
  c.occurrences.insert(c.occurrences.end(), later.occurrences.begin(), later.occurrences.end());
  c.first_occurrence = std::move(first.first_occurrence);
  for (uint32_t at : later.first_occurrence)
    c.first_occurrence.push_back(at + shift);
  c.first_occurrence.push_back(static_cast<uint32_t>(c.occurrences.size()));
  c.document_frequency = std::move(first.document_frequency);
  for (size_t t = 0; t < term_count; ++t)
    c.document_frequency[t] += later.document_frequency[t];
  for (int f = 0; f < kFieldCount; ++f) {
    const double total = first.total[f] + later.total[f];
    // Stored as fixed-point numbers: the search must see the very averages used here.
    c.stats.average_length[f] = Fixed(n > 0 ? total / n : 0) * meaning::kMeaningFixedPoint;
  }
  return c;
}

// What the index holds, terms in byte order, before it is laid out.
struct IndexContent {
  std::vector<uint32_t> order;          // term numbers in byte order
  std::vector<uint32_t> first_posting;  // by rank, one more: postings [first, next)
  std::vector<uint32_t> posting_synset;
  std::vector<uint8_t> posting_byte;              // impact | kInDefinition
  uint32_t step_fixed = 0;                        // the impact step, fixed point
  std::vector<std::vector<OfferedWord>> offered;  // by synset
  std::vector<std::vector<uint32_t>> relatives;   // by rank, ranks
};

// Scores every occurrence with BM25F, quantises the scores to the step that maps the largest
// onto kImpactMask, and sorts the postings by term rank; synsets ascend within each term since
// they are visited in order.
void ScorePostings(const Collection& c, const meaning::RankingParameters& ranking,
                   const std::vector<uint32_t>& rank, IndexContent* content) {
  const uint32_t n = c.stats.documents;
  const size_t term_count = c.document_frequency.size();
  std::vector<double> idf(term_count);
  for (size_t t = 0; t < term_count; ++t)
    idf[t] = meaning::InverseDocumentFrequency(n, c.document_frequency[t]);
  std::vector<float> impact(c.occurrences.size());
  double largest = 0;
  for (uint32_t s = 0; s < n; ++s) {
    for (uint32_t i = c.first_occurrence[s]; i < c.first_occurrence[s + 1]; ++i) {
      const Occurrence& o = c.occurrences[i];
      uint32_t frequency[kFieldCount];
      std::copy(o.frequency, o.frequency + kFieldCount, frequency);
      impact[i] = static_cast<float>(meaning::TermImpact(ranking, c.stats, idf[o.term], frequency,
                                                         &c.lengths[size_t{s} * kFieldCount]));
      largest = std::max(largest, double{impact[i]});
    }
  }
  content->step_fixed = std::max<uint32_t>(1, Fixed(largest / meaning::kImpactMask) + 1);
  const double step = content->step_fixed * meaning::kMeaningFixedPoint;

  content->first_posting.assign(term_count + 1, 0);
  for (uint32_t t = 0; t < term_count; ++t)
    content->first_posting[rank[t] + 1] = c.document_frequency[t];
  std::partial_sum(content->first_posting.begin(), content->first_posting.end(),
                   content->first_posting.begin());
  content->posting_synset.resize(c.occurrences.size());
  content->posting_byte.resize(c.occurrences.size());
  std::vector<uint32_t> fill(content->first_posting.begin(), content->first_posting.end() - 1);
  for (uint32_t s = 0; s < n; ++s) {
    for (uint32_t i = c.first_occurrence[s]; i < c.first_occurrence[s + 1]; ++i) {
      const uint32_t at = fill[rank[c.occurrences[i].term]]++;
      const long q = std::lround(impact[i] / step);
      const bool in_definition = c.occurrences[i].frequency[meaning::kDefinitionField] > 0;
      content->posting_synset[at] = s;
      content->posting_byte[at] =
          static_cast<uint8_t>(std::clamp<long>(q, 1, meaning::kImpactMask)) |
          (in_definition ? meaning::kInDefinition : 0);
    }
  }
}

// A u32 index of each list's first element, one more holding their total, then the elements.
void AppendLists(const std::vector<std::vector<uint32_t>>& lists, std::vector<uint8_t>* out) {
  uint32_t total = 0;
  for (const auto& list : lists) {
    AppendU32(out, total);
    total += static_cast<uint32_t>(list.size());
  }
  AppendU32(out, total);
  for (const auto& list : lists) {
    for (uint32_t element : list)
      AppendU32(out, element);
  }
}

// Lays the index out as meaning_format.h says, sealed with its digest.
std::vector<uint8_t> LayOut(const datafiles::Lexicon& lexicon, const SynsetTerms& terms,
                            const std::vector<std::string>& texts, const Collection& c,
                            const meaning::RankingParameters& ranking,
                            const IndexContent& content) {
  using namespace meaning;
  std::vector<uint8_t> out(kMeaningHeaderSize, 0);
  // Terms, their texts and their postings.
  const size_t terms_at = out.size();
  out.resize(terms_at + texts.size() * kTermEntrySize);
  std::vector<uint8_t> strings, postings;
  for (uint32_t r = 0; r < content.order.size(); ++r) {
    const uint32_t t = content.order[r];
    const size_t entry = terms_at + size_t{r} * kTermEntrySize;
    PutU32(&out, entry, static_cast<uint32_t>(strings.size()));
    PutU32(&out, entry + 4, static_cast<uint32_t>(postings.size()));
    PutU32(&out, entry + 8, c.document_frequency[t]);
    strings.insert(strings.end(), texts[t].begin(), texts[t].end());
    strings.push_back(0);
    uint32_t previous = 0;
    for (uint32_t i = content.first_posting[r]; i < content.first_posting[r + 1]; ++i) {
      AppendVarint(&postings, content.posting_synset[i] - previous);
      postings.push_back(content.posting_byte[i]);
      previous = content.posting_synset[i];
    }
  }
  const size_t strings_at = out.size();
  out.insert(out.end(), strings.begin(), strings.end());
  const size_t postings_at = out.size();
  out.insert(out.end(), postings.begin(), postings.end());
  // Senses: their word ranges, parts of speech and definition sizes, then the words.
  const size_t senses_at = out.size();
  uint32_t word_entries = 0;
  for (const auto& words : content.offered) {
    AppendU32(&out, word_entries);
    word_entries += static_cast<uint32_t>(words.size());
  }
  AppendU32(&out, word_entries);
  for (const datafiles::SynsetSpec& synset : lexicon.synsets)
    out.push_back(synset.pos);
  for (std::vector<uint32_t> distinct : terms.definition) {
    std::sort(distinct.begin(), distinct.end());
    const size_t count = std::unique(distinct.begin(), distinct.end()) - distinct.begin();
    out.push_back(static_cast<uint8_t>(std::min<size_t>(count, UINT8_MAX)));
  }
  const size_t words_at = out.size();
  for (const auto& words : content.offered) {
    for (const OfferedWord& w : words)
      AppendU32(&out, w.packed);
  }
  for (const auto& words : content.offered) {
    for (const OfferedWord& w : words)
      out.push_back(w.frequency);
  }
  const size_t relatives_at = out.size();
  AppendLists(content.relatives, &out);
  size_t relative_count = 0;
  for (const auto& list : content.relatives)
    relative_count += list.size();

  const std::pair<size_t, uint64_t> fields[] = {
      {kMagicAt, kMeaningMagic},
      {kVersionAt, kMeaningVersion},
      {kSenseCountAt, lexicon.synsets.size()},
      {kTermCountAt, texts.size()},
      {kWordEntryCountAt, word_entries},
      {kK1At, Fixed(ranking.k1)},
      {kPriorAt, Fixed(ranking.prior)},
      {kImpactStepAt, content.step_fixed},
      {kTermsAt, terms_at},
      {kStringsAt, strings_at},
      {kStringsSizeAt, strings.size()},
      {kPostingsAt, postings_at},
      {kPostingsSizeAt, postings.size()},
      {kSensesAt, senses_at},
      {kWordsAt, words_at},
      {kRelativesAt, relatives_at},
      {kRelativeCountAt, relative_count},
      {kFileSizeAt, out.size()},
  };
  for (const auto& [at, value] : fields)
    PutU32(&out, at, static_cast<uint32_t>(value));
  for (int f = 0; f < kFieldCount; ++f) {
    PutU32(&out, kWeightAt + 4 * f, Fixed(ranking.weight[f]));
    PutU32(&out, kLengthNormAt + 4 * f, Fixed(ranking.b[f]));
    PutU32(&out, kAverageLengthAt + 4 * f, Fixed(c.stats.average_length[f]));
  }
  const engine::Digest digest = MeaningDigest(out.data(), out.size());
  std::copy(digest.begin(), digest.end(), out.begin() + kDigestAt);
  return out;
}

}  // namespace

bool BuildMeaningIndex(const datafiles::Lexicon& lexicon,
                       const meaning::RankingParameters& requested, std::vector<uint8_t>* image,
                       MeaningReport* report, std::string* error) {
  *report = MeaningReport();
  const meaning::RankingParameters ranking = AsStored(requested);
  for (const datafiles::SynsetSpec& synset : lexicon.synsets) {
    for (const datafiles::PointerSpec& p : synset.pointers) {
      if (p.target >= lexicon.synsets.size()) {
        *error = "1001S.dat: a pointer names no synset";
        return false;
      }
    }
  }
  IndexContent content;
  if (!CollectOfferedWords(lexicon, &content.offered, error)) return false;

  Vocabulary vocabulary(lexicon);
  const SynsetTerms terms = CollectSynsetTerms(lexicon, &vocabulary);
  const Collection collection = CollectOccurrences(lexicon, terms, vocabulary.texts().size());
  const std::vector<std::string>& texts = vocabulary.texts();
  content.order.resize(texts.size());
  std::iota(content.order.begin(), content.order.end(), 0);
  std::sort(content.order.begin(), content.order.end(),
            [&](uint32_t a, uint32_t b) { return texts[a] < texts[b]; });
  std::vector<uint32_t> rank(texts.size());
  for (uint32_t r = 0; r < content.order.size(); ++r)
    rank[content.order[r]] = r;
  // The relatives (which read the vocabulary only) are found meanwhile on a thread of their own.
  std::future<std::vector<std::vector<uint32_t>>> relatives =
      std::async(std::launch::async, [&] { return TermRelatives(lexicon, &vocabulary, rank); });
  ScorePostings(collection, ranking, rank, &content);
  content.relatives = relatives.get();

  *image = LayOut(lexicon, terms, texts, collection, ranking, content);
  if (image->size() > UINT32_MAX) {
    image->clear();
    *error = "1001S.dat: the index would exceed 4 GB";
    return false;
  }
  report->terms = texts.size();
  report->postings = collection.occurrences.size();
  report->senses = lexicon.synsets.size();
  for (const auto& words : content.offered)
    report->word_entries += words.size();
  return true;
}

struct MeaningIndexBuild::Outcome {
  bool ok = false;
  std::vector<uint8_t> image;
  MeaningReport report;
  std::string error;
};

MeaningIndexBuild::MeaningIndexBuild(const datafiles::Lexicon& lexicon)
    : outcome_(std::make_unique<Outcome>()) {
  Outcome* outcome = outcome_.get();
  done_ = std::async(std::launch::async, [&lexicon, outcome] {
    const auto start = std::chrono::steady_clock::now();
    outcome->ok = BuildMeaningIndex(lexicon, meaning::RankingParameters(), &outcome->image,
                                    &outcome->report, &outcome->error);
    outcome->report.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  });
}

MeaningIndexBuild::~MeaningIndexBuild() {
  if (done_.valid()) done_.wait();
}

bool MeaningIndexBuild::Finish(std::vector<uint8_t>* image, MeaningReport* report,
                               std::string* error) {
  if (done_.valid()) done_.get();
  *image = std::move(outcome_->image);
  *report = outcome_->report;
  *error = outcome_->error;
  return outcome_->ok;
}

}  // namespace mkdata
