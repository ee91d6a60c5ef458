// Injected faults: every change to the files is made to fail in turn, once as a plain failure
// (the store cleans up and reports it) and once as a crash (no call after it reaches the disk).
// A reported failure leaves both files byte for byte as they were and the handle usable; after
// a crash the next open finds either the old files or the new ones, never a mixture.

#include <fcntl.h>

#include <cerrno>

#include "custom/backup.h"
#include "custom/file_ops.h"
#include "tests/custom/test_util.h"

namespace custom_test {
namespace {

// Fails the `fail_at`-th call that changes something on disk (an open for writing, a write, a
// sync, a truncation, a rename or a removal); with `crash`, every change call after it fails
// too. The failing write puts half its bytes down first, as a full disk would.
struct FaultyOps : custom::FileOps {
  int Open(const char* path, int flags, mode_t mode) override {
    if ((flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0 && Fail()) return -1;
    return FileOps::Open(path, flags, mode);
  }
  ssize_t Pwrite(int fd, const void* buffer, size_t length, off_t offset) override {
    bool first = !tripped;
    if (!Fail()) return FileOps::Pwrite(fd, buffer, length, offset);
    if (first && length > 1) FileOps::Pwrite(fd, buffer, length / 2, offset);
    errno = ENOSPC;
    return -1;
  }
  int Fsync(int fd) override { return Fail() ? -1 : FileOps::Fsync(fd); }
  int Ftruncate(int fd, off_t length) override {
    return Fail() ? -1 : FileOps::Ftruncate(fd, length);
  }
  int Rename(const char* from, const char* to) override {
    return Fail() ? -1 : FileOps::Rename(from, to);
  }
  int Unlink(const char* path) override { return Fail() ? -1 : FileOps::Unlink(path); }
  bool Fail() {
    ++calls;
    if (calls < fail_at || (calls > fail_at && !crash)) return false;
    tripped = true;
    errno = EIO;
    return true;
  }

  int fail_at = 0;
  bool crash = false;
  int calls = 0;
  bool tripped = false;
};

// Runs `run` with the `step`-th change call failing (and every later one, for a crash); false
// when the run made fewer change calls than that.
template <typename Run>
bool WithFault(int step, bool crash, Run run) {
  FaultyOps faults;
  faults.fail_at = step;
  faults.crash = crash;
  custom::FileOps* previous = custom::SetFileOpsForTesting(&faults);
  run();
  custom::SetFileOpsForTesting(previous);
  return faults.tripped;
}

const Pairs kBefore = {{"a", "one"}, {"b", "two"}, {"c", "three"}};
const Words kFiles = {"1001M.dat", "1001M.idx", "saved.dbk", "saved.ibk"};

class FaultTest : public DbTest {
 public:
  // Three entries (with a stray byte past the last one when `irregular_`, which makes an
  // append rewrite both files); a backup pair holding one other entry.
  void Prepare() {
    WriteHandDatabase(index_, data_,
                      {{"a", RecordText("a", "noun", "one")},
                       {"b", RecordText("b", "verb", "two")},
                       {"c", RecordText("c", "adj", "three")}},
                      Bytes(12, 7));
    if (irregular_) std::ofstream(index_, std::ios::app) << '\xEE';
    WriteHandDatabase(ibk_, dbk_, {{"z", RecordText("z", "noun", "saved")}});
    Open();
  }
  std::pair<Bytes, Bytes> Files() const { return {ReadBytes(index_), ReadBytes(data_)}; }
  bool Run(const std::string& change) {
    if (change == "delete") return CustomDb_DeleteEntry(db_, 1);
    if (change == "replace") return CustomDb_ReplaceEntry(&db_, 0, 0, "a", "edited", "", "", {});
    if (change == "restore") {
      return RestoreCustomDatabase(&db_, index_, data_, dbk_).outcome == RestoreOutcome::kRestored;
    }
    return CustomDb_AppendEntry(&db_, 1, "new", "added", "", "", {});
  }

  std::string dbk_ = Path("saved.dbk");
  std::string ibk_ = Path("saved.ibk");
  bool irregular_ = false;
};

TEST_F(FaultTest, EveryStepOfEveryChange) {
  const Pairs appended = {{"a", "one"}, {"b", "two"}, {"c", "three"}, {"new", "added"}};
  const std::pair<std::string, Pairs> changes[] = {
      {"append", appended},
      {"append rewriting an irregular index", appended},
      {"delete", {{"a", "one"}, {"c", "three"}}},
      {"replace", {{"b", "two"}, {"c", "three"}, {"a", "edited"}}},
      {"restore", {{"z", "saved"}}},
  };
  for (const auto& entry : changes) {
    const std::string& change = entry.first;  // named, not bound: lambdas below capture it
    const Pairs& after = entry.second;
    SCOPED_TRACE(change);
    irregular_ = change.ends_with("index");
    Prepare();
    auto old_files = Files();
    ASSERT_TRUE(Run(change));
    ASSERT_EQ(List(db_), after);
    CustomDb_Close(&db_);
    auto new_files = Files();
    ASSERT_EQ(Contents(index_, data_), after);

    int crashed_old = 0;
    int crashed_new = 0;
    for (bool crash : {false, true}) {
      for (int step = 1;; ++step) {
        SCOPED_TRACE((crash ? "crash at change call " : "failure of change call ") +
                     std::to_string(step));
        Prepare();
        bool done = false;
        if (!WithFault(step, crash, [&] { done = Run(change); })) {
          EXPECT_TRUE(done);
          CustomDb_Close(&db_);
          break;
        }
        if (crash) {
          CustomDb_Close(&db_);  // the process is gone; only the files remain
          Pairs found = Contents(index_, data_);
          if (done) {
            EXPECT_EQ(found, after);  // reported done: it survives the crash
          }
          bool kept_old = found == kBefore;
          ++(kept_old ? crashed_old : crashed_new);
          EXPECT_EQ(Files(), kept_old ? old_files : new_files);
        } else if (done) {
          // Failed after the change was committed: it is complete for the handle and on disk.
          EXPECT_EQ(List(db_), after);
          EXPECT_EQ(Files(), new_files);
        } else {
          EXPECT_EQ(Files(), old_files);
          if (db_ != nullptr) {
            EXPECT_EQ(List(db_), kBefore);
            ASSERT_TRUE(CustomDb_AppendEntry(&db_, 0, "later", "works", "", "", {}));
            EXPECT_EQ(Contents(index_, data_).size(), kBefore.size() + 1);
          }
        }
        CustomDb_Close(&db_);
        EXPECT_EQ(Names(), kFiles);
      }
    }
    // Crashes before the commit keep the old files, crashes after it the new ones.
    EXPECT_GT(crashed_old, 0);
    EXPECT_GT(crashed_new, 0);
  }
}

TEST_F(FaultTest, CreateIsWholeOrNothing) {
  for (bool crash : {false, true}) {
    for (int step = 1;; ++step) {
      SCOPED_TRACE(std::to_string(step) + (crash ? " crash" : " failure"));
      std::remove(index_.c_str());
      std::remove(data_.c_str());
      CustomCreateResult result = CustomCreateResult::kFailed;
      auto create = [&] { result = CustomDb_CreateIfMissing(index_.c_str(), data_.c_str()); };
      if (!WithFault(step, crash, create)) {
        EXPECT_EQ(result, CustomCreateResult::kCreated);
        break;
      }
      if (!crash && result == CustomCreateResult::kFailed) {
        EXPECT_TRUE(Names().empty());  // nothing is left behind
      }
      // The next open settles it one way or the other: no files at all, or the complete
      // empty database.
      int32_t code = CustomDb_Open(&db_, index_.c_str(), data_.c_str());
      if (code == kCustomOk) {
        EXPECT_EQ(Files(), std::make_pair(Bytes(16, 0), Bytes()));
        CustomDb_Close(&db_);
      } else {
        EXPECT_EQ(code, kCustomCannotOpen);
        EXPECT_TRUE(Names().empty());
      }
    }
  }
}

TEST_F(FaultTest, JournalCutShortIsDiscarded) {
  // A journal that was never completely written was never acted on: the files stay, and side
  // files that might have followed it are removed.
  Prepare();
  CustomDb_Close(&db_);
  auto old_files = Files();
  WriteBytes(index_ + ".journal", Bytes{'V', 'B', 'C', 'J', 2, 0, 0});
  WriteBytes(index_ + ".new", Bytes(36, 0));
  WriteBytes(data_ + ".new", Bytes{1, 2, 3});
  EXPECT_EQ(Contents(index_, data_), kBefore);
  EXPECT_EQ(Files(), old_files);
  EXPECT_EQ(Names(), kFiles);
}

}  // namespace
}  // namespace custom_test
