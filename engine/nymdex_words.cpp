// Word lookups over the decoded entry region, and a word's synsets in one part of speech.
//
// The region is searched by byte position: each probe lands anywhere in the bytes, moves on to
// the next NUL and examines the entry after it. The first entry therefore is never examined,
// and a probe inside an entry's digits examines the entry two further on; the data files are
// written with this in mind (a sentinel first), so the search is kept exactly as it is.
#include <cstring>

#include "engine/nymdex_internal.h"
#include "engine/text_helpers.h"

namespace nymdex {
namespace {

enum class Probe { kAfter, kMalformed, kEntry };

// An entry found by a probe: its word is [word, word_end) and its digits follow word_end.
struct Entry {
  const char* word;
  const char* word_end;
};

// Finds the entry that a probe at byte `mid` examines. kAfter when the scan reaches the end or
// the entry (word, NUL, six digits) does not lie wholly inside the region.
Probe Examine(const char* region, size_t length, size_t mid, Entry* entry) {
  if (mid >= length) return Probe::kAfter;
  const char* end = region + length;
  const char* p = region + mid;
  if (*p != '\0') {
    p = static_cast<const char*>(std::memchr(p, 0, static_cast<size_t>(end - p)));
    if (p == nullptr) return Probe::kAfter;
  }
  if (end - p <= static_cast<ptrdiff_t>(kEntrySuffixSize)) return Probe::kAfter;
  const char* word = p + kEntrySuffixSize;
  const char* q = static_cast<const char*>(std::memchr(word, 0, static_cast<size_t>(end - word)));
  if (q == nullptr || end - q <= static_cast<ptrdiff_t>(kIdDigits)) return Probe::kAfter;
  if (p[1] == '\0' || *word == '\0') return Probe::kMalformed;
  entry->word = word;
  entry->word_end = q;
  return Probe::kEntry;
}

// The value of an entry's six digits; reading stops at the first byte that is not a digit.
uint32_t EntryId(const Entry& entry) {
  return static_cast<uint32_t>(engine::LeadingDigitsValue({entry.word_end + 1, kIdDigits}));
}

inline unsigned Fold(unsigned char c) {
  return static_cast<unsigned char>(engine::AsciiLower(static_cast<char>(c)));
}

// Case-insensitive order of the NUL-terminated `word` against an entry's word.
int CompareWord(const unsigned char* word, const Entry& entry) {
  const auto* e = reinterpret_cast<const unsigned char*>(entry.word);
  size_t length = static_cast<size_t>(entry.word_end - entry.word);
  for (size_t i = 0; i < length; ++i) {
    if (word[i] == '\0') return -1;
    unsigned a = Fold(word[i]);
    unsigned b = Fold(e[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  return word[length] == '\0' ? 0 : 1;
}

// Runs the byte-position search. `order` tells how the sought key sorts against an entry
// (negative before, positive after, 0 equal). Returns true with the entry on a match.
template <typename Order>
bool Search(const NymdexEngine* engine, Order order, Entry* found) {
  const char* region = engine->region.data();
  size_t length = engine->region.size();
  int64_t lo = 0;
  int64_t hi = static_cast<int64_t>(length);
  while (lo <= hi) {
    int64_t mid = (lo + hi) / 2;
    Entry entry;
    switch (Examine(region, length, static_cast<size_t>(mid), &entry)) {
      case Probe::kAfter:
        hi = mid - 1;
        continue;
      case Probe::kMalformed:
        return false;
      case Probe::kEntry:
        break;
    }
    int c = order(entry);
    if (c > 0) {
      lo = mid + 1;
    } else if (c < 0) {
      hi = mid - 1;
    } else {
      *found = entry;
      return true;
    }
  }
  return false;
}

}  // namespace

int32_t LookUpId(const NymdexEngine* engine, const char* word) {
  Entry entry;
  const auto* key = reinterpret_cast<const unsigned char*>(word);
  if (!Search(
          engine, [key](const Entry& e) { return CompareWord(key, e); }, &entry))
    return -1;
  return static_cast<int32_t>(EntryId(entry));
}

bool FindOffsetRecord(const NymdexEngine* engine, uint32_t pos, uint32_t id,
                      const uint8_t** offsets, uint32_t* count) {
  if (pos < kNoun || pos > kAdverb) return false;
  const std::vector<uint32_t>& buckets = engine->pos_buckets[pos - 1];
  const Section& section = engine->pos_index[pos - 1];
  uint32_t bucket = id / kIdsPerBucket;
  if (bucket >= buckets.size()) return false;
  size_t at = buckets[bucket];
  const size_t size = section.size();
  const uint8_t* bytes = section.data();
  // A record cut short by the section's end counts as the end of the section.
  while (at < size && size - at >= kOffsetRecordHeadSize) {
    uint32_t record_id = LoadU32(bytes + at);
    if (record_id > id) return false;
    size_t n = bytes[at + kOffsetRecordCountAt];
    size_t record_size = kOffsetRecordHeadSize + kSynsetOffsetSize * n;
    if (record_id == id) {
      if (size - at < record_size) return false;
      *offsets = bytes + at + kOffsetRecordHeadSize;
      *count = static_cast<uint32_t>(n);
      return true;
    }
    at += record_size;
  }
  return false;
}

}  // namespace nymdex

int32_t Nymdex_GetIdFromWord(const NymdexEngine* engine, const char* word) {
  if (engine == nullptr || word == nullptr) return -1;
  return nymdex::LookUpId(engine, word);
}

int32_t Nymdex_GetWordFromID(const NymdexEngine* engine, uint32_t id, char* word) {
  if (engine == nullptr || word == nullptr) return 0;
  nymdex::Entry entry;
  auto order = [id](const nymdex::Entry& e) {
    uint32_t entry_id = nymdex::EntryId(e);
    return id > entry_id ? 1 : (id < entry_id ? -1 : 0);
  };
  if (!nymdex::Search(engine, order, &entry)) return 0;
  size_t length = static_cast<size_t>(entry.word_end - entry.word);
  // A stored word beyond the format's limit would overrun the caller's buffer.
  if (length > kMaxWordLength) return 0;
  std::memcpy(word, entry.word, length);
  word[length] = '\0';
  return 1;
}

uint32_t Nymdex_IsWord(const NymdexEngine* engine, const char* word) {
  if (engine == nullptr) return kNymdexNullHandle;
  if (word == nullptr) return kNymdexNullArgument;
  return nymdex::LookUpId(engine, word) >= 0 ? 1 : 0;
}

int32_t Nymdex_GetOffsetList(const NymdexEngine* engine, uint32_t pos, uint32_t id,
                             std::vector<uint32_t>* offsets) {
  if (engine == nullptr || offsets == nullptr) return 0;
  const uint8_t* found = nullptr;
  uint32_t count = 0;
  if (!nymdex::FindOffsetRecord(engine, pos, id, &found, &count)) return 0;
  for (uint32_t i = 0; i < count; ++i)
    offsets->push_back(nymdex::LoadU32(found + nymdex::kSynsetOffsetSize * i));
  return 1;
}

NymdexEntryRegion Nymdex_GetEntryRegion(const NymdexEngine* engine) {
  NymdexEntryRegion result;
  if (engine == nullptr) return result;
  result.data = engine->region.data();
  result.length = static_cast<uint32_t>(engine->region.size());
  result.count = engine->entry_count;
  return result;
}
