// Requests collected, for the anagram tests.
#pragma once

#include <string>
#include <vector>

#include "anagram/jumble.h"
#include "tests/support/scratch_folder.h"
#include "tools/datafile_writer.h"

namespace anagram_test {

using Phrases = std::vector<std::string>;

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
