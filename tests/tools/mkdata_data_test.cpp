// The compiled Data/ against the WordNet files it came from. The expected answers come from a
// reader of this file's own, plain and slow: it seeks to each synset's byte offset in
// data.<pos> and splits the line into fields, independently of the compiler's reader.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/nymdex.h"

namespace {

namespace fs = std::filesystem;

const std::string kData = VERBARIUM_DATA_DIR;
const std::string kWordNet = VERBARIUM_WORDNET_DIR;
const char* const kSuffix[4] = {"noun", "verb", "adj", "adv"};

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Upper(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Lower case, "_" shown as a space: how related words come back.
std::string Display(const std::string& word) {
  std::string out = Lower(word);
  std::replace(out.begin(), out.end(), '_', ' ');
  return out;
}

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::vector<std::string> SortedUnique(std::vector<std::string> words) {
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  return words;
}

// ---- The reference reader ----

struct RefPointer {
  std::string symbol;
  long offset;
  int pos;  // 0 to 3
};

struct RefSynset {
  int lex_file = 0;
  char type = 0;
  std::vector<std::string> words;  // markers such as "(a)" removed
  std::vector<int> lex_ids;
  std::vector<RefPointer> pointers;
  std::string gloss;
};

int PosIndex(const std::string& letter) {
  static const std::string kLetters = "nvasr";
  int at = static_cast<int>(kLetters.find(letter));
  return at < 3 ? at : at - 1;  // satellites are adjectives
}

class Reference {
 public:
  Reference() {
    for (int pos = 0; pos < 4; ++pos) {
      std::ifstream in(kWordNet + "/index." + kSuffix[pos]);
      std::string line;
      while (std::getline(in, line)) {
        if (line.empty() || line[0] == ' ') continue;
        std::istringstream fields(line);
        std::string lemma, letter;
        int synsets = 0, pointers = 0, senses = 0, tagged = 0;
        fields >> lemma >> letter >> synsets >> pointers;
        for (int i = 0; i < pointers; ++i)
          fields >> letter;
        fields >> senses >> tagged;
        std::vector<long>& offsets = index_[lemma][pos];
        for (int i = 0; i < synsets; ++i) {
          long offset = 0;
          fields >> offset;
          offsets.push_back(offset);
        }
        lemmas_[pos].push_back(lemma);
      }
    }
    std::ifstream counts(kWordNet + "/cntlist.rev");
    std::string key;
    int number = 0, count = 0;
    while (counts >> key >> number >> count)
      counts_[key] += count;
  }

  const std::map<std::string, std::array<std::vector<long>, 4>>& index() const { return index_; }
  const std::vector<std::string>& lemmas(int pos) const { return lemmas_[pos]; }

  const RefSynset& Synset(int pos, long offset) {
    auto key = std::make_pair(pos, offset);
    auto it = synsets_.find(key);
    if (it != synsets_.end()) return it->second;
    std::ifstream in(kWordNet + "/data." + kSuffix[pos]);
    in.seekg(offset);
    std::string line;
    std::getline(in, line);
    size_t bar = line.find(" | ");
    RefSynset synset;
    synset.gloss = bar == std::string::npos ? "" : Trim(line.substr(bar + 3));
    std::istringstream fields(line.substr(0, bar));
    long own = 0;
    std::string type, hex;
    fields >> own >> synset.lex_file >> type >> hex;
    EXPECT_EQ(own, offset) << "data." << kSuffix[pos];
    synset.type = type[0];
    int words = std::stoi(hex, nullptr, 16);
    for (int i = 0; i < words; ++i) {
      std::string word;
      fields >> word >> hex;
      for (const char* marker : {"(a)", "(p)", "(ip)"}) {
        std::string m = marker;
        if (word.size() > m.size() && word.compare(word.size() - m.size(), m.size(), m) == 0) {
          word.erase(word.size() - m.size());
        }
      }
      synset.words.push_back(word);
      synset.lex_ids.push_back(std::stoi(hex, nullptr, 16));
    }
    int pointers = 0;
    fields >> pointers;
    for (int i = 0; i < pointers; ++i) {
      RefPointer p;
      std::string letter, source_target;
      fields >> p.symbol >> p.offset >> letter >> source_target;
      p.pos = PosIndex(letter);
      synset.pointers.push_back(p);
    }
    return synsets_.emplace(key, synset).first->second;
  }

  // The tag count of `lemma` in the synset, found by its sense key.
  int Frequency(const std::string& lemma, int pos, long offset) {
    const RefSynset& synset = Synset(pos, offset);
    for (size_t i = 0; i < synset.words.size(); ++i) {
      if (Lower(synset.words[i]) != lemma) continue;
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, "%%%d:%02d:%02d:", synset.type == 's' ? 5 : pos + 1,
                    synset.lex_file, synset.lex_ids[i]);
      std::string key = lemma + buffer;
      if (synset.type == 's') {
        for (const RefPointer& p : synset.pointers) {
          if (p.symbol != "&") continue;
          const RefSynset& head = Synset(2, p.offset);
          std::snprintf(buffer, sizeof buffer, ":%02d", head.lex_ids[0]);
          key += Lower(head.words[0]) + buffer;
          break;
        }
      } else {
        key += ":";
      }
      auto it = counts_.find(key);
      return it == counts_.end() ? 0 : std::min(it->second, 255);
    }
    return 0;
  }

 private:
  std::map<std::string, std::array<std::vector<long>, 4>> index_;
  std::vector<std::string> lemmas_[4];
  std::map<std::string, int> counts_;
  std::map<std::pair<int, long>, RefSynset> synsets_;
};

Reference& Ref() {
  static Reference* reference = new Reference();
  return *reference;
}

// The symbols each relation follows, per part of speech of the synset.
struct RelationSymbols {
  const char* name;
  std::vector<std::string> symbols[4];
};
const RelationSymbols kRelations[] = {
    {"Antonyms", {{"!"}, {"!"}, {"!"}, {"!"}}},
    {"Hypernyms", {{"@", "@i"}, {"@"}, {}, {}}},
    {"Holonyms", {{"#m", "#s", "#p"}, {}, {}, {}}},
    {"Hyponyms", {{"~", "~i"}, {"~"}, {}, {}}},
    {"Meronyms", {{"%m", "%s", "%p"}, {}, {}, {}}},
    {"Attributes", {{"="}, {}, {"="}, {}}},
    {"Similar", {{}, {}, {"&"}, {}}},
    {"SeeAlso", {{}, {}, {"^"}, {}}},
    {"Derived", {{}, {}, {}, {"\\"}}},
    {"DRF", {{"+"}, {"+"}, {}, {}}},
    {"DSC", {{";c"}, {";c"}, {";c"}, {";c"}}},
    {"MDC", {{"-c"}, {}, {}, {}}},
    {"DSR", {{";r"}, {";r"}, {";r"}, {";r"}}},
    {"MDR", {{"-r"}, {}, {}, {}}},
    {"DSU", {{";u"}, {";u"}, {";u"}, {";u"}}},
    {"MDU", {{"-u"}, {}, {}, {}}},
    {"Entailment", {{}, {"*"}, {}, {}}},
    {"Cause", {{}, {">"}, {}, {}}},
    {"VerbGroup", {{}, {"$"}, {}, {}}},
    {"Participle", {{}, {}, {"<"}, {}}},
    {"Pertainym", {{}, {}, {"\\"}, {}}},
};

std::vector<std::string> ExpectedRelated(const std::string& relation, int pos, long offset) {
  const RefSynset& synset = Ref().Synset(pos, offset);
  std::vector<std::string> words;
  if (relation == "Synonyms") {
    for (const std::string& w : synset.words)
      words.push_back(Display(w));
    return SortedUnique(words);
  }
  for (const RelationSymbols& r : kRelations) {
    if (relation != r.name) continue;
    const auto& symbols = r.symbols[pos];
    for (const RefPointer& p : synset.pointers) {
      if (std::find(symbols.begin(), symbols.end(), p.symbol) == symbols.end()) continue;
      for (const std::string& w : Ref().Synset(p.pos, p.offset).words)
        words.push_back(Display(w));
    }
  }
  return SortedUnique(words);
}

// One sense of a lemma in engine order: nouns, verbs, adjectives, adverbs.
struct RefSense {
  int pos;
  long offset;
};
std::vector<RefSense> ExpectedSenses(const std::string& lemma) {
  std::vector<RefSense> senses;
  const auto& offsets = Ref().index().at(lemma);
  for (int pos = 0; pos < 4; ++pos) {
    for (long offset : offsets[pos])
      senses.push_back({pos, offset});
  }
  return senses;
}

// Lemmas spread over each index file, plus a few a reader checks first.
std::vector<std::string> Sample(size_t per_pos) {
  std::set<std::string> sample = {"cat",  "good", "well",  "run",   "einstein", "ice_cream",
                                  "bank", "fast", "light", "break", "happily",  "beautiful"};
  for (int pos = 0; pos < 4; ++pos) {
    const auto& lemmas = Ref().lemmas(pos);
    size_t step = std::max<size_t>(1, lemmas.size() / per_pos);
    for (size_t i = step / 2; i < lemmas.size(); i += step)
      sample.insert(lemmas[i]);
  }
  return std::vector<std::string>(sample.begin(), sample.end());
}

class CompiledData : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(
        Nymdex_StartUp(&engine_, (kData + "/1001L.dat").c_str(), (kData + "/1001W.dat").c_str(),
                       (kData + "/1001T.dat").c_str(), nullptr, nullptr),
        kNymdexOk);
  }
  static void TearDownTestSuite() {
    if (engine_ != nullptr) Nymdex_ShutDown(&engine_);
    engine_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(engine_, nullptr); }

  static std::vector<std::string> Related(const NymdexRelation& relation, const std::string& word,
                                          uint32_t sense) {
    std::vector<std::string> words;
    EXPECT_EQ(relation.get(engine_, word.c_str(), &words, 1, {sense}), kNymdexOk);
    return words;
  }

  static NymdexEngine* engine_;
};
NymdexEngine* CompiledData::engine_ = nullptr;

TEST_F(CompiledData, EveryLemmaIsFoundInAnyCaseAndResolvesBack) {
  size_t failures = 0;
  char stored[1024];
  for (const auto& [lemma, offsets] : Ref().index()) {
    int32_t id = Nymdex_GetIdFromWord(engine_, lemma.c_str());
    bool ok = id > 0 && Nymdex_GetIdFromWord(engine_, Upper(lemma).c_str()) == id &&
              Nymdex_GetWordFromID(engine_, static_cast<uint32_t>(id), stored) == 1 &&
              Lower(stored) == lemma;
    if (!ok && ++failures <= 10) ADD_FAILURE() << lemma << " (id " << id << ")";
  }
  EXPECT_EQ(failures, 0u);
  NymdexEntryRegion region = Nymdex_GetEntryRegion(engine_);
  EXPECT_EQ(region.count, Ref().index().size() + 1);  // and the sentinel

  // Identifiers ascend with the case-folded words.
  std::string previous;
  for (uint32_t id = 1; id < region.count; ++id) {
    ASSERT_EQ(Nymdex_GetWordFromID(engine_, id, stored), 1) << id;
    std::string folded = Lower(stored);
    ASSERT_LT(previous, folded) << id;
    previous = folded;
  }
}

TEST_F(CompiledData, SampledSensesAndRelationsMatchTheWordNetFiles) {
  std::vector<std::string> sample = Sample(130);
  ASSERT_GE(sample.size(), 500u);
  size_t checked_relations = 0;
  for (const std::string& lemma : sample) {
    SCOPED_TRACE(lemma);
    std::vector<RefSense> senses = ExpectedSenses(lemma);
    std::vector<TagRecord> tags;
    ASSERT_EQ(Nymdex_GetTags(engine_, lemma.c_str(), &tags), kNymdexOk);
    SenseList list;
    ASSERT_EQ(Nymdex_GetSenses(engine_, lemma.c_str(), &list), kNymdexOk);
    ASSERT_EQ(tags.size(), senses.size());
    ASSERT_EQ(list.entries.size(), senses.size());
    for (size_t k = 0; k < senses.size(); ++k) {
      SCOPED_TRACE("sense " + std::to_string(k));
      const RefSense& sense = senses[k];
      EXPECT_EQ(tags[k].pos, static_cast<uint32_t>(sense.pos + 1));
      EXPECT_EQ(tags[k].text, Ref().Synset(sense.pos, sense.offset).gloss);
      EXPECT_EQ(SensePos(list.entries[k]), static_cast<uint32_t>(sense.pos + 1));
      EXPECT_EQ(SenseFrequency(list.entries[k]),
                static_cast<uint32_t>(Ref().Frequency(lemma, sense.pos, sense.offset)));
      for (const NymdexRelation& relation : kNymdexRelations) {
        std::vector<std::string> expected = ExpectedRelated(relation.name, sense.pos, sense.offset);
        EXPECT_EQ(Related(relation, lemma, static_cast<uint32_t>(k)), expected) << relation.name;
        int32_t has = relation.has(engine_, lemma.c_str(), {static_cast<uint32_t>(k)});
        bool expected_has =
            std::string(relation.name) == "Synonyms" ? expected.size() > 1 : !expected.empty();
        EXPECT_EQ(has, expected_has ? 1 : 0) << relation.name;
        ++checked_relations;
      }
    }
  }
  RecordProperty("relations_checked", static_cast<int>(checked_relations));
}

TEST_F(CompiledData, WhatAUserChecksFirst) {
  // cat: eight noun senses, then two verb senses.
  std::vector<TagRecord> tags;
  ASSERT_EQ(Nymdex_GetTags(engine_, "cat", &tags), kNymdexOk);
  std::string order;
  for (const TagRecord& tag : tags)
    order += static_cast<char>('0' + tag.pos);
  EXPECT_EQ(order, "1111111122");
  EXPECT_EQ(tags[0].text.rfind("feline mammal usually having thick soft fur", 0), 0u);

  EXPECT_EQ(Nymdex_IsWord(engine_, "ice_cream"), 1u);
  EXPECT_EQ(Nymdex_IsWord(engine_, "Ice_Cream"), 1u);
  EXPECT_EQ(Nymdex_IsWord(engine_, "ice cream"), 0u);
  EXPECT_EQ(Nymdex_IsWord(engine_, " "), 0u);
  EXPECT_EQ(Nymdex_IsWord(engine_, ""), 0u);

  // An adjective's antonym pane, all senses ticked, holds every word of each antonym synset:
  // the first adjectives whose antonym synset has more than one word.
  int found = 0;
  for (const std::string& lemma : Ref().lemmas(2)) {
    if (found == 5) break;
    std::vector<RefSense> senses = ExpectedSenses(lemma);
    std::vector<uint32_t> all;
    std::vector<std::string> expected;
    bool wide = false;
    for (uint32_t k = 0; k < senses.size(); ++k) {
      all.push_back(k);
      if (senses[k].pos != 2) continue;
      for (const RefPointer& p : Ref().Synset(2, senses[k].offset).pointers) {
        if (p.symbol != "!") continue;
        const RefSynset& target = Ref().Synset(2, p.offset);
        wide = wide || target.words.size() > 1;
        for (const std::string& w : target.words)
          expected.push_back(Display(w));
      }
    }
    if (!wide) continue;
    ++found;
    std::vector<std::string> pane;
    ASSERT_EQ(Nymdex_GetAntonyms(engine_, lemma.c_str(), &pane, 1, all), kNymdexOk);
    for (const std::string& word : expected) {
      EXPECT_TRUE(std::binary_search(pane.begin(), pane.end(), word)) << lemma << ": " << word;
    }
  }
  EXPECT_EQ(found, 5);
}

// One byte changed inside a complete 512 KiB chunk of the synset or tag file fails start-up
// with 18; the untouched copies start.
TEST_F(CompiledData, ChangedByteFailsTheIntegrityCheck) {
  fs::path folder = fs::temp_directory_path() / ("verbarium-data-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const char* const names[] = {"1001L.dat", "1001W.dat", "1001T.dat"};
  auto start = [&]() {
    NymdexEngine* engine = nullptr;
    uint32_t status =
        Nymdex_StartUp(&engine, (folder / names[0]).c_str(), (folder / names[1]).c_str(),
                       (folder / names[2]).c_str(), nullptr, nullptr);
    if (status == kNymdexOk) Nymdex_ShutDown(&engine);
    return status;
  };
  auto copy_all = [&]() {
    for (const char* name : names) {
      fs::copy_file(kData + "/" + name, folder / name, fs::copy_options::overwrite_existing);
    }
  };
  struct Flip {
    const char* file;
    size_t header;
  };
  for (const Flip& flip : {Flip{"1001L.dat", 176}, Flip{"1001T.dat", 65564}}) {
    SCOPED_TRACE(flip.file);
    ASSERT_GE(fs::file_size(kData + "/" + flip.file), flip.header + 2 * 524288);
    for (size_t at : {flip.header, flip.header + 524288 + 4321, flip.header + 2 * 524288 - 1}) {
      copy_all();
      ASSERT_EQ(start(), kNymdexOk);
      std::fstream file(folder / flip.file, std::ios::in | std::ios::out | std::ios::binary);
      file.seekg(static_cast<std::streamoff>(at));
      char byte = 0;
      file.get(byte);
      file.seekp(static_cast<std::streamoff>(at));
      file.put(static_cast<char>(byte ^ 0x40));
      file.close();
      EXPECT_EQ(start(), kNymdexCorrupt) << "byte " << at;
    }
  }
  fs::remove_all(folder);
}

// ---- Agreement with the wordnet package's own browser ----

std::string WnPath() {
  for (const char* path : {"/usr/bin/wn", "/usr/local/bin/wn"}) {
    if (::access(path, X_OK) == 0) return path;
  }
  return "";
}

std::string Capture(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    out.append(buffer, got);
  ::pclose(pipe);
  return out;
}

std::vector<std::string> SplitWords(const std::string& text) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(", ", start);
    if (comma == std::string::npos) comma = text.size();
    std::string word = text.substr(start, comma - start);
    size_t vs = word.find(" (vs. ");  // head adjectives name their antonym
    if (vs != std::string::npos) word.erase(vs);
    if (!word.empty()) words.push_back(Lower(word));
    start = comma + 2;
  }
  return words;
}

// One relation block of the browser's output: per sense number (from 1), the words of the
// direct relation lines.
using SenseWords = std::map<int, std::vector<std::string>>;
struct WnAnswer {
  std::map<std::string, SenseWords> relations;  // "noun Hypernyms" -> senses
  struct OverviewSense {
    int count;
    std::vector<std::string> words;
    std::string gloss;
  };
  std::map<std::string, std::vector<OverviewSense>> overview;  // "noun" -> senses in order
};

// "<title> of <pos> <word>", the heading of one search's answer.
bool ParseHeading(const std::string& line, std::string* title, std::string* pos,
                  std::string* word) {
  if (line.empty() || line[0] == ' ') return false;
  for (const char* p : {"noun", "verb", "adj", "adv"}) {
    std::string marker = std::string(" of ") + p + " ";
    size_t at = line.rfind(marker);
    if (at == std::string::npos) continue;
    std::string rest = line.substr(at + marker.size());
    if (rest.empty() || rest.find(' ') != std::string::npos) continue;
    *title = line.substr(0, at);
    *pos = p;
    *word = rest;
    return true;
  }
  return false;
}

WnAnswer AskWn(const std::string& wn, const std::string& lemma) {
  // Headings of the searches asked for, and the prefixes of their direct lines.
  struct Search {
    const char* heading;
    const char* relation;
    std::vector<std::string> prefixes;
  };
  static const Search kSearches[] = {
      {"Overview", "", {}},
      {"Synonyms/Hypernyms (Ordered by Estimated Frequency)",
       "Hypernyms",
       {"       => ", "       INSTANCE OF=> "}},
      {"Hyponyms", "Hyponyms", {"       => ", "       HAS INSTANCE=> "}},
      {"Troponyms (hyponyms)", "Hyponyms", {"       => "}},
      {"Antonyms", "Antonyms", {"      =>"}},
      {"Meronyms",
       "Meronyms",
       {"          HAS MEMBER: ", "          HAS SUBSTANCE: ", "          HAS PART: "}},
      {"Holonyms",
       "Holonyms",
       {"          MEMBER OF: ", "          SUBSTANCE OF: ", "          PART OF: "}},
      {"Attributes", "Attributes", {"       => "}},
      {"Entailment", "Entailment", {"       => "}},
      {"'Cause To'", "Cause", {"       => "}},
  };
  std::string quoted;
  for (char c : lemma)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  std::string text = Capture("'" + wn + "' '" + quoted +
                             "' -over -hypen -hypon -antsn -meron -holon -attrn -hypev -hypov "
                             "-antsv -entav -causv -attra -antsr 2>/dev/null");
  WnAnswer answer;
  std::istringstream lines(text);
  std::string line, title, pos, word;
  const Search* search = nullptr;  // the search being read, null in another word's answer
  SenseWords* senses = nullptr;
  int sense = 0;
  bool active = true;
  while (std::getline(lines, line)) {
    if (ParseHeading(line, &title, &pos, &word)) {
      const Search* found = nullptr;
      for (const Search& s : kSearches) {
        if (title == s.heading) found = &s;
      }
      if (found != nullptr) {
        // Answers for base forms of the word belong to other words.
        search = word == lemma ? found : nullptr;
        active = true;
        if (search != nullptr && *search->relation != 0) {
          senses = &answer.relations[pos + " " + search->relation];
        }
        continue;
      }
    }
    if (search == nullptr) continue;
    // Spelling variants (rough-house, roughhouse) follow under the same heading, introduced
    // by "The verb roughhouse has 1 sense" or "1 sense of roughhouse".
    if (line.rfind("The ", 0) == 0 && line.find(" has ") != std::string::npos) {
      size_t start = line.find(' ', 4) + 1;
      active = Display(line.substr(start, line.find(" has ") - start)) == Display(lemma);
      continue;
    }
    size_t digits = line.find_first_not_of("0123456789");
    if (digits > 0 && digits != std::string::npos && line.compare(digits, 2, ". ") != 0) {
      // "8 senses of cat", "3 of 8 senses of cat", "1 sense of snore"
      size_t at = line.find(" of ", line.find(" sense"));
      if (at != std::string::npos) active = Display(Trim(line.substr(at + 4))) == Display(lemma);
      continue;
    }
    if (!active) continue;
    if (*search->relation == 0) {
      // "N. (count) words -- (gloss)"
      size_t dot = line.find(". ");
      size_t dash = line.find(" -- (");
      if (line.empty() || !std::isdigit(static_cast<unsigned char>(line[0])) ||
          dot == std::string::npos || dash == std::string::npos) {
        continue;
      }
      WnAnswer::OverviewSense s{0, {}, ""};
      std::string words = line.substr(dot + 2, dash - dot - 2);
      if (!words.empty() && words[0] == '(') {
        size_t close = words.find(") ");
        s.count = std::stoi(words.substr(1, close - 1));
        words = words.substr(close + 2);
      }
      s.words = SplitWords(words);
      s.gloss = line.substr(dash + 5);
      if (!s.gloss.empty() && s.gloss.back() == ')') s.gloss.pop_back();
      answer.overview[pos].push_back(s);
      continue;
    }
    if (line.rfind("Sense ", 0) == 0) {
      sense = std::stoi(line.substr(6));
      (*senses)[sense];
      continue;
    }
    for (const std::string& prefix : search->prefixes) {
      if (line.rfind(prefix, 0) != 0) continue;
      for (std::string& w : SplitWords(line.substr(prefix.size())))
        (*senses)[sense].push_back(w);
    }
  }
  return answer;
}

TEST_F(CompiledData, AgreesWithTheWordNetBrowser) {
  std::string wn = WnPath();
  if (wn.empty()) GTEST_SKIP() << "the wordnet package's wn command is not installed";
  static const char* const kPosNames[4] = {"noun", "verb", "adj", "adv"};
  size_t compared = 0;
  for (const std::string& lemma : Sample(30)) {
    SCOPED_TRACE(lemma);
    WnAnswer answer = AskWn(wn, lemma);
    std::vector<RefSense> senses = ExpectedSenses(lemma);
    std::vector<TagRecord> tags;
    SenseList list;
    ASSERT_EQ(Nymdex_GetTags(engine_, lemma.c_str(), &tags), kNymdexOk);
    ASSERT_EQ(Nymdex_GetSenses(engine_, lemma.c_str(), &list), kNymdexOk);
    uint32_t first = 0;  // engine sense number of this part of speech's first sense
    for (int pos = 0; pos < 4; ++pos) {
      size_t count = Ref().index().at(lemma)[pos].size();
      const auto& overview = answer.overview[kPosNames[pos]];
      ASSERT_EQ(overview.size(), count) << kPosNames[pos];
      for (size_t n = 0; n < count; ++n) {
        uint32_t k = first + static_cast<uint32_t>(n);
        SCOPED_TRACE(std::string(kPosNames[pos]) + " sense " + std::to_string(n + 1));
        EXPECT_EQ(tags[k].text, overview[n].gloss);
        EXPECT_EQ(SenseFrequency(list.entries[k]),
                  static_cast<uint32_t>(std::min(overview[n].count, 255)));
        std::vector<std::string> synonyms;
        Nymdex_GetSynonyms(engine_, lemma.c_str(), &synonyms, 1, {k});
        EXPECT_EQ(synonyms, SortedUnique(overview[n].words));
        ++compared;
      }
      for (const auto& [key, by_sense] : answer.relations) {
        if (key.rfind(std::string(kPosNames[pos]) + " ", 0) != 0) continue;
        std::string relation = key.substr(key.find(' ') + 1);
        const NymdexRelation* r = nullptr;
        for (const NymdexRelation& candidate : kNymdexRelations) {
          if (relation == candidate.name) r = &candidate;
        }
        ASSERT_NE(r, nullptr) << relation;
        for (size_t n = 0; n < count; ++n) {
          uint32_t k = first + static_cast<uint32_t>(n);
          auto it = by_sense.find(static_cast<int>(n + 1));
          std::vector<std::string> theirs =
              it == by_sense.end() ? std::vector<std::string>() : SortedUnique(it->second);
          std::vector<std::string> ours = Related(*r, lemma, k);
          if (relation == "Antonyms") {
            // The browser lists the antonyms of this word; the panes those of its whole synset.
            EXPECT_TRUE(std::includes(ours.begin(), ours.end(), theirs.begin(), theirs.end()))
                << key << " sense " << n + 1;
          } else {
            EXPECT_EQ(ours, theirs) << key << " sense " << n + 1;
          }
          ++compared;
        }
      }
      first += static_cast<uint32_t>(count);
    }
  }
  RecordProperty("answers_compared", static_cast<int>(compared));
}

}  // namespace
