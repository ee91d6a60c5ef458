// Settling the files after a change that a crash cut short: a journal found on disk always
// belongs to the last change that touched the files, because each change writes it, synced,
// before it touches them.
//
// An append stands when both files hold the whole of it, exactly; otherwise both are cut back
// to their old lengths and the old header is written back. A replacing change is carried
// forward: each side file that still matches its digest is renamed into place, so finishing
// twice is harmless. A journal that cannot be decoded (cut short while it was written) was
// never acted on and is discarded with the side files; side files without a journal were never
// committed and are removed.
#include <fcntl.h>

#include <cstring>
#include <new>

#include "custom/custom_internal.h"
#include "custom/journal.h"

namespace custom {

namespace {

// Whether both files hold the whole append the journal describes, exactly and nothing more.
bool AppendIsComplete(const std::string& index_path, const std::string& data_path,
                      const Journal& journal) {
  File index = OpenFile(index_path, O_RDONLY);
  File data = OpenFile(data_path, O_RDONLY);
  if (!index.ok() || !data.ok()) return false;
  if (FileSize(index.fd()) != static_cast<int64_t>(journal.index_length + kCustomIndexEntrySize) ||
      FileSize(data.fd()) != static_cast<int64_t>(journal.data_length + journal.record_length)) {
    return false;
  }
  uint8_t header[kCustomHeaderSize];
  uint8_t entry[kCustomIndexEntrySize];
  if (!ReadAt(index.fd(), header, sizeof header, 0) ||
      !ReadAt(index.fd(), entry, sizeof entry, journal.index_length)) {
    return false;
  }
  CustomIndexHeader expected = journal.old_header;
  StoreU32(expected.data() + kCustomCountAt, LoadU32(expected.data() + kCustomCountAt) + 1);
  if (std::memcmp(header, expected.data(), sizeof header) != 0 ||
      std::memcmp(entry, journal.entry, sizeof entry) != 0) {
    return false;
  }
  std::vector<uint8_t> record;
  try {
    record.resize(journal.record_length);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return ReadAt(data.fd(), record.data(), record.size(), journal.data_length) &&
         engine::Md5Bytes(record.data(), record.size()) == journal.data_digest;
}

// MD5 and length of a whole file; false when it cannot be read.
bool DigestOfFile(const std::string& path, uint64_t* length, engine::Digest* digest) {
  File file = OpenFile(path, O_RDONLY);
  if (!file.ok()) return false;
  engine::Md5 md5;
  uint64_t total = 0;
  bool read = ReadInChunks(file.fd(), [&](const uint8_t* bytes, size_t got, uint64_t) {
    md5.Update(bytes, got);
    total += got;
    return true;
  });
  if (!read) return false;
  *length = total;
  *digest = md5.Final();
  return true;
}

// Renames a committed side file into place; one that is gone was renamed already, one that
// does not match the journal belongs to no committed change and is removed.
bool CarryForward(const std::string& path, uint64_t length, const engine::Digest& digest) {
  std::string side = SidePath(path);
  int present = PathExists(side);
  if (present == 0) return true;
  if (present < 0) return false;
  uint64_t actual_length = 0;
  engine::Digest actual{};
  if (!DigestOfFile(side, &actual_length, &actual)) return false;
  if (actual_length != length || actual != digest) return RemoveIfPresent(side);
  return Ops().Rename(side.c_str(), path.c_str()) == 0;
}

}  // namespace

bool SettleFiles(const std::string& index_path, const std::string& data_path, bool* acted) {
  *acted = false;
  Journal journal;
  switch (ReadJournal(index_path, &journal)) {
    case JournalState::kError:
      return false;
    case JournalState::kEmpty:
      return true;
    case JournalState::kUnreadable:
      // Written only partly, so never acted on: nothing was changed in place, nothing renamed.
      *acted = true;
      if (!RemoveIfPresent(SidePath(data_path)) || !RemoveIfPresent(SidePath(index_path))) {
        return false;
      }
      return ClearJournal(index_path, true);
    case JournalState::kValid:
      break;
  }
  *acted = true;
  if (journal.kind == kJournalAppend) {
    if (!AppendIsComplete(index_path, data_path, journal) &&
        !UndoAppend(index_path, data_path, journal)) {
      return false;
    }
  } else {
    if (!CarryForward(data_path, journal.data_length, journal.data_digest) ||
        !CarryForward(index_path, journal.index_length, journal.index_digest) ||
        !SyncFolders(index_path, data_path)) {
      return false;
    }
  }
  // Should the journal come back after a crash, settling again comes to the same files, so
  // emptying it need not be synced.
  return ClearJournal(index_path, false);
}

void RemoveStaleSideFiles(const std::string& index_path, const std::string& data_path) {
  // The data side file goes first: an index side file alone never looks committed.
  RemoveIfPresent(SidePath(data_path));
  RemoveIfPresent(SidePath(index_path));
}

bool LockFiles(const std::string& index_path, const std::string& data_path, LockMode mode,
               bool create, DbLock* lock) {
  if (!lock->Acquire(index_path, mode, create)) return false;
  Journal journal;
  // Under the lock a journal with content is one that a crash left: every change empties it
  // before it lets the lock go.
  const JournalState state = ReadJournal(index_path, &journal);
  if (state == JournalState::kEmpty) return true;
  if (state == JournalState::kError || !lock->Upgrade()) return false;
  bool acted = false;
  return SettleFiles(index_path, data_path, &acted);
}

namespace {

bool IdentityOf(const std::string& path, IndexFileIdentity* identity) {
  struct stat info;
  if (Ops().Stat(path.c_str(), &info) != 0) return false;
  identity->known = true;
  identity->device = info.st_dev;
  identity->inode = info.st_ino;
  identity->size = info.st_size;
  identity->modified_ns = int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec;
  return true;
}

}  // namespace

int32_t LoadIndex(const CustomDatabase* db) {
  IndexFileIdentity identity;
  if (!IdentityOf(db->index_path, &identity)) identity = IndexFileIdentity{};
  CustomIndexHeader header;
  std::vector<CustomIndexEntry> entries;
  int32_t code = ReadIndexFile(db->index_path, &header, &entries);
  if (code != kCustomOk) return code;
  db->header = header;
  db->entries.swap(entries);
  db->loaded = identity;
  return kCustomOk;
}

int32_t LockDatabase(const CustomDatabase* db, LockMode mode, DbLock* lock) {
  if (!LockFiles(db->index_path, db->data_path, mode, false, lock)) return kCustomCannotOpen;
  // A change reads the index afresh whatever the file looks like: it must start from exactly
  // what the files hold.
  IndexFileIdentity now;
  if (mode == LockMode::kShared && db->loaded.known && IdentityOf(db->index_path, &now) &&
      now == db->loaded) {
    return kCustomOk;
  }
  return LoadIndex(db);
}

}  // namespace custom
