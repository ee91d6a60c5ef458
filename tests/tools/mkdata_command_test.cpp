// The compiler as a command: what it writes, that it writes the same bytes twice, and that bad
// input leaves the output folder exactly as it was.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>

#include "tests/tools/wordnet_fixture.h"

namespace {

namespace fs = std::filesystem;
using wordnet_test::ReadText;
using wordnet_test::TempFolder;
using wordnet_test::WriteText;

const std::string kAssets = std::string(VERBARIUM_SOURCE_DIR) + "/tools/data";

struct Result {
  int status = -1;
  std::string out, err;
};

Result RunCompiler(const TempFolder& scratch, const std::string& arguments) {
  std::string out = scratch / "stdout", err = scratch / "stderr";
  std::string command = std::string("'") + VERBARIUM_MKDATA_PROGRAM + "' " + arguments + " >'" +
                        out + "' 2>'" + err + "'";
  int raw = std::system(command.c_str());
  Result result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = ReadText(out);
  result.err = ReadText(err);
  return result;
}

std::string Arguments(const std::string& wordnet, const std::string& words, const std::string& out,
                      const std::string& assets = kAssets) {
  return "--wordnet '" + wordnet + "' --words '" + words + "' --assets '" + assets + "' --out '" +
         out + "'";
}

// Every file of a folder with its bytes (folders left out).
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    files[entry.path().filename().string()] = ReadText(entry.path().string());
  }
  return files;
}

class MkdataCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    wordnet_test::Write(scratch_ / "wordnet", wordnet_test::SmallDatabase());
    WriteText(scratch_ / "words", "zebra\nabc\nAaron\n");
  }
  std::string Good(const std::string& out) {
    return Arguments(scratch_ / "wordnet", scratch_ / "words", out);
  }
  TempFolder scratch_;
};

TEST_F(MkdataCommand, WritesEveryFileAndTheSameBytesTwice) {
  Result first = RunCompiler(scratch_, Good(scratch_ / "Data"));
  ASSERT_EQ(first.status, 0) << first.err;
  std::map<std::string, std::string> files = Snapshot(scratch_ / "Data");
  // The custom database may keep side files of its own (a journal); nothing else is left.
  for (const char* name : {"1001A.dat", "1001L.dat", "1001M.dat", "1001M.idx", "1001T.dat",
                           "1001W.dat", "tips.dat", "verbarium.bmp"}) {
    EXPECT_EQ(files.count(name), 1u) << name;
  }
  for (const auto& [name, bytes] : files) {
    EXPECT_TRUE(name.rfind("1001", 0) == 0 || name == "tips.dat" || name == "verbarium.bmp")
        << name;
    EXPECT_EQ(name.find(".mkdata-new"), std::string::npos) << name;
  }
  EXPECT_EQ(files["1001M.idx"], std::string(16, '\0'));
  EXPECT_EQ(files["1001M.dat"], "");
  EXPECT_EQ(files["tips.dat"], ReadText(kAssets + "/tips.dat"));
  EXPECT_EQ(files["verbarium.bmp"], ReadText(kAssets + "/verbarium.bmp"));
  // The anagram list: magic, digest, then the words with their NULs.
  EXPECT_NE(files["1001A.dat"].find(std::string("abc\0bad\0", 8)), std::string::npos);

  for (const char* line : {"  words     18 ", "  synsets   17\n", "16 kept, 2 dropped", "adj +",
                           "1001T.dat", "created empty", "  time      "}) {
    EXPECT_NE(first.out.find(line), std::string::npos) << line << "\n" << first.out;
  }

  Result second = RunCompiler(scratch_, Good(scratch_ / "Again"));
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(Snapshot(scratch_ / "Again"), files);
}

TEST_F(MkdataCommand, RebuildLeavesTheCustomDatabaseAlone) {
  fs::create_directories(scratch_ / "Data");
  const std::string index = std::string(12, 'r') + std::string("\x01\0\0\0", 4) + "key and offset";
  WriteText(scratch_ / "Data/1001M.idx", index);
  WriteText(scratch_ / "Data/1001M.dat", "the user's own entry");
  fs::file_time_type before = fs::last_write_time(scratch_ / "Data/1001M.idx");
  WriteText(scratch_ / "Data/1001L.dat", "an old synset file");

  Result result = RunCompiler(scratch_, Good(scratch_ / "Data"));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("kept as they were"), std::string::npos) << result.out;
  EXPECT_EQ(ReadText(scratch_ / "Data/1001M.idx"), index);
  EXPECT_EQ(ReadText(scratch_ / "Data/1001M.dat"), "the user's own entry");
  EXPECT_EQ(fs::last_write_time(scratch_ / "Data/1001M.idx"), before);
  EXPECT_NE(ReadText(scratch_ / "Data/1001L.dat"), "an old synset file");

  // Half a custom database is not completed either: it is the user's to repair.
  fs::remove(scratch_ / "Data/1001M.dat");
  result = RunCompiler(scratch_, Good(scratch_ / "Data"));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("incomplete"), std::string::npos) << result.out;
  EXPECT_FALSE(fs::exists(scratch_ / "Data/1001M.dat"));
  EXPECT_EQ(ReadText(scratch_ / "Data/1001M.idx"), index);
}

// Bad input: a message naming the file (and line), status 1, and the output folder unchanged,
// whether it held an earlier compile or did not exist.
TEST_F(MkdataCommand, BadInputChangesNothing) {
  ASSERT_EQ(RunCompiler(scratch_, Good(scratch_ / "Data")).status, 0);
  const std::map<std::string, std::string> compiled = Snapshot(scratch_ / "Data");
  const std::map<std::string, std::string> good =
      wordnet_test::Render(wordnet_test::SmallDatabase());

  struct Case {
    const char* name;
    const char* file;  // database file to damage, or null
    const char* find;
    std::string replace;
    std::string expected;  // beginning of the message after "verbarium-mkdata: <folder>/"
  };
  const Case cases[] = {
      {"offset", "data.noun", "00000132 05 n 02 cat", "0000013x 05 n 02 cat",
       "data.noun:3: bad offset"},
      {"word count", "data.noun", "05 n 02 cat", "05 n 2x cat", "data.noun:3: bad word count"},
      {"hexadecimal field", "data.noun", "v 0101", "v 01z1",
       "data.noun:3: bad pointer source/target"},
      {"decimal field", "data.verb", "cat 0 001", "cat 0 00b", "data.verb:3: bad pointer count"},
      {"index count", "index.adv", "well r 1 2", "well r 1 two", "index.adv:4: bad pointer count"},
      {"tag count line", "cntlist.rev", "good%3:00:00:: 1 7", "good%3:00:00:: one 7",
       "cntlist.rev:5: bad sense number"},
      {"missing file", "index.verb", nullptr, "", "index.verb: cannot be opened"},
      {"limit", "data.adv", "in a bad manner", "in a bad manner" + std::string(1020, '!'),
       "data.adv:4: gloss longer than 1027 bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder damaged;
    for (const auto& [name, text] : good) {
      std::string content = text;
      if (name == c.file) {
        if (c.find == nullptr) continue;
        size_t at = content.find(c.find);
        ASSERT_NE(at, std::string::npos);
        content.replace(at, std::strlen(c.find), c.replace);
      }
      WriteText(damaged / name, content);
    }
    for (const std::string& out : {scratch_ / "Data", scratch_ / "Fresh"}) {
      Result result = RunCompiler(scratch_, Arguments(damaged.path(), scratch_ / "words", out));
      EXPECT_EQ(result.status, 1);
      std::string prefix = "verbarium-mkdata: " + damaged.path() + "/" + c.expected;
      EXPECT_EQ(result.err.rfind(prefix, 0), 0u) << result.err;
      EXPECT_TRUE(result.out.empty()) << result.out;
    }
    EXPECT_EQ(Snapshot(scratch_ / "Data"), compiled);
    EXPECT_FALSE(fs::exists(scratch_ / "Fresh"));
  }

  // Missing or unreadable inputs other than the database.
  WriteText(scratch_ / "nul-words", std::string("abc\nd\0e\n", 8));
  fs::create_directories(scratch_ / "no-assets");
  fs::create_directories(scratch_ / "bad-assets");
  WriteText(scratch_ / "bad-assets/tips.dat", "; only comments\n");
  struct Other {
    std::string arguments;
    std::string expected;
  };
  const Other others[] = {
      {Arguments(scratch_ / "absent", scratch_ / "words", scratch_ / "Data"),
       scratch_ / "absent: no such folder"},
      {Arguments(scratch_ / "wordnet", scratch_ / "absent-words", scratch_ / "Data"),
       scratch_ / "absent-words: cannot be opened"},
      {Arguments(scratch_ / "wordnet", scratch_ / "nul-words", scratch_ / "Data"),
       scratch_ / "nul-words:2: NUL byte"},
      {Arguments(scratch_ / "wordnet", scratch_ / "words", scratch_ / "Data",
                 scratch_ / "no-assets"),
       scratch_ / "no-assets/tips.dat: cannot be opened"},
      {Arguments(scratch_ / "wordnet", scratch_ / "words", scratch_ / "Data",
                 scratch_ / "bad-assets"),
       scratch_ / "bad-assets/tips.dat: no tip lines"},
  };
  for (const Other& o : others) {
    SCOPED_TRACE(o.expected);
    Result result = RunCompiler(scratch_, o.arguments);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.rfind("verbarium-mkdata: " + o.expected, 0), 0u) << result.err;
    EXPECT_EQ(Snapshot(scratch_ / "Data"), compiled);
  }

  // A folder where a data file belongs: refused before any file is replaced.
  fs::remove(scratch_ / "Data/1001T.dat");
  fs::create_directories(scratch_ / "Data/1001T.dat");
  Result taken = RunCompiler(scratch_, Good(scratch_ / "Data"));
  EXPECT_EQ(taken.status, 1);
  EXPECT_EQ(taken.err.rfind("verbarium-mkdata: " + scratch_ / "Data/1001T.dat: is not a file", 0),
            0u)
      << taken.err;
  std::map<std::string, std::string> after = Snapshot(scratch_ / "Data");
  after.erase("1001T.dat");
  std::map<std::string, std::string> expected = compiled;
  expected.erase("1001T.dat");
  EXPECT_EQ(after, expected);
  fs::remove(scratch_ / "Data/1001T.dat");

  Result usage = RunCompiler(scratch_, "--wordnet '" + scratch_ / "wordnet" + "'");
  EXPECT_EQ(usage.status, 2);
  EXPECT_NE(usage.err.find("--out is required"), std::string::npos) << usage.err;
  EXPECT_NE(usage.err.find("usage: verbarium-mkdata"), std::string::npos);
}

}  // namespace
