// The lookup flow on the compiled dictionary: a whole lookup of "cat" (classification, senses,
// then every pane's has- and get-queries on the engine and on a custom database of 1,000
// entries), and its parts. The data folder is VERBARIUM_DATA_DIR (environment, else the
// build's Data/).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/lookup/lookup.h"
#include "bench/data_fixture.h"
#include "custom/custom_db.h"
#include "engine/nymdex.h"

namespace {

// The engine and a scratch custom database of 1,000 entries, two of them for "cat".
class Fixture {
 public:
  Fixture() {
    engine = bench_data::StartEngineOrExit();
    scratch_ =
        std::filesystem::temp_directory_path() / ("bench_lookup_" + std::to_string(::getpid()));
    std::filesystem::create_directories(scratch_);
    const std::string index = (scratch_ / "1001M.idx").string();
    const std::string data = (scratch_ / "1001M.dat").string();
    CustomDb_CreateIfMissing(index.c_str(), data.c_str());
    if (CustomDb_Open(&custom, index.c_str(), data.c_str()) != kCustomOk) std::exit(1);
    for (int i = 0; i < 1000; ++i) {
      CustomRelationLists related;
      std::string word = "customword" + std::to_string(i);
      if (i == 300 || i == 700) {
        word = "cat";
        related[0] = {"kitty", "puss"};
        related[2] = {"pet"};
      }
      related[4] = {"hyponym" + std::to_string(i)};
      if (!CustomDb_AppendEntry(&custom, i % 9, word.c_str(), "an entry of the benchmark",
                                "an example^", "", related)) {
        std::exit(1);
      }
    }
  }
  ~Fixture() {
    CustomDb_Close(&custom);
    Nymdex_ShutDown(&engine);
    std::error_code ignored;
    std::filesystem::remove_all(scratch_, ignored);
  }

  NymdexEngine* engine = nullptr;
  CustomDatabase* custom = nullptr;

 private:
  std::filesystem::path scratch_;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_LookupCat(benchmark::State& state) {
  Fixture& f = Shared();
  lookup::LookupSession session(f.engine, &f.custom);
  size_t words = 0;
  for (auto _ : state) {
    const lookup::LookupResult result = session.Lookup(state.range(0) ? "cat" : "cats");
    benchmark::DoNotOptimize(result.kind);
    words = 0;
    for (const lookup::PaneTab& tab : session.tabs())
      words += tab.words.size();
  }
  state.counters["senses"] = static_cast<double>(session.senses().size());
  state.counters["tabs"] = static_cast<double>(session.tabs().size());
  state.counters["words"] = static_cast<double>(words);
}
BENCHMARK(BM_LookupCat)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_LookupCatEngineOnly(benchmark::State& state) {
  Fixture& f = Shared();
  CustomDatabase* none = nullptr;
  lookup::LookupSession session(f.engine, &none);
  for (auto _ : state)
    benchmark::DoNotOptimize(session.Lookup("cat").kind);
}
BENCHMARK(BM_LookupCatEngineOnly)->Unit(benchmark::kMicrosecond);

void BM_RebuildPanesCat(benchmark::State& state) {
  Fixture& f = Shared();
  lookup::LookupSession session(f.engine, &f.custom);
  session.Lookup("cat");
  for (auto _ : state) {
    session.RebuildPanes();
    benchmark::DoNotOptimize(session.tabs().size());
  }
}
BENCHMARK(BM_RebuildPanesCat)->Unit(benchmark::kMicrosecond);

void BM_ClassifyUnknown(benchmark::State& state) {
  Fixture& f = Shared();
  lookup::LookupSession session(f.engine, &f.custom);
  std::string base;
  for (auto _ : state) {
    benchmark::DoNotOptimize(session.Classify("blorpings", &base));
  }
}
BENCHMARK(BM_ClassifyUnknown)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
