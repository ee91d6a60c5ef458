// The 22 relation queries: one pointer walk, driven by the relation's code.
#include <algorithm>
#include <cstring>

#include "engine/nymdex_internal.h"
#include "engine/text_helpers.h"

namespace nymdex {
namespace {

// The selector a Get function hands to the pointer walk; synonyms follow no pointer.
enum RelationCode : uint8_t {
#define VERBARIUM_RELATION_CODE(Name, selector, ...) k##Name##Code = selector,
  VERBARIUM_RELATIONS(VERBARIUM_RELATION_CODE)
#undef VERBARIUM_RELATION_CODE
};

inline constexpr uint8_t kNoRelation = 0xFF;
inline constexpr int kPointerTypes = kMaxPointerType + 1;  // indexed by type, 0 unused

// The relation each pointer type belongs to, from the rows' pointer types.
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
#define VERBARIUM_RELATION_TYPES(Name, selector, pane_title, tab_label, ...) \
  set(k##Name##Code, {__VA_ARGS__});
  VERBARIUM_RELATIONS(VERBARIUM_RELATION_TYPES)
#undef VERBARIUM_RELATION_TYPES
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
  for (char& c : shown)
    c = c == '_' ? ' ' : engine::AsciiLower(c);
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
  cursor.Skip(kSynsetWordSize * count);
  if (!cursor.ReadU16(&pointers)) return;
  Cursor target(engine->synset_file);
  for (uint16_t i = 0; i < pointers; ++i) {
    uint8_t type = 0;
    if (!cursor.ReadU8(&type)) return;
    if (!Follows(type, code)) {
      cursor.Skip(kPointerSize - 1);
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
  cursor.Skip(kSynsetWordSize * count);
  if (!cursor.ReadU16(&pointers)) return false;
  for (uint16_t i = 0; i < pointers; ++i) {
    uint8_t type = 0;
    if (!cursor.ReadU8(&type)) return false;
    if (Follows(type, code)) return true;
    cursor.Skip(kPointerSize - 1);  // the rest of the pointer after its type
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

#define VERBARIUM_NYMDEX_RELATION(Name, ...)                                              \
  int32_t Nymdex_Has##Name(const NymdexEngine* engine, const char* word,                  \
                           const std::vector<uint32_t>& senses) {                         \
    return nymdex::HasRelation(engine, word, senses, nymdex::k##Name##Code);              \
  }                                                                                       \
  uint32_t Nymdex_Get##Name(const NymdexEngine* engine, const char* word,                 \
                            std::vector<std::string>* words, int32_t sort,                \
                            const std::vector<uint32_t>& senses) {                        \
    return nymdex::GetRelation(engine, word, words, sort, senses, nymdex::k##Name##Code); \
  }
VERBARIUM_RELATIONS(VERBARIUM_NYMDEX_RELATION)
#undef VERBARIUM_NYMDEX_RELATION

const NymdexRelation kNymdexRelations[kRelationCount] = {
#define VERBARIUM_NYMDEX_ROW(Name, selector, pane_title, tab_label, ...) \
  {#Name, pane_title, tab_label, &Nymdex_Has##Name, &Nymdex_Get##Name},
    VERBARIUM_RELATIONS(VERBARIUM_NYMDEX_ROW)
#undef VERBARIUM_NYMDEX_ROW
};
