#include "engine/mapped_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace {

using engine::MappedFile;

TEST(MappedFileTest, MapsTheWholeFileOrNothing) {
  test_support::ScratchFolder folder;
  std::vector<uint8_t> bytes(70000);
  for (size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<uint8_t>(i * 7);
  const std::string full = folder.Write("full", bytes);
  const std::string empty = folder.Write("empty", std::vector<uint8_t>());

  struct Case {
    std::string path;
    bool mapped;
    size_t size;
  };
  const Case cases[] = {{full, true, bytes.size()},
                        {empty, true, 0},
                        {folder.path().string(), false, 0},  // a folder
                        {folder.Path("missing"), false, 0}};
  for (bool populate : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.path + (populate ? " populated" : ""));
      MappedFile file;
      EXPECT_EQ(file.Map(c.path.c_str(), populate), c.mapped);
      ASSERT_EQ(file.size(), c.size);
      if (c.size != 0) {
        EXPECT_EQ(std::vector<uint8_t>(file.data(), file.data() + file.size()), bytes);
      }
    }
  }
}

// Released pages read back as the file holds them, from any offset, page-aligned or not.
TEST(MappedFileTest, ReleasedPagesReadTheFileAgain) {
  test_support::ScratchFolder folder;
  std::vector<uint8_t> bytes(5 * 4096 + 123);
  for (size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<uint8_t>(i * 13 + 1);
  MappedFile file;
  ASSERT_TRUE(file.Map(folder.Write("f", bytes).c_str(), /*populate=*/true));
  for (uint64_t offset : {uint64_t{0}, uint64_t{1}, uint64_t{4096}, uint64_t{3 * 4096 + 5},
                          uint64_t{bytes.size()}, UINT64_MAX - 10}) {
    SCOPED_TRACE(offset);
    file.Release(offset);
    EXPECT_EQ(std::vector<uint8_t>(file.data(), file.data() + file.size()), bytes);
  }
}

TEST(MappedFileTest, HoldsOnlyRangesWithinTheFile) {
  test_support::ScratchFolder folder;
  MappedFile file;
  ASSERT_TRUE(file.Map(folder.Write("f", std::vector<uint8_t>(100, 0)).c_str(), false));
  EXPECT_TRUE(file.Holds(0, 100));
  EXPECT_TRUE(file.Holds(100, 0));
  EXPECT_FALSE(file.Holds(1, 100));
  EXPECT_FALSE(file.Holds(101, 0));
  EXPECT_FALSE(file.Holds(50, UINT64_MAX));  // no wrap-around
}

}  // namespace
