// verbarium-cli as a process over a small dictionary in a scratch Data folder: the commands'
// output, messages and exit statuses, and the custom database commands end to end.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/app/lookup_test_util.h"
#include "tests/cli/cli_runner.h"
#include "tests/cli/json_reader.h"

namespace {

using cli_test::CliResult;
using cli_test::Lines;
using cli_test::RunCli;
using json_test::Value;

constexpr char kReadError[] = "Error reading the dictionaries. Please re-install Verbarium.\n";
constexpr char kCorrupted[] =
    "One of the data files has been corrupted.\nPlease reinstall or repair Verbarium.\n";

class CliRunTest : public ::testing::Test {
 protected:
  CliResult Run(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), {"--data", data_.dir()});
    return RunCli(args, input);
  }
  Value Json(const CliResult& result) {
    Value value;
    EXPECT_TRUE(json_test::Parse(result.out, &value)) << result.out;
    return value;
  }
  std::vector<std::string> Titles(const Value& lookup) {
    std::vector<std::string> titles;
    for (const Value& pane : lookup["panes"].array)
      titles.push_back(pane["title"].string);
    return titles;
  }

  lookup_test::DataFolder data_;
};

TEST_F(CliRunTest, HelpAndUsageErrors) {
  for (const char* command : {"lookup", "anagrams", "match", "custom"}) {
    SCOPED_TRACE(command);
    const CliResult help = RunCli({command, "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: verbarium-cli", 0), 0u);
  }
  EXPECT_EQ(RunCli({"--help"}).status, 0);
  struct Case {
    std::vector<std::string> args;
  };
  const Case usage_errors[] = {
      {{}},
      {{"frobnicate"}},
      {{"--verbose", "lookup", "cat"}},
      {{"lookup"}},
      {{"lookup", "cat", "--bogus"}},
      {{"lookup", "cat", "--batch", "-"}},
      {{"lookup", "cat", "--senses", "x"}},
      {{"lookup", "cat", "--pane", "Nonsense"}},
      {{"anagrams"}},
      {{"anagrams", "cat", "--min", "0"}},
      {{"anagrams", "cat", "--sort", "--no-sort"}},
      {{"match"}},
      {{"custom"}},
      {{"custom", "explode"}},
  };
  for (const Case& c : usage_errors) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const CliResult result = Run(c.args);
    EXPECT_EQ(result.status, 2);
    EXPECT_FALSE(result.err.empty() && result.out.empty());
  }
}

TEST_F(CliRunTest, LookupPrintsBaseFormSensesAndPanes) {
  const CliResult text = Run({"lookup", "Cats"});
  ASSERT_EQ(text.status, 0) << text.err;
  const std::vector<std::string> lines = Lines(text.out);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "Word: cat");
  EXPECT_NE(text.out.find("[x]  1  Noun         Feline mammal usually having thick soft fur\n"),
            std::string::npos);
  EXPECT_NE(text.out.find("\"Cats purr\""), std::string::npos);
  EXPECT_NE(text.out.find("\nKind of (2):\n  felid\n  feline\n"), std::string::npos);

  const Value json = Json(Run({"lookup", "ice", "CREAM", "--json"}));
  EXPECT_EQ(json["input"].string, "ice CREAM");
  EXPECT_EQ(json["word"].string, "ice cream");
  ASSERT_EQ(json["senses"].array.size(), 1u);
  const Value& sense = json["senses"].array[0];
  EXPECT_EQ(sense["number"].number, 1);
  EXPECT_EQ(sense["pos"].string, "Noun");
  EXPECT_EQ(sense["definition"].string, "Frozen dessert");
  EXPECT_TRUE(sense["examples"].array.empty());
  EXPECT_TRUE(sense["checked"].boolean);
  EXPECT_EQ(Titles(json), std::vector<std::string>({"Anagrams"}));
}

TEST_F(CliRunTest, LookupChoosesSensesAndPanes) {
  Value json = Json(Run({"lookup", "cat", "--json", "--senses", "2"}));
  ASSERT_EQ(json["senses"].array.size(), 2u);
  EXPECT_FALSE(json["senses"].array[0]["checked"].boolean);
  EXPECT_TRUE(json["senses"].array[1]["checked"].boolean);
  EXPECT_EQ(Titles(json), std::vector<std::string>({"Anagrams"}));  // the verb has none

  json = Json(Run({"lookup", "cat", "--json", "--pane", "kind of,Anagrams"}));
  EXPECT_EQ(Titles(json), std::vector<std::string>({"Kind of", "Anagrams"}));
  EXPECT_EQ(json["panes"].array[0]["words"].Strings(),
            std::vector<std::string>({"felid", "feline"}));
  EXPECT_EQ(json["panes"].array[1]["words"].Strings(), std::vector<std::string>({"cat"}));

  const CliResult beyond = Run({"lookup", "cat", "--senses", "1,3"});
  EXPECT_EQ(beyond.status, 2);
  EXPECT_NE(beyond.err.find("has 2 senses"), std::string::npos);
}

TEST_F(CliRunTest, LookupStatusesAndMessages) {
  const CliResult unknown = Run({"lookup", "blorp"});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_EQ(unknown.err, "Not a known word or phrase\n");
  EXPECT_TRUE(unknown.out.empty());

  const CliResult invalid = Run({"lookup", "c?t!", "--json"});
  EXPECT_EQ(invalid.status, 2);
  EXPECT_EQ(invalid.err,
            "The entered text contains invalid characters. It must\nconsist purely of "
            "alphabetic letters (or spaces), or be\na pattern string. See the help for further "
            "details.\n");

  const CliResult pattern = Run({"lookup", "c?t", "--json"});
  EXPECT_EQ(pattern.status, 0);
  const Value json = Json(pattern);
  EXPECT_EQ(json["input"].string, "c?t");
  EXPECT_EQ(json["matches"].Strings(), std::vector<std::string>({"cat"}));
  EXPECT_FALSE(json.Has("word"));

  const CliResult none = Run({"lookup", "q?q"});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.out, "Found 0 matches\n");
}

TEST_F(CliRunTest, BatchGivesOneResultPerLine) {
  const std::string input = "cats\r\nc?t\nblorp\n\ncat!\nquickly";
  const CliResult json = Run({"lookup", "--batch", "-", "--json"}, input);
  EXPECT_EQ(json.status, 1);  // some lines found nothing
  const std::vector<std::string> lines = Lines(json.out);
  ASSERT_EQ(lines.size(), 6u);
  std::vector<Value> values(lines.size());
  for (size_t i = 0; i < lines.size(); ++i)
    ASSERT_TRUE(json_test::Parse(lines[i], &values[i]));
  EXPECT_EQ(values[0]["word"].string, "cat");
  EXPECT_EQ(values[1]["matches"].Strings(), std::vector<std::string>({"cat"}));
  EXPECT_EQ(values[2]["error"].string, "Not a known word or phrase");
  EXPECT_EQ(values[3]["input"].string, "");
  EXPECT_NE(values[4]["error"].string.find("invalid characters"), std::string::npos);
  EXPECT_EQ(values[5]["senses"].array[0]["pos"].string, "Adverb");

  const std::string file = data_.Path("words.txt");
  std::ofstream(file) << "cats\nquickly\n";
  const CliResult text = Run({"lookup", "--batch", file});
  EXPECT_EQ(text.status, 0);
  EXPECT_EQ(Lines(text.out),
            std::vector<std::string>(
                {"cats\tcat\t2 senses\tSynonyms (2), Kind of (2), Anagrams (0)",
                 "quickly\tquickly\t1 sense\tSynonyms (2), Derived (2), Anagrams (1)"}));
  EXPECT_EQ(Run({"lookup", "--batch", data_.Path("missing.txt")}).status, 2);
}

TEST_F(CliRunTest, AnagramsAndTheirChecks) {
  const CliResult found = Run({"anagrams", " TAC "});
  EXPECT_EQ(found.status, 0);
  EXPECT_EQ(found.out, "cat\nFound 1 anagram\n");
  const Value json = Json(Run({"anagrams", "tac", "--json", "--no-permutations"}));
  EXPECT_EQ(json["anagrams"].Strings(), std::vector<std::string>({"cat"}));
  EXPECT_EQ(Run({"anagrams", "zzz"}).out, "Found 0 anagrams\n");
  EXPECT_EQ(Run({"anagrams", "zzz"}).status, 1);

  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"--filter", "2-2"}, "The length of the items in the filter do not match the word lengths"},
      {{"--filter", "-3"}, "Invalid filter - see the help\n for a list of valid filters"},
      {{"--filter", ""}, "Invalid filter - see the help\n for a list of valid filters"},
      {{"--filter", "1-2", "--min", "2"},
       "The filter includes a length which is less than the set minimum"},
      {{"--filter", "3", "--max", "2"},
       "The filter includes a length which is greater than the set maximum"},
      {{"--count", "12,000"}, "The maximum number of anagrams is 10,000"},
      {{"--count", "5a"}, "Please enter numbers only"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    std::vector<std::string> args = {"anagrams", "cat"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliResult result = Run(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, std::string(c.message) + "\n");
  }
  EXPECT_EQ(Run({"anagrams", "cat", "--filter", "3"}).out, "cat\nFound 1 anagram\n");
}

TEST_F(CliRunTest, MatchListsWordsAndCounts) {
  CliResult result = Run({"match", "C?T"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "cat\nFound 1 match\n");
  result = Run({"match", "[!c]og", "--json"});  // negated sets work here
  EXPECT_EQ(Json(result)["matches"].Strings(), std::vector<std::string>({"dog"}));
  result = Run({"match", "*", "--json"});
  for (const std::string& word : Json(result)["matches"].Strings()) {
    EXPECT_EQ(word.find(' '), std::string::npos) << word;
  }
  result = Run({"match", "zz*"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "Found 0 matches\n");
}

TEST_F(CliRunTest, StartUpFailuresGiveTheProgramsMessages) {
  CliResult result = RunCli({"--data", data_.Path("nowhere"), "lookup", "cat"});
  EXPECT_EQ(result.status, 2);
  EXPECT_TRUE(result.err == kReadError || result.err == kCorrupted) << result.err;
  // The default data folder is Data below the current directory.
  result = RunCli({"match", "c?t"}, "", data_.root());
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "cat\nFound 1 match\n");

  // An anagram list whose magic number is wrong is a corrupted file.
  std::fstream file(data_.Path("1001A.dat"), std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(0);
  file.put('#');
  file.close();
  result = Run({"lookup", "cat"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, kCorrupted);
  std::filesystem::remove(data_.Path("1001A.dat"));
  result = Run({"anagrams", "cat"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, kReadError);

  std::filesystem::remove(data_.Path("1001M.idx"));
  result = Run({"custom", "list"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, kReadError);
}

TEST_F(CliRunTest, CustomEntriesEndToEnd) {
  // The dialogs' checks and messages.
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case refused[] = {
      {{"--definition", "x"}, "Please enter a word or phrase\n"},
      {{"ice-cream", "--definition", "x"},
       "The word or phrase contains invalid characters. It must\nconsist purely of alphabetic "
       "letters (or spaces). See the help for further details.\n"},
      {{"zorb"}, "Please enter a definition\n"},
      {{"zorb", "--definition", "round; big"},
       "The definition contains invalid characters. It must\nconsist purely of alphabetic "
       "letters (or spaces). See the help for further details.\n"},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.message);
    std::vector<std::string> args = {"custom", "add"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliResult result = Run(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, c.message);
  }
  EXPECT_EQ(Run({"custom", "add", "zorb", "--definition", "x", "--type", "Gerund"}).status, 2);
  // A verb has no "Part of" tab.
  EXPECT_EQ(Run({"custom", "add", "zorb", "--definition", "x", "--type", "verb", "--related",
                 "Part of=ball"})
                .status,
            2);
  EXPECT_EQ(Run({"custom", "list"}).status, 1);  // still empty
  EXPECT_EQ(Run({"custom", "backup", data_.Path("b.dbk")}).status, 1);

  // Two entries for "Zorb Ball" (typed in capitals), one for "cat".
  ASSERT_EQ(Run({"custom", "add", "Zorb", "Ball", "--definition", "a ball of 2 layers", "--example",
                 "we rolled in a zorb ball", "--related", "Synonyms=Sphere, orb", "--related",
                 "kind of=ball"})
                .status,
            0);
  ASSERT_EQ(Run({"custom", "add", "zorb ball", "--type", "Verb", "--definition", "to roll"}).status,
            0);
  ASSERT_EQ(
      Run({"custom", "add", "cat", "--definition", "a pet", "--related", "synonyms=kitty,true cat"})
          .status,
      0);

  Value list = Json(Run({"custom", "list", "--json"}));
  ASSERT_EQ(list["entries"].array.size(), 3u);
  EXPECT_EQ(list["entries"].array[0]["word"].string, "cat");  // sorted by word
  EXPECT_EQ(list["entries"].array[0]["position"].number, 3);
  EXPECT_EQ(list["entries"].array[1]["word"].string, "zorb ball");
  EXPECT_EQ(list["entries"].array[2]["type"].string, "Verb");

  const Value shown = Json(Run({"custom", "show", "ZORB BALL", "--json"}));
  ASSERT_EQ(shown["entries"].array.size(), 2u);
  const Value& first = shown["entries"].array[0];
  EXPECT_EQ(first["definition"].string, "a ball of 2 layers");
  EXPECT_EQ(first["examples"].Strings(), std::vector<std::string>({"we rolled in a zorb ball"}));
  ASSERT_EQ(first["related"].array.size(), 2u);
  EXPECT_EQ(first["related"].array[0]["words"].Strings(),
            std::vector<std::string>({"sphere", "orb"}));

  // Lookups merge the entries: the custom word's base forms, and "true cat" twice.
  Value looked = Json(Run({"lookup", "zorb balls", "--json"}));
  EXPECT_EQ(looked["word"].string, "zorb ball");
  ASSERT_EQ(looked["senses"].array.size(), 2u);
  EXPECT_EQ(looked["senses"].array[0]["examples"].Strings(),
            std::vector<std::string>({"We rolled in a zorb ball"}));
  EXPECT_EQ(Titles(looked), std::vector<std::string>({"Synonyms", "Kind of", "Anagrams"}));
  looked = Json(Run({"lookup", "cat", "--json", "--pane", "Synonyms"}));
  EXPECT_EQ(looked["panes"].array[0]["words"].Strings(),
            std::vector<std::string>({"cat", "kitty", "true cat", "true cat"}));

  // Backup, delete, restore.
  const std::string backup = data_.root() + "/saved";
  CliResult result = Run({"custom", "backup", backup});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(std::filesystem::exists(backup + ".dbk"));
  EXPECT_TRUE(std::filesystem::exists(backup + ".ibk"));

  result = Run({"custom", "delete", "3", "1"});
  EXPECT_EQ(result.status, 0) << result.err;
  list = Json(Run({"custom", "list", "--json"}));
  ASSERT_EQ(list["entries"].array.size(), 1u);
  EXPECT_EQ(list["entries"].array[0]["type"].string, "Verb");
  EXPECT_EQ(Run({"custom", "delete", "2"}).status, 2);  // out of range now
  EXPECT_EQ(Run({"custom", "delete", "--word", "zorb ball"}).status, 0);
  EXPECT_EQ(Run({"lookup", "zorb ball"}).status, 1);

  result = Run({"custom", "restore", backup + ".dbk"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "Successfully restored custom database\n");
  EXPECT_EQ(Json(Run({"custom", "list", "--json"}))["entries"].array.size(), 3u);
  result = Run({"custom", "restore", data_.root() + "/missing.dbk"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err.rfind("Failed to restore custom database", 0), 0u);
}

}  // namespace
