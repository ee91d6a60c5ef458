// Sense lists, tags (glosses), frequency and the part-of-speech tests.
#include <algorithm>
#include <cstring>

#include "engine/arith_coder.h"
#include "engine/nymdex_internal.h"

namespace nymdex {

bool FindSenseRecord(const NymdexEngine* engine, uint32_t id, SenseRecord* record) {
  uint32_t bucket = id / kIdsPerBucket;
  if (bucket >= engine->sense_buckets.size()) return false;
  size_t at = engine->sense_buckets[bucket];
  const size_t size = engine->sense_lists.size();
  const uint8_t* bytes = engine->sense_lists.data();
  // The walk goes on past larger identifiers: the sense lists are only trusted to be sorted
  // as far as the bucket table is. A record cut short by the section's end ends the walk.
  while (at < size && size - at >= kSenseRecordHeadSize) {
    uint32_t record_id = LoadU32(bytes + at);
    const uint32_t count = LoadU32(bytes + at + kSenseRecordCountAt);
    uint64_t record_size = kSenseRecordHeadSize + kSenseEntrySize * uint64_t{count};
    if (record_size > size - at) return false;
    if (record_id == id) {
      record->entries = bytes + at + kSenseRecordHeadSize;
      record->count = count;
      return true;
    }
    at += static_cast<size_t>(record_size);
  }
  return false;
}

bool LookUpSenses(const NymdexEngine* engine, const char* word, SenseRecord* record, uint32_t* id) {
  int32_t found = LookUpId(engine, word);
  if (found < 0) return false;
  if (id != nullptr) *id = static_cast<uint32_t>(found);
  return FindSenseRecord(engine, static_cast<uint32_t>(found), record) && record->count > 0;
}

bool SenseSynset(const NymdexEngine* engine, uint32_t id, const SenseRecord& record, uint32_t k,
                 uint32_t* pos, uint32_t* offset) {
  uint32_t code = record.pos(k);
  const uint8_t* offsets = nullptr;
  uint32_t count = 0;
  if (!FindOffsetRecord(engine, code, id, &offsets, &count)) return false;
  uint32_t rank = 0;
  for (uint32_t j = 0; j < k; ++j)
    rank += record.pos(j) == code;
  if (rank >= count) return false;
  *pos = code;
  *offset = LoadU32(offsets + kSynsetOffsetSize * rank);
  return true;
}

bool ReadTagId(const NymdexEngine* engine, uint64_t position, uint32_t* tag_id) {
  Cursor cursor(engine->synset_file);
  cursor.Seek(position);
  uint8_t words = 0;
  uint16_t pointers = 0;
  if (!cursor.ReadU8(&words)) return false;
  cursor.Skip(kSynsetWordSize * words);
  if (!cursor.ReadU16(&pointers)) return false;
  cursor.Skip(kPointerSize * pointers);
  return cursor.ReadU32(tag_id);
}

namespace {

// The first block whose highest tag identifier is at least `tag_id`, or -1.
int64_t FindTagBlock(const TagHeader& header, uint32_t tag_id) {
  const uint32_t* first = header.highest.data();
  const uint32_t* last = first + header.block_count;
  const uint32_t* it =
      header.highest_ascending
          ? std::lower_bound(first, last, tag_id)
          : std::find_if(first, last, [tag_id](uint32_t h) { return h >= tag_id; });
  return it == last ? -1 : it - first;
}

// Most glosses, with their NUL, are shorter than this.
constexpr size_t kUsualTextLength = 320;

// Decodes the block's first `want` bytes (at most its declared length).
bool DecodePrefix(TagBlock* block, size_t want) {
  want = std::min<size_t>(want, block->declared);
  if (want <= block->length) return true;
  uint8_t saved[4];
  std::memcpy(saved, block->compressed, sizeof(saved));
  engine::StoreU32(block->compressed, static_cast<uint32_t>(want));
  size_t decoded = 0;
  bool ok = engine::ArithDecode(block->compressed, block->compressed_length, block->bytes,
                                kMaxTagBlockDecoded, &decoded);
  std::memcpy(block->compressed, saved, sizeof(saved));
  if (!ok || decoded != want) return false;
  block->length = decoded;
  return true;
}

// The NUL-terminated text at `offset` of the decoded bytes; false when the decoded part ends
// before its NUL.
bool TextAt(const TagBlock& block, size_t offset, std::string* text) {
  if (offset >= block.length) return false;
  const uint8_t* begin = block.bytes + offset;
  const void* nul = std::memchr(begin, 0, block.length - offset);
  if (nul == nullptr) return false;
  text->assign(reinterpret_cast<const char*>(begin),
               static_cast<size_t>(static_cast<const uint8_t*>(nul) - begin));
  return true;
}

}  // namespace

bool ReadTagText(const NymdexEngine* engine, uint32_t tag_id, TagBlock* block, std::string* text) {
  const TagHeader& header = engine->tag_header;
  // The header's table has room for kMaxTagBlocks blocks; a larger count cannot be served.
  if (header.block_count > kMaxTagBlocks) return false;
  int64_t b = FindTagBlock(header, tag_id);
  if (b < 0) return false;

  uint8_t raw[4];
  if (!engine->tag_file.ReadAt(kTagHeaderSize + kTagOffsetSize * tag_id, raw, sizeof(raw)))
    return false;
  uint32_t text_offset = LoadU32(raw);

  if (block->index != b) {
    block->index = -1;
    uint32_t start = header.starts[static_cast<size_t>(b)];
    uint32_t end =
        b + 1 == header.block_count ? header.end_offset : header.starts[static_cast<size_t>(b) + 1];
    uint32_t length = end - start;  // an end before the start wraps to a length far too large
    if (length == 0 || length > kMaxTagBlockBytes) return false;
    if (!engine->tag_file.ReadAt(start, block->compressed, length)) return false;
    // What decoding the whole block would refuse: a stream shorter than its head or longer
    // than the buffer (frequencies that total 0 fail every decode below).
    if (length < engine::kStreamHeadSize) return false;
    block->declared = LoadU32(block->compressed);
    if (block->declared > kMaxTagBlockDecoded) return false;
    block->compressed_length = length;
    block->length = 0;
    block->index = b;
  }
  if (text_offset >= block->declared) return false;
  // Decoding costs per byte: first as far as a gloss usually reaches, then the whole block.
  if (!DecodePrefix(block, size_t{text_offset} + kUsualTextLength)) return false;
  if (TextAt(*block, text_offset, text)) return true;
  if (!DecodePrefix(block, block->declared)) return false;
  if (TextAt(*block, text_offset, text)) return true;
  // A text without its NUL runs to the block's end.
  const uint8_t* begin = block->bytes + text_offset;
  text->assign(reinterpret_cast<const char*>(begin), block->length - text_offset);
  return true;
}

namespace {

int32_t HasPartOfSpeech(const NymdexEngine* engine, const char* word, uint32_t pos) {
  if (engine == nullptr || word == nullptr) return 0;
  SenseRecord record;
  if (!LookUpSenses(engine, word, &record)) return 0;
  for (uint32_t k = 0; k < record.count; ++k) {
    if (record.pos(k) == pos) return 1;
  }
  return 0;
}

}  // namespace
}  // namespace nymdex

using nymdex::SenseRecord;

int32_t Nymdex_GetSensesForWord(const NymdexEngine* engine, const char* word, SenseList* list) {
  if (engine == nullptr || word == nullptr || list == nullptr) return 0;
  SenseRecord record;
  if (!nymdex::LookUpSenses(engine, word, &record)) return 0;
  for (uint32_t k = 0; k < record.count; ++k)
    list->entries.push_back(record.entry(k));
  return 1;
}

uint32_t Nymdex_GetSenses(const NymdexEngine* engine, const char* word, SenseList* list) {
  if (engine == nullptr) return kNymdexNullHandle;
  if (word == nullptr || list == nullptr) return kNymdexNullArgument;
  return Nymdex_GetSensesForWord(engine, word, list) ? kNymdexOk : kNymdexNotFound;
}

uint32_t Nymdex_GetTags(const NymdexEngine* engine, const char* word,
                        std::vector<TagRecord>* tags) {
  if (engine == nullptr) return kNymdexNullHandle;
  if (word == nullptr || tags == nullptr) return kNymdexNullArgument;
  uint32_t id = 0;
  SenseRecord record;
  if (!nymdex::LookUpSenses(engine, word, &record, &id)) return kNymdexNotFound;

  bool present[kAdverb + 1] = {};
  for (uint32_t k = 0; k < record.count; ++k) {
    uint32_t pos = record.pos(k);
    if (pos >= kNoun && pos <= kAdverb) present[pos] = true;
  }
  // Senses of one word often share a block: each query decodes a block once.
  nymdex::TagBlock block;
  for (uint32_t pos = kNoun; pos <= kAdverb; ++pos) {
    if (!present[pos]) continue;
    const uint8_t* offsets = nullptr;
    uint32_t count = 0;
    if (!nymdex::FindOffsetRecord(engine, pos, id, &offsets, &count)) return kNymdexNotFound;
    for (uint32_t i = 0; i < count; ++i) {
      uint32_t offset = nymdex::LoadU32(offsets + nymdex::kSynsetOffsetSize * i);
      uint32_t tag_id = 0;
      TagRecord tag;
      tag.pos = pos;
      if (!nymdex::ReadTagId(engine, nymdex::SynsetAt(engine, pos, offset), &tag_id) ||
          !nymdex::ReadTagText(engine, tag_id, &block, &tag.text))
        return kNymdexNotFound;
      tags->push_back(std::move(tag));
    }
  }
  return kNymdexOk;
}

int32_t Nymdex_GetTagIDs(const NymdexEngine* engine, const std::vector<uint32_t>& offsets,
                         std::vector<uint32_t>* tag_ids, uint32_t pos) {
  if (engine == nullptr || tag_ids == nullptr) return 0;
  for (uint32_t offset : offsets) {
    if (pos < kNoun || pos > kAdverb) return 0;
    uint32_t tag_id = 0;
    if (!nymdex::ReadTagId(engine, nymdex::SynsetAt(engine, pos, offset), &tag_id)) return 0;
    tag_ids->push_back(tag_id);
  }
  return 1;
}

int32_t Nymdex_GetFrequency(const NymdexEngine* engine, const char* word) {
  if (engine == nullptr || word == nullptr) return -1;
  SenseRecord record;
  if (!nymdex::LookUpSenses(engine, word, &record)) return static_cast<int32_t>(kNymdexNotFound);
  uint32_t highest = 0;
  for (uint32_t k = 0; k < record.count; ++k)
    highest = std::max(highest, SenseFrequency(record.entry(k)));
  return static_cast<int32_t>(highest);
}

int32_t Nymdex_IsNoun(const NymdexEngine* engine, const char* word) {
  return nymdex::HasPartOfSpeech(engine, word, kNoun);
}
int32_t Nymdex_IsVerb(const NymdexEngine* engine, const char* word) {
  return nymdex::HasPartOfSpeech(engine, word, kVerb);
}
int32_t Nymdex_IsAdjective(const NymdexEngine* engine, const char* word) {
  return nymdex::HasPartOfSpeech(engine, word, kAdjective);
}
int32_t Nymdex_IsAdverb(const NymdexEngine* engine, const char* word) {
  return nymdex::HasPartOfSpeech(engine, word, kAdverb);
}
