#include "tools/mkdata_meaning.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numeric>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "app/meaning/meaning_format.h"
#include "app/meaning/meaning_text.h"
#include "engine/little_endian.h"

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

// Terms of the whole lexicon: each distinct word made a term once.
class Vocabulary {
 public:
  explicit Vocabulary(const datafiles::Lexicon& lexicon)
      : normaliser_([this](const std::string& index_form) { return Known(index_form); }) {
    known_.reserve(lexicon.words.size());
    for (size_t i = 1; i < lexicon.words.size(); ++i)
      known_.insert(FoldCase(lexicon.words[i].text));
    of_word_.reserve(lexicon.words.size());
    of_term_.reserve(lexicon.words.size());
  }

  // Appends the term numbers of a text's words (function words left out).
  void Terms(std::string_view text, std::vector<uint32_t>* out) {
    meaning::ForEachWord(text, [&](std::string_view word) {
      auto found = of_word_.find(word);
      if (found == of_word_.end()) found = of_word_.emplace(word, NewWordTerm(word)).first;
      if (found->second != kNoTerm) out->push_back(found->second);
    });
  }

  const std::vector<std::string>& texts() const { return texts_; }

 private:
  static constexpr uint32_t kNoTerm = UINT32_MAX;  // a function word

  // Lets the word map be searched with views.
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };

  static std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
  }

  bool Known(const std::string& index_form) const { return known_.count(index_form) != 0; }

  // A known word is its own term (the first base-form rule, without the rules' copies).
  uint32_t NewWordTerm(std::string_view word) {
    if (meaning::IsFunctionWord(word)) return kNoTerm;
    const std::string text(word);
    return Intern(Known(text) ? text : normaliser_.Term(text));
  }

  uint32_t Intern(const std::string& term) {
    auto [it, added] = of_term_.try_emplace(term, static_cast<uint32_t>(texts_.size()));
    if (added) texts_.push_back(term);
    return it->second;
  }

  std::unordered_set<std::string> known_;
  meaning::TermNormaliser normaliser_;
  std::unordered_map<std::string, uint32_t, Hash, std::equal_to<>> of_word_;
  std::unordered_map<std::string, uint32_t> of_term_;
  std::vector<std::string> texts_;
};

// A gloss's definition, as the senses list shows it (the text before the first ";"), and the
// rest: its examples and any further remarks. A ";" inside quotes does not end the definition.
void SplitGloss(std::string_view gloss, std::string* definition, std::string* rest) {
  bool quoted = false;
  size_t end = 0;
  while (end < gloss.size() && (gloss[end] != ';' || quoted)) {
    if (gloss[end] == '"') quoted = !quoted;
    ++end;
  }
  definition->assign(gloss.substr(0, end));
  rest->assign(end < gloss.size() ? gloss.substr(end + 1) : std::string_view());
}

// Every synset's own terms, definition terms and example terms.
struct SynsetTerms {
  std::vector<std::vector<uint32_t>> own;
  std::vector<std::vector<uint32_t>> definition;
  std::vector<std::vector<uint32_t>> examples;
};

SynsetTerms CollectSynsetTerms(const datafiles::Lexicon& lexicon, Vocabulary* vocabulary) {
  const size_t n = lexicon.synsets.size();
  SynsetTerms terms;
  terms.own.resize(n);
  terms.definition.resize(n);
  terms.examples.resize(n);
  std::string definition, examples, display;
  for (size_t s = 0; s < n; ++s) {
    const datafiles::SynsetSpec& synset = lexicon.synsets[s];
    for (uint32_t id : synset.words) {
      display = lexicon.words[id].text;
      std::replace(display.begin(), display.end(), '_', ' ');
      vocabulary->Terms(display, &terms.own[s]);
    }
    definition.clear();
    examples.clear();
    SplitGloss(synset.gloss, &definition, &examples);
    vocabulary->Terms(definition, &terms.definition[s]);
    vocabulary->Terms(examples, &terms.examples[s]);
  }
  return terms;
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

// The senses of each part of speech whose words count as a word's synonyms, and the most
// synonyms a term keeps.
constexpr size_t kSynonymSenses = 2;
constexpr size_t kMaxSynonyms = 12;

// Every term's synonyms, by term rank: for each one-word lemma, the one-word lemmas that share
// one of its first kSynonymSenses senses of a part of speech, in the order met.
std::vector<std::vector<uint32_t>> TermSynonyms(const datafiles::Lexicon& lexicon,
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
  std::vector<std::vector<uint32_t>> synonyms(vocabulary->texts().size());
  for (size_t id = 1; id < lexicon.words.size(); ++id) {
    const uint32_t term = word_term[id];
    if (term == UINT32_MAX) continue;
    std::vector<uint32_t>& list = synonyms[term];
    for (const auto& senses : lexicon.words[id].senses) {
      for (size_t k = 0; k < senses.size() && k < kSynonymSenses; ++k) {
        for (uint32_t other : lexicon.synsets[senses[k].synset].words) {
          const uint32_t synonym = word_term[other];
          if (synonym == UINT32_MAX || synonym == term || list.size() >= kMaxSynonyms) continue;
          if (std::find(list.begin(), list.end(), synonym) == list.end()) list.push_back(synonym);
        }
      }
    }
  }
  return synonyms;
}

}  // namespace

bool BuildMeaningIndex(const datafiles::Lexicon& lexicon,
                       const meaning::RankingParameters& requested, std::vector<uint8_t>* image,
                       MeaningReport* report, std::string* error) {
  *report = MeaningReport();
  const meaning::RankingParameters ranking = AsStored(requested);
  const uint32_t n = static_cast<uint32_t>(lexicon.synsets.size());
  for (const datafiles::SynsetSpec& synset : lexicon.synsets) {
    for (const datafiles::PointerSpec& p : synset.pointers) {
      if (p.target >= n) {
        *error = "1001S.dat: a pointer names no synset";
        return false;
      }
    }
  }
  std::vector<std::vector<OfferedWord>> offered;
  if (!CollectOfferedWords(lexicon, &offered, error)) return false;

  Vocabulary vocabulary(lexicon);
  const SynsetTerms terms = CollectSynsetTerms(lexicon, &vocabulary);

  // Every synset's occurrences and field lengths; the terms' document frequencies.
  std::vector<Occurrence> occurrences;
  std::vector<uint32_t> first_occurrence(n + 1, 0);
  std::vector<uint32_t> lengths(size_t{n} * kFieldCount);
  std::vector<uint32_t> document_frequency(vocabulary.texts().size(), 0);
  meaning::CollectionStats stats;
  stats.documents = n;
  {
    std::vector<uint32_t> ancestors;
    std::vector<std::pair<uint32_t, int>> scratch;
    std::vector<Occurrence> one;
    occurrences.reserve(size_t{n} * 32);
    double total[kFieldCount] = {};
    for (uint32_t s = 0; s < n; ++s) {
      uint32_t* length = &lengths[size_t{s} * kFieldCount];
      SynsetOccurrences(lexicon, terms, s, &ancestors, &scratch, &one, length);
      first_occurrence[s] = static_cast<uint32_t>(occurrences.size());
      for (const Occurrence& o : one)
        ++document_frequency[o.term];
      occurrences.insert(occurrences.end(), one.begin(), one.end());
      for (int f = 0; f < kFieldCount; ++f)
        total[f] += length[f];
    }
    first_occurrence[n] = static_cast<uint32_t>(occurrences.size());
    for (int f = 0; f < kFieldCount; ++f) {
      // Stored as fixed-point numbers: the search must see the very averages used here.
      stats.average_length[f] = Fixed(n > 0 ? total[f] / n : 0) * meaning::kMeaningFixedPoint;
    }
  }

  // Impacts, then the step that maps the largest onto the largest stored impact.
  const std::vector<std::string>& texts = vocabulary.texts();
  std::vector<double> idf(texts.size());
  for (size_t t = 0; t < texts.size(); ++t)
    idf[t] = meaning::InverseDocumentFrequency(n, document_frequency[t]);
  std::vector<float> impact(occurrences.size());
  double largest = 0;
  for (uint32_t s = 0; s < n; ++s) {
    for (uint32_t i = first_occurrence[s]; i < first_occurrence[s + 1]; ++i) {
      const Occurrence& o = occurrences[i];
      uint32_t frequency[kFieldCount];
      std::copy(o.frequency, o.frequency + kFieldCount, frequency);
      impact[i] = static_cast<float>(meaning::TermImpact(ranking, stats, idf[o.term], frequency,
                                                         &lengths[size_t{s} * kFieldCount]));
      largest = std::max(largest, double{impact[i]});
    }
  }
  const uint32_t step_fixed = std::max<uint32_t>(1, Fixed(largest / meaning::kImpactMask) + 1);
  const double step = step_fixed * meaning::kMeaningFixedPoint;

  // Terms in byte order.
  std::vector<uint32_t> order(texts.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&](uint32_t a, uint32_t b) { return texts[a] < texts[b]; });
  std::vector<uint32_t> rank(texts.size());
  for (uint32_t r = 0; r < order.size(); ++r)
    rank[order[r]] = r;

  const std::vector<std::vector<uint32_t>> synonyms = TermSynonyms(lexicon, &vocabulary, rank);

  // Postings, term by term: synsets ascend within each term since they are visited in order.
  std::vector<uint32_t> first_posting(texts.size() + 1, 0);
  for (uint32_t t = 0; t < texts.size(); ++t)
    first_posting[rank[t] + 1] = document_frequency[t];
  std::partial_sum(first_posting.begin(), first_posting.end(), first_posting.begin());
  std::vector<uint32_t> posting_synset(occurrences.size());
  std::vector<uint8_t> posting_impact(occurrences.size());
  {
    std::vector<uint32_t> fill(first_posting.begin(), first_posting.end() - 1);
    for (uint32_t s = 0; s < n; ++s) {
      for (uint32_t i = first_occurrence[s]; i < first_occurrence[s + 1]; ++i) {
        const uint32_t at = fill[rank[occurrences[i].term]]++;
        posting_synset[at] = s;
        const long q = std::lround(impact[i] / step);
        const bool in_definition = occurrences[i].frequency[meaning::kDefinitionField] > 0;
        posting_impact[at] = static_cast<uint8_t>(std::clamp<long>(q, 1, meaning::kImpactMask)) |
                             (in_definition ? meaning::kInDefinition : 0);
      }
    }
  }

  // The image.
  image->assign(meaning::kMeaningHeaderSize, 0);
  std::vector<uint8_t>& out = *image;
  const size_t terms_at = out.size();
  out.resize(terms_at + texts.size() * meaning::kTermEntrySize);
  std::vector<uint8_t> strings, postings;
  for (uint32_t r = 0; r < order.size(); ++r) {
    const uint32_t t = order[r];
    const size_t entry = terms_at + size_t{r} * meaning::kTermEntrySize;
    PutU32(&out, entry, static_cast<uint32_t>(strings.size()));
    PutU32(&out, entry + 4, static_cast<uint32_t>(postings.size()));
    PutU32(&out, entry + 8, document_frequency[t]);
    strings.insert(strings.end(), texts[t].begin(), texts[t].end());
    strings.push_back(0);
    uint32_t previous = 0;
    for (uint32_t i = first_posting[r]; i < first_posting[r + 1]; ++i) {
      meaning::AppendVarint(&postings, posting_synset[i] - previous);
      postings.push_back(posting_impact[i]);
      previous = posting_synset[i];
    }
  }
  const size_t strings_at = out.size();
  out.insert(out.end(), strings.begin(), strings.end());
  const size_t postings_at = out.size();
  out.insert(out.end(), postings.begin(), postings.end());
  const size_t senses_at = out.size();
  uint32_t word_entries = 0;
  for (uint32_t s = 0; s < n; ++s) {
    AppendU32(&out, word_entries);
    word_entries += static_cast<uint32_t>(offered[s].size());
  }
  AppendU32(&out, word_entries);
  for (const datafiles::SynsetSpec& synset : lexicon.synsets)
    out.push_back(synset.pos);
  for (uint32_t s = 0; s < n; ++s) {
    std::vector<uint32_t> distinct = terms.definition[s];
    std::sort(distinct.begin(), distinct.end());
    const size_t count = std::unique(distinct.begin(), distinct.end()) - distinct.begin();
    out.push_back(static_cast<uint8_t>(std::min<size_t>(count, UINT8_MAX)));
  }
  const size_t words_at = out.size();
  for (const auto& words : offered) {
    for (const OfferedWord& w : words)
      AppendU32(&out, w.packed);
  }
  for (const auto& words : offered) {
    for (const OfferedWord& w : words)
      out.push_back(w.frequency);
  }
  const size_t synonyms_at = out.size();
  uint32_t synonym_count = 0;
  for (const auto& list : synonyms) {
    AppendU32(&out, synonym_count);
    synonym_count += static_cast<uint32_t>(list.size());
  }
  AppendU32(&out, synonym_count);
  for (const auto& list : synonyms) {
    for (uint32_t synonym : list)
      AppendU32(&out, synonym);
  }
  if (out.size() > UINT32_MAX) {
    *error = "1001S.dat: the index would exceed 4 GB";
    return false;
  }

  PutU32(&out, meaning::kMagicAt, meaning::kMeaningMagic);
  PutU32(&out, meaning::kVersionAt, meaning::kMeaningVersion);
  PutU32(&out, meaning::kSenseCountAt, n);
  PutU32(&out, meaning::kTermCountAt, static_cast<uint32_t>(texts.size()));
  PutU32(&out, meaning::kWordEntryCountAt, word_entries);
  PutU32(&out, meaning::kK1At, Fixed(ranking.k1));
  PutU32(&out, meaning::kPriorAt, Fixed(ranking.prior));
  PutU32(&out, meaning::kImpactStepAt, step_fixed);
  for (int f = 0; f < kFieldCount; ++f) {
    PutU32(&out, meaning::kWeightAt + 4 * f, Fixed(ranking.weight[f]));
    PutU32(&out, meaning::kLengthNormAt + 4 * f, Fixed(ranking.b[f]));
    PutU32(&out, meaning::kAverageLengthAt + 4 * f, Fixed(stats.average_length[f]));
  }
  PutU32(&out, meaning::kTermsAt, static_cast<uint32_t>(terms_at));
  PutU32(&out, meaning::kStringsAt, static_cast<uint32_t>(strings_at));
  PutU32(&out, meaning::kStringsSizeAt, static_cast<uint32_t>(strings.size()));
  PutU32(&out, meaning::kPostingsAt, static_cast<uint32_t>(postings_at));
  PutU32(&out, meaning::kPostingsSizeAt, static_cast<uint32_t>(postings.size()));
  PutU32(&out, meaning::kSensesAt, static_cast<uint32_t>(senses_at));
  PutU32(&out, meaning::kWordsAt, static_cast<uint32_t>(words_at));
  PutU32(&out, meaning::kSynonymsAt, static_cast<uint32_t>(synonyms_at));
  PutU32(&out, meaning::kSynonymCountAt, synonym_count);
  PutU32(&out, meaning::kFileSizeAt, static_cast<uint32_t>(out.size()));
  const engine::Digest digest = meaning::MeaningDigest(out.data() + meaning::kMeaningHeaderSize,
                                                       out.size() - meaning::kMeaningHeaderSize);
  std::copy(digest.begin(), digest.end(), out.begin() + meaning::kDigestAt);

  report->terms = texts.size();
  report->postings = occurrences.size();
  report->senses = n;
  report->word_entries = word_entries;
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
