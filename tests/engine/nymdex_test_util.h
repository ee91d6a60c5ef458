// Small dictionaries for the lexical engine's tests: lexicons made from synsets given by their
// words' texts, a temporary folder holding the three files, and the dictionaries tests share.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/data_format.h"
#include "engine/little_endian.h"
#include "engine/nymdex.h"
#include "engine/text_helpers.h"
#include "platform/program_names.h"
#include "tests/support/scratch_folder.h"
#include "tools/datafile_writer.h"

namespace nymdex_test {

using datafiles::DataFileImages;
using datafiles::Lexicon;

inline uint32_t GetU32(const std::vector<uint8_t>& bytes, size_t at) {
  return engine::LoadU32(bytes.data() + at);
}

inline void SetU32(std::vector<uint8_t>* bytes, size_t at, uint32_t value) {
  engine::StoreU32(bytes->data() + at, value);
}

// File 0, 1 or 2 of the images: synsets, word index, tags.
template <typename Images>
auto& FileOf(Images& images, int file) {
  return file == 0 ? images.synsets : file == 1 ? images.word_index : images.tags;
}

// A scratch folder with the three files, and an engine over them; both go with the object.
class Dictionary {
 public:
  ~Dictionary() {
    if (engine_ != nullptr) Nymdex_ShutDown(&engine_);
  }

  std::string path(int file) const {
    return folder_.Path(file == 0   ? program::kSynsetFile
                        : file == 1 ? program::kWordIndexFile
                                    : program::kTagFile);
  }
  // Writes `bytes` at `at` of a file, in place; with `cut` the file ends after them. Truncating
  // to nothing first would make some file systems flush, and the corruption loops write
  // thousands of files.
  bool Put(int file, const std::vector<uint8_t>& bytes, size_t at = 0, bool cut = true) const {
    int fd = ::open(path(file).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = ::pwrite(fd, bytes.data(), bytes.size(), off_t(at)) == ssize_t(bytes.size()) &&
              (!cut || ::ftruncate(fd, off_t(at + bytes.size())) == 0);
    return ::close(fd) == 0 && ok;
  }
  bool Write(const DataFileImages& images) const {
    return Put(0, images.synsets) && Put(1, images.word_index) && Put(2, images.tags);
  }

  // Starts an engine over the files as they are, into `*engine`.
  uint32_t Start(NymdexEngine** engine, ProgressCallback progress = nullptr,
                 void* value = nullptr) const {
    return Nymdex_StartUp(engine, path(0).c_str(), path(1).c_str(), path(2).c_str(), progress,
                          value);
  }
  // Writes `images` and starts the object's engine over them; null when start-up fails.
  NymdexEngine* Open(const DataFileImages& images) {
    if (engine_ != nullptr) Nymdex_ShutDown(&engine_);
    engine_ = nullptr;
    EXPECT_TRUE(Write(images));
    EXPECT_EQ(Start(&engine_), kNymdexOk);
    return engine_;
  }

 private:
  test_support::ScratchFolder folder_;
  NymdexEngine* engine_ = nullptr;
};

// The images of `lexicon`; fails the calling test when the writer refuses it.
inline DataFileImages Images(const Lexicon& lexicon) {
  DataFileImages images;
  std::string error;
  if (!datafiles::BuildDataFiles(lexicon, &images, &error)) ADD_FAILURE() << error;
  return images;
}

inline uint32_t IdOf(const Lexicon& lexicon, const std::string& word) {
  for (uint32_t i = 0; i < lexicon.words.size(); ++i) {
    if (lexicon.words[i].text == word) return i;
  }
  ADD_FAILURE() << word << " is not in the lexicon";
  return 0;
}

// Offset in the synset file of word `id`'s sense-list record, or 0.
inline size_t SenseRecordAt(const std::vector<uint8_t>& synsets, uint32_t id) {
  using namespace nymdex;
  for (size_t at = GetU32(synsets, kSenseListOffsetAt),
              end = at + GetU32(synsets, kSenseListSizeAt);
       at + kSenseRecordHeadSize <= end;
       at += kSenseRecordHeadSize + kSenseEntrySize * GetU32(synsets, at + kSenseRecordCountAt)) {
    if (GetU32(synsets, at) == id) return at;
  }
  return 0;
}

// A synset given by its words' texts; pointers name synsets by their place in the list.
struct Draft {
  uint8_t pos;
  std::vector<std::string> words;
  std::string gloss;
  std::vector<datafiles::PointerSpec> pointers = {};
};

// The lexicon of `drafts` and the sense-less words `bare`: the words sorted case-insensitively
// and numbered from 1 after the sentinel "!", each word's senses in the order of the drafts.
inline Lexicon MakeLexicon(const std::vector<Draft>& drafts, std::vector<std::string> texts = {}) {
  for (const Draft& draft : drafts)
    texts.insert(texts.end(), draft.words.begin(), draft.words.end());
  std::sort(texts.begin(), texts.end(), [](const std::string& a, const std::string& b) {
    return engine::CompareIgnoringAsciiCase(a, b) < 0;
  });
  texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
  std::map<std::string, uint32_t> ids;
  Lexicon lexicon;
  lexicon.words.push_back({"!", {}});
  for (const std::string& text : texts) {
    ids[text] = static_cast<uint32_t>(lexicon.words.size());
    lexicon.words.push_back({text, {}});
  }
  for (uint32_t s = 0; s < drafts.size(); ++s) {
    const Draft& draft = drafts[s];
    lexicon.synsets.push_back({draft.pos, {}, draft.pointers, draft.gloss});
    for (const std::string& word : draft.words) {
      lexicon.synsets[s].words.push_back(ids[word]);
      lexicon.words[ids[word]].senses[draft.pos - 1].push_back({s, 0});
    }
  }
  return lexicon;
}

// The dictionary most tests share. Sense numbers of its words:
//   bank: 0 noun (slope, frequency 0), 1 noun (institution, 5), 2 verb (3)
//   dog: 0 noun (animal), 1 noun (frump); fast: 0 verb (abstain), 1 adjective
//   senseless: in the index, without senses
inline Lexicon SampleLexicon() {
  Lexicon lexicon = MakeLexicon(
      {
          {1, {"carnivore"}, "flesh-eating mammal"},                       // 0
          {1, {"pet"}, "a domesticated animal kept for companionship"},    // 1
          {1, {"person", "individual"}, "a human being"},                  // 2
          {1, {"Ice_Cream"}, "frozen dessert"},                            // 3
          {1, {"slope", "incline"}, "an elevated geological formation"},   // 4
          {1, {"institution"}, "an establishment"},                        // 5
          {1, {"bank"}, "sloping land beside a body of water", {{2, 4}}},  // 6
          {1, {"bank", "depository_financial_institution"}, "a financial institution", {{2, 5}}},
          {1, {"cat", "true_cat"}, "feline mammal; \"the cat sat\"", {{2, 0}, {2, 1}}},
          {1, {"dog", "Canis_familiaris"}, "a domesticated canid", {{2, 0}, {2, 1}, {9, 3}}},
          {1, {"dog", "frump"}, "a dull unattractive woman", {{2, 2}, {2, 0}}},  // 10
          {2, {"stroll", "saunter"}, "walk leisurely"},                          // 11
          {2, {"travel", "go", "move"}, "change location"},                      // 12
          {2, {"bank"}, "do business with a bank", {{25, 7}}},
          {2, {"walk"}, "use one's feet to advance", {{23, 11}, {19, 12}}},
          {2, {"fast"}, "abstain from food", {{23, 11}}},
          {3, {"slow", "sluggish", "dilatory"}, "not moving quickly"},   // 16
          {3, {"quick", "speedy"}, "accomplished rapidly", {{29, 16}}},  // 17
          {3, {"fast"}, "acting with speed", {{34, 17}}},
          {4, {"quickly", "rapidly"}, "with speed", {{39, 17}}},
      },
      {"senseless"});
  auto& bank = lexicon.words[IdOf(lexicon, "bank")].senses;
  bank[0][1].frequency = 5;
  bank[1][0].frequency = 3;
  return lexicon;
}

// Enough synsets, pointers and gloss text that the synset file and the tag file each hold a
// complete 512 KiB chunk after their headers, and the glosses fill hundreds of tag blocks.
// Words: "adjective", "adverb", then noun i as "n<i>.." (four digits, two letters), "verb".
inline const Lexicon& BigLexicon() {
  static const Lexicon lexicon = [] {
    std::mt19937 random(5);
    std::vector<Draft> drafts = {{2, {"verb"}, "v"}, {3, {"adjective"}, "a"}, {4, {"adverb"}, "r"}};
    constexpr int kNouns = 1200;
    for (int i = 0; i < kNouns; ++i) {
      // Letters that vary, so the word index does not compress below half its size.
      char name[16];
      std::snprintf(name, sizeof(name), "n%04d%c%c", i, static_cast<int>('a' + random() % 26),
                    static_cast<int>('a' + random() % 26));
      std::string gloss(600 + random() % 428, ' ');
      for (char& c : gloss)
        c = "etaoin shrdlu"[random() % 13];
      drafts.push_back({1, {name}, gloss});
    }
    for (uint32_t i = 0; i < kNouns; ++i) {
      for (int p = 0; p < 100; ++p)
        drafts[3 + i].pointers.push_back({uint8_t(p % 2 ? 2 : 3), uint32_t(3 + random() % kNouns)});
    }
    drafts.back().words.push_back(drafts[3].words[0]);  // senses in the first and last blocks
    return MakeLexicon(drafts);
  }();
  return lexicon;
}

inline const DataFileImages& BigImages() {
  static const DataFileImages images = Images(BigLexicon());
  return images;
}

// The sample dictionary, started.
class SampleTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(engine_ = dictionary_.Open(images_), nullptr); }
  uint32_t Id(const char* word) const { return IdOf(lexicon_, word); }

  const Lexicon lexicon_ = SampleLexicon();
  const DataFileImages images_ = Images(lexicon_);
  Dictionary dictionary_;
  NymdexEngine* engine_ = nullptr;
};

}  // namespace nymdex_test
