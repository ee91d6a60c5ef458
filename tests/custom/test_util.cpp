#include "tests/custom/test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

#include "engine/encrypt.h"
#include "engine/md5.h"

namespace custom_test {

ScratchFolder::ScratchFolder() {
  std::random_device random;
  root_ = std::filesystem::temp_directory_path() /
          ("verbarium_custom_" + std::to_string(random()) + std::to_string(random()));
  std::filesystem::create_directories(root_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::vector<std::string> ScratchFolder::Names() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(root_)) {
    std::string name = entry.path().filename().string();
    // An empty journal is the store's resting state beside the index.
    if (name.ends_with(".journal") && entry.file_size() == 0) continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

void PutLe32(Bytes* bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t GetLe32(const Bytes& bytes, size_t at) {
  return uint32_t{bytes.at(at)} | uint32_t{bytes.at(at + 1)} << 8 |
         uint32_t{bytes.at(at + 2)} << 16 | uint32_t{bytes.at(at + 3)} << 24;
}

Bytes Encipher(const std::string& text) {
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

std::string Decipher(const uint8_t* data, size_t length) {
  EncryptHandle cipher = nullptr;
  EXPECT_EQ(Encrypt_Initialize(&cipher, nullptr, 0), kEncryptOk);
  Bytes out(length);
  int32_t out_length = static_cast<int32_t>(length);
  EXPECT_EQ(Decrypt(cipher, data, static_cast<int32_t>(length), out.data(), &out_length),
            kEncryptOk);
  Encrypt_Deinitialize(&cipher);
  return std::string(out.begin(), std::find(out.begin(), out.end(), 0));
}

void WriteHandDatabase(const std::string& index_path, const std::string& data_path,
                       const std::vector<HandEntry>& entries, const Bytes& reserved) {
  Bytes index(reserved);
  PutLe32(&index, static_cast<uint32_t>(entries.size()));
  Bytes data;
  for (const HandEntry& entry : entries) {
    engine::Digest key = engine::Md5String(entry.word.c_str());
    index.insert(index.end(), key.begin(), key.end());
    PutLe32(&index, static_cast<uint32_t>(data.size()));
    Bytes cipher = Encipher(entry.text);
    PutLe32(&data, static_cast<uint32_t>(cipher.size()));
    data.insert(data.end(), cipher.begin(), cipher.end());
  }
  WriteBytes(index_path, index);
  WriteBytes(data_path, data);
}

std::string RecordText(const std::string& word, const std::string& type,
                       const std::string& definition, const std::string& synonyms,
                       const std::string& examples) {
  std::string text = word + "%" + synonyms + "%";
  for (int slot = 1; slot < kCustomRelationCount; ++slot)
    text += "%";
  return text + type + "%" + definition + "%%" + examples + "%";
}

std::vector<std::pair<std::string, std::string>> Contents(const std::string& index_path,
                                                          const std::string& data_path) {
  std::vector<std::pair<std::string, std::string>> contents;
  CustomDatabase* db = nullptr;
  EXPECT_EQ(CustomDb_Open(&db, index_path.c_str(), data_path.c_str()), kCustomOk);
  std::vector<CustomEntrySummary> all;
  EXPECT_TRUE(CustomDb_GetAllEntries(db, &all));
  for (const CustomEntrySummary& entry : all)
    contents.emplace_back(entry.word, entry.definition);
  CustomDb_Close(&db);
  return contents;
}

}  // namespace custom_test
