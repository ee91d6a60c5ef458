// The store and its queries over well-formed files: files written by hand from the format
// rules read correctly, and what the store writes follows those rules byte for byte.

#include <gtest/gtest.h>

#include "custom/custom_db.h"
#include "engine/md5.h"
#include "tests/custom/test_util.h"

namespace custom_test {
namespace {

using Words = std::vector<std::string>;

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    index_ = folder_.Path("1001M.idx");
    data_ = folder_.Path("1001M.dat");
  }
  void TearDown() override { CustomDb_Close(&db_); }

  void OpenHand(const std::vector<HandEntry>& entries, const Bytes& reserved = Bytes(12)) {
    WriteHandDatabase(index_, data_, entries, reserved);
    ASSERT_EQ(CustomDb_Open(&db_, index_.c_str(), data_.c_str()), kCustomOk);
  }

  void OpenEmpty() {
    ASSERT_EQ(CustomDb_CreateIfMissing(index_.c_str(), data_.c_str()),
              CustomCreateResult::kCreated);
    ASSERT_EQ(CustomDb_Open(&db_, index_.c_str(), data_.c_str()), kCustomOk);
  }

  bool Append(const char* word, const char* definition, int32_t type = 0,
              const CustomRelationLists& related = {}, const char* examples = "") {
    return CustomDb_AppendEntry(&db_, type, word, definition, examples, "", related);
  }

  ScratchFolder folder_;
  std::string index_;
  std::string data_;
  CustomDatabase* db_ = nullptr;
};

TEST(RecordTextTest, FieldsAreCutAtPercentSigns) {
  struct Case {
    const char* record;
    int n;
    const char* field;
  } cases[] = {
      {"a%b%c%", 1, "a"}, {"a%b%c%", 3, "c"},       {"a%b%c", 3, ""}, {"a%%c%", 2, ""},
      {"a%b%c%", 4, ""},  {"%x%", 1, ""},           {"a%b%", 0, ""},  {"", 1, ""},
      {"tail", 1, ""},    {"w%s1,s2%", 2, "s1,s2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.record) + " field " + std::to_string(c.n));
    EXPECT_EQ(GetRecordField(c.record, c.n), c.field);
  }
}

TEST(RecordTextTest, CommaListsSplitAsStored) {
  struct Case {
    const char* field;
    Words words;
  } cases[] = {
      {"", {}},
      {"x", {"x"}},
      {",x", {",x"}},
      {",x,y", {",x,y"}},
      {"x,,y", {"x", "", "y"}},
      {"a,b", {"a", "b"}},
      {"a,b,", {"a", "b"}},
      {"a,,", {"a", ""}},
      {"two words,b", {"two words", "b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    Words words = {"kept"};
    SplitCommaList(c.field, &words);
    Words expected = {"kept"};
    expected.insert(expected.end(), c.words.begin(), c.words.end());
    EXPECT_EQ(words, expected);
  }
}

TEST(RecordTextTest, BuildLowersWordsAndDropsEmptyRelatedWords) {
  CustomRelationLists related;
  related[0] = {"Big", "", "LARGE"};
  related[21] = {"x,"};  // a trailing ',' of a word goes with the field's separator
  std::string text = BuildCustomRecord(1, "Ice Cream", "A Def", "ex one^", "", related);
  EXPECT_EQ(GetRecordField(text, 1), "ice cream");
  EXPECT_EQ(GetRecordField(text, 2), "big,large");
  EXPECT_EQ(GetRecordField(text, 23), "x");
  EXPECT_EQ(GetRecordField(text, 24), "verb");
  EXPECT_EQ(GetRecordField(text, 25), "A Def");  // the definition keeps its case
  EXPECT_EQ(GetRecordField(text, 27), "ex one^");
  EXPECT_EQ(std::count(text.begin(), text.end(), '%'), kCustomFieldCount);
  EXPECT_EQ(text.back(), '%');

  for (int32_t type : {-1, 9, 1000}) {
    SCOPED_TRACE(type);
    EXPECT_EQ(GetRecordField(BuildCustomRecord(type, "w", "d", "", "", {}), 24), "noun");
  }
}

TEST_F(StoreTest, HandBuiltDatabaseReadsBack) {
  std::string first = RecordText("bank", "noun", "river side", "a,b", "by the bank^");
  std::string second = RecordText("bank", "int", "second sense", "b");
  std::string other = RecordText("other", "Noun", "display name as type");
  OpenHand({{"bank", first}, {"other", other}, {"bank", second}});
  EXPECT_EQ(CustomDb_CountEntries(db_), 3u);

  Words records;
  ASSERT_EQ(CustomDb_FindRecords(db_, "bank", &records), kCustomOk);
  EXPECT_EQ(records, (Words{first, second}));

  int32_t status = -1;
  EXPECT_EQ(CustomDb_IsWord(db_, "bank", &status), 2);
  EXPECT_EQ(status, kCustomOk);
  EXPECT_EQ(CustomDb_IsWord(db_, "Bank"), 0);  // keys are the bytes as given

  std::vector<TagRecord> senses;
  ASSERT_EQ(CustomDb_GetSenses(db_, "bank", &senses), kCustomOk);
  ASSERT_EQ(senses.size(), 2u);
  EXPECT_EQ(senses[0].pos, 1u);
  EXPECT_EQ(senses[0].text, "river side");
  EXPECT_EQ(senses[1].pos, 8u);
  ASSERT_EQ(CustomDb_GetSenses(db_, "other", &senses), kCustomOk);
  EXPECT_EQ(senses.at(0).pos, kCustomOtherPos);

  Words synonyms = {"stale"};
  ASSERT_EQ(CustomDb_GetSynonyms(db_, "bank", &synonyms), kCustomOk);
  EXPECT_EQ(synonyms, (Words{"a", "b", "b"}));
  EXPECT_TRUE(CustomDb_HasSynonyms(db_, "bank"));
  EXPECT_FALSE(CustomDb_HasAntonyms(db_, "bank"));
  EXPECT_FALSE(CustomDb_HasSynonyms(db_, "other"));

  std::vector<CustomEntryInfo> infos;
  ASSERT_TRUE(CustomDb_GetEntries(db_, "bank", &infos));
  ASSERT_EQ(infos.size(), 2u);
  EXPECT_EQ(infos[0].type_name, "noun");
  EXPECT_EQ(infos[0].definition, "river side");
  EXPECT_EQ(infos[0].spare, "");
  EXPECT_EQ(infos[0].examples, "by the bank^");
  EXPECT_EQ(infos[1].type_name, "int");

  std::vector<CustomEntrySummary> all;
  ASSERT_TRUE(CustomDb_GetAllEntries(db_, &all));
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[1].word, "other");
  EXPECT_EQ(all[1].type_name, "Noun");
  EXPECT_EQ(all[0].offset, 0u);
  EXPECT_EQ(all[1].offset, 4 + Encipher(first).size());
}

TEST_F(StoreTest, EveryRelationReadsItsOwnField) {
  std::string text = "w%";
  for (int slot = 0; slot < kCustomRelationCount; ++slot) {
    text += "r" + std::to_string(slot) + "," + std::to_string(slot) + "b%";
  }
  text += "noun%d%%%";
  OpenHand({{"w", text}, {"none", RecordText("none", "noun", "d")}});
  for (int slot = 0; slot < kCustomRelationCount; ++slot) {
    const CustomRelation& relation = kCustomRelations[slot];
    SCOPED_TRACE(relation.name);
    EXPECT_STREQ(relation.name, kNymdexRelations[slot].name);
    Words words;
    ASSERT_EQ(relation.get(db_, "w", &words), kCustomOk);
    std::string n = std::to_string(slot);
    EXPECT_EQ(words, (Words{"r" + n, n + "b"}));
    EXPECT_TRUE(relation.has(db_, "w"));
    EXPECT_FALSE(relation.has(db_, "none"));
    EXPECT_EQ(relation.get(db_, "absent", &words), kCustomOk);
    EXPECT_TRUE(words.empty());
  }
}

TEST_F(StoreTest, EmptyDatabaseAnswersWithoutTheDataFile) {
  OpenEmpty();
  std::remove(data_.c_str());  // never opened when nothing can match
  Words records = {"stale"};
  EXPECT_EQ(CustomDb_FindRecords(db_, "any", &records), kCustomOk);
  EXPECT_TRUE(records.empty());
  std::vector<CustomEntryInfo> infos;
  EXPECT_TRUE(CustomDb_GetEntries(db_, "any", &infos));
  EXPECT_EQ(CustomDb_CountEntries(db_), 0u);
}

TEST_F(StoreTest, AppendWritesTheFileFormatExactly) {
  Bytes reserved = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  OpenHand({}, reserved);
  CustomRelationLists related;
  related[0] = {"Huge"};
  ASSERT_TRUE(Append("ab", "dddddddd", 0, {}, ""));
  ASSERT_TRUE(Append("Big Top", "defn", 0, related, "one^"));

  Bytes index = ReadBytes(index_);
  Bytes data = ReadBytes(data_);
  ASSERT_EQ(index.size(), 16u + 2 * 20);
  EXPECT_TRUE(std::equal(reserved.begin(), reserved.end(), index.begin()));
  EXPECT_EQ(GetLe32(index, 12), 2u);

  std::string text0 = BuildCustomRecord(0, "ab", "dddddddd", "", "", {});
  std::string text1 = BuildCustomRecord(0, "Big Top", "defn", "one^", "", related);
  size_t n0 = (text0.size() + 7) / 8 * 8;
  size_t n1 = (text1.size() + 7) / 8 * 8;
  ASSERT_EQ(data.size(), 4 + n0 + 4 + n1);

  engine::Digest key0 = engine::Md5String("ab");
  engine::Digest key1 = engine::Md5String("Big Top");  // keyed as given, stored lower-cased
  EXPECT_TRUE(std::equal(key0.begin(), key0.end(), index.begin() + 16));
  EXPECT_EQ(GetLe32(index, 32), 0u);
  EXPECT_TRUE(std::equal(key1.begin(), key1.end(), index.begin() + 36));
  EXPECT_EQ(GetLe32(index, 52), 4 + n0);

  EXPECT_EQ(GetLe32(data, 0), n0);
  Bytes cipher0 = Encipher(text0);
  EXPECT_TRUE(std::equal(cipher0.begin(), cipher0.end(), data.begin() + 4));
  EXPECT_EQ(GetLe32(data, 4 + n0), n1);
  EXPECT_EQ(Decipher(data.data() + 8 + n0, n1), text1);
  EXPECT_EQ(GetRecordField(text1, 1), "big top");
  EXPECT_EQ(GetRecordField(text1, 2), "huge");
}

TEST_F(StoreTest, RecordLengthsRoundUpToWholeBlocks) {
  OpenEmpty();
  // A record of word "w" is 32 bytes plus its definition: 40 bytes (a whole number of blocks,
  // no block added) with a definition of 8 letters, 41 (padded to 48) with one of 9.
  for (size_t extra : {0, 7, 8, 9}) {
    SCOPED_TRACE(extra);
    std::string definition(1 + extra, 'q');
    std::string text = BuildCustomRecord(0, "w", definition, "", "", {});
    size_t before = ReadBytes(data_).size();
    ASSERT_TRUE(Append("w", definition.c_str()));
    Bytes data = ReadBytes(data_);
    EXPECT_EQ(GetLe32(data, before), (text.size() + 7) / 8 * 8);
    EXPECT_EQ(data.size(), before + 4 + (text.size() + 7) / 8 * 8);
  }
  Words records;
  ASSERT_EQ(CustomDb_FindRecords(db_, "w", &records), kCustomOk);
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[3], BuildCustomRecord(0, "w", std::string(10, 'q'), "", "", {}));
}

TEST_F(StoreTest, DeleteCompactsBothFilesAndKeepsReservedBytes) {
  Bytes reserved = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0xFF, 0x80};
  std::string a = RecordText("a", "noun", "first");
  std::string b = RecordText("b", "verb", "second, a bit longer");
  std::string c = RecordText("c", "adj", "third");
  OpenHand({{"a", a}, {"b", b}, {"c", c}}, reserved);
  size_t nb = Encipher(b).size();
  size_t data_before = ReadBytes(data_).size();

  ASSERT_TRUE(CustomDb_DeleteEntry(db_, 1));
  Bytes index = ReadBytes(index_);
  ASSERT_EQ(index.size(), 16u + 2 * 20);
  EXPECT_EQ(GetLe32(index, 12), 2u);
  EXPECT_TRUE(std::equal(reserved.begin(), reserved.end(), index.begin()));
  EXPECT_EQ(GetLe32(index, 32), 0u);
  EXPECT_EQ(GetLe32(index, 52), 4 + Encipher(a).size());
  EXPECT_EQ(ReadBytes(data_).size(), data_before - 4 - nb);
  EXPECT_EQ(Contents(index_, data_),
            (std::vector<std::pair<std::string, std::string>>{{"a", "first"}, {"c", "third"}}));
  Words records;
  ASSERT_EQ(CustomDb_FindRecords(db_, "c", &records), kCustomOk);
  EXPECT_EQ(records, Words{c});

  EXPECT_FALSE(CustomDb_DeleteEntry(db_, 2));
  EXPECT_FALSE(CustomDb_DeleteEntry(db_, -1));
  EXPECT_FALSE(CustomDb_DeleteEntry(nullptr, 0));
  ASSERT_TRUE(CustomDb_DeleteEntry(db_, 0));
  ASSERT_TRUE(CustomDb_DeleteEntry(db_, 0));
  EXPECT_EQ(ReadBytes(data_).size(), 0u);
  index = ReadBytes(index_);
  ASSERT_EQ(index.size(), 16u);
  EXPECT_EQ(GetLe32(index, 12), 0u);
  EXPECT_TRUE(std::equal(reserved.begin(), reserved.end(), index.begin()));

  ASSERT_TRUE(Append("again", "after emptying"));
  EXPECT_TRUE(std::equal(reserved.begin(), reserved.end(), ReadBytes(index_).begin()));
  EXPECT_EQ(folder_.Names(), (Words{"1001M.dat", "1001M.idx"}));  // no side files remain
}

TEST_F(StoreTest, ReplaceMovesTheEntryToTheEnd) {
  OpenEmpty();
  CustomRelationLists related;
  related[0] = {"one"};
  ASSERT_TRUE(Append("same", "first", 0, related));
  ASSERT_TRUE(Append("other", "middle"));
  related[0] = {"two"};
  ASSERT_TRUE(Append("same", "second", 2, related));

  CustomReplaceFailure failure = CustomReplaceFailure::kDelete;
  related[0] = {"three"};
  ASSERT_TRUE(CustomDb_ReplaceEntry(&db_, 0, 3, "same", "edited", "", "", related, &failure));
  EXPECT_EQ(failure, CustomReplaceFailure::kNone);
  using Pairs = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(Contents(index_, data_),
            (Pairs{{"other", "middle"}, {"same", "second"}, {"same", "edited"}}));
  Words synonyms;
  ASSERT_EQ(CustomDb_GetSynonyms(db_, "same", &synonyms), kCustomOk);
  EXPECT_EQ(synonyms, (Words{"two", "three"}));

  // No position: a plain append. A position out of range changes nothing.
  ASSERT_TRUE(CustomDb_ReplaceEntry(&db_, -1, 0, "new", "appended", "", "", {}, &failure));
  EXPECT_FALSE(CustomDb_ReplaceEntry(&db_, 4, 0, "x", "y", "", "", {}, &failure));
  EXPECT_EQ(failure, CustomReplaceFailure::kDelete);
  CustomDatabase* none = nullptr;
  EXPECT_FALSE(CustomDb_ReplaceEntry(&none, -1, 0, "x", "y", "", "", {}, &failure));
  EXPECT_EQ(failure, CustomReplaceFailure::kAppend);
  EXPECT_EQ(Contents(index_, data_).size(), 4u);
}

TEST_F(StoreTest, NullArgumentsGiveTheirCodes) {
  OpenEmpty();
  Words words;
  EXPECT_EQ(CustomDb_FindRecords(nullptr, "w", &words), kCustomNullHandle);
  EXPECT_EQ(CustomDb_FindRecords(db_, nullptr, &words), kCustomNullArgument);
  int32_t status = 0;
  EXPECT_EQ(CustomDb_IsWord(nullptr, "w", &status), 0);
  EXPECT_EQ(status, kCustomNullHandle);
  EXPECT_FALSE(CustomDb_AppendEntry(&db_, 0, nullptr, "d", "", "", {}));
  CustomDatabase* other = nullptr;
  EXPECT_EQ(CustomDb_Open(&other, nullptr, data_.c_str()), kCustomNullArgument);
  EXPECT_EQ(CustomDb_Close(&other), kCustomNullHandle);
}

TEST_F(StoreTest, CreateOnlyWhenBothFilesAreMissing) {
  ASSERT_EQ(CustomDb_CreateIfMissing(index_.c_str(), data_.c_str()), CustomCreateResult::kCreated);
  EXPECT_EQ(ReadBytes(index_), Bytes(16, 0));
  EXPECT_TRUE(ReadBytes(data_).empty());
  EXPECT_EQ(folder_.Names(), (Words{"1001M.dat", "1001M.idx"}));

  WriteHandDatabase(index_, data_, {{"kept", RecordText("kept", "noun", "d")}});
  Bytes index = ReadBytes(index_);
  EXPECT_EQ(CustomDb_CreateIfMissing(index_.c_str(), data_.c_str()), CustomCreateResult::kExisting);
  EXPECT_EQ(ReadBytes(index_), index);

  // One file alone is a damaged database: nothing is created or overwritten.
  std::remove(data_.c_str());
  EXPECT_EQ(CustomDb_CreateIfMissing(index_.c_str(), data_.c_str()), CustomCreateResult::kDamaged);
  EXPECT_EQ(ReadBytes(index_), index);
  EXPECT_EQ(folder_.Names(), Words{"1001M.idx"});
  EXPECT_EQ(CustomDb_Open(&db_, index_.c_str(), data_.c_str()), kCustomBadIndex);

  std::rename(index_.c_str(), data_.c_str());
  EXPECT_EQ(CustomDb_CreateIfMissing(index_.c_str(), data_.c_str()), CustomCreateResult::kDamaged);
  EXPECT_EQ(CustomDb_Open(&db_, index_.c_str(), data_.c_str()), kCustomCannotOpen);
  EXPECT_EQ(db_, nullptr);
  EXPECT_EQ(CustomDb_CreateIfMissing(nullptr, data_.c_str()), CustomCreateResult::kFailed);
  EXPECT_EQ(CustomDb_CreateIfMissing(folder_.Path("no/such/x.idx").c_str(),
                                     folder_.Path("no/such/x.dat").c_str()),
            CustomCreateResult::kFailed);
}

TEST_F(StoreTest, RandomChangesMatchAModel) {
  OpenEmpty();
  std::vector<std::pair<std::string, std::string>> model;
  uint32_t seed = 12345;
  auto next = [&seed](uint32_t range) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % range;
  };
  for (int step = 0; step < 60; ++step) {
    SCOPED_TRACE(step);
    uint32_t action = next(4);
    std::string word = "w" + std::to_string(next(6));
    std::string definition = std::string(next(30) + 1, static_cast<char>('a' + step % 26));
    if (action <= 1 || model.empty()) {
      ASSERT_TRUE(Append(word.c_str(), definition.c_str()));
      model.emplace_back(word, definition);
    } else if (action == 2) {
      int32_t position = static_cast<int32_t>(next(static_cast<uint32_t>(model.size())));
      ASSERT_TRUE(CustomDb_DeleteEntry(db_, position));
      model.erase(model.begin() + position);
    } else {
      int32_t position = static_cast<int32_t>(next(static_cast<uint32_t>(model.size())));
      ASSERT_TRUE(
          CustomDb_ReplaceEntry(&db_, position, 0, word.c_str(), definition.c_str(), "", "", {}));
      model.erase(model.begin() + position);
      model.emplace_back(word, definition);
    }
    std::vector<CustomEntrySummary> all;
    ASSERT_TRUE(CustomDb_GetAllEntries(db_, &all));
    ASSERT_EQ(all.size(), model.size());
    for (size_t i = 0; i < all.size(); ++i) {
      EXPECT_EQ(all[i].word, model[i].first);
      EXPECT_EQ(all[i].definition, model[i].second);
    }
    ASSERT_EQ(CustomDb_CountEntries(db_), model.size());
  }
  EXPECT_EQ(Contents(index_, data_), model);
}

}  // namespace
}  // namespace custom_test
