// Layouts of the files in Data/ that the engines read and the data compiler writes: byte
// offsets of header fields, section and record sizes, and the limits of the formats.
// All integers in the files are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nymdex {

// Synset file "1001L.dat": header fields.
inline constexpr size_t kSynsetHeaderSize = 176;
inline constexpr size_t kSynsetDigestAt = 12;
inline constexpr size_t kPosIndexSizeAt[4] = {32, 40, 48, 56};
inline constexpr size_t kSenseListOffsetAt = 60;
inline constexpr size_t kSenseListSizeAt = 64;
inline constexpr size_t kPosBaseAt[4] = {68, 76, 84, 92};
inline constexpr size_t kSenseBucketOffsetAt = 100;
inline constexpr size_t kPosBucketOffsetAt[4] = {108, 116, 124, 132};
inline constexpr size_t kSenseBucketCountAt = 140;
inline constexpr size_t kPosBucketCountAt[4] = {144, 148, 152, 156};

// Tag file "1001T.dat": header fields and block limits.
inline constexpr size_t kTagHeaderSize = 65564;
inline constexpr uint32_t kMaxTagBlocks = 8192;
inline constexpr size_t kTagBlockCountAt = 4;
inline constexpr size_t kTagHighestAt = 8;
inline constexpr size_t kTagEndAt = 32776;
inline constexpr size_t kTagStartsAt = 32780;
inline constexpr size_t kTagDigestAt = 65548;
inline constexpr size_t kMaxTagBlockBytes = 2048;
inline constexpr size_t kMaxTagBlockDecoded = 3072;
inline constexpr size_t kMaxTagText = 1027;

// Word index "1001W.dat": decoded header size, identifier digits, identifiers per bucket.
inline constexpr size_t kWordIndexHeaderSize = 32;
inline constexpr size_t kWordIndexCountAt = 12;
inline constexpr size_t kIdDigits = 6;
inline constexpr uint32_t kIdsPerBucket = 100;

// Anagram word list "1001A.dat": magic, digest of everything after the header.
inline constexpr uint32_t kAnagramFileMagic = 0x094FB622;
inline constexpr size_t kAnagramHeaderSize = 32;
inline constexpr size_t kAnagramDigestAt = 16;

// Irregular forms "1001E.dat": header (magic, format version, record count, body size, MD5 of
// the body), then the records back to back, sorted by form and part of speech: u8 part of
// speech, u8 base count n, the form and NUL, n base forms each with its NUL.
inline constexpr uint32_t kFormsFileMagic = 0x1001E0F5;
inline constexpr uint32_t kFormsFileVersion = 1;
inline constexpr size_t kFormsHeaderSize = 32;
inline constexpr size_t kFormsVersionAt = 4;
inline constexpr size_t kFormsCountAt = 8;
inline constexpr size_t kFormsBodySizeAt = 12;
inline constexpr size_t kFormsDigestAt = 16;
inline constexpr size_t kMaxFormBases = 255;

}  // namespace nymdex
