#include "engine/word_cache.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

#include "engine/little_endian.h"
#include "engine/md5_lanes.h"
#include "engine/nymdex.h"
#include "platform/data_path.h"

namespace nymdex {
namespace {

std::mutex folder_mutex;
std::string& Folder() {
  static std::string folder;
  return folder;
}

constexpr size_t kPiece = size_t{64} << 10;

void StoreU64(uint8_t* at, uint64_t value) {
  engine::StoreU32(at, static_cast<uint32_t>(value));
  engine::StoreU32(at + 4, static_cast<uint32_t>(value >> 32));
}
uint64_t LoadU64(const uint8_t* at) {
  return engine::LoadU32(at) | uint64_t{engine::LoadU32(at + 4)} << 32;
}

// Writes all of `length` bytes, resuming after interruptions and short writes.
bool WriteAll(int fd, const uint8_t* data, size_t length) {
  while (length > 0) {
    const ssize_t done = ::write(fd, data, length);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    data += done;
    length -= static_cast<size_t>(done);
  }
  return true;
}

enum class WriteOutcome { kWritten, kFailed, kNoUnnamedFile };

// Writes the header and the decoded bytes into an unnamed file in `folder`, then gives it the
// name `path`, replacing a cache already there. A reader sees either the old file or the whole
// new one (or, for a moment while it is replaced, none: a miss). kNoUnnamedFile when the system
// offers no unnamed file here or no way to name one; nothing is left behind unless kWritten.
WriteOutcome WriteUnnamedThenLink(const std::string& folder, const std::string& path,
                                  const uint8_t* header, const uint8_t* decoded, size_t length) {
  const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  if (fd < 0) return WriteOutcome::kNoUnnamedFile;
  WriteOutcome outcome = WriteOutcome::kFailed;
  if (WriteAll(fd, header, kWordCacheHeaderSize) && WriteAll(fd, decoded, length)) {
    // linkat cannot replace a name: an existing cache goes first. When another process names
    // its own copy in between, the second link fails and that copy stays (a later start-up
    // checks whose word index it names).
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const auto link = [&] {
      return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
    };
    bool linked = link();
    if (!linked && errno == EEXIST) {
      ::unlink(path.c_str());
      linked = link() || errno == EEXIST;
    }
    // No /proc to name the file by: the named temporary file serves instead.
    outcome = linked            ? WriteOutcome::kWritten
              : errno == ENOENT ? WriteOutcome::kNoUnnamedFile
                                : WriteOutcome::kFailed;
  }
  ::close(fd);
  return outcome;
}

}  // namespace

std::string WordCacheFolder() {
  std::lock_guard<std::mutex> lock(folder_mutex);
  return Folder();
}

std::string WordCachePath(const std::string& folder) {
  return folder + "/" + kWordCacheFile;
}

engine::Digest ExactDigest(const uint8_t* data, size_t size) {
  const size_t count = size / kPiece;
  std::vector<const uint8_t*> pieces(count);
  for (size_t i = 0; i < count; ++i)
    pieces[i] = data + i * kPiece;
  // The outer message: the length, each whole piece's digest, the short last piece's digest.
  std::vector<uint8_t> outer(8 + 16 * (count + 1));
  StoreU64(outer.data(), size);
  static_assert(sizeof(engine::Digest) == 16, "the digests are contiguous bytes");
  engine::Md5Many(pieces.data(), count, kPiece,
                  reinterpret_cast<engine::Digest*>(outer.data() + 8));
  const engine::Digest tail = engine::Md5Bytes(data + count * kPiece, size - count * kPiece);
  std::memcpy(outer.data() + 8 + 16 * count, tail.data(), tail.size());
  return engine::Md5Bytes(outer.data(), outer.size());
}

std::string DataFolderWordCachePath(const std::string& word_index_path) {
  const size_t slash = word_index_path.rfind('/');
  if (slash == std::string::npos) return kWordCacheFile;
  return word_index_path.substr(0, slash + 1) + kWordCacheFile;
}

void MakeWordCacheHeader(uint64_t source_size, const engine::Digest& source_digest,
                         const uint8_t* decoded, size_t length, uint8_t* header) {
  std::memset(header, 0, kWordCacheHeaderSize);
  engine::StoreU32(header, kWordCacheMarker);
  engine::StoreU32(header + 4, kWordCacheVersion);
  StoreU64(header + kWordCacheSourceSizeAt, source_size);
  std::memcpy(header + kWordCacheSourceDigestAt, source_digest.data(), 16);
  StoreU64(header + kWordCacheLengthAt, length);
  const engine::Digest content = ExactDigest(decoded, length);
  std::memcpy(header + kWordCacheContentDigestAt, content.data(), content.size());
}

bool MapWordCache(const std::string& path, uint64_t source_size,
                  const engine::Digest& source_digest, engine::MappedFile* map, size_t* length) {
  engine::MappedFile file;
  if (!file.Map(path.c_str(), /*populate=*/true) || file.size() < kWordCacheHeaderSize)
    return false;
  const uint8_t* header = file.data();
  const uint64_t stored_length = LoadU64(header + kWordCacheLengthAt);
  if (engine::LoadU32(header) != kWordCacheMarker ||
      engine::LoadU32(header + 4) != kWordCacheVersion ||
      LoadU64(header + kWordCacheSourceSizeAt) != source_size ||
      std::memcmp(header + kWordCacheSourceDigestAt, source_digest.data(), 16) != 0 ||
      stored_length != file.size() - kWordCacheHeaderSize ||
      LoadU64(header + kWordCacheHeaderSize - 8) != 0) {
    return false;
  }
  const engine::Digest content =
      ExactDigest(header + kWordCacheHeaderSize, static_cast<size_t>(stored_length));
  if (std::memcmp(header + kWordCacheContentDigestAt, content.data(), content.size()) != 0)
    return false;
  *length = static_cast<size_t>(stored_length);
  *map = std::move(file);
  return true;
}

bool WriteWordCache(const std::string& path, uint64_t source_size,
                    const engine::Digest& source_digest, const uint8_t* decoded, size_t length) {
  // A file size limit below the cache's would end the process with a signal at the write.
  struct rlimit limit;
  if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      limit.rlim_cur < kWordCacheHeaderSize + uint64_t{length}) {
    return false;
  }
  const size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0 &&
      !platform::MakeDirectories(path.substr(0, slash))) {
    return false;
  }
  uint8_t header[kWordCacheHeaderSize];
  MakeWordCacheHeader(source_size, source_digest, decoded, length, header);

  // Preferably the bytes go to a file without a name (O_TMPFILE), named only once complete, so
  // that a process killed while writing leaves nothing behind.
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
  const WriteOutcome unnamed = WriteUnnamedThenLink(folder, path, header, decoded, length);
  if (unnamed != WriteOutcome::kNoUnnamedFile) return unnamed == WriteOutcome::kWritten;
  // Else a named temporary file: mkostemp makes it with mode 0600; its unique name lets two
  // processes write at once, the later rename winning with a whole file either way.
  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, header, kWordCacheHeaderSize) && WriteAll(fd, decoded, length);
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

}  // namespace nymdex

void Nymdex_SetCacheFolder(const char* folder) {
  std::lock_guard<std::mutex> lock(nymdex::folder_mutex);
  nymdex::Folder() = folder != nullptr ? folder : "";
}
