#include "tools/mkdata_lexicon.h"

#include <gtest/gtest.h>

#include "engine/nymdex.h"
#include "tests/tools/wordnet_fixture.h"

namespace {

using wordnet_test::TempFolder;

// Word identifiers of the small database: its 18 lemmas in case-folded order.
enum WordId : uint32_t {
  kBad = 1,
  kBadly,
  kBigBad,
  kCat,
  kComputerizedTomography,
  kEinstein,
  kFeline,
  kFine,
  kGood,
  kGoodish,
  kGoodness,
  kIceCream,
  kPhysicist,
  kPm,
  kTrueCat,
  kVomit,
  kWell,
  kWildcat
};
// Synset indexes: nouns, verbs, adjectives, adverbs, each in file order.
enum SynsetIndex : uint32_t {
  sCat1,
  sFeline,
  sWildcat,
  sCt,
  sEinstein,
  sPhysicist,
  sIceCream,
  sPm1,
  sPm2,
  sGoodness,
  sCatVerb,
  sVomit,
  sGood,
  sBadAdj,
  sFine,
  sWell,
  sBadly
};

class SmallLexicon : public ::testing::Test {
 protected:
  void SetUp() override {
    wordnet_test::Write(source_.path(), wordnet_test::SmallDatabase());
    std::string error;
    ASSERT_TRUE(wordnet::ReadDatabase(source_.path(), &db_, &error)) << error;
    ASSERT_TRUE(mkdata::BuildLexicon(db_, &lexicon_, &report_, &error)) << error;
  }

  TempFolder source_;
  wordnet::Database db_;
  datafiles::Lexicon lexicon_;
  mkdata::LexiconReport report_;
};

TEST_F(SmallLexicon, WordsAreFoldedSortedAndNumberedAfterTheSentinel) {
  std::vector<std::string> texts;
  for (const auto& word : lexicon_.words)
    texts.push_back(word.text);
  EXPECT_EQ(texts, (std::vector<std::string>{
                       " ", "bad", "badly", "big_bad", "cat", "computerized_tomography", "Einstein",
                       "feline", "fine", "good", "goodish", "goodness", "ice_cream", "physicist",
                       "PM", "true_cat", "vomit", "well", "wildcat"}));
  for (int pos = 0; pos < 4; ++pos)
    EXPECT_TRUE(lexicon_.words[0].senses[pos].empty());
  EXPECT_EQ(report_.words, 18u);
  EXPECT_EQ(report_.case_variant_lemmas, 2u);  // cat/CAT, Pm/PM
  EXPECT_EQ(report_.repeated_forms, 1u);       // "Pm PM" in one synset
  EXPECT_EQ(report_.forms_without_index, 0u);
  EXPECT_EQ(report_.senses_without_form, 0u);
  // Pointers: adjective and adverb "+" dropped, good's second antonym pointer repeats the first.
  EXPECT_EQ(report_.pointers_kept, 16u);
  EXPECT_EQ(report_.pointers_repeated, 1u);
  EXPECT_EQ(report_.dropped_by_symbol, (std::map<std::string, size_t>{{"adj +", 1}, {"adv +", 1}}));
  EXPECT_EQ(report_.kept_by_symbol.at("noun @i"), 1u);
  EXPECT_EQ(report_.kept_by_symbol.at("verb ^"), 1u);  // kept, though no pane follows it
}

TEST_F(SmallLexicon, SensesFollowIndexOrderWithFrequenciesBySenseKey) {
  auto senses = [&](uint32_t word, int pos) {
    std::vector<std::pair<uint32_t, int>> out;
    for (const auto& s : lexicon_.words[word].senses[pos - 1])
      out.emplace_back(s.synset, s.frequency);
    return out;
  };
  using Senses = std::vector<std::pair<uint32_t, int>>;
  // "cat%1:04:00::" says sense 1 but names the CAT synset, the second sense.
  EXPECT_EQ(senses(kCat, 1), (Senses{{sCat1, 18}, {sCt, 4}}));
  EXPECT_EQ(senses(kCat, 2), (Senses{{sCatVerb, 0}, {sVomit, 3}}));
  EXPECT_EQ(senses(kPm, 1), (Senses{{sPm2, 0}, {sPm1, 0}}));  // index order, not file order
  EXPECT_EQ(senses(kFine, 3), (Senses{{sFine, 255}}));        // satellite key, capped
  EXPECT_EQ(senses(kGood, 3), (Senses{{sGood, 7}}));
  EXPECT_EQ(senses(kBigBad, 3), (Senses{{sBadAdj, 0}}));
  EXPECT_EQ(senses(kWell, 4), (Senses{{sWell, 0}}));
  EXPECT_EQ(report_.senses, 22u);
  EXPECT_EQ(report_.frequencies_capped, 1u);
  EXPECT_EQ(report_.counts_without_sense, 1u);  // dog
}

// The lexicon written by the data-file writer answers as the mapping says.
TEST_F(SmallLexicon, EngineAnswersFromTheCompiledFiles) {
  datafiles::DataFileImages images;
  std::string error;
  ASSERT_TRUE(datafiles::BuildDataFiles(lexicon_, &images, &error)) << error;
  TempFolder out;
  ASSERT_TRUE(datafiles::WriteFileAtomically(out / "1001L.dat", images.synsets, &error));
  ASSERT_TRUE(datafiles::WriteFileAtomically(out / "1001W.dat", images.word_index, &error));
  ASSERT_TRUE(datafiles::WriteFileAtomically(out / "1001T.dat", images.tags, &error));
  NymdexEngine* engine = nullptr;
  ASSERT_EQ(Nymdex_StartUp(&engine, (out / "1001L.dat").c_str(), (out / "1001W.dat").c_str(),
                           (out / "1001T.dat").c_str(), nullptr, nullptr),
            kNymdexOk);

  EXPECT_EQ(Nymdex_GetIdFromWord(engine, "CAT"), static_cast<int32_t>(kCat));
  EXPECT_EQ(Nymdex_GetIdFromWord(engine, "ice_cream"), static_cast<int32_t>(kIceCream));
  EXPECT_EQ(Nymdex_GetIdFromWord(engine, "ice cream"), -1);
  EXPECT_EQ(Nymdex_GetIdFromWord(engine, " "), -1);  // the sentinel is no word
  char word[1024];
  ASSERT_EQ(Nymdex_GetWordFromID(engine, kPm, word), 1);
  EXPECT_STREQ(word, "PM");

  std::vector<TagRecord> tags;
  ASSERT_EQ(Nymdex_GetTags(engine, "Cat", &tags), kNymdexOk);
  ASSERT_EQ(tags.size(), 4u);
  EXPECT_EQ(tags[0].pos, kNoun);
  EXPECT_EQ(tags[0].text, "feline mammal usually having thick soft fur: domestic cats; wildcats");
  EXPECT_EQ(tags[1].text, "a method of examining body organs");
  EXPECT_EQ(tags[2].pos, kVerb);
  EXPECT_EQ(tags[3].text, "eject the contents of the stomach");
  EXPECT_EQ(Nymdex_GetFrequency(engine, "fine"), 255);
  EXPECT_EQ(Nymdex_IsAdjective(engine, "fine"), 1);

  struct Query {
    NymdexGetFunction get;
    const char* word;
    std::vector<uint32_t> senses;
    std::vector<std::string> expected;  // unsorted: stored order
  };
  const Query queries[] = {
      {Nymdex_GetAntonyms, "good", {0}, {"bad", "big bad"}},
      {Nymdex_GetAntonyms, "well", {0}, {"badly"}},
      {Nymdex_GetHypernyms, "Einstein", {0}, {"physicist"}},
      {Nymdex_GetHyponyms, "physicist", {0}, {"einstein"}},
      {Nymdex_GetHypernyms, "vomit", {0}, {"cat"}},
      {Nymdex_GetSeeAlso, "vomit", {0}, {}},
      {Nymdex_GetSimilar, "fine", {0}, {"good", "goodish"}},
      {Nymdex_GetDerived, "well", {0}, {"good", "goodish"}},
      {Nymdex_GetDRF, "cat", {0, 2}, {"cat", "cat", "true cat"}},
      {Nymdex_GetDRF, "good", {0}, {}},
      {Nymdex_GetSynonyms, "cat", {1}, {"computerized tomography", "cat"}},
      {Nymdex_GetSynonyms, "pm", {1}, {"pm"}},
  };
  for (const Query& q : queries) {
    SCOPED_TRACE(q.word);
    std::vector<std::string> words;
    EXPECT_EQ(q.get(engine, q.word, &words, 0, q.senses), kNymdexOk);
    EXPECT_EQ(words, q.expected);
  }
  EXPECT_EQ(Nymdex_HasSeeAlso(engine, "vomit", {0}), 0);
  EXPECT_EQ(Nymdex_HasDRF(engine, "good", {0}), 0);
  EXPECT_EQ(Nymdex_ShutDown(&engine), kNymdexOk);
}

// Input-side limits and inconsistencies stop the build with the line that breaks them.
TEST(MkdataLexicon, LimitsAndDuplicatesNameTheLine) {
  struct Case {
    const char* name;
    void (*damage)(wordnet_test::Files*);
    const char* where;  // file and line the message starts with (after the folder)
    const char* message;
  };
  const Case cases[] = {
      {"gloss of 1,028 bytes",
       [](wordnet_test::Files* f) { f->data[0][2] += std::string(1028, 'g'); },
       "/data.noun:5: ", "gloss longer than 1027 bytes"},
      {"word of 1,024 bytes",
       [](wordnet_test::Files* f) {
         f->index[0].push_back(std::string(1024, 'w') + " n 1 0 1 0 {ct}");
       },
       "/index.noun:13: ", "word longer than 1023 bytes"},
      {"lemma listed twice",
       [](wordnet_test::Files* f) { f->index[0].push_back("Feline n 1 0 1 0 {feline}"); },
       "/index.noun:13: ", "lemma \"Feline\" already listed on line 6"},
      {"control byte in a form",
       [](wordnet_test::Files* f) {
         f->data[3][1].replace(f->data[3][1].find("01 badly"), 8, "01 bad\x01ly");
       },
       "/data.adv:4: ", "space or control character in word"},
      {"256 senses of one word",
       [](wordnet_test::Files* f) {
         std::string index = "many n 256 0 256 0";
         for (int i = 0; i < 256; ++i) {
           std::string name = "{many" + std::to_string(i) + "}";
           f->data[0].push_back(name + " 03 n 01 many 0 000 | one of many");
           index += " " + name;
         }
         f->index[0].push_back(index);
       },
       "/index.noun:13: ", "more than 255 synsets for one word"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    wordnet_test::Files files = wordnet_test::SmallDatabase();
    c.damage(&files);
    TempFolder source;
    wordnet_test::Write(source.path(), files);
    wordnet::Database db;
    std::string error;
    ASSERT_TRUE(wordnet::ReadDatabase(source.path(), &db, &error)) << error;
    datafiles::Lexicon lexicon;
    mkdata::LexiconReport report;
    EXPECT_FALSE(mkdata::BuildLexicon(db, &lexicon, &report, &error));
    EXPECT_EQ(error.rfind(source.path() + c.where, 0), 0u) << error;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

TEST(MkdataLexicon, FormInNoIndexFileBecomesAWordWithItsSynsets) {
  wordnet_test::Files files = wordnet_test::SmallDatabase();
  files.data[0][2] = "{wildcat} 05 n 02 wildcat 0 Felis_silvestris 0 001 @ {cat1} n 0000 | wild";
  TempFolder source;
  wordnet_test::Write(source.path(), files);
  wordnet::Database db;
  std::string error;
  ASSERT_TRUE(wordnet::ReadDatabase(source.path(), &db, &error)) << error;
  datafiles::Lexicon lexicon;
  mkdata::LexiconReport report;
  ASSERT_TRUE(mkdata::BuildLexicon(db, &lexicon, &report, &error)) << error;
  EXPECT_EQ(report.forms_without_index, 1u);
  ASSERT_EQ(lexicon.words[kFeline + 1].text, "Felis_silvestris");  // after "feline"
  ASSERT_EQ(lexicon.words[kFeline + 1].senses[0].size(), 1u);
  EXPECT_EQ(lexicon.words[kFeline + 1].senses[0][0].synset, sWildcat);
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
  EXPECT_EQ(report.list_words, 9u);
  EXPECT_EQ(report.lemma_words, 5u);  // bad, Einstein, PM, zebra, x-ray
  EXPECT_EQ(report.rejected, 7u);     // Aaron, don't, café, 128 q, Einstein, PM, x-ray
  EXPECT_EQ(report.kept, 5u);
}

TEST(MkdataLexicon, WordListLinesAndFailures) {
  TempFolder folder;
  wordnet_test::WriteText(folder / "words", "cat\r\ndog\n\nemu");
  std::vector<std::string> words;
  std::string error;
  ASSERT_TRUE(mkdata::ReadWordList(folder / "words", &words, &error)) << error;
  EXPECT_EQ(words, (std::vector<std::string>{"cat", "dog", "emu"}));

  wordnet_test::WriteText(folder / "nul", std::string("cat\ndo\0g\n", 9));
  EXPECT_FALSE(mkdata::ReadWordList(folder / "nul", &words, &error));
  EXPECT_EQ(error, folder / "nul" + ":2: NUL byte in the word list");
  EXPECT_FALSE(mkdata::ReadWordList(folder / "absent", &words, &error));
  EXPECT_EQ(error, folder / "absent" + ": cannot be opened");
  EXPECT_FALSE(mkdata::ReadWordList(folder.path(), &words, &error));  // a folder
  EXPECT_EQ(error.rfind(folder.path() + ": cannot be", 0), 0u) << error;
}

}  // namespace
