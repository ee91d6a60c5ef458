// Where the program's files are: the folder "Data" below the current directory.
#pragma once

#include <string>

namespace platform {

// The process's current directory, or an empty text when it cannot be obtained.
std::string CurrentDirectory();

// `directory`/Data/`file_name`: the one place that composes data-file paths.
std::string DataFilePath(const std::string& directory, const std::string& file_name);

}  // namespace platform
