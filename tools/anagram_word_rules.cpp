#include "tools/anagram_word_rules.h"

#include <algorithm>
#include <fstream>

namespace mkdata {

namespace {

bool IsLowerLetter(char c) {
  return c >= 'a' && c <= 'z';
}

enum class WordRule {
  kKept,
  kOneLetter,  // a single letter other than "a" and "i"
  kTwoLetter,  // two letters, not on the list
  kNoVowel,    // three or more letters, none of them a vowel or y
};

WordRule JudgeAnagramWord(std::string_view word,
                          const std::set<std::string, std::less<>>& two_letter) {
  switch (word.size()) {
    case 1:
      return word == "a" || word == "i" ? WordRule::kKept : WordRule::kOneLetter;
    case 2:
      return two_letter.count(word) != 0 ? WordRule::kKept : WordRule::kTwoLetter;
    default:
      return word.find_first_of("aeiouy") != std::string_view::npos ? WordRule::kKept
                                                                     : WordRule::kNoVowel;
  }
}

}  // namespace

void ApplyAnagramWordRules(std::vector<std::string>* words,
                           const std::set<std::string, std::less<>>& two_letter,
                           WordRulesReport* report) {
  *report = WordRulesReport();
  std::erase_if(*words, [&](const std::string& word) {
    switch (JudgeAnagramWord(word, two_letter)) {
      case WordRule::kKept:
        return false;
      case WordRule::kOneLetter:
        ++report->one_letter;
        break;
      case WordRule::kTwoLetter:
        ++report->two_letter;
        break;
      case WordRule::kNoVowel:
        ++report->no_vowel;
        break;
    }
    return true;
  });
}

bool ReadTwoLetterWords(const std::string& path, std::set<std::string, std::less<>>* words,
                        std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = path + ": cannot be opened";
    return false;
  }
  words->clear();
  std::string line;
  for (size_t number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    if (line.size() != 2 || !std::all_of(line.begin(), line.end(), IsLowerLetter)) {
      *error = path + ":" + std::to_string(number) + ": \"" + line +
               "\" is not a word of two letters a to z";
      return false;
    }
    words->insert(line);
  }
  if (in.bad()) {
    *error = path + ": cannot be read";
    return false;
  }
  return true;
}

}  // namespace mkdata
