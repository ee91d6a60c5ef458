// The lexical engine: the built-in dictionary compiled into "1001L.dat" (synsets, indexes,
// sense lists), "1001W.dat" (word index) and "1001T.dat" (glosses).
//
// Words are passed in index form: spaces written "_", case as the caller has it (lookups
// ignore case). Related words come back in display form: "_" shown as a space, lower case.
// Functions never throw and never print; queries may run concurrently on one handle, but not
// alongside start-up or shut-down.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct NymdexEngine;

// Status codes.
inline constexpr uint32_t kNymdexOk = 0;
inline constexpr uint32_t kNymdexNullHandle = 3;
inline constexpr uint32_t kNymdexNoMemory = 7;  // memory or the stop event at start-up
inline constexpr uint32_t kNymdexNullArgument = 8;
inline constexpr uint32_t kNymdexNotFound = 9;        // not in the index, or a lookup step failed
inline constexpr uint32_t kNymdexBadWordIndex = 15;   // word index unreadable or undecodable
inline constexpr uint32_t kNymdexBadIndexes = 16;     // part-of-speech indexes or bucket tables
inline constexpr uint32_t kNymdexBadSenseLists = 17;  // sense-list section or bucket table
inline constexpr uint32_t kNymdexCorrupt = 18;        // synset or tag file failed its digest

// Part-of-speech codes.
inline constexpr uint32_t kNoun = 1;
inline constexpr uint32_t kVerb = 2;
inline constexpr uint32_t kAdjective = 3;
inline constexpr uint32_t kAdverb = 4;

inline constexpr size_t kMaxWordLength = 1023;  // result buffers hold kMaxWordLength + 1

// ---- Start-up and shut-down ----

// Called by start-up on its calling thread, once per (size / 100) + 1 bytes of the word index
// read, steps from 0 on.
using ProgressCallback = int32_t (*)(int32_t step, void* callback_value);

// Verifies the synset and tag files (18), loads the word index (15), the part-of-speech
// indexes (16) and the sense lists (17). Null arguments give 8 before any file is touched.
// The handle is stored only on success; a failure leaves nothing to release. With a second
// core the checks and the synset file's sections load on a thread of their own while the
// calling thread decodes the word index; the code is still that of the first failing step in
// the order above, and `progress` is called on the calling thread, only once both files
// passed their checks.
uint32_t Nymdex_StartUp(NymdexEngine** handle, const char* synset_path, const char* word_index_path,
                        const char* tag_path, ProgressCallback progress, void* callback_value);

// Releases the engine; 3 when `handle` or *handle is null. *handle is not cleared.
uint32_t Nymdex_ShutDown(NymdexEngine** handle);

// ---- Word index ----

// The word's identifier, or -1 (null arguments, not in the index, malformed entry).
int32_t Nymdex_GetIdFromWord(const NymdexEngine* engine, const char* word);

// 1 and the stored word (index form, stored case) in `word` (1,024 bytes); 0 when the handle
// or buffer is null, the identifier is not in the index, or its stored word would not fit.
int32_t Nymdex_GetWordFromID(const NymdexEngine* engine, uint32_t id, char* word);

// 1 when the word is in the index, 0 when not, 3 for a null handle, 8 for a null word.
uint32_t Nymdex_IsWord(const NymdexEngine* engine, const char* word);

// 1 and the word's synset offsets in part of speech `pos` appended to `offsets` (stored
// order); 0 when the word has no record there or an argument is out of range.
int32_t Nymdex_GetOffsetList(const NymdexEngine* engine, uint32_t pos, uint32_t id,
                             std::vector<uint32_t>* offsets);

// The decoded word-index entries (word, NUL, six identifier digits, back to back), their byte
// length and their count as the index header gives it. Read by the anagram engine and the
// pattern matcher; valid while the engine runs. All zero for a null handle.
struct NymdexEntryRegion {
  const char* data = nullptr;
  uint32_t length = 0;
  uint32_t count = 0;
};
NymdexEntryRegion Nymdex_GetEntryRegion(const NymdexEngine* engine);

// ---- Senses, tags and frequency ----

// Low byte: part-of-speech code; high byte: frequency.
using SenseEntry = uint16_t;
inline uint32_t SensePos(SenseEntry e) {
  return e & 0xFF;
}
inline uint32_t SenseFrequency(SenseEntry e) {
  return e >> 8;
}

// A caller-owned sense list: `text` is left as the caller set it; entries are appended.
struct SenseList {
  std::string text;
  std::vector<SenseEntry> entries;
};

// Part-of-speech code and tag text (a synset's gloss, or a custom entry's definition).
struct TagRecord {
  uint32_t pos = 0;
  std::string text;
};

// 1 with the word's sense entries appended; 0 for null arguments, unknown words, no senses.
int32_t Nymdex_GetSensesForWord(const NymdexEngine* engine, const char* word, SenseList* list);

// 0 with the entries appended; 3 null handle; 8 null word or list; 9 unknown or no senses.
uint32_t Nymdex_GetSenses(const NymdexEngine* engine, const char* word, SenseList* list);

// 0 with one record per sense appended in sense order (nouns, verbs, adjectives, adverbs);
// 3, 8, or 9 (unknown word, no senses, failed read; records appended before it stay).
uint32_t Nymdex_GetTags(const NymdexEngine* engine, const char* word, std::vector<TagRecord>* tags);

// 1 with one tag identifier per synset offset appended (also for an empty input); 0 for a
// null handle or output, a code outside 1 to 4 with a non-empty input, or a failed read.
int32_t Nymdex_GetTagIDs(const NymdexEngine* engine, const std::vector<uint32_t>& offsets,
                         std::vector<uint32_t>* tag_ids, uint32_t pos);

// The highest frequency among the word's senses; -1 null arguments; 9 unknown or no senses.
int32_t Nymdex_GetFrequency(const NymdexEngine* engine, const char* word);

// 1 when any sense of the word has that part of speech, else 0.
int32_t Nymdex_IsNoun(const NymdexEngine* engine, const char* word);
int32_t Nymdex_IsVerb(const NymdexEngine* engine, const char* word);
int32_t Nymdex_IsAdjective(const NymdexEngine* engine, const char* word);
int32_t Nymdex_IsAdverb(const NymdexEngine* engine, const char* word);

// ---- Relations ----
//
// `senses` are sense numbers (rows of Nymdex_GetTags), visited in order; a number beyond the
// word's senses ends the visit. Has: 1 when a chosen sense has the relation, else 0 (every
// failure is 0). Get: appends related words in display form, then, when `sort` is non-zero,
// sorts the whole list by bytes and drops repeats; 0, 3 null handle, 8 null list, 9 unknown
// word, no senses or an unmappable sense.

using NymdexHasFunction = int32_t (*)(const NymdexEngine* engine, const char* word,
                                      const std::vector<uint32_t>& senses);
using NymdexGetFunction = uint32_t (*)(const NymdexEngine* engine, const char* word,
                                       std::vector<std::string>* words, int32_t sort,
                                       const std::vector<uint32_t>& senses);

#define VERBARIUM_NYMDEX_RELATION(Name)                                    \
  int32_t Nymdex_Has##Name(const NymdexEngine* engine, const char* word,   \
                           const std::vector<uint32_t>& senses);           \
  uint32_t Nymdex_Get##Name(const NymdexEngine* engine, const char* word,  \
                            std::vector<std::string>* words, int32_t sort, \
                            const std::vector<uint32_t>& senses);
VERBARIUM_NYMDEX_RELATION(Synonyms)
VERBARIUM_NYMDEX_RELATION(Antonyms)
VERBARIUM_NYMDEX_RELATION(Hypernyms)
VERBARIUM_NYMDEX_RELATION(Holonyms)
VERBARIUM_NYMDEX_RELATION(Hyponyms)
VERBARIUM_NYMDEX_RELATION(Meronyms)
VERBARIUM_NYMDEX_RELATION(Attributes)
VERBARIUM_NYMDEX_RELATION(Similar)
VERBARIUM_NYMDEX_RELATION(SeeAlso)
VERBARIUM_NYMDEX_RELATION(Derived)
VERBARIUM_NYMDEX_RELATION(DRF)
VERBARIUM_NYMDEX_RELATION(DSC)
VERBARIUM_NYMDEX_RELATION(MDC)
VERBARIUM_NYMDEX_RELATION(DSR)
VERBARIUM_NYMDEX_RELATION(MDR)
VERBARIUM_NYMDEX_RELATION(DSU)
VERBARIUM_NYMDEX_RELATION(MDU)
VERBARIUM_NYMDEX_RELATION(Entailment)
VERBARIUM_NYMDEX_RELATION(Cause)
VERBARIUM_NYMDEX_RELATION(VerbGroup)
VERBARIUM_NYMDEX_RELATION(Participle)
VERBARIUM_NYMDEX_RELATION(Pertainym)
#undef VERBARIUM_NYMDEX_RELATION

// The 22 relations in pane order, with their titles: the table the panes, the custom database
// and the command line share.
struct NymdexRelation {
  const char* name;        // "Synonyms", "Antonyms", "Hypernyms", ...
  const char* pane_title;  // "Synonyms", "Antonyms", "Kind of", ...
  const char* tab_label;   // label in the custom entry dialogs ("See Also" for see-also)
  NymdexHasFunction has;
  NymdexGetFunction get;
};
inline constexpr int kRelationCount = 22;
extern const NymdexRelation kNymdexRelations[kRelationCount];
