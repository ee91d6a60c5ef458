// Sense lists, tags across blocks, frequency and the part-of-speech tests.
#include "tests/engine/nymdex_test_util.h"

namespace nymdex_test {
namespace {

using Texts = std::vector<std::string>;

// The word's tags as "<part of speech> <text>", after checking the query's code.
Texts Tags(NymdexEngine* engine, const char* word, uint32_t expected_code = kNymdexOk) {
  std::vector<TagRecord> tags;
  EXPECT_EQ(Nymdex_GetTags(engine, word, &tags), expected_code) << word;
  Texts texts;
  for (const TagRecord& tag : tags)
    texts.push_back(std::to_string(tag.pos) + " " + tag.text);
  return texts;
}

TEST(SensesTest, TagsComeNounsFirstWhateverTheStoredOrder) {
  // Store bank's entries verb first: (2,3) (1,0) (1,5).
  const Lexicon lexicon = SampleLexicon();
  DataFileImages images = Images(lexicon);
  size_t at = SenseRecordAt(images.synsets, IdOf(lexicon, "bank"));
  ASSERT_NE(at, 0u);
  const uint8_t reordered[] = {2, 3, 1, 0, 1, 5};
  std::copy(std::begin(reordered), std::end(reordered), images.synsets.begin() + at + 8);
  datafiles::SealSynsetFile(&images.synsets);
  Dictionary dictionary;
  NymdexEngine* engine = dictionary.Open(images);
  ASSERT_NE(engine, nullptr);

  EXPECT_EQ(Tags(engine, "Bank"),
            (Texts{"1 sloping land beside a body of water", "1 a financial institution",
                   "2 do business with a bank"}));
  SenseList senses;
  senses.text = "kept";
  ASSERT_EQ(Nymdex_GetSenses(engine, "bank", &senses), kNymdexOk);
  ASSERT_EQ(Nymdex_GetSenses(engine, "bank", &senses), kNymdexOk);
  EXPECT_EQ(senses.text, "kept");
  ASSERT_EQ(senses.entries.size(), 6u) << "a second call appends again";
  EXPECT_EQ(SensePos(senses.entries[0]), kVerb);
  EXPECT_EQ(SenseFrequency(senses.entries[0]), 3u);
  EXPECT_EQ(senses.entries[1], senses.entries[4]);
}

TEST_F(SampleTest, WordsWithoutSensesAreNotFound) {
  for (const char* unknown : {"dogs", "senseless"}) {
    SCOPED_TRACE(unknown);
    SenseList list;
    EXPECT_TRUE(Tags(engine_, unknown, kNymdexNotFound).empty());
    EXPECT_EQ(Nymdex_GetFrequency(engine_, unknown), 9);
    EXPECT_EQ(nymdex::HighestFrequency(engine_, unknown), std::nullopt);
    EXPECT_EQ(Nymdex_GetSenses(engine_, unknown, &list), kNymdexNotFound);
    EXPECT_EQ(Nymdex_GetSensesForWord(engine_, unknown, &list), 0);
  }
}

TEST_F(SampleTest, SenseQueriesRefuseNullArguments) {
  std::vector<TagRecord> tags;
  SenseList list;
  std::vector<uint32_t> offsets, ids;
  EXPECT_EQ(Nymdex_GetTags(nullptr, "dog", &tags), kNymdexNullHandle);
  EXPECT_EQ(Nymdex_GetTags(engine_, nullptr, &tags), kNymdexNullArgument);
  EXPECT_EQ(Nymdex_GetTags(engine_, "dog", nullptr), kNymdexNullArgument);
  EXPECT_EQ(Nymdex_GetFrequency(engine_, nullptr), -1);
  EXPECT_EQ(Nymdex_GetFrequency(nullptr, "cat"), -1);
  EXPECT_EQ(Nymdex_GetSensesForWord(engine_, "fast", nullptr), 0);
  EXPECT_EQ(Nymdex_GetSenses(nullptr, "fast", &list), kNymdexNullHandle);
  EXPECT_EQ(Nymdex_GetSenses(engine_, nullptr, &list), kNymdexNullArgument);
  EXPECT_EQ(Nymdex_GetSenses(engine_, "fast", nullptr), kNymdexNullArgument);
  EXPECT_EQ(Nymdex_IsNoun(nullptr, "bank"), 0);
  EXPECT_EQ(Nymdex_IsNoun(engine_, nullptr), 0);
  EXPECT_EQ(Nymdex_GetTagIDs(nullptr, offsets, &ids, kNoun), 0);
  EXPECT_EQ(Nymdex_GetTagIDs(engine_, offsets, nullptr, kNoun), 0);
}

TEST_F(SampleTest, FrequencyIsTheHighestOfTheSenses) {
  EXPECT_EQ(Nymdex_GetFrequency(engine_, "BANK"), 5);
  EXPECT_EQ(Nymdex_GetFrequency(engine_, "cat"), 0);
  EXPECT_EQ(nymdex::HighestFrequency(engine_, "bank"), 5u);
  SenseList list;
  EXPECT_EQ(Nymdex_GetSensesForWord(engine_, "fast", &list), 1);
  EXPECT_EQ(list.entries.size(), 2u);
}

TEST_F(SampleTest, PartOfSpeechTestsLookAtEverySense) {
  // Noun, verb, adjective, adverb.
  const std::pair<const char*, std::string> kinds[] = {
      {"bank", "1100"}, {"fast", "0110"}, {"quickly", "0001"}, {"dogs", "0000"}};
  for (const auto& [word, expected] : kinds) {
    std::string got;
    for (auto is : {Nymdex_IsNoun, Nymdex_IsVerb, Nymdex_IsAdjective, Nymdex_IsAdverb})
      got += std::to_string(is(engine_, word));
    EXPECT_EQ(got, expected) << word;
  }
}

TEST_F(SampleTest, TagIdsFollowTheOffsets) {
  std::vector<uint32_t> offsets;
  std::vector<uint32_t> ids = {99};
  EXPECT_EQ(Nymdex_GetTagIDs(engine_, offsets, &ids, 7), 1) << "nothing to read";
  ASSERT_EQ(Nymdex_GetOffsetList(engine_, kNoun, Id("dog"), &offsets), 1);
  EXPECT_EQ(Nymdex_GetTagIDs(engine_, offsets, &ids, kNoun), 1);
  ASSERT_EQ(ids.size(), 3u);
  EXPECT_NE(ids[1], ids[2]);
  EXPECT_EQ(Nymdex_GetTagIDs(engine_, offsets, &ids, 7), 0);
  offsets.push_back(0x7FFFFFF0);
  EXPECT_EQ(Nymdex_GetTagIDs(engine_, offsets, &ids, kNoun), 0) << "a synset past the end";
  EXPECT_EQ(ids.size(), 5u) << "values read before the failure stay";
}

TEST(SensesTest, EveryEntryOfALargeDictionaryIsReachable) {
  const Lexicon& lexicon = BigLexicon();
  ASSERT_GT(BigImages().tag_blocks, 100u);
  Dictionary dictionary;
  NymdexEngine* engine = dictionary.Open(BigImages());
  ASSERT_NE(engine, nullptr);
  // Every word but the sentinel is found, and resolved from its identifier; so are the nouns'
  // tags, which cover every block's first and last text (the first noun's two tags lie in
  // the first and the last block).
  char text[kMaxWordLength + 1];
  for (uint32_t id = 1; id < lexicon.words.size(); ++id) {
    const datafiles::WordSpec& word = lexicon.words[id];
    ASSERT_EQ(Nymdex_GetIdFromWord(engine, word.text.c_str()), int32_t(id));
    ASSERT_EQ(Nymdex_GetWordFromID(engine, id, text), 1);
    ASSERT_EQ(text, word.text);
    Texts expected;
    for (const datafiles::SenseSpec& sense : word.senses[0])
      expected.push_back("1 " + lexicon.synsets[sense.synset].gloss);
    if (!expected.empty()) {
      ASSERT_EQ(Tags(engine, text), expected);
    }
  }
  for (uint32_t id : {0u, uint32_t(lexicon.words.size())})
    EXPECT_EQ(Nymdex_GetWordFromID(engine, id, text), 0);
  // Nouns are words 3 to 1202: the last noun bucket (12) ends the noun index; identifier
  // 1300 is past the bucket table.
  std::vector<uint32_t> offsets;
  EXPECT_EQ(Nymdex_GetOffsetList(engine, kNoun, 1202, &offsets), 1);
  EXPECT_EQ(Nymdex_GetOffsetList(engine, kVerb, 1203, &offsets), 1);
  EXPECT_EQ(Nymdex_GetOffsetList(engine, kNoun, 1203, &offsets), 0);
  EXPECT_EQ(Nymdex_GetOffsetList(engine, kNoun, 1300, &offsets), 0);
  EXPECT_EQ(offsets.size(), 2u);
}

}  // namespace
}  // namespace nymdex_test
