// Damaged files: every kind of damage gives its status code, never a read outside the file or
// a giant allocation, and the damaged entry can still be deleted.

#include <gtest/gtest.h>

#include <functional>

#include "custom/custom_db.h"
#include "tests/custom/test_util.h"

namespace custom_test {
namespace {

using Words = std::vector<std::string>;

class DamageTest : public ::testing::Test {
 public:
  void SetUp() override {
    index_ = folder_.Path("1001M.idx");
    data_ = folder_.Path("1001M.dat");
    a_ = RecordText("a", "noun", "first", "x");
    b_ = RecordText("b", "verb", "second", "y");
    WriteHandDatabase(index_, data_, {{"a", a_}, {"b", b_}});
    b_offset_ = 4 + static_cast<uint32_t>(Encipher(a_).size());
  }
  void TearDown() override { CustomDb_Close(&db_); }

  // Changes the bytes of one file in place.
  void Edit(const std::string& path, const std::function<void(Bytes*)>& change) {
    Bytes bytes = ReadBytes(path);
    change(&bytes);
    WriteBytes(path, bytes);
  }
  static void SetLe32(Bytes* bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
      (*bytes)[at + i] = static_cast<uint8_t>(value >> (8 * i));
  }

  ScratchFolder folder_;
  std::string index_;
  std::string data_;
  std::string a_;
  std::string b_;
  uint32_t b_offset_ = 0;
  CustomDatabase* db_ = nullptr;
};

TEST_F(DamageTest, DamagedIndexDoesNotOpen) {
  struct Case {
    const char* name;
    std::function<void(DamageTest*)> damage;
    int32_t code;
  } cases[] = {
      {"index missing", [](DamageTest* t) { std::remove(t->index_.c_str()); }, kCustomCannotOpen},
      {"data missing", [](DamageTest* t) { std::remove(t->data_.c_str()); }, kCustomBadIndex},
      {"header cut short",
       [](DamageTest* t) { t->Edit(t->index_, [](Bytes* b) { b->resize(10); }); }, kCustomBadIndex},
      {"count beyond the entries",
       [](DamageTest* t) { t->Edit(t->index_, [](Bytes* b) { SetLe32(b, 12, 3); }); },
       kCustomBadIndex},
      {"last entry cut short",
       [](DamageTest* t) { t->Edit(t->index_, [](Bytes* b) { b->resize(b->size() - 5); }); },
       kCustomBadIndex},
      {"giant count",
       [](DamageTest* t) { t->Edit(t->index_, [](Bytes* b) { SetLe32(b, 12, 0xFFFFFFFF); }); },
       kCustomBadIndex},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    c.damage(this);
    EXPECT_EQ(CustomDb_Open(&db_, index_.c_str(), data_.c_str()), c.code);
    EXPECT_EQ(db_, nullptr);
  }
}

TEST_F(DamageTest, DamagedRecordGivesItsCodeAndSparesOtherWords) {
  struct Case {
    const char* name;
    std::function<void(DamageTest*)> damage;
    int32_t code;
  } cases[] = {
      {"length beyond the end",
       [](DamageTest* t) { t->Edit(t->data_, [t](Bytes* b) { SetLe32(b, t->b_offset_, 4096); }); },
       kCustomBadRecord},
      {"huge length",
       [](DamageTest* t) {
         t->Edit(t->data_, [t](Bytes* b) { SetLe32(b, t->b_offset_, 0xFFFFFFF8); });
       },
       kCustomBadRecord},
      {"length not a multiple of 8",
       [](DamageTest* t) {
         t->Edit(t->data_,
                 [t](Bytes* b) { SetLe32(b, t->b_offset_, GetLe32(*b, t->b_offset_) - 3); });
       },
       kCustomCipherError},
      {"data cut inside the record",
       [](DamageTest* t) { t->Edit(t->data_, [](Bytes* b) { b->resize(b->size() - 1); }); },
       kCustomBadRecord},
      {"data cut inside the length",
       [](DamageTest* t) { t->Edit(t->data_, [t](Bytes* b) { b->resize(t->b_offset_ + 2); }); },
       kCustomBadRecord},
      {"offset past the end",
       [](DamageTest* t) { t->Edit(t->index_, [](Bytes* b) { SetLe32(b, 52, 1u << 30); }); },
       kCustomBadRecord},
      {"offset at the very end",
       [](DamageTest* t) {
         uint32_t size = static_cast<uint32_t>(ReadBytes(t->data_).size());
         t->Edit(t->index_, [size](Bytes* b) { SetLe32(b, 52, size); });
       },
       kCustomBadRecord},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CustomDb_Close(&db_);
    SetUp();
    c.damage(this);
    ASSERT_EQ(CustomDb_Open(&db_, index_.c_str(), data_.c_str()), kCustomOk);

    Words records;
    EXPECT_EQ(CustomDb_FindRecords(db_, "b", &records), c.code);
    int32_t status = kCustomOk;
    EXPECT_EQ(CustomDb_IsWord(db_, "b", &status), 0);  // a failure never makes the word known
    EXPECT_EQ(status, c.code);
    std::vector<TagRecord> senses;
    EXPECT_EQ(CustomDb_GetSenses(db_, "b", &senses), c.code);
    EXPECT_TRUE(senses.empty());
    Words words;
    EXPECT_EQ(CustomDb_GetSynonyms(db_, "b", &words), c.code);
    EXPECT_FALSE(CustomDb_HasSynonyms(db_, "b"));
    std::vector<CustomEntryInfo> infos;
    EXPECT_FALSE(CustomDb_GetEntries(db_, "b", &infos));
    std::vector<CustomEntrySummary> all;
    EXPECT_FALSE(CustomDb_GetAllEntries(db_, &all));
    ASSERT_EQ(all.size(), 1u);  // gathered before the damage
    EXPECT_EQ(all[0].word, "a");

    EXPECT_EQ(CustomDb_IsWord(db_, "a"), 1);
    EXPECT_EQ(CustomDb_GetSynonyms(db_, "a", &words), kCustomOk);
    EXPECT_EQ(words, Words{"x"});

    // Deleting the damaged entry repairs the database.
    ASSERT_TRUE(CustomDb_DeleteEntry(db_, 1));
    EXPECT_EQ(CustomDb_FindRecords(db_, "b", &records), kCustomOk);
    EXPECT_TRUE(records.empty());
    ASSERT_TRUE(CustomDb_AppendEntry(&db_, 0, "c", "third", "", "", {}));
    EXPECT_EQ(Contents(index_, data_),
              (std::vector<std::pair<std::string, std::string>>{{"a", "first"}, {"c", "third"}}));
  }
}

TEST_F(DamageTest, EmptyRecordIsSkipped) {
  // A record of length 0 holds nothing and is passed over, not reported.
  Edit(data_, [this](Bytes* b) {
    b->resize(b_offset_);
    PutLe32(b, 0);
  });
  ASSERT_EQ(CustomDb_Open(&db_, index_.c_str(), data_.c_str()), kCustomOk);
  Words records = {"stale"};
  EXPECT_EQ(CustomDb_FindRecords(db_, "b", &records), kCustomOk);
  EXPECT_TRUE(records.empty());
  std::vector<CustomEntrySummary> all;
  EXPECT_TRUE(CustomDb_GetAllEntries(db_, &all));
  EXPECT_EQ(all.size(), 1u);
}

TEST_F(DamageTest, TrailingIndexBytesAreIgnoredAndDroppedByTheNextAppend) {
  Edit(index_, [](Bytes* b) { b->insert(b->end(), {1, 2, 3, 4, 5, 6, 7}); });
  ASSERT_EQ(CustomDb_Open(&db_, index_.c_str(), data_.c_str()), kCustomOk);
  EXPECT_EQ(CustomDb_IsWord(db_, "b"), 1);
  ASSERT_TRUE(CustomDb_AppendEntry(&db_, 0, "c", "third", "", "", {}));
  EXPECT_EQ(ReadBytes(index_).size(), 16u + 3 * 20);
  EXPECT_EQ(Contents(index_, data_).size(), 3u);
  EXPECT_EQ(CustomDb_IsWord(db_, "c"), 1);
}

}  // namespace
}  // namespace custom_test
