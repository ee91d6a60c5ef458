#include "app/lookup/lookup.h"

#include <algorithm>

#include "app/lookup/inflections.h"
#include "app/lookup/suggestions.h"
#include "custom/custom_db.h"
#include "engine/nymdex.h"

namespace lookup {

CustomWordData::CustomWordData(const CustomDatabase* db, const std::string& index_form) {
  if (db != nullptr) status_ = CustomDb_FindRecords(db, index_form.c_str(), &records_);
  ok_ = db != nullptr && status_ == kCustomOk;
  if (!ok_) records_.clear();
}

bool CustomWordData::Has(int kind) const {
  if (!ok_ || kind < 0 || kind >= kCustomRelationCount) return false;
  return std::any_of(records_.begin(), records_.end(), [kind](const std::string& record) {
    return !GetRecordField(record, kCustomRelations[kind].field).empty();
  });
}

bool CustomWordData::Get(int kind, std::vector<std::string>* words) const {
  words->clear();
  if (!ok_ || kind < 0 || kind >= kCustomRelationCount) return false;
  for (const std::string& record : records_) {
    SplitCommaList(GetRecordField(record, kCustomRelations[kind].field), words);
  }
  return true;
}

bool PaneHasContent(const NymdexEngine* engine, const CustomWordData& custom, int kind,
                    const std::string& index_form, const std::vector<uint32_t>& senses) {
  if (kind == kAnagramsPane) return true;
  if (kind < 0 || kind >= kRelationCount) return false;
  if (engine != nullptr && kNymdexRelations[kind].has(engine, index_form.c_str(), senses) == 1) {
    return true;
  }
  return custom.Has(kind);
}

bool PaneWords(const NymdexEngine* engine, const CustomWordData& custom, int kind,
               const std::string& index_form, const std::vector<uint32_t>& senses,
               std::vector<std::string>* words) {
  words->clear();
  if (kind < 0 || kind >= kRelationCount) return false;
  const bool engine_ok =
      engine != nullptr &&
      kNymdexRelations[kind].get(engine, index_form.c_str(), words, 1, senses) == kNymdexOk;
  if (!engine_ok) words->clear();
  std::vector<std::string> custom_words;
  const bool custom_ok = custom.Get(kind, &custom_words);
  if (!engine_ok && !custom_ok) return false;
  if (!custom_words.empty()) {
    words->insert(words->end(), std::make_move_iterator(custom_words.begin()),
                  std::make_move_iterator(custom_words.end()));
    std::sort(words->begin(), words->end());
  }
  return true;
}

LookupSession::LookupSession(const NymdexEngine* engine, CustomDatabase** custom,
                             JumbleEngine* jumble)
    : engine_(engine), custom_(custom), jumble_(jumble) {}

LookupSession::~LookupSession() = default;

bool LookupSession::IsKnown(const std::string& index_form, bool* damaged) const {
  if (engine_ != nullptr && Nymdex_IsWord(engine_, index_form.c_str()) == 1) return true;
  const CustomDatabase* db = custom_db();
  if (db == nullptr) return false;
  int32_t status = kCustomOk;
  const bool known = CustomDb_IsWord(db, index_form.c_str(), &status) > 0;
  if (damaged != nullptr && CustomStatusIsDamage(status)) *damaged = true;
  return known;
}

uint32_t LookupSession::PosMask(const std::string& index_form) const {
  uint32_t mask = 0;
  SenseList list;
  if (engine_ != nullptr && Nymdex_GetSensesForWord(engine_, index_form.c_str(), &list) == 1) {
    for (SenseEntry entry : list.entries) {
      const uint32_t pos = SensePos(entry);
      if (pos >= kNoun && pos <= kAdverb) mask |= 1u << (pos - 1);
    }
  }
  if (mask != kAnyPos) {
    const CustomDatabase* db = custom_db();
    if (db != nullptr && CustomDb_IsWord(db, index_form.c_str()) > 0) mask = kAnyPos;
  }
  return mask;
}

InputKind LookupSession::Classify(const std::string& text, std::string* base_form,
                                  std::vector<std::string>* other_bases, bool* damaged) const {
  if (IsLookupPattern(text)) return InputKind::kPattern;
  BaseForms forms = ResolveBaseForms(
      text, forms_, [this, damaged](const std::string& w) { return IsKnown(w, damaged); },
      [this](const std::string& w) { return PosMask(w); });
  if (forms.found) {
    *base_form = std::move(forms.base);
    if (other_bases != nullptr) *other_bases = std::move(forms.others);
    return InputKind::kWord;
  }
  return HasInvalidCharacters(text) ? InputKind::kInvalid : InputKind::kUnknown;
}

std::vector<std::string> LookupSession::Suggestions(std::string_view text) const {
  if (engine_ == nullptr && custom_db() == nullptr) return {};
  if (spelling_ == nullptr) spelling_ = std::make_unique<SpellingIndex>(engine_);
  return SuggestWords(*spelling_, engine_, custom_db(), text);
}

LookupResult LookupSession::Lookup(std::string_view typed) {
  LookupResult result;
  result.text = NormaliseLookupText(typed);
  result.new_word = result.text != current_word_;
  if (result.new_word) current_word_ = result.text;
  result.kind =
      Classify(result.text, &result.base_form, &result.other_bases, &result.custom_damaged);
  switch (result.kind) {
    case InputKind::kPattern:
      ClearView();
      result.matches = anagram::FindPatternMatches(engine_, result.text);
      break;
    case InputKind::kWord: {
      // One read of the word's custom records serves the senses and every pane.
      const std::string index_form = ToIndexForm(result.base_form);
      if (index_form != ToIndexForm(result.text)) result.from = result.text;
      const CustomWordData custom(custom_db(), index_form);
      if (CustomStatusIsDamage(custom.status())) result.custom_damaged = true;
      result.senses_built = BuildSenses(index_form, custom, result.new_word);
      if (result.senses_built) RebuildPanes(custom);
      break;
    }
    case InputKind::kUnknown:
      ClearView();
      result.suggestions = Suggestions(result.text);
      break;
    case InputKind::kInvalid:
      break;
  }
  return result;
}

void LookupSession::ClearView() {
  rows_.clear();
  engine_sense_count_ = 0;
  tabs_.clear();
  selected_tab_ = -1;
}

bool LookupSession::BuildSenses(const std::string& index_form, const CustomWordData& custom,
                                bool new_word) {
  std::vector<TagRecord> tags;
  const bool engine_ok =
      engine_ != nullptr && Nymdex_GetTags(engine_, index_form.c_str(), &tags) == kNymdexOk;
  // Records read before a failure would shift the custom rows onto engine sense numbers.
  if (!engine_ok) tags.clear();
  // The custom senses and their examples come from the word's records, as
  // CustomDb_GetSenses and CustomDb_GetEntries would give them.
  if (!engine_ok && !custom.ok()) return false;

  std::vector<bool> kept;
  if (!new_word) {
    for (const SenseRow& row : rows_) {
      kept.push_back(row.checked);
    }
  }
  rows_.clear();
  word_ = index_form;
  engine_sense_count_ = tags.size();
  const size_t total = tags.size() + custom.records().size();
  for (size_t i = 0; i < total; ++i) {
    SenseRow row;
    row.number = static_cast<int>(i) + 1;
    row.custom = i >= tags.size();
    if (!row.custom) {
      row.pos = tags[i].pos;
      row.text = std::move(tags[i].text);
      row.examples = GlossExamples(row.text);
    } else {
      const std::string& record = custom.records()[i - tags.size()];
      row.pos = CustomTypePos(GetRecordField(record, kCustomTypeField));
      row.text = GetRecordField(record, kCustomDefinitionField);
      row.examples = CustomExamples(GetRecordField(record, kCustomExamplesField));
    }
    row.definition = CutDefinition(row.text);
    row.checked = i < kept.size() ? kept[i] : true;
    rows_.push_back(std::move(row));
  }
  return true;
}

void LookupSession::SetChecked(size_t row, bool checked) {
  if (row < rows_.size()) rows_[row].checked = checked;
}

void LookupSession::SetAllChecked(bool checked) {
  for (SenseRow& row : rows_)
    row.checked = checked;
}

void LookupSession::SetCheckedByPos(uint32_t pos, bool checked) {
  for (SenseRow& row : rows_) {
    if (row.pos == pos) row.checked = checked;
  }
}

void LookupSession::RebuildPanes() {
  // Without a checked row no pane is tried, and the records are not read.
  const bool tries_panes = !PaneSetForCode(selection_code()).empty();
  RebuildPanes(tries_panes ? CustomWordData(custom_db(), word_) : CustomWordData());
}

void LookupSession::RebuildPanes(const CustomWordData& custom) {
  const int previous_kind = selected_tab_ >= 0 && selected_tab_ < static_cast<int>(tabs_.size())
                                ? tabs_[selected_tab_].kind
                                : -1;
  tabs_.clear();
  const std::vector<int>& tried = PaneSetForCode(selection_code());
  const std::vector<uint32_t> senses = SelectedSenses(rows_);
  std::vector<int> kinds;
  for (int kind : tried) {
    if (!PaneEnabled(kind, panes_mask_)) continue;
    if (!PaneHasContent(engine_, custom, kind, word_, senses)) continue;
    PaneTab tab;
    tab.kind = kind;
    if (kind != kAnagramsPane) PaneWords(engine_, custom, kind, word_, senses, &tab.words);
    tabs_.push_back(std::move(tab));
    kinds.push_back(kind);
  }
  selected_tab_ = TabToSelect(kinds, previous_kind);
}

void LookupSession::SelectTab(int index) {
  if (index >= -1 && index < static_cast<int>(tabs_.size())) selected_tab_ = index;
}

bool LookupSession::UsageForTypedText(std::string_view typed) const {
  const std::string word = ToIndexForm(typed);
  if (engine_ == nullptr || Nymdex_IsWord(engine_, word.c_str()) != 1) return false;
  std::vector<TagRecord> tags;
  Nymdex_GetTags(engine_, word.c_str(), &tags);
  if (std::any_of(tags.begin(), tags.end(),
                  [](const TagRecord& tag) { return TextHasExamples(tag.text); })) {
    return true;  // this runs on every change of the text: the custom files are spared
  }
  const CustomWordData custom(custom_db(), word);
  return std::any_of(custom.records().begin(), custom.records().end(),
                     [](const std::string& record) {
                       return TextHasExamples(GetRecordField(record, kCustomDefinitionField));
                     });
}

bool LookupSession::UsageForListEntry(std::string_view entry) const {
  const std::string word = ToIndexForm(entry);
  // Records of the word make it known and give the answer, so one read serves both; without
  // them the word is known only to the engine.
  const CustomWordData custom(custom_db(), word);
  if (!custom.records().empty()) return true;
  if (engine_ == nullptr || Nymdex_IsWord(engine_, word.c_str()) != 1) return false;
  std::vector<TagRecord> tags;
  Nymdex_GetTags(engine_, word.c_str(), &tags);
  return std::any_of(tags.begin(), tags.end(),
                     [](const TagRecord& tag) { return TextHasExamples(tag.text); });
}

bool LookupSession::usage_available() const {
  return std::any_of(rows_.begin(), rows_.end(),
                     [](const SenseRow& row) { return !row.examples.empty(); });
}

}  // namespace lookup
