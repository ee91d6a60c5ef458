// The checks and the assembly behind the "Add Custom Entry" and "Edit Custom Entry" dialogs:
// from what the user typed to the values the custom database stores, with the dialogs'
// messages. The command line's "custom add" uses the very same rules.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "custom/custom_db.h"

namespace lookup {

inline constexpr char kEnterWordMessage[] = "Please enter a word or phrase";
inline constexpr char kInvalidWordMessage[] =
    "The word or phrase contains invalid characters. It must\nconsist purely of alphabetic "
    "letters (or spaces). See the help for further details.";
inline constexpr char kEnterDefinitionMessage[] = "Please enter a definition";
inline constexpr char kInvalidDefinitionMessage[] =
    "The definition contains invalid characters. It must\nconsist purely of alphabetic "
    "letters (or spaces). See the help for further details.";
inline constexpr char kAddFailedMessage[] = "Failed to add entry to the custom database";
inline constexpr char kEditFailedMessage[] = "Failed to edit entry in the custom database";
inline constexpr char kDeleteFailedMessage[] = "Failed to delete entry from the custom database";
inline constexpr char kCorruptedDataMessage[] =
    "One of the data files has been corrupted.\nPlease reinstall or repair Verbarium.";
inline constexpr char kReadErrorMessage[] =
    "Error reading the dictionaries. Please re-install Verbarium.";
inline constexpr char kNotKnownMessage[] = "Not a known word or phrase";

// Texts the record format cannot hold: '%' ends a field, '^' ends an example.
inline constexpr char kInvalidExampleMessage[] =
    "An example of usage cannot contain the characters % and ^";
inline constexpr char kInvalidRelatedWordMessage[] =
    "A related word cannot contain the character %";

inline constexpr char kWordTooLongMessage[] =
    "The word or phrase can be at most 25 characters long";
inline constexpr char kDefinitionTooLongMessage[] =
    "The definition can be at most 255 characters long";

inline constexpr size_t kWordLimit = 25;         // characters of the word box
inline constexpr size_t kDefinitionLimit = 255;  // characters of the definition box

enum class EntryDialog { kAdd, kEdit };

// What the user typed: the boxes' texts, the type list's selection (-1 for none), the
// examples list's items and the related-word lists by relation slot.
struct CustomEntryForm {
  std::string word;
  std::string definition;
  int type_index = 0;
  std::vector<std::string> examples;
  CustomRelationLists related;
};

// The values handed to CustomDb_AppendEntry or CustomDb_ReplaceEntry.
struct CustomEntryValues {
  std::string key;  // the word the entry is stored under (CustomEntryKey)
  int32_t type_index = 0;
  std::string definition;
  std::string examples;  // each example followed by '^'
  CustomRelationLists related;
};

// Which box a failed check empties.
enum class EntryField { kNone, kWord, kDefinition, kExamples, kRelated };

struct EntryCheck {
  std::string message;  // empty when the form is valid
  EntryField clear = EntryField::kNone;
  bool ok() const { return message.empty(); }
};

// The relation slots whose tabs a type index shows (0 noun to 3 adverb have their own sets;
// any other type shows "Synonyms" only).
const std::vector<int>& CustomTabSlots(int type_index);

// The word an entry is stored and found under: the lookup's index form (trimmed, lower-cased,
// spaces as "_"), so that a lookup of the word finds the entry whatever case it was typed in.
std::string CustomEntryKey(std::string_view word);

// The dialogs' checks, in their order: word present and of letters and spaces; definition
// present and of letters and spaces (the add dialog also takes digits); then the boxes' length
// limits (the boxes stop typing there; other callers get a message), and examples and related
// words the record can hold. Builds `values` when all pass: the trimmed non-empty
// examples, and the non-empty related words of the type's tabs (untrimmed).
EntryCheck ValidateCustomEntry(const CustomEntryForm& form, EntryDialog dialog,
                               CustomEntryValues* values);

// The type index of a type given by its display name ("Noun", "Adjective", ...) or stored name
// ("noun", "adj", ...), without regard to ASCII case; -1 when it is none of the nine.
int CustomTypeFromName(std::string_view name);

// The relation slot of a tab label ("Kind of", "See Also", ...) or relation name ("Hypernyms",
// ...), without regard to ASCII case; -1 when none.
int CustomSlotFromName(std::string_view name);

// The examples list of a stored entry, for editing: the pieces of its examples text between
// the '^'s, in order, empty pieces left out, a last piece without its '^' kept. The inverse of
// the examples text ValidateCustomEntry builds.
std::vector<std::string> SplitCustomExamples(std::string_view examples_text);

}  // namespace lookup
