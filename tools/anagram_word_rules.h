// The words an anagram may use: words a word-game player accepts. The sources (a spelling
// list and the lexicon's lemmas) also hold abbreviations and symbols ("ls", "ng", "mph"), which
// would make anagrams such as "a gen ls". After the sources' words of the letters a to z have
// been gathered (AnagramWords), these rules leave out:
//
// - words of one letter other than "a" and "i";
// - words of two letters that are not on the list of two-letter words (tools/data/);
// - words of three or more letters without a vowel (a, e, i, o, u or y): "mph", "hrs".
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace mkdata {

inline constexpr char kTwoLetterWordsFile[] = "two-letter-words.txt";

struct WordRulesReport {
  size_t one_letter = 0;  // distinct words left out by each rule
  size_t two_letter = 0;
  size_t no_vowel = 0;
};

// Removes the words the rules leave out, keeping the order of the others.
void ApplyAnagramWordRules(std::vector<std::string>* words,
                           const std::set<std::string, std::less<>>& two_letter,
                           WordRulesReport* report);

// The list of two-letter words: one a line; empty lines and lines that begin with "#" are
// ignored. False with "<path>:<line>: ..." for a line that is not two letters a to z, or when
// the file cannot be read.
bool ReadTwoLetterWords(const std::string& path, std::set<std::string, std::less<>>* words,
                        std::string* error);

}  // namespace mkdata
