// The file calls of the custom database, behind one replaceable interface so that tests can
// make any write, sync, truncate, rename or removal fail, or stop every change from a given
// call on as a crash would. Also the small helpers built on it.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace custom {

// POSIX semantics: -1 and errno on failure. The default implementation calls the system.
class FileOps {
 public:
  virtual ~FileOps() = default;
  virtual int Open(const char* path, int flags, mode_t mode);
  virtual int Close(int fd);
  virtual ssize_t Pread(int fd, void* buffer, size_t length, off_t offset);
  virtual ssize_t Pwrite(int fd, const void* buffer, size_t length, off_t offset);
  virtual int Fsync(int fd);
  virtual int Ftruncate(int fd, off_t length);
  virtual int Fstat(int fd, struct stat* info);
  virtual int Stat(const char* path, struct stat* info);
  virtual int Rename(const char* from, const char* to);
  virtual int Unlink(const char* path);
};

// The operations in use; the system's unless a test installed others.
FileOps& Ops();

// Installs `ops` (null: the system's again) and returns the previous one. For tests.
FileOps* SetFileOpsForTesting(FileOps* ops);

// An open descriptor, closed when the object goes.
class File {
 public:
  File() = default;
  explicit File(int fd) : fd_(fd) {}
  File(File&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File() { Reset(); }

  bool ok() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  // Closes now; false when the close reports an error.
  bool Reset();

 private:
  int fd_ = -1;
};

File OpenFile(const std::string& path, int flags, mode_t mode = 0644);

// Reads exactly `length` bytes at `offset`; false on an error or the end of the file.
bool ReadAt(int fd, void* buffer, size_t length, uint64_t offset);

// Writes all `length` bytes at `offset`; false on an error.
bool WriteAt(int fd, const void* buffer, size_t length, uint64_t offset);

// Reads the file from its start to its end, 64 KiB at a time, handing each piece to
// `visit(bytes, length, offset)`. False on a read error (errno set) or as soon as `visit`
// returns false.
bool ReadInChunks(int fd, const std::function<bool(const uint8_t*, size_t, uint64_t)>& visit);

// The size of an open file, or -1.
int64_t FileSize(int fd);

// 1 when the path exists, 0 when it does not, -1 when that cannot be told.
int PathExists(const std::string& path);

// The folder that holds `path`: "." for a bare name, "/" for a name in the root.
std::string ParentFolder(const std::string& path);

// Syncs the folder that holds `path`, so that names created, renamed or removed there last.
bool SyncParentFolder(const std::string& path);

// Removes `path`; a path that is already gone counts as removed.
bool RemoveIfPresent(const std::string& path);

}  // namespace custom
