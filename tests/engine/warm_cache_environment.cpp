// Runs a test program's start-ups with the word index cache in a scratch folder: each start-up
// after the first of a word index maps the cache its predecessor wrote.
#include <gtest/gtest.h>

#include "engine/nymdex.h"
#include "tests/support/scratch_folder.h"

namespace {

class WarmCache : public ::testing::Environment {
 public:
  void SetUp() override { Nymdex_SetCacheFolder(folder_.Path("cache").c_str()); }
  void TearDown() override { Nymdex_SetCacheFolder(nullptr); }

 private:
  test_support::ScratchFolder folder_;
};

[[maybe_unused]] ::testing::Environment* const kWarmCache =
    ::testing::AddGlobalTestEnvironment(new WarmCache);

}  // namespace
