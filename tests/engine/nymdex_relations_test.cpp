// The relation queries: pointer types per relation, display form, sorting, the sense visit.
#include <thread>

#include "engine/data_format.h"
#include "tests/engine/nymdex_test_util.h"

namespace nymdex_test {
namespace {

using Words = std::vector<std::string>;

// The words a Get function appends to an empty list, after checking its code.
Words Get(NymdexEngine* engine, NymdexGetFunction get, const char* word,
          std::vector<uint32_t> senses, int32_t sort = 1) {
  Words words;
  EXPECT_EQ(get(engine, word, &words, sort, senses), kNymdexOk) << word;
  return words;
}

TEST_F(SampleTest, RelatedWordsComeFromTheChosenSenses) {
  EXPECT_EQ(Get(engine_, Nymdex_GetSynonyms, "ice_cream", {0}), (Words{"ice cream"}));
  EXPECT_EQ(Nymdex_HasSynonyms(engine_, "ice_cream", {0}), 0) << "only the word itself";
  EXPECT_EQ(Get(engine_, Nymdex_GetSynonyms, "DOG", {0}), (Words{"canis familiaris", "dog"}));
  EXPECT_EQ(Nymdex_HasSynonyms(engine_, "dog", {0}), 1);
  // Sense 2 of bank is its verb: the rank within the verbs picks the synset.
  EXPECT_EQ(Get(engine_, Nymdex_GetHypernyms, "bank", {1}), (Words{"institution"}));
  EXPECT_EQ(Get(engine_, Nymdex_GetDRF, "bank", {2}),
            (Words{"bank", "depository financial institution"}));
  // Also see is for adjectives: fast's verb sense has a type 23 pointer, its adjective type 34.
  EXPECT_EQ(Nymdex_HasSeeAlso(engine_, "fast", {0}), 0);
  EXPECT_TRUE(Get(engine_, Nymdex_GetSeeAlso, "fast", {0}).empty());
  EXPECT_EQ(Nymdex_HasSeeAlso(engine_, "fast", {0, 1}), 1);
  EXPECT_EQ(nymdex::RelatedWords(engine_, Relation::kSeeAlso, "fast", {0, 1}),
            (Words{"quick", "speedy"}));
}

TEST_F(SampleTest, SortMergesWithTheListWithoutRepeats) {
  EXPECT_EQ(Get(engine_, Nymdex_GetHypernyms, "dog", {0, 1}),
            (Words{"carnivore", "individual", "person", "pet"}));
  EXPECT_EQ(Get(engine_, Nymdex_GetHypernyms, "dog", {1, 0}, 0),
            (Words{"person", "individual", "carnivore", "carnivore", "pet"}))
      << "unsorted: in the order of the visit";
  Words words = {"zebra", "carnivore", "Zebra"};
  EXPECT_EQ(Nymdex_GetHypernyms(engine_, "dog", &words, 1, {0}), kNymdexOk);
  EXPECT_EQ(words, (Words{"Zebra", "carnivore", "pet", "zebra"})) << "by byte value";
  words = {"b", "a", "a"};
  EXPECT_EQ(Nymdex_GetCause(engine_, "dog", &words, 1, {}), kNymdexOk);
  EXPECT_EQ(words, (Words{"a", "b"})) << "no senses visited, the list still sorted";
}

TEST_F(SampleTest, VisitEndsAtTheFirstSenseBeyondTheWord) {
  EXPECT_EQ(Get(engine_, Nymdex_GetHypernyms, "bank", {0, 7, 1}), (Words{"incline", "slope"}));
  EXPECT_TRUE(Get(engine_, Nymdex_GetHypernyms, "bank", {7, 0}).empty());
  EXPECT_EQ(Nymdex_HasHypernyms(engine_, "bank", {0, 7}), 1);
  EXPECT_EQ(Nymdex_HasHypernyms(engine_, "bank", {7, 0}), 0);
  EXPECT_EQ(Nymdex_HasHypernyms(engine_, "bank", {}), 0);
}

TEST_F(SampleTest, FailuresGiveTheirCodes) {
  Words words = {"kept"};
  EXPECT_EQ(Nymdex_GetSynonyms(nullptr, "dog", &words, 1, {0}), kNymdexNullHandle);
  EXPECT_EQ(Nymdex_GetSynonyms(engine_, "dog", nullptr, 1, {0}), kNymdexNullArgument);
  for (const char* word : {static_cast<const char*>(nullptr), "dogs", "senseless"}) {
    EXPECT_EQ(Nymdex_GetSynonyms(engine_, word, &words, 1, {0}), kNymdexNotFound);
    EXPECT_EQ(Nymdex_HasSynonyms(engine_, word, {0}), 0);
  }
  EXPECT_EQ(Nymdex_HasSynonyms(nullptr, "dog", {0}), 0);
  EXPECT_EQ(words, (Words{"kept"}));
}

// A hub word with one synset per part of speech, each pointing with every pointer type of its
// part of speech to a synset whose one word names the type.
TEST(RelationTableTest, EachRelationFollowsItsPointerTypes) {
  std::vector<Draft> drafts;
  const int first[4] = {1, 18, 29, 38}, last[4] = {17, 28, 37, 42};
  for (uint8_t pos = 1; pos <= 4; ++pos) {
    const size_t hub = drafts.size();
    drafts.push_back({pos, {"hub", "hub_" + std::to_string(pos)}, "hub"});
    for (int type = first[pos - 1]; type <= last[pos - 1]; ++type) {
      std::string name = (type < 10 ? "t0" : "t") + std::to_string(type);
      drafts[hub].pointers.push_back({static_cast<uint8_t>(type), uint32_t(drafts.size())});
      drafts.push_back({pos, {name}, name});
    }
  }
  // In pane order. Type 23 (a verb's also-see) belongs to no relation.
  const char* expected[kRelationCount] = {"Synonyms hub hub 1 hub 2 hub 3 hub 4",
                                          "Antonyms t01 t18 t29 t38",
                                          "Hypernyms t02 t19",
                                          "Holonyms t04 t05 t06",
                                          "Hyponyms t03 t20",
                                          "Meronyms t07 t08 t09",
                                          "Attributes t10 t33",
                                          "Similar t30",
                                          "SeeAlso t34",
                                          "Derived t39",
                                          "DRF t11 t25",
                                          "DSC t12 t26 t35 t40",
                                          "MDC t13",
                                          "DSR t14 t27 t36 t41",
                                          "MDR t15",
                                          "DSU t16 t28 t37 t42",
                                          "MDU t17",
                                          "Entailment t21",
                                          "Cause t22",
                                          "VerbGroup t24",
                                          "Participle t31",
                                          "Pertainym t32"};
  Dictionary dictionary;
  NymdexEngine* engine = dictionary.Open(Images(MakeLexicon(drafts)));
  ASSERT_NE(engine, nullptr);
  for (int r = 0; r < kRelationCount; ++r) {
    const NymdexRelation& relation = kNymdexRelations[r];
    std::string got = relation.name;
    for (const std::string& word : Get(engine, relation.get, "hub", {0, 1, 2, 3}))
      got += " " + word;
    EXPECT_EQ(got, expected[r]);
    EXPECT_EQ(relation.has(engine, "hub", {0, 1, 2, 3}), 1) << relation.name;
    EXPECT_EQ(relation.has(engine, "t01", {0}), 0) << relation.name;
  }
}

TEST_F(SampleTest, ConcurrentQueriesAgree) {
  auto sweep = [&] {
    Words out;
    for (const datafiles::WordSpec& word : lexicon_.words) {
      std::vector<TagRecord> tags;
      Nymdex_GetTags(engine_, word.text.c_str(), &tags);
      for (const TagRecord& tag : tags)
        out.push_back(tag.text);
      for (const NymdexRelation& relation : kNymdexRelations)
        relation.get(engine_, word.text.c_str(), &out, 0, {0, 1, 2});
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
