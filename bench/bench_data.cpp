// The lexical engine over the compiled Data/: start-up (digests, word index decode, indexes),
// the decoder over the stored streams, and one whole lookup as the main window makes it.
// The start-up also with the decoded word index's cache in a scratch folder, cold (no cache
// file and no copy beside the word index: decode and write it), warm (the cache file mapped)
// and installed (no cache file; the copy the data build ships beside the word index mapped).
// `bench_data --resident [cold|warm|installed]` instead prints the process's resident size
// before and after one start-up, without a cache or with one.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "engine/arith_coder.h"
#include "engine/arith_internal.h"
#include "engine/arith_resume.h"
#include "engine/data_format.h"
#include "engine/little_endian.h"
#include "engine/nymdex.h"
#include "engine/word_cache.h"

namespace {

const std::string kData = VERBARIUM_DATA_DIR;

uint32_t StartUp(NymdexEngine** engine, const std::string& data = kData) {
  return Nymdex_StartUp(engine, (data + "/1001L.dat").c_str(), (data + "/1001W.dat").c_str(),
                        (data + "/1001T.dat").c_str(), nullptr, nullptr);
}

// One start-up and its shut-down; false, with the benchmark marked skipped, when it fails.
bool StartAndShutDown(benchmark::State& state, const std::string& data = kData) {
  NymdexEngine* engine = nullptr;
  if (StartUp(&engine, data) != kNymdexOk) {
    state.SkipWithError("Data/ is missing or damaged: build the verbarium_data target");
    return false;
  }
  Nymdex_ShutDown(&engine);
  return true;
}

void BM_StartUpOnCompiledData(benchmark::State& state) {
  for (auto _ : state) {
    if (!StartAndShutDown(state)) return;
  }
}
// Wall time: the checks run on a second thread.
BENCHMARK(BM_StartUpOnCompiledData)->Unit(benchmark::kMillisecond)->UseRealTime();

// The engine's three files of Data/ copied into `folder`, without the word index's copy the
// data build ships beside them.
bool CopyEngineFiles(const std::string& folder) {
  for (const char* name : {"1001L.dat", "1001W.dat", "1001T.dat"}) {
    std::ifstream in(kData + "/" + name, std::ios::binary);
    std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
    if (!(out << in.rdbuf())) return false;
  }
  return true;
}

// A cache folder of the benchmark's own, named to the engine while the object lives; with
// `bare`, also a copy of the engine's files without the shipped copy of the decoded word index
// (data()), for start-ups that find nothing to map but what they write.
class ScratchCache {
 public:
  explicit ScratchCache(bool bare) : bare_(bare) {
    char pattern[] = "/tmp/verbarium-bench-XXXXXX";
    if (::mkdtemp(pattern) != nullptr) folder_ = pattern;
    Nymdex_SetCacheFolder(folder_.c_str());
    if (bare && !folder_.empty()) {
      const std::string data = folder_ + "/Data";
      if (::mkdir(data.c_str(), 0700) == 0 && CopyEngineFiles(data)) data_ = data;
    }
  }
  ~ScratchCache() {
    Nymdex_SetCacheFolder(nullptr);
    Clear();
    if (!data_.empty()) {
      for (const char* name : {"1001L.dat", "1001W.dat", "1001T.dat"})
        ::unlink((data_ + "/" + name).c_str());
      ::rmdir(data_.c_str());
    }
    if (!folder_.empty()) ::rmdir(folder_.c_str());
  }
  void Clear() const { ::unlink(nymdex::WordCachePath(folder_).c_str()); }
  // The folder to start on: the copy with `bare` (empty, so that start-ups fail, when it could
  // not be made), else Data/ itself.
  const std::string& data() const { return bare_ ? data_ : kData; }

 private:
  bool bare_;
  std::string folder_;
  std::string data_;
};

// Cold: every start-up finds no cache, decodes and writes one.
void BM_StartUpColdCache(benchmark::State& state) {
  const ScratchCache cache(/*bare=*/true);
  for (auto _ : state) {
    state.PauseTiming();
    cache.Clear();
    state.ResumeTiming();
    if (!StartAndShutDown(state, cache.data())) return;
  }
}
BENCHMARK(BM_StartUpColdCache)->Unit(benchmark::kMillisecond)->UseRealTime();

// Warm: every start-up maps the cache an earlier one wrote.
void BM_StartUpWarmCache(benchmark::State& state) {
  const ScratchCache cache(/*bare=*/true);
  if (!StartAndShutDown(state, cache.data())) return;
  for (auto _ : state) {
    if (!StartAndShutDown(state, cache.data())) return;
  }
}
BENCHMARK(BM_StartUpWarmCache)->Unit(benchmark::kMillisecond)->UseRealTime();

// Installed: the cache folder stays empty; every start-up maps the copy beside the word index.
void BM_StartUpInstalledCopy(benchmark::State& state) {
  const ScratchCache cache(/*bare=*/false);
  for (auto _ : state) {
    if (!StartAndShutDown(state, cache.data())) return;
  }
}
BENCHMARK(BM_StartUpInstalledCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

std::vector<uint8_t> ReadDataFile(const char* name) {
  std::ifstream in(kData + "/" + name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The whole word index, decoded as start-up decodes it: with its resume points, several chains
// side by side. Bytes are decoded bytes.
void BM_DecodeStoredWordIndex(benchmark::State& state) {
  const std::vector<uint8_t> file = ReadDataFile("1001W.dat");
  std::vector<uint8_t> out(2 * file.size());
  engine::ResumePoint points[engine::kMaxResumePoints];
  const size_t count = engine::ReadResumeTrailer(file.data(), file.size(), points);
  state.counters["chains"] = static_cast<double>(count + 1);
  size_t length = 0;
  for (auto _ : state) {
    if (!engine::ArithDecodeResumed(file.data(), file.size(), points, count, out.data(), out.size(),
                                    &length)) {
      state.SkipWithError("1001W.dat is missing or damaged: build the verbarium_data target");
      return;
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * length));
}
BENCHMARK(BM_DecodeStoredWordIndex)->Unit(benchmark::kMillisecond);

// The same with the decoding loops built for any processor, where the processor would pick
// those for BMI2 and LZCNT.
void BM_DecodeStoredWordIndexAnyCpu(benchmark::State& state) {
  engine::arith::AnyCpuLoopsOnly() = true;
  BM_DecodeStoredWordIndex(state);
  engine::arith::AnyCpuLoopsOnly() = false;
}
BENCHMARK(BM_DecodeStoredWordIndexAnyCpu)->Unit(benchmark::kMillisecond);

// The stored word index as one chain, without its resume points.
void BM_DecodeStoredWordIndexOneChain(benchmark::State& state) {
  const std::vector<uint8_t> file = ReadDataFile("1001W.dat");
  std::vector<uint8_t> out(2 * file.size());
  size_t length = 0;
  for (auto _ : state) {
    if (!engine::ArithDecode(file.data(), file.size(), out.data(), out.size(), &length)) {
      state.SkipWithError("1001W.dat is missing or damaged: build the verbarium_data target");
      return;
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * length));
}
BENCHMARK(BM_DecodeStoredWordIndexOneChain)->Unit(benchmark::kMillisecond);

// Every block of the tag file, each decoded whole as a tag query decodes it.
void BM_DecodeStoredTagBlocks(benchmark::State& state) {
  const std::vector<uint8_t> file = ReadDataFile("1001T.dat");
  if (file.size() < nymdex::kTagHeaderSize) {
    state.SkipWithError("1001T.dat is missing: build the verbarium_data target");
    return;
  }
  const uint32_t blocks = engine::LoadU32(&file[nymdex::kTagBlockCountAt]);
  std::vector<std::pair<uint32_t, uint32_t>> spans;  // start, end
  for (uint32_t b = 0; b < blocks && b < nymdex::kMaxTagBlocks; ++b) {
    const uint32_t start = engine::LoadU32(&file[nymdex::kTagStartsAt + 4 * b]);
    const uint32_t end = b + 1 == blocks ? engine::LoadU32(&file[nymdex::kTagEndAt])
                                         : engine::LoadU32(&file[nymdex::kTagStartsAt + 4 * b + 4]);
    if (start < end && end <= file.size()) spans.emplace_back(start, end);
  }
  uint8_t out[nymdex::kMaxTagBlockDecoded];
  size_t decoded = 0;
  for (auto _ : state) {
    for (const auto& [start, end] : spans) {
      size_t length = 0;
      engine::ArithDecode(&file[start], end - start, out, sizeof out, &length);
      decoded += length;
      benchmark::DoNotOptimize(out);
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(decoded));
  state.counters["blocks"] = static_cast<double>(spans.size());
}
BENCHMARK(BM_DecodeStoredTagBlocks)->Unit(benchmark::kMillisecond);

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

// Resident set size of this process in bytes, from /proc/self/statm.
long ResidentBytes() {
  long pages = 0, resident = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return -1;
  const bool read = std::fscanf(statm, "%ld %ld", &pages, &resident) == 2;
  std::fclose(statm);
  return read ? resident * 4096 : -1;
}

// `mode`: "none" (no cache), "cold" (an empty cache folder and no copy beside the word
// index), "warm" (a cache file written by an earlier start-up in a child process, so that this
// one's memory holds none of its work) or "installed" (an empty cache folder, the copy beside
// the word index).
int PrintResident(const std::string& mode) {
  std::unique_ptr<ScratchCache> cache;
  if (mode != "none") cache = std::make_unique<ScratchCache>(/*bare=*/mode != "installed");
  const std::string data = cache != nullptr ? cache->data() : kData;
  if (mode == "warm") {
    const pid_t child = ::fork();
    if (child == 0) {
      NymdexEngine* engine = nullptr;
      ::_exit(StartUp(&engine, data) == kNymdexOk ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) return 1;
  }
  const long before = ResidentBytes();
  NymdexEngine* engine = nullptr;
  if (StartUp(&engine, data) != kNymdexOk) {
    std::fprintf(stderr, "Data/ is missing or damaged: build the verbarium_data target\n");
    return 1;
  }
  const long after = ResidentBytes();
  std::printf("cache %s: resident before %.1f MB, after start-up %.1f MB, engine %.1f MB\n",
              mode.c_str(), before / 1e6, after / 1e6, (after - before) / 1e6);
  Nymdex_ShutDown(&engine);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--resident") == 0)
    return PrintResident(argc >= 3 ? argv[2] : "none");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
