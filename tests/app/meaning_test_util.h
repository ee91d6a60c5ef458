// A small Data folder for the tests of the search by meaning: a dozen senses written with the
// data-file writer, their index compiled by the data compiler's own code, and an empty custom
// database, in a scratch folder removed at the end; and a fixture with the folder open.
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/meaning/meaning_format.h"
#include "custom/custom_db.h"
#include "engine/nymdex.h"
#include "platform/program_names.h"
#include "tests/support/scratch_folder.h"
#include "tools/datafile_writer.h"
#include "tools/mkdata_meaning.h"

namespace meaning_test {

struct TestSense {
  uint8_t pos;
  std::vector<std::pair<std::string, uint8_t>> words;  // word (index form), sense frequency
  const char* gloss;
  std::vector<datafiles::PointerSpec> pointers = {};  // targets are indexes in this table
};

// Pointer type 2 is a noun's more general sense. Three trees share one gloss: the frequent one
// comes first, the other two in the order of their words. A kid is found only through its
// synonym child.
inline const std::vector<TestSense> kSenses = {
    {1, {{"baker", 5}, {"bread_maker", 0}}, "someone who bakes bread or cake"},
    {2, {{"bake", 9}}, "cook by dry heat in an oven; \"bake the bread\""},
    {1, {{"bread", 12}}, "food made from dough of flour and baked"},
    {1, {{"sheep", 20}}, "woolly usually horned ruminant mammal", {{2, 4}}},
    {1, {{"ruminant", 1}}, "any of various hoofed mammals that chew the cud", {{2, 5}}},
    {1, {{"animal", 30}, {"beast", 2}}, "a living organism that moves of its own accord"},
    {1, {{"merino", 0}}, "white sheep bred for its heavy fleece of fine wool", {{2, 3}}},
    {1, {{"kitten", 3}}, "young domestic cat", {{2, 8}}},
    {1, {{"cat", 18}, {"true_cat", 0}}, "feline mammal with thick soft fur; \"cats purr\""},
    {1, {{"claustrophobia", 1}}, "a morbid fear of being closed in a confined space"},
    {1, {{"tamarack", 0}}, "a tree whose needles fall in autumn"},
    {1, {{"larch", 0}}, "a tree whose needles fall in autumn"},
    {1, {{"cedar", 4}}, "a tree whose needles fall in autumn"},
    {2, {{"alleviate", 2}, {"relieve", 6}}, "make a pain less severe"},
    {3, {{"woolly", 1}}, "covered with soft wool"},
    {1, {{"child", 9}, {"kid", 2}}, "a young person"},
    {1, {{"toddler", 1}}, "a child who is learning to walk"},
    {4, {{"quickly", 4}}, "with great speed"},
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  const std::string text = test_support::ReadFile(path);
  return std::vector<uint8_t>(text.begin(), text.end());
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
  EXPECT_TRUE(out.good()) << path;
}

// The lexicon of kSenses: words in the writer's case-blind order, each word's senses in table
// order.
inline datafiles::Lexicon TestLexicon() {
  std::map<std::string, std::array<std::vector<datafiles::SenseSpec>, 4>> senses;
  datafiles::Lexicon lexicon;
  for (uint32_t i = 0; i < kSenses.size(); ++i) {
    for (const auto& [word, frequency] : kSenses[i].words)
      senses[word][kSenses[i].pos - 1].push_back({i, frequency});
    lexicon.synsets.push_back({kSenses[i].pos, {}, kSenses[i].pointers, kSenses[i].gloss});
  }
  lexicon.words.push_back({"!", {}});
  std::map<std::string, uint32_t> ids;
  for (const auto& [text, by_pos] : senses) {
    ids[text] = static_cast<uint32_t>(lexicon.words.size());
    lexicon.words.push_back({text, {by_pos[0], by_pos[1], by_pos[2], by_pos[3]}});
  }
  for (uint32_t i = 0; i < kSenses.size(); ++i) {
    for (const auto& [word, frequency] : kSenses[i].words)
      lexicon.synsets[i].words.push_back(ids.at(word));
  }
  return lexicon;
}

// The index image of the test lexicon.
inline std::vector<uint8_t> TestIndex() {
  std::vector<uint8_t> image;
  mkdata::MeaningReport report;
  std::string error;
  EXPECT_TRUE(mkdata::BuildMeaningIndex(TestLexicon(), meaning::RankingParameters(), &image,
                                        &report, &error))
      << error;
  return image;
}

// Recomputes the digest after a test has edited the image.
inline void Reseal(std::vector<uint8_t>* image) {
  const engine::Digest digest = meaning::MeaningDigest(image->data(), image->size());
  std::copy(digest.begin(), digest.end(), image->begin() + meaning::kDigestAt);
}

// A scratch "Data" folder with the engine's three files, a small anagram list, "1001S.dat" and
// an empty custom database.
class DataFolder {
 public:
  DataFolder() {
    datafiles::DataFileImages images;
    std::string error;
    EXPECT_TRUE(datafiles::BuildDataFiles(TestLexicon(), &images, &error)) << error;
    root_.Write("Data/1001L.dat", images.synsets);
    root_.Write("Data/1001W.dat", images.word_index);
    root_.Write("Data/1001T.dat", images.tags);
    root_.Write("Data/1001A.dat", datafiles::BuildAnagramFile({"bake", "baker", "cat"}));
    root_.Write(std::string("Data/") + program::kMeaningIndexFile, TestIndex());
    EXPECT_EQ(CustomDb_CreateIfMissing(Path("1001M.idx").c_str(), Path("1001M.dat").c_str()),
              CustomCreateResult::kCreated);
  }

  std::string dir() const { return root_.Path("Data"); }
  std::string Path(const std::string& name) const { return root_.Path("Data/" + name); }
  std::string IndexPath() const { return Path(program::kMeaningIndexFile); }

 private:
  test_support::ScratchFolder root_;
};

// The engine and the custom database of a DataFolder, open for each test.
class DictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(
        Nymdex_StartUp(&engine_, data_.Path("1001L.dat").c_str(), data_.Path("1001W.dat").c_str(),
                       data_.Path("1001T.dat").c_str(), nullptr, nullptr),
        kNymdexOk);
    ASSERT_EQ(
        CustomDb_Open(&custom_, data_.Path("1001M.idx").c_str(), data_.Path("1001M.dat").c_str()),
        kCustomOk);
  }
  void TearDown() override {
    if (custom_ != nullptr) CustomDb_Close(&custom_);
    Nymdex_ShutDown(&engine_);
  }

  DataFolder data_;
  NymdexEngine* engine_ = nullptr;
  CustomDatabase* custom_ = nullptr;
};

}  // namespace meaning_test
