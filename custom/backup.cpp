// Backup and restore of the custom database's two files.

#include "custom/backup.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "custom/custom_db.h"
#include "custom/custom_internal.h"

namespace {

std::string FailureText(const char* what, int error) {
  return std::string(what) + " : " + std::strerror(error != 0 ? error : EIO);
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
  std::string result;
  size_t start = 0;
  for (;;) {
    size_t found = dbk_path.find(kBackupExtension, start);
    if (found == std::string::npos) break;
    result.append(dbk_path, start, found - start);
    result += kBackupIndexExtension;
    start = found + std::strlen(kBackupExtension);
  }
  result.append(dbk_path, start, std::string::npos);
  return result;
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
  // A change cut short is settled first, so that the pair copied belongs together.
  bool acted = false;
  errno = 0;
  if (!custom::SettleFiles(index_path, data_path, &acted)) {
    return FailureText(kBackupFailedText, errno);
  }
  int error = CopyFile(data_path, dbk_path);
  if (error == 0) error = CopyFile(index_path, BackupIndexPath(dbk_path));
  return error == 0 ? std::string() : FailureText(kBackupFailedText, error);
}

RestoreResult RestoreCustomDatabase(CustomDatabase** handle, const std::string& index_path,
                                    const std::string& data_path, const std::string& dbk_path) {
  RestoreResult result;
  bool acted = false;
  errno = 0;
  if (!custom::SettleFiles(index_path, data_path, &acted)) {
    result.message = FailureText(kRestoreFailedText, errno);
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
