// The search by meaning over a small compiled dictionary: how it ranks, what it refuses, and how
// it fails when its index is missing or damaged while the rest of the dictionary still answers.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/lookup/lookup.h"
#include "app/meaning/meaning_search.h"
#include "custom/custom_db.h"
#include "engine/little_endian.h"
#include "engine/nymdex.h"
#include "tests/app/meaning_test_util.h"

namespace {

using meaning::MeaningResult;
using meaning::MeaningStatus;
using meaning_test::kSenses;
using meaning_test::Reseal;

std::vector<std::string> Words(const MeaningResult& result) {
  std::vector<std::string> words;
  for (const meaning::MeaningRow& row : result.rows)
    words.push_back(row.word);
  return words;
}

bool Offers(const MeaningResult& result, const std::string& word) {
  const std::vector<std::string> words = Words(result);
  return std::find(words.begin(), words.end(), word) != words.end();
}

class MeaningSearchTest : public meaning_test::DictionaryTest {
 protected:
  MeaningResult Search(const std::string& text, size_t count = meaning::kDefaultResultCount) {
    const meaning::MeaningSearch search(engine_, data_.IndexPath());
    return search.Search(text, entries_, count);
  }

  void AddEntry(const char* word, int32_t type, const char* definition, const char* examples) {
    ASSERT_TRUE(CustomDb_AppendEntry(&custom_, type, word, definition, examples, "", {}));
    ASSERT_TRUE(entries_.Read(custom_, engine_));
  }

  meaning::CustomEntries entries_;
};

// A sense's definition, as the senses list shows it, names one of the sense's words first.
TEST_F(MeaningSearchTest, OwnDefinitionPutsItsWordFirst) {
  for (const meaning_test::TestSense& sense : kSenses) {
    const std::string definition = lookup::CutDefinition(sense.gloss);
    SCOPED_TRACE(definition);
    if (definition == "A tree whose needles fall in autumn") continue;  // three senses share it
    const MeaningResult result = Search(definition);
    ASSERT_EQ(result.status, MeaningStatus::kFound);
    bool own = false;
    for (const auto& [word, frequency] : sense.words)
      own = own || lookup::ToDisplayForm(word) == result.rows[0].word;
    EXPECT_TRUE(own) << result.rows[0].word;
    EXPECT_EQ(result.rows[0].definition, definition);
  }
}

TEST_F(MeaningSearchTest, QueryWordsAreNotOffered) {
  const struct {
    const char* description;
    std::vector<std::string> not_offered;
    const char* first;
  } cases[] = {
      {"young cats", {"cat", "cats"}, "kitten"},  // the base form too
      {"someone who bakes bread", {"bake", "bakes", "bread"}, "baker"},
      {"a fleece of fine wool from a sheep", {"sheep"}, "merino"},
      {"kids", {"kid", "kids"}, "child"},  // its other word
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.description);
    const MeaningResult result = Search(c.description);
    ASSERT_EQ(result.status, MeaningStatus::kFound);
    EXPECT_EQ(result.rows[0].word, c.first);
    for (const std::string& word : c.not_offered)
      EXPECT_FALSE(Offers(result, word)) << word;
  }
}

// Equal scores are ordered by word, the same on every search; a frequent sense comes first.
TEST_F(MeaningSearchTest, EqualScoresKeepWordOrder) {
  const MeaningResult first = Search("a tree whose needles fall in autumn", 3);
  EXPECT_EQ(Words(first), (std::vector<std::string>{"cedar", "larch", "tamarack"}));
  ASSERT_EQ(first.rows.size(), 3u);
  EXPECT_EQ(first.rows[1].score, first.rows[2].score);
  EXPECT_GT(first.rows[0].score, first.rows[1].score);
  EXPECT_EQ(Words(Search("a tree whose needles fall in autumn", 3)), Words(first));
}

// A word with a built-in sense and a custom one is one row, with the sense that matched best.
TEST_F(MeaningSearchTest, WordIsOfferedOnceWithItsBestSense) {
  AddEntry("cat", 0, "a jazz musician who plays soft music", "");
  const struct {
    const char* description;
    const char* definition;
    bool custom;
  } cases[] = {
      {"a mammal with thick soft fur", "Feline mammal with thick soft fur", false},
      {"a jazz musician who plays soft", "A jazz musician who plays soft music", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.description);
    const MeaningResult result = Search(c.description);
    const std::vector<std::string> words = Words(result);
    ASSERT_EQ(std::count(words.begin(), words.end(), "cat"), 1);
    EXPECT_EQ(result.rows[0].word, "cat");
    EXPECT_EQ(result.rows[0].definition, c.definition);
    EXPECT_EQ(result.rows[0].custom, c.custom);
  }
}

TEST_F(MeaningSearchTest, CustomEntryIsFoundByItsDefinition) {
  EXPECT_FALSE(Offers(Search("a transparent ball to roll downhill in"), "zorb"));
  AddEntry("zorb", 0, "a large transparent ball", "we rolled downhill in a zorb^");
  const MeaningResult result = Search("a transparent ball to roll downhill in");
  ASSERT_EQ(result.status, MeaningStatus::kFound);
  EXPECT_EQ(result.rows[0].word, "zorb");
  EXPECT_TRUE(result.rows[0].custom);
  EXPECT_EQ(result.rows[0].pos, kNoun);
  EXPECT_EQ(result.rows[0].definition, "A large transparent ball");
  // The entry's word is a known word: "zorbs" is reduced to it and so never offered.
  EXPECT_EQ(Search("zorbs").terms, std::vector<std::string>{"zorb"});
  EXPECT_FALSE(Offers(Search("zorbs and a transparent ball"), "zorb"));
}

TEST_F(MeaningSearchTest, DescriptionChecks) {
  const std::string e_acute = "\xC3\xA9";
  std::string two_hundred_e;
  for (int i = 0; i < 200; ++i)
    two_hundred_e += e_acute;
  const struct {
    std::string text;
    MeaningStatus status;
    const char* message;
  } cases[] = {
      {"someone's bread-making, at home/abroad (daily).", MeaningStatus::kFound, ""},
      {std::string(200, 'b'), MeaningStatus::kNothingFound, "No word matches the description."},
      {std::string(201, 'b'), MeaningStatus::kTooLong, meaning::kDescriptionTooLongMessage},
      {two_hundred_e, MeaningStatus::kNothingFound, "No word matches the description."},
      {two_hundred_e + "e", MeaningStatus::kTooLong, meaning::kDescriptionTooLongMessage},
      {"bread # cake", MeaningStatus::kInvalidCharacters, meaning::kDescriptionInvalidMessage},
      {"bread \xFF", MeaningStatus::kInvalidCharacters, meaning::kDescriptionInvalidMessage},
      {"bread \xF0\x9F\x8D\x9E", MeaningStatus::kInvalidCharacters,
       meaning::kDescriptionInvalidMessage},
      {"the of a", MeaningStatus::kNoSearchableWord, meaning::kNoSearchableWordMessage},
      {"", MeaningStatus::kNoSearchableWord, meaning::kNoSearchableWordMessage},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const MeaningResult result = Search(c.text);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.message, c.message);
    if (c.status != MeaningStatus::kFound) {
      EXPECT_TRUE(result.rows.empty());
    }
  }
}

// Of two senses that match a description equally, the one whose own definition says more of
// it (by idf) ranks higher; a word made of the description's words loses more the more of the
// description it repeats, never below kSharedWordFactor nor above its own score.
TEST(MeaningRank, DefinitionShareAndSharedWords) {
  double previous = 0;
  for (const double share : {0.0, 0.3, 0.7, 1.0}) {
    SCOPED_TRACE(share);
    const double score = meaning::SenseScore(10.0, 3, 4, 2, 5, share);
    EXPECT_GT(score, previous);
    previous = score;
  }
  EXPECT_EQ(meaning::SenseScore(10.0, 3, 4, 2, 5, 2.0), meaning::SenseScore(10.0, 3, 4, 2, 5, 1.0));
  EXPECT_EQ(meaning::SharedWordFactor(0.0), 1.0);
  EXPECT_GT(meaning::SharedWordFactor(0.1), meaning::SharedWordFactor(0.2));
  EXPECT_LT(meaning::SharedWordFactor(0.1), 1.0);
  EXPECT_EQ(meaning::SharedWordFactor(0.5), meaning::kSharedWordFactor);
  EXPECT_EQ(meaning::SharedWordFactor(1.0), meaning::kSharedWordFactor);
}

// A synonym of a description's word finds what only the synonym names, below the senses that
// hold the word itself.
TEST_F(MeaningSearchTest, RelativesWidenTheSearch) {
  const MeaningResult result = Search("a kid learning to talk");
  ASSERT_EQ(result.status, MeaningStatus::kFound);
  EXPECT_EQ(result.terms, (std::vector<std::string>{"kid", "learning", "talk"}));
  EXPECT_EQ(result.rows[0].word, "toddler");
  EXPECT_EQ(Words(Search("kid")), (std::vector<std::string>{"child", "toddler"}));
}

// A window searches off its interface thread: searches that run at once, one of them loading
// the index, all give the same answer.
TEST_F(MeaningSearchTest, SearchesMayRunAtOnce) {
  const meaning::MeaningSearch search(engine_, data_.IndexPath());
  std::vector<std::vector<std::string>> found(4);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < found.size(); ++i)
    threads.emplace_back([&, i] { found[i] = Words(search.Search("young cats", entries_)); });
  for (std::thread& thread : threads)
    thread.join();
  ASSERT_FALSE(found[0].empty());
  EXPECT_EQ(found[0][0], "kitten");
  for (const std::vector<std::string>& words : found)
    EXPECT_EQ(words, found[0]);
}

TEST_F(MeaningSearchTest, CountLimitsTheRows) {
  EXPECT_EQ(Search("a tree whose needles fall in autumn", 2).rows.size(), 2u);
  EXPECT_EQ(Search("a tree whose needles fall in autumn", 0).rows.size(), 1u);
  EXPECT_EQ(Search("a tree whose needles fall", 5000).rows.size(), 3u);
}

// Ways the index file can be missing or damaged; an edit that should reach the checks behind
// the digest reseals the file.
struct Damage {
  const char* name;
  std::function<void(std::vector<uint8_t>*)> edit;  // null: the file is removed
};

void PutU32(std::vector<uint8_t>* image, size_t at, uint32_t value) {
  engine::StoreU32(image->data() + at, value);
}
uint32_t GetU32(const std::vector<uint8_t>& image, size_t at) {
  return engine::LoadU32(image.data() + at);
}

TEST_F(MeaningSearchTest, MissingOrDamagedIndexFailsOnlyTheSearch) {
  using namespace meaning;
  const Damage damages[] = {
      {"missing", nullptr},
      {"empty", [](auto* b) { b->clear(); }},
      {"header only", [](auto* b) { b->resize(kMeaningHeaderSize); }},
      {"one byte short", [](auto* b) { b->pop_back(); }},
      {"an impact flipped", [](auto* b) { (*b)[GetU32(*b, kPostingsAt) + 1] ^= 0x10; }},
      {"wrong magic", [](auto* b) { (*b)[kMagicAt] ^= 1; }},
      {"another version", [](auto* b) { PutU32(b, kVersionAt, kMeaningVersion + 1); }},
      {"postings beyond the file",
       [](auto* b) {
         PutU32(b, kPostingsSizeAt, 0x7FFFFFFF);
         Reseal(b);
       }},
      {"length weight above one",
       [](auto* b) {
         PutU32(b, kLengthNormAt, 2000000);
         Reseal(b);
       }},
      {"terms out of order",
       [](auto* b) {
         const size_t first = GetU32(*b, kTermsAt);
         std::swap_ranges(b->begin() + static_cast<long>(first),
                          b->begin() + static_cast<long>(first + kTermEntrySize),
                          b->begin() + static_cast<long>(first + kTermEntrySize));
         Reseal(b);
       }},
      {"term text beyond the strings",
       [](auto* b) {
         PutU32(b, GetU32(*b, kTermsAt), GetU32(*b, kStringsSizeAt));
         Reseal(b);
       }},
      {"sense of no part of speech",
       [](auto* b) {
         const size_t senses = GetU32(*b, kSenseCountAt);
         (*b)[GetU32(*b, kSensesAt) + 4 * (senses + 1)] = 0;
         Reseal(b);
       }},
      {"a relative naming no term",
       [](auto* b) {
         const size_t terms = GetU32(*b, kTermCountAt);
         const size_t relatives = GetU32(*b, kRelativesAt) + 4 * (terms + 1);
         ASSERT_GT(GetU32(*b, kRelativeCountAt), 0u);
         PutU32(b, relatives, static_cast<uint32_t>(terms));
         Reseal(b);
       }},
      {"word ranges descending",
       [](auto* b) {
         PutU32(b, GetU32(*b, kSensesAt) + 4, 1000);
         Reseal(b);
       }},
  };
  const std::vector<uint8_t> intact = meaning_test::ReadBytes(data_.IndexPath());
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.name);
    std::filesystem::remove(data_.IndexPath());
    if (damage.edit) {
      std::vector<uint8_t> bytes = intact;
      damage.edit(&bytes);
      meaning_test::WriteBytes(data_.IndexPath(), bytes);
    }
    const MeaningStatus expected =
        damage.edit ? MeaningStatus::kIndexDamaged : MeaningStatus::kIndexMissing;
    const meaning::MeaningSearch search(engine_, data_.IndexPath());
    for (int attempt = 0; attempt < 2; ++attempt) {  // the failure is remembered
      const MeaningResult result = search.Search("someone who bakes bread", entries_);
      EXPECT_EQ(result.status, expected);
      EXPECT_EQ(result.message,
                IndexMessage(damage.edit ? IndexStatus::kDamaged : IndexStatus::kMissing));
      EXPECT_TRUE(result.rows.empty());
    }
    // The description's own faults are still told first, and lookups still work.
    EXPECT_EQ(search.Search("bread #", entries_).status, MeaningStatus::kInvalidCharacters);
    lookup::LookupSession session(engine_, &custom_);
    EXPECT_EQ(session.Lookup("cats").kind, lookup::InputKind::kWord);
  }
  meaning_test::WriteBytes(data_.IndexPath(), intact);
  EXPECT_EQ(Search("someone who bakes bread").status, MeaningStatus::kFound);
}

// The header's ranking parameters and offsets change every result silently when a byte of them
// changes: the digest covers them, and values no compiled index holds are refused even in a
// file sealed again.
TEST_F(MeaningSearchTest, ChangedHeaderIsDamaged) {
  using namespace meaning;
  const std::vector<uint8_t> intact = meaning_test::ReadBytes(data_.IndexPath());
  std::unique_ptr<MeaningIndex> index;
  for (size_t at = kSenseCountAt; at < kMeaningHeaderSize; ++at) {
    SCOPED_TRACE(at);
    std::vector<uint8_t> bytes = intact;
    bytes[at] ^= 0x01;
    meaning_test::WriteBytes(data_.IndexPath(), bytes);
    EXPECT_EQ(MeaningIndex::Open(data_.IndexPath(), &index), IndexStatus::kDamaged);
  }
  const struct {
    const char* name;
    size_t at;
    uint32_t value;
  } resealed[] = {
      {"k1 zero", kK1At, 0},
      {"k1 too large", kK1At, 500000000},
      {"prior too large", kPriorAt, 500000000},
      {"impact step zero", kImpactStepAt, 0},
      {"impact step too large", kImpactStepAt, 500000000},
      {"weight too large", kWeightAt + 8, 500000000},
      {"average length too large", kAverageLengthAt + 4, 0xFFFFFFFF},
  };
  for (const auto& c : resealed) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> bytes = intact;
    PutU32(&bytes, c.at, c.value);
    meaning_test::Reseal(&bytes);
    meaning_test::WriteBytes(data_.IndexPath(), bytes);
    EXPECT_EQ(MeaningIndex::Open(data_.IndexPath(), &index), IndexStatus::kDamaged);
  }
  meaning_test::WriteBytes(data_.IndexPath(), intact);
  EXPECT_EQ(MeaningIndex::Open(data_.IndexPath(), &index), IndexStatus::kOk);
}

TEST(MeaningText, SplitWords) {
  const struct {
    const char* text;
    std::vector<std::string> words;
  } cases[] = {
      {"Baker's bread-knife/2nd ed.", {"baker", "s", "bread", "knife", "2nd", "ed"}},
      {"can't, doesn't, cannot, 't", {"can", "not", "doesn", "not", "not", "t"}},
      {"\xC3\x89T\xC3\x89 \xE2\x80\x94 caf\xC3\xA9", {"\xC3\xA9t\xC3\xA9", "caf\xC3\xA9"}},
      {"  ;;  ", {}},
      {"a\xFF"
       "b",
       {"a", "b"}},  // a byte that is no UTF-8 separates
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(meaning::SplitWords(c.text), c.words);
  }
}

TEST_F(MeaningSearchTest, SenseTagMatchesTheTagsList) {
  for (const char* word : {"cat", "bread", "relieve", "true_cat"}) {
    SCOPED_TRACE(word);
    std::vector<TagRecord> tags;
    ASSERT_EQ(Nymdex_GetTags(engine_, word, &tags), kNymdexOk);
    for (uint32_t k = 0; k < tags.size(); ++k) {
      TagRecord tag;
      ASSERT_EQ(Nymdex_GetSenseTag(engine_, word, k, &tag), kNymdexOk);
      EXPECT_EQ(tag.pos, tags[k].pos);
      EXPECT_EQ(tag.text, tags[k].text);
    }
    TagRecord beyond;
    EXPECT_EQ(Nymdex_GetSenseTag(engine_, word, static_cast<uint32_t>(tags.size()), &beyond),
              kNymdexNotFound);
  }
  TagRecord tag;
  EXPECT_EQ(Nymdex_GetSenseTag(engine_, "zebra", 0, &tag), kNymdexNotFound);
  EXPECT_EQ(Nymdex_GetSenseTag(nullptr, "cat", 0, &tag), kNymdexNullHandle);
  EXPECT_EQ(Nymdex_GetSenseTag(engine_, nullptr, 0, &tag), kNymdexNullArgument);
}

}  // namespace
