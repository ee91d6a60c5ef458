#include "platform/data_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/scratch_folder.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class DataPathTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(root_ / "cwd"); }

  // A folder holding the dictionary's probe file.
  void Dictionary(const fs::path& folder) {
    fs::create_directories(folder);
    std::ofstream(folder / kDictionaryProbe) << "x";
  }

  test_support::ScratchFolder scratch_;
  const fs::path root_ = scratch_.path();
};

TEST_F(DataPathTest, ChoosesTheFirstFolderHoldingTheDictionary) {
  struct Case {
    const char* name;
    bool local;               // Data below the current directory holds the dictionary
    std::vector<int> shares;  // which of share0..share2 hold verbarium/Data
    bool has_home;            // a user data folder is known
    const char* dictionary;   // expected, relative to the root
    const char* custom;
    bool installed;
  };
  const Case cases[] = {
      {"local wins over installed", true, {0, 1}, true, "cwd/Data", "cwd/Data", false},
      {"first share in order",
       false,
       {1, 2},
       true,
       "share1/verbarium/Data",
       "home/verbarium",
       true},
      {"nothing installed: local, to report", false, {}, true, "cwd/Data", "cwd/Data", false},
      {"no user folder: local", false, {0}, false, "cwd/Data", "cwd/Data", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(root_);
    fs::create_directories(root_ / "cwd");
    if (c.local) Dictionary(root_ / "cwd/Data");
    DataSearch search;
    for (int i = 0; i < 3; ++i) {
      const fs::path share = root_ / ("share" + std::to_string(i));
      search.share_dirs.push_back(share.string());
      for (int s : c.shares)
        if (s == i) Dictionary(share / "verbarium/Data");
    }
    if (c.has_home) search.user_data_home = (root_ / "home").string();

    const DataLocation location = FindDataLocation((root_ / "cwd").string(), search);
    EXPECT_EQ(location.dictionary_dir, (root_ / c.dictionary).string());
    EXPECT_EQ(location.custom_dir, (root_ / c.custom).string());
    EXPECT_EQ(location.installed, c.installed);
    EXPECT_EQ(location.CustomFile("1001M.idx"), (root_ / c.custom / "1001M.idx").string());
  }
}

TEST_F(DataPathTest, InstalledFolderBesideTheProgramIsNormalised) {
  Dictionary(root_ / "prefix/share/verbarium/Data");
  fs::create_directories(root_ / "prefix/bin");
  DataSearch search;
  search.share_dirs = {(root_ / "prefix/bin/../share").string()};
  search.user_data_home = (root_ / "home").string();
  EXPECT_EQ(FindDataLocation((root_ / "cwd").string(), search).dictionary_dir,
            (root_ / "prefix/share/verbarium/Data").string());
}

TEST_F(DataPathTest, EnvironmentSkipsRelativeAndEmptyDataDirs) {
  const char* saved = std::getenv("XDG_DATA_DIRS");
  const std::string old = saved != nullptr ? saved : "";
  setenv("XDG_DATA_DIRS", "relative/share::/opt/a/share:", 1);
  const DataSearch search = DataSearchFromEnvironment();
  if (saved != nullptr)
    setenv("XDG_DATA_DIRS", old.c_str(), 1);
  else
    unsetenv("XDG_DATA_DIRS");
  ASSERT_FALSE(search.share_dirs.empty());
  // The program's own share folder comes first, then the absolute entries.
  EXPECT_EQ(search.share_dirs.back(), "/opt/a/share");
  for (const std::string& dir : search.share_dirs)
    EXPECT_EQ(dir.front(), '/') << dir;
}

}  // namespace
}  // namespace platform
