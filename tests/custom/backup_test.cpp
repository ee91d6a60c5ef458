// Backup and restore of the two database files, and the record check that guards a restore.

#include "custom/backup.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <tuple>

#include "custom/record_check.h"
#include "tests/custom/test_util.h"

namespace custom_test {
namespace {

TEST(BackupNamesTest, IndexPathFollowsTheFileNameAlone) {
  const std::pair<const char*, const char*> cases[] = {
      {"/x.dbk/y.dbk", "/x.dbk/y.ibk"},  // a folder's name is left alone
      {"/x.dbk/saved", "/x.dbk/saved.ibk"},
      {"/u/VBC.DBK", "/u/VBC.DBK.ibk"},  // not exactly ".dbk": the index never shares the path
      {"a.dbkdbk", "a.dbkdbk.ibk"},
      {"saved.v2", "saved.v2.ibk"},
  };
  for (const auto& [dbk, ibk] : cases) {
    SCOPED_TRACE(dbk);
    EXPECT_EQ(BackupIndexPath(dbk), ibk);
  }
  EXPECT_EQ(SuggestedBackupName(1770109507), "vbc02032026090507");  // 3 Feb 2026 09:05:07 UTC
}

TEST(RecordCheckTest, FaultsOfARecord) {
  const engine::Digest key = engine::Md5String("ice_cream");
  const std::string good = RecordText("ice_cream", "noun", "cold", "gelato,sorbet", "a cone^");
  const std::tuple<const char*, std::string, RecordFault> cases[] = {
      {"well formed", good, RecordFault::kNone},
      {"every type name", RecordText("ice_cream", "art", "x"), RecordFault::kNone},
      {"one field short", good.substr(0, good.rfind('%', good.size() - 2) + 1),
       RecordFault::kFieldCount},
      {"text after the last field", good + "x", RecordFault::kFieldCount},
      {"a '%' inside a field", RecordText("ice_cream", "noun", "50% fat"),
       RecordFault::kFieldCount},
      {"empty text", "", RecordFault::kFieldCount},
      {"display name as type", RecordText("ice_cream", "Noun", "x"), RecordFault::kUnknownType},
      {"another word", RecordText("ice_creams", "noun", "x"), RecordFault::kWrongWord},
      {"no word", RecordText("", "noun", "x"), RecordFault::kWrongWord},
  };
  for (const auto& [name, record, fault] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(CheckCustomRecord(record, key), fault);
  }
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
  for (const char* name : {"old.dbk", "old.DBK", "old"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(BackupCustomDatabase(index_, data_, Path(name)), "");
    EXPECT_EQ(ReadBytes(Path(name)), ReadBytes(data_));
    EXPECT_EQ(ReadBytes(BackupIndexPath(Path(name))), ReadBytes(index_));
  }

  std::string message = BackupCustomDatabase(index_, data_, Path("missing/x.dbk"));
  EXPECT_EQ(message, std::string("Failed to backup custom database : ") + std::strerror(ENOENT));
  // Backing up onto the database's own data file would destroy it.
  Bytes data = ReadBytes(data_);
  EXPECT_NE(BackupCustomDatabase(index_, data_, data_), "");
  EXPECT_EQ(ReadBytes(data_), data);
}

TEST_F(BackupTest, RestoreReplacesBothFilesAndReopens) {
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
}

// A pair that is missing a file, or damaged in any way, replaces nothing: the database's files,
// its handle and the backup's folder stay exactly as they were.
TEST_F(BackupTest, UnsoundPairReplacesNothing) {
  const Pairs two = {{"one", RecordText("one", "noun", "first")},
                     {"two", RecordText("two", "verb", "second")}};
  struct Case {
    const char* name;
    void (*damage)(const std::string& ibk, const std::string& dbk);
    std::string reason;
  };
  const Case cases[] = {
      {"index missing",
       [](const std::string& ibk, const std::string&) { std::remove(ibk.c_str()); },
       std::strerror(ENOENT)},
      {"data missing", [](const std::string&, const std::string& dbk) { std::remove(dbk.c_str()); },
       std::strerror(ENOENT)},
      {"index cut short",
       [](const std::string& ibk, const std::string&) {
         Bytes b = ReadBytes(ibk);
         b.resize(b.size() - 3);
         WriteBytes(ibk, b);
       },
       "the index file \"old.ibk\" is damaged"},
      {"data cut short",
       [](const std::string&, const std::string& dbk) {
         Bytes b = ReadBytes(dbk);
         b.resize(b.size() - 8);
         WriteBytes(dbk, b);
       },
       "the data file \"old.dbk\" does not hold the records its index lists"},
      {"bytes behind the last record",
       [](const std::string&, const std::string& dbk) {
         Bytes b = ReadBytes(dbk);
         b.push_back(0);
         WriteBytes(dbk, b);
       },
       "the data file \"old.dbk\" does not hold the records its index lists"},
      {"records out of index order",
       [](const std::string& ibk, const std::string&) {
         Bytes b = ReadBytes(ibk);
         std::swap_ranges(b.begin() + 16, b.begin() + 36, b.begin() + 36);
         WriteBytes(ibk, b);
       },
       "the data file \"old.dbk\" does not hold the records its index lists"},
      {"cipher text flipped",
       [](const std::string&, const std::string& dbk) {
         Bytes b = ReadBytes(dbk);
         b[10] ^= 0x5A;
         WriteBytes(dbk, b);
       },
       "record 1 of \"old.dbk\" does not hold 27 fields"},
      {"length not a multiple of 8",
       [](const std::string& ibk, const std::string& dbk) {
         WriteHandDatabase(ibk, dbk, {{"one", "one%"}});
         Bytes b = ReadBytes(dbk);
         SetLe32(&b, 0, 7);
         b.resize(11);
         WriteBytes(dbk, b);
       },
       "record 1 of \"old.dbk\" cannot be deciphered"},
      {"key of another word",
       [](const std::string& ibk, const std::string& dbk) {
         WriteHandDatabase(
             ibk, dbk,
             {{"one", RecordText("one", "noun", "x")}, {"Two", RecordText("two", "noun", "y")}});
       },
       "record 2 of \"old.dbk\" is not stored under its own word"},
      {"no backup at all, a text file",
       [](const std::string& ibk, const std::string& dbk) {
         WriteBytes(dbk, Bytes{'h', 'i', '\n'});
         WriteBytes(ibk, Bytes{'h', 'i', '\n'});
       },
       "the index file \"old.ibk\" is damaged"},
  };
  const Bytes index = ReadBytes(index_);
  const Bytes data = ReadBytes(data_);
  CustomDatabase* const before = db_;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteHandDatabase(ibk_, dbk_, two);
    c.damage(ibk_, dbk_);
    const Words files = Names();
    RestoreResult result = RestoreCustomDatabase(&db_, index_, data_, dbk_);
    EXPECT_EQ(result.outcome, RestoreOutcome::kRejected);
    EXPECT_EQ(result.message, "Failed to restore custom database : " + c.reason);
    EXPECT_EQ(ReadBytes(index_), index);
    EXPECT_EQ(ReadBytes(data_), data);
    EXPECT_EQ(db_, before);
    EXPECT_EQ(Names(), files);  // read only: nothing written beside the pair either
  }
  EXPECT_EQ(CustomDb_IsWord(db_, "mine"), 1);
}

}  // namespace
}  // namespace custom_test
