// A data file mapped read-only: its bytes are read straight from the page cache, with no copy
// into a buffer of the process's own and no zero-filled buffer. Pages count towards the
// process's memory only once touched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

namespace engine {

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  // The mapping moves; `other` is left empty.
  MappedFile(MappedFile&& other) noexcept { *this = std::move(other); }
  MappedFile& operator=(MappedFile&& other) noexcept;

  // Maps the whole of the file at `path`, or of the open descriptor `fd` (left open). With
  // `populate`, every page is entered at once, for a caller that reads them all; without it,
  // pages are entered as they are touched. An empty file gives an empty view. False when the
  // file cannot be opened or mapped (a folder, a device), leaving the view empty.
  bool Map(const char* path, bool populate);
  bool MapDescriptor(int fd, bool populate);

  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }
  // Lets the pages from `offset` (rounded up to a page) to the end leave the process's
  // resident memory; they are read from the file again when next touched.
  void Release(uint64_t offset) const;
  // True when `length` bytes at `offset` lie within the file.
  bool Holds(uint64_t offset, uint64_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }

 private:
  void Unmap();

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  bool mapped_ = false;
};

}  // namespace engine
