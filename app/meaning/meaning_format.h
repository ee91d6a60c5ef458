// Layout of "1001S.dat", the index of the search by meaning, shared by the data compiler that
// writes it and the search that reads it. All integers are little-endian.
//
// Header (kMeaningHeaderSize bytes), then five sections at the offsets the header gives:
// - terms: one 12-byte entry per term, sorted by the term's bytes: u32 offset of the term's
//   text in the strings section, u32 offset of its postings in the postings section (they end
//   where the next term's begin, the last term's at the section's end), u32 the number of
//   senses it occurs in (its document frequency);
// - strings: the terms' texts, each ended by a NUL;
// - postings: per term, its senses in ascending order, each a varint (the first sense's number,
//   then the distance from the previous one) and a u8: the sense's BM25F score for the term
//   divided by the header's impact step in the low seven bits (kImpactMask), and in the high
//   bit (kInDefinition) whether the term is one of the sense's definition;
// - senses: for each of the N senses (in the order noun, verb, adjective, adverb, each in the
//   order of the synset file) a u32 index of its first word entry, one more entry holding the
//   number of word entries, then N u8 part-of-speech codes, then N u8 numbers of distinct
//   terms in the sense's definition (at most 255);
// - words: one u32 per (sense, word): the word's identifier in the low 20 bits, the sense's
//   number among that word's senses (as Nymdex_GetTags lists them) in the high 12; then as
//   many u8 sense frequencies;
// - relatives: for each term a u32 index of its first relative, one more entry holding the
//   number of relatives, then the relatives' term numbers (u32 each): the other words of the
//   senses a word is most used in (kid: child) and the words derived from them or they from
//   (wool: woolly), which a search adds to its terms at a lower weight.
// Real numbers are stored as u32 multiples of kMeaningFixedPoint. The digest seals the whole
// file but itself: it is the MD5 of the MD5 of the header's bytes after the digest, then of the
// MD5s of the 512 KiB chunks after the header, the last short chunk included. The ranking
// parameters and the section offsets are in the header, so a changed byte there fails the
// check like one in a section.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/md5.h"

namespace meaning {

inline constexpr uint32_t kMeaningMagic = 0x5342454D;  // "MEBS" read as bytes
inline constexpr uint32_t kMeaningVersion = 2;         // 2: the digest covers the header
inline constexpr size_t kMeaningHeaderSize = 192;
inline constexpr double kMeaningFixedPoint = 1e-6;

// Header fields.
inline constexpr size_t kMagicAt = 0;
inline constexpr size_t kVersionAt = 4;
inline constexpr size_t kDigestAt = 8;  // 16 bytes
inline constexpr size_t kSenseCountAt = 24;
inline constexpr size_t kTermCountAt = 28;
inline constexpr size_t kWordEntryCountAt = 32;
inline constexpr size_t kK1At = 36;
inline constexpr size_t kPriorAt = 40;
inline constexpr size_t kImpactStepAt = 44;
inline constexpr size_t kWeightAt = 48;         // one u32 per field
inline constexpr size_t kLengthNormAt = 72;     // b, one u32 per field
inline constexpr size_t kAverageLengthAt = 96;  // one u32 per field
inline constexpr size_t kTermsAt = 120;
inline constexpr size_t kStringsAt = 124;
inline constexpr size_t kStringsSizeAt = 128;
inline constexpr size_t kPostingsAt = 132;
inline constexpr size_t kPostingsSizeAt = 136;
inline constexpr size_t kSensesAt = 140;
inline constexpr size_t kWordsAt = 144;
inline constexpr size_t kFileSizeAt = 148;
inline constexpr size_t kRelativesAt = 152;
inline constexpr size_t kRelativeCountAt = 156;
// Bytes 160 to 191 are reserved and zero.

inline constexpr size_t kTermEntrySize = 12;
inline constexpr uint8_t kImpactMask = 0x7F;
inline constexpr uint8_t kInDefinition = 0x80;
inline constexpr uint32_t kWordIdBits = 20;
inline constexpr uint32_t kWordIdMask = (1u << kWordIdBits) - 1;
inline constexpr uint32_t kMaxSenseNumber = (1u << (32 - kWordIdBits)) - 1;

// The digest of a whole file image of `size` bytes (at least kMeaningHeaderSize): every byte
// but the digest's own.
engine::Digest MeaningDigest(const uint8_t* file, size_t size);

// Varints: seven bits a byte, low bits first, the high bit set on every byte but the last.
void AppendVarint(std::vector<uint8_t>* out, uint32_t value);
// Reads one at `*at`, advancing it; false when it runs past `end` or beyond 32 bits.
bool ReadVarint(const uint8_t* bytes, size_t end, size_t* at, uint32_t* value);

}  // namespace meaning
