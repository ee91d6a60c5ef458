// Backup and restore of the custom database's two files.

#include "custom/backup.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "custom/custom_db.h"
#include "custom/custom_internal.h"
#include "custom/record_check.h"

namespace {

std::string SystemText(int error) {
  return std::strerror(error != 0 ? error : EIO);
}

std::string FailureText(const char* what, const std::string& reason) {
  return std::string(what) + " : " + reason;
}

std::string FailureText(const char* what, int error) {
  return FailureText(what, SystemText(error));
}

// A path as messages show it: its file name in quotes.
std::string Quoted(const std::string& path) {
  const size_t slash = path.rfind('/');
  return "\"" + path.substr(slash == std::string::npos ? 0 : slash + 1) + "\"";
}

bool SameFile(int fd, const std::string& path) {
  struct stat a;
  struct stat b;
  return custom::Ops().Fstat(fd, &a) == 0 && custom::Ops().Stat(path.c_str(), &b) == 0 &&
         a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Copies `from` over `to` (created or truncated) and syncs it; 0 or the errno of the failure.
int CopyFile(const std::string& from, const std::string& to) {
  custom::File in = custom::OpenFile(from, O_RDONLY);
  if (!in.ok()) return errno;
  // Truncating the source itself would destroy it before it is read.
  if (SameFile(in.fd(), to)) return EINVAL;
  custom::File out = custom::OpenFile(to, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!out.ok()) return errno;
  bool copied =
      custom::ReadInChunks(in.fd(), [&out](const uint8_t* bytes, size_t got, uint64_t at) {
        return custom::WriteAt(out.fd(), bytes, got, at);
      });
  if (!copied) return errno;
  if (custom::Ops().Fsync(out.fd()) != 0 || !out.Reset()) return errno;
  return 0;
}

}  // namespace

std::string BackupIndexPath(const std::string& dbk_path) {
  const std::string_view extension = kBackupExtension;
  if (dbk_path.ends_with(extension)) {
    return dbk_path.substr(0, dbk_path.size() - extension.size()) + kBackupIndexExtension;
  }
  return dbk_path + kBackupIndexExtension;
}

std::string CheckBackupPair(const std::string& dbk_path) {
  const std::string ibk_path = BackupIndexPath(dbk_path);
  CustomIndexHeader header;
  std::vector<CustomIndexEntry> entries;
  errno = 0;
  switch (custom::ReadIndexFile(ibk_path, &header, &entries)) {
    case kCustomOk:
      break;
    case kCustomCannotOpen:
      return SystemText(errno);
    case kCustomNoMemory:
      return SystemText(ENOMEM);
    default:
      return "the index file " + Quoted(ibk_path) + " is damaged";
  }
  custom::RecordReader reader;
  errno = 0;
  if (reader.Open(dbk_path) != kCustomOk) return SystemText(errno);
  // The store keeps the records in index order, back to back: its deletes rely on that.
  uint64_t expected = 0;
  for (const CustomIndexEntry& entry : entries) {
    uint64_t length = 0;
    if (entry.offset != expected || !reader.Extent(entry.offset, &length)) {
      expected = UINT64_MAX;
      break;
    }
    expected += length;
  }
  if (expected != reader.size()) {
    return "the data file " + Quoted(dbk_path) + " does not hold the records its index lists";
  }
  std::string text;
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::string record = "record " + std::to_string(i + 1) + " of " + Quoted(dbk_path);
    bool skipped = false;
    switch (reader.Read(entries[i].offset, &text, &skipped)) {
      case kCustomOk:
        break;
      case kCustomCipherError:
        return record + " cannot be deciphered";
      default:
        return record + " cannot be read";
    }
    if (skipped) continue;
    const RecordFault fault = CheckCustomRecord(text, entries[i].key);
    if (fault != RecordFault::kNone) return record + " " + RecordFaultText(fault);
  }
  return {};
}

std::string SuggestedBackupName(std::time_t now) {
  std::tm utc{};
  if (gmtime_r(&now, &utc) == nullptr) return "vbc";
  char name[64];
  std::snprintf(name, sizeof name, "vbc%02d%02d%d%02d%02d%02d", utc.tm_mon + 1, utc.tm_mday,
                utc.tm_year + 1900, utc.tm_hour, utc.tm_min, utc.tm_sec);
  return name;
}

std::string BackupCustomDatabase(const std::string& index_path, const std::string& data_path,
                                 const std::string& dbk_path) {
  // Under the lock, with a change cut short settled first, so that the pair copied belongs
  // together.
  custom::DbLock lock;
  errno = 0;
  if (!custom::LockFiles(index_path, data_path, custom::LockMode::kShared, false, &lock)) {
    return FailureText(kBackupFailedText, errno != 0 ? errno : EAGAIN);
  }
  int error = CopyFile(data_path, dbk_path);
  if (error == 0) error = CopyFile(index_path, BackupIndexPath(dbk_path));
  return error == 0 ? std::string() : FailureText(kBackupFailedText, error);
}

RestoreResult RestoreCustomDatabase(CustomDatabase** handle, const std::string& index_path,
                                    const std::string& data_path, const std::string& dbk_path) {
  RestoreResult result;
  // A pair that is not a sound database would replace good entries by nothing usable.
  const std::string fault = CheckBackupPair(dbk_path);
  if (!fault.empty()) {
    result.outcome = RestoreOutcome::kRejected;
    result.message = FailureText(kRestoreFailedText, fault);
    return result;
  }
  {
    custom::DbLock lock;
    errno = 0;
    if (!custom::LockFiles(index_path, data_path, custom::LockMode::kExclusive, true, &lock)) {
      result.message = FailureText(kRestoreFailedText, errno != 0 ? errno : EAGAIN);
      return result;
    }
    // Both backup files are copied beside the database before either replaces anything, so a
    // missing or unreadable index backup leaves the database whole.
    custom::NewContent index{nullptr, BackupIndexPath(dbk_path)};
    custom::NewContent data{nullptr, dbk_path};
    int error = custom::ReplaceFiles(index_path, data_path, index, data);
    if (error != 0) {
      result.message = FailureText(kRestoreFailedText, error);
      return result;
    }
  }  // The lock goes before the handle opens again: the open takes it itself.
  if (handle == nullptr || *handle == nullptr) {
    result.outcome = RestoreOutcome::kNotOpen;
    return result;
  }
  CustomDb_Close(handle);
  result.outcome = CustomDb_Open(handle, index_path.c_str(), data_path.c_str()) == kCustomOk
                       ? RestoreOutcome::kRestored
                       : RestoreOutcome::kReopenFailed;
  return result;
}
