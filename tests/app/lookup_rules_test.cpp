// The lookup rules that need no dictionary: text normalisation and classification, base forms
// over an injected word list, definitions and examples, the selection code, the pane sets, the
// entry checks and the anagram order.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/lookup/anagram_list.h"
#include "app/lookup/custom_entry.h"
#include "app/lookup/panes.h"
#include "app/lookup/senses.h"
#include "app/lookup/text_rules.h"

namespace lookup {
namespace {

using Strings = std::vector<std::string>;

TEST(TextRules, LookupBoxTextForms) {
  const char* forms[][3] = {
      // input, normalised, index form
      {"  Cats \t", "cats", "cats"},
      {"Ice Cream", "ice cream", "ice_cream"},
      {"\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},  // ÉTÉ
      {"\xD0\x9C\xD0\x98\xD0\xA0", "\xD0\xBC\xD0\xB8\xD1\x80", "\xD0\xBC\xD0\xB8\xD1\x80"},
      {"\xC5\xB8 \xC4\xB9", "\xC3\xBF \xC4\xBA", "\xC3\xBF_\xC4\xBA"},  // Ÿ Ĺ
      {"A\xFF", "a\xFF", "a\xFF"},  // a stray byte passes through
  };
  for (const auto& f : forms) {
    EXPECT_EQ(NormaliseLookupText(f[0]), f[1]) << f[0];
    EXPECT_EQ(ToIndexForm(f[0]), f[2]) << f[0];
  }
  EXPECT_EQ(ToDisplayForm("ice_cream_"), "ice cream");
  EXPECT_EQ(UpperFirst("\xC3\xA9t\xC3\xA9"), "\xC3\x89t\xC3\xA9");
}

TEST(TextRules, ClassifiesTheTypedCharacters) {
  // Patterns: "?*[]" with letters and spaces only. Anything else but letters and spaces is
  // invalid, including bytes that are not UTF-8.
  for (const char* text : {"c?t", "*ness", "[ab]c", "ice ?ream", "caf\xC3\xA9?"}) {
    EXPECT_TRUE(IsLookupPattern(text)) << text;
    EXPECT_TRUE(HasInvalidCharacters(text)) << text;
  }
  for (const char* text : {"c?t!", "[!a]pple", "2?d", "a-b", "a_b", "\xE2\x82\xAC", "a\xC3"}) {
    EXPECT_FALSE(IsLookupPattern(text)) << text;
    EXPECT_TRUE(HasInvalidCharacters(text)) << text;
  }
  for (const char* text : {"ice cream", "", "caf\xC3\xA9"}) {
    EXPECT_FALSE(IsLookupPattern(text)) << text;
    EXPECT_FALSE(HasInvalidCharacters(text)) << text;
  }
}

TEST(TextRules, BaseFormRulesStopAtTheFirstKnownForm) {
  const std::set<std::string> known = {"cat", "bake", "walk", "make", "morning",
                                       "x",   "xe",   "bee",  "be",   "ice_skate"};
  const char* cases[][3] = {
      // text, the words asked for in order, the base form ("" when none is known)
      {"  CATS ", "cats cat", "cat"},
      {"baked", "baked bake", "bake"},
      {"walked", "walked walke walk", "walk"},
      {"making", "making mak make", "make"},
      {"morning", "morning", "morning"},
      {"bees", "bees bee", "bee"},
      {"ice skating", "ice_skating ice_skat ice_skate", "ice_skate"},
      {"xing", "xing", ""},  // four letters: never reduced
      {"walkeds", "walkeds walked", ""},
      {"ed", "ed", ""},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    std::string asked;
    const IsKnownFunction is_known = [&](const std::string& w) {
      asked += (asked.empty() ? "" : " ") + w;
      return known.count(w) != 0;
    };
    std::string base;
    const bool found = FindBaseForm(c[0], is_known, &base);
    EXPECT_EQ(found ? base : "", c[2]);
    EXPECT_EQ(asked, c[1]);
  }
}

TEST(Senses, DefinitionIsCutBeforeTheFirstSemicolon) {
  EXPECT_EQ(CutDefinition("  feline mammal ; \"cats purr\""), "Feline mammal");
  EXPECT_EQ(CutDefinition(";only examples"), "");
}

TEST(Senses, ExamplesAreCleanedForDisplay) {
  EXPECT_EQ(GlossExamples("a canid ;\"the dog barked\"; ;x"), Strings({"The dog barked", "X"}));
  EXPECT_EQ(CustomExamples("first one^ \"quoted\" ^^last"),
            Strings({"First one", "Quoted", "Last"}));
  EXPECT_TRUE(TextHasExamples("a;b"));
  EXPECT_FALSE(TextHasExamples(";b"));
}

// Rows with the given part-of-speech codes, checked unless negative, each with an example.
std::vector<SenseRow> Rows(const std::vector<int>& codes) {
  std::vector<SenseRow> rows(codes.size());
  for (size_t i = 0; i < codes.size(); ++i) {
    rows[i].number = static_cast<int>(i) + 1;
    rows[i].pos = static_cast<uint32_t>(std::abs(codes[i]));
    rows[i].checked = codes[i] > 0;
    rows[i].examples = {"Cats purr"};
  }
  return rows;
}

TEST(Senses, SelectionCodeSumsTheCheckedParts) {
  const std::pair<std::vector<int>, int> cases[] = {
      {{}, 0},        {{-1, -2}, 0},      {{1, 1, -2}, 1},
      {{2, 3}, 6},    {{1, 5}, 1},        {{5}, 16},
      {{10, -1}, 16}, {{1, 2, 3, 4}, 15}, {{1, 2, 3, 4, 9}, 16},
      {{11}, 0},  // a code without a name counts for nothing
  };
  for (const auto& [codes, expected] : cases)
    EXPECT_EQ(PosSelectionCode(Rows(codes)), expected) << testing::PrintToString(codes);
  EXPECT_EQ(PosToggleStates(6), (std::array<bool, 4>{false, true, true, false}));
  EXPECT_EQ(PosToggleStates(16), (std::array<bool, 4>{}));
  EXPECT_STREQ(PosName(11), "");
  EXPECT_EQ(SelectedSenses(Rows({-1, 2, -3, 4})), std::vector<uint32_t>({1, 3}));
}

TEST(Senses, UsageRowsHeadEachSensesExamples) {
  const std::vector<UsageRow> usage = BuildUsageRows(Rows({10, -1}));
  ASSERT_EQ(usage.size(), 4u);
  EXPECT_EQ(usage[0].text, "Sense  1 : Other");
  EXPECT_EQ(usage[3].text, "   \"Cats purr\"");
  EXPECT_EQ(usage[3].sense, 2);
}

TEST(Panes, EachCodeTriesItsSet) {
  for (int code = 0; code <= 16; ++code) {
    const std::vector<int>& set = PaneSetForCode(code);
    EXPECT_TRUE(std::is_sorted(set.begin(), set.end())) << code;
    // Anagrams for every code but 0; Synonyms wherever anything is tried.
    EXPECT_EQ(std::count(set.begin(), set.end(), kAnagramsPane), code != 0 ? 1 : 0) << code;
    EXPECT_TRUE(code == 0 || set.front() == 0) << code;
  }
  EXPECT_EQ(PaneSetForCode(16), std::vector<int>({0, 22}));
  EXPECT_EQ(PaneSetForCode(15).size(), 23u);
  EXPECT_TRUE(PaneSetForCode(17).empty());
  EXPECT_TRUE(PaneSetForCode(-1).empty());
}

TEST(Panes, MaskHidesRelationPanesOnly) {
  EXPECT_TRUE(PaneEnabled(kAnagramsPane, 0));
  EXPECT_FALSE(PaneEnabled(0, ~1u));
  EXPECT_TRUE(PaneEnabled(21, 1u << 21));
  EXPECT_FALSE(PaneEnabled(23, kAllPanes));
}

TEST(Panes, KindFromTitleOrTabLabel) {
  EXPECT_EQ(PaneKindFromTitle("kind OF"), 2);
  EXPECT_EQ(PaneKindFromTitle("See Also"), 8);  // the custom tab's label for "Also see"
  EXPECT_EQ(PaneKindFromTitle("Kind"), -1);
}

TEST(Panes, SelectedTabFollowsItsKind) {
  EXPECT_EQ(TabToSelect({0, 2, 22}, 2), 1);
  EXPECT_EQ(TabToSelect({0, 2, 22}, 22), 0);  // the anagram view is never reselected
  EXPECT_EQ(TabToSelect({}, 2), -1);
}

TEST(CustomEntry, ChecksInTheDialogsOrder) {
  struct Case {
    const char* word;
    const char* definition;
    const char* message;  // "" when valid
    EntryField clear;
    EntryDialog dialog = EntryDialog::kAdd;
  } cases[] = {
      {"  ", "x", kEnterWordMessage, EntryField::kNone},
      {"ice-cream", "", kInvalidWordMessage, EntryField::kWord},
      {"caf\xC3\xA9", "x", kInvalidWordMessage, EntryField::kWord},
      {"ice cream", " ", kEnterDefinitionMessage, EntryField::kNone},
      {"ice cream", "a; b", kInvalidDefinitionMessage, EntryField::kDefinition},
      {"ice cream", "route 66", "", EntryField::kNone},
      {"ice cream", "route 66", kInvalidDefinitionMessage, EntryField::kDefinition,
       EntryDialog::kEdit},
      {"abcdefghijklmnopqrstuvwxyz", "x", kWordTooLongMessage, EntryField::kWord},
  };
  CustomEntryForm form;
  CustomEntryValues values;
  for (const Case& c : cases) {
    form.word = c.word;
    form.definition = c.definition;
    const EntryCheck check = ValidateCustomEntry(form, c.dialog, &values);
    EXPECT_EQ(check.message, c.message) << c.word << " / " << c.definition;
    EXPECT_EQ(check.clear, c.clear) << c.word << " / " << c.definition;
  }
}

TEST(CustomEntry, ValidFormGivesTheStoredValues) {
  CustomEntryForm form;
  CustomEntryValues values;
  form.word = "  Ice Cream ";
  form.definition = " a frozen dessert ";
  form.type_index = 1;  // verb: no "Part of" (slot 3)
  form.examples = {" first ", "", "  ", "second"};
  form.related[0] = {"Gelato", "", " sorbet"};
  form.related[3] = {"ignored"};
  ASSERT_TRUE(ValidateCustomEntry(form, EntryDialog::kAdd, &values).ok());
  EXPECT_EQ(values.key, "ice_cream");
  EXPECT_EQ(values.definition, "a frozen dessert");
  EXPECT_EQ(values.examples, "first^second^");
  // The edit dialog splits the text back; texts of other writers lose nothing either.
  EXPECT_EQ(SplitCustomExamples(values.examples), Strings({"first", "second"}));
  EXPECT_EQ(SplitCustomExamples("^a^^b"), Strings({"a", "b"}));
  EXPECT_EQ(values.related[0], Strings({"Gelato", " sorbet"}));
  EXPECT_TRUE(values.related[3].empty());
}

TEST(CustomEntry, TextsHoldingTheRecordsSeparatorsAreRefused) {
  CustomEntryForm form;
  CustomEntryValues values;
  form.word = "ice cream";
  form.definition = "a frozen dessert";
  form.examples = {"100% sure"};
  EXPECT_EQ(ValidateCustomEntry(form, EntryDialog::kAdd, &values).message, kInvalidExampleMessage);
  form.examples = {"up^down"};
  EXPECT_EQ(ValidateCustomEntry(form, EntryDialog::kAdd, &values).clear, EntryField::kExamples);
  form.examples.clear();
  form.related[0] = {"50%"};
  EXPECT_EQ(ValidateCustomEntry(form, EntryDialog::kAdd, &values).message,
            kInvalidRelatedWordMessage);
}

TEST(AnagramList, SortsWithoutRegardToCaseSpaceFirst) {
  Strings list = {"eats", "Tea eat", "eat tea", "ate", "b", "A"};
  SortAnagrams(&list);
  EXPECT_EQ(list, Strings({"A", "ate", "b", "eat tea", "eats", "Tea eat"}));
  EXPECT_EQ(AnagramStatusText(1), "Found 1 anagram");
  EXPECT_EQ(AnagramStatusText(0), "Found 0 anagrams");
}

}  // namespace
}  // namespace lookup
