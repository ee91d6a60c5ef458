// The two journaled ways of changing the pair of files.
//
// An append changes both files in place, at their ends and in the header. Before it touches
// them it writes the journal: the old lengths and header, and the index entry and record about
// to be added. Once both files are synced the journal is emptied; should a crash bring it
// back, the files hold the whole append and it stands.
//
// Every other change (delete, replace, restore, creation) writes complete new files beside the
// old ones ("<path>.new"), syncs them and their folder, and then writes the journal with their
// lengths and MD5 digests: the journal on disk is the commit. The new files are then renamed
// over the old ones and the journal emptied; a crash in between is finished by the next
// operation on the files (custom/recovery.cpp).
#include <fcntl.h>

#include <cerrno>
#include <cstring>

#include "custom/custom_internal.h"
#include "custom/journal.h"

namespace custom {

namespace {

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
        !ReadAt(index.fd(), journal.old_header.data(), kCustomHeaderSize, 0)) {
      return AppendOutcome::kNeedsRewrite;
    }
    uint32_t count = LoadU32(journal.old_header.data() + kCustomCountAt);
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
    new_header = journal.old_header;
    StoreU32(new_header.data() + kCustomCountAt, count + 1);
  }
  std::memcpy(journal.entry, key.data(), kCustomKeySize);
  StoreU32(journal.entry + kCustomEntryOffsetAt, static_cast<uint32_t>(journal.data_length));
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

}  // namespace custom
