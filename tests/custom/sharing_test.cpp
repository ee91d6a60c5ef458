// Processes sharing one custom database: concurrent adds, deletes and reads through handles
// held open the whole time, as the window holds its handle while the command line changes the
// files. The children are forked; each reports through its exit status.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <set>

#include "custom/custom_internal.h"
#include "custom/record_check.h"
#include "tests/custom/test_util.h"

namespace custom_test {
namespace {

constexpr int kAdds = 200;

class SharingTest : public DbTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(CustomDb_CreateIfMissing(index_.c_str(), data_.c_str()),
              CustomCreateResult::kCreated);
  }

  // Runs `work` (a handle on the database in, true for success out) in a child process.
  template <typename Work>
  pid_t Spawn(Work work) {
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
      CustomDatabase* db = nullptr;
      bool ok = CustomDb_Open(&db, index_.c_str(), data_.c_str()) == kCustomOk && work(&db);
      CustomDb_Close(&db);
      _exit(ok ? 0 : 1);
    }
    return pid;
  }

  static bool Succeeded(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

  bool Add(CustomDatabase** db, const std::string& word) const {
    return CustomDb_AppendEntry(db, 0, word.c_str(), ("meaning of " + word).c_str(), "", "", {});
  }

  // Every word of the database, each record checked against the key it is stored under.
  std::multiset<std::string> AllWords() {
    CustomDatabase* db = nullptr;
    EXPECT_EQ(CustomDb_Open(&db, index_.c_str(), data_.c_str()), kCustomOk);
    std::multiset<std::string> words;
    std::vector<CustomEntrySummary> all;
    EXPECT_TRUE(CustomDb_GetAllEntries(db, &all));
    for (const CustomEntrySummary& entry : all) {
      std::vector<std::string> records;
      EXPECT_EQ(CustomDb_FindRecords(db, entry.word.c_str(), &records), kCustomOk);
      for (const std::string& record : records) {
        EXPECT_EQ(CheckCustomRecord(record, engine::Md5String(entry.word.c_str())),
                  RecordFault::kNone);
      }
      words.insert(entry.word);
    }
    CustomDb_Close(&db);
    return words;
  }
};

TEST_F(SharingTest, DeletesBesideAddsRemoveExactlyTheirEntries) {
  CustomDatabase* db = nullptr;
  ASSERT_EQ(CustomDb_Open(&db, index_.c_str(), data_.c_str()), kCustomOk);
  for (int i = 0; i < kAdds / 2; ++i)
    ASSERT_TRUE(Add(&db, "old" + std::to_string(i)));
  CustomDb_Close(&db);

  pid_t adder = Spawn([this](CustomDatabase** handle) {
    for (int i = 0; i < kAdds / 2; ++i) {
      if (!Add(handle, "new" + std::to_string(i))) return false;
    }
    return true;
  });
  // Deletes by word as the command line does: the position from a listing, then the delete.
  pid_t deleter = Spawn([](CustomDatabase** handle) {
    for (int i = 0; i < kAdds / 2; i += 2) {
      std::vector<CustomEntrySummary> all;
      if (!CustomDb_GetAllEntries(*handle, &all)) return false;
      const std::string word = "old" + std::to_string(i);
      auto it = std::find_if(all.begin(), all.end(),
                             [&word](const CustomEntrySummary& e) { return e.word == word; });
      if (it == all.end() ||
          !CustomDb_DeleteEntry(*handle, static_cast<int32_t>(it - all.begin()))) {
        return false;
      }
    }
    return true;
  });
  EXPECT_TRUE(Succeeded(adder));
  EXPECT_TRUE(Succeeded(deleter));
  std::multiset<std::string> expected;
  for (int i = 0; i < kAdds / 2; ++i) {
    expected.insert("new" + std::to_string(i));
    if (i % 2 == 1) expected.insert("old" + std::to_string(i));
  }
  EXPECT_EQ(AllWords(), expected);
}

TEST_F(SharingTest, ReaderBesideWriterNeverFails) {
  Open();
  pid_t writer = Spawn([this](CustomDatabase** handle) {
    for (int i = 0; i < kAdds; ++i) {
      if (!Add(handle, "word" + std::to_string(i))) return false;
    }
    return true;
  });
  int failures = 0;
  size_t reads = 0;
  size_t last_count = 0;
  for (;;) {
    bool writer_done = waitpid(writer, nullptr, WNOHANG) == writer;
    std::vector<CustomEntrySummary> all;
    if (!CustomDb_GetAllEntries(db_, &all) || all.size() < last_count) ++failures;
    last_count = all.size();
    for (const CustomEntrySummary& entry : all) {
      if (entry.definition != "meaning of " + entry.word) ++failures;
    }
    ++reads;
    if (writer_done) break;
  }
  EXPECT_EQ(failures, 0) << "in " << reads << " reads";
  EXPECT_EQ(last_count, static_cast<size_t>(kAdds));
}

// A change that cannot get the lock gives up with the documented failure instead of waiting on
// (an endless wait would hang the test until the test runner's time-out).
TEST_F(SharingTest, HeldLockMakesChangesFail) {
  Open();
  ASSERT_TRUE(Add(&db_, "kept"));
  const Bytes index_before = ReadBytes(index_);
  const Bytes data_before = ReadBytes(data_);
  const auto wait = custom::SetLockWaitForTesting(std::chrono::milliseconds(100));
  // Another process's lock: a descriptor of its own on the journal.
  int other = open((index_ + ".journal").c_str(), O_RDONLY);
  ASSERT_GE(other, 0);
  ASSERT_EQ(flock(other, LOCK_EX), 0);
  EXPECT_FALSE(Add(&db_, "blocked"));
  EXPECT_FALSE(CustomDb_DeleteEntry(db_, 0));
  EXPECT_EQ(ReadBytes(index_), index_before);
  EXPECT_EQ(ReadBytes(data_), data_before);
  close(other);
  EXPECT_TRUE(Add(&db_, "after"));
  custom::SetLockWaitForTesting(wait);
}

// A handle that saw the entries before another one changed them deletes the entry it saw, or
// nothing when that entry can no longer be told for sure.
TEST_F(SharingTest, StaleHandleDeletesTheEntryItSaw) {
  struct Case {
    const char* name;
    Words before;
    int other_deletes;  // position the other handle deletes first
    int deleted;        // position the stale handle then deletes
    Words after;        // the words left; the same as before the stale delete when it fails
  };
  const Case cases[] = {
      {"unique word moved down", {"x", "y", "z"}, 0, 2, {"y"}},
      {"entry already gone", {"x", "y", "z"}, 0, 0, {"y", "z"}},
      {"repeated word cannot be told", {"x", "y", "y"}, 0, 2, {"y", "y"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteHandDatabase(index_, data_, {});
    CustomDatabase* stale = nullptr;
    CustomDatabase* other = nullptr;
    ASSERT_EQ(CustomDb_Open(&other, index_.c_str(), data_.c_str()), kCustomOk);
    for (const std::string& word : c.before)
      ASSERT_TRUE(Add(&other, word));
    ASSERT_EQ(CustomDb_Open(&stale, index_.c_str(), data_.c_str()), kCustomOk);
    ASSERT_TRUE(CustomDb_DeleteEntry(other, c.other_deletes));
    EXPECT_EQ(CustomDb_DeleteEntry(stale, c.deleted), c.after.size() + 2 == c.before.size());
    Words left;
    for (const auto& [word, definition] : List(stale))
      left.push_back(word);
    EXPECT_EQ(left, c.after);
    CustomDb_Close(&stale);
    CustomDb_Close(&other);
  }
}

}  // namespace
}  // namespace custom_test
