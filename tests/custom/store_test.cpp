// The store and its queries over well-formed files: files written by hand from the format
// rules read correctly, and what the store writes follows those rules byte for byte.

#include "tests/custom/test_util.h"

namespace custom_test {
namespace {

TEST(RecordTextTest, FieldIsTheTextBeforeItsPercent) {
  struct {
    const char* record;
    int n;
    const char* field;
  } fields[] = {{"a%b%c%", 3, "c"}, {"a%b%c", 3, ""}, {"a%%c%", 2, ""}, {"a%b%", 0, ""}};
  for (const auto& c : fields) {
    SCOPED_TRACE(c.record);
    EXPECT_EQ(GetRecordField(c.record, c.n), c.field);
  }
}

TEST(RecordTextTest, CommaListAppendsItsPieces) {
  struct {
    const char* field;
    Words words;
  } lists[] = {{"", {"kept"}},
               {",x,y", {"kept", ",x,y"}},
               {"x,,y", {"kept", "x", "", "y"}},
               {"a,b,", {"kept", "a", "b"}},
               {"a,,", {"kept", "a", ""}}};
  for (const auto& c : lists) {
    SCOPED_TRACE(c.field);
    Words words = {"kept"};  // appended to, never cleared
    SplitCommaList(c.field, &words);
    EXPECT_EQ(words, c.words);
  }
}

TEST(RecordTextTest, BuiltRecordFollowsTheFieldRules) {
  CustomRelationLists related;
  related[0] = {"Big", "", "LARGE"};
  related[21] = {"x,"};  // a trailing ',' of a word goes with the field's separator
  std::string text = BuildCustomRecord(1, "Ice Cream", "A Def", "ex^", "", related);
  EXPECT_EQ(text, "ice cream%big,large" + std::string(21, '%') + "x%verb%A Def%%ex^%");
  for (int32_t type : {-1, 9}) {
    EXPECT_EQ(GetRecordField(BuildCustomRecord(type, "w", "d", "", "", {}), kCustomTypeField),
              "noun");
  }
}

class StoreTest : public DbTest {
 protected:
  void OpenEmpty() {
    ASSERT_EQ(CustomDb_CreateIfMissing(index_.c_str(), data_.c_str()),
              CustomCreateResult::kCreated);
    Open();
  }
  bool Append(const char* word, const char* definition, const CustomRelationLists& related = {},
              const char* examples = "") {
    return CustomDb_AppendEntry(&db_, 0, word, definition, examples, "", related);
  }
};

TEST_F(StoreTest, HandBuiltDatabaseReadsBack) {
  std::string first = RecordText("bank", "noun", "river side", "a,b", "by the bank^");
  std::string second = RecordText("bank", "int", "second sense", "b");
  std::string other = RecordText("other", "Noun", "display name as type");
  OpenHand({{"bank", first}, {"other", other}, {"bank", second}});
  EXPECT_EQ(CustomDb_CountEntries(db_), 3u);

  Words records;
  ASSERT_EQ(CustomDb_FindRecords(db_, "bank", &records), kCustomOk);
  EXPECT_EQ(records, (Words{first, second}));
  EXPECT_EQ(CustomDb_IsWord(db_, "bank"), 2);
  EXPECT_EQ(CustomDb_IsWord(db_, "Bank"), 0);  // keys are the bytes as given
  EXPECT_EQ(CustomDb_FindRecords(nullptr, "w", &records), kCustomNullHandle);
  EXPECT_EQ(CustomDb_FindRecords(db_, nullptr, &records), kCustomNullArgument);
  int32_t status = 0;
  EXPECT_EQ(CustomDb_IsWord(nullptr, "w", &status), 0);
  EXPECT_EQ(status, kCustomNullHandle);

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

  std::vector<CustomEntryInfo> infos;
  ASSERT_TRUE(CustomDb_GetEntries(db_, "bank", &infos));
  ASSERT_EQ(infos.size(), 2u);
  EXPECT_EQ(infos[0].examples, "by the bank^");
  EXPECT_EQ(infos[1].type_name, "int");

  std::vector<CustomEntrySummary> all;
  ASSERT_TRUE(CustomDb_GetAllEntries(db_, &all));
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[1].word, "other");
  EXPECT_EQ(all[1].type_name, "Noun");
  EXPECT_EQ(all[1].offset, 4 + Encipher(first).size());
}

TEST_F(StoreTest, EveryRelationReadsItsOwnField) {
  std::string text = "w%";
  for (int slot = 0; slot < kCustomRelationCount; ++slot)
    text += "r" + std::to_string(slot) + "," + std::to_string(slot) + "b%";
  OpenHand({{"w", text + "noun%d%%%"}, {"none", RecordText("none", "noun", "d")}});
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
  }
}

// Where the entries go is checked by the model test below.
TEST_F(StoreTest, PositionsOutOfRangeChangeNothing) {
  OpenEmpty();
  ASSERT_TRUE(Append("same", "first"));
  CustomReplaceFailure failure = CustomReplaceFailure::kDelete;
  ASSERT_TRUE(CustomDb_ReplaceEntry(&db_, 0, 3, "same", "edited", "", "", {}, &failure));
  EXPECT_EQ(failure, CustomReplaceFailure::kNone);
  EXPECT_FALSE(CustomDb_ReplaceEntry(&db_, 1, 0, "x", "y", "", "", {}, &failure));
  EXPECT_EQ(failure, CustomReplaceFailure::kDelete);
  CustomDatabase* none = nullptr;
  EXPECT_FALSE(CustomDb_ReplaceEntry(&none, -1, 0, "x", "y", "", "", {}, &failure));
  EXPECT_EQ(failure, CustomReplaceFailure::kAppend);
  EXPECT_FALSE(CustomDb_DeleteEntry(db_, 1));
  EXPECT_FALSE(CustomDb_DeleteEntry(db_, -1));
  EXPECT_FALSE(CustomDb_DeleteEntry(nullptr, 0));
  EXPECT_EQ(Contents(index_, data_), (Pairs{{"same", "edited"}}));
}

TEST_F(StoreTest, CreateOnlyWhenBothFilesAreMissing) {
  OpenEmpty();
  EXPECT_EQ(ReadBytes(index_), Bytes(16, 0));
  EXPECT_EQ(Names(), (Words{"1001M.dat", "1001M.idx"}));
  // An empty database never opens its data file.
  std::remove(data_.c_str());
  Words records = {"stale"};
  EXPECT_EQ(CustomDb_FindRecords(db_, "any", &records), kCustomOk);
  EXPECT_TRUE(records.empty());
  CustomDb_Close(&db_);

  WriteHandDatabase(index_, data_, {{"kept", RecordText("kept", "noun", "d")}});
  Bytes index = ReadBytes(index_);
  EXPECT_EQ(CustomDb_CreateIfMissing(index_.c_str(), data_.c_str()), CustomCreateResult::kExisting);
  EXPECT_EQ(ReadBytes(index_), index);

  // One file alone is a damaged database: nothing is created or overwritten.
  std::remove(data_.c_str());
  EXPECT_EQ(CustomDb_CreateIfMissing(index_.c_str(), data_.c_str()), CustomCreateResult::kDamaged);
  EXPECT_EQ(ReadBytes(index_), index);
  EXPECT_EQ(Names(), Words{"1001M.idx"});
  EXPECT_EQ(CustomDb_Open(&db_, index_.c_str(), data_.c_str()), kCustomBadIndex);

  std::rename(index_.c_str(), data_.c_str());
  EXPECT_EQ(CustomDb_CreateIfMissing(index_.c_str(), data_.c_str()), CustomCreateResult::kDamaged);
  EXPECT_EQ(CustomDb_Open(&db_, index_.c_str(), data_.c_str()), kCustomCannotOpen);
  EXPECT_EQ(db_, nullptr);
  EXPECT_EQ(CustomDb_CreateIfMissing(nullptr, data_.c_str()), CustomCreateResult::kFailed);
  EXPECT_EQ(CustomDb_Open(&db_, nullptr, data_.c_str()), kCustomNullArgument);
  EXPECT_EQ(CustomDb_Close(&db_), kCustomNullHandle);
  EXPECT_EQ(CustomDb_CreateIfMissing(Path("no/x.idx").c_str(), Path("no/x.dat").c_str()),
            CustomCreateResult::kFailed);
}

// Random appends, deletes and replaces, then every entry deleted: after each change the files
// hold exactly what a database written by hand from the model holds (records back to back in
// index order, each keyed on its word as given and padded to whole cipher blocks, the reserved
// header bytes kept).
TEST_F(StoreTest, RandomChangesMatchAModel) {
  Bytes reserved = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0xFF, 0x80};
  OpenHand({}, reserved);
  Pairs model;  // word and record text
  std::mt19937 random(12345);
  for (int step = 0; step < 90; ++step) {
    SCOPED_TRACE(step);
    uint32_t action = step >= 60 ? 2 : model.empty() ? 0 : random() % 4;  // 0 and 1 append
    std::string word = (step % 3 == 0 ? "W" : "w") + std::to_string(random() % 6);
    std::string definition(random() % 30 + 1, static_cast<char>('a' + step % 26));
    int32_t position = model.empty() ? 0 : static_cast<int32_t>(random() % model.size());
    if (action <= 1) {
      ASSERT_TRUE(Append(word.c_str(), definition.c_str()));
    } else if (action == 2) {
      if (model.empty()) break;
      ASSERT_TRUE(CustomDb_DeleteEntry(db_, position));
    } else {
      ASSERT_TRUE(
          CustomDb_ReplaceEntry(&db_, position, 0, word.c_str(), definition.c_str(), "", "", {}));
    }
    if (action >= 2) model.erase(model.begin() + position);
    if (action != 2) model.emplace_back(word, BuildCustomRecord(0, word, definition, "", "", {}));
    ASSERT_EQ(CustomDb_CountEntries(db_), model.size());
    WriteHandDatabase(Path("x.idx"), Path("x.dat"), model, reserved);
    ASSERT_EQ(ReadBytes(index_), ReadBytes(Path("x.idx")));
    ASSERT_EQ(ReadBytes(data_), ReadBytes(Path("x.dat")));
  }
  EXPECT_TRUE(model.empty());
  ASSERT_TRUE(Append("again", "after emptying"));
  EXPECT_EQ(Contents(index_, data_), (Pairs{{"again", "after emptying"}}));
}

}  // namespace
}  // namespace custom_test
