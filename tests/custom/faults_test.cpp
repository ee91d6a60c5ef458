// Injected faults: every change to the files is made to fail in turn, once as a plain failure
// (the store cleans up and reports it) and once as a crash (no call after it reaches the disk).
// A reported failure leaves both files byte for byte as they were and the handle usable; after
// a crash the next open finds either the old files or the new ones, never a mixture.

#include <fcntl.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "custom/backup.h"
#include "custom/custom_db.h"
#include "custom/file_ops.h"
#include "tests/custom/test_util.h"

namespace custom_test {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// Fails the `fail_at`-th call that changes something on disk (an open for writing, a write, a
// sync, a truncation, a rename or a removal); with `crash`, every change call after it fails
// too. The failing write puts half its bytes down first, as a full disk would.
class FaultyOps : public custom::FileOps {
 public:
  int fail_at = 0;
  bool crash = false;
  int calls = 0;
  bool tripped = false;

  int Open(const char* path, int flags, mode_t mode) override {
    if ((flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0 && Fail()) return -1;
    return FileOps::Open(path, flags, mode);
  }
  ssize_t Pwrite(int fd, const void* buffer, size_t length, off_t offset) override {
    bool first = !tripped;
    if (Fail()) {
      if (first && length > 1) FileOps::Pwrite(fd, buffer, length / 2, offset);
      errno = ENOSPC;
      return -1;
    }
    return FileOps::Pwrite(fd, buffer, length, offset);
  }
  int Fsync(int fd) override { return Fail() ? -1 : FileOps::Fsync(fd); }
  int Ftruncate(int fd, off_t length) override {
    return Fail() ? -1 : FileOps::Ftruncate(fd, length);
  }
  int Rename(const char* from, const char* to) override {
    return Fail() ? -1 : FileOps::Rename(from, to);
  }
  int Unlink(const char* path) override { return Fail() ? -1 : FileOps::Unlink(path); }

 private:
  bool Fail() {
    ++calls;
    if (fail_at == 0 || (calls != fail_at && !(crash && calls > fail_at))) return false;
    tripped = true;
    errno = EIO;
    return true;
  }
};

class ScopedOps {
 public:
  explicit ScopedOps(custom::FileOps* ops) : previous_(custom::SetFileOpsForTesting(ops)) {}
  ~ScopedOps() { custom::SetFileOpsForTesting(previous_); }

 private:
  custom::FileOps* previous_;
};

class FaultTest : public ::testing::Test {
 public:
  using Operation = std::function<bool(FaultTest*, CustomDatabase**)>;

  void SetUp() override {
    index_ = folder_.Path("1001M.idx");
    data_ = folder_.Path("1001M.dat");
    dbk_ = folder_.Path("saved.dbk");
  }

  // Three entries; a backup pair holding one other entry.
  void Prepare() {
    std::remove(index_.c_str());
    std::remove(data_.c_str());
    WriteHandDatabase(index_, data_,
                      {{"a", RecordText("a", "noun", "one")},
                       {"b", RecordText("b", "verb", "two")},
                       {"c", RecordText("c", "adj", "three")}},
                      Bytes{7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7});
    WriteHandDatabase(folder_.Path("saved.ibk"), dbk_, {{"z", RecordText("z", "noun", "saved")}});
    if (irregular_) {
      // A byte past the last entry: an append then rewrites both files.
      Bytes index = ReadBytes(index_);
      index.push_back(0xEE);
      WriteBytes(index_, index);
    }
  }

  struct Snapshot {
    Bytes index;
    Bytes data;
    bool operator==(const Snapshot&) const = default;
  };
  Snapshot Take() const { return {ReadBytes(index_), ReadBytes(data_)}; }

  static Pairs Listed(CustomDatabase* db) {
    std::vector<CustomEntrySummary> all;
    EXPECT_TRUE(CustomDb_GetAllEntries(db, &all));
    Pairs pairs;
    for (const CustomEntrySummary& entry : all)
      pairs.emplace_back(entry.word, entry.definition);
    return pairs;
  }

  // Runs `operation` once without faults for the expected result, then with each change call
  // failing in turn, plainly and as a crash.
  void CheckEveryStep(const Operation& operation, const Pairs& before, const Pairs& after) {
    Prepare();
    Snapshot old_files = Take();
    CustomDatabase* db = nullptr;
    ASSERT_EQ(CustomDb_Open(&db, index_.c_str(), data_.c_str()), kCustomOk);
    ASSERT_TRUE(operation(this, &db));
    ASSERT_EQ(Listed(db), after);
    CustomDb_Close(&db);
    Snapshot new_files = Take();
    ASSERT_EQ(Contents(index_, data_), after);

    int crashed_old = 0;
    int crashed_new = 0;
    for (bool crash : {false, true}) {
      for (int step = 1;; ++step) {
        SCOPED_TRACE((crash ? "crash at change call " : "failure of change call ") +
                     std::to_string(step));
        Prepare();
        ASSERT_EQ(CustomDb_Open(&db, index_.c_str(), data_.c_str()), kCustomOk);
        FaultyOps faults;
        faults.fail_at = step;
        faults.crash = crash;
        bool done;
        {
          ScopedOps scoped(&faults);
          done = operation(this, &db);
        }
        if (!faults.tripped) {
          EXPECT_TRUE(done);
          CustomDb_Close(&db);
          break;
        }
        if (crash) {
          CustomDb_Close(&db);  // the process is gone; only the files remain
          Pairs found = Contents(index_, data_);
          // A change reported done must survive the crash.
          if (done) {
            EXPECT_EQ(found, after);
          }
          if (found == before) {
            ++crashed_old;
            EXPECT_EQ(Take(), old_files);
          } else {
            ++crashed_new;
            EXPECT_EQ(found, after);
            EXPECT_EQ(Take(), new_files);
          }
        } else if (done) {
          // Failed after the change was committed: it is complete for the handle and on disk.
          EXPECT_EQ(Listed(db), after);
          EXPECT_EQ(Take(), new_files);
          CustomDb_Close(&db);
        } else {
          EXPECT_EQ(Take(), old_files);
          if (db != nullptr) {
            EXPECT_EQ(Listed(db), before);
            ASSERT_TRUE(CustomDb_AppendEntry(&db, 0, "later", "works", "", "", {}));
            Pairs later = before;
            later.emplace_back("later", "works");
            EXPECT_EQ(Contents(index_, data_), later);
            CustomDb_Close(&db);
          }
        }
        EXPECT_EQ(folder_.Names(),
                  (std::vector<std::string>{"1001M.dat", "1001M.idx", "saved.dbk", "saved.ibk"}));
      }
    }
    // Crashes before the commit keep the old files, crashes after it the new ones.
    EXPECT_GT(crashed_old, 0);
    EXPECT_GT(crashed_new, 0);
  }

  ScratchFolder folder_;
  std::string index_;
  std::string data_;
  std::string dbk_;
  bool irregular_ = false;
};

const Pairs kBefore = {{"a", "one"}, {"b", "two"}, {"c", "three"}};

TEST_F(FaultTest, Append) {
  Pairs after = kBefore;
  after.emplace_back("new", "added");
  CheckEveryStep(
      [](FaultTest*, CustomDatabase** db) {
        return CustomDb_AppendEntry(db, 1, "new", "added", "", "", {});
      },
      kBefore, after);
}

TEST_F(FaultTest, AppendRewritingAnIrregularIndex) {
  Pairs after = kBefore;
  after.emplace_back("new", "added");
  irregular_ = true;
  CheckEveryStep(
      [](FaultTest*, CustomDatabase** db) {
        return CustomDb_AppendEntry(db, 1, "new", "added", "", "", {});
      },
      kBefore, after);
}

TEST_F(FaultTest, Delete) {
  CheckEveryStep([](FaultTest*, CustomDatabase** db) { return CustomDb_DeleteEntry(*db, 1); },
                 kBefore, {{"a", "one"}, {"c", "three"}});
}

TEST_F(FaultTest, Replace) {
  CheckEveryStep(
      [](FaultTest*, CustomDatabase** db) {
        return CustomDb_ReplaceEntry(db, 0, 0, "a", "edited", "", "", {});
      },
      kBefore, {{"b", "two"}, {"c", "three"}, {"a", "edited"}});
}

TEST_F(FaultTest, Restore) {
  CheckEveryStep(
      [](FaultTest* t, CustomDatabase** db) {
        RestoreResult result = RestoreCustomDatabase(db, t->index_, t->data_, t->dbk_);
        return result.outcome == RestoreOutcome::kRestored;
      },
      kBefore, {{"z", "saved"}});
}

TEST_F(FaultTest, CreateIsWholeOrNothing) {
  Bytes empty_index(16, 0);
  for (bool crash : {false, true}) {
    for (int step = 1;; ++step) {
      SCOPED_TRACE(std::to_string(step) + (crash ? " crash" : " failure"));
      std::remove(index_.c_str());
      std::remove(data_.c_str());
      FaultyOps faults;
      faults.fail_at = step;
      faults.crash = crash;
      CustomCreateResult result;
      {
        ScopedOps scoped(&faults);
        result = CustomDb_CreateIfMissing(index_.c_str(), data_.c_str());
      }
      if (!faults.tripped) {
        EXPECT_EQ(result, CustomCreateResult::kCreated);
        break;
      }
      if (!crash && result == CustomCreateResult::kFailed) {
        EXPECT_TRUE(folder_.Names().empty());
        continue;
      }
      // After a crash, or a failure once committed, the next open settles it one way or the
      // other: no files at all, or the complete empty database.
      CustomDatabase* db = nullptr;
      int32_t code = CustomDb_Open(&db, index_.c_str(), data_.c_str());
      if (code == kCustomOk) {
        EXPECT_EQ(ReadBytes(index_), empty_index);
        EXPECT_TRUE(ReadBytes(data_).empty());
        CustomDb_Close(&db);
      } else {
        EXPECT_EQ(code, kCustomCannotOpen);
        EXPECT_TRUE(folder_.Names().empty());
      }
      std::remove(index_.c_str());
      std::remove(data_.c_str());
    }
  }
}

TEST_F(FaultTest, JournalCutShortIsDiscarded) {
  // A journal that was never completely written was never acted on: the files stay, and side
  // files that might have followed it are removed.
  Prepare();
  Snapshot old_files = Take();
  WriteBytes(index_ + ".journal", Bytes{'V', 'B', 'C', 'J', 2, 0, 0});
  WriteBytes(index_ + ".new", Bytes(36, 0));
  WriteBytes(data_ + ".new", Bytes{1, 2, 3});
  EXPECT_EQ(Contents(index_, data_), kBefore);
  EXPECT_EQ(Take(), old_files);
  EXPECT_EQ(folder_.Names(),
            (std::vector<std::string>{"1001M.dat", "1001M.idx", "saved.dbk", "saved.ibk"}));
}

}  // namespace
}  // namespace custom_test
