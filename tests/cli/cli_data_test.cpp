// verbarium-cli on the compiled dictionary (Data/ of the build folder), text and JSON.
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

CliResult RunOnData(std::vector<std::string> args, const std::string& input = "") {
  args.insert(args.begin(), {"--data", VERBARIUM_DATA_DIR});
  return cli_test::RunCli(args, input);
}

Value Json(const std::string& text) {
  Value value;
  EXPECT_TRUE(json_test::Parse(text, &value)) << text;
  return value;
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

TEST(CliData, LookupCatsAsTextAndJson) {
  const CliResult text = RunOnData({"lookup", "cats"});
  ASSERT_EQ(text.status, 0) << text.err;
  const std::vector<std::string> lines = Lines(text.out);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "Word: cat");
  EXPECT_NE(text.out.find("\n\nSynonyms ("), std::string::npos);
  EXPECT_NE(text.out.find("\nKind of ("), std::string::npos);

  const Value json = Json(RunOnData({"lookup", "cats", "--json"}).out);
  EXPECT_EQ(json["input"].string, "cats");
  EXPECT_EQ(json["word"].string, "cat");
  const auto& senses = json["senses"].array;
  ASSERT_GE(senses.size(), 8u);
  for (size_t i = 0; i < senses.size(); ++i) {
    EXPECT_EQ(senses[i]["number"].number, static_cast<double>(i + 1));
    EXPECT_TRUE(senses[i]["checked"].boolean);
  }
  EXPECT_EQ(senses[0]["pos"].string, "Noun");
  EXPECT_EQ(senses.back()["pos"].string, "Verb");
  // Tabs in tab order: Synonyms first, Anagrams last, and "Kind of" holds "feline".
  std::vector<std::string> titles;
  for (const Value& pane : json["panes"].array)
    titles.push_back(pane["title"].string);
  ASSERT_GE(titles.size(), 3u);
  EXPECT_EQ(titles.front(), "Synonyms");
  EXPECT_EQ(titles.back(), "Anagrams");
  const auto kind_of = std::find(titles.begin(), titles.end(), "Kind of");
  ASSERT_NE(kind_of, titles.end());
  const Value& pane = json["panes"].array[kind_of - titles.begin()];
  EXPECT_TRUE(Contains(pane["words"].Strings(), "feline"));
  EXPECT_TRUE(Contains(json["panes"].array.back()["words"].Strings(), "scat"));
}

TEST(CliData, PatternsAnagramsAndMatches) {
  Value json = Json(RunOnData({"lookup", "c?t", "--json"}).out);
  EXPECT_TRUE(Contains(json["matches"].Strings(), "cat"));
  EXPECT_TRUE(Contains(json["matches"].Strings(), "cot"));

  const CliResult matched = RunOnData({"match", "c?t"});
  EXPECT_EQ(matched.status, 0);
  const std::vector<std::string> lines = Lines(matched.out);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Found " + std::to_string(lines.size() - 1) + " matches");

  const CliResult anagrams = RunOnData({"anagrams", "listen", "--count", "10", "--json"});
  EXPECT_EQ(anagrams.status, 0);
  const std::vector<std::string> list = Json(anagrams.out)["anagrams"].Strings();
  EXPECT_EQ(list.size(), 10u);
  EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
  const std::vector<std::string> single =
      Json(RunOnData({"anagrams", "listen", "--max", "6", "--min", "6", "--json"}).out)["anagrams"]
          .Strings();
  EXPECT_TRUE(Contains(single, "silent"));
  EXPECT_TRUE(Contains(single, "tinsel"));
  EXPECT_FALSE(Contains(single, "listen ") || Contains(single, "lien ts"));

  const CliResult filtered = RunOnData({"anagrams", "listen", "--filter", "4-3"});
  EXPECT_EQ(filtered.status, 2);
  EXPECT_EQ(filtered.err, "The length of the items in the filter do not match the word lengths\n");
}

TEST(CliData, BatchAndStatuses) {
  const CliResult batch =
      RunOnData({"lookup", "--batch", "-", "--json"}, "walked\nxing\nice cream\n");
  EXPECT_EQ(batch.status, 1);
  const std::vector<std::string> lines = Lines(batch.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(Json(lines[0])["word"].string, "walk");
  EXPECT_EQ(Json(lines[1])["error"].string, "Not a known word or phrase");
  EXPECT_EQ(Json(lines[2])["word"].string, "ice cream");

  EXPECT_EQ(RunOnData({"lookup", "xing"}).status, 1);
  EXPECT_EQ(RunOnData({"lookup", "2?d"}).status, 2);
  EXPECT_EQ(RunOnData({"lookup", "quickly", "--pane", "Kind of"}).status, 0);
}

}  // namespace
