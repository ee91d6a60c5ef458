// A small Data folder for the lookup and command-line tests: a handful of words written with
// the data-file writer, an anagram list and an empty custom database, in a scratch folder
// removed at the end.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "custom/custom_db.h"
#include "platform/program_names.h"
#include "tests/support/scratch_folder.h"
#include "tools/datafile_writer.h"
#include "tools/mkdata_forms.h"

namespace lookup_test {

struct TestSynset {
  uint8_t pos;
  std::vector<std::string> words;
  const char* gloss;
  std::vector<datafiles::PointerSpec> pointers = {};  // targets are indexes in this table
};

// cats, bakes, walks, makes, a known "-ing" word, "x" and "xe" (so "xing" would reduce if four
// letters were enough), a phrase, relations of each part of speech, and the base forms of the
// irregular forms below. Pointer types: 1 noun antonym, 2 hypernym, 3 hyponym, 29 adjective
// antonym, 39 adverb derived-from.
inline const std::vector<TestSynset> kSynsets = {
    {1,
     {"cat", "true_cat"},
     "feline mammal usually having thick soft fur; \"cats purr\"",
     {{2, 1}}},
    {1, {"feline", "felid"}, "any of various lithe mammals", {{3, 0}}},
    {2, {"cat"}, "beat with a cat-o'-nine-tails"},
    {1, {"dog"}, " a domesticated canid ;\"the dog barked\"; ;x", {{2, 4}}},
    {1, {"canine", "canid"}, "a carnivore"},
    {2, {"bake"}, "cook in an oven; \"bake the bread\""},
    {2, {"walk"}, "use one's feet to advance"},
    {2, {"make"}, "engage in"},
    {1, {"morning", "morn"}, "the time period between dawn and noon"},
    {3, {"quick", "speedy"}, "accomplished rapidly", {{29, 10}}},
    {3, {"slow"}, "not moving quickly"},
    {4, {"quickly", "rapidly"}, "with rapid movements", {{39, 9}}},
    {1, {"ice_cream"}, "frozen dessert"},
    {1, {"x"}, "the 24th letter"},
    {1, {"xe"}, "a colorless odorless inert gas"},
    {1, {"heat"}, "the presence of heat", {{1, 16}}},
    {1, {"cold"}, "the absence of heat"},
    {1, {"mouse"}, "a small rodent"},
    {2, {"go"}, "move away"},
    {1, {"axe"}, "an edge tool"},
    {1, {"axis"}, "a straight line about which a body rotates"},
};

// The irregular forms of the folder's "1001E.dat": "ax" is no word of it.
inline const std::vector<mkdata::FormEntry> kForms = {
    {"mice", 1, {"mouse"}}, {"went", 2, {"go"}}, {"axes", 1, {"ax", "axis"}}};

// A scratch "Data" folder with the engine's three files, "1001A.dat", "1001E.dat" and an empty
// custom database.
class DataFolder {
 public:
  DataFolder() {
    // Every word is lower case, so the map's order is the writer's case-blind order.
    std::map<std::string, std::array<std::vector<datafiles::SenseSpec>, 4>> senses;
    datafiles::Lexicon lexicon;
    for (uint32_t i = 0; i < kSynsets.size(); ++i) {
      for (const std::string& w : kSynsets[i].words)
        senses[w][kSynsets[i].pos - 1].push_back({i, 0});
      lexicon.synsets.push_back({kSynsets[i].pos, {}, kSynsets[i].pointers, kSynsets[i].gloss});
    }
    lexicon.words.push_back({"!", {}});
    std::map<std::string, uint32_t> ids;
    std::vector<std::string> one_word;
    for (const auto& [text, by_pos] : senses) {
      ids[text] = static_cast<uint32_t>(lexicon.words.size());
      if (text.find('_') == std::string::npos) one_word.push_back(text);
      lexicon.words.push_back({text, {by_pos[0], by_pos[1], by_pos[2], by_pos[3]}});
    }
    for (uint32_t i = 0; i < kSynsets.size(); ++i) {
      for (const std::string& w : kSynsets[i].words)
        lexicon.synsets[i].words.push_back(ids.at(w));
    }
    datafiles::DataFileImages images;
    std::string error;
    EXPECT_TRUE(datafiles::BuildDataFiles(lexicon, &images, &error)) << error;
    std::vector<uint8_t> forms;
    mkdata::FormsReport report;
    EXPECT_TRUE(mkdata::BuildFormsFile(kForms, &forms, &report, &error)) << error;
    const std::pair<const char*, std::vector<uint8_t>> files[] = {
        {program::kSynsetFile, images.synsets},
        {program::kWordIndexFile, images.word_index},
        {program::kTagFile, images.tags},
        {program::kAnagramFile, datafiles::BuildAnagramFile(one_word)},
        {program::kIrregularFormsFile, forms}};
    for (const auto& [name, bytes] : files)
      root_.Write(std::string(program::kDataFolder) + "/" + name, bytes);
    EXPECT_EQ(CustomDb_CreateIfMissing(Path(program::kCustomIndexFile).c_str(),
                                       Path(program::kCustomDataFile).c_str()),
              CustomCreateResult::kCreated);
  }
  std::string root() const { return root_.path().string(); }
  std::string dir() const { return root_.Path(program::kDataFolder); }
  std::string Path(const std::string& name) const { return dir() + "/" + name; }

 private:
  test_support::ScratchFolder root_;
};

}  // namespace lookup_test
