// The journal of the custom database's file changes: one small file beside the index
// ("<index>.journal"), empty while nothing is under way, and the side files ("<path>.new")
// that a replacing change writes. Internal to the custom database library.
//
// Journal layout (all integers little-endian), kJournalSize bytes:
//   0   magic "VBCJ"
//   4   u32 kind (kJournalAppend or kJournalReplace)
//   8   u64 index length: append, before it; replace, of the new index file
//   16  u64 data length: append, before it; replace, of the new data file
//   24  16 bytes: append, the index header before it; replace, the MD5 of the new index file
//   40  16 bytes: append, the MD5 of the stored record; replace, the MD5 of the new data file
//   56  append: the index entry added (kCustomIndexEntrySize bytes)
//   76  append: u64 length of the stored record (its length field and cipher text)
//   84  zero bytes up to kJournalBody
//   112 the MD5 of the 112 bytes before it
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "custom/custom_internal.h"

namespace custom {

inline constexpr uint32_t kJournalAppend = 1;
inline constexpr uint32_t kJournalReplace = 2;

inline constexpr size_t kJournalMagicAt = 0;
inline constexpr size_t kJournalKindAt = 4;
inline constexpr size_t kJournalIndexLengthAt = 8;
inline constexpr size_t kJournalDataLengthAt = 16;
inline constexpr size_t kJournalIndexDigestAt = 24;  // the old header of an append
inline constexpr size_t kJournalDataDigestAt = 40;
inline constexpr size_t kJournalEntryAt = 56;
inline constexpr size_t kJournalRecordLengthAt = 76;
inline constexpr size_t kJournalBody = 112;
inline constexpr size_t kJournalSize = kJournalBody + sizeof(engine::Digest);  // body and its MD5

struct Journal {
  uint32_t kind = 0;
  // Append: the lengths before it. Replace: the lengths of the new files.
  uint64_t index_length = 0;
  uint64_t data_length = 0;
  // Replace: the new index file's MD5.
  engine::Digest index_digest{};
  // Append: the MD5 of the stored record. Replace: the new data file's MD5.
  engine::Digest data_digest{};
  // Append only: the index header before it, the index entry added and the stored record's
  // length (4 + N).
  CustomIndexHeader old_header{};
  uint8_t entry[kCustomIndexEntrySize] = {};
  uint64_t record_length = 0;
};

std::string JournalPath(const std::string& index_path);
std::string SidePath(const std::string& path);

// Writes and syncs the journal.
bool WriteJournal(const std::string& index_path, const Journal& journal);

// Empties the journal. `durable` when a crash must not bring its content back.
bool ClearJournal(const std::string& index_path, bool durable);

enum class JournalState { kError, kEmpty, kUnreadable, kValid };

// Reads the journal of the index at `index_path`: kEmpty for none or an empty file,
// kUnreadable for one cut short while it was written, kError when it cannot be read.
JournalState ReadJournal(const std::string& index_path, Journal* journal);

// Cuts both files back to their lengths before the append and writes the old header back.
bool UndoAppend(const std::string& index_path, const std::string& data_path,
                const Journal& journal);

// Syncs the folders of both files (once when they share one).
bool SyncFolders(const std::string& index_path, const std::string& data_path);

}  // namespace custom
