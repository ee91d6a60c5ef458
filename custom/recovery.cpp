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

bool SettleDatabase(const CustomDatabase* db) {
  bool acted = false;
  if (!SettleFiles(db->index_path, db->data_path, &acted)) return false;
  if (acted) {
    // The files moved under the handle; its copy of the index must describe them again.
    CustomIndexHeader header;
    std::vector<CustomIndexEntry> entries;
    if (ReadIndexFile(db->index_path, &header, &entries) == kCustomOk) {
      db->header = header;
      db->entries.swap(entries);
    }
  }
  return true;
}

}  // namespace custom
