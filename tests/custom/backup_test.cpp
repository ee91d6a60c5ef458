// Backup and restore of the two database files, and the record check that guards a restore.

#include "custom/backup.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
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
}

TEST(BackupNamesTest, SuggestedNameIsTheTimeInUtc) {
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
}

TEST_F(BackupTest, FailedBackupLeavesTheDatabaseWhole) {
  std::string message = BackupCustomDatabase(index_, data_, Path("missing/x.dbk"));
  EXPECT_EQ(message, std::string("Failed to backup custom database : ") + std::strerror(ENOENT));
  // Backing up onto the database's own data file would destroy it.
  Bytes data = ReadBytes(data_);
  EXPECT_NE(BackupCustomDatabase(index_, data_, data_), "");
  EXPECT_EQ(ReadBytes(data_), data);
}

// Restoring into an open database: tests/custom/faults_test.cpp.
TEST_F(BackupTest, RestoreWithoutAHandleReplacesTheFiles) {
  CustomDb_Close(&db_);
  WriteHandDatabase(ibk_, dbk_, {{"w", RecordText("w", "noun", "d")}});
  EXPECT_EQ(RestoreCustomDatabase(&db_, index_, data_, dbk_).outcome, RestoreOutcome::kNotOpen);
  EXPECT_EQ(db_, nullptr);
  EXPECT_EQ(ReadBytes(data_), ReadBytes(dbk_));
  EXPECT_EQ(ReadBytes(index_), ReadBytes(ibk_));
}

// A pair that is missing a file, or damaged in any way, replaces nothing: the database's files,
// its handle and the backup's folder stay exactly as they were.
TEST_F(BackupTest, UnsoundPairReplacesNothing) {
  using Change = std::function<void(Bytes & index, Bytes & data)>;
  const std::string index_damaged = "the index file \"old.ibk\" is damaged";
  const std::string records_damaged =
      "the data file \"old.dbk\" does not hold the records its index lists";
  const std::tuple<const char*, const char*, Change, std::string> cases[] = {
      {"index missing", "old.ibk", nullptr, std::strerror(ENOENT)},
      {"data missing", "old.dbk", nullptr, std::strerror(ENOENT)},
      {"index cut short", "", [](Bytes& i, Bytes&) { i.resize(i.size() - 3); }, index_damaged},
      {"data cut short", "", [](Bytes&, Bytes& d) { d.resize(d.size() - 8); }, records_damaged},
      {"bytes behind the records", "", [](Bytes&, Bytes& d) { d.push_back(0); }, records_damaged},
      {"records out of index order", "",
       [](Bytes& i, Bytes&) { std::swap_ranges(i.begin() + 16, i.begin() + 36, i.begin() + 36); },
       records_damaged},
      {"cipher text changed", "", [](Bytes&, Bytes& d) { d[10] ^= 0x5A; },
       "record 1 of \"old.dbk\" does not hold 27 fields"},
      {"length not a multiple of 8", "",
       [](Bytes& i, Bytes& d) {
         SetLe32(&d, 0, 39);  // the first record a byte short, the second a byte earlier
         d.erase(d.begin() + 43);
         SetLe32(&i, 52, 43);
       },
       "record 1 of \"old.dbk\" cannot be deciphered"},
      {"key of another word", "",
       [](Bytes& i, Bytes&) {
         const engine::Digest key = engine::Md5String("One");
         std::copy(key.begin(), key.end(), i.begin() + 16);
       },
       "record 1 of \"old.dbk\" is not stored under its own word"},
  };
  const Bytes index = ReadBytes(index_);
  const Bytes data = ReadBytes(data_);
  CustomDatabase* const before = db_;
  for (const auto& [name, remove, change, reason] : cases) {
    SCOPED_TRACE(name);
    WriteHandDatabase(ibk_, dbk_,
                      {{"one", RecordText("one", "noun", "first")},
                       {"two", RecordText("two", "verb", "second")}});
    if (*remove != '\0') std::remove(Path(remove).c_str());
    if (change) {
      Bytes i = ReadBytes(ibk_), d = ReadBytes(dbk_);
      change(i, d);
      WriteBytes(ibk_, i);
      WriteBytes(dbk_, d);
    }
    const Words files = Names();
    RestoreResult result = RestoreCustomDatabase(&db_, index_, data_, dbk_);
    EXPECT_EQ(result.outcome, RestoreOutcome::kRejected);
    EXPECT_EQ(result.message, "Failed to restore custom database : " + reason);
    EXPECT_EQ(ReadBytes(index_), index);
    EXPECT_EQ(ReadBytes(data_), data);
    EXPECT_EQ(db_, before);
    EXPECT_EQ(Names(), files);  // read only: nothing written beside the pair either
  }
}

}  // namespace
}  // namespace custom_test
