// Layouts of the files in Data/ that the engines read and the data compiler writes: byte
// offsets of header fields, section and record sizes, and the limits of the formats.
// All integers in the files are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/md5.h"

namespace nymdex {

// Synset file "1001L.dat": header fields. The header is followed by the four part-of-speech
// indexes, the sense lists, their bucket tables, and the synsets grouped by part of speech.
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

// A part-of-speech index record: u32 word identifier, u8 count, then the word's synset offsets
// (u32 each, relative to the part of speech's base) in sense order.
inline constexpr size_t kOffsetRecordHeadSize = 5;
inline constexpr size_t kOffsetRecordCountAt = 4;
inline constexpr size_t kSynsetOffsetSize = 4;

// A sense-list record: u32 word identifier, u32 sense count, then one entry per sense: the
// part-of-speech code and the frequency, a byte each.
inline constexpr size_t kSenseRecordHeadSize = 8;
inline constexpr size_t kSenseRecordCountAt = 4;
inline constexpr size_t kSenseEntrySize = 2;
inline constexpr uint32_t kMaxFrequency = 255;  // a byte; higher tag counts are capped

// A synset record: u8 word count, a u32 word identifier per word, u16 pointer count, the
// pointers, then the u32 tag identifier. A pointer: u8 type, u32 target offset, u8 target part
// of speech.
inline constexpr size_t kSynsetWordSize = 4;
inline constexpr size_t kPointerSize = 6;
inline constexpr size_t kTagIdSize = 4;
inline constexpr size_t kSynsetRecordFixedSize = 1 + 2 + kTagIdSize;  // counts and tag identifier

// Pointer types by the part of speech of the synset they leave: nouns 1 to 17, verbs 18 to 28,
// adjectives 29 to 37, adverbs 38 to 42.
inline constexpr uint8_t kFirstPointerType[4] = {1, 18, 29, 38};
inline constexpr uint8_t kLastPointerType[4] = {17, 28, 37, 42};
inline constexpr uint8_t kMaxPointerType = 42;

// Limits of the counts the records hold.
inline constexpr size_t kMaxSynsetWords = 255;
inline constexpr size_t kMaxSensesPerPos = 255;
inline constexpr size_t kMaxPointers = 65535;

// The file digests of the synset and tag files skip a short last chunk; the compiler seals it
// as well: behind the marker, the MD5 of the bytes after the last complete chunk. The synset
// file keeps marker and digest in reserved header bytes; the tag file keeps the marker in its
// reserved first field and the digest in the last four highest-identifier slots, which a file
// of at most 8,188 blocks leaves unused. A file without the marker is read as before.
inline constexpr uint32_t kTailDigestMarker = 0x4C544256;  // "VBTL"
inline constexpr size_t kSynsetTailMarkerAt = 0;
inline constexpr size_t kSynsetTailDigestAt = 160;
inline constexpr size_t kTagTailMarkerAt = 0;

// Tag file "1001T.dat": header fields and block limits.
inline constexpr size_t kTagHeaderSize = 65564;
inline constexpr uint32_t kMaxTagBlocks = 8192;
inline constexpr size_t kTagBlockCountAt = 4;
inline constexpr size_t kTagHighestAt = 8;
inline constexpr size_t kTagEndAt = 32776;
inline constexpr size_t kTagStartsAt = 32780;
inline constexpr size_t kTagDigestAt = 65548;
inline constexpr uint32_t kMaxTagBlocksWithTailDigest = kMaxTagBlocks - 4;
inline constexpr size_t kTagTailDigestAt = kTagHighestAt + 4 * kMaxTagBlocksWithTailDigest;
inline constexpr size_t kMaxTagBlockBytes = 2048;
inline constexpr size_t kMaxTagBlockDecoded = 3072;
inline constexpr size_t kMaxTagText = 1027;
// After the header, one u32 offset per tag identifier: where its text starts in the decoded
// block.
inline constexpr size_t kTagOffsetSize = 4;

// Word index "1001W.dat", decoded: a header, then one entry per word: the word, its NUL and
// its identifier as six decimal digits.
inline constexpr size_t kWordIndexHeaderSize = 32;
inline constexpr size_t kWordIndexCountAt = 12;
inline constexpr size_t kIdDigits = 6;
inline constexpr size_t kEntrySuffixSize = 1 + kIdDigits;  // the NUL and the digits
inline constexpr size_t kMaxWords = 1000000;               // identifiers 0 to 999,999
inline constexpr uint32_t kIdsPerBucket = 100;  // a bucket table entry per 100 identifiers
// The compiler seals the decoded word index: behind the marker (decoded bytes 0 to 3), the MD5
// of the decoded content without the digest's own 16 bytes. An index without the marker is
// read as before.
inline constexpr size_t kWordIndexMarkerAt = 0;
inline constexpr uint32_t kWordIndexMarker = 0x44574256;  // "VBWD"
inline constexpr size_t kWordIndexDigestAt = 16;
inline constexpr size_t kWordIndexDigestSize = 16;
// After the stream's code bits the compiler stores the decoder's state at this many equal
// shares of the decoded index (engine/arith_resume.h); a file without them decodes as one chain.
inline constexpr size_t kWordIndexResumePoints = 3;

// Anagram word list "1001A.dat": magic, digest of everything after the header, then each word
// with its NUL.
inline constexpr uint32_t kAnagramFileMagic = 0x094FB622;
inline constexpr size_t kAnagramHeaderSize = 32;
inline constexpr size_t kAnagramDigestAt = 16;
// The digest skips a short last chunk, so the compiler also writes what the list holds: behind
// the marker, the length of everything after the header and the number of words (NULs). A
// file without the marker is read as before.
inline constexpr size_t kAnagramCountsMarkerAt = 4;
inline constexpr uint32_t kAnagramCountsMarker = 0x43414256;  // "VBAC"
inline constexpr size_t kAnagramBodyLengthAt = 8;
inline constexpr size_t kAnagramWordCountAt = 12;
inline constexpr size_t kMaxAnagramWordLength = 127;  // a longer word ends the list
// The compiler seals the list's short last chunk too: after the list (and outside the body
// length), the marker kTailDigestMarker and the MD5 of the file's bytes from the start of its
// short last chunk up to that MD5, the marker included. A file whose rest after the list is
// empty is read as before.
inline constexpr size_t kAnagramSealSize = 4 + 16;
// Where the bytes the seal covers start in a sealed file of `file_size` bytes.
inline constexpr uint64_t AnagramSealedFrom(uint64_t file_size) {
  const uint64_t tail = file_size - (file_size - kAnagramHeaderSize) % engine::kFileDigestChunk;
  const uint64_t digest_at = file_size - 16;
  return tail < digest_at ? tail : digest_at;
}

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
