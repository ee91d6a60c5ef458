// The compiler as a command: what it writes, that it writes the same bytes twice, and that bad
// input is named by file and line and leaves the output folder exactly as it was.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>

#include "engine/nymdex.h"
#include "tests/tools/wordnet_fixture.h"

namespace {

namespace fs = std::filesystem;
using test_support::ReadFile;
using wordnet_test::WriteText;

const std::string kAssets = std::string(VERBARIUM_SOURCE_DIR) + "/tools/data";

struct Result {
  int status = -1;
  std::string out, err;
};

// Every file of a folder with its bytes (folders left out).
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path().filename()] = ReadFile(entry.path());
  }
  return files;
}

class MkdataCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    wordnet_test::Write(scratch_.Path("wordnet"), wordnet_test::SmallDatabase());
    WriteText(scratch_.Path("words"), "zebra\nabc\nAaron\n");
  }
  Result Run(const std::string& out, const std::string& wordnet = "", const std::string& words = "",
             const std::string& assets = kAssets) {
    std::string command = "'" VERBARIUM_MKDATA_PROGRAM "' --wordnet '" +
                          (wordnet.empty() ? scratch_.Path("wordnet") : wordnet) + "' --words '" +
                          (words.empty() ? scratch_.Path("words") : words) + "' --assets '" +
                          assets + (out.empty() ? "'" : "' --out '" + out + "'") + " >'" +
                          scratch_.Path("stdout") + "' 2>'" + scratch_.Path("stderr") + "'";
    int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(scratch_.Path("stdout")),
            ReadFile(scratch_.Path("stderr"))};
  }
  test_support::ScratchFolder scratch_;
};

TEST_F(MkdataCommand, WritesEveryFile) {
  Result first = Run(scratch_.Path("Data"));
  ASSERT_EQ(first.status, 0) << first.err;
  std::map<std::string, std::string> files = Snapshot(scratch_.Path("Data"));
  std::set<std::string> names;
  for (const auto& [name, bytes] : files)
    names.insert(name);
  names.erase("1001M.idx.journal");  // the custom database's own, empty between changes
  EXPECT_EQ(names, (std::set<std::string>{"1001A.dat", "1001E.dat", "1001L.dat", "1001M.dat",
                                          "1001M.idx", "1001S.dat", "1001T.dat", "1001W.dat",
                                          "tips.dat", "verbarium.bmp", "word-index.cache"}));
  EXPECT_EQ(files["1001M.idx"], std::string(16, '\0'));
  EXPECT_EQ(files["1001M.dat"], "");
  EXPECT_EQ(files["tips.dat"], ReadFile(kAssets + "/tips.dat"));
  EXPECT_EQ(files["verbarium.bmp"], ReadFile(kAssets + "/verbarium.bmp"));
  EXPECT_NE(files["1001A.dat"].find(std::string("abc\0bad\0", 8)), std::string::npos);
  // The two lines of "involucra" are one record.
  EXPECT_NE(files["1001E.dat"].find(std::string("\x01\x02involucra\0involucre\0involucrum\0", 32)),
            std::string::npos);
}

TEST_F(MkdataCommand, WritesTheSameBytesTwice) {
  ASSERT_EQ(Run(scratch_.Path("Data")).status, 0);
  ASSERT_EQ(Run(scratch_.Path("Again")).status, 0);
  EXPECT_EQ(Snapshot(scratch_.Path("Again")), Snapshot(scratch_.Path("Data")));
}

TEST_F(MkdataCommand, WordIndexCopyIsTheOneAStartUpWrites) {
  ASSERT_EQ(Run(scratch_.Path("Data")).status, 0);
  // The start-up's own copy, from the same three files in a folder without the compiler's.
  fs::create_directories(scratch_.Path("Bare"));
  for (const char* name : {"1001L.dat", "1001W.dat", "1001T.dat"})
    fs::copy_file(scratch_.Path("Data/") + name, scratch_.Path("Bare/") + name);
  Nymdex_SetCacheFolder(scratch_.Path("cache").c_str());
  NymdexEngine* engine = nullptr;
  const uint32_t code = Nymdex_StartUp(&engine, scratch_.Path("Bare/1001L.dat").c_str(),
                                       scratch_.Path("Bare/1001W.dat").c_str(),
                                       scratch_.Path("Bare/1001T.dat").c_str(), nullptr, nullptr);
  Nymdex_SetCacheFolder(nullptr);
  ASSERT_EQ(code, kNymdexOk);
  Nymdex_ShutDown(&engine);
  const std::string written = ReadFile(scratch_.Path("cache/word-index.cache"));
  EXPECT_GT(written.size(), 64u);
  EXPECT_TRUE(written == ReadFile(scratch_.Path("Data/word-index.cache")))
      << "the copies differ (" << written.size() << " bytes written by the start-up)";
}

TEST_F(MkdataCommand, RebuildLeavesTheCustomDatabaseAlone) {
  fs::create_directories(scratch_.Path("Data"));
  const std::string index = std::string(12, 'r') + std::string("\x01\0\0\0", 4) + "key and offset";
  WriteText(scratch_.Path("Data/1001M.idx"), index);
  WriteText(scratch_.Path("Data/1001M.dat"), "the user's own entry");
  WriteText(scratch_.Path("Data/1001L.dat"), "an old synset file");
  Result result = Run(scratch_.Path("Data"));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadFile(scratch_.Path("Data/1001M.idx")), index);
  EXPECT_EQ(ReadFile(scratch_.Path("Data/1001M.dat")), "the user's own entry");
  EXPECT_NE(ReadFile(scratch_.Path("Data/1001L.dat")), "an old synset file");

  // Half a custom database is not completed either: it is the user's to repair.
  fs::remove(scratch_.Path("Data/1001M.dat"));
  result = Run(scratch_.Path("Data"));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("incomplete"), std::string::npos) << result.out;
  EXPECT_FALSE(fs::exists(scratch_.Path("Data/1001M.dat")));
  EXPECT_EQ(ReadFile(scratch_.Path("Data/1001M.idx")), index);
}

// Every kind of malformed or over-limit input line: a message naming file and line, status 1,
// and the output folder as it was, whether it held an earlier compile or did not exist.
TEST_F(MkdataCommand, MalformedLineIsNamedWithoutWritingAnything) {
  ASSERT_EQ(Run(scratch_.Path("Data")).status, 0);
  const std::map<std::string, std::string> compiled = Snapshot(scratch_.Path("Data"));
  std::string many = "many n 256 0 256 0";
  for (int i = 0; i < 256; ++i)
    many += " {ct}";
  struct Case {
    const char* find;  // replaced in the first line holding it; "": add a line; null: no file
    std::string replace;
    std::string expected;  // the message after "verbarium-mkdata: <database folder>/<file>"
  };
  const Case cases[] = {
      {"{cat1} 05", "0000013x 05", "/data.noun:3: bad offset \"0000013x\""},
      {"{cat1} 05", "00000133 05",
       "/data.noun:3: offset 00000133 is not the line's byte position 132"},
      {" 05 n", " 5x n", "/data.noun:3: bad lexicographer file number \"5x\""},
      {" 05 n", " 05 s", "/data.noun:3: bad synset type \"s\""},
      {" n 02", " n 00", "/data.noun:3: bad word count \"00\""},
      {"cat 0 true", "cat z true", "/data.noun:3: bad lex_id \"z\""},
      {"cat 0 003", "cat 0 0x3", "/data.noun:3: bad pointer count \"0x3\""},
      {"cat 0 003", "cat 0 004", "/data.noun:3: missing pointer"},
      {"@ {feline}", "@ 0000x", "/data.noun:3: bad pointer offset \"0000x\""},
      {"{feline} n", "{feline} q", "/data.noun:3: bad pointer part of speech \"q\""},
      {"v 0101", "v 101", "/data.noun:3: bad pointer source/target \"101\""},
      {"v 0101", "v 0100", "/data.noun:3: bad pointer source/target \"0100\""},
      {"v 0101", "v 0301", "/data.noun:3: pointer source beyond the word count \"0301\""},
      {"v 0101", "v 0102", "/data.noun:3: pointer \"+\" to word 2 of a synset of 1 words"},
      {"~ {wildcat}", "~ 99999999", "/data.noun:3: pointer \"~\" to a missing synset 99999999"},
      {"| feline", "feline", "/data.noun:3: expected \"|\" before the gloss, found \"feline\""},
      {" | a cat living in the wild  ", "", "/data.noun:5: missing gloss separator"},
      {"PM 0 000 | a chemical element  ", "PM 0", "/data.noun:11: missing pointer count"},
      {"01 + 02 00 |", "0x + 02 00 |", "/data.verb:3: bad frame count \"0x\""},
      {"01 + 02 00 |", "01 + 0y 00 |", "/data.verb:3: bad frame number \"0y\""},
      {"cat n 2 3", "cat n 0 3", "/index.noun:3: bad synset count \"0\""},
      {"cat n 2 3", "cat n 2 y", "/index.noun:3: bad pointer count \"y\""},
      {"+ 2 1", "+ 3 1", "/index.noun:3: bad sense count \"3\""},
      {"+ 2 1", "+ 2 z", "/index.noun:3: bad tagged sense count \"z\""},
      {"1 {cat1}", "1 0000013G", "/index.noun:3: bad synset offset \"0000013G\""},
      {"1 {cat1}", "1 00000133", "/index.noun:3: synset offset 133 is not in data"},
      {"n 1 0 1 0 {ct}", "n 2 0 2 0 {ct}", "/index.noun:4: missing synset offset"},
      {"{einstein}", "{einstein} {ct}", "/index.noun:5: unexpected field"},
      {"fine a", "fine s", "/index.adj:5: bad part of speech \"s\""},
      {"cat%1:04", "cat%9:04", "/cntlist.rev:2: bad sense key"},
      {":: 2 3", ":: 0 3", "/cntlist.rev:3: bad sense number \"0\""},
      {":: 1 7", ":: 1 -7", "/cntlist.rev:5: bad tag count \"-7\""},
      {":: 1 3", ":: 1", "/cntlist.rev:6: missing tag count"},
      {nullptr, "", "/index.verb: cannot be opened"},
      {nullptr, "", ": no such folder"},
      // Limits of the data files and a lemma listed twice.
      {"in the wild", "in the wild" + std::string(1028, 'g'),
       "/data.noun:5: gloss longer than 1027 bytes"},
      {"", std::string(1024, 'w') + " n 1 0 1 0 {ct}",
       "/index.noun:13: word longer than 1023 bytes"},
      {"", "Feline n 1 0 1 0 {feline}",
       "/index.noun:13: lemma \"Feline\" already listed on line 6"},
      {"01 badly", "01 bad\x01ly", "/data.adv:4: space or control character in word"},
      {"", many, "/index.noun:13: more than 255 synsets for one word"},
      // Exception lists.
      {"mice mouse", "mice", "/noun.exc:2: an inflected form without a base form"},
      {"good well", "good w\x01ell", "/adj.exc:1: control character in an exception line"},
      {nullptr, "", "/adv.exc: cannot be opened"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.expected);
    std::string file = c.expected[0] == '/' ? c.expected.substr(1, c.expected.find(':') - 1) : "";
    wordnet_test::Files files = wordnet_test::SmallDatabase();
    std::vector<std::string>& lines = files[file];
    if (c.find == nullptr) {
      files.erase(file);
    } else if (*c.find == 0) {
      lines.push_back(c.replace);
    } else {
      auto line = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.find(c.find) != std::string::npos;
      });
      ASSERT_NE(line, lines.end());
      line->replace(line->find(c.find), std::strlen(c.find), c.replace);
    }
    test_support::ScratchFolder damaged;
    std::string wordnet = damaged.Path("wordnet");
    if (!file.empty()) wordnet_test::Write(wordnet, files);
    // Alternately into the compiled folder and into one that does not exist.
    std::string out = scratch_.Path(i % 2 == 0 ? "Data" : "Fresh");
    Result result = Run(out, wordnet);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.rfind("verbarium-mkdata: " + wordnet + c.expected, 0), 0u) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(Snapshot(scratch_.Path("Data")), compiled);
    EXPECT_FALSE(fs::exists(scratch_.Path("Fresh")));
  }
}

// The other inputs, and an output that cannot be replaced, fail the same way.
TEST_F(MkdataCommand, OtherFailuresChangeNothing) {
  ASSERT_EQ(Run(scratch_.Path("Data")).status, 0);
  const std::map<std::string, std::string> compiled = Snapshot(scratch_.Path("Data"));
  WriteText(scratch_.Path("nul-words"), std::string("abc\nd\0e\n", 8));
  fs::create_directories(scratch_.Path("bad-assets"));
  WriteText(scratch_.Path("bad-assets/tips.dat"), "; only comments\n");
  fs::copy_file(kAssets + "/two-letter-words.txt",
                scratch_.Path("bad-assets/two-letter-words.txt"));
  fs::create_directories(scratch_.Path("Taken/1001T.dat"));  // refused before any file is replaced
  const Result results[] = {Run(scratch_.Path("Data"), "", scratch_.Path("nul-words")),
                            Run(scratch_.Path("Data"), "", "", scratch_.Path("bad-assets")),
                            Run(scratch_.Path("Taken"))};
  const std::string expected[] = {scratch_.Path("nul-words:2: NUL byte"),
                                  scratch_.Path("bad-assets/tips.dat: no tip lines"),
                                  scratch_.Path("Taken/1001T.dat: is not a file")};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(results[i].status, 1);
    EXPECT_EQ(results[i].err.rfind("verbarium-mkdata: " + expected[i], 0), 0u) << results[i].err;
  }
  EXPECT_EQ(Snapshot(scratch_.Path("Data")), compiled);
  EXPECT_EQ(Snapshot(scratch_.Path("Taken")).size(), 0u);

  Result usage = Run("");  // no --out
  EXPECT_EQ(usage.status, 2);
  EXPECT_NE(usage.err.find("--out is required"), std::string::npos) << usage.err;
  EXPECT_NE(usage.err.find("usage: verbarium-mkdata"), std::string::npos);
}

}  // namespace
