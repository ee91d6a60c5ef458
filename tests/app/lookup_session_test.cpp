// The lookup flow over a small dictionary and a scratch custom database: classification with
// both sources, merged senses, check states across refreshes, pane choice and contents.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/lookup/custom_entry.h"
#include "app/lookup/lookup.h"
#include "custom/custom_db.h"
#include "engine/nymdex.h"
#include "tests/app/lookup_test_util.h"

namespace lookup {
namespace {

using lookup_test::DataFolder;

class LookupSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(
        Nymdex_StartUp(&engine_, data_.Path("1001L.dat").c_str(), data_.Path("1001W.dat").c_str(),
                       data_.Path("1001T.dat").c_str(), nullptr, nullptr),
        kNymdexOk);
    ASSERT_EQ(
        CustomDb_Open(&custom_, data_.Path("1001M.idx").c_str(), data_.Path("1001M.dat").c_str()),
        kCustomOk);
    Add("cat", 0, "a pet that purrs", "", {{0, {"kitty", "true cat"}}, {2, {"pet"}}});
    Add("zorb", 0, "a transparent ball", "rolling downhill in a zorb^", {});
    Add("upon", 4, "on", "", {{0, {"on"}}});
    session_ = std::make_unique<LookupSession>(engine_, &custom_);
  }
  void TearDown() override {
    session_.reset();
    if (engine_ != nullptr) Nymdex_ShutDown(&engine_);
    if (custom_ != nullptr) CustomDb_Close(&custom_);
  }

  void Add(const std::string& word, int type, const std::string& definition,
           const std::string& examples, std::vector<std::pair<int, std::vector<std::string>>> rel) {
    CustomRelationLists related;
    for (auto& [slot, words] : rel)
      related[slot] = words;
    ASSERT_TRUE(CustomDb_AppendEntry(&custom_, type, word.c_str(), definition.c_str(),
                                     examples.c_str(), "", related));
  }

  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (const PaneTab& tab : session_->tabs())
      titles.push_back(PaneTitle(tab.kind));
    return titles;
  }

  const std::vector<std::string>& Words(const std::string& title) const {
    static const std::vector<std::string> kNone;
    for (const PaneTab& tab : session_->tabs()) {
      if (title == PaneTitle(tab.kind)) return tab.words;
    }
    return kNone;
  }

  DataFolder data_;
  NymdexEngine* engine_ = nullptr;
  CustomDatabase* custom_ = nullptr;
  std::unique_ptr<LookupSession> session_;
};

TEST_F(LookupSessionTest, ClassifiesWithBothSources) {
  struct Case {
    const char* text;
    InputKind kind;
    const char* base;
  };
  const Case cases[] = {
      {"  Cats ", InputKind::kWord, "cat"},
      {"BAKED", InputKind::kWord, "bake"},
      {"walked", InputKind::kWord, "walk"},
      {"making", InputKind::kWord, "make"},
      {"morning", InputKind::kWord, "morning"},
      {"Ice Cream", InputKind::kWord, "ice cream"},
      {"xing", InputKind::kUnknown, ""},
      // Known to the custom database only, through every rule.
      {"zorb", InputKind::kWord, "zorb"},
      {"zorbs", InputKind::kWord, "zorb"},
      {"zorbed", InputKind::kWord, "zorb"},
      {"zorbing", InputKind::kWord, "zorb"},
      {"c?t", InputKind::kPattern, ""},
      {"c?t!", InputKind::kInvalid, ""},
      {"blorp fnord", InputKind::kUnknown, ""},
      {"", InputKind::kUnknown, ""},
      {"d0g", InputKind::kInvalid, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const LookupResult result = session_->Lookup(c.text);
    EXPECT_EQ(result.kind, c.kind);
    if (c.kind == InputKind::kWord) {
      EXPECT_TRUE(result.senses_built);
      EXPECT_EQ(result.base_form, c.base);
      EXPECT_EQ(session_->display_word(), c.base);
    }
  }
}

TEST_F(LookupSessionTest, MergesEngineAndCustomSenses) {
  const LookupResult result = session_->Lookup("cats");
  EXPECT_EQ(result.text, "cats");
  EXPECT_EQ(session_->current_word(), "cats");
  EXPECT_EQ(session_->word(), "cat");
  const std::vector<SenseRow>& rows = session_->senses();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(session_->engine_sense_count(), 2u);
  EXPECT_EQ(rows[0].definition, "Feline mammal usually having thick soft fur");
  EXPECT_EQ(rows[0].examples, std::vector<std::string>({"Cats purr"}));
  EXPECT_EQ(rows[1].pos, 2u);
  EXPECT_EQ(rows[1].definition, "Beat with a cat-o'-nine-tails");
  EXPECT_EQ(rows[2].number, 3);
  EXPECT_TRUE(rows[2].custom);
  EXPECT_EQ(rows[2].definition, "A pet that purrs");
  EXPECT_EQ(session_->selection_code(), 3);
  EXPECT_TRUE(session_->usage_available());

  // A custom word with examples: one row, and its usage lines.
  session_->Lookup("zorbing");
  ASSERT_EQ(session_->senses().size(), 1u);
  const std::vector<UsageRow> usage = session_->UsageRows();
  ASSERT_EQ(usage.size(), 2u);
  EXPECT_EQ(usage[0].text, "Sense  1 : Noun");
  EXPECT_EQ(usage[1].text, "   \"Rolling downhill in a zorb\"");
  // An engine word without examples has no usage.
  session_->Lookup("walk");
  EXPECT_FALSE(session_->usage_available());

  // While typing, only engine words count, with examples in any record; an entry of the
  // list also counts when the custom database has entries for it.
  EXPECT_TRUE(session_->UsageForTypedText("Cat"));
  EXPECT_FALSE(session_->UsageForTypedText("walk"));
  EXPECT_FALSE(session_->UsageForTypedText("zorb"));
  EXPECT_FALSE(session_->UsageForTypedText("cats"));
  EXPECT_TRUE(session_->UsageForListEntry("zorb"));
  EXPECT_TRUE(session_->UsageForListEntry("upon"));  // an entry, though without examples
  EXPECT_FALSE(session_->UsageForListEntry("walk"));
  EXPECT_FALSE(session_->UsageForListEntry("blorp"));
}

TEST_F(LookupSessionTest, FillsPanesFromBothSources) {
  session_->Lookup("cat");
  EXPECT_EQ(Titles(), std::vector<std::string>({"Synonyms", "Kind of", "Anagrams"}));
  // "true cat" comes from both lists and appears twice; the whole list is sorted.
  EXPECT_EQ(Words("Synonyms"), std::vector<std::string>({"cat", "kitty", "true cat", "true cat"}));
  EXPECT_EQ(Words("Kind of"), std::vector<std::string>({"felid", "feline", "pet"}));
  EXPECT_TRUE(Words("Anagrams").empty());

  // Only the verb sense checked: the engine has no hypernym for it, but the custom entry
  // answers for the word as a whole, so "Kind of" stays with the custom words alone.
  session_->SetChecked(0, false);
  session_->SetChecked(2, false);
  session_->RebuildPanes();
  EXPECT_EQ(session_->selection_code(), 2);
  EXPECT_EQ(Words("Kind of"), std::vector<std::string>({"pet"}));
  EXPECT_EQ(Words("Synonyms"), std::vector<std::string>({"cat", "kitty", "true cat"}));

  // Nothing checked: no tabs at all.
  session_->SetAllChecked(false);
  session_->RebuildPanes();
  EXPECT_TRUE(session_->tabs().empty());
  EXPECT_EQ(session_->selected_tab(), -1);
}

TEST_F(LookupSessionTest, OtherPartsOfSpeechGiveCodeSixteen) {
  session_->Lookup("upon");
  ASSERT_EQ(session_->senses().size(), 1u);
  EXPECT_STREQ(PosName(session_->senses()[0].pos), "Preposition");
  EXPECT_EQ(session_->selection_code(), 16);
  EXPECT_EQ(Titles(), std::vector<std::string>({"Synonyms", "Anagrams"}));
  EXPECT_EQ(Words("Synonyms"), std::vector<std::string>({"on"}));

  // Adverb only (code 8): the adverb's relations.
  session_->Lookup("quickly");
  EXPECT_EQ(session_->selection_code(), 8);
  EXPECT_EQ(Titles(), std::vector<std::string>({"Synonyms", "Derived", "Anagrams"}));
  EXPECT_EQ(Words("Derived"), std::vector<std::string>({"quick", "speedy"}));
}

TEST_F(LookupSessionTest, RefreshKeepsCheckStatesNewWordResetsThem) {
  session_->Lookup("cat");
  session_->SetChecked(1, false);
  LookupResult again = session_->Lookup(" CAT ");
  EXPECT_FALSE(again.new_word);
  EXPECT_TRUE(session_->senses()[0].checked);
  EXPECT_FALSE(session_->senses()[1].checked);
  EXPECT_EQ(session_->selection_code(), 1);

  session_->SetCheckedByPos(1, false);  // the Noun toggle
  session_->Lookup("cat");
  EXPECT_EQ(session_->selection_code(), 0);
  EXPECT_TRUE(session_->tabs().empty());

  // Another word checks every row, and so does coming back.
  EXPECT_TRUE(session_->Lookup("dog").new_word);
  session_->Lookup("cat");
  for (const SenseRow& row : session_->senses())
    EXPECT_TRUE(row.checked);
}

TEST_F(LookupSessionTest, SelectedPaneSurvivesWhileItsKindIsPresent) {
  session_->Lookup("cat");
  session_->SelectTab(1);  // "Kind of"
  session_->Lookup("dog");
  ASSERT_GE(session_->selected_tab(), 0);
  EXPECT_STREQ(PaneTitle(session_->tabs()[session_->selected_tab()].kind), "Kind of");
  session_->Lookup("heat");  // Antonyms and Anagrams only
  EXPECT_EQ(session_->selected_tab(), 0);
  EXPECT_EQ(Titles(), std::vector<std::string>({"Antonyms", "Anagrams"}));
}

TEST_F(LookupSessionTest, PanesMaskHidesRelationsNotAnagrams) {
  session_->set_panes_mask(kAllPanes & ~1u);
  session_->Lookup("cat");
  EXPECT_EQ(Titles(), std::vector<std::string>({"Kind of", "Anagrams"}));
  session_->set_panes_mask(0);
  session_->Lookup("cat");
  EXPECT_EQ(Titles(), std::vector<std::string>({"Anagrams"}));
}

TEST_F(LookupSessionTest, PatternsUnknownAndInvalidText) {
  session_->Lookup("cat");
  const LookupResult invalid = session_->Lookup("cat!");
  EXPECT_EQ(invalid.kind, InputKind::kInvalid);
  EXPECT_EQ(session_->senses().size(), 3u);  // nothing else changes
  EXPECT_EQ(session_->current_word(), "cat!");

  const LookupResult pattern = session_->Lookup("ice ?ream");
  EXPECT_EQ(pattern.kind, InputKind::kPattern);
  EXPECT_EQ(pattern.matches.words, std::vector<std::string>({"ice cream"}));
  EXPECT_EQ(pattern.matches.status, "Found 1 match");
  EXPECT_TRUE(session_->senses().empty());
  EXPECT_EQ(session_->Lookup("ice?cream").matches.words.size(), 0u);

  session_->Lookup("cat");
  EXPECT_EQ(session_->Lookup("").kind, InputKind::kUnknown);
  EXPECT_TRUE(session_->senses().empty());
  EXPECT_TRUE(session_->tabs().empty());
}

TEST_F(LookupSessionTest, UnreadableCustomDatabaseKnowsNothing) {
  // The records go; the index still lists them, so every query of those words fails.
  std::filesystem::resize_file(data_.Path("1001M.dat"), 0);
  EXPECT_FALSE(session_->IsKnown("zorb"));
  EXPECT_EQ(session_->Lookup("zorb").kind, InputKind::kUnknown);
  const LookupResult cat = session_->Lookup("cat");
  ASSERT_TRUE(cat.senses_built);
  EXPECT_EQ(session_->senses().size(), 2u);  // the engine's senses alone
  EXPECT_EQ(Words("Synonyms"), std::vector<std::string>({"cat", "true cat"}));
}

TEST_F(LookupSessionTest, WorksWithoutACustomDatabase) {
  CustomDb_Close(&custom_);
  session_->Lookup("cats");
  EXPECT_EQ(session_->senses().size(), 2u);
  EXPECT_EQ(Words("Kind of"), std::vector<std::string>({"felid", "feline"}));
  EXPECT_EQ(session_->Lookup("zorb").kind, InputKind::kUnknown);

  LookupSession no_engine(nullptr, &custom_);
  EXPECT_EQ(no_engine.Lookup("cat").kind, InputKind::kUnknown);
  EXPECT_EQ(no_engine.Lookup("c?t").matches.status, "Found 0 matches");
}

TEST_F(LookupSessionTest, PaneQueriesAnswerAsTheCustomDatabaseDoes) {
  // Each relation of the custom side agrees with the database's own has- and get-queries.
  for (const char* word : {"cat", "zorb", "upon", "blorp"}) {
    const CustomWordData data(custom_, word);
    EXPECT_TRUE(data.ok());
    for (int kind = 0; kind < kRelationCount; ++kind) {
      SCOPED_TRACE(std::string(word) + " " + PaneTitle(kind));
      std::vector<std::string> expected, got;
      EXPECT_EQ(kCustomRelations[kind].get(custom_, word, &expected), kCustomOk);
      EXPECT_TRUE(data.Get(kind, &got));
      EXPECT_EQ(got, expected);
      EXPECT_EQ(data.Has(kind), kCustomRelations[kind].has(custom_, word));
    }
  }

  std::vector<std::string> words = {"stale"};
  const CustomWordData none;
  EXPECT_FALSE(PaneWords(engine_, none, 0, "blorp", {0}, &words));
  EXPECT_TRUE(words.empty());
  EXPECT_TRUE(PaneWords(nullptr, CustomWordData(custom_, "zorb"), 0, "zorb", {0}, &words));
  EXPECT_TRUE(words.empty());  // answered, with no words
  EXPECT_FALSE(
      PaneWords(engine_, CustomWordData(custom_, "cat"), kAnagramsPane, "cat", {0}, &words));
  EXPECT_TRUE(PaneHasContent(nullptr, none, kAnagramsPane, "", {}));
  EXPECT_FALSE(PaneHasContent(engine_, CustomWordData(custom_, "cat"), 1, "cat", {0, 1, 2}));
}

}  // namespace
}  // namespace lookup
