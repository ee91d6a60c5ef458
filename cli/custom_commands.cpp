// The custom database commands: add, list, show, delete, backup, restore.
#include <algorithm>
#include <ctime>
#include <iostream>
#include <set>

#include "app/lookup/custom_entry.h"
#include "app/lookup/senses.h"
#include "app/lookup/text_rules.h"
#include "cli/cli.h"
#include "cli/cli_internal.h"
#include "cli/json_writer.h"
#include "custom/backup.h"
#include "custom/custom_db.h"

namespace cli {

namespace {

constexpr char kCustomHelp[] =
    "Usage: verbarium-cli custom add WORD [--type TYPE] --definition TEXT\n"
    "                                [--example TEXT]... [--related RELATION=WORD,WORD]...\n"
    "       verbarium-cli custom list [--json]\n"
    "       verbarium-cli custom show WORD [--json]\n"
    "       verbarium-cli custom delete POSITION... | --word WORD\n"
    "       verbarium-cli custom backup [FILE.dbk]\n"
    "       verbarium-cli custom restore FILE.dbk\n"
    "\n"
    "Your own dictionary entries, which every lookup merges with the built-in dictionary.\n"
    "\n"
    "add      adds an entry with the checks of the \"Add Custom Entry\" dialog: the word of\n"
    "         letters and spaces (at most 25), the definition of letters, digits and spaces\n"
    "         (at most 255). TYPE is Noun (the default), Verb, Adjective, Adverb,\n"
    "         Preposition, Conjunction, Pronoun, Interjection or Article. RELATION is a\n"
    "         tab of the type: Synonyms, Antonyms, \"Kind of\", \"Part of\", \"Has as kind\",\n"
    "         \"Has as part\", Attribs, Similar, \"See Also\", Derived, \"Related to\", DSC,\n"
    "         MDC, DSR, MDR, DSU, MDU, Entailment, Cause, \"Verb Group\", Participle,\n"
    "         Pertainym. --example and --related may be repeated.\n"
    "list     every entry, sorted by word, with its position\n"
    "show     the entries of a word with their examples and related words\n"
    "delete   the entries at the positions that list shows, or every entry of a word\n"
    "backup   copies the database to FILE.dbk and FILE.ibk (default: a name from the\n"
    "         current time, in the current directory); a FILE with another extension\n"
    "         keeps it, and its index copy gets \".ibk\" added\n"
    "restore  replaces the database by the pair FILE.dbk and FILE.ibk, once it has checked\n"
    "         that every record of the pair reads back; a damaged pair replaces nothing\n"
    "\n"
    "  --data DIR  the data folder (default: Data below the current directory)\n"
    "\n"
    "Exit status: 0 done, 1 nothing found, 2 invalid entry, usage or data error.\n";

const char* TypeDisplayName(const std::string& type_name) {
  return lookup::PosName(CustomTypePos(type_name));
}

// The positions (from 0) of the index entries stored under `key`, in index order.
std::vector<int> PositionsOf(const std::vector<CustomEntrySummary>& entries,
                             const std::string& key) {
  std::vector<int> positions;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (lookup::CustomEntryKey(entries[i].word) == key) positions.push_back(static_cast<int>(i));
  }
  return positions;
}

int Add(const ParsedArgs& a, Dictionaries& d, Context& c) {
  lookup::CustomEntryForm form;
  form.word = JoinOperands(a.operands, 1);
  form.definition = a.Value("definition");
  form.type_index = lookup::CustomTypeFromName(a.Value("type", "Noun"));
  if (form.type_index < 0) {
    std::string names;
    for (int i = 0; i < kCustomTypeCount; ++i) {
      names += std::string(i == 0 ? "" : ", ") + kCustomTypes[i].display_name;
    }
    return UsageError(c, "custom",
                      "unknown type '" + a.Value("type") + "'; the types are " + names);
  }
  form.examples = a.Values("example");
  const std::vector<int>& slots = lookup::CustomTabSlots(form.type_index);
  for (const std::string& value : a.Values("related")) {
    const size_t equals = value.find('=');
    const int slot =
        equals == std::string::npos ? -1 : lookup::CustomSlotFromName(value.substr(0, equals));
    if (slot < 0) {
      return UsageError(c, "custom",
                        "--related takes RELATION=WORD,WORD with a relation such as "
                        "Synonyms or \"Kind of\"");
    }
    if (std::find(slots.begin(), slots.end(), slot) == slots.end()) {
      return UsageError(c, "custom",
                        std::string("the type ") + kCustomTypes[form.type_index].display_name +
                            " has no \"" + kCustomRelations[slot].label + "\" related words");
    }
    for (const std::string& word : SplitList(value.substr(equals + 1))) {
      form.related[slot].push_back(word);
    }
  }
  lookup::CustomEntryValues values;
  const lookup::EntryCheck check = ValidateCustomEntry(form, lookup::EntryDialog::kAdd, &values);
  if (!check.ok()) return Fail(c, check.message);
  if (!CustomDb_AppendEntry(&d.custom, values.type_index, values.key.c_str(),
                            values.definition.c_str(), values.examples.c_str(), "",
                            values.related)) {
    return Fail(c, lookup::kAddFailedMessage);
  }
  c.out << "Added \"" << lookup::ToDisplayForm(values.key) << "\" ("
        << kCustomTypes[values.type_index].display_name << "): " << values.definition << "\n";
  return kExitFound;
}

constexpr char kDamagedEntryText[] = "(damaged entry)";

int List(const ParsedArgs& a, Dictionaries& d, Context& c) {
  std::vector<CustomEntrySummary> entries;
  if (!CustomDb_GetAllEntries(d.custom, &entries, true)) {
    return Fail(c, lookup::kReadErrorMessage);
  }
  const bool damaged = std::any_of(entries.begin(), entries.end(),
                                   [](const CustomEntrySummary& e) { return e.damaged; });
  std::vector<size_t> order(entries.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t x, size_t y) { return entries[x].word < entries[y].word; });
  if (a.Has("json")) {
    JsonWriter json;
    json.BeginObject().Key("entries").BeginArray();
    for (size_t i : order) {
      if (entries[i].damaged) {
        json.BeginObject()
            .Key("position")
            .Int(static_cast<int64_t>(i) + 1)
            .Key("damaged")
            .Bool(true)
            .EndObject();
        continue;
      }
      json.BeginObject()
          .Key("position")
          .Int(static_cast<int64_t>(i) + 1)
          .Key("word")
          .String(lookup::ToDisplayForm(entries[i].word))
          .Key("type")
          .String(TypeDisplayName(entries[i].type_name))
          .Key("definition")
          .String(entries[i].definition)
          .EndObject();
    }
    json.EndArray().EndObject();
    c.out << json.text() << "\n";
  } else {
    for (size_t i : order) {
      if (entries[i].damaged) {
        c.out << i + 1 << "\t" << kDamagedEntryText << "\n";
        continue;
      }
      c.out << i + 1 << "\t" << lookup::ToDisplayForm(entries[i].word) << "\t"
            << TypeDisplayName(entries[i].type_name) << "\t" << entries[i].definition << "\n";
    }
  }
  // Damaged entries are listed, so that they can be deleted by position, but never as a
  // clean answer.
  if (damaged) return Fail(c, lookup::kCorruptedDataMessage);
  return entries.empty() ? kExitNotFound : kExitFound;
}

// One entry of a word as "custom show" prints it.
struct ShownEntry {
  int position = -1;  // from 0 in index order; -1 when it cannot be told
  std::string type;
  std::string definition;
  std::vector<std::string> examples;
  std::vector<std::pair<const char*, std::vector<std::string>>> related;  // tab label, words
};

ShownEntry DecodeEntry(const std::string& record, int position) {
  ShownEntry entry;
  entry.position = position;
  entry.type = TypeDisplayName(GetRecordField(record, kCustomTypeField));
  entry.definition = GetRecordField(record, kCustomDefinitionField);
  const std::string examples = GetRecordField(record, kCustomExamplesField);
  for (size_t start = 0; start < examples.size();) {
    const size_t end = examples.find('^', start);
    if (end == std::string::npos) break;
    if (end > start) entry.examples.push_back(examples.substr(start, end - start));
    start = end + 1;
  }
  for (const CustomRelation& relation : kCustomRelations) {
    std::vector<std::string> words;
    SplitCommaList(GetRecordField(record, relation.field), &words);
    if (!words.empty()) entry.related.emplace_back(relation.label, std::move(words));
  }
  return entry;
}

std::string ShowJson(const std::string& word, const std::vector<ShownEntry>& entries) {
  JsonWriter json;
  json.BeginObject().Key("word").String(word).Key("entries").BeginArray();
  for (const ShownEntry& entry : entries) {
    json.BeginObject().Key("position");
    if (entry.position >= 0) {
      json.Int(entry.position + 1);
    } else {
      json.Null();
    }
    json.Key("type").String(entry.type).Key("definition").String(entry.definition);
    json.Key("examples").Strings(entry.examples).Key("related").BeginArray();
    for (const auto& [label, words] : entry.related) {
      json.BeginObject().Key("title").String(label).Key("words").Strings(words).EndObject();
    }
    json.EndArray().EndObject();
  }
  json.EndArray().EndObject();
  return json.text();
}

void PrintShowText(std::ostream& out, const std::string& word,
                   const std::vector<ShownEntry>& entries) {
  for (size_t r = 0; r < entries.size(); ++r) {
    const ShownEntry& entry = entries[r];
    if (r > 0) out << "\n";
    if (entry.position >= 0) out << entry.position + 1 << ". ";
    out << word << " (" << entry.type << "): " << entry.definition << "\n";
    for (const std::string& example : entry.examples)
      out << "  \"" << example << "\"\n";
    for (const auto& [label, words] : entry.related) {
      out << "  " << label << ":";
      for (size_t i = 0; i < words.size(); ++i)
        out << (i == 0 ? " " : ", ") << words[i];
      out << "\n";
    }
  }
}

int Show(const ParsedArgs& a, Dictionaries& d, Context& c) {
  const std::string key = lookup::CustomEntryKey(JoinOperands(a.operands, 1));
  if (key.empty()) return UsageError(c, "custom", "show needs a word");
  std::vector<std::string> records;
  std::vector<CustomEntrySummary> summaries;
  const int32_t status = CustomDb_FindRecords(d.custom, key.c_str(), &records);
  if (status != kCustomOk || !CustomDb_GetAllEntries(d.custom, &summaries, true)) {
    return Fail(c, CustomStatusIsDamage(status) ? lookup::kCorruptedDataMessage
                                                : lookup::kReadErrorMessage);
  }
  const std::string word = lookup::ToDisplayForm(key);
  if (records.empty()) {
    c.err << "No custom entry for \"" << word << "\"\n";
    return kExitNotFound;
  }
  std::vector<int> positions = PositionsOf(summaries, key);
  if (positions.size() != records.size()) positions.assign(records.size(), -1);
  std::vector<ShownEntry> entries;
  for (size_t r = 0; r < records.size(); ++r)
    entries.push_back(DecodeEntry(records[r], positions[r]));
  if (a.Has("json")) {
    c.out << ShowJson(word, entries) << "\n";
  } else {
    PrintShowText(c.out, word, entries);
  }
  return kExitFound;
}

// Deletes as the Custom Database dialog does: in the order given, positions behind a deleted
// entry moving up by one, the database reopened after each deletion.
int Delete(const ParsedArgs& a, Dictionaries& d, Context& c) {
  std::vector<CustomEntrySummary> entries;
  // Damaged entries keep their positions, so that they can be deleted.
  if (!CustomDb_GetAllEntries(d.custom, &entries, true)) {
    return Fail(c, lookup::kReadErrorMessage);
  }
  std::vector<int> positions;
  if (a.Has("word")) {
    if (a.operands.size() > 1) return UsageError(c, "custom", "give positions or --word");
    positions = PositionsOf(entries, lookup::CustomEntryKey(a.Value("word")));
    if (positions.empty()) {
      c.err << "No custom entry for \"" << lookup::ToDisplayForm(a.Value("word")) << "\"\n";
      return kExitNotFound;
    }
  } else {
    if (a.operands.size() < 2) return UsageError(c, "custom", "delete needs positions");
    std::set<int> seen;
    for (size_t i = 1; i < a.operands.size(); ++i) {
      int number = 0;
      if (!ParseInt(a.operands[i], &number) || number < 1 ||
          number > static_cast<int>(entries.size()) || !seen.insert(number).second) {
        return UsageError(c, "custom",
                          "'" + a.operands[i] + "' is not a position of 'custom list' (1 to " +
                              std::to_string(entries.size()) + ", each once)");
      }
      positions.push_back(number - 1);
    }
  }
  for (size_t i = 0; i < positions.size(); ++i) {
    const CustomEntrySummary& entry = entries[positions[i]];
    std::string label = entry.damaged
                            ? std::string(kDamagedEntryText)
                            : lookup::ToDisplayForm(entry.word) + " (" +
                                  TypeDisplayName(entry.type_name) + "): " + entry.definition;
    int current = positions[i];
    for (size_t k = 0; k < i; ++k) {
      if (positions[k] < positions[i]) --current;
    }
    if (!CustomDb_DeleteEntry(d.custom, current)) return Fail(c, lookup::kDeleteFailedMessage);
    c.out << "Deleted " << label << "\n";
    CustomDb_Close(&d.custom);
    const std::string reopen = d.OpenCustom();
    if (!reopen.empty()) return Fail(c, lookup::kCorruptedDataMessage);
  }
  return kExitFound;
}

int Backup(const ParsedArgs& a, Dictionaries& d, Context& c) {
  if (a.operands.size() > 2) return UsageError(c, "custom", "backup takes one file name");
  if (CustomDb_CountEntries(d.custom) == 0) {
    c.err << "The custom database is empty: there is nothing to back up\n";
    return kExitNotFound;
  }
  std::string path =
      a.operands.size() == 2 ? a.operands[1] : SuggestedBackupName(std::time(nullptr));
  // As the file dialog's default extension does: a name without one gets ".dbk".
  const size_t slash = path.rfind('/');
  if (path.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos) {
    path += kBackupExtension;
  }
  const std::string message = BackupCustomDatabase(d.index_path(), d.data_path(), path);
  if (!message.empty()) return Fail(c, message);
  c.out << "Backed up the custom database to " << path << " and " << BackupIndexPath(path) << "\n";
  return kExitFound;
}

int Restore(const ParsedArgs& a, Dictionaries& d, Context& c) {
  if (a.operands.size() != 2) return UsageError(c, "custom", "restore takes one file name");
  const RestoreResult result =
      RestoreCustomDatabase(&d.custom, d.index_path(), d.data_path(), a.operands[1]);
  switch (result.outcome) {
    case RestoreOutcome::kRestored:
      c.out << kRestoredText << "\n";
      return kExitFound;
    case RestoreOutcome::kRejected:
    case RestoreOutcome::kCopyFailed:
      return Fail(c, result.message.empty() ? kRestoreFailedText : result.message);
    case RestoreOutcome::kNotOpen:
    case RestoreOutcome::kReopenFailed:
      break;
  }
  return Fail(c, lookup::kCorruptedDataMessage);
}

}  // namespace

int CustomCommand(const std::vector<std::string>& args, Context& c) {
  ParsedArgs a;
  std::string error;
  if (!ParseArgs(args,
                 {{"help", false},
                  {"json", false},
                  {"type", true},
                  {"definition", true},
                  {"example", true},
                  {"related", true},
                  {"word", true},
                  {"data", true}},
                 &a, &error)) {
    return UsageError(c, "custom", error);
  }
  if (a.Has("help") || a.operands.empty()) {
    c.out << kCustomHelp;
    return a.Has("help") ? kExitFound : kExitError;
  }
  const std::string& action = a.operands[0];
  using Action = int (*)(const ParsedArgs&, Dictionaries&, Context&);
  const std::pair<const char*, Action> actions[] = {{"add", Add},       {"list", List},
                                                    {"show", Show},     {"delete", Delete},
                                                    {"backup", Backup}, {"restore", Restore}};
  for (const auto& [name, run] : actions) {
    if (action != name) continue;
    Dictionaries dictionaries(a.Value("data", c.data_dir));
    const std::string open_error = dictionaries.OpenCustom();
    if (!open_error.empty()) return Fail(c, open_error);
    return run(a, dictionaries, c);
  }
  return UsageError(c, "custom", "unknown action '" + action + "'");
}

}  // namespace cli
