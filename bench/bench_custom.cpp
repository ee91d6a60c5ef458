// Custom database speed: finding a word's records among 10,000 entries, a durable append, and
// a delete that rewrites a 10,000-entry database.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "custom/custom_db.h"
#include "engine/encrypt.h"
#include "engine/md5.h"

namespace {

constexpr int kEntries = 10000;

void PutLe32(std::vector<uint8_t>* bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A database of `count` entries laid out directly, one word ("target") holding two of them.
struct Database {
  std::string folder;
  std::string index_path;
  std::string data_path;

  explicit Database(const std::string& name) {
    folder = (std::filesystem::temp_directory_path() / ("verbarium_bench_" + name)).string();
    std::filesystem::create_directories(folder);
    index_path = folder + "/1001M.idx";
    data_path = folder + "/1001M.dat";
  }
  ~Database() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  void Fill(int count) {
    EncryptHandle cipher = nullptr;
    Encrypt_Initialize(&cipher, nullptr, 0);
    std::vector<uint8_t> index(12, 0);
    PutLe32(&index, static_cast<uint32_t>(count));
    std::vector<uint8_t> data;
    CustomRelationLists related;
    related[0] = {"alpha", "beta", "gamma"};
    for (int i = 0; i < count; ++i) {
      std::string word =
          i == count / 3 || i == 2 * count / 3 ? "target" : "word" + std::to_string(i);
      std::string text =
          BuildCustomRecord(i % 9, word, "a definition of a typical length for " + word,
                            "an example of usage^", "", related);
      std::vector<uint8_t> cipher_text((text.size() + 7) / 8 * 8);
      int32_t length = static_cast<int32_t>(text.size());
      Encrypt(cipher, reinterpret_cast<const uint8_t*>(text.data()), length, cipher_text.data(),
              &length);
      engine::Digest key = engine::Md5String(word.c_str());
      index.insert(index.end(), key.begin(), key.end());
      PutLe32(&index, static_cast<uint32_t>(data.size()));
      PutLe32(&data, static_cast<uint32_t>(length));
      data.insert(data.end(), cipher_text.begin(), cipher_text.begin() + length);
    }
    Encrypt_Deinitialize(&cipher);
    std::ofstream(index_path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(index.data()),
               static_cast<std::streamsize>(index.size()));
    std::ofstream(data_path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
  }
};

void BM_FindRecords(benchmark::State& state) {
  Database db("find");
  db.Fill(kEntries);
  CustomDatabase* handle = nullptr;
  if (CustomDb_Open(&handle, db.index_path.c_str(), db.data_path.c_str()) != kCustomOk) {
    state.SkipWithError("open failed");
    return;
  }
  std::vector<std::string> records;
  for (auto _ : state) {
    CustomDb_FindRecords(handle, "target", &records);
    benchmark::DoNotOptimize(records.data());
  }
  if (records.size() != 2) state.SkipWithError("expected two records");
  CustomDb_Close(&handle);
}
BENCHMARK(BM_FindRecords)->Unit(benchmark::kMicrosecond);

void BM_IsWordAbsent(benchmark::State& state) {
  Database db("absent");
  db.Fill(kEntries);
  CustomDatabase* handle = nullptr;
  CustomDb_Open(&handle, db.index_path.c_str(), db.data_path.c_str());
  for (auto _ : state)
    benchmark::DoNotOptimize(CustomDb_IsWord(handle, "nowhere"));
  CustomDb_Close(&handle);
}
BENCHMARK(BM_IsWordAbsent)->Unit(benchmark::kMicrosecond);

void BM_AppendDurable(benchmark::State& state) {
  Database db("append");
  db.Fill(kEntries);
  CustomDatabase* handle = nullptr;
  CustomDb_Open(&handle, db.index_path.c_str(), db.data_path.c_str());
  CustomRelationLists related;
  related[0] = {"alpha", "beta"};
  for (auto _ : state) {
    if (!CustomDb_AppendEntry(&handle, 0, "appended", "a definition of a typical length",
                              "an example^", "", related)) {
      state.SkipWithError("append failed");
      break;
    }
  }
  CustomDb_Close(&handle);
}
BENCHMARK(BM_AppendDurable)->Unit(benchmark::kMillisecond);

void BM_Delete(benchmark::State& state) {
  Database db("delete");
  db.Fill(kEntries);
  CustomDatabase* handle = nullptr;
  CustomDb_Open(&handle, db.index_path.c_str(), db.data_path.c_str());
  for (auto _ : state) {
    // Each run removes one entry from the middle; the database stays near 10,000 entries.
    if (!CustomDb_DeleteEntry(handle, kEntries / 2)) {
      state.SkipWithError("delete failed");
      break;
    }
  }
  CustomDb_Close(&handle);
}
BENCHMARK(BM_Delete)->Unit(benchmark::kMillisecond)->Iterations(100);

}  // namespace

BENCHMARK_MAIN();
