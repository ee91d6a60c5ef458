// The custom database store: records, open and close, find, append, delete, replace.

#include "custom/custom_db.h"

#include <fcntl.h>

#include <algorithm>
#include <memory>
#include <new>

#include "custom/custom_internal.h"
#include "engine/text_helpers.h"

using custom::AppendOutcome;
using custom::LoadU32;
using custom::StoreU32;

namespace {

void AppendLower(std::string_view text, std::string* out) {
  for (char c : text)
    out->push_back(engine::AsciiLower(c));
}

const char* OrEmpty(const char* text) {
  return text != nullptr ? text : "";
}

// The stored form of a record: its length N, then N bytes of cipher text (the text padded with
// zero bytes to a multiple of 8).
bool EncipherRecord(const std::string& text, std::vector<uint8_t>* out) {
  if (text.size() > static_cast<size_t>(INT32_MAX) - 8) return false;
  size_t rounded = (text.size() + 7) / 8 * 8;
  out->assign(kCustomRecordLengthSize + rounded, 0);
  EncryptHandle cipher = nullptr;
  if (Encrypt_Initialize(&cipher, nullptr, 0) != kEncryptOk) return false;
  int32_t length = static_cast<int32_t>(text.size());
  uint32_t result = Encrypt(cipher, reinterpret_cast<const uint8_t*>(text.data()), length,
                            out->data() + kCustomRecordLengthSize, &length);
  Encrypt_Deinitialize(&cipher);
  if (result != kEncryptOk || static_cast<size_t>(length) != rounded) return false;
  StoreU32(out->data(), static_cast<uint32_t>(length));
  return true;
}

// Rewrites both files without the entry at `remove` (none when negative) and, when `record` is
// given, with a new entry for it at the end: one change, all or nothing. The handle follows.
bool RewriteDatabase(CustomDatabase* db, int32_t remove, const engine::Digest& key,
                     const std::vector<uint8_t>* record) {
  custom::RecordReader reader;
  if (reader.Open(db->data_path) != kCustomOk) return false;
  uint64_t size = reader.size();
  std::vector<uint8_t> data(size);
  std::vector<CustomIndexEntry> entries = db->entries;
  if (size > 0 && !custom::ReadAt(reader.fd(), data.data(), size, 0)) return false;

  if (remove >= 0) {
    uint64_t offset = entries[remove].offset;
    uint64_t removed = 0;
    // A record that lies outside the data file leaves the data alone; one that runs past the
    // end is cut off with the rest of the file.
    if (offset < size && !reader.Extent(static_cast<uint32_t>(offset), &removed)) {
      removed = size - offset;
    }
    if (removed > 0) {
      data.erase(data.begin() + static_cast<ptrdiff_t>(offset),
                 data.begin() + static_cast<ptrdiff_t>(offset + removed));
    }
    // Entries behind the removed one, by position, move down by what was removed.
    for (size_t i = remove + 1; i < entries.size(); ++i) {
      entries[i].offset -= static_cast<uint32_t>(removed);
    }
    entries.erase(entries.begin() + remove);
  }
  if (record != nullptr) {
    if (data.size() + record->size() > UINT32_MAX) return false;
    CustomIndexEntry entry;
    entry.key = key;
    entry.offset = static_cast<uint32_t>(data.size());
    data.insert(data.end(), record->begin(), record->end());
    entries.push_back(entry);
  }
  std::vector<uint8_t> index = custom::EncodeIndex(db->header, entries);
  custom::NewContent index_content{&index, {}};
  custom::NewContent data_content{&data, {}};
  if (custom::ReplaceFiles(db->index_path, db->data_path, index_content, data_content) != 0) {
    return false;
  }
  StoreU32(db->header.data() + kCustomCountAt, static_cast<uint32_t>(entries.size()));
  db->entries.swap(entries);
  return true;
}

bool PrepareRecord(int32_t type_index, const char* word, const char* definition,
                   const char* examples, const char* spare, const CustomRelationLists& related,
                   std::vector<uint8_t>* record) {
  return EncipherRecord(BuildCustomRecord(type_index, word, OrEmpty(definition), OrEmpty(examples),
                                          OrEmpty(spare), related),
                        record);
}

// The position, in the index the files hold now, of the entry that the caller saw at
// `position` in `seen`: the same position while the index still begins with what the caller saw
// (other processes only appended since); otherwise the one entry with its key, when exactly one
// entry has that key both then and now. -1 when the entry cannot be told for sure, so that a
// change never hits another entry than the one the caller chose.
int32_t CurrentPosition(const std::vector<CustomIndexEntry>& seen,
                        const std::vector<CustomIndexEntry>& now, int32_t position) {
  if (position < 0 || static_cast<size_t>(position) >= seen.size()) return -1;
  auto same = [](const CustomIndexEntry& a, const CustomIndexEntry& b) {
    return a.key == b.key && a.offset == b.offset;
  };
  if (seen.size() <= now.size() && std::equal(seen.begin(), seen.end(), now.begin(), same)) {
    return position;
  }
  const engine::Digest& key = seen[static_cast<size_t>(position)].key;
  auto has_key = [&key](const CustomIndexEntry& entry) { return entry.key == key; };
  if (std::count_if(seen.begin(), seen.end(), has_key) != 1 ||
      std::count_if(now.begin(), now.end(), has_key) != 1) {
    return -1;
  }
  return static_cast<int32_t>(std::find_if(now.begin(), now.end(), has_key) - now.begin());
}

bool AppendEntry(CustomDatabase* db, int32_t type_index, const char* word, const char* definition,
                 const char* examples, const char* spare, const CustomRelationLists& related) {
  custom::DbLock lock;
  if (custom::LockDatabase(db, custom::LockMode::kExclusive, &lock) != kCustomOk) return false;
  std::vector<uint8_t> record;
  if (!PrepareRecord(type_index, word, definition, examples, spare, related, &record)) {
    return false;
  }
  engine::Digest key = engine::Md5String(word);
  // The push_back below, after the files changed, must not need memory.
  db->entries.reserve(db->entries.size() + 1);
  uint32_t offset = 0;
  CustomIndexHeader header;
  switch (custom::AppendToFiles(db->index_path, db->data_path,
                                static_cast<uint32_t>(db->entries.size()), key, record, &offset,
                                &header)) {
    case AppendOutcome::kDone:
      db->header = header;
      db->entries.push_back(CustomIndexEntry{key, offset});
      return true;
    case AppendOutcome::kNeedsRewrite:
      // The index holds more than its count says: write it afresh rather than after the rest.
      return RewriteDatabase(db, -1, key, &record);
    case AppendOutcome::kFailed:
      break;
  }
  return false;
}

// Deletes the entry the caller saw at `position` and, with `record`, appends it: one change
// under the lock, on the files as they are.
bool ChangeEntry(CustomDatabase* db, int32_t position, const engine::Digest& key,
                 const std::vector<uint8_t>* record) {
  const std::vector<CustomIndexEntry> seen = db->entries;
  custom::DbLock lock;
  if (custom::LockDatabase(db, custom::LockMode::kExclusive, &lock) != kCustomOk) return false;
  const int32_t current = CurrentPosition(seen, db->entries, position);
  return current >= 0 && RewriteDatabase(db, current, key, record);
}

bool ReplaceEntry(CustomDatabase* db, int32_t position, int32_t type_index, const char* word,
                  const char* definition, const char* examples, const char* spare,
                  const CustomRelationLists& related) {
  if (static_cast<size_t>(position) >= db->entries.size()) return false;
  std::vector<uint8_t> record;
  return PrepareRecord(type_index, word, definition, examples, spare, related, &record) &&
         ChangeEntry(db, position, engine::Md5String(word), &record);
}

int32_t Open(CustomDatabase** handle, const char* index_path, const char* data_path) {
  custom::DbLock lock;
  if (!custom::LockFiles(index_path, data_path, custom::LockMode::kShared, false, &lock)) {
    return kCustomCannotOpen;
  }
  // Side files are written only under the exclusive lock: any seen here were never committed.
  custom::RemoveStaleSideFiles(index_path, data_path);
  auto db = std::make_unique<CustomDatabase>();
  db->index_path = index_path;
  db->data_path = data_path;
  int32_t code = custom::LoadIndex(db.get());
  if (code != kCustomOk) return code;
  if (custom::PathExists(db->data_path) != 1) return kCustomBadIndex;
  *handle = db.release();
  return kCustomOk;
}

CustomCreateResult CreateIfMissing(const char* index_path, const char* data_path) {
  custom::DbLock lock;
  if (!custom::LockFiles(index_path, data_path, custom::LockMode::kExclusive, true, &lock)) {
    return CustomCreateResult::kFailed;
  }
  int index_exists = custom::PathExists(index_path);
  int data_exists = custom::PathExists(data_path);
  if (index_exists < 0 || data_exists < 0) return CustomCreateResult::kFailed;
  if (index_exists == 1 && data_exists == 1) return CustomCreateResult::kExisting;
  if (index_exists == 1 || data_exists == 1) return CustomCreateResult::kDamaged;
  custom::RemoveStaleSideFiles(index_path, data_path);
  std::vector<uint8_t> header(kCustomHeaderSize, 0);
  std::vector<uint8_t> empty;
  custom::NewContent index{&header, {}};
  custom::NewContent data{&empty, {}};
  return custom::ReplaceFiles(index_path, data_path, index, data) == 0
             ? CustomCreateResult::kCreated
             : CustomCreateResult::kFailed;
}

}  // namespace

uint32_t CustomTypePos(std::string_view type_name) {
  for (const CustomType& type : kCustomTypes) {
    if (type_name == type.name) return type.pos;
  }
  return kCustomOtherPos;
}

int CustomTypeIndex(std::string_view type_name) {
  for (int i = 0; i < kCustomTypeCount; ++i) {
    if (type_name == kCustomTypes[i].name) return i;
  }
  return 0;
}

std::string GetRecordField(std::string_view record, int n) {
  if (n < 1) return {};
  size_t start = 0;
  for (int i = 1;; ++i) {
    size_t end = record.find('%', start);
    if (end == std::string_view::npos) return {};
    if (i == n) return std::string(record.substr(start, end - start));
    start = end + 1;
  }
}

void SplitCommaList(std::string_view field, std::vector<std::string>* words) {
  if (field.empty()) return;
  if (field.find(',') == std::string_view::npos || field.front() == ',') {
    words->emplace_back(field);
    return;
  }
  size_t start = 0;
  for (;;) {
    size_t comma = field.find(',', start);
    if (comma == std::string_view::npos) {
      if (start < field.size()) words->emplace_back(field.substr(start));
      return;
    }
    words->emplace_back(field.substr(start, comma - start));
    start = comma + 1;
  }
}

std::string BuildCustomRecord(int32_t type_index, std::string_view word,
                              std::string_view definition, std::string_view examples,
                              std::string_view spare, const CustomRelationLists& related) {
  std::string text;
  AppendLower(word, &text);
  text.push_back('%');
  for (const std::vector<std::string>& words : related) {
    size_t field_start = text.size();
    for (const std::string& related_word : words) {
      if (related_word.empty()) continue;
      AppendLower(related_word, &text);
      text.push_back(',');
    }
    while (text.size() > field_start && text.back() == ',')
      text.pop_back();
    text.push_back('%');
  }
  bool known_type = type_index >= 0 && type_index < kCustomTypeCount;
  text += kCustomTypes[known_type ? type_index : 0].name;
  text.push_back('%');
  text.append(definition);
  text.push_back('%');
  text.append(spare);
  text.push_back('%');
  text.append(examples);
  text.push_back('%');
  return text;
}

CustomCreateResult CustomDb_CreateIfMissing(const char* index_path, const char* data_path) {
  if (index_path == nullptr || data_path == nullptr) return CustomCreateResult::kFailed;
  return custom::UnlessOutOfMemory(CustomCreateResult::kFailed,
                                   [&] { return CreateIfMissing(index_path, data_path); });
}

int32_t CustomDb_Open(CustomDatabase** handle, const char* index_path, const char* data_path) {
  if (handle == nullptr || index_path == nullptr || data_path == nullptr) {
    return kCustomNullArgument;
  }
  return custom::UnlessOutOfMemory(kCustomNoMemory,
                                   [&] { return Open(handle, index_path, data_path); });
}

int32_t CustomDb_Close(CustomDatabase** handle) {
  if (handle == nullptr || *handle == nullptr) return kCustomNullHandle;
  delete *handle;
  *handle = nullptr;
  return kCustomOk;
}

uint32_t CustomDb_CountEntries(const CustomDatabase* db) {
  if (db == nullptr) return 0;
  return custom::UnlessOutOfMemory(uint32_t{0}, [db]() -> uint32_t {
    custom::DbLock lock;
    if (!custom::LockFiles(db->index_path, db->data_path, custom::LockMode::kShared, false,
                           &lock)) {
      return 0;
    }
    custom::File file = custom::OpenFile(db->index_path, O_RDONLY);
    uint8_t header[kCustomHeaderSize];
    if (!file.ok() || !custom::ReadAt(file.fd(), header, sizeof header, 0)) return 0;
    return LoadU32(header + kCustomCountAt);
  });
}

int32_t CustomDb_FindRecords(const CustomDatabase* db, const char* word,
                             std::vector<std::string>* records) {
  if (db == nullptr) return kCustomNullHandle;
  if (word == nullptr || records == nullptr) return kCustomNullArgument;
  records->clear();
  return custom::UnlessOutOfMemory(kCustomNoMemory, [&] {
    engine::Digest key = engine::Md5String(word);
    return custom::VisitRecords(
        db, [&key](const CustomIndexEntry& entry) { return entry.key == key; },
        [records](const CustomIndexEntry&, const std::string& text) { records->push_back(text); });
  });
}

bool CustomDb_AppendEntry(CustomDatabase** handle, int32_t type_index, const char* word,
                          const char* definition, const char* examples, const char* spare,
                          const CustomRelationLists& related) {
  if (handle == nullptr || *handle == nullptr || word == nullptr) return false;
  return custom::UnlessOutOfMemory(false, [&] {
    return AppendEntry(*handle, type_index, word, definition, examples, spare, related);
  });
}

bool CustomDb_DeleteEntry(CustomDatabase* db, int32_t position) {
  if (db == nullptr || position < 0) return false;
  return custom::UnlessOutOfMemory(
      false, [&] { return ChangeEntry(db, position, engine::Digest{}, nullptr); });
}

bool CustomDb_ReplaceEntry(CustomDatabase** handle, int32_t position, int32_t type_index,
                           const char* word, const char* definition, const char* examples,
                           const char* spare, const CustomRelationLists& related,
                           CustomReplaceFailure* failure) {
  CustomReplaceFailure step =
      position >= 0 ? CustomReplaceFailure::kDelete : CustomReplaceFailure::kAppend;
  bool done = false;
  if (position < 0) {
    done = CustomDb_AppendEntry(handle, type_index, word, definition, examples, spare, related);
  } else if (handle != nullptr && *handle != nullptr && word != nullptr) {
    done = custom::UnlessOutOfMemory(false, [&] {
      return ReplaceEntry(*handle, position, type_index, word, definition, examples, spare,
                          related);
    });
  }
  if (failure != nullptr) *failure = done ? CustomReplaceFailure::kNone : step;
  return done;
}
