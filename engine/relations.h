// The 22 relations between senses: the one list that the lexical engine's queries, the custom
// database's queries and slots, and the lookup's output panes are generated from.
//
// One row per relation, in pane order:
//   X(Name, selector, pane title, tab label, pointer types...)
// - Name: the name in the exported functions Nymdex_Has<Name>, Nymdex_Get<Name>,
//   CustomDb_Has<Name> and CustomDb_Get<Name>.
// - selector: the code the engine's pointer walk is driven by.
// - pane title: the heading of the relation's output pane.
// - tab label: the relation's tab in the custom entry dialogs.
// - pointer types: the synset pointers the engine follows (none for synonyms, which are the
//   synset's own words). Type 23, a verb's "also see", belongs to no relation.
//
// Row k is relation kind k everywhere: pane kind k, bit k of the "Panes" mask, and slot k of a
// custom entry (its record field k + 2).
#pragma once

#include <cstdint>

// clang-format off
#define VERBARIUM_RELATIONS(X)                                              \
  X(Synonyms,    0, "Synonyms",    "Synonyms")                              \
  X(Antonyms,    5, "Antonyms",    "Antonyms",    1, 18, 29, 38)            \
  X(Hypernyms,   3, "Kind of",     "Kind of",     2, 19)                    \
  X(Holonyms,    2, "Part of",     "Part of",     4, 5, 6)                  \
  X(Hyponyms,    1, "Has as kind", "Has as kind", 3, 20)                    \
  X(Meronyms,    4, "Has as part", "Has as part", 7, 8, 9)                  \
  X(Attributes,  9, "Attribs",     "Attribs",     10, 33)                   \
  X(Similar,     8, "Similar",     "Similar",     30)                       \
  X(SeeAlso,     7, "Also see",    "See Also",    34)                       \
  X(Derived,     6, "Derived",     "Derived",     39)                       \
  X(DRF,        15, "Related to",  "Related to",  11, 25)                   \
  X(DSC,        19, "DSC",         "DSC",         12, 26, 35, 40)           \
  X(MDC,        16, "MDC",         "MDC",         13)                       \
  X(DSR,        20, "DSR",         "DSR",         14, 27, 36, 41)           \
  X(MDR,        17, "MDR",         "MDR",         15)                       \
  X(DSU,        21, "DSU",         "DSU",         16, 28, 37, 42)           \
  X(MDU,        18, "MDU",         "MDU",         17)                       \
  X(Entailment, 14, "Entailment",  "Entailment",  21)                       \
  X(Cause,      13, "Cause",       "Cause",       22)                       \
  X(VerbGroup,  10, "Verb Group",  "Verb Group",  24)                       \
  X(Participle, 11, "Participle",  "Participle",  31)                       \
  X(Pertainym,  12, "Pertainym",   "Pertainym",   32)
// clang-format on

// The relations by row; Relation::kSynonyms is 0.
enum class Relation : uint8_t {
#define VERBARIUM_RELATION_ENUM(Name, ...) k##Name,
  VERBARIUM_RELATIONS(VERBARIUM_RELATION_ENUM)
#undef VERBARIUM_RELATION_ENUM
};

#define VERBARIUM_RELATION_ONE(...) +1
inline constexpr int kRelationCount = 0 VERBARIUM_RELATIONS(VERBARIUM_RELATION_ONE);
#undef VERBARIUM_RELATION_ONE

// The texts of one row.
struct RelationNames {
  const char* name;        // "Synonyms", "Antonyms", "Hypernyms", ...
  const char* pane_title;  // "Synonyms", "Antonyms", "Kind of", ...
  const char* tab_label;   // "Synonyms", "Antonyms", "Kind of", ... ("See Also" for see-also)
};

inline constexpr RelationNames kRelationNames[kRelationCount] = {
#define VERBARIUM_RELATION_NAMES(Name, selector, pane_title, tab_label, ...) \
  {#Name, pane_title, tab_label},
    VERBARIUM_RELATIONS(VERBARIUM_RELATION_NAMES)
#undef VERBARIUM_RELATION_NAMES
};

inline constexpr int RelationIndex(Relation relation) {
  return static_cast<int>(relation);
}

inline constexpr const RelationNames& NamesOf(Relation relation) {
  return kRelationNames[RelationIndex(relation)];
}
