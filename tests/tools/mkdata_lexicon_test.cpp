// The reader and the mapping on hand-made databases; malformed lines are refused in
// mkdata_command_test.
#include "tools/mkdata_lexicon.h"

#include <gtest/gtest.h>

#include "tests/tools/wordnet_fixture.h"

namespace {

using Senses = std::vector<std::pair<uint32_t, int>>;  // synset index, frequency

class SmallLexicon : public ::testing::Test {
 protected:
  void SetUp() override { Build(wordnet_test::SmallDatabase()); }
  void Build(const wordnet_test::Files& files) {
    wordnet_test::Write(source_.path().string(), files);
    std::string error;
    db_ = std::make_unique<wordnet::Database>();
    ASSERT_TRUE(wordnet::ReadDatabase(source_.path().string(), db_.get(), &error)) << error;
    ASSERT_TRUE(mkdata::BuildLexicon(*db_, &lexicon_, &report_, &error)) << error;
  }
  Senses SensesOf(const std::string& text, int pos) {
    Senses out;
    for (const auto& word : lexicon_.words) {
      if (word.text != text) continue;
      for (const auto& s : word.senses[pos - 1])
        out.emplace_back(s.synset, s.frequency);
    }
    return out;
  }

  test_support::ScratchFolder source_;
  std::unique_ptr<wordnet::Database> db_;
  datafiles::Lexicon lexicon_;
  mkdata::LexiconReport report_;
};

TEST_F(SmallLexicon, WordsAreSortedCaseBlindAfterTheSentinel) {
  std::vector<std::string> texts;
  for (const auto& word : lexicon_.words)
    texts.push_back(word.text);
  EXPECT_EQ(texts, (std::vector<std::string>{
                       " ", "bad", "badly", "big_bad", "cat", "computerized_tomography", "Einstein",
                       "feline", "fine", "good", "goodish", "goodness", "ice_cream", "physicist",
                       "PM", "true_cat", "vomit", "well", "wildcat"}));
  for (int pos = 0; pos < 4; ++pos)
    EXPECT_TRUE(lexicon_.words[0].senses[pos].empty());
}

TEST_F(SmallLexicon, ReportCountsWhatTheMappingDid) {
  EXPECT_EQ(report_.case_variant_lemmas, 2u);  // cat/CAT, Pm/PM
  EXPECT_EQ(report_.repeated_forms, 1u);       // "Pm PM" in one synset
  // Pointers: adjective and adverb "+" dropped, good's second antonym pointer repeats the first.
  EXPECT_EQ(report_.pointers_kept, 16u);
  EXPECT_EQ(report_.pointers_repeated, 1u);
  EXPECT_EQ(report_.dropped_by_symbol, (std::map<std::string, size_t>{{"adj +", 1}, {"adv +", 1}}));
  EXPECT_EQ(report_.kept_by_symbol.at("noun @i"), 1u);
}

// Synset indexes: nouns 0-9, verbs 10-11, adjectives 12-14, adverbs 15-16, each in file order.
TEST_F(SmallLexicon, SensesFollowIndexOrderWithFrequenciesBySenseKey) {
  // "cat%1:04:00::" says sense 1 but names the CAT synset, the second sense.
  EXPECT_EQ(SensesOf("cat", 1), (Senses{{0, 18}, {3, 4}}));
  EXPECT_EQ(SensesOf("cat", 2), (Senses{{10, 0}, {11, 3}}));
  EXPECT_EQ(SensesOf("PM", 1), (Senses{{8, 0}, {7, 0}}));  // index order, not file order
  EXPECT_EQ(SensesOf("fine", 3), (Senses{{14, 255}}));     // satellite key, capped
  EXPECT_EQ(SensesOf("good", 3), (Senses{{12, 7}}));
  EXPECT_EQ(SensesOf("big_bad", 3), (Senses{{13, 0}}));
  EXPECT_EQ(SensesOf("well", 4), (Senses{{15, 0}}));
  EXPECT_EQ(report_.senses, 22u);
  EXPECT_EQ(report_.counts_without_sense, 1u);  // dog
}

TEST_F(SmallLexicon, FormInNoIndexFileBecomesAWordWithItsSynsets) {
  wordnet_test::Files files = wordnet_test::SmallDatabase();
  files["data.noun"][2] = "{wildcat} 05 n 02 wildcat 0 Felis_silvestris 0 001 @ {cat1} n 0000 | w";
  Build(files);
  EXPECT_EQ(report_.forms_without_index, 1u);
  EXPECT_EQ(lexicon_.words[8].text, "Felis_silvestris");  // after "feline"
  EXPECT_EQ(SensesOf("Felis_silvestris", 1), (Senses{{2, 0}}));
}

// Word counts are hexadecimal, pointer counts decimal; CR, trailing blanks and blank lines pass.
TEST(MkdataReader, DataLineFieldsHaveTheirBases) {
  std::string line = "\r\n00000002 03 n 0a";
  for (int i = 0; i < 10; ++i)
    line += " w" + std::to_string(i) + " a";  // lex_id a = 10
  line += " 010";
  for (int i = 0; i < 10; ++i)
    line += " @ 00000002 n 0000";
  line += " | ten words, ten pointers  \r\n\n";
  std::vector<wordnet::Synset> synsets;
  std::string error;
  ASSERT_TRUE(wordnet::ParseDataFile(line, "data.noun", 1, &synsets, &error)) << error;
  ASSERT_EQ(synsets.size(), 1u);
  EXPECT_EQ(synsets[0].line, 2u);
  EXPECT_EQ(synsets[0].lex_ids, std::vector<uint8_t>(10, 10));
  EXPECT_EQ(synsets[0].pointers.size(), 10u);
  EXPECT_EQ(synsets[0].gloss, "ten words, ten pointers");
}

TEST(MkdataLexicon, AnagramWordsAreLowerCaseLettersOnceEachInByteOrder) {
  datafiles::Lexicon lexicon;
  for (const char* text : {" ", "bad", "Einstein", "ice_cream", "PM", "zebra", "x-ray"}) {
    lexicon.words.emplace_back();
    lexicon.words.back().text = text;
  }
  std::vector<std::string> list = {
      "zebra", "Aaron", "don't", "abc", "caf\xc3\xa9", std::string(127, 'q'), std::string(128, 'q'),
      "abc",   "a"};
  mkdata::AnagramReport report;
  std::vector<std::string> words = mkdata::AnagramWords(list, lexicon, &report);
  EXPECT_EQ(words, (std::vector<std::string>{"a", "abc", "bad", std::string(127, 'q'), "zebra"}));
  EXPECT_EQ(report.lemma_words, 5u);  // bad, Einstein, PM, zebra, x-ray
  EXPECT_EQ(report.rejected, 7u);     // Aaron, don't, café, 128 q, Einstein, PM, x-ray
}

TEST(MkdataLexicon, WordListIsOneWordALine) {
  test_support::ScratchFolder folder;
  wordnet_test::WriteText(folder.Path("words"), "cat\r\ndog\n\nemu");
  std::vector<std::string> words;
  std::string error;
  ASSERT_TRUE(mkdata::ReadWordList(folder.Path("words"), &words, &error)) << error;
  EXPECT_EQ(words, (std::vector<std::string>{"cat", "dog", "emu"}));
}

TEST(MkdataLexicon, MissingWordListIsNamed) {
  test_support::ScratchFolder folder;
  std::vector<std::string> words;
  std::string error;
  EXPECT_FALSE(mkdata::ReadWordList(folder.Path("absent"), &words, &error));
  EXPECT_EQ(error, folder.Path("absent") + ": cannot be opened");
}

}  // namespace
