// A verified copy of the decoded word index, kept between runs in a folder the caller names
// (Nymdex_SetCacheFolder). The decode gives the same bytes every time for the same "1001W.dat",
// so a later start-up maps the copy instead of decoding, but only when the copy names the exact
// bytes of the word index it came from and its own content still matches its digest. Anything
// else (no copy, another word index, damage, a short file) is a miss: the start-up decodes as
// it would without a cache, and writes a fresh copy.
//
// File layout (little endian): u32 marker "VBWC", u32 format version, u64 the word index's
// size, 16 bytes its digest, u64 the decoded length, 16 bytes the decoded bytes' digest,
// 8 bytes zero; then the decoded bytes, to the end of the file. Digests are ExactDigest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/mapped_file.h"
#include "engine/md5.h"

namespace nymdex {

inline constexpr char kWordCacheFile[] = "word-index.cache";
inline constexpr uint32_t kWordCacheMarker = 0x43574256;  // "VBWC"
// A start-up trusts a matching cache without checking the decoded index again (it was written
// only after a decode passed those checks): the version changes whenever the checks or the
// layout do, so that no cache of another program version is used.
inline constexpr uint32_t kWordCacheVersion = 1;
inline constexpr size_t kWordCacheHeaderSize = 64;
inline constexpr size_t kWordCacheSourceSizeAt = 8;
inline constexpr size_t kWordCacheSourceDigestAt = 16;
inline constexpr size_t kWordCacheLengthAt = 32;
inline constexpr size_t kWordCacheContentDigestAt = 40;

// The folder Nymdex_SetCacheFolder named last; empty when there is none (no cache).
std::string WordCacheFolder();

// The path of the cache file in `folder`.
std::string WordCachePath(const std::string& folder);

// A digest of every byte of `data` (a short last piece included, unlike the data files'
// chunked digest): 64 KiB pieces digested side by side in vector lanes, then the length and
// the pieces' digests digested together.
engine::Digest ExactDigest(const uint8_t* data, size_t size);

// Maps the cache file at `path` into `map` when it was written from a word index of
// `source_size` bytes with digest `source_digest` and its decoded bytes match their digest;
// the decoded bytes then lie at map->data() + kWordCacheHeaderSize, `*length` of them. False
// (leaving `map` empty) for anything else.
bool MapWordCache(const std::string& path, uint64_t source_size,
                  const engine::Digest& source_digest, engine::MappedFile* map, size_t* length);

// Writes the cache file at `path` (its folder made when missing), of mode 0600, through a file
// that gets the name only when complete (an unnamed file where the system offers one, so that
// a process killed meanwhile leaves nothing behind; else a temporary file renamed over it), so
// that no reader sees part of one. False when any step fails; nothing is left behind then.
bool WriteWordCache(const std::string& path, uint64_t source_size,
                    const engine::Digest& source_digest, const uint8_t* decoded, size_t length);

}  // namespace nymdex
