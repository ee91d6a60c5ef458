// Sense lists, tags across blocks, frequency and the part-of-speech tests.
#include "tests/engine/nymdex_test_util.h"

namespace nymdex_test {
namespace {

class SensesTest : public ::testing::Test {
 protected:
  void Start(const DataFileImages& images) {
    ASSERT_TRUE(dictionary_.Write(images));
    ASSERT_EQ(dictionary_.Start(&engine_), kNymdexOk);
  }
  void TearDown() override {
    if (engine_ != nullptr) Nymdex_ShutDown(&engine_);
  }
  std::vector<std::string> Tags(const char* word, uint32_t expected_code = kNymdexOk) {
    std::vector<TagRecord> tags;
    EXPECT_EQ(Nymdex_GetTags(engine_, word, &tags), expected_code) << word;
    std::vector<std::string> texts;
    for (const TagRecord& tag : tags)
      texts.push_back(std::to_string(tag.pos) + " " + tag.text);
    return texts;
  }

  Dictionary dictionary_;
  NymdexEngine* engine_ = nullptr;
};

using Texts = std::vector<std::string>;

TEST_F(SensesTest, TagsComeNounsFirstWhateverTheStoredOrder) {
  Lexicon lexicon = SampleLexicon();
  DataFileImages images = Images(lexicon);
  const uint32_t bank = static_cast<uint32_t>(IdOf(lexicon, "bank"));
  // Store bank's entries verb first: (2,3) (1,0) (1,5).
  size_t at = SenseRecordAt(images.synsets, bank);
  ASSERT_NE(at, 0u);
  const uint8_t reordered[] = {2, 3, 1, 0, 1, 5};
  std::copy(std::begin(reordered), std::end(reordered), images.synsets.begin() + at + 8);
  datafiles::SealSynsetFile(&images.synsets);
  Start(images);

  EXPECT_EQ(Tags("Bank"), (Texts{"1 sloping land beside a body of water",
                                 "1 a financial institution", "2 do business with a bank"}));
  SenseList senses;
  senses.text = "kept";
  ASSERT_EQ(Nymdex_GetSenses(engine_, "bank", &senses), kNymdexOk);
  ASSERT_EQ(Nymdex_GetSenses(engine_, "bank", &senses), kNymdexOk);
  EXPECT_EQ(senses.text, "kept");
  ASSERT_EQ(senses.entries.size(), 6u) << "a second call appends again";
  EXPECT_EQ(SensePos(senses.entries[0]), kVerb);
  EXPECT_EQ(SenseFrequency(senses.entries[0]), 3u);
  EXPECT_EQ(senses.entries[1], senses.entries[4]);
}

TEST_F(SensesTest, SensesFrequencyAndPartOfSpeech) {
  Start(Images(SampleLexicon()));

  // Two senses in one block, each with its own text.
  EXPECT_EQ(Tags("dog"), (Texts{"1 a domesticated canid", "1 a dull unattractive woman"}));
  EXPECT_EQ(Tags("cat"), (Texts{"1 feline mammal; \"the cat sat\""}));
  EXPECT_EQ(Tags("fast"), (Texts{"2 abstain from food", "3 acting with speed"}));
  EXPECT_TRUE(Tags("dogs", kNymdexNotFound).empty());
  std::vector<TagRecord> tags;
  EXPECT_EQ(Nymdex_GetTags(nullptr, "dog", &tags), kNymdexNullHandle);
  EXPECT_EQ(Nymdex_GetTags(engine_, nullptr, &tags), kNymdexNullArgument);
  EXPECT_EQ(Nymdex_GetTags(engine_, "dog", nullptr), kNymdexNullArgument);

  EXPECT_EQ(Nymdex_GetFrequency(engine_, "BANK"), 5);
  EXPECT_EQ(Nymdex_GetFrequency(engine_, "cat"), 0);
  EXPECT_EQ(Nymdex_GetFrequency(engine_, "dogs"), 9);
  EXPECT_EQ(Nymdex_GetFrequency(engine_, nullptr), -1);
  EXPECT_EQ(Nymdex_GetFrequency(nullptr, "cat"), -1);

  struct Case {
    const char* word;
    int32_t noun, verb, adjective, adverb;
  };
  for (const Case& c : {Case{"bank", 1, 1, 0, 0}, Case{"fast", 0, 1, 1, 0},
                        Case{"quickly", 0, 0, 0, 1}, Case{"dogs", 0, 0, 0, 0}}) {
    SCOPED_TRACE(c.word);
    EXPECT_EQ(Nymdex_IsNoun(engine_, c.word), c.noun);
    EXPECT_EQ(Nymdex_IsVerb(engine_, c.word), c.verb);
    EXPECT_EQ(Nymdex_IsAdjective(engine_, c.word), c.adjective);
    EXPECT_EQ(Nymdex_IsAdverb(engine_, c.word), c.adverb);
  }
  EXPECT_EQ(Nymdex_IsNoun(nullptr, "bank"), 0);
  EXPECT_EQ(Nymdex_IsNoun(engine_, nullptr), 0);

  SenseList list;
  EXPECT_EQ(Nymdex_GetSensesForWord(engine_, "fast", &list), 1);
  EXPECT_EQ(list.entries.size(), 2u);
  EXPECT_EQ(Nymdex_GetSensesForWord(engine_, "dogs", &list), 0);
  EXPECT_EQ(Nymdex_GetSensesForWord(engine_, "fast", nullptr), 0);
  EXPECT_EQ(Nymdex_GetSenses(nullptr, "fast", &list), kNymdexNullHandle);
  EXPECT_EQ(Nymdex_GetSenses(engine_, nullptr, &list), kNymdexNullArgument);
  EXPECT_EQ(Nymdex_GetSenses(engine_, "fast", nullptr), kNymdexNullArgument);
  EXPECT_EQ(Nymdex_GetSenses(engine_, "dogs", &list), kNymdexNotFound);
}

TEST_F(SensesTest, WordInTheIndexWithoutSenses) {
  LexiconBuilder b;
  b.Synset(1, {"bare"}, "n");
  b.Synset(2, {"verb"}, "v");
  b.Synset(3, {"adjective"}, "a");
  b.Synset(4, {"adverb"}, "r");
  b.Bare("senseless");
  Start(Images(b.Build()));
  SenseList list;
  EXPECT_EQ(Nymdex_IsWord(engine_, "senseless"), 1u);
  EXPECT_EQ(Nymdex_GetSenses(engine_, "senseless", &list), kNymdexNotFound);
  EXPECT_TRUE(Tags("senseless", kNymdexNotFound).empty());
  EXPECT_EQ(Nymdex_GetFrequency(engine_, "senseless"), 9);
}

TEST_F(SensesTest, TagIdsOfOffsets) {
  Start(Images(SampleLexicon()));
  std::vector<uint32_t> offsets;
  std::vector<uint32_t> ids = {99};
  EXPECT_EQ(Nymdex_GetTagIDs(engine_, offsets, &ids, 7), 1) << "nothing to read";
  EXPECT_EQ(Nymdex_GetTagIDs(nullptr, offsets, &ids, kNoun), 0);
  EXPECT_EQ(Nymdex_GetTagIDs(engine_, offsets, nullptr, kNoun), 0);

  ASSERT_EQ(Nymdex_GetOffsetList(engine_, kNoun, Nymdex_GetIdFromWord(engine_, "dog"), &offsets),
            1);
  EXPECT_EQ(Nymdex_GetTagIDs(engine_, offsets, &ids, kNoun), 1);
  ASSERT_EQ(ids.size(), 3u);
  EXPECT_NE(ids[1], ids[2]);
  EXPECT_EQ(Nymdex_GetTagIDs(engine_, offsets, &ids, 7), 0);
  offsets.push_back(0x7FFFFFF0);
  EXPECT_EQ(Nymdex_GetTagIDs(engine_, offsets, &ids, kNoun), 0) << "a synset past the end";
  EXPECT_EQ(ids.size(), 5u) << "values read before the failure stay";
}

TEST_F(SensesTest, EveryTagOfManyBlocksIsFound) {
  const DataFileImages& images = BigImages();
  const Lexicon& lexicon = BigLexicon();
  ASSERT_GT(images.tag_blocks, 100u);
  ASSERT_EQ(GetU32(images.tags, 4), images.tag_blocks);
  Start(images);
  // Each noun's one tag; the synsets in tag order cover every block's highest identifier and
  // the identifier after it.
  for (const datafiles::WordSpec& word : lexicon.words) {
    if (word.senses[0].empty()) continue;
    const std::string& gloss = lexicon.synsets[word.senses[0][0].synset].gloss;
    std::vector<std::string> texts = Tags(word.text.c_str());
    ASSERT_EQ(texts.size(), 1u) << word.text;
    ASSERT_EQ(texts[0], "1 " + gloss) << word.text;
  }
  uint32_t previous = 0;
  for (uint32_t b = 0; b < images.tag_blocks; ++b) {
    uint32_t highest = GetU32(images.tags, 8 + 4 * b);
    ASSERT_TRUE(b == 0 || highest > previous) << "ascending with the blocks";
    previous = highest;
  }
  EXPECT_EQ(previous, lexicon.synsets.size() - 1);
}

}  // namespace
}  // namespace nymdex_test
