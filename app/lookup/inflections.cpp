#include "app/lookup/inflections.h"

#include <algorithm>
#include <map>
#include <string_view>

#include "engine/nymdex.h"

namespace lookup {
namespace {

struct SuffixRule {
  std::string_view ending;
  std::string_view replacement;
};

constexpr SuffixRule kNounRules[] = {{"ses", "s"},   {"xes", "x"},   {"zes", "z"}, {"ches", "ch"},
                                     {"shes", "sh"}, {"men", "man"}, {"ies", "y"}, {"s", ""}};
constexpr SuffixRule kVerbRules[] = {{"ies", "y"}, {"es", "e"},  {"es", ""},  {"ed", "e"},
                                     {"ed", ""},   {"ing", "e"}, {"ing", ""}, {"s", ""}};
constexpr SuffixRule kAdjectiveRules[] = {{"er", ""}, {"est", ""}, {"er", "e"}, {"est", "e"}};

// The suffix rules of a part of speech; adverbs have none.
std::vector<SuffixRule> RulesFor(uint32_t pos) {
  switch (pos) {
    case kNoun:
      return {std::begin(kNounRules), std::end(kNounRules)};
    case kVerb:
      return {std::begin(kVerbRules), std::end(kVerbRules)};
    case kAdjective:
      return {std::begin(kAdjectiveRules), std::end(kAdjectiveRules)};
    default:
      return {};
  }
}

bool EndsWith(std::string_view text, std::string_view ending) {
  return text.size() >= ending.size() && text.substr(text.size() - ending.size()) == ending;
}

// The forms the suffix rules of `pos` make of one word, in rule order (not yet checked).
std::vector<std::string> SuffixCandidates(const std::string& word, uint32_t pos) {
  std::vector<std::string> out;
  if (word.size() <= 2) return out;
  for (const SuffixRule& rule : RulesFor(pos)) {
    if (!EndsWith(word, rule.ending) || word.size() == rule.ending.size()) continue;
    if (pos == kNoun && rule.ending == "s" && EndsWith(word, "ss")) continue;
    out.push_back(word.substr(0, word.size() - rule.ending.size()) + std::string(rule.replacement));
  }
  return out;
}

uint32_t PosBit(uint32_t pos) {
  return 1u << (pos - 1);
}

// Collects known candidates without repeats, asking the dictionary once per word.
class Collector {
 public:
  Collector(const std::string& w, const PosMaskFunction& pos_mask) : w_(w), pos_mask_(pos_mask) {}

  bool Knows(const std::string& word, uint32_t pos) {
    auto it = masks_.find(word);
    if (it == masks_.end()) it = masks_.emplace(word, pos_mask_(word)).first;
    return (it->second & PosBit(pos)) != 0;
  }
  void Offer(const std::string& word, uint32_t pos) {
    if (word.empty() || word == w_ || !Knows(word, pos)) return;
    if (std::find(found_.begin(), found_.end(), word) == found_.end()) found_.push_back(word);
  }
  std::vector<std::string> Take() { return std::move(found_); }

 private:
  const std::string& w_;
  const PosMaskFunction& pos_mask_;
  std::map<std::string, uint32_t> masks_;
  std::vector<std::string> found_;
};

std::vector<std::string> SplitWords(const std::string& w) {
  std::vector<std::string> words;
  size_t start = 0;
  for (size_t at = w.find('_'); at != std::string::npos; at = w.find('_', start)) {
    words.push_back(w.substr(start, at - start));
    start = at + 1;
  }
  words.push_back(w.substr(start));
  return words;
}

// The phrases made of each word's reduced forms for part of speech `pos`: every word's known
// irregular forms and suffix-rule forms, then the word itself; combinations in order, the
// first word's choice changing slowest.
void OfferPhraseCombinations(const std::vector<std::string>& words, uint32_t pos,
                             const IrregularForms& forms, Collector* collector) {
  std::vector<std::vector<std::string>> choices;
  for (const std::string& word : words) {
    std::vector<std::string> reduced;
    if (const std::vector<std::string>* bases = forms.Bases(word, pos)) reduced = *bases;
    for (std::string& form : SuffixCandidates(word, pos))
      reduced.push_back(std::move(form));
    std::vector<std::string> known;
    for (const std::string& form : reduced) {
      if (form != word && !form.empty() && collector->Knows(form, pos) &&
          std::find(known.begin(), known.end(), form) == known.end()) {
        known.push_back(form);
      }
    }
    known.push_back(word);
    choices.push_back(std::move(known));
  }
  std::vector<size_t> pick(words.size(), 0);
  for (size_t tried = 0; tried < kMaxPhraseCombinations; ++tried) {
    std::string phrase;
    for (size_t i = 0; i < words.size(); ++i) {
      if (i > 0) phrase += '_';
      phrase += choices[i][pick[i]];
    }
    collector->Offer(phrase, pos);  // the unchanged phrase is `w` itself and is skipped
    size_t i = words.size();
    while (i > 0 && ++pick[i - 1] == choices[i - 1].size()) {
      pick[i - 1] = 0;
      --i;
    }
    if (i == 0) break;
  }
}

}  // namespace

std::vector<std::string> InflectionBases(const std::string& w, const IrregularForms& forms,
                                         const PosMaskFunction& pos_mask) {
  Collector collector(w, pos_mask);
  for (uint32_t pos = kNoun; pos <= kAdverb; ++pos) {
    if (const std::vector<std::string>* bases = forms.Bases(w, pos)) {
      for (const std::string& base : *bases)
        collector.Offer(base, pos);
    }
  }
  const std::vector<std::string> words = SplitWords(w);
  for (uint32_t pos = kNoun; pos <= kAdverb; ++pos) {
    if (words.size() == 1) {
      for (const std::string& form : SuffixCandidates(w, pos))
        collector.Offer(form, pos);
    } else {
      OfferPhraseCombinations(words, pos, forms, &collector);
    }
  }
  return collector.Take();
}

BaseForms ResolveBaseForms(const std::string& text, const IrregularForms* forms,
                           const IsKnownFunction& is_known, const PosMaskFunction& pos_mask) {
  BaseForms result;
  result.found = FindBaseForm(text, is_known, &result.base);
  if (forms == nullptr || !forms->loaded()) return result;
  std::vector<std::string> bases = InflectionBases(ToIndexForm(text), *forms, pos_mask);
  if (!result.found && !bases.empty()) {
    result.found = true;
    result.base = ToDisplayForm(bases.front());
  }
  const std::string chosen = ToIndexForm(result.base);
  for (const std::string& base : bases) {
    if (base != chosen) result.others.push_back(ToDisplayForm(base));
  }
  return result;
}

}  // namespace lookup
