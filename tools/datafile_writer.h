// Writes the engine's data files from an in-memory lexicon: the data compiler's back end,
// and the tests' way to build small dictionaries. Every format limit is checked; a lexicon
// that exceeds one is refused with a message that names the limit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datafiles {

struct PointerSpec {
  uint8_t type = 0;     // pointer-type code 1 to 42
  uint32_t target = 0;  // index into Lexicon::synsets
};

struct SynsetSpec {
  uint8_t pos = 0;                    // 1 noun, 2 verb, 3 adjective, 4 adverb
  std::vector<uint32_t> words;        // word identifiers (indexes into Lexicon::words)
  std::vector<PointerSpec> pointers;  // in stored order
  std::string gloss;                  // tag text: definition, then "; " and the examples
};

struct SenseSpec {
  uint32_t synset = 0;    // index into Lexicon::synsets
  uint8_t frequency = 0;  // 0 to 255
};

struct WordSpec {
  std::string text;  // index form: "_" for spaces, case as stored
  std::vector<SenseSpec>
      senses[4];  // per part of speech (noun, verb, adjective, adverb), sense order
};

// words[i] has identifier i. Words must be sorted case-insensitively (bytes after mapping A-Z
// onto a-z, a prefix first); words[0] is a sentinel that lookups never reach.
struct Lexicon {
  std::vector<WordSpec> words;
  std::vector<SynsetSpec> synsets;
};

struct DataFileImages {
  std::vector<uint8_t> synsets;     // "1001L.dat"
  std::vector<uint8_t> word_index;  // "1001W.dat"
  std::vector<uint8_t> tags;        // "1001T.dat"
  uint32_t tag_blocks = 0;
  size_t word_index_decoded = 0;  // decoded bytes of the word index
};

// Builds the three files. False, with a message naming the limit or the inconsistency, when
// the lexicon cannot be written.
bool BuildDataFiles(const Lexicon& lexicon, DataFileImages* images, std::string* error);

// Recompute the stored digests (of the complete chunks and of the short last one) after a test
// has edited bytes behind the header.
void SealSynsetFile(std::vector<uint8_t>* synsets);
void SealTagFile(std::vector<uint8_t>* tags);

// "1001A.dat": magic, counts, digest, then each word with its NUL, then the tail seal.
std::vector<uint8_t> BuildAnagramFile(const std::vector<std::string>& words);

// A number with its thousands grouped by commas ("65,535"), as the limits are named in messages.
std::string GroupedNumber(uint64_t value);

// Writes `bytes` to a temporary file beside `path`, flushes it and renames it over `path`.
bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string* error);

}  // namespace datafiles
