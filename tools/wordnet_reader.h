// Reads a Princeton-format lexical database folder: the four data.<pos> files (synsets), the
// four index.<pos> files (lemmas and their senses in order) and cntlist.rev (tag counts).
//
// Files are read whole and parsed in place: every text of the result is a view into the
// buffers the Database owns, so a Database must outlive the views taken from it and is not
// copied. Every line is checked against the layout; the first malformed line stops the read
// with a message "<file>:<line>: <what>" and false.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wordnet {

// Part-of-speech codes as the data files use them: 1 noun, 2 verb, 3 adjective (satellites
// included), 4 adverb. File suffixes in that order.
inline constexpr int kPosCount = 4;
inline constexpr const char* kPosFileSuffix[kPosCount] = {"noun", "verb", "adj", "adv"};

// 1 to 4 for the pos letters n, v, a, s, r; 0 for anything else.
uint8_t PosFromLetter(char letter);

struct Pointer {
  std::string_view symbol;  // as written: "@", "~i", "#m", ";c", ...
  uint32_t target_offset = 0;
  uint8_t target_pos = 0;   // 1 to 4
  uint8_t source_word = 0;  // 0 when the pointer joins whole synsets
  uint8_t target_word = 0;
};

struct Synset {
  uint32_t offset = 0;  // byte offset of its line in data.<pos>
  uint32_t line = 0;    // line number, from 1, for messages
  uint8_t pos = 0;
  uint8_t lex_filenum = 0;  // lexicographer file number
  bool satellite = false;
  std::vector<std::string_view> words;  // forms as written, adjective markers "(a)" etc. cut
  std::vector<uint8_t> lex_ids;         // per word: its lexical identifier
  std::vector<Pointer> pointers;
  std::string_view gloss;  // text after "| ", surrounding blanks trimmed
};

struct IndexEntry {
  std::string_view lemma;
  uint32_t line = 0;
  std::vector<uint32_t> offsets;  // synset offsets in sense order
};

// One line of cntlist.rev. The sense key names the sense exactly; the sense number beside it
// may be out of date, so it is only checked for form.
struct SenseCount {
  std::string_view key;  // lemma%ss_type:lex_filenum:lex_id:head_word:head_id
  uint32_t sense_number = 0;
  uint32_t count = 0;
};

struct Database {
  std::string folder;                                 // as given to ReadDatabase
  std::vector<std::unique_ptr<std::string>> buffers;  // the file contents the views refer to
  std::vector<Synset> synsets[kPosCount];             // in file order: ascending offsets
  std::vector<uint32_t> synset_offsets[kPosCount];    // their offsets, which FindSynset bisects
  std::vector<IndexEntry> index[kPosCount];           // in file order
  std::vector<SenseCount> counts;
  uint64_t bytes_read = 0;
};

// Reads a whole file. False with "<path>: <reason>" when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string* contents, std::string* error);

// Parsers of one file's text; `name` is the file name used in messages. Lines that begin with
// two spaces (the licence preamble) are skipped. They append to `out`.
bool ParseDataFile(std::string_view text, const std::string& name, uint8_t file_pos,
                   std::vector<Synset>* out, std::string* error);
bool ParseIndexFile(std::string_view text, const std::string& name, uint8_t file_pos,
                    std::vector<IndexEntry>* out, std::string* error);
bool ParseCountFile(std::string_view text, const std::string& name, std::vector<SenseCount>* out,
                    std::string* error);

// Reads and parses the nine files of `folder`, then checks that every pointer and every index
// offset names an existing synset and that pointer word numbers lie within the word counts.
bool ReadDatabase(const std::string& folder, Database* db, std::string* error);

// The synset of part of speech `pos` at `offset`, or null.
const Synset* FindSynset(const Database& db, uint8_t pos, uint32_t offset);

}  // namespace wordnet
