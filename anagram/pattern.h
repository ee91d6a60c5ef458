// Pattern matching over the lexical engine's word index: the wildcard language ('?', '*', sets
// in '[' ']' with '!' negation and x-y ranges) and the walk that lists every entry fitting a
// pattern. Which texts are patterns is the lookup's decision (lookup::IsLookupPattern).
#pragma once

#include <string>
#include <vector>

#include "engine/nymdex.h"

namespace anagram {

// True when the whole `word` fits the whole `pattern`. Case matters; no escape character;
// a '[' without a closing ']' matches nothing. Runs in O(pattern x word) time.
bool MatchPattern(const char* pattern, const char* word);

// The number of characters that are a space, or not a space and followed by '-'.
int SeparatorCount(const std::string& text);

// Matches of a lookup-box pattern, in index order and display form ('_' shown as a space),
// keeping only entries with as many separators as the pattern.
struct PatternMatches {
  std::vector<std::string> words;
  std::string status;  // "Found 1 match" or "Found %d matches"
};

// Walks the engine's word index. A null engine gives no matches and "Found 0 matches".
PatternMatches FindPatternMatches(const NymdexEngine* engine, const std::string& pattern);

// The same walk over an entry region (word, NUL, six digits, back to back); it ends at the
// region's end, after `region.count` entries, at an empty word, or at an entry that does not
// lie wholly inside the region.
PatternMatches FindPatternMatchesInRegion(const NymdexEntryRegion& region,
                                          const std::string& pattern);

// "Found 1 match" for 1, otherwise "Found %d matches".
std::string MatchStatusText(size_t count);

}  // namespace anagram
