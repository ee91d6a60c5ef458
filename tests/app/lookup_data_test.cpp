// The lookup flow on the compiled dictionary (Data/ of the build folder).
#include <algorithm>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "app/lookup/lookup.h"
#include "engine/nymdex.h"

namespace lookup {
namespace {

class LookupDataTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string dir = VERBARIUM_DATA_DIR;
    ASSERT_EQ(Nymdex_StartUp(&engine_, (dir + "/1001L.dat").c_str(), (dir + "/1001W.dat").c_str(),
                             (dir + "/1001T.dat").c_str(), nullptr, nullptr),
              kNymdexOk);
  }
  static void TearDownTestSuite() {
    if (engine_ != nullptr) Nymdex_ShutDown(&engine_);
    engine_ = nullptr;
  }

  static NymdexEngine* engine_;
  CustomDatabase* custom_ = nullptr;
};

NymdexEngine* LookupDataTest::engine_ = nullptr;

TEST_F(LookupDataTest, BaseFormsOnTheDictionary) {
  LookupSession session(engine_, &custom_);
  struct Case {
    const char* text;
    const char* base;  // nullptr: not known
  };
  const Case cases[] = {
      {"  Cats ", "cat"},
      {"hiked", "hike"},   // the "d" dropped
      {"walked", "walk"},  // the "ed" dropped
      {"gazing", "gaze"},  // "ing" replaced by "e"
      {"smiled", "smile"},
      // This dictionary lists "baked" and "making" themselves, so they stay.
      {"baked", "baked"},
      {"making", "making"},
      {"morning", "morning"},
      {"thing", "thing"},
      {"ice cream", "ice cream"},
      // "x" and "xe" are words, but four letters ending in "ing" are never reduced.
      {"xing", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const LookupResult result = session.Lookup(c.text);
    if (c.base == nullptr) {
      EXPECT_EQ(result.kind, InputKind::kUnknown);
      continue;
    }
    ASSERT_EQ(result.kind, InputKind::kWord);
    EXPECT_TRUE(result.senses_built);
    EXPECT_EQ(session.display_word(), c.base);
  }
  EXPECT_TRUE(session.IsKnown("x"));
  EXPECT_TRUE(session.IsKnown("xe"));
}

TEST_F(LookupDataTest, CatHasItsSensesAndPanes) {
  LookupSession session(engine_, &custom_);
  ASSERT_EQ(session.Lookup("cat").kind, InputKind::kWord);
  ASSERT_GE(session.senses().size(), 8u);
  EXPECT_EQ(session.senses()[0].pos, 1u);
  EXPECT_NE(session.senses()[0].definition.find("Feline mammal"), std::string::npos);
  std::vector<std::string> titles;
  for (const PaneTab& tab : session.tabs())
    titles.push_back(PaneTitle(tab.kind));
  for (const char* title : {"Synonyms", "Kind of", "Has as kind", "Anagrams"}) {
    EXPECT_NE(std::find(titles.begin(), titles.end(), title), titles.end()) << title;
  }
  const auto kind_of_tab = std::find_if(session.tabs().begin(), session.tabs().end(),
                                        [](const PaneTab& tab) { return tab.kind == 2; });
  ASSERT_NE(kind_of_tab, session.tabs().end());
  const std::vector<std::string>& kind_of = kind_of_tab->words;
  EXPECT_NE(std::find(kind_of.begin(), kind_of.end(), "feline"), kind_of.end());
  EXPECT_TRUE(std::is_sorted(kind_of.begin(), kind_of.end()));
}

TEST_F(LookupDataTest, AdverbOnlyPanes) {
  LookupSession session(engine_, &custom_);
  ASSERT_EQ(session.Lookup("quickly").kind, InputKind::kWord);
  ASSERT_EQ(session.selection_code(), 8);
  const std::set<std::string> allowed = {"Synonyms", "Antonyms", "Derived", "DSC",
                                         "DSR",      "DSU",      "Anagrams"};
  ASSERT_FALSE(session.tabs().empty());
  for (const PaneTab& tab : session.tabs())
    EXPECT_EQ(allowed.count(PaneTitle(tab.kind)), 1u);
}

TEST_F(LookupDataTest, PatternsListWordsOfAsManyParts) {
  LookupSession session(engine_, &custom_);
  const LookupResult result = session.Lookup("c?t");
  ASSERT_EQ(result.kind, InputKind::kPattern);
  const auto& words = result.matches.words;
  EXPECT_NE(std::find(words.begin(), words.end(), "cat"), words.end());
  EXPECT_NE(std::find(words.begin(), words.end(), "cot"), words.end());
  for (const std::string& w : words)
    EXPECT_EQ(w.size(), 3u) << w;
  EXPECT_EQ(session.Lookup("ice ?ream").matches.words, std::vector<std::string>({"ice cream"}));
}

}  // namespace
}  // namespace lookup
