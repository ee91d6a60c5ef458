// The search by meaning on the compiled dictionary (Data/ of the build folder): its index opens,
// and everyday descriptions find their words near the top.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/meaning/meaning_search.h"
#include "engine/nymdex.h"
#include "platform/program_names.h"

namespace {

TEST(MeaningData, EverydayDescriptionsFindTheirWords) {
  const std::string dir = VERBARIUM_DATA_DIR;
  NymdexEngine* engine = nullptr;
  ASSERT_EQ(Nymdex_StartUp(&engine, (dir + "/1001L.dat").c_str(), (dir + "/1001W.dat").c_str(),
                           (dir + "/1001T.dat").c_str(), nullptr, nullptr),
            kNymdexOk);
  const meaning::MeaningSearch search(engine, dir + "/" + program::kMeaningIndexFile);
  ASSERT_EQ(search.Load(), meaning::IndexStatus::kOk);
  const meaning::CustomEntries none;
  const struct {
    const char* description;
    const char* word;
    size_t within;
  } cases[] = {
      {"a person who bakes bread", "baker", 1},
      {"fear of small closed spaces", "claustrophobia", 1},
      {"the room with the bath and the toilet", "bathroom", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.description);
    const meaning::MeaningResult result = search.Search(c.description, none, c.within);
    ASSERT_EQ(result.status, meaning::MeaningStatus::kFound);
    EXPECT_TRUE(std::any_of(result.rows.begin(), result.rows.end(),
                            [&](const meaning::MeaningRow& row) { return row.word == c.word; }));
  }
  Nymdex_ShutDown(&engine);
}

}  // namespace
