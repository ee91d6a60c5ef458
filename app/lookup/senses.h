// The senses list: one row per sense of the looked-up word, the engine's senses first and the
// custom database's after them, with the part-of-speech names, the cut definitions, the
// examples of usage, the check boxes and the part-of-speech selection code they give.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lookup {

// "Noun", "Verb", ... "Article" for the codes 1 to 9 (the display names of kCustomTypes in
// custom/custom_db.h; the engine's codes are the first four), "Other" for kCustomOtherPos; an
// empty text otherwise.
const char* PosName(uint32_t pos);

// One row of the senses list.
struct SenseRow {
  int number = 0;                     // 1, 2, ... in list order
  uint32_t pos = 0;                   // part-of-speech code
  std::string definition;             // the record's text cut for display (CutDefinition)
  std::string text;                   // the record's whole text: a gloss, or a custom definition
  std::vector<std::string> examples;  // cleaned for display (CleanExample)
  bool custom = false;                // from the custom database
  bool checked = true;
};

// The definition shown for a record text: leading white space removed, cut before the first
// ";", trailing white space removed, first letter upper-cased.
std::string CutDefinition(std::string_view text);

// An example as the usage window shows it, without its quotes: every '"' removed, trimmed,
// first letter upper-cased.
std::string CleanExample(std::string_view example);

// The examples of a gloss: the ";"-separated pieces after its first ";", cleaned; pieces that
// are empty once cleaned are left out.
std::vector<std::string> GlossExamples(std::string_view gloss);

// The examples of a custom entry's examples text ("first^second^"), cleaned; empty pieces are
// left out.
std::vector<std::string> CustomExamples(std::string_view examples_text);

// True when a record text has a ";" after its first character: the gloss carries examples.
bool TextHasExamples(std::string_view text);

// The part-of-speech selection code of the checked rows: the sum of 1 (noun), 2 (verb),
// 4 (adjective) and 8 (adverb) over the checked rows' codes; 16 when that sum is 0 or 15 and
// a checked row has one of the codes 5 to 10. 0 when no row is checked.
int PosSelectionCode(const std::vector<SenseRow>& rows);

// The states of the Noun, Verb, Adjective and Adverb toggle buttons for a selection code:
// bits 1, 2, 4 and 8; all off for 0 and 16.
std::array<bool, 4> PosToggleStates(int code);

// The sense numbers the relation queries take: the indexes (from 0) of the checked rows.
std::vector<uint32_t> SelectedSenses(const std::vector<SenseRow>& rows);

// One row of the "Usage" window: a heading ("Sense  1 : Noun") or an example, indented by
// three spaces and set in double quotes.
struct UsageRow {
  bool heading = false;
  int sense = 0;  // the sense number the row belongs to
  std::string text;
};

// The rows of the "Usage" window for the senses list, in list order: a heading before the
// first example of each sense, then its examples.
std::vector<UsageRow> BuildUsageRows(const std::vector<SenseRow>& rows);

}  // namespace lookup
