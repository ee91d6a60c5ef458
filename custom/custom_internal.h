// What the store, the queries and backup share inside the custom database library: the open
// database object, the index file (index_file.cpp), the journaled file changes (changes.cpp)
// and the settling of a change cut short (recovery.cpp), the record reader (record_reader.cpp)
// and the walk over the records.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "custom/custom_db.h"
#include "custom/db_lock.h"
#include "custom/file_ops.h"
#include "engine/encrypt.h"
#include "engine/little_endian.h"
#include "engine/md5.h"

struct CustomIndexEntry {
  engine::Digest key{};
  uint32_t offset = 0;
};

using CustomIndexHeader = std::array<uint8_t, kCustomHeaderSize>;

// What tells one state of the index file from another: every change either renames a new file
// into place or grows (or cuts back) the old one, and each time its modification time moves.
struct IndexFileIdentity {
  bool known = false;
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t size = 0;
  int64_t modified_ns = 0;
  bool operator==(const IndexFileIdentity&) const = default;
};

struct CustomDatabase {
  std::string index_path;
  std::string data_path;
  // The index as the files hold it: read at open, and read again under the lock by any
  // operation (queries on a const handle included) that finds the index file changed since,
  // by this process or another. The count is kept equal to entries.size().
  mutable CustomIndexHeader header{};
  mutable std::vector<CustomIndexEntry> entries;
  mutable IndexFileIdentity loaded;
};

namespace custom {

// Runs `body` and returns what it returns, or `no_memory` when memory runs out inside it. The
// public functions run their work through it, so running out of memory is answered in one
// place and no exception leaves the library.
template <typename Result, typename Body>
Result UnlessOutOfMemory(Result no_memory, Body body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return no_memory;
  }
}

using engine::LoadU32;
using engine::StoreU32;

// Reads the header and every entry of an index file. kCustomOk; kCustomCannotOpen when it
// cannot be opened; kCustomBadIndex when the header is short or the file holds fewer entries
// than its count; kCustomNoMemory.
int32_t ReadIndexFile(const std::string& index_path, CustomIndexHeader* header,
                      std::vector<CustomIndexEntry>* entries);

// The bytes of an index file: `header` with its count set to the number of entries, then the
// entries.
std::vector<uint8_t> EncodeIndex(const CustomIndexHeader& header,
                                 const std::vector<CustomIndexEntry>& entries);

// Finishes or undoes a change that was cut short, so that the pair is consistent again. True
// when nothing is left to settle; `acted` tells whether anything had to be done.
bool SettleFiles(const std::string& index_path, const std::string& data_path, bool* acted);

// Removes side files that an unfinished, never committed change left behind.
void RemoveStaleSideFiles(const std::string& index_path, const std::string& data_path);

// Takes the lock of the pair in `mode` and settles a change cut short, turning a shared lock
// exclusive to do so. False when the lock cannot be had in time or the files cannot be settled.
// `create` as for DbLock::Acquire.
bool LockFiles(const std::string& index_path, const std::string& data_path, LockMode mode,
               bool create, DbLock* lock);

// LockFiles for an open database, then brings its index up to date with the index file when
// that changed since it was read. kCustomOk; kCustomCannotOpen when the lock cannot be had or
// the files cannot be settled; the code of ReadIndexFile when the changed index cannot be read.
int32_t LockDatabase(const CustomDatabase* db, LockMode mode, DbLock* lock);

// Reads the index file into the database and remembers which state of the file it read.
int32_t LoadIndex(const CustomDatabase* db);

enum class AppendOutcome { kDone, kFailed, kNeedsRewrite };

// Appends one record (length and cipher text, ready to write) to the data file and one index
// entry for it, raising the header count, as one journaled change. `expected_count` is the
// count the caller believes; an index whose count or length differs gives kNeedsRewrite and
// changes nothing. On kDone, `offset` receives the record's offset and `header` the new header.
AppendOutcome AppendToFiles(const std::string& index_path, const std::string& data_path,
                            uint32_t expected_count, const engine::Digest& key,
                            const std::vector<uint8_t>& record, uint32_t* offset,
                            CustomIndexHeader* header);

// New content of one file: the given bytes, or a copy of another file when `copy_from` is set.
struct NewContent {
  const std::vector<uint8_t>* bytes = nullptr;
  std::string copy_from;
};

// Replaces both files as one change: new files are written and synced beside the old ones,
// committed by a journal, then renamed over them. 0 once the change is committed (on disk);
// otherwise the errno of the first failure, and both files are as they were.
int ReplaceFiles(const std::string& index_path, const std::string& data_path,
                 const NewContent& index, const NewContent& data);

// Reads the records of a data file, one open and one cipher for many records.
class RecordReader {
 public:
  RecordReader() = default;
  RecordReader(const RecordReader&) = delete;
  RecordReader& operator=(const RecordReader&) = delete;
  ~RecordReader();

  // kCustomOk, or kCustomCannotOpen.
  int32_t Open(const std::string& data_path);

  // Reads and deciphers the record at `offset`; the text ends at the first zero byte.
  // kCustomOk (with `skipped` set for a record of length 0 or one that no memory can be had
  // for); kCustomBadRecord when the record lies outside the file or cannot be read;
  // kCustomCipherError when its length is not a multiple of 8 or it cannot be deciphered.
  int32_t Read(uint32_t offset, std::string* text, bool* skipped);

  // The raw extent of the record at `offset` (4 + N bytes), when it lies inside the file.
  bool Extent(uint32_t offset, uint64_t* length);

  uint64_t size() const { return size_; }
  int fd() const { return file_.fd(); }

 private:
  File file_;
  uint64_t size_ = 0;
  EncryptHandle cipher_ = nullptr;
  std::vector<uint8_t> cipher_text_;
  std::vector<uint8_t> plain_text_;
};

// Reads the record of `entry` (RecordReader::Read) and checks it against the entry's key: a
// record that does not hold 27 fields or is not stored under its own word (CheckCustomRecord)
// is damage, kCustomCipherError, and never passes for an entry.
int32_t ReadCheckedRecord(RecordReader* reader, const CustomIndexEntry& entry, std::string* text,
                          bool* skipped);

// Locks the database shared and brings it up to date (LockDatabase), then reads, in index order,
// the records of the entries that `wanted` accepts and hands each one that is not skipped to
// `visit`; the data file is opened only when a record is wanted. kCustomOk; the code of
// LockDatabase; otherwise the reader's status for the first record that cannot be opened or read.
template <typename Wanted, typename Visit>
int32_t VisitRecords(const CustomDatabase* db, Wanted wanted, Visit visit) {
  DbLock lock;
  if (int32_t code = LockDatabase(db, LockMode::kShared, &lock); code != kCustomOk) return code;
  RecordReader reader;
  bool opened = false;
  std::string text;
  for (const CustomIndexEntry& entry : db->entries) {
    if (!wanted(entry)) continue;
    if (!opened) {
      int32_t code = reader.Open(db->data_path);
      if (code != kCustomOk) return code;
      opened = true;
    }
    bool skipped = false;
    int32_t code = ReadCheckedRecord(&reader, entry, &text, &skipped);
    if (code != kCustomOk) return code;
    if (!skipped) visit(entry, text);
  }
  return kCustomOk;
}

}  // namespace custom
