// Writes the engine's three data files, the anagram word list, and files on disk.
#include "tools/datafile_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "engine/arith_coder.h"
#include "engine/arith_resume.h"
#include "engine/data_format.h"
#include "engine/little_endian.h"
#include "engine/md5.h"
#include "engine/nymdex.h"
#include "engine/nymdex_checks.h"
#include "engine/text_helpers.h"

namespace datafiles {
namespace {

using namespace nymdex;  // the file layouts

constexpr const char* kPosName[4] = {"noun", "verb", "adjective", "adverb"};

void PutU32(std::vector<uint8_t>* out, size_t at, uint32_t value) {
  engine::StoreU32(out->data() + at, value);
}

void AppendU32(std::vector<uint8_t>* out, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void AppendU16(std::vector<uint8_t>* out, uint16_t value) {
  out->push_back(static_cast<uint8_t>(value));
  out->push_back(static_cast<uint8_t>(value >> 8));
}

bool Fail(std::string* error, const std::string& message) {
  if (error != nullptr) *error = message;
  return false;
}

std::string Quoted(std::string_view text) {
  constexpr size_t kShown = 40;
  std::string shown(text.substr(0, kShown));
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  return "\"" + shown + (text.size() > kShown ? "...\"" : "\"");
}

// The file digest of an image: MD5 over the MD5s of the complete chunks after `start`.
void Seal(std::vector<uint8_t>* image, size_t header_size, size_t digest_at) {
  if (image->size() < header_size) return;
  engine::Digest digest =
      engine::ChunkedDigest(image->data() + header_size, image->size() - header_size);
  std::copy(digest.begin(), digest.end(), image->begin() + static_cast<ptrdiff_t>(digest_at));
}

// Seals the short last chunk as well, behind the marker, with the digest at `digest_at`.
void SealTail(std::vector<uint8_t>* image, size_t header_size, size_t marker_at, size_t digest_at) {
  if (image->size() < header_size) return;
  PutU32(image, marker_at, kTailDigestMarker);
  engine::Digest digest = TailDigest(image->data(), image->size(), header_size);
  std::copy(digest.begin(), digest.end(), image->begin() + static_cast<ptrdiff_t>(digest_at));
}

void SealSynsets(std::vector<uint8_t>* image) {
  SealTail(image, kSynsetHeaderSize, kSynsetTailMarkerAt, kSynsetTailDigestAt);
  Seal(image, kSynsetHeaderSize, kSynsetDigestAt);
}

// The tail digest's slots are free only in a file of at most kMaxTagBlocksWithTailDigest
// blocks; a larger one goes without.
void SealTags(std::vector<uint8_t>* image) {
  if (image->size() >= kTagHeaderSize &&
      engine::LoadU32(image->data() + kTagBlockCountAt) <= kMaxTagBlocksWithTailDigest)
    SealTail(image, kTagHeaderSize, kTagTailMarkerAt, kTagTailDigestAt);
  Seal(image, kTagHeaderSize, kTagDigestAt);
}

bool CheckSynset(const Lexicon& lexicon, size_t s, std::string* error) {
  const SynsetSpec& synset = lexicon.synsets[s];
  std::string name = "synset " + std::to_string(s);
  if (synset.pos < 1 || synset.pos > 4)
    return Fail(error, name + " has part-of-speech code " + std::to_string(synset.pos));
  if (synset.words.size() > kMaxSynsetWords)
    return Fail(error, "words per synset limit: " + name + " has " +
                           std::to_string(synset.words.size()) + " words, at most " +
                           GroupedNumber(kMaxSynsetWords));
  for (uint32_t id : synset.words) {
    if (id >= lexicon.words.size())
      return Fail(error, name + " names word " + std::to_string(id) + ", which does not exist");
  }
  if (synset.pointers.size() > kMaxPointers)
    return Fail(error, "pointer count limit: " + name + " has " +
                           std::to_string(synset.pointers.size()) + " pointers, at most " +
                           GroupedNumber(kMaxPointers));
  for (const PointerSpec& pointer : synset.pointers) {
    if (pointer.type < kFirstPointerType[synset.pos - 1] ||
        pointer.type > kLastPointerType[synset.pos - 1])
      return Fail(error, name + " has pointer type " + std::to_string(pointer.type) +
                             ", which is not a " + kPosName[synset.pos - 1] + " pointer type");
    if (pointer.target >= lexicon.synsets.size())
      return Fail(error, name + " points to synset " + std::to_string(pointer.target) +
                             ", which does not exist");
  }
  if (synset.gloss.size() > kMaxTagText)
    return Fail(error, "tag text limit: the gloss of " + name + " has " +
                           std::to_string(synset.gloss.size()) + " bytes, at most " +
                           GroupedNumber(kMaxTagText));
  if (synset.gloss.find('\0') != std::string::npos)
    return Fail(error, "the gloss of " + name + " holds a NUL byte");
  return true;
}

bool CheckWord(const Lexicon& lexicon, size_t i, std::string* error) {
  const auto& words = lexicon.words;
  const std::string& text = words[i].text;
  if (text.empty()) return Fail(error, "word " + std::to_string(i) + " is empty");
  if (text.size() > kMaxWordLength)
    return Fail(error, "word length limit: word " + std::to_string(i) + " " + Quoted(text) +
                           " has " + std::to_string(text.size()) + " bytes, at most " +
                           GroupedNumber(kMaxWordLength));
  if (text.find('\0') != std::string::npos)
    return Fail(error, "word " + std::to_string(i) + " " + Quoted(text) + " holds a NUL byte");
  // The order of the word index: bytes after mapping A-Z onto a-z, a prefix first.
  if (i > 0 && engine::CompareIgnoringAsciiCase(words[i - 1].text, text) >= 0)
    return Fail(error, "word order: " + Quoted(words[i - 1].text) + " (word " +
                           std::to_string(i - 1) + ") must sort before " + Quoted(text) +
                           " case-insensitively, and keys must be unique");
  for (int pos = 0; pos < 4; ++pos) {
    const auto& senses = words[i].senses[pos];
    if (senses.size() > kMaxSensesPerPos)
      return Fail(error, "senses per part of speech limit: word " + Quoted(text) + " has " +
                             std::to_string(senses.size()) + " " + kPosName[pos] +
                             " senses, at most " + GroupedNumber(kMaxSensesPerPos));
    for (const SenseSpec& sense : senses) {
      if (sense.synset >= lexicon.synsets.size())
        return Fail(error, "word " + Quoted(text) + " names synset " +
                               std::to_string(sense.synset) + ", which does not exist");
      if (lexicon.synsets[sense.synset].pos != pos + 1)
        return Fail(error, "word " + Quoted(text) + " lists synset " +
                               std::to_string(sense.synset) + " among its " + kPosName[pos] +
                               " senses, but the synset is not a " + kPosName[pos]);
    }
  }
  return true;
}

// Every check of the formats' limits and of the lexicon's own references, before anything is
// written: the word count, each synset, each word, then that every part-of-speech index will
// hold a record.
bool CheckLexicon(const Lexicon& lexicon, std::string* error) {
  const auto& words = lexicon.words;
  if (words.empty()) return Fail(error, "the lexicon has no words (word 0 is the sentinel)");
  if (words.size() > kMaxWords)
    return Fail(error, "word identifier limit: " + std::to_string(words.size()) +
                           " words, identifiers end at " + GroupedNumber(kMaxWords - 1));
  for (size_t s = 0; s < lexicon.synsets.size(); ++s) {
    if (!CheckSynset(lexicon, s, error)) return false;
  }
  for (size_t i = 0; i < words.size(); ++i) {
    if (!CheckWord(lexicon, i, error)) return false;
  }
  for (int pos = 0; pos < 4; ++pos) {
    bool any = std::any_of(words.begin(), words.end(),
                           [pos](const WordSpec& w) { return !w.senses[pos].empty(); });
    if (!any)
      return Fail(error, std::string("part-of-speech index size: no word has a ") + kPosName[pos] +
                             " sense, and every part-of-speech index must hold a record");
  }
  return true;
}

// Bucket table over records of ascending identifiers: entry b is the offset of the first
// record whose identifier is at least 100 x b; there are (last identifier / 100) + 1 entries.
std::vector<uint32_t> BucketTable(const std::vector<std::pair<uint32_t, uint32_t>>& records) {
  std::vector<uint32_t> table;
  if (records.empty()) return table;
  uint32_t count = records.back().first / kIdsPerBucket + 1;
  table.resize(count);
  size_t r = 0;
  for (uint32_t b = 0; b < count; ++b) {
    while (records[r].first < b * kIdsPerBucket)
      ++r;
    table[b] = records[r].second;
  }
  return table;
}

void AppendTable(std::vector<uint8_t>* out, const std::vector<uint32_t>& table) {
  for (uint32_t value : table)
    AppendU32(out, value);
}

// Where each synset's record lies: synset records are grouped by part of speech, and their
// offsets are relative to the group's base. Also each group's size.
bool LayOutSynsets(const std::vector<SynsetSpec>& synsets, std::vector<uint32_t>* relative,
                   uint64_t group_size[4], std::string* error) {
  relative->resize(synsets.size());
  for (size_t s = 0; s < synsets.size(); ++s) {
    const SynsetSpec& synset = synsets[s];
    uint64_t& size = group_size[synset.pos - 1];
    if (size > UINT32_MAX) return Fail(error, "synset file size limit: offsets exceed 4 GiB");
    (*relative)[s] = static_cast<uint32_t>(size);
    size += kSynsetRecordFixedSize + kSynsetWordSize * synset.words.size() +
            kPointerSize * synset.pointers.size();
  }
  return true;
}

// The part-of-speech indexes and the sense lists, each with the bucket table over its records.
struct WordSections {
  std::vector<uint8_t> indexes[4];
  std::vector<uint32_t> index_buckets[4];
  std::vector<uint8_t> sense_lists;
  std::vector<uint32_t> sense_buckets;
};

WordSections BuildWordSections(const std::vector<WordSpec>& words,
                               const std::vector<uint32_t>& relative) {
  WordSections sections;
  // Each record's identifier and offset, for the bucket tables.
  std::vector<std::pair<uint32_t, uint32_t>> index_records[4];
  std::vector<std::pair<uint32_t, uint32_t>> sense_records;
  sense_records.reserve(words.size());
  for (uint32_t id = 0; id < words.size(); ++id) {
    const WordSpec& word = words[id];
    size_t count = 0;
    for (int pos = 0; pos < 4; ++pos) {
      const auto& senses = word.senses[pos];
      std::vector<uint8_t>& index = sections.indexes[pos];
      count += senses.size();
      if (senses.empty()) continue;
      index_records[pos].emplace_back(id, static_cast<uint32_t>(index.size()));
      AppendU32(&index, id);
      index.push_back(static_cast<uint8_t>(senses.size()));
      for (const SenseSpec& sense : senses)
        AppendU32(&index, relative[sense.synset]);
    }
    std::vector<uint8_t>& lists = sections.sense_lists;
    sense_records.emplace_back(id, static_cast<uint32_t>(lists.size()));
    AppendU32(&lists, id);
    AppendU32(&lists, static_cast<uint32_t>(count));
    for (int pos = 0; pos < 4; ++pos) {
      for (const SenseSpec& sense : word.senses[pos]) {
        lists.push_back(static_cast<uint8_t>(pos + 1));
        lists.push_back(sense.frequency);
      }
    }
  }
  sections.sense_buckets = BucketTable(sense_records);
  for (int pos = 0; pos < 4; ++pos)
    sections.index_buckets[pos] = BucketTable(index_records[pos]);
  return sections;
}

// Appends the records of the synsets of part of speech `pos`, in their order.
void AppendSynsets(const std::vector<SynsetSpec>& synsets, uint8_t pos,
                   const std::vector<uint32_t>& relative, std::vector<uint8_t>* file) {
  for (size_t s = 0; s < synsets.size(); ++s) {
    const SynsetSpec& synset = synsets[s];
    if (synset.pos != pos) continue;
    file->push_back(static_cast<uint8_t>(synset.words.size()));
    for (uint32_t id : synset.words)
      AppendU32(file, id);
    AppendU16(file, static_cast<uint16_t>(synset.pointers.size()));
    for (const PointerSpec& pointer : synset.pointers) {
      file->push_back(pointer.type);
      AppendU32(file, relative[pointer.target]);
      file->push_back(synsets[pointer.target].pos);
    }
    AppendU32(file, static_cast<uint32_t>(s));  // the tag identifier is the synset's number
  }
}

// The header, the four indexes, the sense lists, the five bucket tables, then the synsets.
bool BuildSynsetFile(const Lexicon& lexicon, std::vector<uint8_t>* out, std::string* error) {
  std::vector<uint32_t> relative;
  uint64_t group_size[4] = {};
  if (!LayOutSynsets(lexicon.synsets, &relative, group_size, error)) return false;
  const WordSections sections = BuildWordSections(lexicon.words, relative);

  uint64_t total =
      kSynsetHeaderSize + sections.sense_lists.size() + 4 * sections.sense_buckets.size();
  for (int pos = 0; pos < 4; ++pos) {
    total +=
        sections.indexes[pos].size() + 4 * sections.index_buckets[pos].size() + group_size[pos];
  }
  if (total > UINT32_MAX) return Fail(error, "synset file size limit: offsets exceed 4 GiB");

  std::vector<uint8_t>& file = *out;
  file.assign(kSynsetHeaderSize, 0);
  file.reserve(total);
  for (int pos = 0; pos < 4; ++pos) {
    PutU32(&file, kPosIndexSizeAt[pos], static_cast<uint32_t>(sections.indexes[pos].size()));
    file.insert(file.end(), sections.indexes[pos].begin(), sections.indexes[pos].end());
  }
  PutU32(&file, kSenseListOffsetAt, static_cast<uint32_t>(file.size()));
  PutU32(&file, kSenseListSizeAt, static_cast<uint32_t>(sections.sense_lists.size()));
  file.insert(file.end(), sections.sense_lists.begin(), sections.sense_lists.end());
  PutU32(&file, kSenseBucketOffsetAt, static_cast<uint32_t>(file.size()));
  PutU32(&file, kSenseBucketCountAt, static_cast<uint32_t>(sections.sense_buckets.size()));
  AppendTable(&file, sections.sense_buckets);
  for (int pos = 0; pos < 4; ++pos) {
    PutU32(&file, kPosBucketOffsetAt[pos], static_cast<uint32_t>(file.size()));
    PutU32(&file, kPosBucketCountAt[pos],
           static_cast<uint32_t>(sections.index_buckets[pos].size()));
    AppendTable(&file, sections.index_buckets[pos]);
  }
  for (int pos = 0; pos < 4; ++pos) {
    PutU32(&file, kPosBaseAt[pos], static_cast<uint32_t>(file.size()));
    AppendSynsets(lexicon.synsets, static_cast<uint8_t>(pos + 1), relative, &file);
  }
  SealSynsets(&file);
  return true;
}

bool BuildWordIndex(const Lexicon& lexicon, DataFileImages* images, std::string* error) {
  size_t length = kWordIndexHeaderSize;
  for (const WordSpec& word : lexicon.words)
    length += word.text.size() + kEntrySuffixSize;
  std::vector<uint8_t> decoded(kWordIndexHeaderSize, 0);
  decoded.reserve(length);
  PutU32(&decoded, kWordIndexCountAt, static_cast<uint32_t>(lexicon.words.size()));
  char digits[kIdDigits + 1];
  for (size_t id = 0; id < lexicon.words.size(); ++id) {
    const std::string& text = lexicon.words[id].text;
    decoded.insert(decoded.end(), text.begin(), text.end());
    decoded.push_back(0);
    std::snprintf(digits, sizeof(digits), "%0*u", static_cast<int>(kIdDigits),
                  static_cast<unsigned>(id));
    decoded.insert(decoded.end(), digits, digits + kIdDigits);
  }
  PutU32(&decoded, kWordIndexMarkerAt, kWordIndexMarker);
  const engine::Digest digest = WordIndexDigest(decoded.data(), decoded.size());
  std::copy(digest.begin(), digest.end(), decoded.begin() + kWordIndexDigestAt);
  images->word_index = engine::ArithEncode(decoded.data(), decoded.size());
  images->word_index_decoded = decoded.size();
  // Resume points at equal shares of the output, so that the start-up decodes the shares side
  // by side; the decode checks each against the state it reaches there.
  std::vector<uint32_t> shares;
  for (size_t k = 1; k <= kWordIndexResumePoints; ++k)
    shares.push_back(static_cast<uint32_t>(decoded.size() * k / (kWordIndexResumePoints + 1)));
  std::vector<engine::ResumePoint> points;
  if (engine::ArithResumePoints(images->word_index.data(), images->word_index.size(), shares,
                                &points))
    engine::AppendResumeTrailer(points, &images->word_index);
  // The engine decodes into a buffer of twice the file's size.
  if (decoded.size() > 2 * images->word_index.size())
    return Fail(error, "word index decoded length limit: " + std::to_string(decoded.size()) +
                           " decoded bytes exceed twice the " +
                           std::to_string(images->word_index.size()) + " compressed bytes");
  return true;
}

// Expected size of a block encoded with the coder's own table, slightly on the high side.
size_t EstimateEncoded(const std::vector<uint8_t>& block) {
  uint8_t table[256];
  engine::ScaleFrequencies(block.data(), block.size(), table);
  size_t counts[256] = {};
  for (uint8_t byte : block)
    ++counts[byte];
  double total = 0;
  for (int s = 0; s < 256; ++s)
    total += table[s];
  double bits = 0;
  for (int s = 0; s < 256; ++s) {
    if (counts[s] != 0) bits += static_cast<double>(counts[s]) * std::log2(total / table[s]);
  }
  return engine::kStreamHeadSize + static_cast<size_t>(bits * 1.01 / 8) + 4;
}

bool BuildTagFile(const Lexicon& lexicon, DataFileImages* images, std::string* error) {
  const auto& synsets = lexicon.synsets;
  const size_t tag_count = synsets.size();
  std::vector<uint32_t> text_offsets(tag_count);
  std::vector<std::vector<uint8_t>> blocks;
  std::vector<uint32_t> highest;

  std::vector<uint8_t> decoded;
  decoded.reserve(kMaxTagBlockDecoded);
  size_t first = 0;
  while (first < tag_count) {
    // As many texts as fit the decoded limit, then fewer until the stream fits its limit.
    size_t end = first;
    size_t size = 0;
    while (end < tag_count && size + synsets[end].gloss.size() + 1 <= kMaxTagBlockDecoded)
      size += synsets[end++].gloss.size() + 1;
    auto fill = [&](size_t stop) {
      decoded.clear();
      for (size_t t = first; t < stop; ++t) {
        text_offsets[t] = static_cast<uint32_t>(decoded.size());
        decoded.insert(decoded.end(), synsets[t].gloss.begin(), synsets[t].gloss.end());
        decoded.push_back(0);
      }
    };
    fill(end);
    while (end > first + 1 && EstimateEncoded(decoded) > kMaxTagBlockBytes)
      fill(--end);
    std::vector<uint8_t> encoded = engine::ArithEncode(decoded.data(), decoded.size());
    while (encoded.size() > kMaxTagBlockBytes) {
      if (end == first + 1)
        return Fail(error, "tag block limit: the gloss of synset " + std::to_string(first) +
                               " compresses to more than " + GroupedNumber(kMaxTagBlockBytes) +
                               " bytes");
      fill(--end);
      encoded = engine::ArithEncode(decoded.data(), decoded.size());
    }
    if (blocks.size() == kMaxTagBlocks)
      return Fail(error, "tag block count limit: the glosses need more than " +
                             GroupedNumber(kMaxTagBlocks) + " blocks");
    blocks.push_back(std::move(encoded));
    highest.push_back(static_cast<uint32_t>(end - 1));
    first = end;
  }

  uint64_t total = kTagHeaderSize + kTagOffsetSize * uint64_t{tag_count};
  for (const auto& block : blocks)
    total += block.size();
  if (total > UINT32_MAX) return Fail(error, "tag file size limit: offsets exceed 4 GiB");

  std::vector<uint8_t>& file = images->tags;
  file.assign(kTagHeaderSize, 0);
  file.reserve(total);
  PutU32(&file, kTagBlockCountAt, static_cast<uint32_t>(blocks.size()));
  for (uint32_t offset : text_offsets)
    AppendU32(&file, offset);
  for (size_t b = 0; b < blocks.size(); ++b) {
    PutU32(&file, kTagHighestAt + 4 * b, highest[b]);
    PutU32(&file, kTagStartsAt + 4 * b, static_cast<uint32_t>(file.size()));
    file.insert(file.end(), blocks[b].begin(), blocks[b].end());
  }
  PutU32(&file, kTagEndAt, static_cast<uint32_t>(file.size()));
  images->tag_blocks = static_cast<uint32_t>(blocks.size());
  SealTags(&file);
  return true;
}

}  // namespace

std::string GroupedNumber(uint64_t value) {
  const std::string digits = std::to_string(value);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back(',');
    grouped.push_back(digits[i]);
  }
  return grouped;
}

bool BuildDataFiles(const Lexicon& lexicon, DataFileImages* images, std::string* error) {
  if (images == nullptr) return Fail(error, "no place for the data files");
  if (!CheckLexicon(lexicon, error)) return false;
  DataFileImages result;
  if (!BuildSynsetFile(lexicon, &result.synsets, error)) return false;
  if (!BuildWordIndex(lexicon, &result, error)) return false;
  if (!BuildTagFile(lexicon, &result, error)) return false;
  *images = std::move(result);
  return true;
}

void SealSynsetFile(std::vector<uint8_t>* synsets) {
  if (synsets != nullptr) SealSynsets(synsets);
}

void SealTagFile(std::vector<uint8_t>* tags) {
  if (tags != nullptr) SealTags(tags);
}

std::vector<uint8_t> BuildAnagramFile(const std::vector<std::string>& words) {
  std::vector<uint8_t> file(kAnagramHeaderSize, 0);
  PutU32(&file, 0, kAnagramFileMagic);
  for (const std::string& word : words) {
    file.insert(file.end(), word.begin(), word.end());
    file.push_back(0);
  }
  PutU32(&file, kAnagramCountsMarkerAt, kAnagramCountsMarker);
  PutU32(&file, kAnagramBodyLengthAt, static_cast<uint32_t>(file.size() - kAnagramHeaderSize));
  PutU32(&file, kAnagramWordCountAt, static_cast<uint32_t>(words.size()));
  const size_t marker_at = file.size();
  file.resize(file.size() + kAnagramSealSize);
  PutU32(&file, marker_at, kTailDigestMarker);
  const size_t sealed_from = static_cast<size_t>(AnagramSealedFrom(file.size()));
  const engine::Digest tail =
      engine::Md5Bytes(file.data() + sealed_from, file.size() - 16 - sealed_from);
  std::copy(tail.begin(), tail.end(), file.end() - 16);
  Seal(&file, kAnagramHeaderSize, kAnagramDigestAt);
  return file;
}

bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string* error) {
  std::string temp = path + ".XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0)
    return Fail(error, "cannot create a file beside " + path + ": " + std::strerror(errno));
  auto abandon = [&](const char* what) {
    std::string message = std::string("cannot ") + what + " " + temp + ": " + std::strerror(errno);
    ::close(fd);
    ::unlink(temp.c_str());
    return Fail(error, message);
  };
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0) {
      if (errno == EINTR) continue;
      return abandon("write");
    }
    done += static_cast<size_t>(wrote);
  }
  if (::fchmod(fd, 0644) != 0) return abandon("set the mode of");
  if (::fsync(fd) != 0) return abandon("flush");
  if (::close(fd) != 0) {
    ::unlink(temp.c_str());
    return Fail(error, "cannot close " + temp + ": " + std::strerror(errno));
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    std::string message = "cannot rename " + temp + " to " + path + ": " + std::strerror(errno);
    ::unlink(temp.c_str());
    return Fail(error, message);
  }
  // Make the rename itself durable.
  std::string folder = std::filesystem::path(path).parent_path().string();
  int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace datafiles
