// The lexical engine over synthetic files of the real dictionary's size: 150,000 words,
// 120,000 synsets with pointers and glosses. Start-up, word lookups, and a full lookup's
// queries (tags, then the 22 Has and Get calls) for a word of 8 senses.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/nymdex.h"
#include "engine/text_helpers.h"
#include "platform/program_names.h"
#include "tools/datafile_writer.h"

namespace {

using datafiles::Lexicon;

constexpr int kWords = 150000;
constexpr int kSynsets = 120000;
constexpr const char kBenchWord[] = "benchword";

std::string RandomWord(std::mt19937* random) {
  static const char kLetters[] = "eeeeeaaaiiooonnrrttsslcdumhgpbfywkvxzjq";
  std::uniform_int_distribution<int> length(3, 17);
  std::string word;
  int n = length(*random);
  for (int i = 0; i < n; ++i) {
    if (i > 2 && i + 2 < n && (*random)() % 12 == 0) {
      word += '_';
    } else {
      word += kLetters[(*random)() % (sizeof(kLetters) - 1)];
    }
  }
  if ((*random)() % 20 == 0) word[0] = static_cast<char>(word[0] - 'a' + 'A');
  return word;
}

bool FoldedLess(const std::string& a, const std::string& b) {
  return engine::CompareIgnoringAsciiCase(a, b) < 0;
}

bool FoldedEqual(const std::string& a, const std::string& b) {
  return engine::CompareIgnoringAsciiCase(a, b) == 0;
}

uint8_t PosOf(int synset) {
  // WordNet's proportions: most synsets are nouns.
  int share = synset % 100;
  return share < 68 ? 1 : share < 80 ? 2 : share < 97 ? 3 : 4;
}

uint8_t RandomType(uint8_t pos, std::mt19937* random) {
  static const uint8_t kFirst[4] = {1, 18, 29, 38};
  static const uint8_t kCount[4] = {17, 11, 9, 5};
  // Hypernyms and hyponyms dominate noun and verb pointers.
  if (pos <= 2 && (*random)() % 2 == 0)
    return pos == 1 ? 2 + (*random)() % 2 : 19 + (*random)() % 2;
  return static_cast<uint8_t>(kFirst[pos - 1] + (*random)() % kCount[pos - 1]);
}

std::string RandomGloss(std::mt19937* random) {
  static const char* kVocabulary[] = {"a",     "the",    "of",    "to",     "in",     "or",
                                      "that",  "used",   "small", "person", "having", "quality",
                                      "act",   "state",  "plant", "genus",  "family", "any",
                                      "with",  "water",  "large", "make",   "become", "cause",
                                      "being", "animal", "form",  "body",   "part",   "process"};
  std::string gloss;
  size_t target = 30 + (*random)() % 130;
  while (gloss.size() < target) {
    if (!gloss.empty()) gloss += ' ';
    gloss += kVocabulary[(*random)() % 30];
  }
  if ((*random)() % 2 == 0) gloss += "; \"an example of its use\"";
  return gloss;
}

Lexicon MakeLexicon() {
  std::mt19937 random(2024);
  std::vector<std::string> texts;
  texts.push_back(kBenchWord);
  while (texts.size() < kWords * 11 / 10)
    texts.push_back(RandomWord(&random));
  std::sort(texts.begin(), texts.end(), FoldedLess);
  texts.erase(std::unique(texts.begin(), texts.end(), FoldedEqual), texts.end());
  std::shuffle(texts.begin(), texts.end(), random);
  auto bench = std::find(texts.begin(), texts.end(), kBenchWord);
  std::swap(*bench, texts.front());
  texts.resize(kWords);
  std::sort(texts.begin(), texts.end(), FoldedLess);

  Lexicon lexicon;
  lexicon.words.push_back({"!", {}});
  for (const std::string& text : texts)
    lexicon.words.push_back({text, {}});
  const uint32_t bench_id =
      static_cast<uint32_t>(std::find(texts.begin(), texts.end(), kBenchWord) - texts.begin() + 1);

  lexicon.synsets.resize(kSynsets);
  std::vector<uint32_t> order(kWords);
  for (uint32_t i = 0; i < kWords; ++i)
    order[i] = i + 1;
  std::shuffle(order.begin(), order.end(), random);
  size_t next = 0;
  for (int s = 0; s < kSynsets; ++s) {
    datafiles::SynsetSpec& synset = lexicon.synsets[s];
    synset.pos = PosOf(s);
    int words = 1 + (random() % 8 == 0) + (random() % 4 == 0);
    for (int w = 0; w < words; ++w) {
      uint32_t id = next < order.size() ? order[next++] : 1 + random() % kWords;
      if (id == bench_id) id = 1 + (id % kWords);
      if (std::find(synset.words.begin(), synset.words.end(), id) != synset.words.end()) continue;
      synset.words.push_back(id);
    }
    int pointers = 1 + random() % 5;
    if (s % 500 == 0) pointers = 200;  // a few hubs with long hyponym lists
    for (int p = 0; p < pointers; ++p) {
      uint32_t target = random() % kSynsets;
      synset.pointers.push_back({RandomType(synset.pos, &random), target});
    }
    synset.gloss = RandomGloss(&random);
  }
  // Every word so far left out of a synset joins one.
  for (; next < order.size(); ++next) {
    uint32_t id = order[next];
    if (id == bench_id) continue;
    lexicon.synsets[random() % kSynsets].words.push_back(id);
  }
  // The benchmark word: 8 senses (4 nouns, 2 verbs, an adjective, an adverb), 12 pointers each.
  const uint8_t kBenchPos[8] = {1, 1, 1, 1, 2, 2, 3, 4};
  for (int k = 0; k < 8; ++k) {
    int s = 1000 + 97 * k;
    while (PosOf(s) != kBenchPos[k])
      ++s;
    datafiles::SynsetSpec& synset = lexicon.synsets[s];
    synset.words.push_back(bench_id);
    synset.pointers.clear();
    for (int p = 0; p < 12; ++p)
      synset.pointers.push_back({RandomType(synset.pos, &random), uint32_t(random() % kSynsets)});
  }
  for (uint32_t s = 0; s < kSynsets; ++s) {
    datafiles::SynsetSpec& synset = lexicon.synsets[s];
    if (synset.words.size() > 255) synset.words.resize(255);
    for (uint32_t id : synset.words) {
      auto& senses = lexicon.words[id].senses[synset.pos - 1];
      if (senses.size() < 255) senses.push_back({s, static_cast<uint8_t>(random() % 8)});
    }
  }
  return lexicon;
}

struct Files {
  std::filesystem::path dir;
  std::string synsets, words, tags;
  std::vector<std::string> probe_words;
  size_t decoded_index = 0;
  double build_seconds = 0;
  bool ok = false;

  Files() {
    dir = std::filesystem::temp_directory_path() / ("bench_nymdex_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    synsets = (dir / program::kSynsetFile).string();
    words = (dir / program::kWordIndexFile).string();
    tags = (dir / program::kTagFile).string();
    Lexicon lexicon = MakeLexicon();
    datafiles::DataFileImages images;
    std::string error;
    auto start = std::chrono::steady_clock::now();
    if (!datafiles::BuildDataFiles(lexicon, &images, &error)) {
      std::fprintf(stderr, "BuildDataFiles: %s\n", error.c_str());
      return;
    }
    build_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    decoded_index = images.word_index_decoded;
    ok = datafiles::WriteFileAtomically(synsets, images.synsets, &error) &&
         datafiles::WriteFileAtomically(words, images.word_index, &error) &&
         datafiles::WriteFileAtomically(tags, images.tags, &error);
    std::mt19937 random(9);
    for (int i = 0; i < 1024; ++i) {
      probe_words.push_back(i % 8 == 7 ? RandomWord(&random)
                                       : lexicon.words[1 + random() % kWords].text);
    }
    std::fprintf(stderr,
                 "files: synsets %zu bytes, word index %zu bytes (%zu decoded), tags %zu bytes in "
                 "%u blocks; BuildDataFiles %.2f s\n",
                 images.synsets.size(), images.word_index.size(), decoded_index, images.tags.size(),
                 images.tag_blocks, build_seconds);
  }
  ~Files() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
};

const Files& TheFiles() {
  static Files files;
  return files;
}

NymdexEngine* Start(benchmark::State& state) {
  const Files& files = TheFiles();
  NymdexEngine* engine = nullptr;
  if (!files.ok || Nymdex_StartUp(&engine, files.synsets.c_str(), files.words.c_str(),
                                  files.tags.c_str(), nullptr, nullptr) != kNymdexOk) {
    state.SkipWithError("start-up failed");
    return nullptr;
  }
  return engine;
}

void BM_StartUp(benchmark::State& state) {
  TheFiles();  // built once, outside the timing
  for (auto _ : state) {
    NymdexEngine* engine = Start(state);
    if (engine == nullptr) return;
    Nymdex_ShutDown(&engine);
  }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

void BM_GetIdFromWord(benchmark::State& state) {
  NymdexEngine* engine = Start(state);
  if (engine == nullptr) return;
  const auto& words = TheFiles().probe_words;
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Nymdex_GetIdFromWord(engine, words[i++ & 1023].c_str()));
  }
  Nymdex_ShutDown(&engine);
}
BENCHMARK(BM_GetIdFromWord);

void BM_GetWordFromID(benchmark::State& state) {
  NymdexEngine* engine = Start(state);
  if (engine == nullptr) return;
  char word[kMaxWordLength + 1];
  uint32_t id = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Nymdex_GetWordFromID(engine, id, word));
    id = (id * 7919 + 13) % kWords + 1;
  }
  Nymdex_ShutDown(&engine);
}
BENCHMARK(BM_GetWordFromID);

// What one lookup asks of the engine for a word of 8 senses, all ticked.
void BM_TagsAndAllRelations(benchmark::State& state) {
  NymdexEngine* engine = Start(state);
  if (engine == nullptr) return;
  const std::vector<uint32_t> senses = {0, 1, 2, 3, 4, 5, 6, 7};
  std::vector<TagRecord> tags;
  std::vector<std::string> words;
  size_t related = 0;
  for (auto _ : state) {
    tags.clear();
    if (Nymdex_GetTags(engine, kBenchWord, &tags) != kNymdexOk || tags.size() != 8) {
      state.SkipWithError("the benchmark word lost its senses");
      break;
    }
    related = 0;
    for (const NymdexRelation& relation : kNymdexRelations) {
      benchmark::DoNotOptimize(relation.has(engine, kBenchWord, senses));
      words.clear();
      relation.get(engine, kBenchWord, &words, 1, senses);
      related += words.size();
    }
    benchmark::DoNotOptimize(related);
  }
  state.counters["related_words"] = static_cast<double>(related);
  Nymdex_ShutDown(&engine);
}
BENCHMARK(BM_TagsAndAllRelations)->Unit(benchmark::kMicrosecond);

// The two halves of the above on their own.
void BM_GetTags(benchmark::State& state) {
  NymdexEngine* engine = Start(state);
  if (engine == nullptr) return;
  std::vector<TagRecord> tags;
  for (auto _ : state) {
    tags.clear();
    benchmark::DoNotOptimize(Nymdex_GetTags(engine, kBenchWord, &tags));
  }
  Nymdex_ShutDown(&engine);
}
BENCHMARK(BM_GetTags)->Unit(benchmark::kMicrosecond);

void BM_AllRelations(benchmark::State& state) {
  NymdexEngine* engine = Start(state);
  if (engine == nullptr) return;
  const std::vector<uint32_t> senses = {0, 1, 2, 3, 4, 5, 6, 7};
  std::vector<std::string> words;
  for (auto _ : state) {
    for (const NymdexRelation& relation : kNymdexRelations) {
      benchmark::DoNotOptimize(relation.has(engine, kBenchWord, senses));
      words.clear();
      relation.get(engine, kBenchWord, &words, 1, senses);
    }
  }
  Nymdex_ShutDown(&engine);
}
BENCHMARK(BM_AllRelations)->Unit(benchmark::kMicrosecond);

// The same over the compiled Data/ when it has been built: start-up, and "dog" (8 senses in
// WordNet 3.0) looked up in full.
NymdexEngine* StartReal(benchmark::State& state) {
  const std::string dir = VERBARIUM_DATA_DIR;
  const std::string synsets = dir + "/1001L.dat", words = dir + "/1001W.dat",
                    tags = dir + "/1001T.dat";
  NymdexEngine* engine = nullptr;
  if (Nymdex_StartUp(&engine, synsets.c_str(), words.c_str(), tags.c_str(), nullptr, nullptr) !=
      kNymdexOk) {
    state.SkipWithError("no compiled Data/ (build the verbarium_data target)");
    return nullptr;
  }
  return engine;
}

void BM_RealStartUp(benchmark::State& state) {
  for (auto _ : state) {
    NymdexEngine* engine = StartReal(state);
    if (engine == nullptr) return;
    Nymdex_ShutDown(&engine);
  }
}
BENCHMARK(BM_RealStartUp)->Unit(benchmark::kMillisecond);

void BM_RealLookupOfDog(benchmark::State& state) {
  NymdexEngine* engine = StartReal(state);
  if (engine == nullptr) return;
  std::vector<TagRecord> tags;
  std::vector<std::string> words;
  Nymdex_GetTags(engine, "dog", &tags);
  std::vector<uint32_t> senses;
  for (uint32_t k = 0; k < tags.size(); ++k)
    senses.push_back(k);
  for (auto _ : state) {
    tags.clear();
    Nymdex_GetTags(engine, "dog", &tags);
    for (const NymdexRelation& relation : kNymdexRelations) {
      benchmark::DoNotOptimize(relation.has(engine, "dog", senses));
      words.clear();
      relation.get(engine, "dog", &words, 1, senses);
    }
  }
  state.counters["senses"] = static_cast<double>(senses.size());
  Nymdex_ShutDown(&engine);
}
BENCHMARK(BM_RealLookupOfDog)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
