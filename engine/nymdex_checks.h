// Consistency checks of the lexical engine's data that the file digests do not cover: the
// synset file's header fields, the tag file's header, and the word index's own digest. Each
// returns false for damage; the start-up turns that into the status code of its step.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/md5.h"

struct NymdexEngine;

namespace nymdex {

struct TagHeader;

// The digest the compiler stores in the decoded word index: MD5 of the decoded bytes without
// the 16 bytes that hold it. `length` is at least the decoded header's size.
engine::Digest WordIndexDigest(const uint8_t* decoded, size_t length);

// The decoded word index (header and entries): its digest matches when it carries the
// marker; without it, the entries are well formed, ascending and as many as the header says.
bool WordIndexHolds(const uint8_t* decoded, size_t length);

// The tag file's header against itself and the file's size: a block count of 1 to 8,192,
// highest identifiers and block starts ascending, the offset table before the first block,
// every block of a length a stream can have, the last one ending inside the file.
bool TagHeaderHolds(const TagHeader& header, uint64_t file_size);

// The part-of-speech indexes as read: records that tile each section in ascending identifier
// order, bucket tables that point at the records they name and cover the last one, synset
// offsets that stay inside the file, and each part of speech's first word found in its own
// synsets (a base moved by damage points elsewhere).
bool IndexesHold(const NymdexEngine* engine);

// The sense lists as read: records that tile the section in ascending identifier order with
// part-of-speech codes 1 to 4, a bucket table that points at them, and for every word as
// many entries of each part of speech as its index record there holds synsets. The indexes
// must have passed IndexesHold.
bool SenseListsHold(const NymdexEngine* engine);

// MD5 of the short last chunk of a file image: the bytes after the last complete digest
// chunk that follows `header_size`.
engine::Digest TailDigest(const uint8_t* image, size_t size, size_t header_size);

// The short last chunks of the synset and tag files against the digests their headers hold
// behind the marker (true without it): the synset file as the engine maps it, the tag file's
// `size` bytes at `image`, whose header has been read into the engine.
bool SynsetTailHolds(const NymdexEngine* engine);
bool TagTailHolds(const NymdexEngine* engine, const uint8_t* image, uint64_t size);

// True when the synset record at `position` of the synset file names word `id`.
bool SynsetHoldsWord(const NymdexEngine* engine, uint64_t position, uint32_t id);

}  // namespace nymdex
