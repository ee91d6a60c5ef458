// Small word lists on disk, and requests collected, for the anagram tests.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "anagram/jumble.h"
#include "tools/datafile_writer.h"

namespace anagram_test {

using Phrases = std::vector<std::string>;

// A folder below the system's temporary folder, removed with its files at the end.
class ScratchDir {
 public:
  ScratchDir() { std::filesystem::create_directories(path_); }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream(File(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return File(name);
  }

 private:
  inline static std::atomic<int> serial_{0};
  std::filesystem::path path_ =
      std::filesystem::temp_directory_path() /
      ("verbarium-anagram-" + std::to_string(getpid()) + "-" + std::to_string(serial_++));
};

// Runs one request and returns the phrases in delivery order.
inline Phrases Anagrams(JumbleEngine* engine, const char* input, const char* filter,
                        int32_t min_length, int32_t max_length, int32_t permutations,
                        int32_t max_anagrams) {
  Phrases phrases;
  GenerateAnagrams(
      engine, input, filter,
      [](const char* phrase, void* context) { static_cast<Phrases*>(context)->push_back(phrase); },
      &phrases, min_length, max_length, permutations, max_anagrams);
  return phrases;
}

}  // namespace anagram_test
