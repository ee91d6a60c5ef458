// Queries over the custom database: word test, senses, entries, and the 22 relations.

#include "custom/custom_db.h"
#include "custom/custom_internal.h"

namespace {

int32_t GetRelation(const CustomDatabase* db, const char* word, std::vector<std::string>* words,
                    int slot) {
  if (db == nullptr) return kCustomNullHandle;
  if (word == nullptr || words == nullptr) return kCustomNullArgument;
  words->clear();
  std::vector<std::string> records;
  int32_t code = CustomDb_FindRecords(db, word, &records);
  if (code != kCustomOk) return code;
  for (const std::string& record : records) {
    SplitCommaList(GetRecordField(record, kCustomFirstRelationField + slot), words);
  }
  return kCustomOk;
}

bool HasRelation(const CustomDatabase* db, const char* word, int slot) {
  if (db == nullptr || word == nullptr) return false;
  std::vector<std::string> records;
  if (CustomDb_FindRecords(db, word, &records) != kCustomOk) return false;
  for (const std::string& record : records) {
    if (!GetRecordField(record, kCustomFirstRelationField + slot).empty()) return true;
  }
  return false;
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
}

bool CustomDb_GetEntries(const CustomDatabase* db, const char* word,
                         std::vector<CustomEntryInfo>* entries) {
  if (db == nullptr || word == nullptr || entries == nullptr) return false;
  entries->clear();
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
}

bool CustomDb_GetAllEntries(const CustomDatabase* db, std::vector<CustomEntrySummary>* entries) {
  if (db == nullptr || entries == nullptr) return false;
  entries->clear();
  return custom::VisitRecords(
             db, [](const CustomIndexEntry&) { return true; },
             [entries](const CustomIndexEntry& entry, const std::string& record) {
               CustomEntrySummary summary;
               summary.word = GetRecordField(record, kCustomWordField);
               summary.definition = GetRecordField(record, kCustomDefinitionField);
               summary.type_name = GetRecordField(record, kCustomTypeField);
               summary.offset = entry.offset;
               entries->push_back(std::move(summary));
             }) == kCustomOk;
}

#define VERBARIUM_CUSTOM_RELATION(Name, slot)                            \
  bool CustomDb_Has##Name(const CustomDatabase* db, const char* word) {  \
    return HasRelation(db, word, slot);                                  \
  }                                                                      \
  int32_t CustomDb_Get##Name(const CustomDatabase* db, const char* word, \
                             std::vector<std::string>* words) {          \
    return GetRelation(db, word, words, slot);                           \
  }
VERBARIUM_CUSTOM_RELATION(Synonyms, 0)
VERBARIUM_CUSTOM_RELATION(Antonyms, 1)
VERBARIUM_CUSTOM_RELATION(Hypernyms, 2)
VERBARIUM_CUSTOM_RELATION(Holonyms, 3)
VERBARIUM_CUSTOM_RELATION(Hyponyms, 4)
VERBARIUM_CUSTOM_RELATION(Meronyms, 5)
VERBARIUM_CUSTOM_RELATION(Attributes, 6)
VERBARIUM_CUSTOM_RELATION(Similar, 7)
VERBARIUM_CUSTOM_RELATION(SeeAlso, 8)
VERBARIUM_CUSTOM_RELATION(Derived, 9)
VERBARIUM_CUSTOM_RELATION(DRF, 10)
VERBARIUM_CUSTOM_RELATION(DSC, 11)
VERBARIUM_CUSTOM_RELATION(MDC, 12)
VERBARIUM_CUSTOM_RELATION(DSR, 13)
VERBARIUM_CUSTOM_RELATION(MDR, 14)
VERBARIUM_CUSTOM_RELATION(DSU, 15)
VERBARIUM_CUSTOM_RELATION(MDU, 16)
VERBARIUM_CUSTOM_RELATION(Entailment, 17)
VERBARIUM_CUSTOM_RELATION(Cause, 18)
VERBARIUM_CUSTOM_RELATION(VerbGroup, 19)
VERBARIUM_CUSTOM_RELATION(Participle, 20)
VERBARIUM_CUSTOM_RELATION(Pertainym, 21)
#undef VERBARIUM_CUSTOM_RELATION

#define VERBARIUM_CUSTOM_ROW(Name, label, slot) \
  { #Name, label, kCustomFirstRelationField + slot, CustomDb_Has##Name, CustomDb_Get##Name }
const CustomRelation kCustomRelations[kCustomRelationCount] = {
    VERBARIUM_CUSTOM_ROW(Synonyms, "Synonyms", 0),
    VERBARIUM_CUSTOM_ROW(Antonyms, "Antonyms", 1),
    VERBARIUM_CUSTOM_ROW(Hypernyms, "Kind of", 2),
    VERBARIUM_CUSTOM_ROW(Holonyms, "Part of", 3),
    VERBARIUM_CUSTOM_ROW(Hyponyms, "Has as kind", 4),
    VERBARIUM_CUSTOM_ROW(Meronyms, "Has as part", 5),
    VERBARIUM_CUSTOM_ROW(Attributes, "Attribs", 6),
    VERBARIUM_CUSTOM_ROW(Similar, "Similar", 7),
    VERBARIUM_CUSTOM_ROW(SeeAlso, "See Also", 8),
    VERBARIUM_CUSTOM_ROW(Derived, "Derived", 9),
    VERBARIUM_CUSTOM_ROW(DRF, "Related to", 10),
    VERBARIUM_CUSTOM_ROW(DSC, "DSC", 11),
    VERBARIUM_CUSTOM_ROW(MDC, "MDC", 12),
    VERBARIUM_CUSTOM_ROW(DSR, "DSR", 13),
    VERBARIUM_CUSTOM_ROW(MDR, "MDR", 14),
    VERBARIUM_CUSTOM_ROW(DSU, "DSU", 15),
    VERBARIUM_CUSTOM_ROW(MDU, "MDU", 16),
    VERBARIUM_CUSTOM_ROW(Entailment, "Entailment", 17),
    VERBARIUM_CUSTOM_ROW(Cause, "Cause", 18),
    VERBARIUM_CUSTOM_ROW(VerbGroup, "Verb Group", 19),
    VERBARIUM_CUSTOM_ROW(Participle, "Participle", 20),
    VERBARIUM_CUSTOM_ROW(Pertainym, "Pertainym", 21),
};
#undef VERBARIUM_CUSTOM_ROW
