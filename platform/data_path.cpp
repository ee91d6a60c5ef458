#include "platform/data_path.h"

#include <filesystem>
#include <system_error>

namespace platform {

std::string CurrentDirectory() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::current_path(error);
  return error ? std::string() : path.string();
}

std::string DataFilePath(const std::string& directory, const std::string& file_name) {
  return (std::filesystem::path(directory) / "Data" / file_name).string();
}

}  // namespace platform
