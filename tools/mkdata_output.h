// The compiler's output side: staging the files of Data/ so that they replace the old ones
// together, the two assets kept in the repository, and the empty custom database.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace mkdata {

// Files to write into one folder. Commit creates the folder when needed, writes every file
// beside its final name, and only when all of them are written renames them over their
// names; on a failure the staged files are removed and the folder's old files stay.
class OutputSet {
 public:
  explicit OutputSet(std::string folder) : folder_(std::move(folder)) {}
  void Add(const std::string& name, std::vector<uint8_t> bytes);
  bool Commit(std::string* error);
  std::vector<std::pair<std::string, uint64_t>> Sizes() const;

  // True once a file of the folder has been replaced: a failure after that (a rename refused
  // half-way) leaves the folder mixed, and the caller says so.
  bool touched() const { return touched_; }

 private:
  std::string folder_;
  bool touched_ = false;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files_;
};

// The tips file, copied as it is: text without NUL bytes, lines of at most 9,999 characters,
// at least one tip line (a line not starting with a space, a tab or ';').
bool LoadTips(const std::string& path, std::vector<uint8_t>* bytes, std::string* error);

// The splash picture, copied as it is once its header shows an uncompressed 24-bit bitmap
// whose pixel rows fit in the file.
bool LoadSplash(const std::string& path, std::vector<uint8_t>* bytes, std::string* error);

enum class CustomDatabaseState { kCreated, kKept, kIncomplete };

// Creates the empty custom database ("1001M.idx" and "1001M.dat") in `folder` when both files
// are missing. One file without the other is reported as incomplete and left alone, as is a
// complete pair: the custom database holds the user's own entries.
bool EnsureCustomDatabase(const std::string& folder, CustomDatabaseState* state,
                          std::string* error);

}  // namespace mkdata
