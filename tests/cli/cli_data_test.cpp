// verbarium-cli on the compiled dictionary (Data/ of the build folder): base forms, senses,
// panes, patterns and anagrams of the real word list, as text and as JSON.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/cli/cli_runner.h"
#include "tests/cli/json_reader.h"

namespace {

using cli_test::CliResult;
using cli_test::Lines;
using json_test::Value;
using Strings = std::vector<std::string>;

CliResult RunOnData(std::vector<std::string> args, const std::string& input = "") {
  args.insert(args.begin(), {"--data", VERBARIUM_DATA_DIR});
  return cli_test::RunCli(args, input);
}

Value Json(const std::string& text) {
  Value value;
  EXPECT_TRUE(json_test::Parse(text, &value)) << text;
  return value;
}

bool Contains(const Strings& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

TEST(CliData, BatchFindsBaseFormsOfTheDictionary) {
  const char* cases[][2] = {
      // typed, the word looked up ("" when none)
      {"Cats", "cat"},        {"hiked", "hike"},  // the "d" dropped
      {"walked", "walk"},     {"gazing", "gaze"},
      {"baked", "baked"},     {"making", "making"},  // listed themselves, so they stay
      {"morning", "morning"}, {"ice cream", "ice cream"},
      {"xing", ""},  // "x" and "xe" are words, but four letters are never reduced
  };
  std::string input;
  for (const auto& c : cases)
    input += std::string(c[0]) + "\n";
  const CliResult batch = RunOnData({"lookup", "--batch", "-", "--json"}, input);
  EXPECT_EQ(batch.status, 1);  // one line found nothing
  const Strings lines = Lines(batch.out);
  ASSERT_EQ(lines.size(), std::size(cases));
  for (size_t i = 0; i < lines.size(); ++i) {
    const Value result = Json(lines[i]);
    EXPECT_EQ(result["input"].text, cases[i][0]);
    EXPECT_EQ(result["word"].text, cases[i][1]);
  }
  EXPECT_EQ(Json(lines.back())["error"].text, "Not a known word or phrase");
  EXPECT_EQ(RunOnData({"lookup", "--batch", "-"}, "x\nxe\n").status, 0);
}

TEST(CliData, LookupShowsTheViewOfTheWord) {
  const CliResult text = RunOnData({"lookup", "cats"});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(Lines(text.out).at(0), "Word: cat");
  EXPECT_NE(text.out.find("\nKind of ("), std::string::npos);

  const Value json = Json(RunOnData({"lookup", "cats", "--json"}).out);
  const auto& senses = json["senses"].items;
  ASSERT_GE(senses.size(), 8u);
  for (size_t i = 0; i < senses.size(); ++i)
    EXPECT_EQ(senses[i]["number"].Int(), static_cast<long>(i + 1));
  EXPECT_EQ(senses.front()["pos"].text, "Noun");
  EXPECT_NE(senses.front()["definition"].text.find("Feline mammal"), std::string::npos);
  EXPECT_EQ(senses.back()["pos"].text, "Verb");
  // Tabs in tab order: Synonyms first, Anagrams last, and "Kind of" holds "feline".
  const auto& panes = json["panes"].items;
  ASSERT_GE(panes.size(), 4u);
  EXPECT_EQ(panes.front()["title"].text, "Synonyms");
  EXPECT_EQ(panes.back()["title"].text, "Anagrams");
  EXPECT_TRUE(Contains(panes.back()["words"].Strings(), "scat"));
  EXPECT_TRUE(std::any_of(panes.begin(), panes.end(), [](const Value& pane) {
    const Strings words = pane["words"].Strings();
    return pane["title"].text == "Kind of" && Contains(words, "feline") &&
           std::is_sorted(words.begin(), words.end());
  }));

  EXPECT_EQ(RunOnData({"lookup", "quickly", "--pane", "Kind of"}).status, 0);  // a pane it lacks
  EXPECT_EQ(RunOnData({"lookup", "2?d"}).status, 2);
}

TEST(CliData, PatternListsTheMatchingWords) {
  const Strings matches = Json(RunOnData({"lookup", "c?t", "--json"}).out)["matches"].Strings();
  EXPECT_TRUE(Contains(matches, "cat") && Contains(matches, "cot"));
  const Strings lines = Lines(RunOnData({"match", "c?t"}).out);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Found " + std::to_string(lines.size() - 1) + " matches");
}

TEST(CliData, AnagramsComeFromTheWordList) {
  const Strings whole =
      Json(RunOnData({"anagrams", "listen", "--max", "6", "--min", "6", "--json"}).out)["anagrams"]
          .Strings();
  EXPECT_TRUE(Contains(whole, "silent") && Contains(whole, "tinsel"));
  EXPECT_EQ(Json(RunOnData({"anagrams", "listen", "--count", "10", "--json"}).out)["anagrams"]
                .items.size(),
            10u);
}

}  // namespace
