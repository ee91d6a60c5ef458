// The command line's building blocks: the JSON writer and the argument parser.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/args.h"
#include "cli/json_writer.h"

namespace cli {
namespace {

using Strings = std::vector<std::string>;

TEST(JsonWriter, EscapesWhatJsonNeeds) {
  const std::pair<std::string, std::string> cases[] = {
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"back\\slash", "\"back\\\\slash\""},
      {"tab\tnew\nline\r\b\f", "\"tab\\tnew\\nline\\r\\b\\f\""},
      {std::string("nul\0x", 5), "\"nul\\u0000x\""},
      {"\x01\x1f\x7f", "\"\\u0001\\u001f\x7f\""},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80",
       "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\""},
      // Bytes that are not UTF-8 (a Latin-1 byte, a cut sequence, an overlong form, a
      // surrogate) become U+FFFD.
      {"caf\xE9", "\"caf\xEF\xBF\xBD\""},
      {"x\xE2\x82", "\"x\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
  };
  for (const auto& [in, out] : cases)
    EXPECT_EQ(JsonQuote(in), out);
}

TEST(JsonWriter, NestsContainers) {
  JsonWriter json;
  json.BeginObject().Key("input").String("cats").Key("senses").BeginArray();
  json.BeginObject().Key("number").Int(1).Key("checked").Bool(true).Key("examples").Strings({});
  json.EndObject().BeginObject().Key("number").Int(-2).Key("none").Null().EndObject();
  json.EndArray().Key("words").Strings({"a", "b\"c"}).EndObject();
  EXPECT_EQ(json.text(),
            "{\"input\":\"cats\",\"senses\":[{\"number\":1,\"checked\":true,\"examples\":[]},"
            "{\"number\":-2,\"none\":null}],\"words\":[\"a\",\"b\\\"c\"]}");
}

TEST(Args, OptionsMayStandAnywhere) {
  const std::vector<OptionSpec> specs = {{"json", false}, {"pane", true}, {"min", true}};
  ParsedArgs parsed;
  std::string error;
  ASSERT_TRUE(ParseArgs(
      {"ice", "--pane", "Kind of", "cream", "--json", "--pane=DSC", "--min", "-1", "--", "--json"},
      specs, &parsed, &error));
  EXPECT_EQ(parsed.operands, Strings({"ice", "cream", "--json"}));
  EXPECT_EQ(parsed.Values("pane"), Strings({"Kind of", "DSC"}));
  EXPECT_EQ(parsed.Value("min"), "-1");
  EXPECT_TRUE(parsed.Has("json"));
}

TEST(Args, BadOptionsAreNamed) {
  const std::vector<OptionSpec> specs = {{"json", false}, {"pane", true}};
  ParsedArgs parsed;
  std::string error;
  const std::pair<std::string, std::string> bad[] = {
      {"--bogus", "unknown option --bogus"},
      {"--pane", "option --pane needs a value"},
      {"--json=yes", "option --json takes no value"},
  };
  for (const auto& [arg, message] : bad) {
    EXPECT_FALSE(ParseArgs({arg}, specs, &parsed, &error));
    EXPECT_EQ(error, message);
  }
}

TEST(Args, ParseIntTakesWholeIntsOnly) {
  int value = 0;
  EXPECT_TRUE(ParseInt("-2147483648", &value));
  EXPECT_EQ(value, -2147483647 - 1);
  for (const char* text : {"", "-", "4a", "2147483648", "99999999999999999999", " 1", "1.5"})
    EXPECT_FALSE(ParseInt(text, &value)) << text;
}

TEST(Args, SplitListKeepsEmptyPieces) {
  EXPECT_EQ(SplitList("1, 3 ,,5"), Strings({"1", "3", "", "5"}));
}

}  // namespace
}  // namespace cli
