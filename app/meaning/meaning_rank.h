// The ranking of the search by meaning: BM25F over the fields of a sense, with a prior for
// common words. The data compiler scores every (term, sense) pair of the built-in dictionary
// with it ahead of time; the search scores custom entries with the very same functions and
// the parameters the index file carries, so both kinds of result share one scale.
//
// BM25F: a term's frequency in each field is normalised by the field's length against the
// field's average length (b), weighted by the field's weight, and summed over the fields; the
// sum t saturates as t (k1 + 1) / (k1 + t) and is multiplied by the term's inverse document
// frequency, ln(1 + (N - df + 0.5) / (df + 0.5)) over the N senses. A sense's BM25F score, the
// sum over the description's terms, is then scaled by the share of those terms it holds, raised
// by the share of the description its own definition says (the terms weighted by idf), and
// raised when the terms cover its definition (SenseScore); a word scores its best sense's score
// plus the prior for that sense's frequency, scaled down by the share of the description it
// repeats when the word is made partly of the description's own words (SharedWordFactor).
#pragma once

#include <cstddef>
#include <cstdint>

namespace meaning {

// What a sense is made of, for the search.
enum Field : int {
  kDefinitionField,        // its definition
  kExampleField,           // its examples of usage
  kOwnWordsField,          // its own words (a phrase gives each of its words)
  kKindWordsField,         // the words of the more general senses above it, at every level
  kLinkedWordsField,       // the words of the senses linked to it: similar, derived, parts, ...
  kLinkedDefinitionField,  // the definitions of its nearest general and derived senses
  kFieldCount
};

struct RankingParameters {
  double k1 = 1.2;
  double weight[kFieldCount] = {1.0, 0.35, 0.6, 0.3, 0.3, 0.15};
  double b[kFieldCount] = {0.6, 0.5, 0.3, 0.3, 0.3, 0.3};
  double prior = 0.45;  // added to a word's score per unit of ln(1 + sense frequency)
};

// Average length (terms) of each field over the built-in senses, and their number.
struct CollectionStats {
  uint32_t documents = 0;
  double average_length[kFieldCount] = {};
};

double InverseDocumentFrequency(uint32_t documents, uint32_t document_frequency);

// The score one term gives one sense: `frequency[f]` times the term occurs in field f, whose
// length is `length[f]` terms.
double TermImpact(const RankingParameters& ranking, const CollectionStats& stats, double idf,
                  const uint32_t frequency[kFieldCount], const uint32_t length[kFieldCount]);

// What a word gains for the frequency (0 to 255) of the sense it is offered in.
double WordPrior(const RankingParameters& ranking, uint32_t sense_frequency);

// A sense's score from its BM25F score: `matched` of the description's `terms` terms occur in
// it; `covered` of the `definition_terms` distinct terms of its definition are among them; its
// definition holds `defined_share` (0 to 1) of the description, each term weighted by its idf.
// A sense that holds all the terms is likelier the one described than one that holds a few
// often; one whose own definition says what the description says, rather than its examples or
// the senses linked to it, likelier still; and a short definition that the description repeats
// likeliest.
double SenseScore(double bm25f, size_t matched, size_t terms, size_t covered,
                  size_t definition_terms, double defined_share);

// Words made of the description's own words ("garden hose" for a tube to water the garden)
// are rarely the word sought: their score is scaled by this factor, by at most kSharedWordFactor
// and less when the words they share are a small part of the description (`shared_share`, 0 to
// 1, by idf): "guerrilla force" for a long account of an irregular armed force stays high.
double SharedWordFactor(double shared_share);

inline constexpr double kSharedWordFactor = 0.8;

}  // namespace meaning
