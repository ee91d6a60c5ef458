// Paths of the program's data files: the folder "Data" below a directory (the current one at
// start-up), or a data folder given by the user. Every data-file path is composed here.
#pragma once

#include <string>

namespace platform {

// The process's current directory, or an empty text when it cannot be obtained.
std::string CurrentDirectory();

// `directory`/Data: the data folder below a directory.
std::string DataFolder(const std::string& directory);

// `folder`/`file_name`: a file of the data folder `folder`.
std::string FileInDataFolder(const std::string& folder, const std::string& file_name);

// `directory`/Data/`file_name`.
std::string DataFilePath(const std::string& directory, const std::string& file_name);

}  // namespace platform
