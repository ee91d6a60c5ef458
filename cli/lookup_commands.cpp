// The commands that read the dictionary: lookup, anagrams, match.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "anagram/anagram_options.h"
#include "anagram/pattern.h"
#include "app/lookup/anagram_list.h"
#include "app/lookup/custom_entry.h"
#include "app/lookup/lookup.h"
#include "cli/cli.h"
#include "cli/cli_internal.h"
#include "cli/json_writer.h"
#include "engine/text_helpers.h"
#include "platform/named_event.h"
#include "platform/program_names.h"

namespace cli {

namespace {

constexpr char kLookupHelp[] =
    "Usage: verbarium-cli lookup TEXT [--senses 1,3] [--pane TITLE|all] [--json]\n"
    "       verbarium-cli lookup --batch FILE [--pane TITLE|all] [--json]\n"
    "\n"
    "Looks TEXT up as the Lookup button does. A pattern (with ?, * or [ ]) lists the\n"
    "dictionary words that fit it. A word is reduced to its base form (cats to cat, went\n"
    "to go, mice to mouse) and printed with its numbered senses, then, for the checked\n"
    "senses, every pane that would appear, under its tab title and in tab order, with its\n"
    "words. An unknown word gets up to ten suggestions (\"Did you mean: ...\").\n"
    "\n"
    "  --senses LIST   check only these senses (numbers as listed, e.g. 1,3)\n"
    "  --pane TITLE    print only this pane (\"Synonyms\", \"Kind of\", ... \"Anagrams\");\n"
    "                  may be repeated or given as a comma-separated list; all by default\n"
    "  --batch FILE    one lookup per line of FILE (- for standard input), one result\n"
    "                  per line: tab-separated text, or JSON lines with --json\n"
    "  --json          JSON output: {\"input\", \"word\", \"senses\": [{\"number\", \"pos\",\n"
    "                  \"definition\", \"examples\", \"checked\"}], \"panes\": [{\"title\",\n"
    "                  \"words\"}]}, with \"from\" (the text) when the word is a base\n"
    "                  form of it and \"also\" for its other base forms; a pattern gives\n"
    "                  {\"input\", \"matches\"}; an unknown word {\"input\", \"error\",\n"
    "                  \"suggestions\"}\n"
    "  --data DIR      the data folder (default: Data below the current directory)\n"
    "\n"
    "The Anagrams pane lists anagrams with the default options (anagrams --help).\n"
    "Exit status: 0 found, 1 not known or no match (in a batch: any line), 2 invalid text,\n"
    "usage or data error.\n";

constexpr char kAnagramsHelp[] =
    "Usage: verbarium-cli anagrams TEXT [--min N] [--max N] [--count N]\n"
    "                              [--permutations|--no-permutations] [--filter 4-3]\n"
    "                              [--sort|--no-sort] [--json]\n"
    "\n"
    "Lists the words and phrases that use exactly the letters of TEXT.\n"
    "\n"
    "  --min N            shortest word of an anagram, 1 to 50 (default 1)\n"
    "  --max N            longest word of an anagram, 1 to 50 (default 50)\n"
    "  --count N          most anagrams listed, 0 to 10,000 (default 1,000)\n"
    "  --permutations     every order of each set of words (the default)\n"
    "  --no-permutations  each set of words once\n"
    "  --filter LENGTHS   word lengths in order, e.g. 4-3; they must add up to the letters\n"
    "  --sort, --no-sort  sort the list alphabetically (the default) or not\n"
    "  --timeout SECONDS  stop the search after SECONDS (1 to 86,400) and list what it found\n"
    "  --json             JSON output: {\"anagrams\": [...]}\n"
    "  --data DIR         the data folder (default: Data below the current directory)\n"
    "\n"
    "Exit status: 0 found, 1 none found, 2 invalid option or filter, or a data error.\n";

constexpr char kMatchHelp[] =
    "Usage: verbarium-cli match PATTERN [--json]\n"
    "\n"
    "Lists the dictionary's words and phrases that fit PATTERN, then \"Found N matches\".\n"
    "? is one character, * any run of characters, [abc] one of a set, [!abc] one not in\n"
    "it, [a-z] a range. A pattern with a space matches phrases of as many words.\n"
    "\n"
    "  --json      JSON output: {\"matches\": [...]}\n"
    "  --data DIR  the data folder (default: Data below the current directory)\n"
    "\n"
    "Exit status: 0 found, 1 no match, 2 usage or data error.\n";

// One line of output: the newlines of a message become spaces.
std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  std::replace(text.begin(), text.end(), '\t', ' ');
  return text;
}

std::string JoinWords(const std::vector<std::string>& words, const char* separator) {
  std::string text;
  for (size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text += separator;
    text += words[i];
  }
  return text;
}

// "Did you mean: receive, relieve" for the suggestions, or an empty text when there are none.
std::string SuggestionLine(const std::vector<std::string>& suggestions) {
  return suggestions.empty() ? "" : "Did you mean: " + JoinWords(suggestions, ", ");
}

// What one lookup gives, ready to print.
struct LookupOutput {
  int status = kExitFound;
  std::string error;  // for the error stream, or the batch line
  bool pattern = false;
  std::vector<std::string> matches;
  std::string word;
  std::string from;                      // the text, when `word` is a base form of it
  std::vector<std::string> also;         // the text's other base forms
  std::vector<std::string> suggestions;  // for an unknown word
  std::vector<lookup::SenseRow> senses;
  std::vector<std::pair<std::string, std::vector<std::string>>> panes;
};

class LookupRunner {
 public:
  LookupRunner(Dictionaries& dictionaries, std::set<int> panes)
      : dictionaries_(dictionaries),
        session_(dictionaries.engine, &dictionaries.custom, dictionaries.jumble),
        panes_(std::move(panes)) {
    session_.set_irregular_forms(&dictionaries.forms);
  }

  // Looks `text` up; `senses` (1-based, may be empty for all) chooses the checked rows.
  LookupOutput Run(const std::string& text, const std::vector<int>& senses) {
    LookupOutput output;
    // A NUL byte cannot be typed; the text around it must not pass for the whole line.
    if (text.find('\0') != std::string::npos) {
      output.status = kExitError;
      output.error = lookup::kInvalidCharactersMessage;
      return output;
    }
    const lookup::LookupResult result = session_.Lookup(text);
    if (result.custom_damaged && result.kind != lookup::InputKind::kPattern) {
      output.status = kExitError;
      output.error = lookup::kCorruptedDataMessage;
      return output;
    }
    switch (result.kind) {
      case lookup::InputKind::kPattern:
        output.pattern = true;
        output.matches = result.matches.words;
        if (output.matches.empty()) output.status = kExitNotFound;
        output.error = result.matches.status;
        return output;
      case lookup::InputKind::kInvalid:
        output.status = kExitError;
        output.error = lookup::kInvalidCharactersMessage;
        return output;
      case lookup::InputKind::kUnknown:
        output.status = kExitNotFound;
        output.error = lookup::kNotKnownMessage;
        output.suggestions = result.suggestions;
        return output;
      case lookup::InputKind::kWord:
        break;
    }
    if (!result.senses_built) {
      output.status = kExitError;
      output.error = lookup::kReadErrorMessage;
      return output;
    }
    if (!senses.empty()) {
      for (int number : senses) {
        if (number < 1 || number > static_cast<int>(session_.senses().size())) {
          output.status = kExitError;
          output.error = "there is no sense " + std::to_string(number) + ": '" +
                         session_.display_word() + "' has " +
                         std::to_string(session_.senses().size()) + " senses";
          return output;
        }
      }
      session_.SetAllChecked(false);
      for (int number : senses)
        session_.SetChecked(static_cast<size_t>(number - 1), true);
      session_.RebuildPanes();
    }
    output.word = session_.display_word();
    output.from = result.from;
    output.also = result.other_bases;
    output.senses = session_.senses();
    for (const lookup::PaneTab& tab : session_.tabs()) {
      if (!panes_.empty() && panes_.count(tab.kind) == 0) continue;
      std::vector<std::string> words = tab.words;
      if (tab.kind == lookup::kAnagramsPane) words = Anagrams(result.text);
      output.panes.emplace_back(lookup::PaneTitle(tab.kind), std::move(words));
    }
    return output;
  }

 private:
  // The anagram view works on the lookup box's text, not on the base form.
  std::vector<std::string> Anagrams(const std::string& text) {
    if (dictionaries_.jumble == nullptr) return {};
    anagram::AnagramRequestArgs args;
    if (!anagram::BuildAnagramRequest(text, "", anagram::AnagramSettings(), &args).empty()) {
      return {};
    }
    std::vector<std::string> anagrams = lookup::GenerateAnagramList(dictionaries_.jumble, args);
    lookup::SortAnagrams(&anagrams);
    return anagrams;
  }

  Dictionaries& dictionaries_;
  lookup::LookupSession session_;
  std::set<int> panes_;
};

std::string LookupJson(const std::string& input, const LookupOutput& o) {
  JsonWriter json;
  json.BeginObject().Key("input").String(input);
  if (o.pattern) {
    json.Key("matches").Strings(o.matches);
  } else if (o.status != kExitFound) {
    json.Key("error").String(o.error);
    if (o.status == kExitNotFound) json.Key("suggestions").Strings(o.suggestions);
  } else {
    json.Key("word").String(o.word);
    if (!o.from.empty()) json.Key("from").String(o.from);
    if (!o.also.empty()) json.Key("also").Strings(o.also);
    json.Key("senses").BeginArray();
    for (const lookup::SenseRow& row : o.senses) {
      json.BeginObject()
          .Key("number")
          .Int(row.number)
          .Key("pos")
          .String(lookup::PosName(row.pos))
          .Key("definition")
          .String(row.definition)
          .Key("examples")
          .Strings(row.examples)
          .Key("checked")
          .Bool(row.checked)
          .EndObject();
    }
    json.EndArray().Key("panes").BeginArray();
    for (const auto& [title, words] : o.panes) {
      json.BeginObject().Key("title").String(title).Key("words").Strings(words).EndObject();
    }
    json.EndArray();
  }
  json.EndObject();
  return json.text();
}

// The word as looked up, the text it came from and the other base forms:
// "leave (from leaves), also: leaf".
std::string WordLine(const LookupOutput& o) {
  std::string line = o.word;
  if (!o.from.empty()) line += " (from " + o.from + ")";
  if (!o.also.empty()) line += ", also: " + JoinWords(o.also, ", ");
  return line;
}

void PrintLookupText(std::ostream& out, const LookupOutput& o) {
  if (o.pattern) {
    for (const std::string& word : o.matches)
      out << word << "\n";
    out << o.error << "\n";
    return;
  }
  out << "Word: " << WordLine(o) << "\n\nSenses:\n";
  for (const lookup::SenseRow& row : o.senses) {
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "  [%c] %2d  %-12s ", row.checked ? 'x' : ' ', row.number,
                  lookup::PosName(row.pos));
    out << prefix << row.definition << "\n";
    for (const std::string& example : row.examples) {
      out << "                        \"" << example << "\"\n";
    }
  }
  for (const auto& [title, words] : o.panes) {
    out << "\n" << title << " (" << words.size() << "):\n";
    for (const std::string& word : words)
      out << "  " << word << "\n";
  }
}

// One tab-separated line of a text batch.
std::string BatchLine(const std::string& input, const LookupOutput& o) {
  std::string line = OneLine(input) + "\t";
  if (o.pattern) return line + o.error + "\t" + JoinWords(o.matches, ", ");
  if (o.status != kExitFound) {
    line += OneLine(o.error);
    return o.suggestions.empty() ? line : line + "\t" + SuggestionLine(o.suggestions);
  }
  line += o.word + "\t" + std::to_string(o.senses.size()) +
          (o.senses.size() == 1 ? " sense\t" : " senses\t");
  for (size_t i = 0; i < o.panes.size(); ++i) {
    if (i > 0) line += ", ";
    line += o.panes[i].first + " (" + std::to_string(o.panes[i].second.size()) + ")";
  }
  return line;
}

bool ParsePanes(const ParsedArgs& a, std::set<int>* panes, std::string* error) {
  for (const std::string& value : a.Values("pane")) {
    for (const std::string& title : SplitList(value)) {
      if (title == "all") {
        for (int kind = 0; kind < lookup::kPaneKindCount; ++kind)
          panes->insert(kind);
        continue;
      }
      const int kind = lookup::PaneKindFromTitle(title);
      if (kind < 0) {
        *error = "unknown pane '" + title + "'; the panes are";
        for (int k = 0; k < lookup::kPaneKindCount; ++k) {
          *error += std::string(k == 0 ? " " : ", ") + "\"" + lookup::PaneTitle(k) + "\"";
        }
        return false;
      }
      panes->insert(kind);
    }
  }
  return true;
}

int RunBatch(const std::string& file, bool json, LookupRunner& runner, Context& c) {
  std::ifstream stream;
  std::istream* input = &c.in;
  if (file != "-") {
    stream.open(file, std::ios::binary);
    if (!stream) return Fail(c, "verbarium-cli lookup: cannot read '" + file + "'");
    input = &stream;
  }
  int status = kExitFound;
  std::string line;
  while (std::getline(*input, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const LookupOutput o = runner.Run(line, {});
    // A dictionary that cannot be read or is damaged fails the whole batch; other lines only
    // count.
    if (o.status == kExitError &&
        (o.error == lookup::kReadErrorMessage || o.error == lookup::kCorruptedDataMessage)) {
      c.out.flush();
      return Fail(c, o.error);
    }
    if (o.status != kExitFound) status = kExitNotFound;
    c.out << (json ? LookupJson(line, o) : BatchLine(line, o)) << "\n";
  }
  if (input->bad()) return Fail(c, "verbarium-cli lookup: cannot read '" + file + "'");
  return status;
}

// Reads the anagram settings the options give into `settings`. An option out of range or given
// both ways is reported, and the exit status returned; nothing when all is well.
// Sets the "StopAnagrams" event, as the window's Stop does, once `limit` has passed (never for
// a limit of 0), until the object goes; `stopped` tells whether it did. The event is clear
// again afterwards.
class StopTimer {
 public:
  StopTimer(std::chrono::seconds limit, bool* stopped) : stopped_(stopped) {
    if (limit.count() <= 0) return;
    event_ = platform::OpenNamedEvent(program::kStopAnagramsEvent, true, false);
    if (event_ == nullptr) return;
    thread_ = std::thread([this, limit] {
      std::unique_lock<std::mutex> lock(mutex_);
      if (!done_changed_.wait_for(lock, limit, [this] { return done_; })) {
        platform::SetNamedEvent(event_);
        *stopped_ = true;
      }
    });
  }
  ~StopTimer() {
    if (thread_.joinable()) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
      }
      done_changed_.notify_one();
      thread_.join();
    }
    if (event_ != nullptr) {
      platform::ResetNamedEvent(event_);
      platform::CloseNamedEvent(event_);
    }
  }
  StopTimer(const StopTimer&) = delete;
  StopTimer& operator=(const StopTimer&) = delete;

 private:
  bool* stopped_;
  platform::NamedEvent* event_ = nullptr;
  std::mutex mutex_;
  std::condition_variable done_changed_;
  bool done_ = false;
  std::thread thread_;
};

std::optional<int> ReadAnagramSettings(const ParsedArgs& a, Context& c,
                                       anagram::AnagramSettings* settings) {
  for (auto [name, field] :
       {std::pair{"min", &settings->min_length}, std::pair{"max", &settings->max_length}}) {
    if (!a.Has(name)) continue;
    int value = 0;
    if (!ParseInt(a.Value(name), &value) || value < 1 || value > 50) {
      return UsageError(c, "anagrams", std::string("--") + name + " takes a length from 1 to 50");
    }
    *field = value;
  }
  // Only the command line refuses this: the Anagrams page lets the limits cross.
  if (settings->min_length > settings->max_length) {
    return UsageError(c, "anagrams", "--min must not be greater than --max");
  }
  if (a.Has("count")) {
    // The same number parser as --min and --max; the page's check then gives its range text.
    int value = 0;
    if (!ParseInt(a.Value("count"), &value)) {
      const anagram::MaximumNumberCheck check = anagram::CheckMaximumNumber(a.Value("count"));
      if (!check.message.empty()) return Fail(c, check.message);
      return UsageError(c, "anagrams", "--count takes a number from 0 to 10,000");
    }
    const anagram::MaximumNumberCheck check = anagram::CheckMaximumNumber(std::to_string(value));
    if (!check.message.empty()) return Fail(c, check.message);
    settings->max_anagrams = value;
  }
  if (a.Has("permutations") && a.Has("no-permutations")) {
    return UsageError(c, "anagrams", "give --permutations or --no-permutations, not both");
  }
  if (a.Has("sort") && a.Has("no-sort")) {
    return UsageError(c, "anagrams", "give --sort or --no-sort, not both");
  }
  settings->permutations = !a.Has("no-permutations");
  const std::string filter = a.Value("filter");
  settings->use_filter = a.Has("filter");
  if (settings->use_filter && (filter.size() > anagram::kFilterTextLimit || filter.empty())) {
    return Fail(c, anagram::kInvalidFilterMessage);
  }
  return std::nullopt;
}

}  // namespace

int LookupCommand(const std::vector<std::string>& args, Context& c) {
  ParsedArgs a;
  std::string error;
  if (!ParseArgs(args,
                 {{"help", false},
                  {"json", false},
                  {"senses", true},
                  {"pane", true},
                  {"batch", true},
                  {"data", true}},
                 &a, &error)) {
    return UsageError(c, "lookup", error);
  }
  if (a.Has("help")) {
    c.out << kLookupHelp;
    return kExitFound;
  }
  const bool batch = a.Has("batch");
  if (batch && !a.operands.empty()) {
    return UsageError(c, "lookup", "give either TEXT or --batch FILE");
  }
  if (batch && a.Has("senses")) {
    return UsageError(c, "lookup", "--senses cannot be used with --batch");
  }
  // One rule for the empty text in every command: nothing left once normalised is a usage
  // error.
  if (!batch && lookup::NormaliseLookupText(JoinOperands(a.operands)).empty()) {
    return UsageError(c, "lookup", "no text to look up");
  }
  std::vector<int> senses;
  for (const std::string& value : a.Values("senses")) {
    for (const std::string& piece : SplitList(value)) {
      int number = 0;
      if (!ParseInt(piece, &number) || number < 1) {
        return UsageError(c, "lookup", "--senses takes sense numbers such as 1,3");
      }
      senses.push_back(number);
    }
  }
  std::set<int> panes;
  if (!ParsePanes(a, &panes, &error)) return UsageError(c, "lookup", error);

  // The anagram list only when its pane may be printed.
  Dictionaries dictionaries(a.Value("data", c.data_dir));
  const std::string message =
      dictionaries.OpenForLookup(panes.empty() || panes.count(lookup::kAnagramsPane) != 0);
  if (!message.empty()) return Fail(c, message);
  LookupRunner runner(dictionaries, std::move(panes));
  const bool json = a.Has("json");
  if (batch) return RunBatch(a.Value("batch"), json, runner, c);

  const std::string text = JoinOperands(a.operands);
  const LookupOutput o = runner.Run(text, senses);
  if (!o.pattern && o.status != kExitFound) {
    // An unknown word's JSON carries its suggestions; the messages go to the error stream.
    if (json && o.status == kExitNotFound) c.out << LookupJson(text, o) << "\n";
    c.err << o.error << "\n";
    if (!o.suggestions.empty()) c.err << SuggestionLine(o.suggestions) << "\n";
    return o.status;
  }
  if (json) {
    c.out << LookupJson(text, o) << "\n";
  } else {
    PrintLookupText(c.out, o);
  }
  return o.status;
}

int AnagramsCommand(const std::vector<std::string>& args, Context& c) {
  ParsedArgs a;
  std::string error;
  if (!ParseArgs(args,
                 {{"help", false},
                  {"json", false},
                  {"min", true},
                  {"max", true},
                  {"count", true},
                  {"permutations", false},
                  {"no-permutations", false},
                  {"filter", true},
                  {"sort", false},
                  {"no-sort", false},
                  {"timeout", true},
                  {"data", true}},
                 &a, &error)) {
    return UsageError(c, "anagrams", error);
  }
  if (a.Has("help")) {
    c.out << kAnagramsHelp;
    return kExitFound;
  }
  const std::string text = JoinOperands(a.operands);
  if (lookup::NormaliseLookupText(text).empty()) {
    return UsageError(c, "anagrams", "no text to anagram");
  }

  anagram::AnagramSettings settings;
  if (const std::optional<int> refused = ReadAnagramSettings(a, c, &settings)) return *refused;
  int timeout_seconds = 0;
  if (a.Has("timeout") && (!ParseInt(a.Value("timeout"), &timeout_seconds) || timeout_seconds < 1 ||
                           timeout_seconds > 86400)) {
    return UsageError(c, "anagrams", "--timeout takes a number of seconds from 1 to 86,400");
  }
  const std::string filter = a.Value("filter");
  anagram::AnagramRequestArgs request;
  const std::string message = anagram::BuildAnagramRequest(text, filter, settings, &request);
  if (!message.empty()) return Fail(c, message);

  Dictionaries dictionaries(a.Value("data", c.data_dir));
  const std::string open_error = dictionaries.OpenAnagrams();
  if (!open_error.empty()) return Fail(c, open_error);
  bool stopped = false;
  std::vector<std::string> anagrams;
  {
    const StopTimer timer(std::chrono::seconds(timeout_seconds), &stopped);
    anagrams = lookup::GenerateAnagramList(dictionaries.jumble, request);
  }
  if (!a.Has("no-sort")) lookup::SortAnagrams(&anagrams);
  if (stopped) {
    c.err << "verbarium-cli anagrams: stopped after " << timeout_seconds
          << (timeout_seconds == 1 ? " second" : " seconds") << "; the list may be incomplete\n";
  }

  if (a.Has("json")) {
    JsonWriter json;
    json.BeginObject().Key("anagrams").Strings(anagrams).EndObject();
    c.out << json.text() << "\n";
  } else {
    for (const std::string& phrase : anagrams)
      c.out << phrase << "\n";
    c.out << lookup::AnagramStatusText(anagrams.size()) << "\n";
  }
  return anagrams.empty() ? kExitNotFound : kExitFound;
}

int MatchCommand(const std::vector<std::string>& args, Context& c) {
  ParsedArgs a;
  std::string error;
  if (!ParseArgs(args, {{"help", false}, {"json", false}, {"data", true}}, &a, &error)) {
    return UsageError(c, "match", error);
  }
  if (a.Has("help")) {
    c.out << kMatchHelp;
    return kExitFound;
  }
  const std::string pattern = lookup::NormaliseLookupText(JoinOperands(a.operands));
  if (pattern.empty()) return UsageError(c, "match", "no pattern");

  Dictionaries dictionaries(a.Value("data", c.data_dir));
  const std::string open_error = dictionaries.OpenEngine();
  if (!open_error.empty()) return Fail(c, open_error);
  const anagram::PatternMatches matches = anagram::FindPatternMatches(dictionaries.engine, pattern);
  if (a.Has("json")) {
    JsonWriter json;
    json.BeginObject().Key("matches").Strings(matches.words).EndObject();
    c.out << json.text() << "\n";
  } else {
    for (const std::string& word : matches.words)
      c.out << word << "\n";
    c.out << matches.status << "\n";
  }
  return matches.words.empty() ? kExitNotFound : kExitFound;
}

}  // namespace cli
