#include "anagram/pattern.h"

#include <cstdint>
#include <cstring>

#include "engine/data_format.h"
#include "engine/text_helpers.h"

namespace anagram {

namespace {

// One step of a pattern: a run of stars, one character of any kind, a set, or a literal.
struct Token {
  enum Kind : uint8_t { kStar, kAny, kSet, kLiteral } kind = kLiteral;
  char literal = 0;
  uint64_t members[4] = {};  // set members by unsigned byte value, negation applied

  bool Matches(char c) const {
    if (kind == kAny) return true;
    if (kind == kLiteral) return c == literal;
    unsigned char u = static_cast<unsigned char>(c);
    return (members[u >> 6] >> (u & 63)) & 1;
  }
};

void AddMember(Token* token, char c) {
  unsigned char u = static_cast<unsigned char>(c);
  token->members[u >> 6] |= uint64_t{1} << (u & 63);
}

// Splits a pattern into tokens; false when a '[' has no closing ']', which matches nothing.
bool Compile(const char* pattern, std::vector<Token>* tokens) {
  tokens->clear();
  for (const char* p = pattern; *p != '\0';) {
    Token token;
    if (*p == '*') {
      token.kind = Token::kStar;
      while (*p == '*')
        ++p;  // consecutive stars act as one
    } else if (*p == '?') {
      token.kind = Token::kAny;
      ++p;
    } else if (*p == '[') {
      token.kind = Token::kSet;
      const char* members = p + 1;
      bool negate = *members == '!';
      if (negate) ++members;
      // A ']' first in the set is a member; the set ends at the next ']'.
      const char* close = std::strchr(*members == ']' ? members + 1 : members, ']');
      if (close == nullptr) return false;
      for (const char* m = members; m < close;) {
        // x-y is a range when x < y (signed characters) and y is a member, not the ']'.
        if (m + 2 < close && m[1] == '-' &&
            static_cast<signed char>(m[0]) < static_cast<signed char>(m[2])) {
          for (int c = static_cast<signed char>(m[0]); c <= static_cast<signed char>(m[2]); ++c) {
            AddMember(&token, static_cast<char>(c));
          }
          m += 3;
        } else {
          AddMember(&token, *m);
          ++m;
        }
      }
      if (negate) {
        for (uint64_t& bits : token.members)
          bits = ~bits;
      }
      p = close + 1;
    } else {
      token.literal = *p;
      ++p;
    }
    tokens->push_back(token);
  }
  return true;
}

// Left to right; at a star the rest is tried from each later position of the word. Only the
// last star needs to be retried, because every other token takes exactly one character; this
// keeps the work to pattern length times word length.
bool MatchTokens(const std::vector<Token>& tokens, const char* word) {
  size_t t = 0;
  const char* w = word;
  size_t star = SIZE_MAX;
  const char* star_word = nullptr;
  while (*w != '\0') {
    if (t < tokens.size() && tokens[t].kind == Token::kStar) {
      star = t++;
      star_word = w;
    } else if (t < tokens.size() && tokens[t].Matches(*w)) {
      ++t;
      ++w;
    } else if (star != SIZE_MAX) {
      t = star + 1;
      w = ++star_word;
    } else {
      return false;
    }
  }
  while (t < tokens.size() && tokens[t].kind == Token::kStar)
    ++t;
  return t == tokens.size();
}

void AppendMatches(const NymdexEntryRegion& region, const std::string& pattern,
                   PatternMatches* result) {
  std::string index_form = pattern;
  for (char& c : index_form) {
    if (c == ' ') c = '_';
  }
  std::vector<Token> tokens;
  if (!Compile(index_form.c_str(), &tokens) || region.data == nullptr) return;
  const int separators = SeparatorCount(pattern);
  std::string display;
  size_t at = 0;
  for (uint32_t n = 0; n < region.count && at < region.length; ++n) {
    const char* word = region.data + at;
    const void* nul = std::memchr(word, '\0', region.length - at);
    if (nul == nullptr) break;
    size_t length = static_cast<const char*>(nul) - word;
    if (length == 0 || at + length + nymdex::kEntrySuffixSize > region.length) break;
    at += length + nymdex::kEntrySuffixSize;
    if (!MatchTokens(tokens, word)) continue;
    display.assign(word, length);
    for (char& c : display) {
      if (c == '_') c = ' ';
    }
    if (SeparatorCount(display) == separators) result->words.push_back(display);
  }
}

}  // namespace

bool MatchPattern(const char* pattern, const char* word) {
  if (pattern == nullptr || word == nullptr) return false;
  std::vector<Token> tokens;
  return Compile(pattern, &tokens) && MatchTokens(tokens, word);
}

int SeparatorCount(const std::string& text) {
  int count = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ' || (i + 1 < text.size() && text[i + 1] == '-')) ++count;
  }
  return count;
}

std::string MatchStatusText(size_t count) {
  if (count == 1) return "Found 1 match";
  return "Found " + std::to_string(count) + " matches";
}

PatternMatches FindPatternMatchesInRegion(const NymdexEntryRegion& region,
                                          const std::string& pattern) {
  PatternMatches result;
  AppendMatches(region, pattern, &result);
  result.status = MatchStatusText(result.words.size());
  return result;
}

PatternMatches FindPatternMatches(const NymdexEngine* engine, const std::string& pattern) {
  NymdexEntryRegion region;
  if (engine != nullptr) region = Nymdex_GetEntryRegion(engine);
  return FindPatternMatchesInRegion(region, pattern);
}

}  // namespace anagram
