// Anagrams as a finished list: one request run to its end on the calling thread, the list
// sorted as the anagrams view sorts it, and the status text. The main window runs requests on
// its worker instead; the command line and the tests use this.
#pragma once

#include <string>
#include <vector>

#include "anagram/anagram_options.h"

struct JumbleEngine;

namespace lookup {

// Sorts anagrams ascending, byte by byte without regard to ASCII case (a space before any
// letter, so "eat tea" comes before "eats"); equal texts keep their order.
void SortAnagrams(std::vector<std::string>* anagrams);

// Runs the request and returns every anagram delivered, in delivery order. A null engine or an
// empty word gives none.
std::vector<std::string> GenerateAnagramList(JumbleEngine* engine,
                                             const anagram::AnagramRequestArgs& args);

// "Found 1 anagram" for 1, otherwise "Found %d anagrams".
std::string AnagramStatusText(size_t count);

}  // namespace lookup
