#include "platform/data_path.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/program_names.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

bool Holds(const fs::path& folder, const std::string& probe) {
  std::error_code error;
  return fs::is_regular_file(folder / probe, error);
}

// Splits a colon-separated list of folders; empty pieces and relative folders are skipped, as
// the XDG base directory rules ask.
void AppendFolders(const std::string& list, std::vector<std::string>* folders) {
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    std::string piece = list.substr(start, end - start);
    if (!piece.empty() && piece.front() == '/') folders->push_back(std::move(piece));
    start = end + 1;
  }
}

}  // namespace

std::string CurrentDirectory(std::string* error_text) {
  std::error_code error;
  fs::path path = fs::current_path(error);
  if (!error) return path.string();
  if (error_text != nullptr) *error_text = error.message();
  return {};
}

std::string DataFolder(const std::string& directory) {
  return (std::filesystem::path(directory) / program::kDataFolder).string();
}

std::string FileInDataFolder(const std::string& folder, const std::string& file_name) {
  return folder + "/" + file_name;
}

std::string DataFilePath(const std::string& directory, const std::string& file_name) {
  return FileInDataFolder(DataFolder(directory), file_name);
}

std::string DataLocation::DictionaryFile(const std::string& file_name) const {
  return (fs::path(dictionary_dir) / file_name).string();
}

std::string DataLocation::CustomFile(const std::string& file_name) const {
  return (fs::path(custom_dir) / file_name).string();
}

DataSearch DataSearchFromEnvironment() {
  DataSearch search;
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (!error && program.has_parent_path())
    search.share_dirs.push_back((program.parent_path().parent_path() / "share").string());
  std::string dirs = Environment("XDG_DATA_DIRS");
  if (dirs.empty()) dirs = "/usr/local/share:/usr/share";
  AppendFolders(dirs, &search.share_dirs);
  search.user_data_home = Environment("XDG_DATA_HOME");
  if (search.user_data_home.empty() || search.user_data_home.front() != '/') {
    const std::string home = Environment("HOME");
    search.user_data_home = home.empty() ? std::string() : home + "/.local/share";
  }
  return search;
}

std::string FindProgramFolder(const std::string& current_directory, const DataSearch& search,
                              const std::string& name, const std::string& probe) {
  const fs::path local = fs::path(current_directory) / name;
  if (Holds(local, probe)) return local.string();
  for (const std::string& share : search.share_dirs) {
    const fs::path folder = fs::path(share) / "verbarium" / name;
    if (Holds(folder, probe)) return folder.lexically_normal().string();
  }
  return {};
}

DataLocation FindDataLocation(const std::string& current_directory, const DataSearch& search) {
  DataLocation location;
  location.dictionary_dir = DataFolder(current_directory);
  location.custom_dir = location.dictionary_dir;
  if (Holds(location.dictionary_dir, kDictionaryProbe) || search.user_data_home.empty())
    return location;
  const std::string installed =
      FindProgramFolder(current_directory, search, program::kDataFolder, kDictionaryProbe);
  if (installed.empty()) return location;
  location.dictionary_dir = installed;
  location.custom_dir = (fs::path(search.user_data_home) / "verbarium").string();
  location.installed = true;
  return location;
}

std::string UserCacheFolder() {
  std::string base = Environment("XDG_CACHE_HOME");
  if (base.empty() || base.front() != '/') {
    const std::string home = Environment("HOME");
    if (home.empty() || home.front() != '/') return {};
    base = home + "/.cache";
  }
  return (fs::path(base) / "verbarium").string();
}

bool MakeDirectories(const std::string& path) {
  std::error_code error;
  fs::create_directories(path, error);
  return fs::is_directory(path, error);
}

}  // namespace platform
