// The lexical engine over the compiled Data/: start-up (digests, word index decode, indexes)
// and one whole lookup as the main window makes it.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/nymdex.h"

namespace {

const std::string kData = VERBARIUM_DATA_DIR;

uint32_t StartUp(NymdexEngine** engine) {
  return Nymdex_StartUp(engine, (kData + "/1001L.dat").c_str(), (kData + "/1001W.dat").c_str(),
                        (kData + "/1001T.dat").c_str(), nullptr, nullptr);
}

void BM_StartUpOnCompiledData(benchmark::State& state) {
  for (auto _ : state) {
    NymdexEngine* engine = nullptr;
    if (StartUp(&engine) != kNymdexOk) {
      state.SkipWithError("Data/ is missing or damaged: build the verbarium_data target");
      return;
    }
    Nymdex_ShutDown(&engine);
  }
}
BENCHMARK(BM_StartUpOnCompiledData)->Unit(benchmark::kMillisecond);

// Tags of every sense, then each relation's test and, where it holds, its words.
void BM_WholeLookup(benchmark::State& state, const char* word) {
  NymdexEngine* engine = nullptr;
  if (StartUp(&engine) != kNymdexOk) {
    state.SkipWithError("Data/ is missing or damaged: build the verbarium_data target");
    return;
  }
  size_t words = 0;
  for (auto _ : state) {
    std::vector<TagRecord> tags;
    Nymdex_GetTags(engine, word, &tags);
    std::vector<uint32_t> senses;
    for (uint32_t k = 0; k < tags.size(); ++k)
      senses.push_back(k);
    for (const NymdexRelation& relation : kNymdexRelations) {
      if (relation.has(engine, word, senses) == 0) continue;
      std::vector<std::string> related;
      relation.get(engine, word, &related, 1, senses);
      words += related.size();
    }
  }
  state.counters["words"] =
      benchmark::Counter(static_cast<double>(words), benchmark::Counter::kAvgIterations);
  Nymdex_ShutDown(&engine);
}
BENCHMARK_CAPTURE(BM_WholeLookup, cat, "cat")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WholeLookup, break, "break")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
