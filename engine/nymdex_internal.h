// The engine object behind a NymdexEngine handle, and the helpers the query files share.
// Everything here is read-only once Nymdex_StartUp has returned, so queries may run on any
// number of threads at once: file reads go through pread on descriptors opened at start-up,
// and every query keeps its working state on its own stack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/data_format.h"
#include "engine/large_buffer.h"
#include "engine/little_endian.h"
#include "engine/mapped_file.h"
#include "engine/nymdex.h"
#include "platform/program_names.h"

namespace platform {
struct NamedEvent;
}

namespace nymdex {

using engine::LoadU16;
using engine::LoadU32;

// A read-only file kept open for the engine's lifetime.
class File {
 public:
  File() = default;
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool Open(const std::string& path);
  bool is_open() const { return fd_ >= 0; }
  int descriptor() const { return fd_; }
  uint64_t size() const { return size_; }
  // Reads exactly `length` bytes at `offset`; false on a short read or an error.
  bool ReadAt(uint64_t offset, void* out, size_t length) const;
  // Reads up to `length` bytes at `offset`; the count read, or -1 on an error.
  long ReadSome(uint64_t offset, void* out, size_t length) const;

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
};

// Sequential reads over a File through a small buffer: the seek, read and skip steps of a
// synset walk cost one pread per buffer's worth of bytes.
class Cursor {
 public:
  explicit Cursor(const File& file) : file_(file) {}
  void Seek(uint64_t position) { position_ = position; }
  uint64_t position() const { return position_; }
  void Skip(uint64_t bytes) { position_ += bytes; }
  bool Read(void* out, size_t length);
  bool ReadU8(uint8_t* value) { return Read(value, 1); }
  bool ReadU16(uint16_t* value);
  bool ReadU32(uint32_t* value);

 private:
  static constexpr size_t kBufferSize = 512;
  const File& file_;
  uint64_t position_ = 0;
  uint64_t buffer_start_ = 0;
  size_t buffer_length_ = 0;
  uint8_t buffer_[kBufferSize];
};

// A section of the synset file, read in place from its mapping.
class Section {
 public:
  Section() = default;
  Section(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }
  const uint8_t& operator[](size_t at) const { return data_[at]; }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

// The decoded word index, decoded into `bytes` or mapped from the cache of an earlier decode
// (engine/word_cache.h): its entries follow the 32-byte header, which is skipped rather than
// moved out of the way.
struct WordRegion {
  std::vector<char, engine::LargeBufferAllocator<char>> bytes;
  engine::MappedFile cached;
  const char* decoded = nullptr;  // in `bytes` or `cached`, header included
  size_t length = 0;
  size_t skip = 0;
  bool from_cache = false;

  const char* data() const { return decoded + skip; }
  size_t size() const { return length - skip; }
};

// The tag file header, read once at start-up.
struct TagHeader {
  uint32_t block_count = 0;
  uint32_t end_offset = 0;
  bool highest_ascending = false;  // lets the block search bisect
  std::vector<uint32_t> highest;   // kMaxTagBlocks entries
  std::vector<uint32_t> starts;    // kMaxTagBlocks entries
};

}  // namespace nymdex

struct NymdexEngine {
  NymdexEngine() = default;
  ~NymdexEngine();
  NymdexEngine(const NymdexEngine&) = delete;
  NymdexEngine& operator=(const NymdexEngine&) = delete;

  platform::NamedEvent* stop_event = nullptr;
  std::string synset_path;
  std::string word_index_path;
  std::string tag_path;
  std::string word_cache_path;  // empty: no cache

  // Word index entries (decoded bytes 32 to the end) and the header's entry count.
  nymdex::WordRegion region;
  uint32_t entry_count = 0;

  // Part-of-speech indexes (noun, verb, adjective, adverb) and the sense lists.
  nymdex::Section pos_index[4];
  std::vector<uint32_t> pos_buckets[4];
  nymdex::Section sense_lists;
  std::vector<uint32_t> sense_buckets;

  uint8_t header[nymdex::kSynsetHeaderSize] = {};
  uint32_t pos_base[4] = {};

  nymdex::File synset_file;
  engine::MappedFile synset_map;  // holds the sections above
  nymdex::File tag_file;
  nymdex::TagHeader tag_header;
};

namespace nymdex {

// The identifier of `word` (NUL-terminated), or -1.
int32_t LookUpId(const NymdexEngine* engine, const char* word);

// The record of identifier `id` in the index of part of speech `pos` (1 to 4): its synset
// offsets, pointing into the section (four bytes each). False when the word has none there.
bool FindOffsetRecord(const NymdexEngine* engine, uint32_t pos, uint32_t id,
                      const uint8_t** offsets, uint32_t* count);

// A word's sense entries, pointing into the engine's sense-list section.
struct SenseRecord {
  const uint8_t* entries = nullptr;  // kSenseEntrySize bytes each: code, frequency
  uint32_t count = 0;
  uint32_t pos(uint32_t k) const { return entries[kSenseEntrySize * k]; }
  SenseEntry entry(uint32_t k) const {
    return static_cast<SenseEntry>(entries[kSenseEntrySize * k] | entries[kSenseEntrySize * k + 1]
                                                                      << 8);
  }
};

// The record of identifier `id` in the sense lists (its count may be 0); false when the word
// has none.
bool FindSenseRecord(const NymdexEngine* engine, uint32_t id, SenseRecord* record);

// The sense record of `word` with at least one entry, and its identifier when `id` is given;
// false otherwise.
bool LookUpSenses(const NymdexEngine* engine, const char* word, SenseRecord* record,
                  uint32_t* id = nullptr);

// Maps sense number k of `record` to its part of speech and synset offset (its rank in the
// word's offset list of that part of speech); false when the offset list or rank fails.
bool SenseSynset(const NymdexEngine* engine, uint32_t id, const SenseRecord& record, uint32_t k,
                 uint32_t* pos, uint32_t* offset);

// File offset of synset `offset` of part of speech `pos` (1 to 4).
inline uint64_t SynsetAt(const NymdexEngine* engine, uint32_t pos, uint32_t offset) {
  return uint64_t{engine->pos_base[pos - 1]} + offset;
}

// The tag identifier that ends the synset record at `position` of the synset file.
bool ReadTagId(const NymdexEngine* engine, uint64_t position, uint32_t* tag_id);

// A tag block read for one query: its stream, and as much of its decoded text as the query
// needed so far. Decoding yields the text byte by byte, so a prefix of the stream's text is
// decoded by declaring a shorter length; every text is found exactly as in the whole block.
struct TagBlock {
  int64_t index = -1;
  size_t compressed_length = 0;
  uint32_t declared = 0;  // the stream's decoded length
  size_t length = 0;      // bytes decoded so far
  uint8_t compressed[kMaxTagBlockBytes];
  uint8_t bytes[kMaxTagBlockDecoded];
};

// The text of tag `tag_id`; false on any read or decode failure.
bool ReadTagText(const NymdexEngine* engine, uint32_t tag_id, TagBlock* block, std::string* text);

}  // namespace nymdex
