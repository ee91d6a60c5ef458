// The irregular forms and suffix rules over an injected dictionary: which base forms each
// inflected form gives, in which order, under which part-of-speech checks, and that the text's
// own rules still come first.
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/lookup/inflections.h"
#include "tools/mkdata_forms.h"

namespace lookup {
namespace {

using Strings = std::vector<std::string>;

constexpr uint32_t kN = 1, kV = 2, kA = 4;

// Words and their parts of speech as PosMaskFunction gives them.
const std::map<std::string, uint32_t> kWords = {
    {"go", kV},       {"mouse", kN},    {"leaf", kN},   {"leave", kN | kV},
    {"city", kN},     {"church", kN},   {"quick", kA},  {"new", kA},
    {"gras", kN},     {"have", kV},     {"ax", kN},     {"axis", kN},
    {"axe", kN | kV}, {"attorney", kN}, {"give", kV},   {"attorney_general", kN},
    {"give_up", kV},  {"bake", kV},     {"baked", kA},  {"cat", kN},
    {"good", kA},     {"well", kA | 8}, {"better", kA},
};

uint32_t Mask(const std::string& word) {
  const auto it = kWords.find(word);
  return it == kWords.end() ? 0 : it->second;
}

IrregularForms Forms() {
  std::vector<uint8_t> bytes;
  mkdata::FormsReport report;
  std::string error;
  EXPECT_TRUE(mkdata::BuildFormsFile({{"went", 2, {"go"}},
                                      {"mice", 1, {"mouse"}},
                                      {"mice", 2, {"unlisted"}},
                                      {"leaves", 1, {"leaf", "leave"}},
                                      {"axes", 1, {"ax", "axis"}},
                                      {"gave", 2, {"give"}},
                                      {"better", 3, {"good", "well"}},
                                      {"better", 4, {"well"}}},
                                     &bytes, &report, &error))
      << error;
  return IrregularForms::FromBytes(bytes);
}

TEST(Inflections, BasesComeFromTheListsThenTheSuffixRules) {
  const IrregularForms forms = Forms();
  const std::pair<const char*, Strings> cases[] = {
      {"went", {"go"}},
      {"mice", {"mouse"}},              // the verb list's base is no word
      {"leaves", {"leaf", "leave"}},    // the rules' "leave" is a repeat
      {"axes", {"ax", "axis", "axe"}},  // lists before rules
      {"cities", {"city"}},
      {"churches", {"church"}},
      {"quickest", {"quick"}},
      {"news", {}},                                 // "new" is no noun and no verb
      {"haver", {}},                                // "have" is no adjective
      {"grass", {}},                                // a noun's "ss" is not cut
      {"attorneys_general", {"attorney_general"}},  // each word of a phrase on its own
      {"gave_up", {"give_up"}},
      {"better", {"good", "well"}},
  };
  for (const auto& [word, expected] : cases)
    EXPECT_EQ(InflectionBases(word, forms, Mask), expected) << word;

  // A long phrase whose every word reduces: the combinations tried stop at the limit.
  std::string phrase = "cities", reduced = "city";
  for (int i = 0; i < 15; ++i) {
    phrase += "_cities";
    reduced += "_city";
  }
  size_t asked = 0;
  const PosMaskFunction mask = [&](const std::string& w) {
    ++asked;
    return w == reduced || w == "city" ? kN : 0u;
  };
  EXPECT_EQ(InflectionBases(phrase, forms, mask), Strings({reduced}));
  EXPECT_LT(asked, 2 * kMaxPhraseCombinations);
}

TEST(Inflections, TheTextsOwnRulesComeFirst) {
  const IrregularForms forms = Forms();
  const IsKnownFunction known = [](const std::string& w) { return Mask(w) != 0; };
  const std::tuple<const char*, const char*, Strings> cases[] = {
      // text, the base looked up ("" for none), the other bases
      {"cats", "cat", {}},
      {"baked", "baked", {"bake"}},  // the text's first rule keeps a listed word
      {"better", "better", {"good", "well"}},
      {"leaves", "leave", {"leaf"}},  // a final "s" cut first
      {"went", "go", {}},
      {"attorneys general", "attorney general", {}},
      {"blorps", "", {}},
  };
  for (const auto& [text, base, others] : cases) {
    const BaseForms found = ResolveBaseForms(text, &forms, known, Mask);
    EXPECT_EQ(found.found ? found.base : "", base) << text;
    EXPECT_EQ(found.others, others) << text;
  }
  // Without the table (missing or damaged file) only the text's rules run.
  const IrregularForms missing;
  EXPECT_FALSE(ResolveBaseForms("went", &missing, known, Mask).found);
  EXPECT_TRUE(ResolveBaseForms("baked", nullptr, known, Mask).others.empty());
}

}  // namespace
}  // namespace lookup
