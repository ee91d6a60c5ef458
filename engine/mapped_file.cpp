#include "engine/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <limits>

namespace engine {

MappedFile::~MappedFile() {
  Unmap();
}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    Unmap();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    mapped_ = std::exchange(other.mapped_, false);
  }
  return *this;
}

void MappedFile::Unmap() {
  if (mapped_) ::munmap(const_cast<uint8_t*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
  mapped_ = false;
}

void MappedFile::Release(uint64_t offset) const {
  const long page = ::sysconf(_SC_PAGESIZE);
  if (!mapped_ || page <= 0 || offset >= size_) return;
  const uint64_t from = (offset + static_cast<uint64_t>(page) - 1) / static_cast<uint64_t>(page) *
                        static_cast<uint64_t>(page);
  if (from >= size_) return;
  // Advice only: a refusal leaves the pages resident, which changes nothing else.
  ::madvise(const_cast<uint8_t*>(data_) + from, size_ - from, MADV_DONTNEED);
}

bool MappedFile::Map(const char* path, bool populate) {
  Unmap();
  if (path == nullptr) return false;
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = MapDescriptor(fd, populate);
  ::close(fd);  // the mapping holds the file
  return ok;
}

bool MappedFile::MapDescriptor(int fd, bool populate) {
  Unmap();
  struct stat status;
  if (fd < 0 || ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0 ||
      static_cast<uint64_t>(status.st_size) > std::numeric_limits<size_t>::max()) {
    return false;
  }
  if (status.st_size == 0) return true;
  const size_t size = static_cast<size_t>(status.st_size);
  int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
  if (populate) flags |= MAP_POPULATE;
#else
  (void)populate;
#endif
  void* p = ::mmap(nullptr, size, PROT_READ, flags, fd, 0);
  if (p == MAP_FAILED) return false;
  data_ = static_cast<const uint8_t*>(p);
  size_ = size;
  mapped_ = true;
  return true;
}

}  // namespace engine
