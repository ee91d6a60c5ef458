// verbarium-cli on the compiled dictionary (Data/ of the build folder): base forms, irregular
// forms against WordNet's own browser, suggestions for common misspellings, senses, panes,
// patterns and anagrams of the real word list, as text and as JSON.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
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

CliResult RunOnData(const std::vector<std::string>& args, const std::string& input = "") {
  return cli_test::RunOn(VERBARIUM_DATA_DIR, args, input);
}

Value Json(const std::string& text) {
  return json_test::ParsedOrFail(text);
}

bool Contains(const Strings& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

// The lemmas of "Overview of noun mouse" lines of the wordnet package's browser, "_" shown as a
// space.
std::set<std::string> BrowserBaseForms(const std::string& word) {
  std::string text;
  FILE* pipe = ::popen(("wn '" + word + "' -over 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return {};
  for (int c; (c = std::fgetc(pipe)) != EOF;)
    text += static_cast<char>(c);
  ::pclose(pipe);
  std::set<std::string> forms;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("Overview of ", 0) != 0) continue;
    std::string lemma = line.substr(line.find(' ', 12) + 1);
    std::replace(lemma.begin(), lemma.end(), '_', ' ');
    forms.insert(lemma);
  }
  return forms;
}

// The word looked up and its other base forms together are the base forms WordNet's own browser
// lists (where the wordnet package's wn command is installed); the text's own rules still settle
// what they settled.
TEST(CliData, BaseFormsAgreeWithTheWordNetBrowser) {
  const bool browser = std::system("command -v wn >/dev/null 2>&1") == 0;
  if (!browser) std::cout << "wn is not installed: the browser's base forms are not compared\n";
  // clang-format off
  const char* cases[][2] = {
      // typed, the word looked up ("" when none)
      {"went", "go"}, {"mice", "mouse"}, {"geese", "goose"}, {"children", "child"},
      {"oxen", "oxen"}, {"feet", "foot"}, {"teeth", "teeth"}, {"wolves", "wolf"},
      {"knives", "knife"}, {"flies", "flies"}, {"cities", "city"}, {"boxes", "box"},
      {"churches", "church"}, {"stopped", "stopped"}, {"ran", "run"}, {"swum", "swim"},
      {"bigger", "bigger"}, {"happiest", "happy"}, {"attorneys general", "attorney general"},
      // words the text's own rules settle: the "d" dropped, listed words kept as they stand
      {"Cats", "cat"}, {"hiked", "hike"}, {"walked", "walk"}, {"gazing", "gaze"},
      {"baked", "baked"}, {"making", "making"}, {"morning", "morning"}, {"better", "better"},
      {"ice cream", "ice cream"},
      {"xing", ""},  // "x" and "xe" are words, but four letters are never reduced
  };
  // clang-format on
  std::string input;
  for (const auto& c : cases)
    input += std::string(c[0]) + "\n";
  const CliResult batch = RunOnData({"lookup", "--batch", "-", "--json"}, input);
  EXPECT_EQ(batch.status, 1);  // one line found nothing
  const Strings lines = Lines(batch.out);
  ASSERT_EQ(lines.size(), std::size(cases));
  for (size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(cases[i][0]);
    const Value result = Json(lines[i]);
    EXPECT_EQ(result["input"].text, cases[i][0]);
    EXPECT_EQ(result["word"].text, cases[i][1]);
    if (!browser) continue;
    std::set<std::string> forms;
    if (!result["word"].text.empty()) forms.insert(result["word"].text);
    for (const std::string& other : result["also"].Strings())
      forms.insert(other);
    EXPECT_EQ(forms, BrowserBaseForms(cases[i][0]));
  }
  EXPECT_EQ(Json(lines.back())["error"].text, "Not a known word or phrase");
  EXPECT_EQ(RunOnData({"lookup", "--batch", "-"}, "x\nxe\n").status, 0);
}

// The list of common misspellings kept in the repository: the share whose intended word comes
// first, over the words the dictionary holds (bench/compare_suggestions.sh sets it beside
// aspell's).
TEST(CliData, SuggestionsPutTheIntendedWordFirst) {
  std::ifstream list(VERBARIUM_SOURCE_DIR "/tests/data/misspellings.txt");
  std::string typos, meant;
  Strings intended;
  for (std::string line; std::getline(list, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string typo, word;
    fields >> typo >> word;
    typos += typo + "\n";
    meant += word + "\n";
    intended.push_back(word);
  }
  ASSERT_GE(intended.size(), 200u);
  const Strings held = Lines(RunOnData({"lookup", "--batch", "-", "--json"}, meant).out);
  const Strings found = Lines(RunOnData({"lookup", "--batch", "-", "--json"}, typos).out);
  ASSERT_EQ(held.size(), intended.size());
  ASSERT_EQ(found.size(), intended.size());
  size_t holds = 0, first = 0;
  for (size_t i = 0; i < intended.size(); ++i) {
    if (Json(held[i])["word"].text != intended[i]) continue;
    ++holds;
    const Strings suggestions = Json(found[i])["suggestions"].Strings();
    if (!suggestions.empty() && suggestions.front() == intended[i]) ++first;
  }
  std::cout << "intended word first for " << first << " of " << holds << " misspellings\n";
  EXPECT_GE(first * 100, holds * 85);
  const CliResult recieve = RunOnData({"lookup", "recieve"});
  EXPECT_EQ(recieve.status, 1);
  EXPECT_EQ(Lines(recieve.err).at(1).rfind("Did you mean: receive, ", 0), 0u) << recieve.err;
}

TEST(CliData, LookupShowsTheViewOfTheWord) {
  const CliResult text = RunOnData({"lookup", "cats"});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(Lines(text.out).at(0), "Word: cat (from cats)");
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
