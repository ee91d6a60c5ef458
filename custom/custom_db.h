// The custom database: the user's own dictionary entries in an index file ("1001M.idx") and a
// data file ("1001M.dat").
//
// Index file: a 16-byte header (12 reserved bytes, kept as found, then the entry count) and one
// 20-byte entry per record (the MD5 of the word's bytes, then the record's offset in the data
// file). Data file: the records back to back, each a 4-byte length N and N bytes of RC2 cipher
// text under the default key. All integers are 32-bit little-endian. A record's plaintext is 27
// fields, each ended by '%' (see BuildCustomRecord).
//
// Words are keyed on exactly the bytes given: nothing is lower-cased or trimmed for the key.
// Every operation opens, uses and closes its files; none is open between calls, so the two
// files may be copied at any time between operations. Changes are all or nothing: an append,
// delete or replace that fails leaves both files as they were, and one that succeeds is on
// disk before it returns. A change cut short by a crash is finished or undone by the next
// operation on the files (open included), using a small journal file beside the index
// ("<index path>.journal", empty between changes).
//
// Processes that share the files are coordinated by an advisory lock (flock on the journal
// file): every change, and the settling of a change cut short, holds it exclusive and starts
// from the files as they are under it; every read holds it shared. A handle's copy of the index
// is brought up to date under the lock whenever the index file changed since it was read, so a
// handle may stay open while other processes change the database. An operation that cannot get
// the lock within a few seconds fails as a file failure does (false, or kCustomCannotOpen).
// A change by position names the entry the handle showed at that position; when other
// processes have since moved entries so that it can no longer be told for sure, the change
// fails and changes nothing.
//
// Functions never throw and never print. One thread at a time per process.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/nymdex.h"  // TagRecord, kRelationCount

struct CustomDatabase;

// ---- Status codes (signed) ----

inline constexpr int32_t kCustomOk = 0;
// Cipher unavailable, or a record that does not decipher into a well-formed record of its
// entry (custom/record_check.h): damage, never shown as content.
inline constexpr int32_t kCustomCipherError = 2;
inline constexpr int32_t kCustomNullHandle = 3;
inline constexpr int32_t kCustomNoMemory = 7;
inline constexpr int32_t kCustomNullArgument = 8;
inline constexpr int32_t kCustomBadRecord = 9;    // a record cannot be reached or read
inline constexpr int32_t kCustomCannotOpen = 10;  // open: the index file; queries: the data file
inline constexpr int32_t kCustomBadIndex = 11;    // index damaged or short, or data file missing

// Whether a failure status means the files are damaged (the corrupted-data message) rather than
// unreadable or missing (the read-error message): kCustomCipherError, kCustomBadRecord,
// kCustomBadIndex.
constexpr bool CustomStatusIsDamage(int32_t status) {
  return status == kCustomCipherError || status == kCustomBadRecord || status == kCustomBadIndex;
}

// ---- Record layout ----

inline constexpr int kCustomFieldCount = 27;
inline constexpr int kCustomWordField = 1;
inline constexpr int kCustomFirstRelationField = 2;  // field of relation slot 0
inline constexpr int kCustomTypeField = 24;
inline constexpr int kCustomDefinitionField = 25;
inline constexpr int kCustomSpareField = 26;     // always written as given (callers pass "")
inline constexpr int kCustomExamplesField = 27;  // each example followed by '^'

// Index file: the header, then one entry per record.
inline constexpr int kCustomHeaderSize = 16;
inline constexpr int kCustomCountAt = 12;  // the entry count, behind the 12 reserved bytes
inline constexpr int kCustomIndexEntrySize = 20;
inline constexpr int kCustomKeySize = 16;        // an entry's key: the MD5 of the word's bytes
inline constexpr int kCustomEntryOffsetAt = 16;  // then the record's offset in the data file
// Data file: each record is its u32 length N, then N bytes of cipher text.
inline constexpr int kCustomRecordLengthSize = 4;

// ---- Relation slots ----
//
// Slot i is row i of VERBARIUM_RELATIONS (Synonyms, Antonyms, Hypernyms, ...), stored in field
// i + 2. `label` is the row's tab label in the entry dialogs.

inline constexpr int kCustomRelationCount = kRelationCount;  // 22

using CustomHasFunction = bool (*)(const CustomDatabase* db, const char* word);
using CustomGetFunction = int32_t (*)(const CustomDatabase* db, const char* word,
                                      std::vector<std::string>* words);

struct CustomRelation {
  const char* name;   // "Synonyms", "Antonyms", "Hypernyms", ... as in kNymdexRelations
  const char* label;  // "Synonyms", "Antonyms", "Kind of", ...
  int field;          // 2 to 23
  CustomHasFunction has;
  CustomGetFunction get;
};
extern const CustomRelation kCustomRelations[kCustomRelationCount];

// The 22 lists of related words that an entry is built from, indexed by slot.
using CustomRelationLists = std::array<std::vector<std::string>, kCustomRelationCount>;

// ---- Types ----
//
// Type index 0 to 8 (the entry dialogs' type list), the name stored in field 24, the name shown
// and the part-of-speech code that queries report. A stored name that matches none reads as
// kCustomOtherPos; a type index outside 0 to 8 is written as "noun".

struct CustomType {
  const char* name;          // "noun", "verb", "adj", "adv", "prep", "conj", "pron", "int", "art"
  const char* display_name;  // "Noun", "Verb", "Adjective", ...
  uint32_t pos;              // 1 to 9
};
inline constexpr int kCustomTypeCount = 9;
inline constexpr CustomType kCustomTypes[kCustomTypeCount] = {
    {"noun", "Noun", 1},    {"verb", "Verb", 2},        {"adj", "Adjective", 3},
    {"adv", "Adverb", 4},   {"prep", "Preposition", 5}, {"conj", "Conjunction", 6},
    {"pron", "Pronoun", 7}, {"int", "Interjection", 8}, {"art", "Article", 9},
};
inline constexpr uint32_t kCustomOtherPos = 10;

// Part-of-speech code of a stored type name: exact, case-sensitive match, else kCustomOtherPos.
uint32_t CustomTypePos(std::string_view type_name);

// Type index of a stored type name for the edit dialog: 0 to 8, or 0 when none matches.
int CustomTypeIndex(std::string_view type_name);

// ---- Records ----

// Field n (from 1) of a record: the text between the (n-1)-th and the n-th '%'. Empty when
// fewer than n '%' exist; text after the last '%' never belongs to a field.
std::string GetRecordField(std::string_view record, int n);

// Appends the words of a relation field to `words`: nothing for an empty text; the whole text
// as one word when it has no ',' or begins with ','; otherwise the pieces between commas in
// order (empty pieces between adjacent commas included), the piece after the last comma only
// when it is not empty.
void SplitCommaList(std::string_view field, std::vector<std::string>* words);

// The plaintext an append stores: field 1 the word in lower case; fields 2 to 23 the non-empty
// words of each slot in lower case joined by ','; field 24 the type name; 25 the definition;
// 26 `spare`; 27 `examples`; every field followed by '%'. Lower case is ASCII only.
std::string BuildCustomRecord(int32_t type_index, std::string_view word,
                              std::string_view definition, std::string_view examples,
                              std::string_view spare, const CustomRelationLists& related);

// ---- Files ----

enum class CustomCreateResult {
  kCreated,   // both files were missing and now hold an empty database
  kExisting,  // both files exist; nothing was touched
  kDamaged,   // exactly one of the two exists; nothing was created or overwritten
  kFailed,    // null argument, or the files could not be written (nothing is left behind)
};

// Creates an empty database (a 16-byte header of zero bytes and count 0, and an empty data file)
// when both files are missing.
CustomCreateResult CustomDb_CreateIfMissing(const char* index_path, const char* data_path);

// ---- Store ----

// Opens the database: finishes or undoes a change cut short by a crash, then reads the header
// and every index entry. kCustomOk and the new handle in *handle; kCustomNullArgument;
// kCustomNoMemory; kCustomCannotOpen when the index file cannot be opened (or an interrupted
// change cannot be settled); kCustomBadIndex when the header or an entry cannot be read (an
// index shorter than its count says), or the data file is missing. *handle is untouched on
// failure.
int32_t CustomDb_Open(CustomDatabase** handle, const char* index_path, const char* data_path);

// Releases the database and sets *handle to null; kCustomNullHandle when handle or *handle is
// null.
int32_t CustomDb_Close(CustomDatabase** handle);

// The count field of the index file's header as it is on disk now; 0 for a null handle or an
// unreadable file.
uint32_t CustomDb_CountEntries(const CustomDatabase* db);

// Clears `records`, then appends the plaintext of every record stored under the word's key in
// index order (each cut at its first zero byte; records of length 0 are skipped), each checked
// against its key: one without 27 fields or not stored under its own word gives
// kCustomCipherError (an unknown type name is no damage). kCustomOk;
// kCustomNullHandle; kCustomNullArgument for a null word or list; kCustomCannotOpen when the
// data file cannot be opened; kCustomCipherError for a cipher failure or a record length that
// is not a multiple of 8; kCustomBadRecord for a record outside the data file or unreadable;
// kCustomNoMemory. The data file is opened only when some key matches.
int32_t CustomDb_FindRecords(const CustomDatabase* db, const char* word,
                             std::vector<std::string>* records);

// Appends an entry (record built by BuildCustomRecord) at the end of both files. True once it is
// on disk; *handle (the same object) then reflects it. False for a null handle or word, or any
// file failure: the files and *handle are then as before.
bool CustomDb_AppendEntry(CustomDatabase** handle, int32_t type_index, const char* word,
                          const char* definition, const char* examples, const char* spare,
                          const CustomRelationLists& related);

// Removes the entry at `position` (index order) from both files: its record leaves the data
// file, the offsets of the entries behind it move down. True once on disk; false for a null
// handle, a position out of range or a file failure, with files and handle unchanged. An entry
// whose record lies outside the data file is removed from the index alone.
bool CustomDb_DeleteEntry(CustomDatabase* db, int32_t position);

// Which step a failed replace stands for, for the edit dialog's messages.
enum class CustomReplaceFailure { kNone, kDelete, kAppend };

// Deletes the entry at `position` (none when negative) and appends the new values, as one
// change: both happen or neither. The new entry comes last. On failure `failure` (optional)
// receives kDelete when a position was given, kAppend otherwise.
bool CustomDb_ReplaceEntry(CustomDatabase** handle, int32_t position, int32_t type_index,
                           const char* word, const char* definition, const char* examples,
                           const char* spare, const CustomRelationLists& related,
                           CustomReplaceFailure* failure = nullptr);

// ---- Queries ----
//
// Built on CustomDb_FindRecords; they never sort or remove repeats. Output lists are cleared
// once the null checks have passed.

// Type name (kCustomTypeField), definition (kCustomDefinitionField), an empty text, examples
// text (kCustomExamplesField).
struct CustomEntryInfo {
  std::string type_name;
  std::string definition;
  std::string spare;
  std::string examples;
};

// Word (kCustomWordField), definition, type name and the record's offset in the data file.
struct CustomEntrySummary {
  std::string word;
  std::string definition;
  std::string type_name;
  uint32_t offset = 0;
  // Listed with CustomDb_GetAllEntries' `mark_damage`: the record cannot be read or fails its
  // check; word, definition and type name are then empty.
  bool damaged = false;
};

// The number of records stored under the word. On failure the result is 0, so that a database
// that cannot be read never makes a word known; `status` (optional) receives kCustomOk or the
// failure code (kCustomNullHandle, or a code of CustomDb_FindRecords).
int32_t CustomDb_IsWord(const CustomDatabase* db, const char* word, int32_t* status = nullptr);

// kCustomOk and one TagRecord per record (code from field 24, text = definition);
// kCustomNullHandle; kCustomNullArgument for a null word or list; otherwise the code of
// CustomDb_FindRecords (or kCustomNoMemory) with the list left empty.
int32_t CustomDb_GetSenses(const CustomDatabase* db, const char* word,
                           std::vector<TagRecord>* senses);

// True and one element per record of the word (empty for an empty database); false for a null
// argument or a failed read (elements gathered before it stay).
bool CustomDb_GetEntries(const CustomDatabase* db, const char* word,
                         std::vector<CustomEntryInfo>* entries);

// True and one element per index entry, in index order (entries whose record length is 0 are
// skipped); false for a null argument or a failed read (elements gathered before it stay). A
// record that cannot be read or fails its check (damage) is a failed read, unless `mark_damage`:
// it is then listed as an element marked `damaged`, and only a data file that cannot be opened
// fails.
bool CustomDb_GetAllEntries(const CustomDatabase* db, std::vector<CustomEntrySummary>* entries,
                            bool mark_damage = false);

// Relations. Get: kCustomOk and the words of the relation's field over all the word's records,
// in order; kCustomNullHandle; kCustomNullArgument for a null word or list; otherwise the code
// of CustomDb_FindRecords (or kCustomNoMemory), list left empty. Has: true when one of the word's
// records has a non-empty field for the relation; false otherwise and on every failure.
//
// CustomDb_Has<Name> and CustomDb_Get<Name> for every row of VERBARIUM_RELATIONS
// (engine/relations.h): CustomDb_HasSynonyms, CustomDb_GetSynonyms, ... CustomDb_GetPertainym.
#define VERBARIUM_CUSTOM_RELATION(Name, ...)                             \
  bool CustomDb_Has##Name(const CustomDatabase* db, const char* word);   \
  int32_t CustomDb_Get##Name(const CustomDatabase* db, const char* word, \
                             std::vector<std::string>* words);
VERBARIUM_RELATIONS(VERBARIUM_CUSTOM_RELATION)
#undef VERBARIUM_CUSTOM_RELATION
