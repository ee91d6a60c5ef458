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
#include "tests/support/scratch_folder.h"

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
  // For sense keys: the words in lower case with their "_", their lexical identifiers, the
  // lexicographer file and whether the synset is a satellite.
  std::vector<std::string> lemmas;
  std::vector<int> lex_ids;
  int lex_file = 0;
  bool satellite = false;
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
    int count = 0, lex_id = 0;
    std::string type;
    fields >> own >> synset.lex_file >> type >> std::hex >> count >> std::dec;
    synset.satellite = type == "s";
    EXPECT_EQ(own, offset) << kPosName[pos];
    for (int i = 0; i < count; ++i) {
      fields >> word >> std::hex >> lex_id >> std::dec;
      for (std::string marker : {"(a)", "(p)", "(ip)"}) {
        if (word.ends_with(marker)) word.resize(word.size() - marker.size());
      }
      synset.words.push_back(Display(word));
      std::transform(word.begin(), word.end(), word.begin(), ::tolower);
      synset.lemmas.push_back(word);
      synset.lex_ids.push_back(lex_id);
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

// The tag counts of cntlist.rev by sense key.
const std::map<std::string, long>& TagCounts() {
  static const std::map<std::string, long>* counts = [] {
    auto* read = new std::map<std::string, long>;
    std::ifstream in(kWordNet + "/cntlist.rev");
    std::string key;
    long sense = 0, count = 0;
    while (in >> key >> sense >> count)
      (*read)[key] += count;
    return read;
  }();
  return *counts;
}

// The sense key of `lemma` in a synset: lemma%type:lex_file:lex_id:head:head_id, a satellite
// naming the first word of the synset its "&" pointer leads to.
std::string SenseKey(const std::string& lemma, int pos, long offset) {
  const RefSynset& synset = Ref().Synset(pos, offset);
  const size_t w =
      std::find(synset.lemmas.begin(), synset.lemmas.end(), lemma) - synset.lemmas.begin();
  if (w == synset.lemmas.size()) return "";
  char key[64];
  std::snprintf(key, sizeof key, "%%%d:%02d:%02d:", synset.satellite ? 5 : pos + 1, synset.lex_file,
                synset.lex_ids[w]);
  std::string head = ":";
  for (const auto& [symbol, target_pos, target] : synset.pointers) {
    if (!synset.satellite || symbol != "&") continue;
    const RefSynset& head_synset = Ref().Synset(target_pos, target);
    char id[8];
    std::snprintf(id, sizeof id, ":%02d", head_synset.lex_ids[0]);
    head = head_synset.lemmas[0] + id;
    break;
  }
  return lemma + key + head;
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
  return Nymdex_StartUp(engine, (folder + "/" + program::kSynsetFile).c_str(),
                        (folder + "/" + program::kWordIndexFile).c_str(),
                        (folder + "/" + program::kTagFile).c_str(), nullptr, nullptr);
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

TEST_F(CompiledData, EveryLemmaIsFoundInAnyCase) {
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

TEST_F(CompiledData, SampledSensesMatchTheWordNetFiles) {
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

// One byte changed inside a complete 512 KiB chunk of the synset or tag file, in the first or
// a later chunk, fails start-up with 18; the untouched copies start.
TEST_F(CompiledData, ChangedByteFailsTheIntegrityCheck) {
  test_support::ScratchFolder copies;
  const std::string folder = copies.path().string();
  for (const char* name : {program::kSynsetFile, program::kWordIndexFile, program::kTagFile})
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
}

// A sense's frequency is the tag count of its sense key, capped.
TEST_F(CompiledData, FrequenciesAreTheTagCountsOfTheSenseKeys) {
  size_t counted = 0;
  for (const std::string& lemma : Sample(40)) {
    SCOPED_TRACE(lemma);
    SenseList list;
    ASSERT_EQ(Nymdex_GetSenses(engine_, lemma.c_str(), &list), kNymdexOk);
    uint32_t k = 0;
    for (int pos = 0; pos < 4; ++pos) {
      for (long offset : Ref().index.at(lemma)[pos]) {
        ASSERT_LT(k, list.entries.size());
        const auto it = TagCounts().find(SenseKey(lemma, pos, offset));
        const long count = it == TagCounts().end() ? 0 : it->second;
        counted += count > 0;
        EXPECT_EQ(SenseFrequency(list.entries[k++]), std::min(count, 255L)) << offset;
      }
    }
  }
  EXPECT_GT(counted, 50u);
}

}  // namespace
