// Small word lists and dictionaries on disk for the anagram and pattern tests.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "anagram/jumble.h"
#include "engine/nymdex.h"
#include "tools/datafile_writer.h"

namespace anagram_test {

// A folder below the system's temporary folder, removed with its files at the end.
class ScratchDir {
 public:
  ScratchDir() {
    static std::atomic<int> serial{0};
    path_ = std::filesystem::temp_directory_path() /
            ("verbarium-anagram-" + std::to_string(getpid()) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::string file = File(name);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return file;
  }

 private:
  std::filesystem::path path_;
};

inline void CollectPhrase(const char* phrase, void* context) {
  static_cast<std::vector<std::string>*>(context)->push_back(phrase);
}

// Runs one request and returns the phrases in delivery order.
inline std::vector<std::string> Anagrams(JumbleEngine* engine, const char* input,
                                         const char* filter, int32_t min_length, int32_t max_length,
                                         int32_t permutations, int32_t max_anagrams) {
  std::vector<std::string> phrases;
  GenerateAnagrams(engine, input, filter, CollectPhrase, &phrases, min_length, max_length,
                   permutations, max_anagrams);
  return phrases;
}

// Starts a lexical engine over a dictionary of `words` (index form, any order): each word is a
// noun of its own synset; the first also stands in the other parts of speech, which the
// files require. The word index begins with its sentinel, a single space. Null when it fails.
inline NymdexEngine* StartDictionary(const ScratchDir& dir, std::vector<std::string> words) {
  auto folded = [](std::string text) {
    for (char& c : text)
      c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return text;
  };
  std::sort(words.begin(), words.end(),
            [&](const std::string& a, const std::string& b) { return folded(a) < folded(b); });
  datafiles::Lexicon lexicon;
  lexicon.words.push_back(datafiles::WordSpec{" ", {}});
  for (size_t i = 0; i < words.size(); ++i) {
    datafiles::WordSpec word;
    word.text = words[i];
    for (uint8_t pos = 1; pos <= (i == 0 ? 4 : 1); ++pos) {
      word.senses[pos - 1].push_back({static_cast<uint32_t>(lexicon.synsets.size()), 0});
      datafiles::SynsetSpec synset;
      synset.pos = pos;
      synset.words.push_back(static_cast<uint32_t>(i + 1));
      synset.gloss = "a test sense";
      lexicon.synsets.push_back(synset);
    }
    lexicon.words.push_back(word);
  }
  datafiles::DataFileImages images;
  std::string error;
  if (!datafiles::BuildDataFiles(lexicon, &images, &error)) return nullptr;
  std::string synsets = dir.Write("1001L.dat", images.synsets);
  std::string index = dir.Write("1001W.dat", images.word_index);
  std::string tags = dir.Write("1001T.dat", images.tags);
  NymdexEngine* engine = nullptr;
  if (Nymdex_StartUp(&engine, synsets.c_str(), index.c_str(), tags.c_str(), nullptr, nullptr) !=
      kNymdexOk) {
    return nullptr;
  }
  return engine;
}

}  // namespace anagram_test
