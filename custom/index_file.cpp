// The index file: its header and entries read into memory, and written out again.
#include <fcntl.h>

#include <cstring>
#include <new>

#include "custom/custom_internal.h"

namespace custom {

int32_t ReadIndexFile(const std::string& index_path, CustomIndexHeader* header,
                      std::vector<CustomIndexEntry>* entries) {
  File file = OpenFile(index_path, O_RDONLY);
  if (!file.ok()) return kCustomCannotOpen;
  int64_t size = FileSize(file.fd());
  if (size < kCustomHeaderSize || !ReadAt(file.fd(), header->data(), kCustomHeaderSize, 0)) {
    return kCustomBadIndex;
  }
  uint64_t count = LoadU32(header->data() + kCustomCountAt);
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
    std::memcpy(entry.key.data(), p, kCustomKeySize);
    entry.offset = LoadU32(p + kCustomEntryOffsetAt);
    entries->push_back(entry);
  }
  return kCustomOk;
}

std::vector<uint8_t> EncodeIndex(const CustomIndexHeader& header,
                                 const std::vector<CustomIndexEntry>& entries) {
  std::vector<uint8_t> bytes(kCustomHeaderSize + entries.size() * kCustomIndexEntrySize);
  std::memcpy(bytes.data(), header.data(), kCustomHeaderSize);
  StoreU32(bytes.data() + kCustomCountAt, static_cast<uint32_t>(entries.size()));
  uint8_t* p = bytes.data() + kCustomHeaderSize;
  for (const CustomIndexEntry& entry : entries) {
    std::memcpy(p, entry.key.data(), kCustomKeySize);
    StoreU32(p + kCustomEntryOffsetAt, entry.offset);
    p += kCustomIndexEntrySize;
  }
  return bytes;
}

}  // namespace custom
