#include "tools/mkdata_meaning_terms.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

datafiles::Lexicon Words(std::vector<std::string> texts) {
  datafiles::Lexicon lexicon;
  lexicon.words.resize(texts.size() + 1);
  for (size_t i = 0; i < texts.size(); ++i)
    lexicon.words[i + 1].text = texts[i];
  return lexicon;
}

std::vector<uint32_t> TermsOf(mkdata::Vocabulary* vocabulary, const std::string& text) {
  std::vector<uint32_t> terms;
  vocabulary->Terms(text, &terms);
  return terms;
}

// Words become terms as a description's words do: case and inflection fold onto the known
// base form, function words give none, and terms are numbered in the order first met.
TEST(MeaningVocabulary, WordsMeetTheirTerms) {
  const datafiles::Lexicon lexicon = Words({"cat", "bake", "Bread"});
  mkdata::Vocabulary vocabulary(lexicon);
  EXPECT_EQ(TermsOf(&vocabulary, "The cats baked bread"), (std::vector<uint32_t>{0, 1, 2}));
  EXPECT_EQ(TermsOf(&vocabulary, "BREAD; a cat, of cats"), (std::vector<uint32_t>{2, 0, 0}));
  EXPECT_EQ(TermsOf(&vocabulary, "zebras bake"), (std::vector<uint32_t>{3, 1}));
  EXPECT_EQ(vocabulary.texts(), (std::vector<std::string>{"cat", "bake", "bread", "zebras"}));
}

// Far more distinct words than the table first holds: every word keeps its term as the table
// grows, and no two words share one.
TEST(MeaningVocabulary, TermsSurviveTheTableGrowing) {
  const datafiles::Lexicon lexicon = Words({"cat"});
  mkdata::Vocabulary vocabulary(lexicon);
  constexpr uint32_t kWords = 300000;
  for (uint32_t i = 0; i < kWords; ++i) {
    ASSERT_EQ(TermsOf(&vocabulary, "w" + std::to_string(i)), std::vector<uint32_t>{i});
  }
  for (uint32_t i = 0; i < kWords; i += 997) {
    ASSERT_EQ(TermsOf(&vocabulary, "W" + std::to_string(i)), std::vector<uint32_t>{i});
  }
  EXPECT_EQ(vocabulary.texts().size(), kWords);
}

}  // namespace
