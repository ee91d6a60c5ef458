// Irregular and inflected forms beyond the lookup box's own base-form rules. Those rules (a
// final s, ed or ing cut) stay first and unchanged; only when they find nothing does the
// lookup try the irregular forms of the dictionary (mice: mouse, went: go) and the suffix
// rules of each part of speech (cities: city, churches: church). The same search also gives
// the other base forms of a word that the first rules settled (leaves: leave, also leaf), so
// the window and the command line can offer them beside the senses.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/lookup/irregular_forms.h"
#include "app/lookup/text_rules.h"

namespace lookup {

// The parts of speech a word (index form) has: bit (pos - 1) for each of noun, verb,
// adjective, adverb; kAnyPos for a word of the custom database, whatever its type; 0 for a word
// the dictionary does not know.
using PosMaskFunction = std::function<uint32_t(const std::string& index_form)>;
inline constexpr uint32_t kAnyPos = 0xF;

// The most combinations of word forms tried for one phrase.
inline constexpr size_t kMaxPhraseCombinations = 256;

// The base forms of `w` (index form, lower case) that the irregular forms and the suffix rules
// give and the dictionary knows, in this order: the irregular forms of the whole text (noun,
// verb, adjective and adverb lists); then, for one word, the suffix rules of nouns (ses: s,
// xes: x, zes: z, ches: ch, shes: sh, men: man, ies: y, s), verbs (ies: y, es: e, es, ed: e,
// ed, ing: e, ing, s) and adjectives (er, est, er: e, est: e); for a phrase, per part of
// speech, each word reduced on its own (its irregular forms and suffix rules, then the word
// as it stands) and the combinations tried in order. A candidate counts only when
// `pos_mask` gives it the part of speech of the list or rule that made it. Suffix rules leave
// words of one or two letters alone, and the noun rule "s" words ending in "ss". No repeats;
// `w` itself is never among them.
std::vector<std::string> InflectionBases(const std::string& w, const IrregularForms& forms,
                                         const PosMaskFunction& pos_mask);

struct BaseForms {
  bool found = false;
  std::string base;                 // the text to look up, as FindBaseForm gives it
  std::vector<std::string> others;  // further base forms the dictionary knows (display form)
};

// The whole base-form search of a lookup over a normalised text: FindBaseForm first; when it
// finds nothing, the first of InflectionBases (in display form) is the base. The others are
// InflectionBases without the base. With `forms` null or not loaded, the search is
// FindBaseForm alone.
BaseForms ResolveBaseForms(const std::string& text, const IrregularForms* forms,
                           const IsKnownFunction& is_known, const PosMaskFunction& pos_mask);

}  // namespace lookup
