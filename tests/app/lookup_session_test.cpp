// The lookup flow over a small dictionary and a scratch custom database: classification with
// both sources, merged senses, check states across refreshes, pane choice and contents.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/lookup/lookup.h"
#include "custom/custom_db.h"
#include "engine/nymdex.h"
#include "platform/program_names.h"
#include "tests/app/lookup_test_util.h"

namespace lookup {
namespace {

using Strings = std::vector<std::string>;

class LookupSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Nymdex_StartUp(&engine_, data_.Path(program::kSynsetFile).c_str(),
                             data_.Path(program::kWordIndexFile).c_str(),
                             data_.Path(program::kTagFile).c_str(), nullptr, nullptr),
              kNymdexOk);
    ASSERT_EQ(CustomDb_Open(&custom_, data_.Path(program::kCustomIndexFile).c_str(),
                            data_.Path(program::kCustomDataFile).c_str()),
              kCustomOk);
    CustomRelationLists cat, upon;
    cat[0] = {"kitty", "true cat"};
    cat[2] = {"pet"};
    upon[0] = {"on"};
    ASSERT_TRUE(CustomDb_AppendEntry(&custom_, 0, "cat", "a pet that purrs", "", "", cat));
    ASSERT_TRUE(CustomDb_AppendEntry(&custom_, 0, "zorb", "a transparent ball",
                                     "rolling downhill in a zorb^", "", {}));
    ASSERT_TRUE(CustomDb_AppendEntry(&custom_, 4, "upon", "on", "", "", upon));
    session_ = std::make_unique<LookupSession>(engine_, &custom_);
  }
  void TearDown() override {
    session_.reset();
    if (engine_ != nullptr) Nymdex_ShutDown(&engine_);
    if (custom_ != nullptr) CustomDb_Close(&custom_);
  }

  // The senses list and the tabs: "Noun,-Verb,Noun* | Synonyms=cat,true cat; Anagrams=;",
  // where '-' marks an unchecked row and '*' a custom one.
  std::string View() const {
    std::string out;
    for (const SenseRow& row : session_->senses()) {
      out += std::string(out.empty() ? "" : ",") + (row.checked ? "" : "-") + PosName(row.pos) +
             (row.custom ? "*" : "");
    }
    out += " |";
    for (const PaneTab& tab : session_->tabs()) {
      out += std::string(" ") + PaneTitle(tab.kind) + "=";
      for (size_t i = 0; i < tab.words.size(); ++i)
        out += (i == 0 ? "" : ",") + tab.words[i];
      out += ";";
    }
    return out;
  }

  lookup_test::DataFolder data_;
  NymdexEngine* engine_ = nullptr;
  CustomDatabase* custom_ = nullptr;
  std::unique_ptr<LookupSession> session_;
};

TEST_F(LookupSessionTest, ClassifiesWithBothSources) {
  // "zorb" is known to the custom database only, and reached through every rule.
  const std::pair<const char*, const char*> words[] = {
      {"  Cats ", "cat"}, {"Ice Cream", "ice cream"}, {"zorb", "zorb"},
      {"zorbs", "zorb"},  {"zorbed", "zorb"},         {"zorbing", "zorb"}};
  for (const auto& [text, base] : words) {
    const LookupResult result = session_->Lookup(text);
    EXPECT_EQ(result.kind, InputKind::kWord) << text;
    EXPECT_TRUE(result.senses_built) << text;
    EXPECT_EQ(session_->display_word(), base) << text;
  }
  for (const char* text : {"xing", "blorp fnord", ""})
    EXPECT_EQ(session_->Lookup(text).kind, InputKind::kUnknown) << text;
  for (const char* text : {"c?t!", "d0g"})
    EXPECT_EQ(session_->Lookup(text).kind, InputKind::kInvalid) << text;
  EXPECT_EQ(session_->Lookup("c?t").kind, InputKind::kPattern);
}

TEST_F(LookupSessionTest, EngineSensesComeBeforeCustomOnes) {
  EXPECT_EQ(session_->Lookup("cats").text, "cats");
  EXPECT_EQ(session_->word(), "cat");
  const std::vector<SenseRow>& rows = session_->senses();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(session_->engine_sense_count(), 2u);
  EXPECT_EQ(rows[0].definition, "Feline mammal usually having thick soft fur");
  EXPECT_EQ(rows[0].examples, Strings({"Cats purr"}));
  EXPECT_EQ(rows[2].definition, "A pet that purrs");
}

TEST_F(LookupSessionTest, UsageFollowsTheExamples) {
  session_->Lookup("cat");
  EXPECT_TRUE(session_->usage_available());
  session_->Lookup("zorbing");  // a custom word with examples
  ASSERT_EQ(session_->UsageRows().size(), 2u);
  EXPECT_EQ(session_->UsageRows()[1].text, "   \"Rolling downhill in a zorb\"");
  session_->Lookup("walk");  // an engine word without examples
  EXPECT_FALSE(session_->usage_available());
  // While typing, only engine words count; a list entry also counts when the custom database
  // has entries for it.
  EXPECT_TRUE(session_->UsageForTypedText("Cat"));
  EXPECT_FALSE(session_->UsageForTypedText("walk"));
  EXPECT_FALSE(session_->UsageForTypedText("zorb"));
  EXPECT_TRUE(session_->UsageForListEntry("upon"));  // an entry, though without examples
  EXPECT_FALSE(session_->UsageForListEntry("walk"));
}

TEST_F(LookupSessionTest, FillsPanesFromBothSources) {
  // "true cat" comes from both lists and appears twice; the whole list is sorted.
  session_->Lookup("cat");
  EXPECT_EQ(View(),
            "Noun,Verb,Noun* | Synonyms=cat,kitty,true cat,true cat; Kind of=felid,feline,pet; "
            "Anagrams=;");
  // Only the verb sense checked: the engine has no hypernym for it, but the custom entry
  // answers for the word as a whole.
  session_->SetChecked(0, false);
  session_->SetChecked(2, false);
  session_->RebuildPanes();
  EXPECT_EQ(View(), "-Noun,Verb,-Noun* | Synonyms=cat,kitty,true cat; Kind of=pet; Anagrams=;");
  session_->SetAllChecked(false);
  session_->RebuildPanes();
  EXPECT_EQ(View(), "-Noun,-Verb,-Noun* |");
  EXPECT_EQ(session_->selected_tab(), -1);

  session_->Lookup("upon");
  EXPECT_EQ(session_->selection_code(), 16);
  EXPECT_EQ(View(), "Preposition* | Synonyms=on; Anagrams=;");
  session_->Lookup("quickly");
  EXPECT_EQ(session_->selection_code(), 8);
  EXPECT_EQ(View(), "Adverb | Synonyms=quickly,rapidly; Derived=quick,speedy; Anagrams=;");

  // The "Panes" mask hides relations, never the anagram view.
  session_->set_panes_mask(kAllPanes & ~1u);
  session_->Lookup("cat");
  EXPECT_EQ(View(), "Noun,Verb,Noun* | Kind of=felid,feline,pet; Anagrams=;");
  session_->set_panes_mask(0);
  session_->Lookup("cat");
  EXPECT_EQ(View(), "Noun,Verb,Noun* | Anagrams=;");
}

TEST_F(LookupSessionTest, CheckStatesLastUntilAnotherWord) {
  session_->Lookup("cat");
  session_->SetChecked(1, false);
  EXPECT_FALSE(session_->Lookup(" CAT ").new_word);
  EXPECT_EQ(View(),
            "Noun,-Verb,Noun* | Synonyms=cat,kitty,true cat,true cat; Kind of=felid,feline,pet; "
            "Anagrams=;");
  session_->SetCheckedByPos(1, false);  // the Noun toggle
  session_->Lookup("cat");
  EXPECT_EQ(View(), "-Noun,-Verb,-Noun* |");
  // Another word checks every row, and so does coming back.
  EXPECT_TRUE(session_->Lookup("dog").new_word);
  EXPECT_EQ(View(), "Noun | Kind of=canid,canine; Anagrams=;");
  EXPECT_EQ(session_->Lookup("cat").kind, InputKind::kWord);
  EXPECT_EQ(View().substr(0, 17), "Noun,Verb,Noun* |");
}

TEST_F(LookupSessionTest, SelectedTabStaysWithItsKind) {
  session_->Lookup("dog");
  session_->SelectTab(0);  // "Kind of", which "cat" has too and "heat" has not
  session_->Lookup("cat");
  EXPECT_EQ(session_->selected_tab(), 1);
  session_->Lookup("heat");
  EXPECT_EQ(View(), "Noun | Antonyms=cold; Anagrams=;");
  EXPECT_EQ(session_->selected_tab(), 0);
}

TEST_F(LookupSessionTest, OnlyInvalidTextLeavesTheView) {
  session_->Lookup("cat");
  EXPECT_EQ(session_->Lookup("cat!").kind, InputKind::kInvalid);
  EXPECT_EQ(session_->current_word(), "cat!");
  EXPECT_EQ(View().substr(0, 17), "Noun,Verb,Noun* |");  // nothing else changes
  const LookupResult pattern = session_->Lookup("ice ?ream");
  EXPECT_EQ(pattern.matches.words, Strings({"ice cream"}));
  EXPECT_EQ(pattern.matches.status, "Found 1 match");
  EXPECT_EQ(View(), " |");
  session_->Lookup("cat");
  session_->Lookup("blorp");
  EXPECT_EQ(View(), " |");
}

TEST_F(LookupSessionTest, UnknownWordsGetSuggestions) {
  const std::pair<const char*, Strings> cases[] = {
      {"felin", {"felid", "feline"}},  // one edit each, equally common: alphabetical
      {"cta", {"cat"}},                // once, though the custom database has it too
      {"ice craem", {"ice cream"}},
      {"zorp", {"zorb", "morn"}},  // a custom word, then two edits
      {"dgo", {"dog", "go"}},
      {"xy", {}},  // two letters get none
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(session_->Lookup(text).suggestions, expected) << text;
  EXPECT_TRUE(session_->Lookup("cta!").suggestions.empty());  // invalid text
}

TEST_F(LookupSessionTest, UnreadableCustomDatabaseKnowsNothing) {
  // The records go; the index still lists them, so every query of those words fails.
  std::filesystem::resize_file(data_.Path(program::kCustomDataFile), 0);
  EXPECT_FALSE(session_->IsKnown("zorb"));
  EXPECT_EQ(session_->Lookup("zorb").kind, InputKind::kUnknown);
  ASSERT_TRUE(session_->Lookup("cat").senses_built);
  EXPECT_EQ(View(), "Noun,Verb | Synonyms=cat,true cat; Kind of=felid,feline; Anagrams=;");

  CustomDb_Close(&custom_);
  session_->Lookup("cats");
  EXPECT_EQ(View(), "Noun,Verb | Synonyms=cat,true cat; Kind of=felid,feline; Anagrams=;");
  LookupSession no_engine(nullptr, &custom_);
  EXPECT_EQ(no_engine.Lookup("cat").kind, InputKind::kUnknown);
  EXPECT_EQ(no_engine.Lookup("c?t").matches.status, "Found 0 matches");
}

TEST_F(LookupSessionTest, PaneQueriesAnswerAsTheCustomDatabaseDoes) {
  for (const char* word : {"cat", "zorb", "upon", "blorp"}) {
    const CustomWordData data(custom_, word);
    EXPECT_TRUE(data.ok());
    for (int kind = 0; kind < kRelationCount; ++kind) {
      SCOPED_TRACE(std::string(word) + " " + PaneTitle(kind));
      Strings expected, got;
      EXPECT_EQ(kCustomRelations[kind].get(custom_, word, &expected), kCustomOk);
      EXPECT_TRUE(data.Get(kind, &got));
      EXPECT_EQ(got, expected);
      EXPECT_EQ(data.Has(kind), kCustomRelations[kind].has(custom_, word));
    }
  }
  // Neither source answers: false and no words, even stale ones.
  Strings words = {"stale"};
  EXPECT_FALSE(PaneWords(engine_, CustomWordData(), 0, "blorp", {0}, &words));
  EXPECT_TRUE(words.empty());
  EXPECT_TRUE(PaneHasContent(nullptr, CustomWordData(), kAnagramsPane, "", {}));
}

}  // namespace
}  // namespace lookup
