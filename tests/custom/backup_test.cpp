// Backup and restore of the two database files.

#include "custom/backup.h"

#include <cerrno>
#include <cstring>

#include "tests/custom/test_util.h"

namespace custom_test {
namespace {

TEST(BackupNamesTest, IndexPathReplacesEveryDbk) {
  EXPECT_EQ(BackupIndexPath("/x.dbk/y.dbk"), "/x.ibk/y.ibk");
  EXPECT_EQ(BackupIndexPath("/u/VBC.DBK"), "/u/VBC.DBK");  // case-sensitive: the same path
  EXPECT_EQ(BackupIndexPath("a.dbkdbk"), "a.ibkdbk");
}

TEST(BackupNamesTest, SuggestedNameIsTheTimeInUtc) {
  EXPECT_EQ(SuggestedBackupName(1770109507), "vbc02032026090507");  // 3 Feb 2026 09:05:07 UTC
}

class BackupTest : public DbTest {
 protected:
  void SetUp() override {
    OpenHand({{"mine", RecordText("mine", "noun", "current")}},
             Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  }
  std::string dbk_ = Path("old.dbk");
  std::string ibk_ = Path("old.ibk");
};

TEST_F(BackupTest, BackupCopiesBothFilesExactly) {
  EXPECT_EQ(BackupCustomDatabase(index_, data_, dbk_), "");
  EXPECT_EQ(ReadBytes(dbk_), ReadBytes(data_));
  EXPECT_EQ(ReadBytes(ibk_), ReadBytes(index_));
}

TEST_F(BackupTest, FailedBackupLeavesTheDatabaseWhole) {
  std::string message = BackupCustomDatabase(index_, data_, Path("missing/x.dbk"));
  EXPECT_EQ(message, std::string("Failed to backup custom database : ") + std::strerror(ENOENT));
  // Backing up onto the database's own data file would destroy it.
  Bytes data = ReadBytes(data_);
  EXPECT_NE(BackupCustomDatabase(index_, data_, data_), "");
  EXPECT_EQ(ReadBytes(data_), data);
}

TEST_F(BackupTest, RestoreWithoutItsIndexChangesNothing) {
  WriteBytes(dbk_, Bytes(40, 0x55));
  Bytes index = ReadBytes(index_);
  Bytes data = ReadBytes(data_);
  CustomDatabase* before = db_;
  RestoreResult result = RestoreCustomDatabase(&db_, index_, data_, dbk_);
  EXPECT_EQ(result.outcome, RestoreOutcome::kCopyFailed);
  EXPECT_EQ(result.message,
            std::string("Failed to restore custom database : ") + std::strerror(ENOENT));
  EXPECT_EQ(ReadBytes(index_), index);
  EXPECT_EQ(ReadBytes(data_), data);
  EXPECT_EQ(db_, before);
  EXPECT_EQ(CustomDb_IsWord(db_, "mine"), 1);
  EXPECT_EQ(Names(), (Words{"1001M.dat", "1001M.idx", "old.dbk"}));
}

TEST_F(BackupTest, RestoreOutcomes) {
  WriteHandDatabase(ibk_, dbk_, {{"saved", RecordText("saved", "verb", "then")}});
  RestoreResult result = RestoreCustomDatabase(&db_, index_, data_, dbk_);
  EXPECT_EQ(result.outcome, RestoreOutcome::kRestored);
  EXPECT_EQ(result.message, "");
  ASSERT_NE(db_, nullptr);
  EXPECT_EQ(CustomDb_IsWord(db_, "saved"), 1);
  EXPECT_EQ(CustomDb_IsWord(db_, "mine"), 0);
  EXPECT_EQ(ReadBytes(data_), ReadBytes(dbk_));
  EXPECT_EQ(ReadBytes(index_), ReadBytes(ibk_));

  // Without a handle the files are replaced all the same.
  WriteHandDatabase(ibk_, dbk_, {{"w", RecordText("w", "noun", "d")}});
  CustomDatabase* none = nullptr;
  EXPECT_EQ(RestoreCustomDatabase(&none, index_, data_, dbk_).outcome, RestoreOutcome::kNotOpen);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(ReadBytes(data_), ReadBytes(dbk_));

  // Any pair is accepted; one that does not open leaves the handle null.
  WriteBytes(ibk_, Bytes{1, 2, 3});
  EXPECT_EQ(RestoreCustomDatabase(&db_, index_, data_, dbk_).outcome,
            RestoreOutcome::kReopenFailed);
  EXPECT_EQ(db_, nullptr);
}

}  // namespace
}  // namespace custom_test
