// Irregular forms and suggestions on the compiled dictionary: the base forms of irregular and
// inflected words, the spelling index's build, and the suggestions for unknown words, among
// them a 12-letter word over the whole dictionary (goal: under 20 ms). The data folder is
// VERBARIUM_DATA_DIR (environment, else the build's Data/); the custom database is an empty
// one in a scratch folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/lookup/irregular_forms.h"
#include "app/lookup/lookup.h"
#include "app/lookup/suggestions.h"
#include "bench/data_fixture.h"
#include "custom/custom_db.h"
#include "engine/nymdex.h"
#include "platform/program_names.h"

namespace {

class Fixture {
 public:
  Fixture() {
    engine = bench_data::StartEngineOrExit();
    forms = lookup::IrregularForms::Load(bench_data::DataFile(program::kIrregularFormsFile));
    if (!forms.loaded()) {
      std::fprintf(stderr, "%s\n", lookup::FormsStatusText(forms).c_str());
      std::exit(1);
    }
    scratch_ =
        std::filesystem::temp_directory_path() / ("bench_forms_" + std::to_string(::getpid()));
    std::filesystem::create_directories(scratch_);
    const std::string index = (scratch_ / "1001M.idx").string();
    const std::string data = (scratch_ / "1001M.dat").string();
    CustomDb_CreateIfMissing(index.c_str(), data.c_str());
    if (CustomDb_Open(&custom, index.c_str(), data.c_str()) != kCustomOk) std::exit(1);
  }
  ~Fixture() {
    CustomDb_Close(&custom);
    Nymdex_ShutDown(&engine);
    std::error_code ignored;
    std::filesystem::remove_all(scratch_, ignored);
  }

  NymdexEngine* engine = nullptr;
  CustomDatabase* custom = nullptr;
  lookup::IrregularForms forms;

 private:
  std::filesystem::path scratch_;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

// Classification with every rule: the text's own, then the irregular forms and suffix rules.
void BM_BaseForms(benchmark::State& state, const char* text) {
  Fixture& f = Shared();
  lookup::LookupSession session(f.engine, &f.custom);
  session.set_irregular_forms(&f.forms);
  std::string base;
  std::vector<std::string> others;
  for (auto _ : state)
    benchmark::DoNotOptimize(session.Classify(text, &base, &others));
  state.SetLabel(base + (others.empty() ? "" : " +" + std::to_string(others.size())));
}
BENCHMARK_CAPTURE(BM_BaseForms, cats, "cats")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BaseForms, went, "went")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BaseForms, churches, "churches")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BaseForms, attorneys_general, "attorneys general")
    ->Unit(benchmark::kMicrosecond);

void BM_BuildSpellingIndex(benchmark::State& state) {
  Fixture& f = Shared();
  size_t words = 0;
  for (auto _ : state) {
    lookup::SpellingIndex index(f.engine);
    words = index.size();
  }
  state.counters["words"] = static_cast<double>(words);
}
BENCHMARK(BM_BuildSpellingIndex)->Unit(benchmark::kMillisecond);

// Suggestions once the index is built, custom database included.
void BM_Suggest(benchmark::State& state, const char* text) {
  Fixture& f = Shared();
  static const lookup::SpellingIndex index(f.engine);
  std::vector<std::string> words;
  for (auto _ : state)
    words = lookup::SuggestWords(index, f.engine, f.custom, text);
  state.SetLabel(words.empty() ? "none" : words.front());
  state.counters["suggestions"] = static_cast<double>(words.size());
}
BENCHMARK_CAPTURE(BM_Suggest, twelve_letters, "acommodation")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Suggest, twelve_letters_far, "qwxzvbnmkjhg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Suggest, recieve, "recieve")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Suggest, three_letters, "teh")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Suggest, phrase, "ice creem")->Unit(benchmark::kMillisecond);

// A whole lookup of an unknown word in a fresh session: the index is built on the way.
void BM_FirstUnknownLookup(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    lookup::LookupSession session(f.engine, &f.custom);
    session.set_irregular_forms(&f.forms);
    benchmark::DoNotOptimize(session.Lookup("acommodation").suggestions.size());
  }
}
BENCHMARK(BM_FirstUnknownLookup)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
