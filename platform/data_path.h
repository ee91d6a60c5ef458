// Where the program's files are. As the program has always done, "Data" below the current
// directory at start-up; when that folder holds no dictionary ("1001L.dat"), the dictionary
// installed with the program (<prefix>/share/verbarium/Data) for the read-only files and a
// per-user folder ($XDG_DATA_HOME/verbarium, else ~/.local/share/verbarium) for the custom
// database, so a program started from a desktop menu (current directory: home) works.
#pragma once

#include <string>
#include <vector>

#include "platform/program_names.h"

namespace platform {

// The process's current directory, or an empty text when it cannot be obtained (the system's
// text for the reason then goes to `error` when given).
std::string CurrentDirectory(std::string* error = nullptr);

// `directory`/Data: the data folder below a directory.
std::string DataFolder(const std::string& directory);

// `folder`/`file_name`: a file of the data folder `folder`.
std::string FileInDataFolder(const std::string& folder, const std::string& file_name);

// `directory`/Data/`file_name`.
std::string DataFilePath(const std::string& directory, const std::string& file_name);

// The file that tells a folder holds a dictionary.
inline constexpr const char* kDictionaryProbe = program::kSynsetFile;

// The folders the installed dictionary is looked for in: each `share` folder's
// "verbarium/Data", in order.
struct DataSearch {
  std::vector<std::string> share_dirs;  // the program's own ../share, then XDG_DATA_DIRS
  std::string user_data_home;           // $XDG_DATA_HOME, else $HOME/.local/share
};

// The search of this process: the `share` folder beside the program's bin folder first (the
// prefix it was installed to), then $XDG_DATA_DIRS (default /usr/local/share:/usr/share).
DataSearch DataSearchFromEnvironment();

struct DataLocation {
  std::string dictionary_dir;  // the engine files, "1001A.dat", "tips.dat", "verbarium.bmp"
  std::string custom_dir;      // "1001M.idx" and "1001M.dat"
  bool installed = false;      // the installed dictionary and the per-user custom folder

  std::string DictionaryFile(const std::string& file_name) const;
  std::string CustomFile(const std::string& file_name) const;
};

// `current_directory`/`name` when it holds the file `probe`, else the first
// `share`/verbarium/`name` of `search` that does; an empty text when none does. The program's
// folders "Data" and "help" are found this way.
std::string FindProgramFolder(const std::string& current_directory, const DataSearch& search,
                              const std::string& name, const std::string& probe);

// Data below `current_directory` when it holds the dictionary, else the first installed
// dictionary of `search` with the per-user custom folder. When neither exists, Data below the
// current directory, so that start-up reports the missing files there.
DataLocation FindDataLocation(const std::string& current_directory, const DataSearch& search);

// The program's folder in the user's cache: $XDG_CACHE_HOME/verbarium, else
// $HOME/.cache/verbarium; an empty text when neither variable gives an absolute folder. Its
// files are copies the program can make again (deleting them is safe).
std::string UserCacheFolder();

// Creates `path` and its missing parents; true when it exists as a folder afterwards.
bool MakeDirectories(const std::string& path);

}  // namespace platform
