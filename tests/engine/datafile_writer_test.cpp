// The data-file writer: refused lexicons, atomic writes.
#include <gmock/gmock.h>

#include "tests/engine/nymdex_test_util.h"

namespace nymdex_test {
namespace {

using testing::HasSubstr;

// What the writer says of `lexicon`: "" when it writes the files, else its message.
std::string Refusal(const Lexicon& lexicon) {
  DataFileImages images;
  std::string error;
  return datafiles::BuildDataFiles(lexicon, &images, &error) ? "" : error;
}

TEST(DataFileWriterTest, RefusesWhatTheFormatsCannotHold) {
  const Lexicon sample = SampleLexicon();
  const uint32_t bank = IdOf(sample, "bank");
  const uint32_t noun = sample.words[bank].senses[0][0].synset;
  const uint32_t verb = sample.words[bank].senses[1][0].synset;
  Lexicon l = sample;
  // Checks the message for the changed lexicon, and starts over from the sample.
  auto refused = [&](const char* message) {
    EXPECT_THAT(Refusal(l), HasSubstr(message));
    l = sample;
  };
  // Each limit, reached and then passed. The long word's letters compress little, so that the
  // word index keeps its own limit.
  std::string varied = "z";
  for (size_t i = 1; i < 1023; ++i)
    varied += static_cast<char>(' ' + (i * 7919 + i / 3) % 95);
  l.words.push_back({varied, {}});
  EXPECT_EQ(Refusal(l), "");
  l.words.back().text += '~';
  refused("word length limit");
  l.synsets[0].words.assign(255, 1);
  EXPECT_EQ(Refusal(l), "");
  l.synsets[0].words.push_back(1);
  refused("words per synset limit");
  l.synsets[0].gloss.assign(1027, 'g');
  EXPECT_EQ(Refusal(l), "");
  l.synsets[0].gloss += 'g';
  refused("tag text limit");
  l.words[bank].senses[0].assign(256, {noun, 0});
  refused("senses per part of speech limit");
  l.synsets[0].pointers.assign(65536, {2, 0});
  refused("pointer count limit");
  for (int k = 1; k <= 400; ++k)
    l.words.push_back({"~" + std::string(k, 'b'), {}});
  refused("word index decoded length limit");

  // Words the index cannot hold or order; references to nothing, or to another part of speech.
  l.words[3].text.clear();
  refused("is empty");
  l.words.push_back({std::string("zz\0z", 4), {}});
  refused("NUL");
  std::swap(l.words[2].text, l.words[3].text);
  refused("word order");
  l.words.push_back({"WALK", {}});  // equal to the last word but for case
  refused("word order");
  l.synsets[noun].pointers.push_back({18, verb});
  refused("not a noun pointer type");
  l.synsets[noun].pointers.push_back({2, uint32_t(l.synsets.size())});
  refused("does not exist");
  l.synsets[0].words.push_back(uint32_t(l.words.size()));
  refused("does not exist");
  l.words[bank].senses[0].push_back({verb, 0});
  refused("is not a noun");
  l.synsets[0].pos = 5;
  refused("part-of-speech code");
  for (auto& word : l.words)
    word.senses[3].clear();
  refused("part-of-speech index size");
  l.words.clear();
  refused("no words");
}

TEST(DataFileWriterTest, WriteReplacesTheFileWhole) {
  test_support::ScratchFolder folder;
  const std::string path = folder.Write("x.dat", std::string("old content"));
  std::string error;
  ASSERT_TRUE(datafiles::WriteFileAtomically(path, {4, 5}, &error)) << error;
  EXPECT_EQ(test_support::ReadFile(path), "\x04\x05");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1)
      << "no temporary file is left behind";
  EXPECT_FALSE(datafiles::WriteFileAtomically(folder.Path("missing/x.dat"), {1}, &error));
  EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

}  // namespace
}  // namespace nymdex_test
