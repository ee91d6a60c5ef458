// Small dictionaries for the lexical engine's tests: a lexicon builder that sorts and numbers
// the words, a temporary folder holding the three files, and a few byte-level helpers.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "engine/nymdex.h"
#include "tools/datafile_writer.h"

namespace nymdex_test {

using datafiles::DataFileImages;
using datafiles::Lexicon;

inline uint32_t GetU32(const std::vector<uint8_t>& bytes, size_t at) {
  return uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 | uint32_t{bytes[at + 2]} << 16 |
         uint32_t{bytes[at + 3]} << 24;
}

inline void SetU32(std::vector<uint8_t>* bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    (*bytes)[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

inline bool FoldedLess(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
    return fold(x) < fold(y);
  });
}

// Builds a lexicon from synsets given by their words' texts. Each word's senses follow the
// order of the Synset calls; Build sorts the words, numbers them from 1 and puts the sentinel
// "!" first.
class LexiconBuilder {
 public:
  uint32_t Synset(uint8_t pos, std::vector<std::string> words, std::string gloss) {
    uint32_t index = static_cast<uint32_t>(synsets_.size());
    synsets_.push_back({pos, std::move(words), {}, std::move(gloss)});
    for (const std::string& w : synsets_.back().words)
      senses_[w][pos - 1].push_back({index, 0});
    return index;
  }
  void Point(uint32_t from, uint8_t type, uint32_t to) {
    synsets_[from].pointers.push_back({type, to});
  }
  void Frequency(const std::string& word, uint32_t synset, uint8_t frequency) {
    for (auto& list : senses_[word]) {
      for (auto& sense : list) {
        if (sense.synset == synset) sense.frequency = frequency;
      }
    }
  }
  // A word with no sense at all.
  void Bare(const std::string& word) { senses_[word]; }

  Lexicon Build() const {
    std::vector<std::string> texts;
    for (const auto& [text, unused] : senses_)
      texts.push_back(text);
    std::sort(texts.begin(), texts.end(), FoldedLess);
    std::map<std::string, uint32_t> ids;
    Lexicon lexicon;
    lexicon.words.push_back({"!", {}});
    for (const std::string& text : texts) {
      ids[text] = static_cast<uint32_t>(lexicon.words.size());
      datafiles::WordSpec word;
      word.text = text;
      for (int pos = 0; pos < 4; ++pos)
        word.senses[pos] = senses_.at(text)[pos];
      lexicon.words.push_back(std::move(word));
    }
    for (const SynsetDraft& draft : synsets_) {
      datafiles::SynsetSpec synset;
      synset.pos = draft.pos;
      for (const std::string& w : draft.words)
        synset.words.push_back(ids[w]);
      synset.pointers = draft.pointers;
      synset.gloss = draft.gloss;
      lexicon.synsets.push_back(std::move(synset));
    }
    return lexicon;
  }

 private:
  struct SynsetDraft {
    uint8_t pos;
    std::vector<std::string> words;
    std::vector<datafiles::PointerSpec> pointers;
    std::string gloss;
  };
  std::vector<SynsetDraft> synsets_;
  std::map<std::string, std::vector<datafiles::SenseSpec>[4]> senses_;
};

// A folder with the three files; removed with the object.
class Dictionary {
 public:
  Dictionary() {
    static std::atomic<int> counter{0};
    dir_ = std::filesystem::temp_directory_path() /
           ("nymdex_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(dir_);
  }
  ~Dictionary() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  Dictionary(const Dictionary&) = delete;
  Dictionary& operator=(const Dictionary&) = delete;

  std::string synsets() const { return (dir_ / "1001L.dat").string(); }
  std::string words() const { return (dir_ / "1001W.dat").string(); }
  std::string tags() const { return (dir_ / "1001T.dat").string(); }

  bool Write(const DataFileImages& images) const {
    return WriteFile(synsets(), images.synsets) && WriteFile(words(), images.word_index) &&
           WriteFile(tags(), images.tags);
  }
  // Rewrites in place and cuts to length: truncating a file to nothing first makes some file
  // systems flush it, and the corruption loops write thousands of files.
  bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) const {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = ::pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()) &&
              ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
    return ::close(fd) == 0 && ok;
  }
  // Changes one byte of a written file in place.
  bool PatchByte(const std::string& path, size_t at, uint8_t value) const {
    int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::pwrite(fd, &value, 1, static_cast<off_t>(at)) == 1;
    return ::close(fd) == 0 && ok;
  }
  std::string path(int file) const { return file == 0 ? synsets() : file == 1 ? words() : tags(); }

  uint32_t Start(NymdexEngine** engine, ProgressCallback progress = nullptr,
                 void* value = nullptr) const {
    return Nymdex_StartUp(engine, synsets().c_str(), words().c_str(), tags().c_str(), progress,
                          value);
  }

 private:
  std::filesystem::path dir_;
};

// The images of `lexicon`; fails the calling test when the writer refuses it.
inline DataFileImages Images(const Lexicon& lexicon) {
  DataFileImages images;
  std::string error;
  if (!datafiles::BuildDataFiles(lexicon, &images, &error)) ADD_FAILURE() << error;
  return images;
}

// Offset in the synset file of word `id`'s sense-list record, or 0.
inline size_t SenseRecordAt(const std::vector<uint8_t>& synsets, uint32_t id) {
  size_t at = GetU32(synsets, 60);
  size_t end = at + GetU32(synsets, 64);
  while (at + 8 <= end) {
    if (GetU32(synsets, at) == id) return at;
    at += 8 + 2 * size_t{GetU32(synsets, at + 4)};
  }
  return 0;
}

// The dictionary most tests share. Sense numbers of its words:
//   bank: 0 noun (slope), 1 noun (institution), 2 verb
//   dog: 0 noun (animal), 1 noun (frump); fast: 0 verb (abstain), 1 adjective
inline Lexicon SampleLexicon() {
  LexiconBuilder b;
  uint32_t slope_bank = b.Synset(1, {"bank"}, "sloping land beside a body of water");
  uint32_t money_bank =
      b.Synset(1, {"bank", "depository_financial_institution"}, "a financial institution");
  uint32_t cat = b.Synset(1, {"cat", "true_cat"}, "feline mammal; \"the cat sat\"");
  uint32_t dog = b.Synset(1, {"dog", "domestic_dog", "Canis_familiaris"}, "a domesticated canid");
  uint32_t frump = b.Synset(1, {"dog", "frump"}, "a dull unattractive woman");
  uint32_t ice_cream = b.Synset(1, {"Ice_Cream"}, "frozen dessert");
  uint32_t carnivore = b.Synset(1, {"carnivore"}, "flesh-eating mammal");
  uint32_t pet = b.Synset(1, {"pet"}, "a domesticated animal kept for companionship");
  uint32_t person = b.Synset(1, {"person", "individual"}, "a human being");
  uint32_t slope = b.Synset(1, {"slope", "incline"}, "an elevated geological formation");
  uint32_t institution = b.Synset(1, {"institution"}, "an establishment");
  b.Point(cat, 2, carnivore);
  b.Point(cat, 2, pet);
  b.Point(dog, 2, carnivore);
  b.Point(dog, 2, pet);
  b.Point(dog, 9, ice_cream);
  b.Point(frump, 2, person);
  b.Point(frump, 2, carnivore);
  b.Point(slope_bank, 2, slope);
  b.Point(money_bank, 2, institution);
  b.Point(carnivore, 3, cat);
  b.Point(carnivore, 3, dog);

  uint32_t bank_verb = b.Synset(2, {"bank"}, "do business with a bank");
  uint32_t walk = b.Synset(2, {"walk"}, "use one's feet to advance");
  uint32_t stroll = b.Synset(2, {"stroll", "saunter"}, "walk leisurely");
  uint32_t travel = b.Synset(2, {"travel", "go", "move"}, "change location");
  uint32_t abstain = b.Synset(2, {"fast"}, "abstain from food");
  b.Point(walk, 23, stroll);
  b.Point(walk, 19, travel);
  b.Point(abstain, 23, stroll);
  b.Point(bank_verb, 25, money_bank);

  uint32_t quick = b.Synset(3, {"quick", "speedy"}, "accomplished rapidly");
  uint32_t slow = b.Synset(3, {"slow", "sluggish", "dilatory"}, "not moving quickly");
  uint32_t fast_adj = b.Synset(3, {"fast"}, "acting with speed");
  b.Point(quick, 29, slow);
  b.Point(quick, 34, fast_adj);
  b.Point(fast_adj, 34, quick);

  uint32_t quickly = b.Synset(4, {"quickly", "rapidly"}, "with speed");
  uint32_t slowly = b.Synset(4, {"slowly"}, "without speed");
  b.Point(quickly, 38, slowly);
  b.Point(quickly, 39, quick);

  b.Frequency("bank", slope_bank, 0);
  b.Frequency("bank", money_bank, 5);
  b.Frequency("bank", bank_verb, 3);
  (void)travel;
  return b.Build();
}

// Enough synsets, pointers and gloss text that the synset file and the tag file each hold a
// complete 512 KiB chunk after their headers, and the glosses fill hundreds of tag blocks.
// Noun i is word "n<i>.." (four digits, two letters), synset i + 3.
inline const Lexicon& BigLexicon() {
  static const Lexicon lexicon = [] {
    std::mt19937 random(5);
    LexiconBuilder b;
    b.Synset(2, {"verb"}, "v");
    b.Synset(3, {"adjective"}, "a");
    b.Synset(4, {"adverb"}, "r");
    constexpr int kNouns = 1200;
    for (int i = 0; i < kNouns; ++i) {
      // Letters that vary, so the word index does not compress below half its size.
      char name[16];
      std::snprintf(name, sizeof(name), "n%04d%c%c", i, static_cast<int>('a' + random() % 26),
                    static_cast<int>('a' + random() % 26));
      std::string gloss(600 + random() % 428, ' ');
      for (char& c : gloss)
        c = "etaoin shrdlu"[random() % 13];
      b.Synset(1, {name}, gloss);
    }
    for (uint32_t i = 0; i < kNouns; ++i) {
      for (int p = 0; p < 100; ++p)
        b.Point(3 + i, p % 2 ? 2 : 3, 3 + random() % kNouns);
    }
    return b.Build();
  }();
  return lexicon;
}

inline const DataFileImages& BigImages() {
  static const DataFileImages images = Images(BigLexicon());
  return images;
}

inline int32_t IdOf(const Lexicon& lexicon, const std::string& word) {
  for (size_t i = 0; i < lexicon.words.size(); ++i) {
    if (lexicon.words[i].text == word) return static_cast<int32_t>(i);
  }
  return -1;
}

// Every word of a lexicon except the sentinel.
inline std::vector<std::string> WordsOf(const Lexicon& lexicon) {
  std::vector<std::string> words;
  for (size_t i = 1; i < lexicon.words.size(); ++i)
    words.push_back(lexicon.words[i].text);
  return words;
}

}  // namespace nymdex_test
