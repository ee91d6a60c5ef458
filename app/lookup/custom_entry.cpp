#include "app/lookup/custom_entry.h"

#include "app/lookup/text_rules.h"
#include "engine/text_helpers.h"

namespace lookup {

namespace {

EntryCheck Fail(const char* message, EntryField clear) {
  return {message, clear};
}

}  // namespace

const std::vector<int>& CustomTabSlots(int type_index) {
  static const std::vector<int> kNoun = {0,  1,  2,  3,  4,  5,  6,  10, 11,
                                         12, 13, 14, 15, 16, 17, 18, 19};
  static const std::vector<int> kVerb = {0, 1, 2, 10, 11, 13, 15, 17, 18, 19};
  static const std::vector<int> kAdjective = {0, 1, 6, 7, 8, 11, 13, 15, 20, 21};
  static const std::vector<int> kAdverb = {0, 1, 9, 11, 13, 15};
  static const std::vector<int> kOther = {0};
  switch (type_index) {
    case 0:
      return kNoun;
    case 1:
      return kVerb;
    case 2:
      return kAdjective;
    case 3:
      return kAdverb;
    default:
      return kOther;
  }
}

std::string CustomEntryKey(std::string_view word) {
  return ToIndexForm(word);
}

EntryCheck ValidateCustomEntry(const CustomEntryForm& form, EntryDialog dialog,
                               CustomEntryValues* values) {
  const std::string word = Trim(form.word);
  if (word.empty()) return Fail(kEnterWordMessage, EntryField::kNone);
  for (char c : word) {
    if (c != ' ' && !engine::IsAsciiLetter(c)) return Fail(kInvalidWordMessage, EntryField::kWord);
  }
  const std::string definition = Trim(form.definition);
  if (definition.empty()) return Fail(kEnterDefinitionMessage, EntryField::kNone);
  for (char c : definition) {
    const bool digit_ok = dialog == EntryDialog::kAdd && engine::IsAsciiDigit(c);
    if (c != ' ' && !engine::IsAsciiLetter(c) && !digit_ok) {
      return Fail(kInvalidDefinitionMessage, EntryField::kDefinition);
    }
  }
  if (word.size() > kWordLimit) return Fail(kWordTooLongMessage, EntryField::kWord);
  if (definition.size() > kDefinitionLimit) {
    return Fail(kDefinitionTooLongMessage, EntryField::kDefinition);
  }

  CustomEntryValues out;
  out.key = CustomEntryKey(word);
  out.type_index = form.type_index;
  out.definition = definition;
  for (const std::string& item : form.examples) {
    const std::string example = Trim(item);
    if (example.empty()) continue;
    if (example.find_first_of("%^") != std::string::npos) {
      return Fail(kInvalidExampleMessage, EntryField::kExamples);
    }
    out.examples += example + "^";
  }
  for (int slot : CustomTabSlots(form.type_index)) {
    for (const std::string& item : form.related[slot]) {
      if (item.empty()) continue;
      if (item.find('%') != std::string::npos) {
        return Fail(kInvalidRelatedWordMessage, EntryField::kRelated);
      }
      out.related[slot].push_back(item);
    }
  }
  *values = std::move(out);
  return {};
}

int CustomTypeFromName(std::string_view name) {
  for (int i = 0; i < kCustomTypeCount; ++i) {
    if (EqualsIgnoringAsciiCase(name, kCustomTypes[i].name) ||
        EqualsIgnoringAsciiCase(name, kCustomTypes[i].display_name)) {
      return i;
    }
  }
  return -1;
}

int CustomSlotFromName(std::string_view name) {
  for (int slot = 0; slot < kCustomRelationCount; ++slot) {
    if (EqualsIgnoringAsciiCase(name, kCustomRelations[slot].label) ||
        EqualsIgnoringAsciiCase(name, kCustomRelations[slot].name)) {
      return slot;
    }
  }
  return -1;
}

std::vector<std::string> SplitCustomExamples(std::string_view examples_text) {
  std::vector<std::string> examples;
  while (!examples_text.empty()) {
    const size_t end = examples_text.find('^');
    if (end != 0) examples.emplace_back(examples_text.substr(0, end));
    if (end == std::string_view::npos) break;
    examples_text.remove_prefix(end + 1);
  }
  return examples;
}

}  // namespace lookup
