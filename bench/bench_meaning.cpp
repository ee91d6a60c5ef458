// The search by meaning on the compiled Data/ (VERBARIUM_DATA_DIR from the environment, else
// the build's): first the figures its goals are stated in, then Google Benchmark timings.
//
// - Quality on the development set (meaning_dev_set.h), plain descriptions and loosely put
//   ones apart: how often the described word is among the first 1, 10 and 100 words; "first
//   word" counts only the first word listed for a description, "any word" any of them.
// - A sense's own definition as the description (letters and spaces only, cut to 200
//   characters at a word): how often one of the sense's words comes first, over 300 senses
//   drawn with a fixed seed, then over 3,000 drawn with it (the 300 first among them), or over
//   every sense with --every-sense. The description's own words are never offered, so a sense
//   whose every word occurs in its definition cannot pass: the figure is also given without
//   them. Misses are told apart: those words, another sense whose definition reads the same
//   (WordNet gives several senses one definition; one of them comes first), and the rest.
// - Speed: each description searched (20 words) against a plain lookup of its word, as
//   batches of the same size; the first search of a session, the index's loading included.
//   Wall and processor time (this thread's), since other work on the machine inflates wall
//   time only.
//
// --verbose lists each description with the rank of its word and the first words found.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/lookup/lookup.h"
#include "app/lookup/senses.h"
#include "app/meaning/meaning_index.h"
#include "app/meaning/meaning_search.h"
#include "bench/data_fixture.h"
#include "bench/meaning_dev_set.h"
#include "engine/nymdex.h"
#include "engine/text_helpers.h"
#include "platform/program_names.h"

namespace {

constexpr int kOwnDefinitionSenses = 300;
constexpr int kLargerDraw = 3000;
constexpr unsigned kOwnDefinitionSeed = 20240611;
constexpr int kTimingRounds = 5;

std::string IndexPath() {
  return bench_data::DataFile(program::kMeaningIndexFile);
}

NymdexEngine* Engine() {
  static NymdexEngine* engine = bench_data::StartEngineOrExit();
  return engine;
}

const meaning::MeaningSearch& Search() {
  static const meaning::MeaningSearch search(Engine(), IndexPath());
  return search;
}

// Seconds of wall time and of this thread's processor time.
struct Clock {
  std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
  double cpu = ThreadSeconds();
  static double ThreadSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
  }
  double WallMs() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall)
        .count();
  }
  double CpuMs() const { return (ThreadSeconds() - cpu) * 1000.0; }
};

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::vector<std::string> Answers(const char* words) {
  std::vector<std::string> answers;
  std::string current;
  for (const char* p = words;; ++p) {
    if (*p == '|' || *p == '\0') {
      answers.push_back(current);
      current.clear();
      if (*p == '\0') break;
    } else {
      current += *p;
    }
  }
  return answers;
}

template <size_t N>
void PrintDevelopmentSet(const meaning_bench::Description (&set)[N], const char* title,
                         bool verbose) {
  const meaning::CustomEntries none;
  const int limits[3] = {1, 10, 100};
  int first_word[3] = {};
  int any_word[3] = {};
  int n = 0;
  for (const meaning_bench::Description& d : set) {
    ++n;
    const meaning::MeaningResult result = Search().Search(d.text, none, 100);
    const std::vector<std::string> answers = Answers(d.words);
    int first_rank = -1;
    int any_rank = -1;
    for (size_t i = 0; i < result.rows.size(); ++i) {
      const std::string& word = result.rows[i].word;
      if (first_rank < 0 && word == answers[0]) first_rank = static_cast<int>(i);
      if (any_rank < 0 && std::find(answers.begin(), answers.end(), word) != answers.end()) {
        any_rank = static_cast<int>(i);
      }
    }
    for (int k = 0; k < 3; ++k) {
      first_word[k] += first_rank >= 0 && first_rank < limits[k];
      any_word[k] += any_rank >= 0 && any_rank < limits[k];
    }
    if (verbose) {
      std::printf("  %4d  %-62s", first_rank < 0 ? -1 : first_rank + 1, d.text);
      for (size_t i = 0; i < 3 && i < result.rows.size(); ++i)
        std::printf("%s%s", i > 0 ? ", " : "", result.rows[i].word.c_str());
      std::printf("\n");
    }
  }
  auto share = [n](int count) { return 100.0 * count / n; };
  std::printf("%s, %d descriptions (goal: top 10 >= 25%%, top 100 > 50%%)\n", title, n);
  std::printf("  first word listed: top 1 %5.1f%%, top 10 %5.1f%%, top 100 %5.1f%%\n",
              share(first_word[0]), share(first_word[1]), share(first_word[2]));
  std::printf("  any word listed:   top 1 %5.1f%%, top 10 %5.1f%%, top 100 %5.1f%%\n",
              share(any_word[0]), share(any_word[1]), share(any_word[2]));
}

// A definition as the description: letters and spaces only, at most 200 characters, cut at a
// word.
std::string LettersOnly(const std::string& definition) {
  std::string text;
  for (char c : definition) {
    if (engine::IsAsciiLetter(c)) {
      text += c;
    } else if (!text.empty() && text.back() != ' ') {
      text += ' ';
    }
  }
  while (!text.empty() && text.back() == ' ')
    text.pop_back();
  if (text.size() > meaning::kMaxDescriptionCharacters) {
    text.resize(meaning::kMaxDescriptionCharacters);
    text.resize(text.rfind(' '));
  }
  return text;
}

// How the senses drawn fared with their own definitions as descriptions.
struct OwnDefinitionCounts {
  int senses = 0;
  int passed = 0;
  int own_words = 0;        // every word of the sense is in its definition: it cannot pass
  int same_definition = 0;  // missed for another sense whose definition reads the same
};

// Draws `senses` senses with the fixed seed (a larger draw begins with the smaller one's senses;
// 0 takes every sense in order) and searches each one's definition.
OwnDefinitionCounts OwnDefinitions(const meaning::MeaningIndex& index, int senses, bool verbose) {
  const meaning::CustomEntries none;
  const meaning::TermNormaliser normaliser(
      [](const std::string& word) { return Nymdex_IsWord(Engine(), word.c_str()) == 1; });
  std::mt19937 random(kOwnDefinitionSeed);
  std::uniform_int_distribution<uint32_t> pick(0, index.sense_count() - 1);
  const int total = senses > 0 ? senses : static_cast<int>(index.sense_count());
  OwnDefinitionCounts counts;
  char stored[kMaxWordLength + 1];
  for (int i = 0; i < total; ++i) {
    const uint32_t sense = senses > 0 ? pick(random) : static_cast<uint32_t>(i);
    std::vector<std::string> words;
    std::string description;
    for (uint32_t e = index.FirstWord(sense); e < index.EndWord(sense); ++e) {
      if (Nymdex_GetWordFromID(Engine(), index.WordId(e), stored) != 1) continue;
      words.push_back(lookup::LowerCase(lookup::ToDisplayForm(stored)));
      TagRecord tag;
      if (description.empty() &&
          Nymdex_GetSenseTag(Engine(), stored, index.SenseNumber(e), &tag) == kNymdexOk) {
        description = LettersOnly(lookup::CutDefinition(tag.text));
      }
    }
    std::set<std::string> own;
    for (const std::string& word : meaning::SplitWords(description)) {
      own.insert(word);
      own.insert(normaliser.Term(word));
    }
    const bool can_pass = std::any_of(words.begin(), words.end(), [&](const std::string& w) {
      return own.count(w) == 0 && own.count(normaliser.Term(w)) == 0;
    });
    const meaning::MeaningResult result = Search().Search(description, none, 1);
    const bool pass = !result.rows.empty() &&
                      std::find(words.begin(), words.end(), result.rows[0].word) != words.end();
    const bool same = !pass && can_pass && !result.rows.empty() &&
                      LettersOnly(result.rows[0].definition) == description;
    ++counts.senses;
    counts.passed += pass;
    counts.own_words += !can_pass;
    counts.same_definition += same;
    if (verbose && !pass) {
      std::printf("  missed%s: %s -> %s (%s)\n",
                  !can_pass ? " (own words)"
                  : same    ? " (same definition)"
                            : "",
                  description.c_str(), result.rows.empty() ? "" : result.rows[0].word.c_str(),
                  words.empty() ? "" : words[0].c_str());
    }
  }
  return counts;
}

void PrintOwnDefinitionCounts(const char* title, const OwnDefinitionCounts& c) {
  auto share = [](int part, int whole) { return 100.0 * part / std::max(1, whole); };
  std::printf("own definitions, %s (%d senses): a word of the sense first for %.1f%%\n", title,
              c.senses, share(c.passed, c.senses));
  std::printf(
      "  missed: %d whose every word is in the definition (never offered), %d for another"
      " sense whose definition reads the same, %d other\n",
      c.own_words, c.same_definition, c.senses - c.passed - c.own_words - c.same_definition);
  std::printf("  without the senses whose every word is in the definition: %.1f%%\n",
              share(c.passed, c.senses - c.own_words));
}

// The goal's sample of 300 senses, then a larger draw that begins with it (or every sense).
void PrintOwnDefinitions(bool verbose, bool every_sense) {
  std::unique_ptr<meaning::MeaningIndex> index;
  if (meaning::MeaningIndex::Open(IndexPath(), &index) != meaning::IndexStatus::kOk) {
    std::printf("own definitions: the index cannot be read\n");
    return;
  }
  PrintOwnDefinitionCounts("the goal's sample, goal 95%",
                           OwnDefinitions(*index, kOwnDefinitionSenses, verbose));
  if (every_sense) {
    PrintOwnDefinitionCounts("every sense", OwnDefinitions(*index, 0, false));
  } else {
    PrintOwnDefinitionCounts("a larger draw", OwnDefinitions(*index, kLargerDraw, verbose));
  }
}

void PrintSpeed() {
  const meaning::CustomEntries none;
  // The first search of a session: a search object of its own, so the index loads again.
  std::vector<double> first_wall;
  std::vector<double> first_cpu;
  for (int round = 0; round < kTimingRounds; ++round) {
    const meaning::MeaningSearch fresh(Engine(), IndexPath());
    const Clock clock;
    fresh.Search(meaning_bench::kDevelopmentSet[0].text, none);
    first_wall.push_back(clock.WallMs());
    first_cpu.push_back(clock.CpuMs());
  }
  std::vector<double> search_wall;
  std::vector<double> search_cpu;
  std::vector<double> lookup_wall;
  std::vector<double> lookup_cpu;
  double search_batch = 0;
  double lookup_batch = 0;
  CustomDatabase* no_custom = nullptr;
  lookup::LookupSession session(Engine(), &no_custom);
  for (int round = 0; round < kTimingRounds; ++round) {
    for (const meaning_bench::Description& d : meaning_bench::kDevelopmentSet) {
      const Clock search_clock;
      Search().Search(d.text, none);
      search_wall.push_back(search_clock.WallMs());
      search_cpu.push_back(search_clock.CpuMs());
      search_batch += search_cpu.back();
      const Clock lookup_clock;
      session.Lookup(Answers(d.words)[0]);
      lookup_wall.push_back(lookup_clock.WallMs());
      lookup_cpu.push_back(lookup_clock.CpuMs());
      lookup_batch += lookup_cpu.back();
    }
  }
  std::printf("speed, %zu descriptions x %d rounds, 20 words each\n",
              search_wall.size() / kTimingRounds, kTimingRounds);
  std::printf("  search:        median %.2f ms wall, %.2f ms processor (goal: 10 ms)\n",
              Median(search_wall), Median(search_cpu));
  std::printf("  plain lookup:  median %.2f ms wall, %.2f ms processor\n", Median(lookup_wall),
              Median(lookup_cpu));
  std::printf(
      "  batches of the same size: search %.0f ms, lookup %.0f ms processor: %.1f times"
      " (goal: at most 5)\n",
      search_batch, lookup_batch, search_batch / lookup_batch);
  std::printf(
      "  first search, index load included: median %.1f ms wall, %.1f ms processor"
      " (goal: 50 ms)\n",
      Median(first_wall), Median(first_cpu));
  std::error_code ignored;
  std::printf("  index %s: %.2f MB (goal: 15 MB)\n", program::kMeaningIndexFile,
              static_cast<double>(std::filesystem::file_size(IndexPath(), ignored)) / 1e6);
}

void BM_Search(benchmark::State& state) {
  const meaning::CustomEntries none;
  size_t i = 0;
  for (auto _ : state) {
    const auto& set = meaning_bench::kDevelopmentSet;
    const meaning::MeaningResult result =
        Search().Search(set[i++ % std::size(set)].text, none, static_cast<size_t>(state.range(0)));
    benchmark::DoNotOptimize(result.rows.data());
  }
}
BENCHMARK(BM_Search)->Arg(1)->Arg(20)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_IndexLoad(benchmark::State& state) {
  for (auto _ : state) {
    std::unique_ptr<meaning::MeaningIndex> index;
    if (meaning::MeaningIndex::Open(IndexPath(), &index) != meaning::IndexStatus::kOk) {
      state.SkipWithError("the index cannot be read: build the verbarium_data target");
      return;
    }
  }
}
BENCHMARK(BM_IndexLoad)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  bool verbose = false;
  bool every_sense = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--verbose") == 0) verbose = true;
    if (std::strcmp(argv[i], "--every-sense") == 0) every_sense = true;
  }
  if (Search().Load() != meaning::IndexStatus::kOk) {
    std::fprintf(stderr, "%s\n", meaning::IndexMessage(Search().Load()));
    return 1;
  }
  PrintDevelopmentSet(meaning_bench::kDevelopmentSet, "development set", verbose);
  PrintDevelopmentSet(meaning_bench::kLooseSet, "development set, loosely put", verbose);
  PrintOwnDefinitions(verbose, every_sense);
  PrintSpeed();
  std::fflush(stdout);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
