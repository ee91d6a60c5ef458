// The anagram engine and the pattern walk over the compiled Data/ (VERBARIUM_DATA_DIR):
// start-up, one-word anagrams with candidate preparation, the first 1,000 phrases of a
// ten-letter input, and whole walks of the word index.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "anagram/jumble.h"
#include "anagram/pattern.h"
#include "engine/nymdex.h"
#include "platform/named_event.h"
#include "platform/program_names.h"

namespace {

const std::string kDataDir = VERBARIUM_DATA_DIR;

std::string DataFile(const char* name) {
  return kDataDir + "/" + name;
}

void Count(const char*, void* context) {
  ++*static_cast<int64_t*>(context);
}

// The engine of the whole run, with the stop event as the application creates it.
JumbleEngine* Engine() {
  static platform::NamedEvent* stop =
      platform::OpenNamedEvent(program::kStopAnagramsEvent, true, false);
  static JumbleEngine* engine = [] {
    JumbleEngine* started = nullptr;
    if (Jumble_StartUp(&started, DataFile(program::kAnagramFile).c_str()) != kJumbleOk)
      started = nullptr;
    return started;
  }();
  (void)stop;
  return engine;
}

void BM_JumbleStartUp(benchmark::State& state) {
  std::string path = DataFile(program::kAnagramFile);
  for (auto _ : state) {
    JumbleEngine* engine = nullptr;
    if (Jumble_StartUp(&engine, path.c_str()) != kJumbleOk) {
      state.SkipWithError("1001A.dat missing or unreadable");
      return;
    }
    Jumble_ShutDown(&engine);
  }
}
// Wall time: the digest runs on a second thread.
BENCHMARK(BM_JumbleStartUp)->Unit(benchmark::kMillisecond)->UseRealTime();

// One-word anagrams: the filter of the word's own length, as the user asks for them.
void BM_OneWordAnagrams(benchmark::State& state, const char* word) {
  JumbleEngine* engine = Engine();
  if (engine == nullptr) return state.SkipWithError("1001A.dat missing or unreadable");
  std::string filter = std::to_string(std::string(word).size());
  int64_t found = 0;
  for (auto _ : state) {
    found = 0;
    GenerateAnagrams(engine, word, filter.c_str(), Count, &found, 1, 50, 1, 1000);
  }
  state.counters["anagrams"] = static_cast<double>(found);
}
BENCHMARK_CAPTURE(BM_OneWordAnagrams, listen, "listen")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OneWordAnagrams, parsley, "parsley")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OneWordAnagrams, triangle, "triangle")->Unit(benchmark::kMillisecond);

// The application's defaults: lengths 1 to 50, permutations on, at most 1,000 anagrams.
void BM_FirstPhrases(benchmark::State& state, const char* input) {
  JumbleEngine* engine = Engine();
  if (engine == nullptr) return state.SkipWithError("1001A.dat missing or unreadable");
  int64_t found = 0;
  for (auto _ : state) {
    found = 0;
    GenerateAnagrams(engine, input, nullptr, Count, &found, 1, 50, 1, 1000);
  }
  state.counters["anagrams"] = static_cast<double>(found);
}
BENCHMARK_CAPTURE(BM_FirstPhrases, astronomer, "astronomer")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FirstPhrases, generation, "generation")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FirstPhrases, conversation, "conversation")->Unit(benchmark::kMillisecond);

// Every phrase of a short input, a normal word or a name with the application's defaults but no
// count limit (lengths 1 to 50, permutations off): the look-ahead's cost where nearly every look
// says yes.
void BM_FullList(benchmark::State& state, const char* input) {
  JumbleEngine* engine = Engine();
  if (engine == nullptr) return state.SkipWithError("1001A.dat missing or unreadable");
  int64_t found = 0;
  for (auto _ : state) {
    found = 0;
    GenerateAnagrams(engine, input, nullptr, Count, &found, 1, 50, 0, 100000000);
  }
  state.counters["anagrams"] = static_cast<double>(found);
}
BENCHMARK_CAPTURE(BM_FullList, listen, "listen")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FullList, astronomer, "astronomer")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FullList, dormitory, "dormitory")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FullList, conversation, "conversation")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FullList, clint_eastwood, "clint eastwood")->Unit(benchmark::kMillisecond);

NymdexEngine* Dictionary() {
  static NymdexEngine* engine = [] {
    NymdexEngine* started = nullptr;
    if (Nymdex_StartUp(&started, DataFile(program::kSynsetFile).c_str(),
                       DataFile(program::kWordIndexFile).c_str(),
                       DataFile(program::kTagFile).c_str(), nullptr, nullptr) != kNymdexOk) {
      return static_cast<NymdexEngine*>(nullptr);
    }
    return started;
  }();
  return engine;
}

void BM_PatternWalk(benchmark::State& state, const char* pattern) {
  NymdexEngine* engine = Dictionary();
  if (engine == nullptr) return state.SkipWithError("lexical engine files missing or unreadable");
  size_t found = 0;
  for (auto _ : state) {
    found = anagram::FindPatternMatches(engine, pattern).words.size();
  }
  state.counters["matches"] = static_cast<double>(found);
}
BENCHMARK_CAPTURE(BM_PatternWalk, ness, "*ness")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PatternWalk, c_t, "c?t")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PatternWalk, bc_at, "[bc]at*")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PatternWalk, two_words, "* *")->Unit(benchmark::kMillisecond);

void BM_JumbleStartUp2(benchmark::State& state) {
  NymdexEngine* dictionary = Dictionary();
  if (dictionary == nullptr) return state.SkipWithError("lexical engine files missing");
  for (auto _ : state) {
    JumbleEngine* engine = nullptr;
    Jumble_StartUp2(&engine, dictionary);
    Jumble_ShutDown(&engine);
  }
}
BENCHMARK(BM_JumbleStartUp2)->Unit(benchmark::kMillisecond);

}  // namespace

// The time goal of a request: every input of up to kJumbleMaxInput letters gives its first
// anagram, or the answer that it has none, within a second. Random letter mixes of each length
// (a fixed seed, so every run asks the same), asked for one anagram with the application's
// defaults (lengths 1 to 50, permutations on), in three mixes: English letter frequencies, the
// rare letters j, q, x and z in bulk, and few vowels. A request still running after kCap is
// stopped through the stop event, as the window's Stop does, and counted as "capped".
// "worst_ms" is the slowest request, the figure to hold against the goal; "over_1s" counts the
// requests that missed it. On a shared machine the wall time also holds the time the request
// waited for a core: "worst_cpu_ms" is the most processor time one request took, and
// "cpu_over_1s" counts the requests that took more than a second of it.
// Processor time of the calling thread so far.
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void BM_FirstAnagramOrNone(benchmark::State& state) {
  JumbleEngine* engine = Engine();
  if (engine == nullptr) return state.SkipWithError("1001A.dat missing or unreadable");
  constexpr auto kCap = std::chrono::seconds(3);
  const int length = static_cast<int>(state.range(0));
  const char* const pools[] = {
      "eeeeeeeeeeeettttttttaaaaaaaooooooiiiiiinnnnnnsssssshhhhhrrrrrddddllllcccuuummwwffggyyppbb"
      "vkjxqz",
      "eeeeeeeeeeeettttttttaaaaaaaooooooiiiiiinnnnnnsssssshhhhhrrrrrddddllllcccuuummwwffggyyppbb"
      "vkjjjjjxxxxxqqqqqzzzzz",
      "eeeeaaooiuttttttttnnnnnnsssssshhhhhrrrrrddddllllcccmmwwffggppbbvkjxqz",
  };
  const std::string pool = pools[state.range(1)];
  // VERBARIUM_BENCH_SEED draws other inputs, to check that a change helps beyond these four.
  const char* seed = std::getenv("VERBARIUM_BENCH_SEED");
  std::mt19937 random(
      static_cast<uint32_t>(length * 3 + state.range(1) + (seed != nullptr ? std::atoi(seed) : 0)));
  std::vector<std::string> inputs(4);
  for (std::string& input : inputs) {
    for (int i = 0; i < length; ++i)
      input += pool[random() % pool.size()];
  }
  platform::NamedEvent* stop = platform::OpenNamedEvent(program::kStopAnagramsEvent, true, false);
  double worst_ms = 0, worst_cpu_ms = 0;
  int64_t found = 0, over = 0, cpu_over = 0, capped = 0;
  for (auto _ : state) {
    for (const std::string& input : inputs) {
      int64_t one = 0;
      std::mutex mutex;
      std::condition_variable ended;
      bool done = false;
      std::thread watchdog([&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (!ended.wait_for(lock, kCap, [&] { return done; })) {
          platform::SetNamedEvent(stop);
          ++capped;
        }
      });
      const auto start = std::chrono::steady_clock::now();
      const double cpu_start = ThreadCpuMs();
      GenerateAnagrams(engine, input.c_str(), nullptr, Count, &one, 1, 50, 1, 1);
      const double cpu_ms = ThreadCpuMs() - cpu_start;
      const std::chrono::duration<double, std::milli> took =
          std::chrono::steady_clock::now() - start;
      {
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
      }
      ended.notify_one();
      watchdog.join();
      platform::ResetNamedEvent(stop);
      worst_ms = std::max(worst_ms, took.count());
      worst_cpu_ms = std::max(worst_cpu_ms, cpu_ms);
      over += took.count() > 1000;
      cpu_over += cpu_ms > 1000;
      found += one;
    }
  }
  platform::CloseNamedEvent(stop);
  state.counters["worst_ms"] = worst_ms;
  state.counters["over_1s"] = static_cast<double>(over);
  state.counters["worst_cpu_ms"] = worst_cpu_ms;
  state.counters["cpu_over_1s"] = static_cast<double>(cpu_over);
  state.counters["capped"] = static_cast<double>(capped);
  state.counters["with_anagram"] = static_cast<double>(found) / state.iterations();
}
BENCHMARK(BM_FirstAnagramOrNone)
    ->ArgsProduct({{10, 20, 30, 36, 40, 50, 60, 80, 100, 127}, {0, 1, 2}})
    ->ArgNames({"letters", "mix"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
