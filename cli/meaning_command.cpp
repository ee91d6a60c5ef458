// verbarium-cli meaning: find words by a description of their meaning.
#include <cstdio>
#include <fstream>
#include <iostream>

#include "app/lookup/senses.h"
#include "app/meaning/meaning_search.h"
#include "cli/cli.h"
#include "cli/cli_internal.h"
#include "cli/json_writer.h"
#include "platform/program_names.h"

namespace cli {

namespace {

constexpr char kMeaningHelp[] =
    "Usage: verbarium-cli meaning DESCRIPTION [--count N] [--json]\n"
    "       verbarium-cli meaning --batch FILE [--count N]\n"
    "\n"
    "Finds the words that a description of their meaning fits, best first: each word with\n"
    "its part of speech and the definition of the sense that matched. Your own entries are\n"
    "searched beside the dictionary. A description holds letters, digits, spaces and common\n"
    "punctuation, at most 200 characters; common words such as \"the\" and \"of\" are not\n"
    "searched, and the description's own words are never offered.\n"
    "\n"
    "  --count N     how many words, 1 to 1,000 (default 20)\n"
    "  --json        JSON output: {\"input\", \"words\": [{\"word\", \"pos\", \"definition\",\n"
    "                \"score\"}]}\n"
    "  --batch FILE  one description per line of FILE (- for standard input), one JSON line\n"
    "                each; a line that finds nothing gives {\"input\", \"error\"}\n"
    "  --data DIR    the data folder (default: Data below the current directory)\n"
    "\n"
    "Exit status: 0 found, 1 nothing found (in a batch: any line), 2 invalid text, usage\n"
    "or data error.\n";

int ExitStatus(meaning::MeaningStatus status) {
  switch (status) {
    case meaning::MeaningStatus::kFound:
      return kExitFound;
    case meaning::MeaningStatus::kNothingFound:
    case meaning::MeaningStatus::kNoSearchableWord:
      return kExitNotFound;
    case meaning::MeaningStatus::kTooLong:
    case meaning::MeaningStatus::kInvalidCharacters:
    case meaning::MeaningStatus::kIndexMissing:
    case meaning::MeaningStatus::kIndexDamaged:
      break;
  }
  return kExitError;
}

bool IndexFailed(meaning::MeaningStatus status) {
  return status == meaning::MeaningStatus::kIndexMissing ||
         status == meaning::MeaningStatus::kIndexDamaged;
}

std::string MeaningJson(const std::string& input, const meaning::MeaningResult& result) {
  JsonWriter json;
  json.BeginObject().Key("input").String(input);
  if (result.status != meaning::MeaningStatus::kFound) {
    json.Key("error").String(result.message);
  } else {
    json.Key("words").BeginArray();
    for (const meaning::MeaningRow& row : result.rows) {
      json.BeginObject()
          .Key("word")
          .String(row.word)
          .Key("pos")
          .String(lookup::PosName(row.pos))
          .Key("definition")
          .String(row.definition)
          .Key("score")
          .Number(row.score)
          .EndObject();
    }
    json.EndArray();
  }
  json.EndObject();
  return json.text();
}

void PrintMeaningText(std::ostream& out, const meaning::MeaningResult& result) {
  for (size_t i = 0; i < result.rows.size(); ++i) {
    const meaning::MeaningRow& row = result.rows[i];
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "%4zu  %-12s ", i + 1, lookup::PosName(row.pos));
    out << prefix << row.word << ": " << row.definition << "\n";
  }
}

int RunBatch(const std::string& file, const meaning::MeaningSearch& search,
             const meaning::CustomEntries& custom, size_t count, Context& c) {
  std::ifstream stream;
  std::istream* input = &c.in;
  if (file != "-") {
    stream.open(file, std::ios::binary);
    if (!stream) return Fail(c, "verbarium-cli meaning: cannot read '" + file + "'");
    input = &stream;
  }
  int status = kExitFound;
  std::string line;
  while (std::getline(*input, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const meaning::MeaningResult result = search.Search(line, custom, count);
    // An index that cannot be read fails the whole batch; other lines only count.
    if (IndexFailed(result.status)) {
      c.out.flush();
      return Fail(c, result.message);
    }
    if (result.status != meaning::MeaningStatus::kFound) status = kExitNotFound;
    c.out << MeaningJson(line, result) << "\n";
  }
  if (input->bad()) return Fail(c, "verbarium-cli meaning: cannot read '" + file + "'");
  return status;
}

}  // namespace

int MeaningCommand(const std::vector<std::string>& args, Context& c) {
  ParsedArgs a;
  std::string error;
  if (!ParseArgs(
          args,
          {{"help", false}, {"json", false}, {"count", true}, {"batch", true}, {"data", true}}, &a,
          &error)) {
    return UsageError(c, "meaning", error);
  }
  if (a.Has("help")) {
    c.out << kMeaningHelp;
    return kExitFound;
  }
  const bool batch = a.Has("batch");
  if (batch && !a.operands.empty()) {
    return UsageError(c, "meaning", "give either DESCRIPTION or --batch FILE");
  }
  if (!batch && a.operands.empty()) return UsageError(c, "meaning", "no description");
  int count = static_cast<int>(meaning::kDefaultResultCount);
  if (a.Has("count") && (!ParseInt(a.Value("count"), &count) || count < 1 ||
                         count > static_cast<int>(meaning::kMaxResultCount))) {
    return UsageError(c, "meaning", "--count takes a number from 1 to 1,000");
  }

  Dictionaries dictionaries(a.Value("data", c.data_dir));
  for (const std::string& message : {dictionaries.OpenEngine(), dictionaries.OpenCustom()}) {
    if (!message.empty()) return Fail(c, message);
  }
  // Entries that cannot be read take no part, as in a lookup.
  meaning::CustomEntries custom;
  custom.Read(dictionaries.custom, dictionaries.engine);
  const meaning::MeaningSearch search(dictionaries.engine,
                                      dictionaries.Path(program::kMeaningIndexFile));
  if (batch) return RunBatch(a.Value("batch"), search, custom, static_cast<size_t>(count), c);

  const std::string text = JoinOperands(a.operands);
  const meaning::MeaningResult result = search.Search(text, custom, static_cast<size_t>(count));
  if (result.status != meaning::MeaningStatus::kFound) {
    c.err << result.message << "\n";
    return ExitStatus(result.status);
  }
  if (a.Has("json")) {
    c.out << MeaningJson(text, result) << "\n";
  } else {
    PrintMeaningText(c.out, result);
  }
  return kExitFound;
}

}  // namespace cli
