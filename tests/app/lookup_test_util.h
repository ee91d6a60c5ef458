// A small Data folder for the lookup and command-line tests: a handful of words written with
// the data-file writer, an anagram list, and an empty custom database, in a scratch folder
// removed at the end.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "custom/custom_db.h"
#include "tools/datafile_writer.h"

namespace lookup_test {

// Pointer-type codes used below.
inline constexpr uint8_t kNounAntonym = 1;
inline constexpr uint8_t kNounHypernym = 2;
inline constexpr uint8_t kNounHyponym = 3;
inline constexpr uint8_t kAdjectiveAntonym = 29;
inline constexpr uint8_t kAdverbDerived = 39;

// Synsets by words (index form); Build numbers the words in the writer's order.
class SmallLexicon {
 public:
  uint32_t Synset(uint8_t pos, std::vector<std::string> words, std::string gloss) {
    const auto index = static_cast<uint32_t>(synsets_.size());
    for (const std::string& w : words)
      senses_[w][pos - 1].push_back({index, 0});
    datafiles::SynsetSpec spec;
    spec.pos = pos;
    spec.gloss = std::move(gloss);
    synsets_.push_back(spec);
    words_.push_back(std::move(words));
    return index;
  }
  void Point(uint32_t from, uint8_t type, uint32_t to) {
    synsets_[from].pointers.push_back({type, to});
  }

  datafiles::Lexicon Build() const {
    auto folded = [](std::string s) {
      for (char& c : s)
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
      return s;
    };
    std::map<std::string, std::string> by_folded;  // sorted the writer's way
    for (const auto& [text, unused] : senses_)
      by_folded[folded(text)] = text;
    datafiles::Lexicon lexicon;
    lexicon.words.push_back({"!", {}});
    std::map<std::string, uint32_t> ids;
    for (const auto& [key, text] : by_folded) {
      ids[text] = static_cast<uint32_t>(lexicon.words.size());
      datafiles::WordSpec word;
      word.text = text;
      for (int pos = 0; pos < 4; ++pos)
        word.senses[pos] = senses_.at(text)[pos];
      lexicon.words.push_back(std::move(word));
    }
    lexicon.synsets = synsets_;
    for (size_t i = 0; i < synsets_.size(); ++i) {
      for (const std::string& w : words_[i])
        lexicon.synsets[i].words.push_back(ids.at(w));
    }
    return lexicon;
  }

  std::vector<std::string> OneWordLemmas() const {
    std::vector<std::string> out;
    for (const auto& [text, unused] : senses_) {
      if (text.find('_') == std::string::npos) out.push_back(text);
    }
    return out;
  }

 private:
  std::vector<datafiles::SynsetSpec> synsets_;
  std::vector<std::vector<std::string>> words_;
  std::map<std::string, std::vector<datafiles::SenseSpec>[4]> senses_;
};

// The dictionary the tests share: cats, bakes, walks, makes, a known "-ing" word, "x" and
// "xe" (so "xing" would reduce if four letters were enough), a phrase, relations of each part
// of speech.
inline SmallLexicon TestLexicon() {
  SmallLexicon lex;
  const uint32_t cat = lex.Synset(1, {"cat", "true_cat"},
                                  "feline mammal usually having thick soft fur; \"cats purr\"");
  const uint32_t feline = lex.Synset(1, {"feline", "felid"}, "any of various lithe mammals");
  lex.Point(cat, kNounHypernym, feline);
  lex.Point(feline, kNounHyponym, cat);
  lex.Synset(2, {"cat"}, "beat with a cat-o'-nine-tails");
  const uint32_t dog = lex.Synset(1, {"dog"}, " a domesticated canid ;\"the dog barked\"; ;x");
  const uint32_t canine = lex.Synset(1, {"canine", "canid"}, "a carnivore");
  lex.Point(dog, kNounHypernym, canine);
  lex.Synset(2, {"bake"}, "cook in an oven; \"bake the bread\"");
  lex.Synset(2, {"walk"}, "use one's feet to advance");
  lex.Synset(2, {"make"}, "engage in");
  lex.Synset(1, {"morning", "morn"}, "the time period between dawn and noon");
  const uint32_t quick = lex.Synset(3, {"quick", "speedy"}, "accomplished rapidly");
  const uint32_t slow = lex.Synset(3, {"slow"}, "not moving quickly");
  lex.Point(quick, kAdjectiveAntonym, slow);
  const uint32_t quickly = lex.Synset(4, {"quickly", "rapidly"}, "with rapid movements");
  lex.Point(quickly, kAdverbDerived, quick);
  lex.Synset(1, {"ice_cream"}, "frozen dessert");
  lex.Synset(1, {"x"}, "the 24th letter");
  lex.Synset(1, {"xe"}, "a colorless odorless inert gas");
  const uint32_t hot = lex.Synset(1, {"heat"}, "the presence of heat");
  const uint32_t cold = lex.Synset(1, {"cold"}, "the absence of heat");
  lex.Point(hot, kNounAntonym, cold);
  return lex;
}

// A scratch "Data" folder with the engine's three files, "1001A.dat" and an empty custom
// database.
class DataFolder {
 public:
  explicit DataFolder(const SmallLexicon& lexicon = TestLexicon()) {
    static std::atomic<int> counter{0};
    root_ = std::filesystem::temp_directory_path() /
            ("verbarium_lookup_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(root_ / "Data");
    datafiles::DataFileImages images;
    std::string error;
    const bool built = datafiles::BuildDataFiles(lexicon.Build(), &images, &error);
    EXPECT_TRUE(built) << error;
    Write("1001L.dat", images.synsets);
    Write("1001W.dat", images.word_index);
    Write("1001T.dat", images.tags);
    Write("1001A.dat", datafiles::BuildAnagramFile(lexicon.OneWordLemmas()));
    EXPECT_EQ(CustomDb_CreateIfMissing(Path("1001M.idx").c_str(), Path("1001M.dat").c_str()),
              CustomCreateResult::kCreated);
  }
  ~DataFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  DataFolder(const DataFolder&) = delete;
  DataFolder& operator=(const DataFolder&) = delete;

  std::string root() const { return root_.string(); }
  std::string dir() const { return (root_ / "Data").string(); }
  std::string Path(const std::string& name) const { return (root_ / "Data" / name).string(); }

 private:
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(Path(name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    EXPECT_TRUE(out.good()) << name;
  }

  std::filesystem::path root_;
};

}  // namespace lookup_test
