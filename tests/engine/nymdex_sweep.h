// The lexical engine's queries run over the words of a lexicon, for the tests and the fuzz
// target over damaged data files. Only the absence of faults is checked: the sanitizers watch
// the reads.
#pragma once

#include <string>
#include <vector>

#include "engine/nymdex.h"
#include "tools/datafile_writer.h"

namespace nymdex_test {

inline void Sweep(NymdexEngine* engine, const datafiles::Lexicon& lexicon) {
  char text[kMaxWordLength + 1];
  for (uint32_t id = 0; id < lexicon.words.size() + 2; ++id)
    Nymdex_GetWordFromID(engine, id, text);
  NymdexEntryRegion region = Nymdex_GetEntryRegion(engine);
  volatile char last = region.length != 0 ? region.data[region.length - 1] : 0;
  (void)last;
  for (const datafiles::WordSpec& word : lexicon.words) {
    const char* w = word.text.c_str();
    int32_t id = Nymdex_GetIdFromWord(engine, w);
    for (uint32_t pos = kNoun; pos <= kAdverb && id >= 0; ++pos) {
      std::vector<uint32_t> offsets, tag_ids;
      Nymdex_GetOffsetList(engine, pos, static_cast<uint32_t>(id), &offsets);
      Nymdex_GetTagIDs(engine, offsets, &tag_ids, pos);
    }
    std::vector<TagRecord> tags;
    Nymdex_GetTags(engine, w, &tags);
    SenseList senses;
    Nymdex_GetSenses(engine, w, &senses);
    Nymdex_GetFrequency(engine, w);
    Nymdex_IsAdverb(engine, w);
    // The relations differ only in the pointer types they match: one walk of the words, one
    // of the pointers and their targets, one test.
    std::vector<std::string> related;
    Nymdex_GetSynonyms(engine, w, &related, 1, {0, 1, 2});
    Nymdex_GetHypernyms(engine, w, &related, 0, {0, 1, 2});
    Nymdex_GetSeeAlso(engine, w, &related, 1, {1, 0});
    Nymdex_HasAntonyms(engine, w, {0, 1, 2});
  }
}

}  // namespace nymdex_test
