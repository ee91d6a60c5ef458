// The lexical engine: the built-in dictionary compiled into "1001L.dat" (synsets, indexes,
// sense lists), "1001W.dat" (word index) and "1001T.dat" (glosses).
//
// Words are passed in index form: spaces written "_", case as the caller has it (lookups
// ignore case). Related words come back in display form: "_" shown as a space, lower case.
// Functions never throw and never print; queries may run concurrently on one handle, but not
// alongside start-up or shut-down.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/relations.h"

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

// Verifies the synset and tag files (kNymdexCorrupt), loads the word index
// (kNymdexBadWordIndex), the part-of-speech indexes (kNymdexBadIndexes) and the sense lists
// (kNymdexBadSenseLists); kNymdexNoMemory when memory or the stop event cannot be had. Null
// arguments give kNymdexNullArgument before any file is touched. The handle is stored only on
// success (kNymdexOk); a failure leaves nothing to release. With a second core the checks and
// the synset file's sections load on a thread of their own while the calling thread decodes the
// word index; the code is still that of the first failing step in the order above, and
// `progress` is called on the calling thread, only once both files passed their checks.
uint32_t Nymdex_StartUp(NymdexEngine** handle, const char* synset_path, const char* word_index_path,
                        const char* tag_path, ProgressCallback progress, void* callback_value);

// Names the folder where start-ups keep a verified copy of the decoded word index between runs
// (the user's cache folder; made when missing); null or empty for none, as before any call.
// With a copy made from the same "1001W.dat" start-up maps it instead of decoding; every status
// code, progress call and query result is the same with or without one, and a copy that does
// not match is decoded past and rewritten. Failures to write it are silent. With a folder
// named, start-up first looks for the copy the data compiler ships beside "1001W.dat"
// ("word-index.cache" in the same folder), which it only reads: one that does not match is a
// miss like any other, and the decode's copy goes to the cache folder alone. Call it before
// the start-ups it should apply to.
void Nymdex_SetCacheFolder(const char* folder);

// Releases the engine; kNymdexNullHandle when `handle` or *handle is null. *handle is not
// cleared.
uint32_t Nymdex_ShutDown(NymdexEngine** handle);

// ---- Word index ----

// The word's identifier, or -1 (null arguments, not in the index, malformed entry).
int32_t Nymdex_GetIdFromWord(const NymdexEngine* engine, const char* word);

// 1 and the stored word (index form, stored case) in `word` (kMaxWordLength + 1 bytes); 0 when
// the handle or buffer is null, the identifier is not in the index, or its stored word would
// not fit. nymdex::WordOfId gives it as a string.
int32_t Nymdex_GetWordFromID(const NymdexEngine* engine, uint32_t id, char* word);

// 1 when the word is in the index, 0 when not, kNymdexNullHandle for a null handle,
// kNymdexNullArgument for a null word. The error codes are not 0, so a plain `if` on the result
// is true for them: compare with 1, or use nymdex::IsKnownWord.
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

// kNymdexOk with the entries appended; kNymdexNullHandle; kNymdexNullArgument for a null word
// or list; kNymdexNotFound for an unknown word or one without senses.
uint32_t Nymdex_GetSenses(const NymdexEngine* engine, const char* word, SenseList* list);

// kNymdexOk with one record per sense appended in sense order (nouns, verbs, adjectives,
// adverbs); kNymdexNullHandle, kNymdexNullArgument, or kNymdexNotFound (unknown word, no senses,
// failed read; records appended before it stay).
uint32_t Nymdex_GetTags(const NymdexEngine* engine, const char* word, std::vector<TagRecord>* tags);

// 0 with the record of one sense (numbered as Nymdex_GetTags lists them) in `tag`, reading
// that sense's tag alone; 3, 8, or 9 (unknown word, no such sense, failed read).
uint32_t Nymdex_GetSenseTag(const NymdexEngine* engine, const char* word, uint32_t sense,
                            TagRecord* tag);

// 1 with one tag identifier per synset offset appended (also for an empty input); 0 for a
// null handle or output, a code outside 1 to 4 with a non-empty input, or a failed read.
int32_t Nymdex_GetTagIDs(const NymdexEngine* engine, const std::vector<uint32_t>& offsets,
                         std::vector<uint32_t>* tag_ids, uint32_t pos);

// The highest frequency among the word's senses (0 to 255); -1 for null arguments;
// kNymdexNotFound (9) for an unknown word or one without senses, which cannot be told from a
// frequency of 9: nymdex::HighestFrequency answers with no value instead.
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
// sorts the whole list by bytes and drops repeats; kNymdexOk, kNymdexNullHandle,
// kNymdexNullArgument for a null list, kNymdexNotFound for an unknown word, no senses or an
// unmappable sense (words of the senses visited before it stay).

using NymdexHasFunction = int32_t (*)(const NymdexEngine* engine, const char* word,
                                      const std::vector<uint32_t>& senses);
using NymdexGetFunction = uint32_t (*)(const NymdexEngine* engine, const char* word,
                                       std::vector<std::string>* words, int32_t sort,
                                       const std::vector<uint32_t>& senses);

// Nymdex_Has<Name> and Nymdex_Get<Name> for every row of VERBARIUM_RELATIONS (engine/relations.h):
// Nymdex_HasSynonyms, Nymdex_GetSynonyms, Nymdex_HasAntonyms, ... Nymdex_GetPertainym.
#define VERBARIUM_NYMDEX_RELATION(Name, ...)                               \
  int32_t Nymdex_Has##Name(const NymdexEngine* engine, const char* word,   \
                           const std::vector<uint32_t>& senses);           \
  uint32_t Nymdex_Get##Name(const NymdexEngine* engine, const char* word,  \
                            std::vector<std::string>* words, int32_t sort, \
                            const std::vector<uint32_t>& senses);
VERBARIUM_RELATIONS(VERBARIUM_NYMDEX_RELATION)
#undef VERBARIUM_NYMDEX_RELATION

// The engine's two functions of each relation, by row of VERBARIUM_RELATIONS, with the row's
// texts.
struct NymdexRelation {
  const char* name;        // "Synonyms", "Antonyms", "Hypernyms", ...
  const char* pane_title;  // "Synonyms", "Antonyms", "Kind of", ...
  const char* tab_label;   // label in the custom entry dialogs ("See Also" for see-also)
  NymdexHasFunction has;
  NymdexGetFunction get;
};
extern const NymdexRelation kNymdexRelations[kRelationCount];

// ---- Typed forms for C++ callers ----
//
// The functions above keep their status codes; these say in their types what the codes mean.

namespace nymdex {

enum class Status : uint32_t {
  kOk = kNymdexOk,
  kNullHandle = kNymdexNullHandle,
  kNoMemory = kNymdexNoMemory,
  kNullArgument = kNymdexNullArgument,
  kNotFound = kNymdexNotFound,
  kBadWordIndex = kNymdexBadWordIndex,
  kBadIndexes = kNymdexBadIndexes,
  kBadSenseLists = kNymdexBadSenseLists,
  kCorrupt = kNymdexCorrupt,
};

enum class PartOfSpeech : uint32_t {
  kNoun = ::kNoun,
  kVerb = ::kVerb,
  kAdjective = ::kAdjective,
  kAdverb = ::kAdverb,
};

// A status code of the engine as its enum: StatusOf(Nymdex_StartUp(...)) == Status::kCorrupt.
constexpr Status StatusOf(uint32_t code) {
  return static_cast<Status>(code);
}

// True only for a word in the index; false also for a null handle or word.
inline bool IsKnownWord(const NymdexEngine* engine, const char* word) {
  return Nymdex_IsWord(engine, word) == 1;
}

// The word's identifier; none for null arguments or a word not in the index.
inline std::optional<uint32_t> WordId(const NymdexEngine* engine, const char* word) {
  const int32_t id = Nymdex_GetIdFromWord(engine, word);
  if (id < 0) return std::nullopt;
  return static_cast<uint32_t>(id);
}

// The stored word of an identifier (index form, stored case); none when Nymdex_GetWordFromID
// gives 0.
inline std::optional<std::string> WordOfId(const NymdexEngine* engine, uint32_t id) {
  char word[kMaxWordLength + 1];
  if (Nymdex_GetWordFromID(engine, id, word) != 1) return std::nullopt;
  return std::string(word);
}

// The highest frequency among the word's senses; none for null arguments, an unknown word or
// one without senses.
inline std::optional<uint32_t> HighestFrequency(const NymdexEngine* engine, const char* word) {
  SenseList senses;
  if (Nymdex_GetSensesForWord(engine, word, &senses) != 1) return std::nullopt;
  return static_cast<uint32_t>(Nymdex_GetFrequency(engine, word));
}

// Whether a chosen sense has the relation (Nymdex_Has<Name>).
inline bool HasRelated(const NymdexEngine* engine, Relation relation, const char* word,
                       const std::vector<uint32_t>& senses) {
  return kNymdexRelations[RelationIndex(relation)].has(engine, word, senses) == 1;
}

// The related words of the chosen senses, sorted and without repeats (Nymdex_Get<Name>); none
// when the engine cannot answer.
inline std::optional<std::vector<std::string>> RelatedWords(const NymdexEngine* engine,
                                                            Relation relation, const char* word,
                                                            const std::vector<uint32_t>& senses) {
  std::vector<std::string> words;
  if (kNymdexRelations[RelationIndex(relation)].get(engine, word, &words, 1, senses) != kNymdexOk) {
    return std::nullopt;
  }
  return words;
}

}  // namespace nymdex
