// Helpers of the custom database tests: a scratch folder, whole-file reads and writes, and a
// database written by hand from the file rules, independent of the store's own writer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "custom/custom_db.h"

namespace custom_test {

using Bytes = std::vector<uint8_t>;

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  std::string Path(const std::string& name) const { return (root_ / name).string(); }
  // Names of the files in the folder, sorted; an empty journal file is left out.
  std::vector<std::string> Names() const;

 private:
  std::filesystem::path root_;
};

Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);
void PutLe32(Bytes* bytes, uint32_t value);
uint32_t GetLe32(const Bytes& bytes, size_t at);

// RC2 under the default key, through the engine's cipher directly.
Bytes Encipher(const std::string& text);
std::string Decipher(const uint8_t* data, size_t length);

// A database laid out by hand: `reserved` header bytes, then one index entry and one record
// per (word, plaintext) pair.
struct HandEntry {
  std::string word;
  std::string text;
};
void WriteHandDatabase(const std::string& index_path, const std::string& data_path,
                       const std::vector<HandEntry>& entries, const Bytes& reserved = Bytes(12));

// A record text with the given word, type name, definition and synonyms field, other fields
// empty.
std::string RecordText(const std::string& word, const std::string& type,
                       const std::string& definition, const std::string& synonyms = "",
                       const std::string& examples = "");

// The (word, definition) of every readable entry, in index order, through a fresh open.
std::vector<std::pair<std::string, std::string>> Contents(const std::string& index_path,
                                                          const std::string& data_path);

}  // namespace custom_test
