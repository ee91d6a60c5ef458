// The irregular forms of a Princeton-format database: its exception lists ("noun.exc",
// "verb.exc", "adj.exc", "adv.exc", one line per inflected form: the form, then its base forms,
// separated by spaces) compiled into the program's "1001E.dat" (layout in engine/data_format.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mkdata {

// One inflected form of one part of speech and its base forms, in list order.
struct FormEntry {
  std::string form;  // index form ("_" for spaces), lower case
  uint8_t pos = 0;   // 1 noun, 2 verb, 3 adjective, 4 adverb
  std::vector<std::string> bases;
};

struct FormsReport {
  size_t forms = 0;        // distinct inflected forms over all four lists
  size_t entries[4] = {};  // records per part of speech
  size_t bases = 0;        // base forms over all records
  size_t merged = 0;       // lines that repeated a form of their list and were merged into it
};

// Parses one list's text, appending one entry per line; blank lines are skipped. Words are
// lower-cased. Fails with "<name>:<line>: <what>" on a line without a base form, a control
// character, or a word longer than the word index allows.
bool ParseExceptionList(std::string_view text, const std::string& name, uint8_t pos,
                        std::vector<FormEntry>* out, std::string* error);

// Reads and parses the four lists of `folder`; a missing list fails like any other input.
bool ReadExceptionLists(const std::string& folder, std::vector<FormEntry>* entries,
                        std::string* error);

// The bytes of "1001E.dat": entries of one form and part of speech merged (their bases in
// order, repeats dropped), records sorted by form bytes and part of speech, sealed with the
// MD5 of the body. Entries of different forms or parts of speech may come in any order: the
// bytes are the same. False when a merged record would hold more base forms than the format
// allows.
bool BuildFormsFile(std::vector<FormEntry> entries, std::vector<uint8_t>* bytes,
                    FormsReport* report, std::string* error);

}  // namespace mkdata
