// The settings that shape the anagram view's requests, as the settings file keeps them:
// "AgMin", "AgMax", "AgNum", "Permutations" and "Filter" go into each request; "SortAnagrams"
// sorts the finished list. The window reads them at every request, so a change on the
// "Anagrams" page takes effect with the next one.
#pragma once

#include "anagram/anagram_options.h"

struct AnagramOptions {
  anagram::AnagramSettings request;
  bool sort = true;
};
