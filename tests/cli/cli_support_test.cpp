// The command line's building blocks: the JSON writer and the argument parser.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/args.h"
#include "cli/json_writer.h"
#include "tests/cli/json_reader.h"

namespace cli {
namespace {

TEST(JsonWriter, EscapesWhatJsonNeedsAndKeepsUtf8) {
  struct Case {
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"plain", "\"plain\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"back\\slash", "\"back\\\\slash\""},
      {"tab\tnew\nline\r", "\"tab\\tnew\\nline\\r\""},
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
  for (const Case& c : cases) {
    SCOPED_TRACE(c.out);
    EXPECT_EQ(JsonQuote(c.in), c.out);
    json_test::Value value;
    ASSERT_TRUE(json_test::Parse(c.out, &value));
  }
}

TEST(JsonWriter, NestsObjectsAndArrays) {
  JsonWriter json;
  json.BeginObject()
      .Key("input")
      .String("cats")
      .Key("senses")
      .BeginArray()
      .BeginObject()
      .Key("number")
      .Int(1)
      .Key("checked")
      .Bool(true)
      .Key("examples")
      .Strings({})
      .EndObject()
      .BeginObject()
      .Key("number")
      .Int(-2)
      .Key("none")
      .Null()
      .EndObject()
      .EndArray()
      .Key("words")
      .Strings({"a", "b\"c"})
      .EndObject();
  EXPECT_EQ(json.text(),
            "{\"input\":\"cats\",\"senses\":[{\"number\":1,\"checked\":true,\"examples\":[]},"
            "{\"number\":-2,\"none\":null}],\"words\":[\"a\",\"b\\\"c\"]}");
  json_test::Value value;
  ASSERT_TRUE(json_test::Parse(json.text(), &value));
  EXPECT_EQ(value["words"].Strings(), std::vector<std::string>({"a", "b\"c"}));
}

TEST(Args, OptionsAnywhereAndValuesInBothForms) {
  const std::vector<OptionSpec> specs = {{"json", false}, {"pane", true}, {"min", true}};
  ParsedArgs parsed;
  std::string error;
  ASSERT_TRUE(ParseArgs(
      {"ice", "--pane", "Kind of", "cream", "--json", "--pane=DSC", "--min", "-1", "--", "--json"},
      specs, &parsed, &error));
  EXPECT_EQ(parsed.operands, std::vector<std::string>({"ice", "cream", "--json"}));
  EXPECT_EQ(parsed.Values("pane"), std::vector<std::string>({"Kind of", "DSC"}));
  EXPECT_EQ(parsed.Value("min"), "-1");
  EXPECT_TRUE(parsed.Has("json"));
  EXPECT_EQ(parsed.Value("absent", "fallback"), "fallback");

  ASSERT_TRUE(ParseArgs({"-", "-x"}, specs, &parsed, &error));  // single dashes are operands
  EXPECT_EQ(parsed.operands.size(), 2u);

  struct Bad {
    std::vector<std::string> args;
    const char* error;
  };
  const Bad bad[] = {
      {{"--bogus"}, "unknown option --bogus"},
      {{"--pane"}, "option --pane needs a value"},
      {{"--json=yes"}, "option --json takes no value"},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.error);
    EXPECT_FALSE(ParseArgs(b.args, specs, &parsed, &error));
    EXPECT_EQ(error, b.error);
  }
}

TEST(Args, NumbersAndLists) {
  int value = 0;
  EXPECT_TRUE(ParseInt("42", &value));
  EXPECT_EQ(value, 42);
  EXPECT_TRUE(ParseInt("-2147483648", &value));
  EXPECT_EQ(value, -2147483647 - 1);
  for (const char* bad : {"", "-", "4a", "2147483648", "99999999999999999999", " 1", "1.5"}) {
    EXPECT_FALSE(ParseInt(bad, &value)) << bad;
  }
  EXPECT_EQ(SplitList("1, 3 ,,5"), std::vector<std::string>({"1", "3", "", "5"}));
  EXPECT_EQ(SplitList(""), std::vector<std::string>({""}));
}

}  // namespace
}  // namespace cli
