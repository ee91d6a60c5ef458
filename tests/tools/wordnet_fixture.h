// Hand-made databases in the Princeton layout for the compiler's tests. Data lines are written
// as templates whose first field is a name in braces; "{name}" anywhere in any line becomes the
// 8-digit offset of that name's data line, so the tests never count bytes.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace wordnet_test {

// Two lines of the licence preamble every data and index file starts with.
inline const char kPreamble[] =
    "  1 This software and database is being provided to you, the LICENSEE, by  \n"
    "  2 Princeton University under the following license.  \n";

// File name -> template lines.
using Files = std::map<std::string, std::vector<std::string>>;

// The text of each file, keyed by file name. Names without a data line become 00000000.
inline std::map<std::string, std::string> Render(const Files& files) {
  std::map<std::string, std::string> offsets, texts;
  auto substitute = [&](std::string line) {
    for (size_t open = line.find('{'); open != std::string::npos; open = line.find('{', open)) {
      size_t length = line.find('}', open) - open + 1;
      auto it = offsets.find(line.substr(open, length));
      line.replace(open, length, it != offsets.end() ? it->second : "00000000");
    }
    return line;
  };
  for (const auto& [name, lines] : files) {
    if (name.rfind("data.", 0) != 0) continue;
    size_t position = sizeof kPreamble - 1;
    for (const std::string& line : lines) {
      char digits[16];
      std::snprintf(digits, sizeof digits, "%08zu", position);
      offsets[line.substr(0, line.find(' '))] = digits;
      position += substitute(line).size() + 1;  // every name is 8 characters
    }
  }
  for (const auto& [name, lines] : files) {
    const bool bare = name == "cntlist.rev" || name.find(".exc") != std::string::npos;
    std::string& text = texts[name] = bare ? "" : kPreamble;
    for (const std::string& line : lines)
      text += substitute(line) + "\n";
  }
  return texts;
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline void Write(const std::string& folder, const Files& files) {
  std::filesystem::create_directories(folder);
  for (const auto& [name, text] : Render(files))
    WriteText(folder + "/" + name, text);
}

// A small database that exercises the mapping: case variants, a satellite, adjective markers,
// instance pointers, a dropped adjective "+", lexical antonyms from two words of one synset to
// one target, a verb also-see, frames, tag counts by sense key, irregular forms.
inline Files SmallDatabase() {
  Files f;
  f["data.noun"] = {
      "{cat1} 05 n 02 cat 0 true_cat 0 003 @ {feline} n 0000 ~ {wildcat} n 0000 + {catv} v 0101 "
      "| feline mammal usually having thick soft fur: domestic cats; wildcats  ",
      "{feline} 05 n 01 feline 0 001 ~ {cat1} n 0000 | any of various lithe-bodied mammals  ",
      "{wildcat} 05 n 01 wildcat 0 001 @ {cat1} n 0000 | a cat living in the wild  ",
      "{ct} 04 n 02 computerized_tomography 0 CAT 0 000 | a method of examining body organs  ",
      "{einstein} 18 n 01 Einstein 0 001 @i {physicist} n 0000 | physicist born in Germany  ",
      "{physicist} 18 n 01 physicist 0 001 ~i {einstein} n 0000 | a scientist of physics  ",
      "{icecream} 13 n 01 ice_cream 0 000 | frozen dessert containing cream; \"ice cream "
      "melts\"  ",
      "{pm1} 28 n 02 Pm 0 PM 0 000 | the time after noon  ",
      "{pm2} 27 n 01 PM 0 000 | a chemical element  ",
      "{goodness} 07 n 01 goodness 0 001 + {good} a 0101 | moral excellence  ",
  };
  f["data.verb"] = {
      "{catv} 35 v 01 cat 0 001 + {cat1} n 0101 01 + 02 00 | beat with a cat-o'-nine-tails  ",
      "{vomit} 29 v 02 vomit 0 cat 1 002 ^ {catv} v 0000 @ {catv} v 0000 02 + 02 00 + 08 01 | "
      "eject the contents of the stomach  ",
  };
  f["data.adj"] = {
      "{good} 00 a 02 good 0 goodish(p) 0 003 ! {bad} a 0101 ! {bad} a 0201 + {goodness} n 0101 "
      "| having desirable qualities; \"a good report card\"  ",
      "{bad} 00 a 02 bad 0 big_bad(a) 0 001 ! {good} a 0101 | having undesirable qualities  ",
      "{fine} 00 s 01 fine(ip) 0 001 & {good} a 0000 | superior to the average  ",
  };
  f["data.adv"] = {
      "{well} 02 r 01 well 0 002 ! {badly} r 0101 \\ {good} a 0101 | in a good manner  ",
      "{badly} 02 r 01 badly 0 001 + {bad} a 0101 | in a bad manner  ",
  };
  f["index.noun"] = {
      "cat n 2 3 @ ~ + 2 1 {cat1} {ct}",   "computerized_tomography n 1 0 1 0 {ct}",
      "einstein n 1 1 @ 1 0 {einstein}",   "feline n 1 1 ~ 1 0 {feline}",
      "goodness n 1 1 + 1 0 {goodness}",   "ice_cream n 1 0 1 0 {icecream}",
      "physicist n 1 1 ~ 1 0 {physicist}", "pm n 2 0 2 0 {pm2} {pm1}",
      "true_cat n 1 1 @ 1 0 {cat1}",       "wildcat n 1 1 @ 1 0 {wildcat}",
  };
  f["index.verb"] = {"cat v 2 2 + ^ 2 0 {catv} {vomit}", "vomit v 1 2 ^ @ 1 0 {vomit}"};
  f["index.adj"] = {
      "bad a 1 1 ! 1 1 {bad}",     "big_bad a 1 1 ! 1 0 {bad}",  "fine a 1 1 & 1 0 {fine}",
      "good a 1 2 ! + 1 1 {good}", "goodish a 1 1 ! 1 0 {good}",
  };
  f["index.adv"] = {"badly r 1 1 + 1 0 {badly}", "well r 1 2 ! \\ 1 0 {well}"};
  f["cntlist.rev"] = {
      "cat%1:05:00:: 1 18",          // sense 1 of the noun cat
      "cat%1:04:00:: 1 4",           // a stale number: the key names sense 2 (CAT)
      "cat%2:29:01:: 2 3",           // the verb cat in the vomit synset
      "fine%5:00:00:good:00 1 300",  // a satellite's key names its head; capped at 255
      "good%3:00:00:: 1 7",
      "dog%1:05:00:: 1 3",  // names no sense
  };
  // Exception lists: a form on two lines of one list, one in two lists.
  f["noun.exc"] = {"involucra involucre", "mice mouse", "involucra involucrum"};
  f["verb.exc"] = {"vomited vomit"};
  f["adj.exc"] = {"better good well"};
  f["adv.exc"] = {"better well"};
  return f;
}

}  // namespace wordnet_test
