// The 22 relation queries: one pointer walk, driven by the relation's code.
#include <algorithm>
#include <cstring>

#include "engine/nymdex_internal.h"

namespace nymdex {
namespace {

// The selector a Get function hands to the pointer walk; synonyms follow no pointer.
enum RelationCode : uint8_t {
  kSynonymsCode = 0,
  kHyponymsCode = 1,
  kHolonymsCode = 2,
  kHypernymsCode = 3,
  kMeronymsCode = 4,
  kAntonymsCode = 5,
  kDerivedCode = 6,
  kSeeAlsoCode = 7,
  kSimilarCode = 8,
  kAttributesCode = 9,
  kVerbGroupCode = 10,
  kParticipleCode = 11,
  kPertainymCode = 12,
  kCauseCode = 13,
  kEntailmentCode = 14,
  kDrfCode = 15,
  kMdcCode = 16,
  kMdrCode = 17,
  kMduCode = 18,
  kDscCode = 19,
  kDsrCode = 20,
  kDsuCode = 21,
};

inline constexpr uint8_t kNoRelation = 0xFF;
inline constexpr int kPointerTypes = 43;  // pointer types 1 to 42

// The relation each pointer type belongs to. Type 23 (a verb's also-see) belongs to none:
// "also see" covers adjectives only.
constexpr auto kRelationOfType = [] {
  struct Table {
    uint8_t code[kPointerTypes];
  } table{};
  for (auto& c : table.code)
    c = kNoRelation;
  auto set = [&table](uint8_t code, std::initializer_list<int> types) {
    for (int type : types)
      table.code[type] = code;
  };
  set(kAntonymsCode, {1, 18, 29, 38});
  set(kHypernymsCode, {2, 19});
  set(kHolonymsCode, {4, 5, 6});
  set(kHyponymsCode, {3, 20});
  set(kMeronymsCode, {7, 8, 9});
  set(kAttributesCode, {10, 33});
  set(kSimilarCode, {30});
  set(kSeeAlsoCode, {34});
  set(kDerivedCode, {39});
  set(kDrfCode, {11, 25});
  set(kDscCode, {12, 26, 35, 40});
  set(kMdcCode, {13});
  set(kDsrCode, {14, 27, 36, 41});
  set(kMdrCode, {15});
  set(kDsuCode, {16, 28, 37, 42});
  set(kMduCode, {17});
  set(kEntailmentCode, {21});
  set(kCauseCode, {22});
  set(kVerbGroupCode, {24});
  set(kParticipleCode, {31});
  set(kPertainymCode, {32});
  return table;
}();

inline bool Follows(uint8_t type, RelationCode code) {
  return type < kPointerTypes && kRelationOfType.code[type] == code;
}

// Resolves `id` and appends it in display form: "_" as a space, letters lower case.
bool AppendWord(const NymdexEngine* engine, uint32_t id, std::vector<std::string>* words) {
  char stored[kMaxWordLength + 1];
  if (!Nymdex_GetWordFromID(engine, id, stored)) return false;
  std::string& shown = words->emplace_back(stored);
  for (char& c : shown) {
    if (c == '_') {
      c = ' ';
    } else if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c + ('a' - 'A'));
    }
  }
  return true;
}

// Appends the words of the synset record under `cursor`; false on the first failure.
bool AppendSynsetWords(const NymdexEngine* engine, Cursor* cursor,
                       std::vector<std::string>* words) {
  uint8_t count = 0;
  if (!cursor->ReadU8(&count)) return false;
  for (uint8_t i = 0; i < count; ++i) {
    uint32_t id = 0;
    if (!cursor->ReadU32(&id) || !AppendWord(engine, id, words)) return false;
  }
  return true;
}

// Appends the words related by `code` to the synset at `position`. A failure ends the walk
// and keeps what it appended.
void WalkSynset(const NymdexEngine* engine, uint64_t position, RelationCode code,
                std::vector<std::string>* words) {
  Cursor cursor(engine->synset_file);
  cursor.Seek(position);
  if (code == kSynonymsCode) {
    AppendSynsetWords(engine, &cursor, words);
    return;
  }
  uint8_t count = 0;
  uint16_t pointers = 0;
  if (!cursor.ReadU8(&count)) return;
  cursor.Skip(4 * uint64_t{count});
  if (!cursor.ReadU16(&pointers)) return;
  Cursor target(engine->synset_file);
  for (uint16_t i = 0; i < pointers; ++i) {
    uint8_t type = 0;
    if (!cursor.ReadU8(&type)) return;
    if (!Follows(type, code)) {
      cursor.Skip(5);
      continue;
    }
    uint32_t offset = 0;
    uint8_t pos = 0;
    if (!cursor.ReadU32(&offset) || !cursor.ReadU8(&pos)) return;
    if (pos < kNoun || pos > kAdverb) return;
    target.Seek(SynsetAt(engine, pos, offset));
    if (!AppendSynsetWords(engine, &target, words)) return;
  }
}

// Whether the synset at `position` has the relation; a read failure means it has not.
bool SynsetHas(const NymdexEngine* engine, uint64_t position, RelationCode code) {
  Cursor cursor(engine->synset_file);
  cursor.Seek(position);
  uint8_t count = 0;
  uint16_t pointers = 0;
  if (!cursor.ReadU8(&count)) return false;
  if (code == kSynonymsCode) return count > 1;
  cursor.Skip(4 * uint64_t{count});
  if (!cursor.ReadU16(&pointers)) return false;
  for (uint16_t i = 0; i < pointers; ++i) {
    uint8_t type = 0;
    if (!cursor.ReadU8(&type)) return false;
    if (Follows(type, code)) return true;
    cursor.Skip(5);
  }
  return false;
}

int32_t HasRelation(const NymdexEngine* engine, const char* word,
                    const std::vector<uint32_t>& senses, RelationCode code) {
  if (engine == nullptr || word == nullptr) return 0;
  uint32_t id = 0;
  SenseRecord record;
  if (!LookUpSenses(engine, word, &record, &id)) return 0;
  for (uint32_t k : senses) {
    if (k >= record.count) return 0;
    uint32_t pos = 0;
    uint32_t offset = 0;
    if (!SenseSynset(engine, id, record, k, &pos, &offset)) return 0;
    if (SynsetHas(engine, SynsetAt(engine, pos, offset), code)) return 1;
  }
  return 0;
}

uint32_t GetRelation(const NymdexEngine* engine, const char* word, std::vector<std::string>* words,
                     int32_t sort, const std::vector<uint32_t>& senses, RelationCode code) {
  if (engine == nullptr) return kNymdexNullHandle;
  if (words == nullptr) return kNymdexNullArgument;
  uint32_t id = 0;
  SenseRecord record;
  if (word == nullptr || !LookUpSenses(engine, word, &record, &id)) return kNymdexNotFound;
  for (uint32_t k : senses) {
    if (k >= record.count) break;
    uint32_t pos = 0;
    uint32_t offset = 0;
    if (!SenseSynset(engine, id, record, k, &pos, &offset)) return kNymdexNotFound;
    WalkSynset(engine, SynsetAt(engine, pos, offset), code, words);
  }
  if (sort != 0 && !words->empty()) {
    std::sort(words->begin(), words->end());
    words->erase(std::unique(words->begin(), words->end()), words->end());
  }
  return kNymdexOk;
}

}  // namespace
}  // namespace nymdex

#define VERBARIUM_NYMDEX_RELATION(Name, code)                                    \
  int32_t Nymdex_Has##Name(const NymdexEngine* engine, const char* word,         \
                           const std::vector<uint32_t>& senses) {                \
    return nymdex::HasRelation(engine, word, senses, nymdex::code);              \
  }                                                                              \
  uint32_t Nymdex_Get##Name(const NymdexEngine* engine, const char* word,        \
                            std::vector<std::string>* words, int32_t sort,       \
                            const std::vector<uint32_t>& senses) {               \
    return nymdex::GetRelation(engine, word, words, sort, senses, nymdex::code); \
  }
VERBARIUM_NYMDEX_RELATION(Synonyms, kSynonymsCode)
VERBARIUM_NYMDEX_RELATION(Antonyms, kAntonymsCode)
VERBARIUM_NYMDEX_RELATION(Hypernyms, kHypernymsCode)
VERBARIUM_NYMDEX_RELATION(Holonyms, kHolonymsCode)
VERBARIUM_NYMDEX_RELATION(Hyponyms, kHyponymsCode)
VERBARIUM_NYMDEX_RELATION(Meronyms, kMeronymsCode)
VERBARIUM_NYMDEX_RELATION(Attributes, kAttributesCode)
VERBARIUM_NYMDEX_RELATION(Similar, kSimilarCode)
VERBARIUM_NYMDEX_RELATION(SeeAlso, kSeeAlsoCode)
VERBARIUM_NYMDEX_RELATION(Derived, kDerivedCode)
VERBARIUM_NYMDEX_RELATION(DRF, kDrfCode)
VERBARIUM_NYMDEX_RELATION(DSC, kDscCode)
VERBARIUM_NYMDEX_RELATION(MDC, kMdcCode)
VERBARIUM_NYMDEX_RELATION(DSR, kDsrCode)
VERBARIUM_NYMDEX_RELATION(MDR, kMdrCode)
VERBARIUM_NYMDEX_RELATION(DSU, kDsuCode)
VERBARIUM_NYMDEX_RELATION(MDU, kMduCode)
VERBARIUM_NYMDEX_RELATION(Entailment, kEntailmentCode)
VERBARIUM_NYMDEX_RELATION(Cause, kCauseCode)
VERBARIUM_NYMDEX_RELATION(VerbGroup, kVerbGroupCode)
VERBARIUM_NYMDEX_RELATION(Participle, kParticipleCode)
VERBARIUM_NYMDEX_RELATION(Pertainym, kPertainymCode)
#undef VERBARIUM_NYMDEX_RELATION

#define VERBARIUM_ROW(Name, pane, tab) \
  { #Name, pane, tab, &Nymdex_Has##Name, &Nymdex_Get##Name }
const NymdexRelation kNymdexRelations[kRelationCount] = {
    VERBARIUM_ROW(Synonyms, "Synonyms", "Synonyms"),
    VERBARIUM_ROW(Antonyms, "Antonyms", "Antonyms"),
    VERBARIUM_ROW(Hypernyms, "Kind of", "Kind of"),
    VERBARIUM_ROW(Holonyms, "Part of", "Part of"),
    VERBARIUM_ROW(Hyponyms, "Has as kind", "Has as kind"),
    VERBARIUM_ROW(Meronyms, "Has as part", "Has as part"),
    VERBARIUM_ROW(Attributes, "Attribs", "Attribs"),
    VERBARIUM_ROW(Similar, "Similar", "Similar"),
    VERBARIUM_ROW(SeeAlso, "Also see", "See Also"),
    VERBARIUM_ROW(Derived, "Derived", "Derived"),
    VERBARIUM_ROW(DRF, "Related to", "Related to"),
    VERBARIUM_ROW(DSC, "DSC", "DSC"),
    VERBARIUM_ROW(MDC, "MDC", "MDC"),
    VERBARIUM_ROW(DSR, "DSR", "DSR"),
    VERBARIUM_ROW(MDR, "MDR", "MDR"),
    VERBARIUM_ROW(DSU, "DSU", "DSU"),
    VERBARIUM_ROW(MDU, "MDU", "MDU"),
    VERBARIUM_ROW(Entailment, "Entailment", "Entailment"),
    VERBARIUM_ROW(Cause, "Cause", "Cause"),
    VERBARIUM_ROW(VerbGroup, "Verb Group", "Verb Group"),
    VERBARIUM_ROW(Participle, "Participle", "Participle"),
    VERBARIUM_ROW(Pertainym, "Pertainym", "Pertainym"),
};
#undef VERBARIUM_ROW
