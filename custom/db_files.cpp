// File mechanics of the custom database: reading the index, the record reader, and the two
// journaled ways of changing the pair of files. The journal is one small file beside the index
// ("<index>.journal"); empty, it means that nothing is under way.
//
// An append changes both files in place, at their ends and in the header. Before it touches
// them it writes the journal: the old lengths and header, and the index entry and record about
// to be added. Once both files are synced the journal is emptied. A journal found later is
// checked against the files: when both hold the whole append it stands, otherwise both are cut
// back to their old lengths and the old header is written back. Because a complete append
// stands, emptying the journal need not be synced.
//
// Every other change (delete, replace, restore, creation) writes complete new files beside the
// old ones ("<path>.new"), syncs them and their folder, and then writes the journal with their
// lengths and MD5 digests: the journal on disk is the commit. The new files are then renamed
// over the old ones and the journal emptied. A journal found later is carried forward: each
// side file that still matches its digest is renamed into place, so finishing twice is
// harmless. Side files without a journal were never committed and are removed.
//
// Each change writes its journal, synced, before it touches the real files, so a journal found
// on disk always belongs to the last change that touched them. A journal that cannot be decoded
// (cut short while it was written) was never acted on and is discarded with the side files.

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "custom/custom_internal.h"

namespace custom {

namespace {

constexpr uint8_t kJournalMagic[4] = {'V', 'B', 'C', 'J'};
constexpr uint32_t kJournalAppend = 1;
constexpr uint32_t kJournalReplace = 2;
constexpr size_t kJournalBody = 112;
constexpr size_t kJournalSize = kJournalBody + 16;  // body and its MD5

struct Journal {
  uint32_t kind = 0;
  // Append: the lengths before it. Replace: the lengths of the new files.
  uint64_t index_length = 0;
  uint64_t data_length = 0;
  // Append: the old header and the MD5 of the stored record. Replace: the new files' MD5s.
  engine::Digest index_digest{};
  engine::Digest data_digest{};
  // Append only: the index entry added and the stored record's length (4 + N).
  uint8_t entry[kCustomIndexEntrySize] = {};
  uint64_t record_length = 0;
};

std::string JournalPath(const std::string& index_path) {
  return index_path + ".journal";
}

std::string SidePath(const std::string& path) {
  return path + ".new";
}

void StoreU64(uint8_t* p, uint64_t value) {
  StoreU32(p, static_cast<uint32_t>(value));
  StoreU32(p + 4, static_cast<uint32_t>(value >> 32));
}

uint64_t LoadU64(const uint8_t* p) {
  return uint64_t{LoadU32(p)} | uint64_t{LoadU32(p + 4)} << 32;
}

std::array<uint8_t, kJournalSize> EncodeJournal(const Journal& journal) {
  std::array<uint8_t, kJournalSize> bytes{};
  std::memcpy(bytes.data(), kJournalMagic, 4);
  StoreU32(bytes.data() + 4, journal.kind);
  StoreU64(bytes.data() + 8, journal.index_length);
  StoreU64(bytes.data() + 16, journal.data_length);
  std::memcpy(bytes.data() + 24, journal.index_digest.data(), 16);
  std::memcpy(bytes.data() + 40, journal.data_digest.data(), 16);
  std::memcpy(bytes.data() + 56, journal.entry, kCustomIndexEntrySize);
  StoreU64(bytes.data() + 76, journal.record_length);
  engine::Digest check = engine::Md5Bytes(bytes.data(), kJournalBody);
  std::memcpy(bytes.data() + kJournalBody, check.data(), 16);
  return bytes;
}

bool DecodeJournal(const uint8_t* bytes, Journal* journal) {
  if (std::memcmp(bytes, kJournalMagic, 4) != 0) return false;
  engine::Digest check = engine::Md5Bytes(bytes, kJournalBody);
  if (std::memcmp(check.data(), bytes + kJournalBody, 16) != 0) return false;
  journal->kind = LoadU32(bytes + 4);
  journal->index_length = LoadU64(bytes + 8);
  journal->data_length = LoadU64(bytes + 16);
  std::memcpy(journal->index_digest.data(), bytes + 24, 16);
  std::memcpy(journal->data_digest.data(), bytes + 40, 16);
  std::memcpy(journal->entry, bytes + 56, kCustomIndexEntrySize);
  journal->record_length = LoadU64(bytes + 76);
  return journal->kind == kJournalAppend || journal->kind == kJournalReplace;
}

// Syncs the folders of both files (once when they share one).
bool SyncFolders(const std::string& index_path, const std::string& data_path) {
  if (!SyncParentFolder(index_path)) return false;
  return ParentFolder(index_path) == ParentFolder(data_path) || SyncParentFolder(data_path);
}

// Writes and syncs the journal; the file stays between changes, so its folder needs syncing
// only when it is first made.
bool WriteJournal(const std::string& index_path, const Journal& journal) {
  std::string path = JournalPath(index_path);
  int existed = PathExists(path);
  if (existed < 0) return false;
  auto bytes = EncodeJournal(journal);
  File file = OpenFile(path, O_WRONLY | O_CREAT, 0644);
  if (!file.ok() || !WriteAt(file.fd(), bytes.data(), bytes.size(), 0) ||
      Ops().Fsync(file.fd()) != 0 || !file.Reset()) {
    return false;
  }
  return existed == 1 || SyncParentFolder(path);
}

// Empties the journal. `durable` when a crash must not bring its content back.
bool ClearJournal(const std::string& index_path, bool durable) {
  File file = OpenFile(JournalPath(index_path), O_WRONLY);
  if (!file.ok()) return errno == ENOENT;
  if (Ops().Ftruncate(file.fd(), 0) != 0) return false;
  if (durable && Ops().Fsync(file.fd()) != 0) return false;
  return file.Reset();
}

enum class JournalState { kError, kEmpty, kUnreadable, kValid };

JournalState ReadJournal(const std::string& path, Journal* journal) {
  struct stat info;
  if (Ops().Stat(path.c_str(), &info) != 0) {
    return errno == ENOENT ? JournalState::kEmpty : JournalState::kError;
  }
  if (info.st_size == 0) return JournalState::kEmpty;
  File file = OpenFile(path, O_RDONLY);
  if (!file.ok()) return JournalState::kError;
  int64_t size = FileSize(file.fd());
  if (size < 0) return JournalState::kError;
  uint8_t bytes[kJournalSize];
  if (size != static_cast<int64_t>(kJournalSize) || !ReadAt(file.fd(), bytes, kJournalSize, 0)) {
    return JournalState::kUnreadable;
  }
  return DecodeJournal(bytes, journal) ? JournalState::kValid : JournalState::kUnreadable;
}

// Cuts a file back to `length` when it grew beyond it, writes `head` at its start, syncs.
bool RestoreFile(const std::string& path, uint64_t length, const uint8_t* head,
                 size_t head_length) {
  File file = OpenFile(path, O_RDWR);
  if (!file.ok()) return false;
  int64_t size = FileSize(file.fd());
  if (size < 0) return false;
  if (static_cast<uint64_t>(size) > length &&
      Ops().Ftruncate(file.fd(), static_cast<off_t>(length)) != 0) {
    return false;
  }
  if (head_length > 0 && !WriteAt(file.fd(), head, head_length, 0)) return false;
  if (Ops().Fsync(file.fd()) != 0) return false;
  return file.Reset();
}

bool UndoAppend(const std::string& index_path, const std::string& data_path,
                const Journal& journal) {
  return RestoreFile(index_path, journal.index_length, journal.index_digest.data(),
                     kCustomHeaderSize) &&
         RestoreFile(data_path, journal.data_length, nullptr, 0);
}

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
  uint8_t expected[kCustomHeaderSize];
  std::memcpy(expected, journal.index_digest.data(), kCustomHeaderSize);
  StoreU32(expected + kCountAt, LoadU32(expected + kCountAt) + 1);
  if (std::memcmp(header, expected, sizeof header) != 0 ||
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

// Writes one side file from `content`; false with errno set on failure.
bool WriteSideFile(const std::string& path, const NewContent& content, uint64_t* length,
                   engine::Digest* digest) {
  struct stat info;
  mode_t mode = Ops().Stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644;
  File out = OpenFile(SidePath(path), O_WRONLY | O_CREAT | O_TRUNC, mode);
  if (!out.ok()) return false;
  engine::Md5 md5;
  uint64_t written = 0;
  if (content.copy_from.empty()) {
    const std::vector<uint8_t>& bytes = *content.bytes;
    if (!WriteAt(out.fd(), bytes.data(), bytes.size(), 0)) return false;
    md5.Update(bytes.data(), bytes.size());
    written = bytes.size();
  } else {
    File in = OpenFile(content.copy_from, O_RDONLY);
    if (!in.ok()) return false;
    bool copied = ReadInChunks(in.fd(), [&](const uint8_t* bytes, size_t got, uint64_t at) {
      if (!WriteAt(out.fd(), bytes, got, at)) return false;
      md5.Update(bytes, got);
      written += got;
      return true;
    });
    if (!copied) return false;
  }
  if (Ops().Fsync(out.fd()) != 0) return false;
  if (!out.Reset()) return false;
  *length = written;
  *digest = md5.Final();
  return true;
}

}  // namespace

int32_t ReadIndexFile(const std::string& index_path, CustomIndexHeader* header,
                      std::vector<CustomIndexEntry>* entries) {
  File file = OpenFile(index_path, O_RDONLY);
  if (!file.ok()) return kCustomCannotOpen;
  int64_t size = FileSize(file.fd());
  if (size < kCustomHeaderSize || !ReadAt(file.fd(), header->data(), kCustomHeaderSize, 0)) {
    return kCustomBadIndex;
  }
  uint64_t count = LoadU32(header->data() + kCountAt);
  uint64_t needed = kCustomHeaderSize + count * kCustomIndexEntrySize;
  // A count the file cannot hold is damage, and must never size an allocation.
  if (needed > static_cast<uint64_t>(size)) return kCustomBadIndex;
  std::vector<uint8_t> bytes;
  try {
    bytes.resize(needed - kCustomHeaderSize);
    entries->clear();
    entries->reserve(count);
  } catch (const std::bad_alloc&) {
    return kCustomNoMemory;
  }
  if (!ReadAt(file.fd(), bytes.data(), bytes.size(), kCustomHeaderSize)) return kCustomBadIndex;
  for (uint64_t i = 0; i < count; ++i) {
    const uint8_t* p = bytes.data() + i * kCustomIndexEntrySize;
    CustomIndexEntry entry;
    std::memcpy(entry.key.data(), p, 16);
    entry.offset = LoadU32(p + 16);
    entries->push_back(entry);
  }
  return kCustomOk;
}

std::vector<uint8_t> EncodeIndex(const CustomIndexHeader& header,
                                 const std::vector<CustomIndexEntry>& entries) {
  std::vector<uint8_t> bytes(kCustomHeaderSize + entries.size() * kCustomIndexEntrySize);
  std::memcpy(bytes.data(), header.data(), kCustomHeaderSize);
  StoreU32(bytes.data() + kCountAt, static_cast<uint32_t>(entries.size()));
  uint8_t* p = bytes.data() + kCustomHeaderSize;
  for (const CustomIndexEntry& entry : entries) {
    std::memcpy(p, entry.key.data(), 16);
    StoreU32(p + 16, entry.offset);
    p += kCustomIndexEntrySize;
  }
  return bytes;
}

bool SettleFiles(const std::string& index_path, const std::string& data_path, bool* acted) {
  *acted = false;
  Journal journal;
  switch (ReadJournal(JournalPath(index_path), &journal)) {
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
    // The files moved under the handle; it must describe them again. Handles are only ever
    // created as modifiable objects, so the entries may be refreshed here.
    auto* mutable_db = const_cast<CustomDatabase*>(db);
    CustomIndexHeader header;
    std::vector<CustomIndexEntry> entries;
    if (ReadIndexFile(db->index_path, &header, &entries) == kCustomOk) {
      mutable_db->header = header;
      mutable_db->entries.swap(entries);
    }
  }
  return true;
}

AppendOutcome AppendToFiles(const std::string& index_path, const std::string& data_path,
                            uint32_t expected_count, const engine::Digest& key,
                            const std::vector<uint8_t>& record, uint32_t* offset,
                            CustomIndexHeader* header) {
  Journal journal;
  journal.kind = kJournalAppend;
  CustomIndexHeader new_header;
  {
    File index = OpenFile(index_path, O_RDONLY);
    File data = OpenFile(data_path, O_RDONLY);
    if (!index.ok() || !data.ok()) return AppendOutcome::kFailed;
    int64_t index_size = FileSize(index.fd());
    int64_t data_size = FileSize(data.fd());
    if (index_size < 0 || data_size < 0) return AppendOutcome::kFailed;
    if (index_size < kCustomHeaderSize ||
        !ReadAt(index.fd(), journal.index_digest.data(), kCustomHeaderSize, 0)) {
      return AppendOutcome::kNeedsRewrite;
    }
    uint32_t count = LoadU32(journal.index_digest.data() + kCountAt);
    if (count != expected_count || count == UINT32_MAX ||
        static_cast<uint64_t>(index_size) !=
            kCustomHeaderSize + uint64_t{count} * kCustomIndexEntrySize) {
      return AppendOutcome::kNeedsRewrite;
    }
    // Offsets are 32-bit: a data file that would outgrow them takes no more records.
    if (static_cast<uint64_t>(data_size) + record.size() > UINT32_MAX)
      return AppendOutcome::kFailed;
    journal.index_length = static_cast<uint64_t>(index_size);
    journal.data_length = static_cast<uint64_t>(data_size);
    std::memcpy(new_header.data(), journal.index_digest.data(), kCustomHeaderSize);
    StoreU32(new_header.data() + kCountAt, count + 1);
  }
  std::memcpy(journal.entry, key.data(), 16);
  StoreU32(journal.entry + 16, static_cast<uint32_t>(journal.data_length));
  journal.record_length = record.size();
  journal.data_digest = engine::Md5Bytes(record.data(), record.size());

  if (!WriteJournal(index_path, journal)) {
    // Nothing was changed yet; a journal left behind would only undo nothing.
    ClearJournal(index_path, true);
    return AppendOutcome::kFailed;
  }
  bool written = false;
  {
    File data = OpenFile(data_path, O_WRONLY);
    File index = OpenFile(index_path, O_WRONLY);
    written = data.ok() && index.ok() &&
              WriteAt(data.fd(), record.data(), record.size(), journal.data_length) &&
              Ops().Fsync(data.fd()) == 0 &&
              WriteAt(index.fd(), journal.entry, kCustomIndexEntrySize, journal.index_length) &&
              WriteAt(index.fd(), new_header.data(), kCustomHeaderSize, 0) &&
              Ops().Fsync(index.fd()) == 0 && data.Reset() && index.Reset();
  }
  if (!written) {
    // Undone here even where the files might look complete: the caller reports a failure.
    if (UndoAppend(index_path, data_path, journal)) ClearJournal(index_path, true);
    return AppendOutcome::kFailed;
  }
  // Should the journal come back after a crash, the files hold the whole append and it stands.
  ClearJournal(index_path, false);
  *offset = static_cast<uint32_t>(journal.data_length);
  *header = new_header;
  return AppendOutcome::kDone;
}

int ReplaceFiles(const std::string& index_path, const std::string& data_path,
                 const NewContent& index, const NewContent& data) {
  Journal journal;
  journal.kind = kJournalReplace;
  if (!WriteSideFile(index_path, index, &journal.index_length, &journal.index_digest) ||
      !WriteSideFile(data_path, data, &journal.data_length, &journal.data_digest) ||
      !SyncFolders(index_path, data_path) || !WriteJournal(index_path, journal)) {
    int error = errno != 0 ? errno : EIO;
    // The journal is emptied first: without it the side files are never taken for a commit.
    if (ClearJournal(index_path, true)) RemoveStaleSideFiles(index_path, data_path);
    return error;
  }
  // Committed. Should a step below fail, the next operation on the files finishes it.
  if (Ops().Rename(SidePath(data_path).c_str(), data_path.c_str()) == 0 &&
      Ops().Rename(SidePath(index_path).c_str(), index_path.c_str()) == 0 &&
      SyncFolders(index_path, data_path)) {
    ClearJournal(index_path, false);
  }
  return 0;
}

RecordReader::~RecordReader() {
  if (cipher_ != nullptr) Encrypt_Deinitialize(&cipher_);
}

int32_t RecordReader::Open(const std::string& data_path) {
  file_ = OpenFile(data_path, O_RDONLY);
  if (!file_.ok()) return kCustomCannotOpen;
  int64_t size = FileSize(file_.fd());
  if (size < 0) return kCustomCannotOpen;
  size_ = static_cast<uint64_t>(size);
  return kCustomOk;
}

bool RecordReader::Extent(uint32_t offset, uint64_t* length) {
  uint8_t prefix[4];
  if (uint64_t{offset} + 4 > size_ || !ReadAt(file_.fd(), prefix, 4, offset)) return false;
  uint64_t n = LoadU32(prefix);
  if (n > size_ - offset - 4) return false;
  *length = 4 + n;
  return true;
}

int32_t RecordReader::Read(uint32_t offset, std::string* text, bool* skipped) {
  *skipped = false;
  uint8_t prefix[4];
  if (uint64_t{offset} + 4 > size_ || !ReadAt(file_.fd(), prefix, 4, offset)) {
    return kCustomBadRecord;
  }
  uint32_t n = LoadU32(prefix);
  if (n == 0) {
    *skipped = true;
    return kCustomOk;
  }
  if (n > size_ - offset - 4) return kCustomBadRecord;
  if (n % 8 != 0 || n > static_cast<uint32_t>(INT32_MAX)) return kCustomCipherError;
  try {
    if (cipher_text_.size() < n) cipher_text_.resize(n);
    plain_text_.assign(n, 0);
  } catch (const std::bad_alloc&) {
    *skipped = true;
    return kCustomOk;
  }
  if (!ReadAt(file_.fd(), cipher_text_.data(), n, uint64_t{offset} + 4)) return kCustomBadRecord;
  if (cipher_ == nullptr && Encrypt_Initialize(&cipher_, nullptr, 0) != kEncryptOk) {
    cipher_ = nullptr;
    return kCustomCipherError;
  }
  int32_t length = static_cast<int32_t>(n);
  if (Decrypt(cipher_, cipher_text_.data(), length, plain_text_.data(), &length) != kEncryptOk) {
    return kCustomCipherError;
  }
  auto end = std::find(plain_text_.begin(), plain_text_.end(), uint8_t{0});
  text->assign(plain_text_.begin(), end);
  return kCustomOk;
}

}  // namespace custom
