// Helpers of the custom database tests: a scratch folder, whole-file reads and writes, and a
// database written by hand from the file rules, independent of the store's own writer.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "custom/custom_db.h"
#include "engine/encrypt.h"
#include "engine/little_endian.h"
#include "engine/md5.h"
#include "platform/program_names.h"
#include "tests/support/scratch_folder.h"

namespace custom_test {

using Bytes = std::vector<uint8_t>;
using Words = std::vector<std::string>;
using Pairs = std::vector<std::pair<std::string, std::string>>;

inline Bytes ReadBytes(const std::string& path) {
  const std::string text = test_support::ReadFile(path);
  return Bytes(text.begin(), text.end());
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

inline void SetLe32(Bytes* bytes, size_t at, uint32_t value) {
  if (bytes->size() < at + 4) bytes->resize(at + 4);
  engine::StoreU32(bytes->data() + at, value);
}

// RC2 under the default key, through the engine's cipher directly.
inline Bytes Encipher(const std::string& text) {
  EncryptHandle cipher = nullptr;
  EXPECT_EQ(Encrypt_Initialize(&cipher, nullptr, 0), kEncryptOk);
  Bytes out((text.size() + 7) / 8 * 8);
  int32_t length = static_cast<int32_t>(text.size());
  EXPECT_EQ(
      Encrypt(cipher, reinterpret_cast<const uint8_t*>(text.data()), length, out.data(), &length),
      kEncryptOk);
  Encrypt_Deinitialize(&cipher);
  return out;
}

// A database laid out by hand: `reserved` header bytes, then one index entry and one record
// per (word, plaintext) pair.
inline void WriteHandDatabase(const std::string& index_path, const std::string& data_path,
                              const Pairs& entries, const Bytes& reserved = Bytes(12)) {
  Bytes index(reserved);
  SetLe32(&index, kCustomCountAt, static_cast<uint32_t>(entries.size()));
  Bytes data;
  for (const auto& [word, text] : entries) {
    engine::Digest key = engine::Md5String(word.c_str());
    index.insert(index.end(), key.begin(), key.end());
    SetLe32(&index, index.size(), static_cast<uint32_t>(data.size()));
    Bytes cipher = Encipher(text);
    SetLe32(&data, data.size(), static_cast<uint32_t>(cipher.size()));
    data.insert(data.end(), cipher.begin(), cipher.end());
  }
  WriteBytes(index_path, index);
  WriteBytes(data_path, data);
}

// A record text with the given word, type name, definition, synonyms and examples fields,
// other fields empty.
inline std::string RecordText(const std::string& word, const std::string& type,
                              const std::string& definition, const std::string& synonyms = "",
                              const std::string& examples = "") {
  return word + "%" + synonyms + std::string(kCustomRelationCount, '%') + type + "%" + definition +
         "%%" + examples + "%";
}

// The (word, definition) of every readable entry, in index order: through a handle, or
// through a fresh open of the files.
inline Pairs List(const CustomDatabase* db) {
  std::vector<CustomEntrySummary> all;
  EXPECT_TRUE(CustomDb_GetAllEntries(db, &all));
  Pairs pairs;
  for (const CustomEntrySummary& entry : all)
    pairs.emplace_back(entry.word, entry.definition);
  return pairs;
}

inline Pairs Contents(const std::string& index_path, const std::string& data_path) {
  CustomDatabase* db = nullptr;
  EXPECT_EQ(CustomDb_Open(&db, index_path.c_str(), data_path.c_str()), kCustomOk);
  Pairs pairs = List(db);
  CustomDb_Close(&db);
  return pairs;
}

// A scratch folder for a database, and a handle on it closed at the end.
class DbTest : public ::testing::Test {
 public:
  ~DbTest() override { CustomDb_Close(&db_); }
  std::string Path(const std::string& name) const { return folder_.Path(name); }
  // Names of the files in the folder, sorted; an empty journal (the resting state) is left out.
  Words Names() const {
    Words names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
      std::string name = entry.path().filename().string();
      if (!name.ends_with(".journal") || entry.file_size() != 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  void Open() { ASSERT_EQ(CustomDb_Open(&db_, index_.c_str(), data_.c_str()), kCustomOk); }
  void OpenHand(const Pairs& entries, const Bytes& reserved = Bytes(12)) {
    WriteHandDatabase(index_, data_, entries, reserved);
    Open();
  }

  test_support::ScratchFolder folder_;
  std::string index_ = Path(program::kCustomIndexFile);
  std::string data_ = Path(program::kCustomDataFile);
  CustomDatabase* db_ = nullptr;
};

}  // namespace custom_test
