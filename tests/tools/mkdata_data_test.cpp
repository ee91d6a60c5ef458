// The compiled Data/ against the WordNet files it came from. The expected answers come from a
// small reader of this file's own: it seeks to each synset's byte offset in data.<pos> and
// splits the line into fields, independently of the compiler's reader.
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
#include <tuple>
#include <vector>

#include "engine/data_format.h"
#include "engine/md5.h"
#include "engine/nymdex.h"
#include "platform/program_names.h"

namespace {

namespace fs = std::filesystem;

const std::string kData = VERBARIUM_DATA_DIR;
const std::string kWordNet = VERBARIUM_WORDNET_DIR;
const char* const kPosName[4] = {"noun", "verb", "adj", "adv"};

// Lower case, "_" shown as a space: how related words come back.
std::string Display(std::string word) {
  for (char& c : word)
    c = c == '_' ? ' ' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return word;
}

std::vector<std::string> SortedUnique(std::vector<std::string> words) {
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  return words;
}

struct RefSynset {
  std::vector<std::string> words;  // as displayed, adjective markers removed
  std::vector<std::tuple<std::string, int, long>> pointers;  // symbol, pos 0 to 3, offset
  std::string gloss;
};

// The reference reader: index lines read whole, synsets read on demand at their offsets.
struct Reference {
  std::map<std::string, std::array<std::vector<long>, 4>> index;  // lemma -> offsets per pos
  std::vector<std::string> lemmas[4];
  std::map<std::pair<int, long>, RefSynset> synsets;

  Reference() {
    for (int pos = 0; pos < 4; ++pos) {
      std::ifstream in(kWordNet + "/index." + kPosName[pos]);
      std::string line, lemma, field;
      while (std::getline(in, line)) {
        if (line.empty() || line[0] == ' ') continue;
        std::istringstream fields(line);
        int pointers = 0;
        fields >> lemma >> field >> field >> pointers;
        for (int i = 0; i < pointers + 2; ++i)  // symbols, sense count, tagged sense count
          fields >> field;
        for (long offset = 0; fields >> offset;)
          index[lemma][pos].push_back(offset);
        lemmas[pos].push_back(lemma);
      }
    }
  }

  const RefSynset& Synset(int pos, long offset) {
    auto [it, added] = synsets.try_emplace({pos, offset});
    RefSynset& synset = it->second;
    if (!added) return synset;
    std::ifstream in(kWordNet + "/data." + kPosName[pos]);
    in.seekg(offset);
    std::string line, field, word, letter;
    std::getline(in, line);
    size_t bar = line.find(" | ");
    size_t first = line.find_first_not_of(' ', bar + 3);
    synset.gloss = line.substr(first, line.find_last_not_of(' ') + 1 - first);
    std::istringstream fields(line.substr(0, bar));
    long own = -1, target = 0;
    int count = 0;
    fields >> own >> field >> field >> std::hex >> count >> std::dec;
    EXPECT_EQ(own, offset) << kPosName[pos];
    for (int i = 0; i < count; ++i) {
      fields >> word >> field;
      for (std::string marker : {"(a)", "(p)", "(ip)"}) {
        if (word.ends_with(marker)) word.resize(word.size() - marker.size());
      }
      synset.words.push_back(Display(word));
    }
    fields >> count;
    for (int i = 0; i < count; ++i) {
      fields >> word >> target >> letter >> field;
      int target_pos = static_cast<int>(std::string("nvasr").find(letter));
      synset.pointers.emplace_back(word, target_pos < 3 ? target_pos : target_pos - 1, target);
    }
    return synset;
  }
};

Reference& Ref() {
  static Reference* reference = new Reference();
  return *reference;
}

// Per part of speech of the synset: the pointer symbols each relation follows.
const char* const kSymbols[4] = {
    " !=Antonyms @=Hypernyms @i=Hypernyms #m=Holonyms #s=Holonyms #p=Holonyms ~=Hyponyms "
    "~i=Hyponyms %m=Meronyms %s=Meronyms %p=Meronyms ==Attributes +=DRF ;c=DSC -c=MDC ;r=DSR "
    "-r=MDR ;u=DSU -u=MDU ",
    " !=Antonyms @=Hypernyms ~=Hyponyms +=DRF ;c=DSC ;r=DSR ;u=DSU *=Entailment >=Cause "
    "$=VerbGroup ",
    " !=Antonyms ==Attributes &=Similar ^=SeeAlso ;c=DSC ;r=DSR ;u=DSU <=Participle "
    "\\=Pertainym ",
    " !=Antonyms \\=Derived ;c=DSC ;r=DSR ;u=DSU ",
};

std::vector<std::string> ExpectedRelated(const std::string& relation, int pos, long offset) {
  const RefSynset& synset = Ref().Synset(pos, offset);
  std::vector<std::string> words;
  if (relation == "Synonyms") words = synset.words;
  for (const auto& [symbol, target_pos, target] : synset.pointers) {
    if (std::strstr(kSymbols[pos], (" " + symbol + "=" + relation + " ").c_str()) == nullptr)
      continue;
    const std::vector<std::string>& targets = Ref().Synset(target_pos, target).words;
    words.insert(words.end(), targets.begin(), targets.end());
  }
  return SortedUnique(words);
}

// Lemmas spread over each index file, plus a few a reader checks first.
std::vector<std::string> Sample(size_t per_pos) {
  std::set<std::string> sample = {"cat", "good", "well", "run", "einstein", "ice_cream", "fast"};
  for (int pos = 0; pos < 4; ++pos) {
    const auto& lemmas = Ref().lemmas[pos];
    size_t step = std::max<size_t>(1, lemmas.size() / per_pos);
    for (size_t i = step / 2; i < lemmas.size(); i += step)
      sample.insert(lemmas[i]);
  }
  return std::vector<std::string>(sample.begin(), sample.end());
}

uint32_t StartUp(const std::string& folder, NymdexEngine** engine) {
  return Nymdex_StartUp(engine, (folder + "/1001L.dat").c_str(), (folder + "/1001W.dat").c_str(),
                        (folder + "/1001T.dat").c_str(), nullptr, nullptr);
}

class CompiledData : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(StartUp(kData, &engine_), kNymdexOk); }
  static void TearDownTestSuite() {
    if (engine_ != nullptr) Nymdex_ShutDown(&engine_);
  }
  void SetUp() override { ASSERT_NE(engine_, nullptr); }

  static NymdexEngine* engine_;
};
NymdexEngine* CompiledData::engine_ = nullptr;

TEST_F(CompiledData, EveryLemmaIsFoundInAnyCaseAndResolvesBack) {
  size_t failures = 0;
  char stored[1024];
  for (const auto& [lemma, offsets] : Ref().index) {
    std::string upper = lemma;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    int32_t id = Nymdex_GetIdFromWord(engine_, lemma.c_str());
    bool ok = id > 0 && Nymdex_GetIdFromWord(engine_, upper.c_str()) == id &&
              Nymdex_GetWordFromID(engine_, static_cast<uint32_t>(id), stored) == 1 &&
              Display(stored) == Display(lemma);
    if (!ok && ++failures <= 10) ADD_FAILURE() << lemma << " (id " << id << ")";
  }
  EXPECT_EQ(failures, 0u);
  EXPECT_EQ(Nymdex_GetEntryRegion(engine_).count, Ref().index.size() + 1);  // and the sentinel
}

TEST_F(CompiledData, SampledSensesAndRelationsMatchTheWordNetFiles) {
  std::vector<std::string> sample = Sample(130);
  ASSERT_GE(sample.size(), 500u);
  size_t wide_antonyms = 0;  // adjective senses whose antonym synsets hold several words
  for (const std::string& lemma : sample) {
    SCOPED_TRACE(lemma);
    std::vector<std::pair<int, long>> senses;  // engine order: nouns, verbs, adjectives, adverbs
    for (int pos = 0; pos < 4; ++pos) {
      for (long offset : Ref().index.at(lemma)[pos])
        senses.emplace_back(pos, offset);
    }
    std::vector<TagRecord> tags;
    ASSERT_EQ(Nymdex_GetTags(engine_, lemma.c_str(), &tags), kNymdexOk);
    ASSERT_EQ(tags.size(), senses.size());
    for (uint32_t k = 0; k < senses.size(); ++k) {
      SCOPED_TRACE("sense " + std::to_string(k));
      const auto [pos, offset] = senses[k];
      EXPECT_EQ(tags[k].pos, static_cast<uint32_t>(pos + 1));
      EXPECT_EQ(tags[k].text, Ref().Synset(pos, offset).gloss);
      for (const NymdexRelation& relation : kNymdexRelations) {
        std::vector<std::string> expected = ExpectedRelated(relation.name, pos, offset), words;
        EXPECT_EQ(relation.get(engine_, lemma.c_str(), &words, 1, {k}), kNymdexOk);
        EXPECT_EQ(words, expected) << relation.name;
        size_t least = std::string(relation.name) == "Synonyms" ? 2 : 1;
        EXPECT_EQ(relation.has(engine_, lemma.c_str(), {k}), expected.size() >= least ? 1 : 0)
            << relation.name;
        wide_antonyms += pos == 2 && relation.get == Nymdex_GetAntonyms && expected.size() > 1;
      }
    }
  }
  EXPECT_GE(wide_antonyms, 5u);
}

TEST_F(CompiledData, WhatAUserChecksFirst) {
  // cat: eight noun senses, then two verb senses.
  std::vector<TagRecord> tags;
  ASSERT_EQ(Nymdex_GetTags(engine_, "cat", &tags), kNymdexOk);
  std::string order;
  for (const TagRecord& tag : tags)
    order += static_cast<char>('0' + tag.pos);
  EXPECT_EQ(order, "1111111122");
  EXPECT_EQ(Nymdex_IsWord(engine_, "Ice_Cream"), 1u);
  EXPECT_EQ(Nymdex_IsWord(engine_, "ice cream"), 0u);
}

// One byte changed inside a complete 512 KiB chunk of the synset or tag file, in the first or
// a later chunk, fails start-up with 18; the untouched copies start.
TEST_F(CompiledData, ChangedByteFailsTheIntegrityCheck) {
  std::string folder = fs::temp_directory_path() / ("verbarium-data-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  for (const char* name : {"1001L.dat", "1001W.dat", "1001T.dat"})
    fs::copy_file(kData + "/" + name, folder + "/" + name, fs::copy_options::overwrite_existing);
  auto flip = [&](const char* name, size_t at) {
    std::fstream file(folder + "/" + name, std::ios::in | std::ios::out | std::ios::binary);
    file.seekg(static_cast<std::streamoff>(at));
    char byte = static_cast<char>(file.get() ^ 0x40);
    file.seekp(static_cast<std::streamoff>(at));
    file.put(byte);
  };
  NymdexEngine* engine = nullptr;
  constexpr size_t kChunk = engine::kFileDigestChunk;
  for (auto [file, header] : {std::pair(program::kSynsetFile, nymdex::kSynsetHeaderSize),
                              std::pair(program::kTagFile, nymdex::kTagHeaderSize)}) {
    ASSERT_GE(fs::file_size(folder + "/" + file), header + 2 * kChunk);
    for (size_t at : {header, header + kChunk + 4321, header + 2 * kChunk - 1}) {
      SCOPED_TRACE(std::string(file) + " byte " + std::to_string(at));
      flip(file, at);
      EXPECT_EQ(StartUp(folder, &engine), kNymdexCorrupt);
      flip(file, at);
    }
  }
  EXPECT_EQ(StartUp(folder, &engine), kNymdexOk);
  Nymdex_ShutDown(&engine);
  fs::remove_all(folder);
}

// The wordnet package's browser: its overview of a word lists, per part of speech after "The
// noun cat has 8 senses", the senses as "N. (tag count) words -- (gloss)". Tag counts are
// checked only here: the reference reader does not compute sense keys.
TEST_F(CompiledData, AgreesWithTheWordNetBrowser) {
  if (std::system("command -v wn >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "the wordnet package's wn command is not installed";
  }
  for (const std::string& lemma : Sample(20)) {
    if (lemma.find('\'') != std::string::npos) continue;
    SCOPED_TRACE(lemma);
    std::string text;
    FILE* pipe = ::popen(("wn '" + lemma + "' -over 2>/dev/null").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    for (int c; (c = std::fgetc(pipe)) != EOF;)
      text += static_cast<char>(c);
    ::pclose(pipe);
    std::vector<TagRecord> tags;
    SenseList list;
    ASSERT_EQ(Nymdex_GetTags(engine_, lemma.c_str(), &tags), kNymdexOk);
    ASSERT_EQ(Nymdex_GetSenses(engine_, lemma.c_str(), &list), kNymdexOk);
    uint32_t k = 0;
    for (int pos = 0; pos < 4; ++pos) {
      size_t at = text.find("The " + std::string(kPosName[pos]) + " " + Display(lemma) + " has ");
      size_t count = Ref().index.at(lemma)[pos].size();
      ASSERT_EQ(at == std::string::npos, count == 0) << kPosName[pos];
      for (size_t n = 1; n <= count; ++n, ++k) {
        at = text.find("\n" + std::to_string(n) + ". ", at);
        ASSERT_NE(at, std::string::npos);
        ASSERT_LT(k, tags.size());
        std::string line = text.substr(at + 1, text.find('\n', at + 1) - at - 1);
        size_t words = line.find(' ') + 1, dash = line.find(" -- (");
        uint32_t tagged = line[words] == '(' ? std::stoi(line.substr(words + 1)) : 0;
        EXPECT_EQ(SenseFrequency(list.entries[k]), std::min(tagged, 255u)) << line;
        EXPECT_EQ(line.substr(dash), " -- (" + tags[k].text + ")");
      }
    }
    EXPECT_EQ(k, tags.size());
  }
}

}  // namespace
