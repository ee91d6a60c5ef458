#include "custom/file_ops.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace custom {

int FileOps::Open(const char* path, int flags, mode_t mode) {
  int fd;
  do {
    fd = ::open(path, flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

int FileOps::Close(int fd) {
  return ::close(fd);
}

ssize_t FileOps::Pread(int fd, void* buffer, size_t length, off_t offset) {
  return ::pread(fd, buffer, length, offset);
}

ssize_t FileOps::Pwrite(int fd, const void* buffer, size_t length, off_t offset) {
  return ::pwrite(fd, buffer, length, offset);
}

int FileOps::Fsync(int fd) {
  return ::fsync(fd);
}

int FileOps::Ftruncate(int fd, off_t length) {
  return ::ftruncate(fd, length);
}

int FileOps::Fstat(int fd, struct stat* info) {
  return ::fstat(fd, info);
}

int FileOps::Stat(const char* path, struct stat* info) {
  return ::stat(path, info);
}

int FileOps::Rename(const char* from, const char* to) {
  return ::rename(from, to);
}

int FileOps::Unlink(const char* path) {
  return ::unlink(path);
}

namespace {

FileOps& SystemOps() {
  static FileOps ops;
  return ops;
}

FileOps* installed = nullptr;

}  // namespace

FileOps& Ops() {
  return installed != nullptr ? *installed : SystemOps();
}

FileOps* SetFileOpsForTesting(FileOps* ops) {
  FileOps* previous = installed;
  installed = ops;
  return previous;
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Reset();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

bool File::Reset() {
  if (fd_ < 0) return true;
  int result = Ops().Close(fd_);
  fd_ = -1;
  return result == 0;
}

File OpenFile(const std::string& path, int flags, mode_t mode) {
  return File(Ops().Open(path.c_str(), flags, mode));
}

bool ReadAt(int fd, void* buffer, size_t length, uint64_t offset) {
  auto* bytes = static_cast<uint8_t*>(buffer);
  while (length > 0) {
    ssize_t got = Ops().Pread(fd, bytes, length, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    bytes += got;
    length -= static_cast<size_t>(got);
    offset += static_cast<uint64_t>(got);
  }
  return true;
}

bool WriteAt(int fd, const void* buffer, size_t length, uint64_t offset) {
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  while (length > 0) {
    ssize_t put = Ops().Pwrite(fd, bytes, length, static_cast<off_t>(offset));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put == 0) errno = EIO;
      return false;
    }
    bytes += put;
    length -= static_cast<size_t>(put);
    offset += static_cast<uint64_t>(put);
  }
  return true;
}

bool ReadInChunks(int fd, const std::function<bool(const uint8_t*, size_t, uint64_t)>& visit) {
  std::vector<uint8_t> chunk(1 << 16);
  uint64_t offset = 0;
  for (;;) {
    ssize_t got = Ops().Pread(fd, chunk.data(), chunk.size(), static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (!visit(chunk.data(), static_cast<size_t>(got), offset)) return false;
    offset += static_cast<uint64_t>(got);
  }
}

int64_t FileSize(int fd) {
  struct stat info;
  if (Ops().Fstat(fd, &info) != 0) return -1;
  return static_cast<int64_t>(info.st_size);
}

int PathExists(const std::string& path) {
  struct stat info;
  if (Ops().Stat(path.c_str(), &info) == 0) return 1;
  return errno == ENOENT ? 0 : -1;
}

std::string ParentFolder(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

bool SyncParentFolder(const std::string& path) {
  File dir = OpenFile(ParentFolder(path), O_RDONLY | O_DIRECTORY);
  if (!dir.ok()) return false;
  if (Ops().Fsync(dir.fd()) != 0) return false;
  return dir.Reset();
}

bool RemoveIfPresent(const std::string& path) {
  return Ops().Unlink(path.c_str()) == 0 || errno == ENOENT;
}

}  // namespace custom
