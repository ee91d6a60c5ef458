#include "app/meaning/meaning_custom.h"

#include <algorithm>
#include <unordered_map>

#include "app/meaning/meaning_text.h"
#include "custom/custom_db.h"
#include "engine/nymdex.h"

namespace meaning {

namespace {

// The field of each custom relation slot: synonyms are the entry's own words, "Kind of" its
// more general words; antonyms say what it is not and are left out, as the compiler leaves
// them out for the built-in senses.
int SlotField(int slot) {
  switch (slot) {
    case 0:
      return kOwnWordsField;
    case 1:
      return -1;
    case 2:
      return kKindWordsField;
    default:
      return kLinkedWordsField;
  }
}

}  // namespace

lookup::IsKnownFunction KnownWords(const NymdexEngine* engine, const CustomEntries* custom) {
  return [engine, custom](const std::string& index_form) {
    if (engine != nullptr && Nymdex_IsWord(engine, index_form.c_str()) == 1) return true;
    return custom != nullptr && custom->IsKnown(index_form);
  };
}

bool CustomEntries::Read(const CustomDatabase* db, const NymdexEngine* engine) {
  entries_.clear();
  words_.clear();
  if (db == nullptr) return true;
  std::vector<CustomEntrySummary> summaries;
  const bool ok = CustomDb_GetAllEntries(db, &summaries);
  for (const CustomEntrySummary& summary : summaries)
    words_.insert(lookup::ToIndexForm(summary.word));

  const TermNormaliser normaliser(KnownWords(engine, this));
  // The records of each word give the examples and related words; they come in the order of
  // the summaries of that word, unless some entry was stored under another spelling.
  std::unordered_map<std::string, std::vector<std::string>> records_of;
  std::unordered_map<std::string, size_t> seen;
  for (const CustomEntrySummary& summary : summaries) {
    const std::string key = lookup::ToIndexForm(summary.word);
    auto [records, added] = records_of.try_emplace(key);
    if (added && CustomDb_FindRecords(db, key.c_str(), &records->second) != kCustomOk) {
      records->second.clear();
    }
    const size_t nth = seen[key]++;
    CustomEntry entry;
    entry.word = lookup::ToDisplayForm(key);
    entry.pos = CustomTypePos(summary.type_name);
    entry.definition = summary.definition;
    auto add = [&](std::string_view text, int field) {
      for (std::string& term : normaliser.Terms(text))
        entry.terms[field].push_back(std::move(term));
    };
    add(summary.definition, kDefinitionField);
    std::vector<std::string> distinct = entry.terms[kDefinitionField];
    std::sort(distinct.begin(), distinct.end());
    entry.definition_terms = std::unique(distinct.begin(), distinct.end()) - distinct.begin();
    add(entry.word, kOwnWordsField);
    if (nth < records->second.size() &&
        GetRecordField(records->second[nth], kCustomDefinitionField) == summary.definition) {
      const std::string& record = records->second[nth];
      add(GetRecordField(record, kCustomExamplesField), kExampleField);
      for (int slot = 0; slot < kCustomRelationCount; ++slot) {
        const int field = SlotField(slot);
        if (field >= 0) add(GetRecordField(record, kCustomRelations[slot].field), field);
      }
    }
    entries_.push_back(std::move(entry));
  }
  return ok;
}

}  // namespace meaning
