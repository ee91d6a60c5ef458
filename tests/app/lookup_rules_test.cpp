// The lookup rules that need no dictionary: text normalisation and classification, base forms
// over an injected word list, definitions and examples, the selection code, the pane sets, the
// usage rows, the entry checks and the anagram order.
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

TEST(TextRules, NormalisesCaseSpaceAndForms) {
  struct Case {
    const char* in;
    const char* normalised;
    const char* index_form;
  };
  const Case cases[] = {
      {"  Cats \t", "cats", "cats"},
      {"Ice Cream", "ice cream", "ice_cream"},
      {"\n", "", ""},
      {"\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},  // ÉTÉ
      {"\xD0\x9C\xD0\x98\xD0\xA0", "\xD0\xBC\xD0\xB8\xD1\x80", "\xD0\xBC\xD0\xB8\xD1\x80"},
      {"\xC5\xB8 \xC4\xB9", "\xC3\xBF \xC4\xBA", "\xC3\xBF_\xC4\xBA"},  // Ÿ Ĺ
      {"A\xFF"
       "B",
       "a\xFF"
       "b",
       "a\xFF"
       "b"},  // a stray byte passes through
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(NormaliseLookupText(c.in), c.normalised);
    EXPECT_EQ(ToIndexForm(c.in), c.index_form);
  }
  EXPECT_EQ(ToDisplayForm("ice_cream_"), "ice cream");
  EXPECT_EQ(UpperFirst("\xC3\xA9t\xC3\xA9"), "\xC3\x89t\xC3\xA9");
  EXPECT_EQ(UpperFirst("1st"), "1st");
  EXPECT_EQ(UpperFirst(""), "");
}

TEST(TextRules, TellsPatternsFromWordsAndInvalidText) {
  struct Case {
    const char* text;
    bool pattern;
    bool invalid;
  };
  const Case cases[] = {
      {"c?t", true, true},          {"*ness", true, true},         {"[ab]c", true, true},
      {"ice ?ream", true, true},    {"c?t!", false, true},         {"[!a]pple", false, true},
      {"rock'n?roll", false, true}, {"2?d", false, true},          {"ice cream", false, false},
      {"", false, false},           {"caf\xC3\xA9", false, false}, {"caf\xC3\xA9?", true, true},
      {"a-b", false, true},         {"a_b", false, true},          {"\xE2\x82\xAC", false, true},
      {"a\xC3", false, true},  // cut-off sequence
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(IsLookupPattern(c.text), c.pattern);
    EXPECT_EQ(HasInvalidCharacters(c.text), c.invalid);
  }
}

TEST(TextRules, BaseFormRulesStopAtTheFirstKnownCandidate) {
  const std::set<std::string> known = {"cat", "bake", "walk",  "make",      "morning", "morn",
                                       "x",   "xe",   "glass", "ice_skate", "be",      "bee"};
  std::vector<std::string> asked;
  const IsKnownFunction is_known = [&](const std::string& w) {
    asked.push_back(w);
    return known.count(w) != 0;
  };
  struct Case {
    const char* text;
    const char* base;  // nullptr: not known
  };
  const Case cases[] = {
      {"cats", "cat"},
      {"  CATS ", "cat"},
      {"baked", "bake"},
      {"walked", "walk"},
      {"making", "make"},
      {"morning", "morning"},
      {"glass", "glass"},
      {"xing", nullptr},
      {"bees", "bee"},
      {"ice skating", "ice_skate"},  // a replaced ending comes back in index form
      {"ed", nullptr},
      {"s", nullptr},
      {"", nullptr},
      {"walkeds", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string base = "unchanged";
    EXPECT_EQ(FindBaseForm(c.text, is_known, &base), c.base != nullptr);
    if (c.base != nullptr) {
      EXPECT_EQ(base, c.base);
    }
  }
  // "xing" has four letters: neither "x" nor "xe" is asked for.
  asked.clear();
  std::string base;
  FindBaseForm("xing", is_known, &base);
  EXPECT_EQ(asked, std::vector<std::string>({"xing"}));
  // "baked": the "d" goes first, so "bak" is never asked.
  asked.clear();
  FindBaseForm("baked", is_known, &base);
  EXPECT_EQ(asked, std::vector<std::string>({"baked", "bake"}));
}

TEST(Senses, CutsDefinitionsAndExamples) {
  EXPECT_EQ(CutDefinition("  feline mammal ; \"cats purr\""), "Feline mammal");
  EXPECT_EQ(CutDefinition(";only examples"), "");
  EXPECT_EQ(CutDefinition("plain"), "Plain");
  EXPECT_EQ(CutDefinition(""), "");
  EXPECT_EQ(GlossExamples("a canid ;\"the dog barked\"; ;x"),
            std::vector<std::string>({"The dog barked", "X"}));
  EXPECT_TRUE(GlossExamples("no examples").empty());
  EXPECT_EQ(CustomExamples("first one^ \"quoted\" ^^last"),
            std::vector<std::string>({"First one", "Quoted", "Last"}));
  EXPECT_TRUE(TextHasExamples("a;b"));
  EXPECT_FALSE(TextHasExamples(";b"));
  EXPECT_FALSE(TextHasExamples("a"));
}

std::vector<SenseRow> Rows(std::initializer_list<std::pair<uint32_t, bool>> rows) {
  std::vector<SenseRow> out;
  for (const auto& [pos, checked] : rows) {
    SenseRow row;
    row.number = static_cast<int>(out.size()) + 1;
    row.pos = pos;
    row.checked = checked;
    out.push_back(row);
  }
  return out;
}

TEST(Senses, SelectionCodeFromCheckedRows) {
  struct Case {
    std::vector<SenseRow> rows;
    int code;
  };
  const Case cases[] = {
      {Rows({}), 0},
      {Rows({{1, false}, {2, false}}), 0},
      {Rows({{1, true}, {1, true}, {2, false}}), 1},
      {Rows({{2, true}, {3, true}}), 6},
      {Rows({{4, true}}), 8},
      {Rows({{1, true}, {5, true}}), 1},  // another part of speech beside a noun stays 1
      {Rows({{5, true}}), 16},
      {Rows({{10, true}, {1, false}}), 16},
      {Rows({{1, true}, {2, true}, {3, true}, {4, true}}), 15},
      {Rows({{1, true}, {2, true}, {3, true}, {4, true}, {9, true}}), 16},
      {Rows({{11, true}}), 0},  // a code without a name counts for nothing
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(PosSelectionCode(cases[i].rows), cases[i].code);
  }
  EXPECT_EQ(PosToggleStates(6), (std::array<bool, 4>{false, true, true, false}));
  EXPECT_EQ(PosToggleStates(15), (std::array<bool, 4>{true, true, true, true}));
  EXPECT_EQ(PosToggleStates(16), (std::array<bool, 4>{}));
  EXPECT_EQ(SelectedSenses(Rows({{1, false}, {2, true}, {3, false}, {4, true}})),
            std::vector<uint32_t>({1, 3}));
  EXPECT_STREQ(PosName(10), "Other");
  EXPECT_STREQ(PosName(0), "");
  EXPECT_STREQ(PosName(11), "");
}

TEST(Panes, SetsByCodeAndMask) {
  for (int code = 0; code <= 16; ++code) {
    SCOPED_TRACE(code);
    const std::vector<int>& set = PaneSetForCode(code);
    EXPECT_TRUE(std::is_sorted(set.begin(), set.end()));
    // Anagrams for every code but 0; Synonyms and Antonyms wherever anything is tried.
    const bool anagrams = std::find(set.begin(), set.end(), kAnagramsPane) != set.end();
    EXPECT_EQ(anagrams, code != 0);
    if (code != 0) {
      EXPECT_EQ(set.front(), 0);
    }
  }
  EXPECT_EQ(PaneSetForCode(8), std::vector<int>({0, 1, 9, 11, 13, 15, 22}));
  EXPECT_EQ(PaneSetForCode(16), std::vector<int>({0, 22}));
  EXPECT_EQ(PaneSetForCode(15).size(), 23u);
  EXPECT_TRUE(PaneSetForCode(17).empty());
  EXPECT_TRUE(PaneSetForCode(-1).empty());

  EXPECT_TRUE(PaneEnabled(kAnagramsPane, 0));
  EXPECT_FALSE(PaneEnabled(0, ~1u));
  EXPECT_TRUE(PaneEnabled(21, 1u << 21));
  EXPECT_FALSE(PaneEnabled(21, ~(1u << 21)));
  EXPECT_FALSE(PaneEnabled(23, kAllPanes));

  EXPECT_EQ(PaneKindFromTitle("Kind of"), 2);
  EXPECT_EQ(PaneKindFromTitle("kind OF"), 2);
  EXPECT_EQ(PaneKindFromTitle("Anagrams"), kAnagramsPane);
  EXPECT_EQ(PaneKindFromTitle("See Also"), 8);  // the custom tab's label for "Also see"
  EXPECT_EQ(PaneKindFromTitle("hyponyms"), 4);
  EXPECT_EQ(PaneKindFromTitle("Kind"), -1);
}

TEST(Panes, SelectedTabFollowsItsKind) {
  EXPECT_EQ(TabToSelect({0, 2, 22}, 2), 1);
  EXPECT_EQ(TabToSelect({0, 22}, 2), 0);
  EXPECT_EQ(TabToSelect({0, 2, 22}, 22), 0);  // the anagram view is never reselected
  EXPECT_EQ(TabToSelect({}, 2), -1);
}

TEST(Senses, UsageRowsHeadEachSense) {
  std::vector<SenseRow> rows = Rows({{1, true}, {2, false}, {9, true}});
  rows[0].examples = {"Cats purr", "Quiet"};
  rows[2].examples = {"The end"};
  const std::vector<UsageRow> usage = BuildUsageRows(rows);
  ASSERT_EQ(usage.size(), 5u);
  EXPECT_EQ(usage[0].text, "Sense  1 : Noun");
  EXPECT_TRUE(usage[0].heading);
  EXPECT_EQ(usage[1].text, "   \"Cats purr\"");
  EXPECT_EQ(usage[2].text, "   \"Quiet\"");
  EXPECT_EQ(usage[3].text, "Sense  3 : Article");
  EXPECT_EQ(usage[4].sense, 3);
}

TEST(CustomEntry, ChecksInTheDialogsOrder) {
  struct Case {
    const char* word;
    const char* definition;
    EntryDialog dialog;
    const char* message;  // "" when valid
    EntryField clear;
  };
  const Case cases[] = {
      {"  ", "x", EntryDialog::kAdd, kEnterWordMessage, EntryField::kNone},
      {"ice-cream", "", EntryDialog::kAdd, kInvalidWordMessage, EntryField::kWord},
      {"caf\xC3\xA9", "x", EntryDialog::kAdd, kInvalidWordMessage, EntryField::kWord},
      {"ice cream", " ", EntryDialog::kAdd, kEnterDefinitionMessage, EntryField::kNone},
      {"ice cream", "frozen; sweet", EntryDialog::kAdd, kInvalidDefinitionMessage,
       EntryField::kDefinition},
      {"ice cream", "route 66", EntryDialog::kAdd, "", EntryField::kNone},
      {"ice cream", "route 66", EntryDialog::kEdit, kInvalidDefinitionMessage,
       EntryField::kDefinition},
      {"abcdefghijklmnopqrstuvwxyz", "x", EntryDialog::kAdd, kWordTooLongMessage,
       EntryField::kWord},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.word) + " / " + c.definition);
    CustomEntryForm form;
    form.word = c.word;
    form.definition = c.definition;
    CustomEntryValues values;
    const EntryCheck check = ValidateCustomEntry(form, c.dialog, &values);
    EXPECT_EQ(check.message, c.message);
    EXPECT_EQ(check.clear, c.clear);
  }
}

TEST(CustomEntry, BuildsTheStoredValues) {
  CustomEntryForm form;
  form.word = "  Ice Cream ";
  form.definition = " a frozen dessert ";
  form.type_index = 1;  // verb: Synonyms, Antonyms, Kind of, ... but no "Part of"
  form.examples = {" first ", "", "  ", "second"};
  form.related[0] = {"Gelato", "", " sorbet"};
  form.related[3] = {"ignored"};
  CustomEntryValues values;
  ASSERT_TRUE(ValidateCustomEntry(form, EntryDialog::kAdd, &values).ok());
  EXPECT_EQ(values.key, "ice_cream");
  EXPECT_EQ(values.definition, "a frozen dessert");
  EXPECT_EQ(values.examples, "first^second^");
  EXPECT_EQ(values.related[0], std::vector<std::string>({"Gelato", " sorbet"}));
  EXPECT_TRUE(values.related[3].empty());

  // Texts that would break the record's separators are refused.
  form.examples = {"100% sure"};
  EXPECT_EQ(ValidateCustomEntry(form, EntryDialog::kAdd, &values).message, kInvalidExampleMessage);
  form.examples = {"up^down"};
  EXPECT_EQ(ValidateCustomEntry(form, EntryDialog::kAdd, &values).clear, EntryField::kExamples);
  form.examples.clear();
  form.related[0] = {"50%"};
  EXPECT_EQ(ValidateCustomEntry(form, EntryDialog::kAdd, &values).message,
            kInvalidRelatedWordMessage);

  EXPECT_EQ(CustomTypeFromName("adjective"), 2);
  EXPECT_EQ(CustomTypeFromName("ADJ"), 2);
  EXPECT_EQ(CustomTypeFromName("Other"), -1);
  EXPECT_EQ(CustomSlotFromName("kind of"), 2);
  EXPECT_EQ(CustomSlotFromName("Hypernyms"), 2);
  EXPECT_EQ(CustomSlotFromName("See Also"), 8);
  EXPECT_EQ(CustomSlotFromName("Anagrams"), -1);
  EXPECT_EQ(CustomTabSlots(7), std::vector<int>({0}));
}

TEST(AnagramList, SortsWithoutRegardToCaseSpaceFirst) {
  std::vector<std::string> list = {"eats", "Tea eat", "eat tea", "ate", "b", "A"};
  SortAnagrams(&list);
  EXPECT_EQ(list, std::vector<std::string>({"A", "ate", "b", "eat tea", "eats", "Tea eat"}));
  EXPECT_EQ(AnagramStatusText(1), "Found 1 anagram");
  EXPECT_EQ(AnagramStatusText(0), "Found 0 anagrams");
}

}  // namespace
}  // namespace lookup
