// verbarium-cli as a process over a small dictionary in a scratch Data folder: the commands'
// output, messages and exit statuses, and the custom database commands end to end.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/program_names.h"
#include "tests/app/lookup_test_util.h"
#include "tests/cli/cli_runner.h"
#include "tests/cli/json_reader.h"

namespace {

using cli_test::CliResult;
using cli_test::Lines;
using json_test::Value;
using Args = std::vector<std::string>;
using Strings = std::vector<std::string>;

constexpr char kReadError[] = "Error reading the dictionaries. Please re-install Verbarium.\n";
constexpr char kCorrupted[] =
    "One of the data files has been corrupted.\nPlease reinstall or repair Verbarium.\n";

// Exit status, output and messages as one text: "1|output|messages".
std::string Outcome(const CliResult& r) {
  return std::to_string(r.status) + "|" + r.out + "|" + r.err;
}

class CliRunTest : public ::testing::Test {
 protected:
  CliResult Run(const Args& args, const std::string& input = "") {
    return cli_test::RunOn(data_.dir(), args, input);
  }
  // A command line whose arguments hold no spaces, as one text.
  CliResult Run(const char* line) {
    Args args;
    std::istringstream words(line);
    for (std::string word; words >> word;)
      args.push_back(word);
    return Run(args);
  }
  // Runs a command that must succeed and parses its JSON.
  template <typename Command>
  Value Json(const Command& command) {
    const CliResult result = Run(command);
    EXPECT_EQ(result.status, 0) << result.err;
    return json_test::ParsedOrFail(result.out);
  }
  // One field of every element of an array, "t" or "f" for booleans: "cat,zorb ball".
  static std::string Field(const Value& array, const std::string& name) {
    std::string out;
    for (const Value& item : array.items) {
      const Value& v = item[name];
      out += (out.empty() ? "" : ",") + (v.text.empty() ? std::string(1, v.kind) : v.text);
    }
    return out;
  }

  lookup_test::DataFolder data_;
};

TEST_F(CliRunTest, HelpPrintsTheUsage) {
  for (const char* help : {"--help", "lookup --help", "anagrams --help", "custom --help"})
    EXPECT_EQ(Run(help).out.rfind("Usage: verbarium-cli", 0), 0u) << help;
}

TEST_F(CliRunTest, UsageErrorsExitWithTwo) {
  for (const char* line :
       {"", "frobnicate", "--verbose lookup cat", "lookup", "lookup cat --bogus",
        "lookup cat --batch -", "lookup cat --senses x", "lookup cat --senses 1,3",
        "lookup cat --pane Nonsense", "anagrams", "anagrams cat --min 0",
        "anagrams cat --sort --no-sort", "match", "custom explode"}) {
    const CliResult result = Run(line);
    EXPECT_EQ(result.status, 2) << line;
    EXPECT_FALSE(result.err.empty()) << line;
  }
  // Arguments with spaces: an empty text, numbers with a space, crossed length limits.
  for (const Args& args :
       {Args{"lookup", ""}, Args{"lookup", "  "}, Args{"anagrams", " "},
        Args{"anagrams", "cat", "--count", " 5"}, Args{"anagrams", "cat", "--min", " 3"},
        Args{"anagrams", "listen", "--min", "5", "--max", "2"},
        Args{"anagrams", "cat", "--timeout", "0"}}) {
    const CliResult result = Run(args);
    EXPECT_EQ(result.status, 2) << testing::PrintToString(args);
    EXPECT_NE(result.err.find("Try 'verbarium-cli"), std::string::npos)
        << testing::PrintToString(args);
  }
}

TEST_F(CliRunTest, EachOutcomeHasItsStatus) {
  const std::pair<Args, std::string> cases[] = {
      {{"lookup", "blorp"}, "1||Not a known word or phrase\n"},
      {{"lookup", "q?q"}, "1|Found 0 matches\n|"},
      {{"lookup", "c?t!"},
       "2||The entered text contains invalid characters. It must\nconsist purely of alphabetic "
       "letters (or spaces), or be\na pattern string. See the help for further details.\n"},
      {{"anagrams", " TAC "}, "0|cat\nFound 1 anagram\n|"},
      {{"anagrams", "cat", "--filter", "3"}, "0|cat\nFound 1 anagram\n|"},
      {{"anagrams", "cat", "--timeout", "5"}, "0|cat\nFound 1 anagram\n|"},
      {{"anagrams", "zzz"}, "1|Found 0 anagrams\n|"},
      {{"anagrams", "cat", "--count", "5a"}, "2||Please enter numbers only\n"},
      {{"anagrams", "cat", "--filter", ""},
       "2||Invalid filter - see the help\n for a list of valid filters\n"},
      {{"anagrams", "cat", "--filter", "2-2"},
       "2||The length of the items in the filter do not match the word lengths\n"},
      {{"match", "C?T"}, "0|cat\nFound 1 match\n|"},
      {{"match", "zz*"}, "1|Found 0 matches\n|"},
      {{"custom", "add", "zorb"}, "2||Please enter a definition\n"},
      {{"custom", "list"}, "1||"},
  };
  for (const auto& [args, outcome] : cases)
    EXPECT_EQ(Outcome(Run(args)), outcome) << testing::PrintToString(args);
}

TEST_F(CliRunTest, JsonListsTheResults) {
  const Value pattern = Json("lookup c?t --json");
  EXPECT_EQ(pattern["matches"].Strings(), Strings({"cat"}));
  EXPECT_EQ(pattern["word"].kind, 0);  // a pattern has no word
  EXPECT_EQ(Json("anagrams tac --json --no-permutations")["anagrams"].Strings(), Strings({"cat"}));
  EXPECT_EQ(Json("match [!c]og --json")["matches"].Strings(), Strings({"dog"}));
  for (const std::string& word : Json("match * --json")["matches"].Strings())
    EXPECT_EQ(word.find(' '), std::string::npos) << word;  // one-word entries only
}

TEST_F(CliRunTest, LookupPrintsTheViewOfTheBaseForm) {
  const CliResult text = Run("lookup Cats");
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(Lines(text.out).at(0), "Word: cat (from cats)");
  EXPECT_NE(text.out.find("[x]  1  Noun         Feline mammal usually having thick soft fur\n"),
            std::string::npos);
  EXPECT_NE(text.out.find("\"Cats purr\""), std::string::npos);
  EXPECT_NE(text.out.find("\nKind of (2):\n  felid\n  feline\n"), std::string::npos);

  Value json = Json("lookup ice CREAM --json");
  EXPECT_EQ(json["input"].text, "ice CREAM");
  EXPECT_EQ(json["word"].text, "ice cream");
  ASSERT_EQ(json["senses"].items.size(), 1u);
  const Value& sense = json["senses"].items.at(0);
  EXPECT_EQ(sense["number"].Int(), 1);
  EXPECT_EQ(sense["pos"].text, "Noun");
  EXPECT_EQ(sense["definition"].text, "Frozen dessert");
  EXPECT_EQ(sense["examples"].kind, '[');
  EXPECT_TRUE(sense["checked"].True());
  EXPECT_EQ(Field(json["panes"], "title"), "Anagrams");
}

TEST_F(CliRunTest, SensesOptionChecksOnlyThoseRows) {
  const Value json = Json("lookup cat --json --senses 2");  // the verb alone: no relations
  EXPECT_EQ(Field(json["senses"], "checked"), "f,t");
  EXPECT_EQ(Field(json["panes"], "title"), "Anagrams");
}

TEST_F(CliRunTest, PaneOptionChoosesThePanes) {
  const Value json = Json(Args{"lookup", "cat", "--json", "--pane", "kind of,Anagrams"});
  EXPECT_EQ(Field(json["panes"], "title"), "Kind of,Anagrams");
  EXPECT_EQ(json["panes"].items.at(0)["words"].Strings(), Strings({"felid", "feline"}));
  EXPECT_EQ(json["panes"].items.at(1)["words"].Strings(), Strings({"cat"}));
}

TEST_F(CliRunTest, InflectedFormNamesItsOtherBaseForms) {
  EXPECT_EQ(Lines(Run("lookup axes").out).at(0), "Word: axe (from axes), also: axis");
  const Value json = Json("lookup Axes --json");
  EXPECT_EQ(json["word"].text, "axe");
  EXPECT_EQ(json["from"].text, "axes");
  EXPECT_EQ(json["also"].Strings(), Strings({"axis"}));
  EXPECT_EQ(Json("lookup cat --json")["from"].kind, 0);  // the text itself: no "from"
}

TEST_F(CliRunTest, UnknownWordGetsSuggestions) {
  EXPECT_EQ(Outcome(Run("lookup mosue")), "1||Not a known word or phrase\nDid you mean: mouse\n");
  const CliResult unknown = Run("lookup mosue --json");
  EXPECT_EQ(unknown.status, 1);
  const Value value = json_test::ParsedOrFail(unknown.out);
  EXPECT_EQ(value["error"].text, "Not a known word or phrase");
  EXPECT_EQ(value["suggestions"].Strings(), Strings({"mouse"}));
  EXPECT_EQ(Outcome(Run({"lookup", "--batch", "-"}, "mosue\nblorp\n")),
            "1|mosue\tNot a known word or phrase\tDid you mean: mouse\n"
            "blorp\tNot a known word or phrase\n|");
}

// A damaged, missing or unreadable forms file: the version says so, the text's own rules still
// work (the kinds of damage: tests/app/irregular_forms_test.cpp).
TEST_F(CliRunTest, VersionTellsWhyIrregularFormsAreOff) {
  EXPECT_EQ(Outcome(Run("--version")),
            "0|verbarium-cli 1.4\nIrregular forms: 3 forms from 1001E.dat\n|");
  std::fstream(data_.Path("1001E.dat"), std::ios::in | std::ios::out | std::ios::binary)
      .seekp(40)
      .put('#');
  EXPECT_EQ(Lines(Run("--version").out).at(1), "Irregular forms: off (1001E.dat is damaged)");
  EXPECT_EQ(Run("lookup went").status, 1);
  EXPECT_EQ(Lines(Run("lookup cats").out).at(0), "Word: cat (from cats)");
  std::filesystem::remove(data_.Path("1001E.dat"));
  EXPECT_EQ(Lines(Run("--version").out).at(1), "Irregular forms: off (1001E.dat is missing)");
  EXPECT_EQ(Lines(Run("lookup axes").out).at(0), "Word: axe (from axes)");
  std::filesystem::create_directories(data_.Path("1001E.dat"));  // C++ streams throw on it
  EXPECT_EQ(Lines(Run("--version").out).at(1), "Irregular forms: off (1001E.dat cannot be read)");
}

TEST_F(CliRunTest, BatchGivesOneResultPerLine) {
  const CliResult batch =
      Run({"lookup", "--batch", "-", "--json"}, "cats\r\nc?t\nblorp\n\ncat!\nquickly");
  EXPECT_EQ(batch.status, 1);  // some lines found nothing
  const Strings lines = Lines(batch.out);
  ASSERT_EQ(lines.size(), 6u);
  std::vector<Value> values(lines.size());
  for (size_t i = 0; i < lines.size(); ++i)
    ASSERT_TRUE(json_test::Parse(lines[i], &values[i])) << lines[i];
  EXPECT_EQ(values[0]["word"].text, "cat");
  EXPECT_EQ(values[1]["matches"].Strings(), Strings({"cat"}));
  EXPECT_EQ(values[2]["error"].text, "Not a known word or phrase");
  EXPECT_EQ(values[3]["input"].text, "");
  EXPECT_EQ(values[4]["error"].text.rfind("The entered text contains invalid", 0), 0u);
  EXPECT_EQ(values[5]["senses"].items.at(0)["pos"].text, "Adverb");

  std::ofstream(data_.Path("words.txt")) << "cats\nquickly\n";
  EXPECT_EQ(Outcome(Run({"lookup", "--batch", data_.Path("words.txt")})),
            "0|cats\tcat\t2 senses\tSynonyms (2), Kind of (2), Anagrams (0)\n"
            "quickly\tquickly\t1 sense\tSynonyms (2), Derived (2), Anagrams (1)\n|");
  EXPECT_EQ(Run({"lookup", "--batch", data_.Path("missing.txt")}).status, 2);
}

TEST_F(CliRunTest, StartUpFailuresGiveTheProgramsMessages) {
  const CliResult nowhere = cli_test::RunCli({"--data", data_.Path("nowhere"), "lookup", "cat"});
  EXPECT_TRUE(Outcome(nowhere) == std::string("2||") + kReadError ||
              Outcome(nowhere) == std::string("2||") + kCorrupted)
      << nowhere.err;
  // The default data folder is Data below the current directory.
  EXPECT_EQ(cli_test::RunCli({"match", "c?t"}, "", data_.root()).out, "cat\nFound 1 match\n");

  // An anagram list with a wrong magic number is corrupted; a missing one cannot be read.
  std::fstream(data_.Path(program::kAnagramFile), std::ios::in | std::ios::out | std::ios::binary)
      .put('#');
  EXPECT_EQ(Outcome(Run("lookup cat")), std::string("2||") + kCorrupted);
  EXPECT_EQ(Run("lookup cat --pane Synonyms").status, 0) << "the anagram list is not read";
  std::filesystem::remove(data_.Path(program::kAnagramFile));
  EXPECT_EQ(Outcome(Run("anagrams cat")), std::string("2||") + kReadError);

  // One custom database file without the other is damaged; with neither, an empty one starts.
  std::filesystem::remove(data_.Path(program::kCustomIndexFile));
  EXPECT_EQ(Outcome(Run("custom list")), std::string("2||") + kCorrupted);
  std::filesystem::remove(data_.Path(program::kCustomDataFile));
  EXPECT_EQ(Outcome(Run("custom list")), "1||");
  EXPECT_TRUE(std::filesystem::exists(data_.Path(program::kCustomIndexFile)));
}

TEST_F(CliRunTest, CustomEntriesEndToEnd) {
  // Refused entries (the checks themselves are tested with the lookup rules).
  const CliResult refused = Run({"custom", "add", "ice-cream", "--definition", "x"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err.rfind("The word or phrase contains invalid characters.", 0), 0u);
  EXPECT_EQ(Run("custom add zorb --definition x --type Gerund").status, 2);
  EXPECT_EQ(Run({"custom", "add", "zorb", "--definition", "x", "--type", "verb", "--related",
                 "Part of=ball"})
                .status,
            2);  // a verb has no "Part of" tab
  EXPECT_EQ(Run({"custom", "backup", data_.Path("b.dbk")}).status, 1);  // nothing to save

  // Two entries for "Zorb Ball" (typed in capitals), one for "cat".
  EXPECT_EQ(Run({"custom", "add", "Zorb", "Ball", "--definition", "a ball of 2 layers", "--example",
                 "we rolled in a zorb ball", "--related", "Synonyms=Sphere, orb", "--related",
                 "kind of=ball"})
                .status,
            0);
  EXPECT_EQ(Run({"custom", "add", "zorb ball", "--type", "Verb", "--definition", "to roll"}).status,
            0);
  EXPECT_EQ(Run("custom add cat --definition pet").status, 0);
  Value list = Json("custom list --json");  // sorted by word, with their positions
  EXPECT_EQ(Field(list["entries"], "word"), "cat,zorb ball,zorb ball");
  EXPECT_EQ(Field(list["entries"], "position"), "3,1,2");
  EXPECT_EQ(Field(list["entries"], "type"), "Noun,Noun,Verb");
  const Value shown = Json(Args{"custom", "show", "ZORB BALL", "--json"});
  ASSERT_EQ(shown["entries"].items.size(), 2u);
  const Value& first = shown["entries"].items.at(0);
  EXPECT_EQ(first["definition"].text, "a ball of 2 layers");
  EXPECT_EQ(first["examples"].Strings(), Strings({"we rolled in a zorb ball"}));
  ASSERT_EQ(first["related"].items.size(), 2u);
  EXPECT_EQ(first["related"].items.at(0)["words"].Strings(), Strings({"sphere", "orb"}));
  // A word known only to the custom database, found through its base form.
  const Value looked = Json(Args{"lookup", "zorb balls", "--json"});
  EXPECT_EQ(looked["word"].text, "zorb ball");
  EXPECT_EQ(Field(looked["senses"], "pos"), "Noun,Verb");
  EXPECT_EQ(Field(looked["panes"], "title"), "Synonyms,Kind of,Anagrams");

  // Backup, delete, restore.
  const std::string backup = data_.root() + "/saved";
  EXPECT_EQ(Run({"custom", "backup", backup}).status, 0);
  EXPECT_TRUE(std::filesystem::exists(backup + ".ibk"));
  EXPECT_EQ(Run("custom delete 3 1").status, 0);
  EXPECT_EQ(Field(Json("custom list --json")["entries"], "type"), "Verb");
  EXPECT_EQ(Run("custom delete 2").status, 2);  // out of range now
  EXPECT_EQ(Run({"custom", "delete", "--word", "zorb ball"}).status, 0);
  EXPECT_EQ(Run({"lookup", "zorb ball"}).status, 1);
  EXPECT_EQ(Outcome(Run({"custom", "restore", backup + ".dbk"})),
            "0|Successfully restored custom database\n|");
  EXPECT_EQ(Field(Json("custom list --json")["entries"], "word"), "cat,zorb ball,zorb ball");
  const CliResult failed = Run({"custom", "restore", data_.root() + "/missing.dbk"});
  EXPECT_EQ(failed.status, 2);
  EXPECT_EQ(failed.err.rfind("Failed to restore custom database", 0), 0u);
}

TEST_F(CliRunTest, DamagedCustomRecordIsReportedNotShown) {
  ASSERT_EQ(Run("custom add zorb --definition ball").status, 0);
  ASSERT_EQ(Run("custom add cat --definition pet").status, 0);
  // One byte of zorb's record, the first, flipped: it no longer deciphers into its entry.
  std::fstream(data_.Path(program::kCustomDataFile),
               std::ios::in | std::ios::out | std::ios::binary)
      .seekp(5)
      .put('\x7f');
  EXPECT_EQ(Outcome(Run("lookup zorb")), std::string("2||") + kCorrupted);
  EXPECT_EQ(Outcome(Run("custom show zorb")), std::string("2||") + kCorrupted);
  // The listing marks the damaged entry at its position, shows the sound one, and fails.
  const CliResult list = Run("custom list");
  EXPECT_EQ(list.status, 2);
  EXPECT_EQ(list.out, "1\t(damaged entry)\n2\tcat\tNoun\tpet\n");
  EXPECT_EQ(list.err, kCorrupted);
  // Deleting it by position repairs the database.
  EXPECT_EQ(Run("custom delete 1").status, 0);
  EXPECT_EQ(Outcome(Run("custom list")), "0|1\tcat\tNoun\tpet\n|");
}

TEST_F(CliRunTest, FolderWithoutDictionaryGetsNoFiles) {
  const test_support::ScratchFolder empty;
  for (const char* command : {"list", "show"}) {
    SCOPED_TRACE(command);
    const CliResult r = cli_test::RunCli({"--data", empty.path().string(), "custom", command, "x"});
    EXPECT_EQ(Outcome(r), std::string("2||") + kReadError);
    EXPECT_TRUE(std::filesystem::is_empty(empty.path()));
  }
}

TEST_F(CliRunTest, BatchLineWithNulIsInvalid) {
  const CliResult r = Run({"lookup", "--batch", "-", "--json"}, std::string("cat\0dog\n", 8));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\"error\""), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("\"word\""), std::string::npos) << r.out;
}

}  // namespace
