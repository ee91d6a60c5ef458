// One sense's tag, for callers that know which sense they want (the search by meaning shows
// the definition of the sense that matched): one synset read and one tag read, where
// Nymdex_GetTags reads every sense of the word.
#include "engine/nymdex_internal.h"

uint32_t Nymdex_GetSenseTag(const NymdexEngine* engine, const char* word, uint32_t sense,
                            TagRecord* tag) {
  if (engine == nullptr) return kNymdexNullHandle;
  if (word == nullptr || tag == nullptr) return kNymdexNullArgument;
  uint32_t id = 0;
  nymdex::SenseRecord record;
  if (!nymdex::LookUpSenses(engine, word, &record, &id) || sense >= record.count) {
    return kNymdexNotFound;
  }
  uint32_t pos = 0;
  uint32_t offset = 0;
  uint32_t tag_id = 0;
  nymdex::TagBlock block;
  TagRecord found;
  if (!nymdex::SenseSynset(engine, id, record, sense, &pos, &offset) ||
      !nymdex::ReadTagId(engine, nymdex::SynsetAt(engine, pos, offset), &tag_id) ||
      !nymdex::ReadTagText(engine, tag_id, &block, &found.text)) {
    return kNymdexNotFound;
  }
  found.pos = pos;
  *tag = std::move(found);
  return kNymdexOk;
}
