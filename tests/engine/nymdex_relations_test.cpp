// The relation queries: pointer types per relation, display form, sorting, the sense visit.
#include <algorithm>
#include <set>
#include <thread>

#include "tests/engine/nymdex_test_util.h"

namespace nymdex_test {
namespace {

using Words = std::vector<std::string>;

class RelationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    images_ = Images(SampleLexicon());
    ASSERT_TRUE(dictionary_.Write(images_));
    ASSERT_EQ(dictionary_.Start(&engine_), kNymdexOk);
  }
  void TearDown() override {
    if (engine_ != nullptr) Nymdex_ShutDown(&engine_);
  }
  Words Get(NymdexGetFunction get, const char* word, std::vector<uint32_t> senses, int32_t sort = 1,
            uint32_t code = kNymdexOk) {
    Words words;
    EXPECT_EQ(get(engine_, word, &words, sort, senses), code) << word;
    return words;
  }

  DataFileImages images_;
  Dictionary dictionary_;
  NymdexEngine* engine_ = nullptr;
};

TEST_F(RelationsTest, SynonymsAreTheSynsetsWordsInDisplayForm) {
  EXPECT_EQ(Get(Nymdex_GetSynonyms, "ice_cream", {0}), (Words{"ice cream"}));
  EXPECT_EQ(Nymdex_HasSynonyms(engine_, "ice_cream", {0}), 0) << "only the word itself";
  EXPECT_EQ(Get(Nymdex_GetSynonyms, "DOG", {0}),
            (Words{"canis familiaris", "dog", "domestic dog"}));
  EXPECT_EQ(Nymdex_HasSynonyms(engine_, "dog", {0}), 1);
  EXPECT_EQ(Get(Nymdex_GetMeronyms, "dog", {0}), (Words{"ice cream"}));
  EXPECT_EQ(Get(Nymdex_GetAntonyms, "quick", {0}), (Words{"dilatory", "slow", "sluggish"}))
      << "every word of the target synset";
  // Sense 2 of bank is its verb: the rank within the verbs picks the synset.
  EXPECT_EQ(Get(Nymdex_GetHypernyms, "bank", {1}), (Words{"institution"}));
  EXPECT_EQ(Get(Nymdex_GetDRF, "bank", {2}), (Words{"bank", "depository financial institution"}));
}

TEST_F(RelationsTest, SortingMergesWithWhatTheListHeld) {
  EXPECT_EQ(Get(Nymdex_GetHypernyms, "dog", {0, 1}),
            (Words{"carnivore", "individual", "person", "pet"}));
  EXPECT_EQ(Get(Nymdex_GetHypernyms, "dog", {0, 1}, 0),
            (Words{"carnivore", "pet", "person", "individual", "carnivore"}));
  EXPECT_EQ(Get(Nymdex_GetHypernyms, "dog", {1, 0}, 0),
            (Words{"person", "individual", "carnivore", "carnivore", "pet"}));
  Words words = {"zebra", "carnivore", "Zebra"};
  EXPECT_EQ(Nymdex_GetHypernyms(engine_, "dog", &words, 1, {0}), kNymdexOk);
  EXPECT_EQ(words, (Words{"Zebra", "carnivore", "pet", "zebra"})) << "by byte value";
  words = {"b", "a", "a"};
  EXPECT_EQ(Nymdex_GetCause(engine_, "dog", &words, 1, {}), kNymdexOk);
  EXPECT_EQ(words, (Words{"a", "b"})) << "no senses visited, the list still sorted";
}

TEST_F(RelationsTest, VisitStopsAtTheFirstSenseBeyondTheWord) {
  EXPECT_EQ(Get(Nymdex_GetHypernyms, "bank", {0, 7, 1}), (Words{"incline", "slope"}));
  EXPECT_TRUE(Get(Nymdex_GetHypernyms, "bank", {7, 0}).empty());
  EXPECT_EQ(Nymdex_HasHypernyms(engine_, "bank", {0, 7}), 1);
  EXPECT_EQ(Nymdex_HasHypernyms(engine_, "bank", {7, 0}), 0);
  EXPECT_EQ(Nymdex_HasHypernyms(engine_, "bank", {}), 0);
}

TEST_F(RelationsTest, AlsoSeeIsForAdjectivesOnly) {
  // fast: sense 0 verb with a type 23 pointer, sense 1 adjective with type 34.
  EXPECT_EQ(Nymdex_HasSeeAlso(engine_, "fast", {0}), 0);
  EXPECT_TRUE(Get(Nymdex_GetSeeAlso, "fast", {0}).empty());
  EXPECT_TRUE(Get(Nymdex_GetSeeAlso, "walk", {0}).empty());
  EXPECT_EQ(Nymdex_HasSeeAlso(engine_, "fast", {0, 1}), 1);
  EXPECT_EQ(Get(Nymdex_GetSeeAlso, "fast", {0, 1}), (Words{"quick", "speedy"}));
  for (const NymdexRelation& relation : kNymdexRelations) {
    SCOPED_TRACE(relation.name);
    Words words;
    relation.get(engine_, "walk", &words, 1, {0});
    EXPECT_EQ(std::count(words.begin(), words.end(), "stroll"), 0) << "no relation follows type 23";
  }
}

TEST_F(RelationsTest, FailuresAndTheirCodes) {
  Words words = {"kept"};
  EXPECT_EQ(Nymdex_GetSynonyms(nullptr, "dog", &words, 1, {0}), kNymdexNullHandle);
  EXPECT_EQ(Nymdex_GetSynonyms(engine_, nullptr, &words, 1, {0}), kNymdexNotFound);
  EXPECT_EQ(Nymdex_GetSynonyms(engine_, "dogs", &words, 1, {0}), kNymdexNotFound);
  EXPECT_EQ(Nymdex_GetSynonyms(engine_, "dog", nullptr, 1, {0}), kNymdexNullArgument);
  EXPECT_EQ(words, (Words{"kept"}));
  EXPECT_EQ(Nymdex_HasSynonyms(nullptr, "dog", {0}), 0);
  EXPECT_EQ(Nymdex_HasSynonyms(engine_, nullptr, {0}), 0);
  EXPECT_EQ(Nymdex_HasSynonyms(engine_, "dogs", {0}), 0);
}

TEST_F(RelationsTest, UnmappableSenseEndsTheQuery) {
  // cat's only sense claims to be an adverb, and cat has no adverb record; dog's noun record
  // loses its second synset.
  Lexicon lexicon = SampleLexicon();
  DataFileImages images = images_;
  images.synsets[SenseRecordAt(images.synsets, IdOf(lexicon, "cat")) + 8] = kAdverb;
  size_t at = 176;
  while (GetU32(images.synsets, at) != uint32_t(IdOf(lexicon, "dog")))
    at += 5 + 4 * images.synsets[at + 4];
  ASSERT_EQ(images.synsets[at + 4], 2);
  images.synsets[at + 4] = 1;
  Dictionary dictionary;
  ASSERT_TRUE(dictionary.Write(images));
  NymdexEngine* engine = nullptr;
  ASSERT_EQ(dictionary.Start(&engine), kNymdexOk);
  Words words;
  EXPECT_EQ(Nymdex_GetHypernyms(engine, "cat", &words, 1, {0}), kNymdexNotFound);
  EXPECT_EQ(Nymdex_HasHypernyms(engine, "cat", {0}), 0);
  EXPECT_EQ(Nymdex_GetHypernyms(engine, "dog", &words, 1, {0, 1}), kNymdexNotFound);
  EXPECT_EQ(words, (Words{"carnivore", "pet"})) << "words of earlier senses stay";
  EXPECT_EQ(Nymdex_HasHypernyms(engine, "dog", {1, 0}), 0);
  EXPECT_EQ(Nymdex_HasHypernyms(engine, "dog", {0, 1}), 1);
  Nymdex_ShutDown(&engine);
}

// A hub word with one synset per part of speech, each pointing with every pointer type of its
// part of speech to a synset whose one word names the type.
TEST(RelationTableTest, EachRelationFollowsItsPointerTypes) {
  LexiconBuilder b;
  const int first[4] = {1, 18, 29, 38};
  const int last[4] = {17, 28, 37, 42};
  for (uint8_t pos = 1; pos <= 4; ++pos) {
    uint32_t hub = b.Synset(pos, {"hub", "hub_" + std::to_string(pos)}, "hub");
    for (int type = first[pos - 1]; type <= last[pos - 1]; ++type) {
      char name[8];
      std::snprintf(name, sizeof(name), "t%02d", type);
      b.Point(hub, static_cast<uint8_t>(type), b.Synset(pos, {name}, name));
    }
  }
  const std::map<std::string, std::set<std::string>> expected = {
      {"Synonyms", {"hub", "hub 1", "hub 2", "hub 3", "hub 4"}},
      {"Antonyms", {"t01", "t18", "t29", "t38"}},
      {"Hypernyms", {"t02", "t19"}},
      {"Holonyms", {"t04", "t05", "t06"}},
      {"Hyponyms", {"t03", "t20"}},
      {"Meronyms", {"t07", "t08", "t09"}},
      {"Attributes", {"t10", "t33"}},
      {"Similar", {"t30"}},
      {"SeeAlso", {"t34"}},
      {"Derived", {"t39"}},
      {"DRF", {"t11", "t25"}},
      {"DSC", {"t12", "t26", "t35", "t40"}},
      {"MDC", {"t13"}},
      {"DSR", {"t14", "t27", "t36", "t41"}},
      {"MDR", {"t15"}},
      {"DSU", {"t16", "t28", "t37", "t42"}},
      {"MDU", {"t17"}},
      {"Entailment", {"t21"}},
      {"Cause", {"t22"}},
      {"VerbGroup", {"t24"}},
      {"Participle", {"t31"}},
      {"Pertainym", {"t32"}}};
  Dictionary dictionary;
  ASSERT_TRUE(dictionary.Write(Images(b.Build())));
  NymdexEngine* engine = nullptr;
  ASSERT_EQ(dictionary.Start(&engine), kNymdexOk);
  std::set<std::string> names;
  for (const NymdexRelation& relation : kNymdexRelations) {
    SCOPED_TRACE(relation.name);
    names.insert(relation.name);
    ASSERT_EQ(expected.count(relation.name), 1u);
    Words words;
    ASSERT_EQ(relation.get(engine, "hub", &words, 1, {0, 1, 2, 3}), kNymdexOk);
    EXPECT_EQ(std::set<std::string>(words.begin(), words.end()), expected.at(relation.name));
    EXPECT_EQ(relation.has(engine, "hub", {0, 1, 2, 3}), 1);
    EXPECT_EQ(relation.has(engine, "t01", {0}), 0);
  }
  EXPECT_EQ(names.size(), size_t{kRelationCount});
  EXPECT_STREQ(kNymdexRelations[8].pane_title, "Also see");
  EXPECT_STREQ(kNymdexRelations[8].tab_label, "See Also");
  Nymdex_ShutDown(&engine);
}

TEST_F(RelationsTest, ConcurrentQueriesAgree) {
  const Words words = WordsOf(SampleLexicon());
  auto sweep = [&] {
    std::vector<std::string> out;
    for (const std::string& word : words) {
      std::vector<TagRecord> tags;
      Nymdex_GetTags(engine_, word.c_str(), &tags);
      for (const TagRecord& tag : tags)
        out.push_back(tag.text);
      for (const NymdexRelation& relation : kNymdexRelations)
        relation.get(engine_, word.c_str(), &out, 0, {0, 1, 2});
    }
    return out;
  };
  const Words expected = sweep();
  std::vector<Words> results(4);
  std::vector<std::thread> threads;
  for (Words& result : results)
    threads.emplace_back([&result, &sweep] { result = sweep(); });
  for (std::thread& thread : threads)
    thread.join();
  for (const Words& result : results)
    EXPECT_EQ(result, expected);
}

}  // namespace
}  // namespace nymdex_test
