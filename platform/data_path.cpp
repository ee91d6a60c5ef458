#include "platform/data_path.h"

#include <filesystem>
#include <system_error>

#include "platform/program_names.h"

namespace platform {

std::string CurrentDirectory() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::current_path(error);
  return error ? std::string() : path.string();
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

}  // namespace platform
