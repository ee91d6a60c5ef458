#include "tools/mkdata_output.h"

#include <filesystem>
#include <string_view>

#include "custom/custom_db.h"
#include "engine/little_endian.h"
#include "engine/text_helpers.h"
#include "platform/data_path.h"
#include "platform/program_names.h"
#include "tools/datafile_writer.h"
#include "tools/wordnet_reader.h"

namespace mkdata {
namespace {

namespace fs = std::filesystem;

constexpr const char* kStagingSuffix = ".mkdata-new";
constexpr size_t kMaxTipLine = 9999;

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  return engine::LoadU32(b.data() + at);
}

uint16_t U16At(const std::vector<uint8_t>& b, size_t at) {
  return engine::LoadU16(b.data() + at);
}

bool LoadBytes(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
  std::string text;
  if (!wordnet::ReadWholeFile(path, &text, error)) return false;
  bytes->assign(text.begin(), text.end());
  return true;
}

}  // namespace

void OutputSet::Add(const std::string& name, std::vector<uint8_t> bytes) {
  files_.emplace_back(name, std::move(bytes));
}

std::vector<std::pair<std::string, uint64_t>> OutputSet::Sizes() const {
  std::vector<std::pair<std::string, uint64_t>> sizes;
  for (const auto& [name, bytes] : files_)
    sizes.emplace_back(name, bytes.size());
  return sizes;
}

bool OutputSet::Commit(std::string* error) {
  std::error_code ec;
  fs::create_directories(folder_, ec);
  if (ec || !fs::is_directory(folder_, ec)) {
    *error = folder_ + ": cannot create the folder";
    return false;
  }
  std::vector<std::string> staged;
  auto remove_staged = [&] {
    for (const std::string& path : staged)
      fs::remove(path, ec);
  };
  for (const auto& [name, bytes] : files_) {
    std::string path = platform::FileInDataFolder(folder_, name) + kStagingSuffix;
    if (!datafiles::WriteFileAtomically(path, bytes, error)) {
      remove_staged();
      fs::remove(path, ec);
      return false;
    }
    staged.push_back(path);
  }
  // A name taken by something other than a file would stop the renames half-way.
  for (const auto& [name, bytes] : files_) {
    fs::path final_path = platform::FileInDataFolder(folder_, name);
    if (fs::exists(fs::symlink_status(final_path, ec)) &&
        !fs::is_regular_file(fs::symlink_status(final_path, ec))) {
      *error = final_path.string() + ": is not a file and cannot be replaced";
      remove_staged();
      return false;
    }
  }
  for (size_t i = 0; i < files_.size(); ++i) {
    std::string final_path = platform::FileInDataFolder(folder_, files_[i].first);
    fs::rename(staged[i], final_path, ec);
    if (ec) {
      *error = final_path + ": cannot be replaced (" + ec.message() + ")";
      for (size_t j = i; j < staged.size(); ++j)
        fs::remove(staged[j], ec);
      return false;
    }
    touched_ = true;
  }
  return true;
}

bool LoadTips(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
  if (!LoadBytes(path, bytes, error)) return false;
  std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  size_t tips = 0;
  const bool read = engine::ForEachLine(text, [&](std::string_view content, uint32_t line, size_t) {
    auto fail = [&](const std::string& what) {
      *error = path + ":" + std::to_string(line) + ": " + what;
      return false;
    };
    if (content.find('\0') != std::string_view::npos) return fail("NUL byte in the tips file");
    if (content.size() > kMaxTipLine) {
      return fail("tip longer than " + datafiles::GroupedNumber(kMaxTipLine) + " characters");
    }
    if (!content.empty() && content[0] != ' ' && content[0] != '\t' && content[0] != ';' &&
        content[0] != '\r') {
      ++tips;
    }
    return true;
  });
  if (!read) return false;
  if (tips == 0) {
    *error = path + ": no tip lines";
    return false;
  }
  return true;
}

bool LoadSplash(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
  if (!LoadBytes(path, bytes, error)) return false;
  const std::vector<uint8_t>& b = *bytes;
  auto fail = [&](const char* what) {
    *error = path + ": " + what;
    return false;
  };
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return fail("not a bitmap file");
  uint32_t pixels_at = U32At(b, 10);
  int32_t width = static_cast<int32_t>(U32At(b, 18));
  int32_t height = static_cast<int32_t>(U32At(b, 22));
  if (U32At(b, 14) < 40 || U16At(b, 26) != 1 || U16At(b, 28) != 24 || U32At(b, 30) != 0) {
    return fail("not an uncompressed 24-bit bitmap");
  }
  if (width <= 0 || width > 4096 || height == 0 || height > 4096 || height < -4096) {
    return fail("bitmap size out of range");
  }
  uint64_t row = (static_cast<uint64_t>(width) * 3 + 3) / 4 * 4;
  uint64_t rows = static_cast<uint64_t>(height < 0 ? -height : height);
  if (pixels_at < 54 || pixels_at + row * rows > b.size()) return fail("bitmap pixels cut short");
  return true;
}

bool EnsureCustomDatabase(const std::string& folder, CustomDatabaseState* state,
                          std::string* error) {
  std::string index = platform::FileInDataFolder(folder, program::kCustomIndexFile);
  std::string data = platform::FileInDataFolder(folder, program::kCustomDataFile);
  switch (CustomDb_CreateIfMissing(index.c_str(), data.c_str())) {
    case CustomCreateResult::kCreated:
      *state = CustomDatabaseState::kCreated;
      return true;
    case CustomCreateResult::kExisting:
      *state = CustomDatabaseState::kKept;
      return true;
    case CustomCreateResult::kDamaged:
      *state = CustomDatabaseState::kIncomplete;
      return true;
    case CustomCreateResult::kFailed:
      break;
  }
  *error = index + ": the empty custom database cannot be created";
  return false;
}

}  // namespace mkdata
