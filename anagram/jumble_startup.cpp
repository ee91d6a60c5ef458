// Start-up and shut-down of the anagram engine: the word list read from "1001A.dat" or taken
// from the lexical engine's word index, and indexed for the candidate pass.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <system_error>
#include <thread>

#include "anagram/jumble.h"
#include "anagram/jumble_engine.h"
#include "engine/little_endian.h"
#include "engine/md5.h"
#include "engine/nymdex.h"
#include "engine/text_helpers.h"
#include "platform/named_event.h"
#include "platform/program_names.h"

namespace {

using jumble::ListedWord;

constexpr size_t kHeaderSize = nymdex::kAnagramHeaderSize;

// Indexes the words in list order, up to the word count; an empty word, a word of 128
// characters or more, or a word without its NUL ends the list where it stands.
void IndexWords(JumbleEngine* engine) {
  const char* data = engine->words.data();
  size_t size = engine->words.size();
  size_t at = 0;
  engine->listed.clear();
  engine->listed.reserve(engine->word_count);
  for (uint32_t n = 0; n < engine->word_count && at < size; ++n) {
    const void* nul = std::memchr(data + at, '\0', size - at);
    if (nul == nullptr) break;
    size_t length = static_cast<const char*>(nul) - (data + at);
    if (length == 0 || length > nymdex::kMaxAnagramWordLength) break;
    ListedWord word;
    word.offset = static_cast<uint32_t>(at);
    word.length = static_cast<uint8_t>(length);
    word.plain = true;
    for (size_t i = 0; i < length; ++i) {
      unsigned char c = static_cast<unsigned char>(data[at + i]);
      if (!engine::IsAsciiLower(static_cast<char>(c))) {
        word.plain = false;
        break;
      }
      word.mask |= 1u << (c - 'a');
    }
    engine->listed.push_back(word);
    at += length + 1;
  }
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

// The list after its header, read into the engine and indexed; the status of the first step
// that failed, in their order (header, size, body, index), or kJumbleOk.
uint32_t ReadList(std::FILE* file, off_t file_size, JumbleEngine* engine,
                  uint8_t (&header)[kHeaderSize], bool* header_read) {
  *header_read = std::fread(header, 1, kHeaderSize, file) == kHeaderSize;
  if (!*header_read) return kJumbleBadHeader;
  if (file_size <= static_cast<off_t>(kHeaderSize)) return kJumbleBadHeader;
  size_t body = static_cast<size_t>(file_size) - kHeaderSize;
  try {
    engine->words.resize(body);
  } catch (const std::bad_alloc&) {
    return kJumbleNoMemory;
  }
  // A body shorter than the size read before (the file changed under us) is unreadable.
  if (std::fread(engine->words.data(), 1, body, file) != body) return kJumbleBadHeader;
  engine->word_count =
      static_cast<uint32_t>(std::count(engine->words.begin(), engine->words.end(), '\0'));
  try {
    IndexWords(engine);
  } catch (const std::bad_alloc&) {
    return kJumbleNoMemory;
  }
  return kJumbleOk;
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

  // The digest streams the file on a second core while this thread reads and indexes the
  // list; the outcomes are then taken in the order of a start-up done step by step: the
  // digest, the header, the digest's and magic's comparison, then the list.
  engine::Digest digest;
  bool digested = false;
  auto digest_file = [&] { digested = engine::FileDigest(path, kHeaderSize, &digest); };
  std::thread worker;
  if (std::thread::hardware_concurrency() > 1) {
    try {
      worker = std::thread(digest_file);
    } catch (const std::system_error&) {
    }
  }
  if (!worker.joinable()) {
    digest_file();
    if (!digested) return kJumbleCorrupt;
  }
  uint8_t header[kHeaderSize];
  bool header_read = false;
  const uint32_t list = ReadList(file.get(), info.st_size, engine.get(), header, &header_read);
  if (worker.joinable()) worker.join();

  if (!digested) return kJumbleCorrupt;
  if (!header_read) return kJumbleBadHeader;
  if (std::memcmp(header + nymdex::kAnagramDigestAt, digest.data(), digest.size()) != 0 ||
      engine::LoadU32(header) != kJumbleMagic) {
    return kJumbleCorrupt;
  }
  if (list != kJumbleOk) return list;
  // A list cut short inside the last chunk passes the digest; the counts behind the marker
  // tell it.
  if (engine::LoadU32(header + nymdex::kAnagramCountsMarkerAt) == nymdex::kAnagramCountsMarker &&
      (engine::LoadU32(header + nymdex::kAnagramBodyLengthAt) !=
           static_cast<uint64_t>(info.st_size) - kHeaderSize ||
       engine::LoadU32(header + nymdex::kAnagramWordCountAt) != engine->word_count)) {
    return kJumbleCorrupt;
  }
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
    IndexWords(engine.get());
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
