#include "app/lookup/anagram_list.h"

#include <algorithm>

#include "anagram/jumble.h"
#include "engine/text_helpers.h"

namespace lookup {

namespace {

unsigned char Folded(char c) {
  return static_cast<unsigned char>(engine::AsciiLower(c));
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Folded(x) < Folded(y); });
}

void Collect(const char* phrase, void* context) {
  static_cast<std::vector<std::string>*>(context)->emplace_back(phrase);
}

}  // namespace

void SortAnagrams(std::vector<std::string>* anagrams) {
  std::stable_sort(anagrams->begin(), anagrams->end(), LessIgnoringCase);
}

std::vector<std::string> GenerateAnagramList(JumbleEngine* engine,
                                             const anagram::AnagramRequestArgs& args) {
  std::vector<std::string> anagrams;
  if (engine == nullptr || args.word.empty()) return anagrams;
  GenerateAnagrams(engine, args.word.c_str(), args.FilterArgument(), Collect, &anagrams,
                   args.min_length, args.max_length, args.permutations, args.max_anagrams);
  return anagrams;
}

std::string AnagramStatusText(size_t count) {
  return "Found " + std::to_string(count) + (count == 1 ? " anagram" : " anagrams");
}

}  // namespace lookup
