// The wildcard matcher with random patterns and words, the lookup's pattern test over the
// pattern's bytes, and the word index walk over random bytes taken as an entry region. Input:
// pattern, NUL, word, NUL, region bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "anagram/pattern.h"
#include "app/lookup/text_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  size_t first = bytes.find('\0');
  std::string pattern = bytes.substr(0, first);
  std::string rest = first == std::string::npos ? std::string() : bytes.substr(first + 1);
  size_t second = rest.find('\0');
  std::string word = rest.substr(0, second);
  std::string region = second == std::string::npos ? std::string() : rest.substr(second + 1);
  if (pattern.size() > 4096 || word.size() > 4096) return 0;

  bool matches = anagram::MatchPattern(pattern.c_str(), word.c_str());
  // A pattern without wildcards or sets matches exactly itself.
  if (pattern.find_first_of("*?[") == std::string::npos && matches != (pattern == word)) {
    __builtin_trap();
  }
  if (anagram::MatchPattern(("*" + pattern).c_str(), word.c_str()) < matches) __builtin_trap();
  lookup::IsLookupPattern(pattern);
  lookup::HasInvalidCharacters(pattern);
  anagram::SeparatorCount(word);

  // The region is copied to a buffer of its exact size, so a read past it is caught.
  std::vector<char> exact(region.begin(), region.end());
  NymdexEntryRegion entries{exact.data(), static_cast<uint32_t>(exact.size()), 0xFFFFFFFFu};
  anagram::FindPatternMatchesInRegion(entries, pattern);
  return 0;
}
