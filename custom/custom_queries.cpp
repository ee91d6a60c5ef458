// Queries over the custom database: word test, senses, entries, and the 22 relations.

#include "custom/custom_db.h"
#include "custom/custom_internal.h"

namespace {

int32_t GetRelation(const CustomDatabase* db, const char* word, std::vector<std::string>* words,
                    int slot) {
  if (db == nullptr) return kCustomNullHandle;
  if (word == nullptr || words == nullptr) return kCustomNullArgument;
  words->clear();
  return custom::UnlessOutOfMemory(kCustomNoMemory, [&] {
    std::vector<std::string> records;
    int32_t code = CustomDb_FindRecords(db, word, &records);
    if (code != kCustomOk) return code;
    for (const std::string& record : records) {
      SplitCommaList(GetRecordField(record, kCustomFirstRelationField + slot), words);
    }
    return kCustomOk;
  });
}

bool HasRelation(const CustomDatabase* db, const char* word, int slot) {
  if (db == nullptr || word == nullptr) return false;
  return custom::UnlessOutOfMemory(false, [&] {
    std::vector<std::string> records;
    if (CustomDb_FindRecords(db, word, &records) != kCustomOk) return false;
    for (const std::string& record : records) {
      if (!GetRecordField(record, kCustomFirstRelationField + slot).empty()) return true;
    }
    return false;
  });
}

}  // namespace

int32_t CustomDb_IsWord(const CustomDatabase* db, const char* word, int32_t* status) {
  int32_t code = kCustomNullHandle;
  size_t count = 0;
  if (db != nullptr) {
    std::vector<std::string> records;
    code = CustomDb_FindRecords(db, word, &records);
    count = records.size();
  }
  if (status != nullptr) *status = code;
  return code == kCustomOk ? static_cast<int32_t>(count) : 0;
}

int32_t CustomDb_GetSenses(const CustomDatabase* db, const char* word,
                           std::vector<TagRecord>* senses) {
  if (db == nullptr) return kCustomNullHandle;
  if (word == nullptr || senses == nullptr) return kCustomNullArgument;
  senses->clear();
  return custom::UnlessOutOfMemory(kCustomNoMemory, [&] {
    std::vector<std::string> records;
    int32_t code = CustomDb_FindRecords(db, word, &records);
    if (code != kCustomOk) return code;
    for (const std::string& record : records) {
      TagRecord tag;
      tag.pos = CustomTypePos(GetRecordField(record, kCustomTypeField));
      tag.text = GetRecordField(record, kCustomDefinitionField);
      senses->push_back(std::move(tag));
    }
    return kCustomOk;
  });
}

bool CustomDb_GetEntries(const CustomDatabase* db, const char* word,
                         std::vector<CustomEntryInfo>* entries) {
  if (db == nullptr || word == nullptr || entries == nullptr) return false;
  entries->clear();
  return custom::UnlessOutOfMemory(false, [&] {
    engine::Digest key = engine::Md5String(word);
    return custom::VisitRecords(
               db, [&key](const CustomIndexEntry& entry) { return entry.key == key; },
               [entries](const CustomIndexEntry&, const std::string& record) {
                 CustomEntryInfo info;
                 info.type_name = GetRecordField(record, kCustomTypeField);
                 info.definition = GetRecordField(record, kCustomDefinitionField);
                 info.examples = GetRecordField(record, kCustomExamplesField);
                 entries->push_back(std::move(info));
               }) == kCustomOk;
  });
}

bool CustomDb_GetAllEntries(const CustomDatabase* db, std::vector<CustomEntrySummary>* entries,
                            bool mark_damage) {
  if (db == nullptr || entries == nullptr) return false;
  entries->clear();
  return custom::UnlessOutOfMemory(false, [&] {
    custom::DbLock lock;
    if (custom::LockDatabase(db, custom::LockMode::kShared, &lock) != kCustomOk) return false;
    if (db->entries.empty()) return true;
    custom::RecordReader reader;
    if (reader.Open(db->data_path) != kCustomOk) return false;
    std::string record;
    for (const CustomIndexEntry& entry : db->entries) {
      bool skipped = false;
      CustomEntrySummary summary;
      summary.offset = entry.offset;
      const int32_t code = custom::ReadCheckedRecord(&reader, entry, &record, &skipped);
      if (code != kCustomOk) {
        if (!mark_damage) return false;
        summary.damaged = true;
      } else if (skipped) {
        continue;
      } else {
        summary.word = GetRecordField(record, kCustomWordField);
        summary.definition = GetRecordField(record, kCustomDefinitionField);
        summary.type_name = GetRecordField(record, kCustomTypeField);
      }
      entries->push_back(std::move(summary));
    }
    return true;
  });
}

#define VERBARIUM_CUSTOM_RELATION(Name, ...)                               \
  bool CustomDb_Has##Name(const CustomDatabase* db, const char* word) {    \
    return HasRelation(db, word, RelationIndex(Relation::k##Name));        \
  }                                                                        \
  int32_t CustomDb_Get##Name(const CustomDatabase* db, const char* word,   \
                             std::vector<std::string>* words) {            \
    return GetRelation(db, word, words, RelationIndex(Relation::k##Name)); \
  }
VERBARIUM_RELATIONS(VERBARIUM_CUSTOM_RELATION)
#undef VERBARIUM_CUSTOM_RELATION

const CustomRelation kCustomRelations[kCustomRelationCount] = {
#define VERBARIUM_CUSTOM_ROW(Name, selector, pane_title, tab_label, ...)           \
  {#Name, tab_label, kCustomFirstRelationField + RelationIndex(Relation::k##Name), \
   CustomDb_Has##Name, CustomDb_Get##Name},
    VERBARIUM_RELATIONS(VERBARIUM_CUSTOM_ROW)
#undef VERBARIUM_CUSTOM_ROW
};
