// The journal file: its encoding, and writing, emptying and reading it.
#include "custom/journal.h"

#include <fcntl.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace custom {

namespace {

constexpr uint8_t kJournalMagic[4] = {'V', 'B', 'C', 'J'};

void StoreU64(uint8_t* p, uint64_t value) {
  StoreU32(p, static_cast<uint32_t>(value));
  StoreU32(p + 4, static_cast<uint32_t>(value >> 32));
}

uint64_t LoadU64(const uint8_t* p) {
  return uint64_t{LoadU32(p)} | uint64_t{LoadU32(p + 4)} << 32;
}

std::array<uint8_t, kJournalSize> EncodeJournal(const Journal& journal) {
  std::array<uint8_t, kJournalSize> bytes{};
  uint8_t* b = bytes.data();
  std::memcpy(b + kJournalMagicAt, kJournalMagic, sizeof kJournalMagic);
  StoreU32(b + kJournalKindAt, journal.kind);
  StoreU64(b + kJournalIndexLengthAt, journal.index_length);
  StoreU64(b + kJournalDataLengthAt, journal.data_length);
  if (journal.kind == kJournalAppend) {
    std::memcpy(b + kJournalIndexDigestAt, journal.old_header.data(), kCustomHeaderSize);
  } else {
    std::memcpy(b + kJournalIndexDigestAt, journal.index_digest.data(), kCustomKeySize);
  }
  std::memcpy(b + kJournalDataDigestAt, journal.data_digest.data(), journal.data_digest.size());
  std::memcpy(b + kJournalEntryAt, journal.entry, kCustomIndexEntrySize);
  StoreU64(b + kJournalRecordLengthAt, journal.record_length);
  engine::Digest check = engine::Md5Bytes(b, kJournalBody);
  std::memcpy(b + kJournalBody, check.data(), check.size());
  return bytes;
}

bool DecodeJournal(const uint8_t* bytes, Journal* journal) {
  if (std::memcmp(bytes + kJournalMagicAt, kJournalMagic, sizeof kJournalMagic) != 0) {
    return false;
  }
  engine::Digest check = engine::Md5Bytes(bytes, kJournalBody);
  if (std::memcmp(check.data(), bytes + kJournalBody, check.size()) != 0) return false;
  journal->kind = LoadU32(bytes + kJournalKindAt);
  journal->index_length = LoadU64(bytes + kJournalIndexLengthAt);
  journal->data_length = LoadU64(bytes + kJournalDataLengthAt);
  if (journal->kind == kJournalAppend) {
    std::memcpy(journal->old_header.data(), bytes + kJournalIndexDigestAt, kCustomHeaderSize);
  } else {
    std::memcpy(journal->index_digest.data(), bytes + kJournalIndexDigestAt, kCustomKeySize);
  }
  std::memcpy(journal->data_digest.data(), bytes + kJournalDataDigestAt,
              journal->data_digest.size());
  std::memcpy(journal->entry, bytes + kJournalEntryAt, kCustomIndexEntrySize);
  journal->record_length = LoadU64(bytes + kJournalRecordLengthAt);
  return journal->kind == kJournalAppend || journal->kind == kJournalReplace;
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

}  // namespace

std::string JournalPath(const std::string& index_path) {
  return index_path + ".journal";
}

std::string SidePath(const std::string& path) {
  return path + ".new";
}

// The file stays between changes, so its folder needs syncing only when it is first made.
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

bool ClearJournal(const std::string& index_path, bool durable) {
  File file = OpenFile(JournalPath(index_path), O_WRONLY);
  if (!file.ok()) return errno == ENOENT;
  if (Ops().Ftruncate(file.fd(), 0) != 0) return false;
  if (durable && Ops().Fsync(file.fd()) != 0) return false;
  return file.Reset();
}

JournalState ReadJournal(const std::string& index_path, Journal* journal) {
  const std::string path = JournalPath(index_path);
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

bool UndoAppend(const std::string& index_path, const std::string& data_path,
                const Journal& journal) {
  return RestoreFile(index_path, journal.index_length, journal.old_header.data(),
                     kCustomHeaderSize) &&
         RestoreFile(data_path, journal.data_length, nullptr, 0);
}

bool SyncFolders(const std::string& index_path, const std::string& data_path) {
  if (!SyncParentFolder(index_path)) return false;
  return ParentFolder(index_path) == ParentFolder(data_path) || SyncParentFolder(data_path);
}

}  // namespace custom
