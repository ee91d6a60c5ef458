// Backup and restore of the two database files.

#include "custom/backup.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "custom/custom_db.h"
#include "tests/custom/test_util.h"

namespace custom_test {
namespace {

TEST(BackupNamesTest, IndexPathReplacesEveryDbk) {
  struct Case {
    const char* dbk;
    const char* ibk;
  } cases[] = {
      {"/home/u/vbc.dbk", "/home/u/vbc.ibk"},
      {"/x.dbk/y.dbk", "/x.ibk/y.ibk"},
      {"/home/u/VBC.DBK", "/home/u/VBC.DBK"},  // case-sensitive: the same path
      {"a.dbkdbk", "a.ibkdbk"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dbk);
    EXPECT_EQ(BackupIndexPath(c.dbk), c.ibk);
  }
}

TEST(BackupNamesTest, SuggestedNameIsTheUtcTime) {
  // 3 February 2026, 09:05:07 UTC.
  EXPECT_EQ(SuggestedBackupName(1770109507), "vbc02032026090507");
  EXPECT_EQ(SuggestedBackupName(0), "vbc01011970000000");
}

class BackupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    index_ = folder_.Path("1001M.idx");
    data_ = folder_.Path("1001M.dat");
    WriteHandDatabase(index_, data_, {{"mine", RecordText("mine", "noun", "current")}},
                      Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    ASSERT_EQ(CustomDb_Open(&db_, index_.c_str(), data_.c_str()), kCustomOk);
  }
  void TearDown() override { CustomDb_Close(&db_); }

  ScratchFolder folder_;
  std::string index_;
  std::string data_;
  CustomDatabase* db_ = nullptr;
};

TEST_F(BackupTest, BackupCopiesBothFilesExactly) {
  std::string dbk = folder_.Path("vbc01.dbk");
  EXPECT_EQ(BackupCustomDatabase(index_, data_, dbk), "");
  EXPECT_EQ(ReadBytes(dbk), ReadBytes(data_));
  EXPECT_EQ(ReadBytes(folder_.Path("vbc01.ibk")), ReadBytes(index_));

  // Taken again over the same pair: both are overwritten.
  ASSERT_TRUE(CustomDb_AppendEntry(&db_, 0, "more", "d", "", "", {}));
  EXPECT_EQ(BackupCustomDatabase(index_, data_, dbk), "");
  EXPECT_EQ(ReadBytes(dbk), ReadBytes(data_));
  EXPECT_EQ(ReadBytes(folder_.Path("vbc01.ibk")), ReadBytes(index_));
}

TEST_F(BackupTest, BackupFailuresCarryTheSystemText) {
  std::string message = BackupCustomDatabase(index_, data_, folder_.Path("missing/x.dbk"));
  EXPECT_EQ(message, std::string("Failed to backup custom database : ") + std::strerror(ENOENT));
  // Backing up onto the database's own data file would destroy it.
  Bytes data = ReadBytes(data_);
  EXPECT_NE(BackupCustomDatabase(index_, data_, data_), "");
  EXPECT_EQ(ReadBytes(data_), data);
}

TEST_F(BackupTest, RestoreReplacesBothFilesAndReopens) {
  std::string dbk = folder_.Path("old.dbk");
  WriteHandDatabase(folder_.Path("old.ibk"), dbk, {{"saved", RecordText("saved", "verb", "then")}});
  RestoreResult result = RestoreCustomDatabase(&db_, index_, data_, dbk);
  EXPECT_EQ(result.outcome, RestoreOutcome::kRestored);
  EXPECT_EQ(result.message, "");
  ASSERT_NE(db_, nullptr);
  EXPECT_EQ(CustomDb_IsWord(db_, "saved"), 1);
  EXPECT_EQ(CustomDb_IsWord(db_, "mine"), 0);
  EXPECT_EQ(ReadBytes(data_), ReadBytes(dbk));
  EXPECT_EQ(ReadBytes(index_), ReadBytes(folder_.Path("old.ibk")));
}

TEST_F(BackupTest, RestoreWithoutItsIndexChangesNothing) {
  std::string dbk = folder_.Path("half.dbk");
  WriteBytes(dbk, Bytes(40, 0x55));
  Bytes index = ReadBytes(index_);
  Bytes data = ReadBytes(data_);
  CustomDatabase* before = db_;
  RestoreResult result = RestoreCustomDatabase(&db_, index_, data_, dbk);
  EXPECT_EQ(result.outcome, RestoreOutcome::kCopyFailed);
  EXPECT_EQ(result.message,
            std::string("Failed to restore custom database : ") + std::strerror(ENOENT));
  EXPECT_EQ(ReadBytes(index_), index);
  EXPECT_EQ(ReadBytes(data_), data);
  EXPECT_EQ(db_, before);
  EXPECT_EQ(CustomDb_IsWord(db_, "mine"), 1);
  EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"1001M.dat", "1001M.idx", "half.dbk"}));
}

TEST_F(BackupTest, RestoreOutcomesWithoutAHandleOrWithDamagedFiles) {
  std::string dbk = folder_.Path("b.dbk");
  WriteHandDatabase(folder_.Path("b.ibk"), dbk, {{"w", RecordText("w", "noun", "d")}});
  CustomDatabase* none = nullptr;
  EXPECT_EQ(RestoreCustomDatabase(&none, index_, data_, dbk).outcome, RestoreOutcome::kNotOpen);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(ReadBytes(data_), ReadBytes(dbk));  // the files were replaced all the same

  // Any pair is accepted; one that does not open leaves the handle null.
  WriteBytes(folder_.Path("b.ibk"), Bytes{1, 2, 3});
  EXPECT_EQ(RestoreCustomDatabase(&db_, index_, data_, dbk).outcome, RestoreOutcome::kReopenFailed);
  EXPECT_EQ(db_, nullptr);
}

}  // namespace
}  // namespace custom_test
