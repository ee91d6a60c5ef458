// Start-up and shut-down of the lexical engine: integrity checks, the word index, the
// part-of-speech indexes and the sense lists.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

#include "engine/mapped_file.h"
#include "engine/md5.h"
#include "engine/nymdex_checks.h"
#include "engine/nymdex_internal.h"
#include "engine/word_cache.h"
#include "platform/named_event.h"

namespace nymdex {

File::~File() {
  if (fd_ >= 0) ::close(fd_);
}

bool File::Open(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat status;
  if (::fstat(fd, &status) != 0 || status.st_size < 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  size_ = static_cast<uint64_t>(status.st_size);
  return true;
}

long File::ReadSome(uint64_t offset, void* out, size_t length) const {
  if (fd_ < 0 || offset > static_cast<uint64_t>(std::numeric_limits<off_t>::max())) return -1;
  auto* bytes = static_cast<uint8_t*>(out);
  size_t done = 0;
  while (done < length) {
    uint64_t at = offset + done;
    if (at > static_cast<uint64_t>(std::numeric_limits<off_t>::max())) break;
    ssize_t got = ::pread(fd_, bytes + done, length - done, static_cast<off_t>(at));
    if (got < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return static_cast<long>(done);
}

bool File::ReadAt(uint64_t offset, void* out, size_t length) const {
  return ReadSome(offset, out, length) == static_cast<long>(length);
}

bool Cursor::Read(void* out, size_t length) {
  if (position_ >= buffer_start_ && position_ - buffer_start_ <= buffer_length_ &&
      buffer_length_ - (position_ - buffer_start_) >= length) {
    std::memcpy(out, buffer_ + (position_ - buffer_start_), length);
    position_ += length;
    return true;
  }
  if (length > kBufferSize) {
    if (!file_.ReadAt(position_, out, length)) return false;
    position_ += length;
    return true;
  }
  long got = file_.ReadSome(position_, buffer_, kBufferSize);
  if (got < 0) {
    buffer_length_ = 0;
    return false;
  }
  buffer_start_ = position_;
  buffer_length_ = static_cast<size_t>(got);
  if (buffer_length_ < length) return false;
  std::memcpy(out, buffer_, length);
  position_ += length;
  return true;
}

bool Cursor::ReadU16(uint16_t* value) {
  uint8_t bytes[2];
  if (!Read(bytes, 2)) return false;
  *value = LoadU16(bytes);
  return true;
}

bool Cursor::ReadU32(uint32_t* value) {
  uint8_t bytes[4];
  if (!Read(bytes, 4)) return false;
  *value = LoadU32(bytes);
  return true;
}

namespace {

// Loads `count` u32 values at `offset` of the mapped file, refusing a table that would run past
// the file's end before anything is allocated for it.
bool LoadU32Table(const engine::MappedFile& file, uint64_t offset, uint32_t count,
                  std::vector<uint32_t>* out) {
  const uint64_t bytes = uint64_t{count} * 4;
  if (!file.Holds(offset, bytes)) return false;
  const uint8_t* raw = file.data() + offset;
  out->resize(count);
  for (uint32_t i = 0; i < count; ++i)
    (*out)[i] = LoadU32(raw + 4 * size_t{i});
  return true;
}

// A section of the mapped file, read in place.
bool ViewSection(const engine::MappedFile& file, uint64_t offset, uint32_t size, Section* out) {
  if (!file.Holds(offset, size)) return false;
  *out = Section(file.data() + offset, size);
  return true;
}

// The digest of the complete chunks after a mapped file's `header_size` bytes against the
// digest its header holds at `stored`. The file must hold its header.
bool DigestMatches(const engine::MappedFile& file, size_t header_size, const uint8_t* stored) {
  const engine::Digest digest =
      engine::ChunkedDigest(file.data() + header_size, file.size() - header_size);
  return std::memcmp(digest.data(), stored, digest.size()) == 0;
}

// Maps the file that `file` has open, every page at once: the digest reads them all, and a
// request for the whole mapping costs less than a fault per page.
bool MapWhole(const File& file, engine::MappedFile* map) {
  return map->MapDescriptor(file.descriptor(), /*populate=*/true);
}

// Reads the tag file's header and checks the file's digest, from a mapping that ends with the
// check: the queries read the tag file block by block.
bool VerifyTagFile(NymdexEngine* engine) {
  if (!engine->tag_file.Open(engine->tag_path)) return false;
  engine::MappedFile file;
  if (!MapWhole(engine->tag_file, &file) || file.size() < kTagHeaderSize) return false;
  const uint8_t* header = file.data();
  if (!DigestMatches(file, kTagHeaderSize, &header[kTagDigestAt])) return false;

  TagHeader& tags = engine->tag_header;
  tags.block_count = LoadU32(&header[kTagBlockCountAt]);
  tags.end_offset = LoadU32(&header[kTagEndAt]);
  tags.highest.resize(kMaxTagBlocks);
  tags.starts.resize(kMaxTagBlocks);
  for (uint32_t i = 0; i < kMaxTagBlocks; ++i) {
    tags.highest[i] = LoadU32(&header[kTagHighestAt + 4 * i]);
    tags.starts[i] = LoadU32(&header[kTagStartsAt + 4 * i]);
  }
  tags.highest_ascending = true;
  uint32_t used = tags.block_count < kMaxTagBlocks ? tags.block_count : kMaxTagBlocks;
  for (uint32_t i = 1; i < used; ++i) {
    if (tags.highest[i] < tags.highest[i - 1]) tags.highest_ascending = false;
  }
  return TagHeaderHolds(tags, engine->tag_file.size()) &&
         TagTailHolds(engine, file.data(), file.size());
}

// Maps the synset file for good (the indexes and sense lists are read in place from the
// mapping), copies its header and checks the file's digests. The synset records are still read
// with a call each, not through the mapping: the page cache may hold the file in large folios,
// and a read through the mapping would bring a whole folio (up to 2 MB) into the program.
bool VerifySynsetFile(NymdexEngine* engine) {
  if (!engine->synset_file.Open(engine->synset_path)) return false;
  engine::MappedFile& file = engine->synset_map;
  if (!MapWhole(engine->synset_file, &file) || file.size() < kSynsetHeaderSize) return false;
  std::memcpy(engine->header, file.data(), kSynsetHeaderSize);
  return DigestMatches(file, kSynsetHeaderSize, &engine->header[kSynsetDigestAt]) &&
         SynsetTailHolds(engine);
}

// What one step of the start-up came to.
enum class Outcome { kOk, kFailed, kNoMemory };

// Runs `step` (a bool function), turning a failed allocation into kNoMemory.
template <typename Step>
Outcome Attempt(const Step& step) {
  try {
    return step() ? Outcome::kOk : Outcome::kFailed;
  } catch (const std::bad_alloc&) {
    return Outcome::kNoMemory;
  }
}

// The word index step: its outcome and the progress calls made before that outcome.
struct WordIndexLoad {
  Outcome outcome = Outcome::kOk;
  uint64_t progress_calls = 0;
};

// Maps the cache file at `path` as the decoded word index when it holds the decode of the word
// index of `size` bytes with digest `digest` and `declared` bytes; else leaves `region` as is.
bool MapCachedWordIndex(const std::string& path, uint64_t size, const engine::Digest& digest,
                        size_t declared, WordRegion* region) {
  size_t length = 0;
  if (!MapWordCache(path, size, digest, &region->cached, &length) || length != declared) {
    region->cached = engine::MappedFile();
    return false;
  }
  region->decoded = reinterpret_cast<const char*>(region->cached.data() + kWordCacheHeaderSize);
  region->length = length;
  region->from_cache = true;
  return true;
}

// Maps the word index, counts the progress calls a byte-by-byte reader would make (one per
// S / 100 + 1 bytes read) and keeps the decoded index: mapped from the copy shipped beside the
// word index or from the cache folder's when one holds this word index's decode, else decoded
// (with the resume points after the stream, when it has them) and then cached in the cache
// folder. The stream is decoded straight from the mapping into the region's buffer, whose
// first 32 bytes (the header) are then skipped.
bool LoadWordIndex(NymdexEngine* engine, WordIndexLoad* load) {
  engine::MappedFile file;
  if (!file.Map(engine->word_index_path.c_str(), /*populate=*/true)) return false;
  const uint64_t size = file.size();
  if (size > std::numeric_limits<size_t>::max() / 2) return false;
  load->progress_calls = size / (size / 100 + 1);

  // A stream without its head, or declaring more than twice the file's size or less than
  // the header, is refused before the region is made.
  const size_t declared = DeclaredWordIndexLength(file.data(), size);
  if (declared == 0) return false;
  WordRegion& region = engine->region;
  const bool cache = !engine->word_cache_path.empty();
  engine::Digest source_digest{};
  if (cache) {
    // A copy was written only after a decode of these very bytes passed WordIndexHolds. The
    // one beside the word index is only read: it belongs to the installed data.
    source_digest = ExactDigest(file.data(), size);
    const std::string shipped = DataFolderWordCachePath(engine->word_index_path);
    const bool shipped_hit = shipped != engine->word_cache_path &&
                             MapCachedWordIndex(shipped, size, source_digest, declared, &region);
    if (!shipped_hit)
      MapCachedWordIndex(engine->word_cache_path, size, source_digest, declared, &region);
  }
  if (!region.from_cache) {
    region.bytes.resize(declared);
    auto* out = reinterpret_cast<uint8_t*>(region.bytes.data());
    if (!DecodeWordIndex(file.data(), size, out, region.bytes.size())) return false;
    region.decoded = region.bytes.data();
    region.length = region.bytes.size();
    if (cache) WriteWordCache(engine->word_cache_path, size, source_digest, out, region.length);
  }
  engine->entry_count =
      LoadU32(reinterpret_cast<const uint8_t*>(region.decoded) + kWordIndexCountAt);
  region.skip = kWordIndexHeaderSize;
  return true;
}

// The part-of-speech indexes and, below, the sense lists are read in place from the synset
// file's mapping (made by VerifySynsetFile) rather than copied; their pages are file pages the
// kernel may reclaim.
bool LoadIndexes(NymdexEngine* engine) {
  const engine::MappedFile& file = engine->synset_map;
  uint64_t offset = kSynsetHeaderSize;
  for (int pos = 0; pos < 4; ++pos) {
    uint32_t size = LoadU32(&engine->header[kPosIndexSizeAt[pos]]);
    if (size == 0) return false;
    if (!ViewSection(file, offset, size, &engine->pos_index[pos])) return false;
    offset += size;
  }
  for (int pos = 0; pos < 4; ++pos) {
    uint32_t at = LoadU32(&engine->header[kPosBucketOffsetAt[pos]]);
    uint32_t count = LoadU32(&engine->header[kPosBucketCountAt[pos]]);
    if (!LoadU32Table(file, at, count, &engine->pos_buckets[pos])) return false;
    engine->pos_base[pos] = LoadU32(&engine->header[kPosBaseAt[pos]]);
  }
  return IndexesHold(engine);
}

bool LoadSenseLists(NymdexEngine* engine) {
  const engine::MappedFile& file = engine->synset_map;
  uint32_t size = LoadU32(&engine->header[kSenseListSizeAt]);
  if (size == 0) return false;
  if (!ViewSection(file, LoadU32(&engine->header[kSenseListOffsetAt]), size, &engine->sense_lists))
    return false;
  return LoadU32Table(file, LoadU32(&engine->header[kSenseBucketOffsetAt]),
                      LoadU32(&engine->header[kSenseBucketCountAt]), &engine->sense_buckets) &&
         SenseListsHold(engine);
}

// The digest brought in every page of the synset file. The sections stay (the queries read
// them in place); the synset records after them, read a few at a time, are let go, so that the
// engine's resident size is what the queries use.
void ReleaseRecordPages(const NymdexEngine* engine) {
  const engine::MappedFile& file = engine->synset_map;
  uint64_t end = 0;
  auto extend = [&](uint64_t offset, uint64_t length) { end = std::max(end, offset + length); };
  for (int pos = 0; pos < 4; ++pos) {
    extend(static_cast<uint64_t>(engine->pos_index[pos].data() - file.data()),
           engine->pos_index[pos].size());
    extend(LoadU32(&engine->header[kPosBucketOffsetAt[pos]]),
           uint64_t{4} * LoadU32(&engine->header[kPosBucketCountAt[pos]]));
  }
  extend(static_cast<uint64_t>(engine->sense_lists.data() - file.data()),
         engine->sense_lists.size());
  extend(LoadU32(&engine->header[kSenseBucketOffsetAt]),
         uint64_t{4} * LoadU32(&engine->header[kSenseBucketCountAt]));
  file.Release(end);
}

// The steps on the synset and tag files. Run one after the other (one core), each runs only
// when the ones before it succeeded, as in a start-up done one step at a time. With a second
// core the two files are two jobs, taken by whichever thread is free first: the tag file's
// check is then made even when the synset file's failed and the other way round, which changes
// no code, as the codes are read in start-up order afterwards and neither job reads what the
// other writes.
struct FileSteps {
  Outcome tags = Outcome::kOk;
  Outcome synsets = Outcome::kOk;
  Outcome indexes = Outcome::kOk;
  Outcome sense_lists = Outcome::kOk;

  void Run(NymdexEngine* engine) {
    CheckTags(engine);
    if (tags == Outcome::kOk) LoadSynsets(engine);
  }
  // Takes the next job not yet taken, until none is left. The synset file's job comes first:
  // it is the longer of the two.
  void RunJobs(NymdexEngine* engine) {
    for (int job = next_job.fetch_add(1); job < 2; job = next_job.fetch_add(1)) {
      if (job == 0) {
        LoadSynsets(engine);
      } else {
        CheckTags(engine);
      }
    }
  }
  bool verified() const { return tags == Outcome::kOk && synsets == Outcome::kOk; }

 private:
  void CheckTags(NymdexEngine* engine) {
    tags = Attempt([&] { return VerifyTagFile(engine); });
  }
  void LoadSynsets(NymdexEngine* engine) {
    synsets = Attempt([&] { return VerifySynsetFile(engine); });
    if (synsets != Outcome::kOk) return;
    indexes = Attempt([&] { return LoadIndexes(engine); });
    if (indexes == Outcome::kOk) sense_lists = Attempt([&] { return LoadSenseLists(engine); });
    if (sense_lists == Outcome::kOk && indexes == Outcome::kOk) ReleaseRecordPages(engine);
  }

  std::atomic<int> next_job{0};
};

// The code of the first step, in start-up order, that did not succeed.
uint32_t FirstFailure(std::initializer_list<std::pair<Outcome, uint32_t>> steps) {
  for (const auto& [outcome, code] : steps) {
    if (outcome == Outcome::kNoMemory) return kNymdexNoMemory;
    if (outcome == Outcome::kFailed) return code;
  }
  return kNymdexOk;
}

uint32_t StartUp(NymdexEngine** handle, const char* synset_path, const char* word_index_path,
                 const char* tag_path, ProgressCallback progress, void* callback_value) {
  std::unique_ptr<NymdexEngine> engine(new (std::nothrow) NymdexEngine());
  if (engine == nullptr) return kNymdexNoMemory;
  engine->stop_event = platform::OpenNamedEvent(program::kStopNymdexEvent, /*manual_reset=*/true,
                                                /*initially_set=*/false);
  if (engine->stop_event == nullptr) return kNymdexNoMemory;
  engine->synset_path = synset_path;
  engine->word_index_path = word_index_path;
  engine->tag_path = tag_path;
  const std::string cache_folder = WordCacheFolder();
  if (!cache_folder.empty()) engine->word_cache_path = WordCachePath(cache_folder);

  // The digests and the synset file's sections on a second core while this thread loads the
  // word index, the longest step when it is decoded; this thread then takes the file job the
  // other has not begun (the word index mapped from the cache leaves it free early). The steps
  // touch different parts of the engine. On one core, or without a thread, the steps run here
  // in order and the word index waits for the checks.
  FileSteps files;
  std::thread worker;
  if (std::thread::hardware_concurrency() > 1) {
    try {
      worker = std::thread([&files, &engine] { files.RunJobs(engine.get()); });
    } catch (const std::system_error&) {
    }
  }
  if (!worker.joinable()) files.Run(engine.get());

  WordIndexLoad words;
  if (worker.joinable() || files.verified()) {
    words.outcome = Attempt([&] { return LoadWordIndex(engine.get(), &words); });
  }
  if (worker.joinable()) {
    files.RunJobs(engine.get());
    worker.join();
  }

  // Codes and progress calls as the steps one after another would give them: the progress of
  // the word index only once both files passed their checks.
  const uint32_t checks =
      FirstFailure({{files.tags, kNymdexCorrupt}, {files.synsets, kNymdexCorrupt}});
  if (checks != kNymdexOk) return checks;
  if (progress != nullptr) {
    for (uint64_t step = 0; step < words.progress_calls; ++step)
      progress(static_cast<int32_t>(step), callback_value);
  }
  const uint32_t code = FirstFailure({{words.outcome, kNymdexBadWordIndex},
                                      {files.indexes, kNymdexBadIndexes},
                                      {files.sense_lists, kNymdexBadSenseLists}});
  if (code != kNymdexOk) return code;
  *handle = engine.release();
  return kNymdexOk;
}

}  // namespace
}  // namespace nymdex

NymdexEngine::~NymdexEngine() {
  if (stop_event != nullptr) platform::CloseNamedEvent(stop_event);
}

uint32_t Nymdex_StartUp(NymdexEngine** handle, const char* synset_path, const char* word_index_path,
                        const char* tag_path, ProgressCallback progress, void* callback_value) {
  if (handle == nullptr || synset_path == nullptr || word_index_path == nullptr ||
      tag_path == nullptr)
    return kNymdexNullArgument;
  try {
    return nymdex::StartUp(handle, synset_path, word_index_path, tag_path, progress,
                           callback_value);
  } catch (const std::bad_alloc&) {
    return kNymdexNoMemory;
  }
}

uint32_t Nymdex_ShutDown(NymdexEngine** handle) {
  if (handle == nullptr || *handle == nullptr) return kNymdexNullHandle;
  delete *handle;
  return kNymdexOk;
}
