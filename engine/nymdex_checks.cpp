// Consistency checks of the engine's data beyond the file digests: the digests leave the
// synset file's header, the tag file's header and the whole word index unguarded, and a
// damaged field there would otherwise pass for data.
#include "engine/nymdex_checks.h"

#include <cstring>
#include <vector>

#include "engine/arith_coder.h"
#include "engine/nymdex_internal.h"

namespace nymdex {
namespace {

// Walks the records that must tile `section` from its first byte to its last, in strictly
// ascending identifier order. `record_size(bytes, room)` gives the size of the record at
// `bytes`, or 0 when it is malformed or longer than `room`. Entry b of `buckets` must be the
// offset of the first record whose identifier is at least 100 x b (the section's size when
// there is none), and the table must reach the last record's bucket.
template <typename RecordSize>
bool SectionHolds(const Section& section, const std::vector<uint32_t>& buckets, size_t head_size,
                  const RecordSize& record_size) {
  if (buckets.size() > kMaxWords / kIdsPerBucket) return false;
  const size_t size = section.size();
  const uint8_t* bytes = section.data();
  size_t at = 0;
  size_t bucket = 0;
  int64_t previous = -1;
  while (at < size) {
    if (size - at < head_size) return false;
    const uint32_t id = LoadU32(bytes + at);
    if (id >= kMaxWords || int64_t{id} <= previous) return false;
    for (; bucket < buckets.size() && bucket * kIdsPerBucket <= id; ++bucket) {
      if (buckets[bucket] != at) return false;
    }
    const size_t length = record_size(bytes + at, size - at);
    if (length == 0) return false;
    at += length;
    previous = id;
  }
  if (previous < 0 || static_cast<uint64_t>(previous) / kIdsPerBucket >= buckets.size())
    return false;
  for (; bucket < buckets.size(); ++bucket) {
    if (buckets[bucket] != size) return false;
  }
  return true;
}

}  // namespace

engine::Digest WordIndexDigest(const uint8_t* decoded, size_t length) {
  engine::Md5 md5;
  md5.Update(decoded, kWordIndexDigestAt);
  const size_t rest = kWordIndexDigestAt + kWordIndexDigestSize;
  if (length > rest) md5.Update(decoded + rest, length - rest);
  return md5.Final();
}

namespace {

// The entry region of an index without a digest: as many entries as the header counts, each
// a word of at least one byte, its NUL and six digits, the identifiers ascending. A stream
// damaged where its decoding starts scrambles all of it, the marker included.
bool EntriesHold(const uint8_t* region, size_t length, uint32_t count) {
  size_t at = 0;
  uint64_t entries = 0;
  int64_t previous = -1;
  while (at < length) {
    const void* nul = std::memchr(region + at, 0, length - at);
    if (nul == nullptr) return false;
    const size_t end = static_cast<size_t>(static_cast<const uint8_t*>(nul) - region);
    if (end == at || length - end < kEntrySuffixSize) return false;
    int64_t id = 0;
    for (size_t i = 1; i <= kIdDigits; ++i) {
      const uint8_t digit = region[end + i];
      if (digit < '0' || digit > '9') return false;
      id = 10 * id + (digit - '0');
    }
    if (id <= previous) return false;
    previous = id;
    ++entries;
    at = end + kEntrySuffixSize;
  }
  return entries == count;
}

}  // namespace

bool WordIndexHolds(const uint8_t* decoded, size_t length) {
  if (length < kWordIndexHeaderSize) return false;
  if (LoadU32(decoded + kWordIndexMarkerAt) != kWordIndexMarker) {
    return EntriesHold(decoded + kWordIndexHeaderSize, length - kWordIndexHeaderSize,
                       LoadU32(decoded + kWordIndexCountAt));
  }
  const engine::Digest digest = WordIndexDigest(decoded, length);
  return std::memcmp(digest.data(), decoded + kWordIndexDigestAt, digest.size()) == 0;
}

bool TagHeaderHolds(const TagHeader& header, uint64_t file_size) {
  const uint32_t blocks = header.block_count;
  if (blocks == 0 || blocks > kMaxTagBlocks) return false;
  if (header.highest.size() < blocks || header.starts.size() < blocks) return false;
  for (uint32_t i = 1; i < blocks; ++i) {
    // Each block holds at least one text.
    if (header.highest[i] <= header.highest[i - 1]) return false;
  }
  // The offset table holds one entry per tag identifier, up to the last block's highest.
  const uint64_t table_end =
      kTagHeaderSize + kTagOffsetSize * (uint64_t{header.highest[blocks - 1]} + 1);
  if (header.starts[0] < table_end || header.end_offset > file_size) return false;
  for (uint32_t i = 0; i < blocks; ++i) {
    const uint64_t start = header.starts[i];
    const uint64_t end = i + 1 < blocks ? header.starts[i + 1] : header.end_offset;
    if (end < start + engine::kStreamHeadSize || end - start > kMaxTagBlockBytes) return false;
  }
  return true;
}

namespace {

// Where the short last chunk after `header_size` starts in a file of `size` bytes.
uint64_t TailStart(uint64_t size, size_t header_size) {
  if (size <= header_size) return size;
  return size - (size - header_size) % engine::kFileDigestChunk;
}

}  // namespace

engine::Digest TailDigest(const uint8_t* image, size_t size, size_t header_size) {
  const size_t start = static_cast<size_t>(TailStart(size, header_size));
  return engine::Md5Bytes(image + start, size - start);
}

namespace {

bool FileTailHolds(const uint8_t* image, uint64_t size, size_t header_size, const uint8_t* stored) {
  const engine::Digest digest = TailDigest(image, static_cast<size_t>(size), header_size);
  return std::memcmp(digest.data(), stored, digest.size()) == 0;
}

}  // namespace

bool SynsetTailHolds(const NymdexEngine* engine) {
  if (LoadU32(engine->header + kSynsetTailMarkerAt) != kTailDigestMarker) return true;
  return FileTailHolds(engine->synset_map.data(), engine->synset_map.size(), kSynsetHeaderSize,
                       engine->header + kSynsetTailDigestAt);
}

bool TagTailHolds(const NymdexEngine* engine, const uint8_t* image, uint64_t size) {
  const uint8_t* header = image;
  if (LoadU32(header + kTagTailMarkerAt) != kTailDigestMarker) return true;
  // The digest's slots belong to the blocks of a larger file.
  if (engine->tag_header.block_count > kMaxTagBlocksWithTailDigest) return false;
  return FileTailHolds(image, size, kTagHeaderSize, header + kTagTailDigestAt);
}

bool SynsetHoldsWord(const NymdexEngine* engine, uint64_t position, uint32_t id) {
  Cursor cursor(engine->synset_file);
  cursor.Seek(position);
  uint8_t count = 0;
  if (!cursor.ReadU8(&count)) return false;
  for (uint8_t i = 0; i < count; ++i) {
    uint32_t word = 0;
    if (!cursor.ReadU32(&word)) return false;
    if (word == id) return true;
  }
  return false;
}

bool IndexesHold(const NymdexEngine* engine) {
  const uint64_t file_size = engine->synset_file.size();
  // The smallest synset record: one word, no pointers.
  constexpr uint64_t kSmallestRecord = kSynsetRecordFixedSize + kSynsetWordSize;
  for (int pos = 0; pos < 4; ++pos) {
    const uint64_t base = engine->pos_base[pos];
    auto record_size = [&](const uint8_t* record, size_t room) -> size_t {
      const size_t count = record[kOffsetRecordCountAt];
      const size_t length = kOffsetRecordHeadSize + kSynsetOffsetSize * count;
      if (length > room) return 0;
      for (size_t i = 0; i < count; ++i) {
        const uint64_t offset = LoadU32(record + kOffsetRecordHeadSize + kSynsetOffsetSize * i);
        if (base + offset > file_size || file_size - (base + offset) < kSmallestRecord) return 0;
      }
      return length;
    };
    const Section& section = engine->pos_index[pos];
    if (!SectionHolds(section, engine->pos_buckets[pos], kOffsetRecordHeadSize, record_size))
      return false;
    // The section's first word must be among the words of each of its synsets.
    const uint32_t first = LoadU32(section.data());
    const size_t count = section[kOffsetRecordCountAt];
    for (size_t i = 0; i < count; ++i) {
      const uint32_t offset = LoadU32(&section[kOffsetRecordHeadSize + kSynsetOffsetSize * i]);
      if (!SynsetHoldsWord(engine, base + offset, first)) return false;
    }
  }
  return true;
}

namespace {

// Each word's sense entries of a part of speech must be as many as the synsets its index
// record of that part of speech holds (none without a record): sense k is the k-th synset.
// Both sections already tile in ascending identifier order.
bool SensesMatchIndexes(const NymdexEngine* engine) {
  const Section& lists = engine->sense_lists;
  size_t cursor[4] = {};
  // The synset count of the next index record of `pos` if it is `id`'s, skipping records of
  // smaller identifiers (which must hold none); -1 when one of those holds synsets.
  auto indexed = [&](int pos, uint32_t id) -> int {
    const Section& index = engine->pos_index[pos];
    size_t& at = cursor[pos];
    while (at < index.size() && LoadU32(&index[at]) < id) {
      if (index[at + kOffsetRecordCountAt] != 0) return -1;
      at += kOffsetRecordHeadSize + kSynsetOffsetSize * index[at + kOffsetRecordCountAt];
    }
    if (at == index.size() || LoadU32(&index[at]) != id) return 0;
    const uint8_t count = index[at + kOffsetRecordCountAt];
    at += kOffsetRecordHeadSize + kSynsetOffsetSize * count;
    return count;
  };
  for (size_t at = 0; at < lists.size();) {
    const uint32_t id = LoadU32(&lists[at]);
    const uint32_t count = LoadU32(&lists[at + kSenseRecordCountAt]);
    int per_pos[4] = {};
    for (uint32_t k = 0; k < count; ++k)
      ++per_pos[lists[at + kSenseRecordHeadSize + kSenseEntrySize * k] - kNoun];
    for (int pos = 0; pos < 4; ++pos) {
      if (indexed(pos, id) != per_pos[pos]) return false;
    }
    at += kSenseRecordHeadSize + kSenseEntrySize * size_t{count};
  }
  for (int pos = 0; pos < 4; ++pos) {
    if (indexed(pos, static_cast<uint32_t>(kMaxWords)) != 0) return false;
  }
  return true;
}

}  // namespace

bool SenseListsHold(const NymdexEngine* engine) {
  auto record_size = [](const uint8_t* record, size_t room) -> size_t {
    const uint64_t count = LoadU32(record + kSenseRecordCountAt);
    if (count > (room - kSenseRecordHeadSize) / kSenseEntrySize) return 0;
    for (uint64_t k = 0; k < count; ++k) {
      const uint8_t code = record[kSenseRecordHeadSize + kSenseEntrySize * k];
      if (code < kNoun || code > kAdverb) return 0;
    }
    return static_cast<size_t>(kSenseRecordHeadSize + kSenseEntrySize * count);
  };
  return SectionHolds(engine->sense_lists, engine->sense_buckets, kSenseRecordHeadSize,
                      record_size) &&
         SensesMatchIndexes(engine);
}

}  // namespace nymdex
