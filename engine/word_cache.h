// A verified copy of the decoded word index, kept between runs in a folder the caller names
// (Nymdex_SetCacheFolder). The decode gives the same bytes every time for the same "1001W.dat",
// so a later start-up maps the copy instead of decoding, but only when the copy names the exact
// bytes of the word index it came from and its own content still matches its digest. Anything
// else (no copy, another word index, damage, a short file) is a miss: the start-up decodes as
// it would without a cache, and writes a fresh copy.
//
// The data compiler ships a copy of the same format beside "1001W.dat" (kWordCacheFile in the
// Data folder, BuildWordCacheImage), so that the first start after installation need not
// decode either. A start-up that has a cache folder looks there first, read only, then in the
// cache folder; a data folder copy that does not match is a miss like any other, and a
// start-up that decodes writes only the cache folder.
//
// File layout (little endian): u32 marker "VBWC", u32 format version, u64 the word index's
// size, 16 bytes its digest, u64 the decoded length, 16 bytes the decoded bytes' digest,
// 8 bytes zero; then the decoded bytes, to the end of the file. Digests are ExactDigest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

// The path of the copy shipped with the data: kWordCacheFile in the folder of the word index
// at `word_index_path`.
std::string DataFolderWordCachePath(const std::string& word_index_path);

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

// The cache file's header (kWordCacheHeaderSize bytes at `header`) for `length` decoded bytes
// decoded from a word index of `source_size` bytes with digest `source_digest`.
void MakeWordCacheHeader(uint64_t source_size, const engine::Digest& source_digest,
                         const uint8_t* decoded, size_t length, uint8_t* header);

// The decoded length a word index of `size` bytes at `file` declares, or 0 when a start-up
// refuses it before decoding (no stream head, a length past twice the file's size or short
// of the word index's header).
size_t DeclaredWordIndexLength(const uint8_t* file, uint64_t size);

// Decodes the word index at `file` into the `length` bytes at `out` (`length` as declared), with
// its resume points when it has them, and checks the result as a start-up does. False when a
// start-up would refuse the word index.
bool DecodeWordIndex(const uint8_t* file, uint64_t size, uint8_t* out, size_t length);

// The whole cache file (header and decoded bytes) for the word index of `size` bytes at
// `file`, byte for byte the file a start-up that decodes it writes. False (and `image` empty)
// when a start-up would refuse the word index.
bool BuildWordCacheImage(const uint8_t* file, uint64_t size, std::vector<uint8_t>* image);

// Writes the cache file at `path` (its folder made when missing), of mode 0600, through a file
// that gets the name only when complete (an unnamed file where the system offers one, so that
// a process killed meanwhile leaves nothing behind; else a temporary file renamed over it), so
// that no reader sees part of one. False when any step fails; nothing is left behind then.
bool WriteWordCache(const std::string& path, uint64_t source_size,
                    const engine::Digest& source_digest, const uint8_t* decoded, size_t length);

}  // namespace nymdex
