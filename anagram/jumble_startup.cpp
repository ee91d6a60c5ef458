// Start-up and shut-down of the anagram engine: the word list read from "1001A.dat" or taken
// from the lexical engine's word index, and indexed for the candidate pass.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <thread>

#include "anagram/jumble.h"
#include "anagram/jumble_engine.h"
#include "engine/little_endian.h"
#include "engine/mapped_file.h"
#include "engine/md5.h"
#include "engine/nymdex.h"
#include "engine/text_helpers.h"
#include "platform/named_event.h"
#include "platform/program_names.h"

namespace {

using jumble::ListedWord;

constexpr size_t kHeaderSize = nymdex::kAnagramHeaderSize;

// Indexes the words in list order, at most `limit` of them, with room for `expected` made
// first; an empty word, a word of 128 characters or more, or a word without its NUL ends the
// list where it stands. Each word is read once: its end, and the letters of its plain part
// found on the way. Returns where the indexing stopped: the list's end when it took every word.
size_t IndexWords(JumbleEngine* engine, uint32_t limit, size_t expected) {
  const char* data = engine->words.data();
  const size_t size = engine->words.size();
  size_t at = 0;
  engine->listed.clear();
  engine->listed.reserve(expected);
  for (uint32_t n = 0; n < limit && at < size; ++n) {
    ListedWord word;
    word.plain = true;
    size_t end = at;
    // Past the longest word the scan stops: such a word ends the list whatever follows.
    const size_t scan_end = std::min(size, at + nymdex::kMaxAnagramWordLength + 1);
    for (; end < scan_end && data[end] != '\0'; ++end) {
      // Letters other than 'a' to 'z' wrap to 26 or more.
      const uint32_t letter = static_cast<uint32_t>(static_cast<unsigned char>(data[end]) - 'a');
      word.plain = word.plain && letter < 26;
      word.mask |= word.plain ? 1u << letter : 0;
    }
    const size_t length = end - at;
    if (end == size || data[end] != '\0' || length == 0 || length > nymdex::kMaxAnagramWordLength)
      break;
    word.offset = static_cast<uint32_t>(at);
    word.length = static_cast<uint8_t>(length);
    engine->listed.push_back(word);
    at = end + 1;
  }
  return at;
}

// Steps shared by both start-ups: argument check, the engine, the stop event.
uint32_t NewEngine(std::unique_ptr<JumbleEngine>* engine) {
  engine->reset(new (std::nothrow) JumbleEngine());
  if (*engine == nullptr) return kJumbleNoMemory;
  // The application creates the event first (manual reset); an engine that creates it
  // itself gets an automatically reset one.
  (*engine)->stop = platform::OpenNamedEvent(program::kStopAnagramsEvent, false, false);
  if ((*engine)->stop == nullptr) return kJumbleNullArgument;
  return kJumbleOk;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// How long the list is in a file with `rest` bytes after the header: the body length the
// header gives behind the counts marker when the rest holds it and at most a seal after it;
// otherwise the whole rest (and the counts check below fails).
size_t ListLength(const uint8_t (&header)[kHeaderSize], size_t rest) {
  if (engine::LoadU32(header + nymdex::kAnagramCountsMarkerAt) != nymdex::kAnagramCountsMarker)
    return rest;
  const size_t body = engine::LoadU32(header + nymdex::kAnagramBodyLengthAt);
  return body <= rest && rest - body <= nymdex::kAnagramSealSize ? body : rest;
}

// The list after its header, read into the engine and indexed, and the bytes after the list
// (the seal) into `trailer`; the status of the first step that failed, in their order
// (header, size, body, index), or kJumbleOk.
uint32_t ReadList(std::FILE* file, off_t file_size, JumbleEngine* engine,
                  uint8_t (&header)[kHeaderSize], bool* header_read, std::string* trailer) {
  *header_read = std::fread(header, 1, kHeaderSize, file) == kHeaderSize;
  if (!*header_read) return kJumbleBadHeader;
  if (file_size <= static_cast<off_t>(kHeaderSize)) return kJumbleBadHeader;
  const size_t rest = static_cast<size_t>(file_size) - kHeaderSize;
  const size_t body = ListLength(header, rest);
  try {
    engine->words.resize(body);
    trailer->resize(rest - body);
  } catch (const std::bad_alloc&) {
    return kJumbleNoMemory;
  }
  // A body shorter than the size read before (the file changed under us) is unreadable.
  if (std::fread(engine->words.data(), 1, body, file) != body ||
      std::fread(trailer->data(), 1, trailer->size(), file) != trailer->size()) {
    return kJumbleBadHeader;
  }
  // The word count is the list's NULs: one for each word indexed, then those after where the
  // indexing stopped. The header's count, with its marker, only sizes the index beforehand.
  size_t expected = 0;
  if (engine::LoadU32(header + nymdex::kAnagramCountsMarkerAt) == nymdex::kAnagramCountsMarker)
    expected = std::min<size_t>(engine::LoadU32(header + nymdex::kAnagramWordCountAt), body / 2);
  try {
    const size_t stop = IndexWords(engine, UINT32_MAX, expected);
    engine->word_count = static_cast<uint32_t>(
        engine->listed.size() +
        std::count(engine->words.begin() + static_cast<long>(stop), engine->words.end(), '\0'));
  } catch (const std::bad_alloc&) {
    return kJumbleNoMemory;
  }
  return kJumbleOk;
}

// The digests the start-up compares, computed from the file's mapping: the file digest of the
// complete chunks after the header, and the MD5 of the bytes a seal at the file's end covers
// (of use only when the list has one).
struct FileDigests {
  bool ok = false;  // false when the file cannot be mapped (a folder, a device)
  engine::Digest chunks{};
  engine::Digest sealed{};
};

void DigestFile(const char* path, FileDigests* out) {
  engine::MappedFile file;
  if (!file.Map(path, /*populate=*/true) || file.size() < kHeaderSize) return;
  out->chunks = engine::ChunkedDigest(file.data() + kHeaderSize, file.size() - kHeaderSize);
  if (file.size() >= kHeaderSize + nymdex::kAnagramSealSize) {
    const uint64_t from = nymdex::AnagramSealedFrom(file.size());
    out->sealed =
        engine::Md5Bytes(file.data() + from, static_cast<size_t>(file.size() - 16 - from));
  }
  out->ok = true;
}

// The counts behind the marker against the list as read, and the seal after the list when
// there is one: its marker and its digest against `sealed`. True for a file without the
// counts marker.
bool CountsAndSealHold(const uint8_t (&header)[kHeaderSize], const JumbleEngine& engine,
                       const std::string& trailer, const engine::Digest& sealed) {
  if (engine::LoadU32(header + nymdex::kAnagramCountsMarkerAt) != nymdex::kAnagramCountsMarker)
    return true;
  if (engine::LoadU32(header + nymdex::kAnagramBodyLengthAt) != engine.words.size() ||
      engine::LoadU32(header + nymdex::kAnagramWordCountAt) != engine.word_count) {
    return false;
  }
  if (trailer.empty()) return true;
  return trailer.size() == nymdex::kAnagramSealSize &&
         engine::LoadU32(reinterpret_cast<const uint8_t*>(trailer.data())) ==
             nymdex::kTailDigestMarker &&
         std::memcmp(sealed.data(), trailer.data() + 4, sealed.size()) == 0;
}

}  // namespace

uint32_t Jumble_StartUp(JumbleEngine** handle, const char* path) {
  if (handle == nullptr || path == nullptr) return kJumbleNullArgument;
  std::unique_ptr<JumbleEngine> engine;
  uint32_t status = NewEngine(&engine);
  if (status != kJumbleOk) return status;

  struct stat info;
  if (stat(path, &info) != 0) return kJumbleNullArgument;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
  if (file == nullptr) return kJumbleCannotOpen;

  // A file too short to hold the header cannot have it read (the digest of a region that
  // starts past the end is refused, so this is decided first).
  if (info.st_size < static_cast<off_t>(kHeaderSize)) return kJumbleBadHeader;

  // The digests stream the file on a second core while this thread reads and indexes the
  // list; the outcomes are then taken in the order of a start-up done step by step: the
  // digest, the header, the digest's and magic's comparison, then the list and its seal.
  FileDigests digests;
  std::thread worker;
  if (std::thread::hardware_concurrency() > 1) {
    try {
      worker = std::thread(DigestFile, path, &digests);
    } catch (const std::system_error&) {
    }
  }
  if (!worker.joinable()) {
    DigestFile(path, &digests);
    if (!digests.ok) return kJumbleCorrupt;
  }
  uint8_t header[kHeaderSize];
  bool header_read = false;
  std::string trailer;
  const uint32_t list =
      ReadList(file.get(), info.st_size, engine.get(), header, &header_read, &trailer);
  if (worker.joinable()) worker.join();

  if (!digests.ok) return kJumbleCorrupt;
  if (!header_read) return kJumbleBadHeader;
  if (std::memcmp(header + nymdex::kAnagramDigestAt, digests.chunks.data(),
                  digests.chunks.size()) != 0 ||
      engine::LoadU32(header) != kJumbleMagic) {
    return kJumbleCorrupt;
  }
  if (list != kJumbleOk) return list;
  // A list cut short or changed inside the last chunk passes the digest; the counts behind
  // the marker and the seal after the list tell it.
  if (!CountsAndSealHold(header, *engine, trailer, digests.sealed)) return kJumbleCorrupt;
  *handle = engine.release();
  return kJumbleOk;
}

uint32_t Jumble_StartUp2(JumbleEngine** handle, const NymdexEngine* nymdex) {
  if (handle == nullptr || nymdex == nullptr) return kJumbleNullArgument;
  std::unique_ptr<JumbleEngine> engine;
  uint32_t status = NewEngine(&engine);
  if (status != kJumbleOk) return status;

  NymdexEntryRegion region = Nymdex_GetEntryRegion(nymdex);
  try {
    engine->words.reserve(region.length);
    // Entries are the word, its NUL and six identifier digits; only whole entries count.
    size_t at = 0;
    for (uint32_t n = 0; n < region.count && region.data != nullptr && at < region.length; ++n) {
      const void* nul = std::memchr(region.data + at, '\0', region.length - at);
      if (nul == nullptr) break;
      size_t end = static_cast<const char*>(nul) - region.data;
      if (end + nymdex::kEntrySuffixSize > region.length) break;
      engine->words.insert(engine->words.end(), region.data + at, region.data + end + 1);
      ++engine->word_count;
      at = end + nymdex::kEntrySuffixSize;
    }
    IndexWords(engine.get(), engine->word_count, engine->word_count);
  } catch (const std::bad_alloc&) {
    return kJumbleNoMemory;
  }
  *handle = engine.release();
  return kJumbleOk;
}
uint32_t Jumble_ShutDown(JumbleEngine** handle) {
  if (handle == nullptr || *handle == nullptr) return kJumbleOk;
  delete *handle;
  *handle = nullptr;
  return kJumbleOk;
}
