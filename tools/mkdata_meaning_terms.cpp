#include "tools/mkdata_meaning_terms.h"

#include <algorithm>
#include <functional>

#include "engine/text_helpers.h"

namespace mkdata {

namespace {

constexpr size_t kFirstSlots = size_t{1} << 18;

uint64_t HashOf(std::string_view word) {
  return std::hash<std::string_view>()(word);
}

uint32_t TagOf(uint64_t hash) {
  return static_cast<uint32_t>(hash >> 32);
}

// A gloss's definition, as the senses list shows it (the text before the first ";"), and the
// rest: its examples and any further remarks. A ";" inside quotes does not end the definition.
void SplitGloss(std::string_view gloss, std::string_view* definition, std::string_view* rest) {
  bool quoted = false;
  size_t end = 0;
  while (end < gloss.size() && (gloss[end] != ';' || quoted)) {
    if (gloss[end] == '"') quoted = !quoted;
    ++end;
  }
  *definition = gloss.substr(0, end);
  *rest = end < gloss.size() ? gloss.substr(end + 1) : std::string_view();
}

}  // namespace

Vocabulary::Vocabulary(const datafiles::Lexicon& lexicon)
    : normaliser_([this](const std::string& index_form) { return Known(index_form); }),
      slots_(kFirstSlots) {
  known_.reserve(lexicon.words.size());
  for (size_t i = 1; i < lexicon.words.size(); ++i)
    known_.insert(engine::AsciiLowerCase(lexicon.words[i].text));
  words_.reserve(lexicon.words.size());
  word_term_.reserve(lexicon.words.size());
  of_term_.reserve(lexicon.words.size());
}

void Vocabulary::Terms(std::string_view text, std::vector<uint32_t>* out) {
  meaning::ForEachWord(text, [&](std::string_view word) {
    const uint32_t term = TermOf(word);
    if (term != kNoTerm) out->push_back(term);
  });
}

uint32_t Vocabulary::TermOf(std::string_view word) {
  const uint64_t hash = HashOf(word);
  const uint32_t tag = TagOf(hash);
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot slot = slots_[i];
    if (slot.entry == 0) break;
    if (slot.tag == tag && words_[slot.entry - 1] == word) return word_term_[slot.entry - 1];
  }
  const uint32_t term = NewWordTerm(word);
  words_.emplace_back(word);
  word_term_.push_back(term);
  if (2 * words_.size() > slots_.size()) {
    std::vector<Slot>(2 * slots_.size()).swap(slots_);
    for (uint32_t e = 1; e <= words_.size(); ++e)
      Place(HashOf(words_[e - 1]), e);
  } else {
    Place(hash, static_cast<uint32_t>(words_.size()));
  }
  return term;
}

void Vocabulary::Place(uint64_t hash, uint32_t entry) {
  const size_t mask = slots_.size() - 1;
  size_t i = hash & mask;
  while (slots_[i].entry != 0)
    i = (i + 1) & mask;
  slots_[i] = {TagOf(hash), entry};
}

// A known word is its own term (the first base-form rule, without the rules' copies).
uint32_t Vocabulary::NewWordTerm(std::string_view word) {
  if (meaning::IsFunctionWord(word)) return kNoTerm;
  const std::string text(word);
  return Intern(Known(text) ? text : normaliser_.Term(text));
}

uint32_t Vocabulary::Intern(const std::string& term) {
  auto [it, added] = of_term_.try_emplace(term, static_cast<uint32_t>(texts_.size()));
  if (added) texts_.push_back(term);
  return it->second;
}

SynsetTerms CollectSynsetTerms(const datafiles::Lexicon& lexicon, Vocabulary* vocabulary) {
  const size_t n = lexicon.synsets.size();
  SynsetTerms terms;
  terms.own.resize(n);
  terms.definition.resize(n);
  terms.examples.resize(n);
  std::string display;
  for (size_t s = 0; s < n; ++s) {
    const datafiles::SynsetSpec& synset = lexicon.synsets[s];
    for (uint32_t id : synset.words) {
      display = lexicon.words[id].text;
      std::replace(display.begin(), display.end(), '_', ' ');
      vocabulary->Terms(display, &terms.own[s]);
    }
    std::string_view definition, examples;
    SplitGloss(synset.gloss, &definition, &examples);
    vocabulary->Terms(definition, &terms.definition[s]);
    vocabulary->Terms(examples, &terms.examples[s]);
  }
  return terms;
}

}  // namespace mkdata
