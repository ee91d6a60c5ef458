// Throughput of the codec primitives: stream decoding, MD5 and the file digest.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/arith_coder.h"
#include "engine/arith_resume.h"
#include "engine/md5.h"
#include "engine/md5_lanes.h"

namespace {

// Word-list-like text: words with a skewed letter distribution, NUL-terminated, each followed
// by a six-digit number, the shape of the stored word index.
std::vector<uint8_t> TextLike(size_t n) {
  static const char kLetters[] =
      "eeeeeeeeeeeetttttttttaaaaaaaaooooooooiiiiiiinnnnnnnsssssshhhhhh"
      "rrrrrrddddllllcccuuummwwffggyyppbbvkjxqz";
  std::mt19937 rng(42);
  std::vector<uint8_t> out;
  out.reserve(n);
  unsigned id = 0;
  while (out.size() < n) {
    int word = 3 + static_cast<int>(rng() % 8);
    for (int i = 0; i < word; ++i)
      out.push_back(kLetters[rng() % (sizeof kLetters - 1)]);
    if (rng() % 6 == 0) out.push_back('_');
    out.push_back(0);
    char digits[8];
    std::snprintf(digits, sizeof digits, "%06u", id++ % 1000000);
    out.insert(out.end(), digits, digits + 6);
  }
  out.resize(n);
  return out;
}

void Decode(benchmark::State& state, size_t size) {
  const std::vector<uint8_t> text = TextLike(size);
  const std::vector<uint8_t> stream = engine::ArithEncode(text.data(), text.size());
  std::vector<uint8_t> out(text.size());
  for (auto _ : state) {
    size_t length = 0;
    bool ok = engine::ArithDecode(stream.data(), stream.size(), out.data(), out.size(), &length);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["ratio"] = static_cast<double>(stream.size()) / text.size();
}

void BM_DecodeWordIndex(benchmark::State& state) {
  Decode(state, 2700000);
}
void BM_DecodeTagBlock(benchmark::State& state) {
  Decode(state, 3072);
}

// The word-index-sized stream with range(0) - 1 resume points at equal shares: that many chains
// decoded side by side (1: the one-chain decode).
void BM_DecodeWordIndexChains(benchmark::State& state) {
  const std::vector<uint8_t> text = TextLike(2700000);
  std::vector<uint8_t> stream = engine::ArithEncode(text.data(), text.size());
  std::vector<uint32_t> shares;
  for (int64_t k = 1; k < state.range(0); ++k)
    shares.push_back(static_cast<uint32_t>(text.size() * k / state.range(0)));
  std::vector<engine::ResumePoint> points;
  if (!engine::ArithResumePoints(stream.data(), stream.size(), shares, &points)) {
    state.SkipWithError("no resume points");
    return;
  }
  std::vector<uint8_t> out(text.size());
  for (auto _ : state) {
    size_t length = 0;
    bool ok = engine::ArithDecodeResumed(stream.data(), stream.size(), points.data(), points.size(),
                                         out.data(), out.size(), &length);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(out.data());
  }
  if (out != text) state.SkipWithError("the decode differs from the text");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_Encode(benchmark::State& state) {
  const std::vector<uint8_t> text = TextLike(2700000);
  for (auto _ : state) {
    auto stream = engine::ArithEncode(text.data(), text.size());
    benchmark::DoNotOptimize(stream.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_Md5(benchmark::State& state) {
  std::vector<uint8_t> data(1 << 20, 0x61);
  for (auto _ : state)
    benchmark::DoNotOptimize(engine::Md5Bytes(data.data(), data.size()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}

// Messages of one 512 KiB chunk each, as many as a kernel of engine/md5_lanes.h digests at
// once (the argument: its index in Md5Kernels(); past the end, the scalar pair). A kernel the
// processor lacks is skipped.
void BM_Md5Kernel(benchmark::State& state) {
  const auto kernels = engine::Md5Kernels();
  const size_t index = static_cast<size_t>(state.range(0));
  const engine::Md5Kernel* kernel = index < kernels.size() ? &kernels[index] : nullptr;
  if (kernel != nullptr && !kernel->supported()) {
    state.SkipWithError("not supported here");
    return;
  }
  const int lanes = kernel != nullptr ? kernel->lanes : 2;
  state.SetLabel(kernel != nullptr ? kernel->name : "scalar pair");
  std::vector<uint8_t> data(size_t(lanes) * engine::kFileDigestChunk);
  std::mt19937 rng(4);
  for (auto& b : data)
    b = static_cast<uint8_t>(rng());
  std::vector<const uint8_t*> messages;
  for (int i = 0; i < lanes; ++i)
    messages.push_back(data.data() + size_t(i) * engine::kFileDigestChunk);
  std::vector<engine::Digest> digests(lanes);
  for (auto _ : state) {
    if (kernel == nullptr) {
      engine::Md5Pair(messages[0], messages[1], engine::kFileDigestChunk, &digests[0], &digests[1]);
    } else {
      kernel->digest(messages.data(), engine::kFileDigestChunk, digests.data());
    }
    benchmark::DoNotOptimize(digests.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}

void BM_FileDigest10MB(benchmark::State& state) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "verbarium_bench_digest.bin";
  const size_t size = 10u << 20;
  {
    std::vector<char> bytes(size);
    std::mt19937 rng(1);
    for (auto& b : bytes)
      b = static_cast<char>(rng());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(size));
  }
  for (auto _ : state) {
    engine::Digest d;
    bool ok = engine::FileDigest(path.c_str(), 176, &d);
    benchmark::DoNotOptimize(ok);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
  std::filesystem::remove(path);
}

BENCHMARK(BM_DecodeWordIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeTagBlock)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeWordIndexChains)->DenseRange(1, 8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Md5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Md5Kernel)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FileDigest10MB)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
