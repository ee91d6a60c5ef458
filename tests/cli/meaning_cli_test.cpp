// verbarium-cli meaning as a process over a small dictionary with its compiled index: the
// words found, the JSON, the batch, the exit statuses and the messages.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/app/meaning_test_util.h"
#include "tests/cli/cli_runner.h"
#include "tests/cli/json_reader.h"

namespace {

using cli_test::CliResult;
using cli_test::Lines;
using json_test::Value;
using Args = std::vector<std::string>;

class MeaningCliTest : public ::testing::Test {
 protected:
  CliResult Run(const Args& args, const std::string& input = "") {
    return cli_test::RunOn(data_.dir(), args, input);
  }
  static Value Json(const std::string& text) { return json_test::ParsedOrFail(text); }

  meaning_test::DataFolder data_;
};

TEST_F(MeaningCliTest, JsonListsWordsBestFirst) {
  const CliResult result = Run({"meaning", "someone", "who", "bakes", "bread", "--json"});
  ASSERT_EQ(result.status, 0) << result.err;
  const Value json = Json(result.out);
  EXPECT_EQ(json["input"].text, "someone who bakes bread");
  const auto& words = json["words"].items;
  ASSERT_GE(words.size(), 2u);
  EXPECT_EQ(words[0]["word"].text, "baker");
  EXPECT_EQ(words[0]["pos"].text, "Noun");
  EXPECT_EQ(words[0]["definition"].text, "Someone who bakes bread or cake");
  for (size_t i = 0; i < words.size(); ++i) {
    EXPECT_GE(words[i]["score"].Number(), i + 1 < words.size() ? words[i + 1]["score"].Number() : 0)
        << i;
  }
  const Value one = Json(Run({"meaning", "someone who bakes bread", "--json", "--count", "1"}).out);
  EXPECT_EQ(one["words"].items.size(), 1u);

  const std::vector<std::string> text = Lines(Run({"meaning", "young cats"}).out);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text[0], "   1  Noun         kitten: Young domestic cat");
}

TEST_F(MeaningCliTest, ExitStatusesAndMessages) {
  const struct {
    Args args;
    int status;
    const char* message;  // the start of the error output
  } cases[] = {
      {{"meaning", "a tree whose needles fall"}, 0, ""},
      {{"meaning", "zyzzyva"}, 1, "No word matches the description."},
      {{"meaning", "the of a"}, 1, "The description has no word to search for"},
      {{"meaning", "bread # cake"}, 2, "The description contains invalid characters."},
      {{"meaning", std::string(201, 'b')}, 2, "The description is too long"},
      {{"meaning"}, 2, "verbarium-cli meaning: no description"},
      {{"meaning", "bread", "--count", "0"}, 2, "verbarium-cli meaning: --count takes"},
      {{"meaning", "bread", "--count", "1001"}, 2, "verbarium-cli meaning: --count takes"},
      {{"meaning", "bread", "--batch", "-"}, 2, "verbarium-cli meaning: give either"},
      {{"meaning", "bread", "--sort"}, 2, "verbarium-cli meaning: unknown option --sort"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.size() > 1 ? c.args[1] : c.args[0]);
    const CliResult result = Run(c.args);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.err.rfind(c.message, 0), 0u) << result.err;
  }
  EXPECT_EQ(Run({"meaning", "--help"}).out.rfind("Usage: verbarium-cli meaning", 0), 0u);
}

TEST_F(MeaningCliTest, BatchGivesOneJsonLineEach) {
  const CliResult result =
      Run({"meaning", "--batch", "-", "--count", "2"}, "young cats\r\nthe of\nbread #\n");
  EXPECT_EQ(result.status, 1);  // some line found nothing
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 3u);
  const Value found = Json(lines[0]);
  EXPECT_EQ(found["input"].text, "young cats");
  EXPECT_EQ(found["words"].items.size(), 2u);
  EXPECT_EQ(Json(lines[1])["error"].text.rfind("The description has no word", 0), 0u);
  EXPECT_EQ(Json(lines[2])["error"].text.rfind("The description contains invalid", 0), 0u);
  EXPECT_EQ(Run({"meaning", "--batch", "-"}, "young cats\nfear of closed spaces\n").status, 0);
}

TEST_F(MeaningCliTest, MissingOrDamagedIndexFailsOnlyMeaning) {
  std::vector<uint8_t> bytes = meaning_test::ReadBytes(data_.IndexPath());
  bytes.back() ^= 1;
  meaning_test::WriteBytes(data_.IndexPath(), bytes);
  const CliResult damaged = Run({"meaning", "young cats"});
  EXPECT_EQ(damaged.status, 2);
  EXPECT_EQ(damaged.err,
            "The index of the search by meaning (1001S.dat) has been corrupted.\n"
            "Please reinstall or repair Verbarium.\n");
  const CliResult batch = Run({"meaning", "--batch", "-"}, "young cats\n");
  EXPECT_EQ(batch.status, 2);
  EXPECT_EQ(batch.out, "");

  std::filesystem::remove(data_.IndexPath());
  const CliResult missing = Run({"meaning", "young cats", "--json"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err,
            "The search by meaning needs the file 1001S.dat, which is missing.\n"
            "Please reinstall or repair Verbarium.\n");
  EXPECT_EQ(Run({"lookup", "cats"}).status, 0);
}

}  // namespace
