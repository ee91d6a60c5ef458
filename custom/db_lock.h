// The advisory lock that coordinates every process using one custom database: flock(2) on the
// database's journal file ("<index path>.journal"), which stays in place between changes.
// Changes, and the settling of a change cut short, hold it exclusive; reads hold it shared, so
// a reader never sees a change half done and a change always starts from the files as they are
// under its lock. Internal to the custom database library.
#pragma once

#include <chrono>
#include <string>

namespace custom {

enum class LockMode { kShared, kExclusive };

// The lock of one database, held from Acquire until the object goes. flock locks belong to an
// open file, so a second DbLock on the same database in the same process waits like another
// process would: the library never nests them.
class DbLock {
 public:
  DbLock() = default;
  DbLock(const DbLock&) = delete;
  DbLock& operator=(const DbLock&) = delete;
  ~DbLock();

  // Takes the lock of the database whose index is `index_path`, waiting at most LockWait().
  // A missing journal file is created first when `create` is set or the index exists; when it
  // is missing otherwise there is no database to coordinate and the call succeeds without a
  // lock. A shared lock on a journal that cannot be opened (a read-only folder) goes ahead
  // without one too: nothing can change those files. False when the lock was not had in time
  // or an exclusive lock cannot be set up.
  bool Acquire(const std::string& index_path, LockMode mode, bool create);

  // Turns a shared lock into an exclusive one. Another process may change the files between
  // the two: whatever was read under the shared lock must be read again.
  bool Upgrade();

  LockMode mode() const { return mode_; }

 private:
  bool Take(LockMode mode);

  int fd_ = -1;
  LockMode mode_ = LockMode::kShared;
};

// How long a process waits for the lock before the operation fails: a few seconds, far beyond
// any change of this store, so a timeout means a process holds the lock and is stuck.
std::chrono::milliseconds LockWait();

// Sets the wait and returns the previous one. For tests.
std::chrono::milliseconds SetLockWaitForTesting(std::chrono::milliseconds wait);

}  // namespace custom
