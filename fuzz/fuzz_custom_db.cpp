// Arbitrary bytes as a custom database: byte 0 chooses the entry to delete, bytes 1 and 2 give
// the index file's length (little-endian), the index follows and the rest is the data file.
// Every index key is replaced by the key of "a" or "b" (by its first byte's parity), so that
// mutated records are reached by the lookups. The database is opened, searched, listed, an
// entry deleted and an entry appended; nothing may crash or read outside a buffer.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "custom/custom_db.h"
#include "custom/file_ops.h"
#include "engine/md5.h"

namespace {

// Syncing buys nothing here and costs milliseconds per run.
class NoSyncOps : public custom::FileOps {
 public:
  int Fsync(int) override { return 0; }
};

// A private folder, in memory where possible, removed when the process ends.
struct ScratchFolder {
  ScratchFolder() {
    std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = base + "/verbarium_fuzz_custom_XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) std::abort();
    path = buffer.data();
  }
  ~ScratchFolder() {
    for (const char* name : {"/x.idx", "/x.dat", "/x.idx.new", "/x.dat.new", "/x.idx.journal"}) {
      std::remove((path + name).c_str());
    }
    rmdir(path.c_str());
  }
  std::string path;
};

const std::string& Folder() {
  static const ScratchFolder folder;
  return folder.path;
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static NoSyncOps ops;
  custom::SetFileOpsForTesting(&ops);
  if (size < 3) return 0;
  uint8_t choice = data[0];
  size_t index_length = data[1] | size_t{data[2]} << 8;
  data += 3;
  size -= 3;
  if (index_length > size) index_length = size;

  std::vector<uint8_t> index(data, data + index_length);
  engine::Digest keys[2] = {engine::Md5String("a"), engine::Md5String("b")};
  for (size_t at = 16; at + 20 <= index.size(); at += 20) {
    const engine::Digest& key = keys[index[at] & 1];
    std::copy(key.begin(), key.end(), index.begin() + static_cast<std::ptrdiff_t>(at));
  }
  std::string index_path = Folder() + "/x.idx";
  std::string data_path = Folder() + "/x.dat";
  WriteFile(index_path, index.data(), index.size());
  WriteFile(data_path, data + index_length, size - index_length);

  CustomDatabase* db = nullptr;
  if (CustomDb_Open(&db, index_path.c_str(), data_path.c_str()) != kCustomOk) return 0;
  std::vector<std::string> words;
  std::vector<TagRecord> senses;
  std::vector<CustomEntryInfo> infos;
  std::vector<CustomEntrySummary> all;
  for (const char* word : {"a", "b", "c"}) {
    int32_t status = 0;
    CustomDb_IsWord(db, word, &status);
    CustomDb_GetSenses(db, word, &senses);
    CustomDb_GetEntries(db, word, &infos);
    for (const CustomRelation& relation : kCustomRelations) {
      relation.has(db, word);
      relation.get(db, word, &words);
    }
  }
  CustomDb_GetAllEntries(db, &all);
  CustomDb_CountEntries(db);
  CustomDb_DeleteEntry(db, choice & 7);
  CustomDb_AppendEntry(&db, choice >> 4, "a", "added", "", "", {});
  CustomDb_FindRecords(db, "a", &words);
  CustomDb_GetAllEntries(db, &all);
  CustomDb_Close(&db);
  return 0;
}
