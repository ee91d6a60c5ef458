// The database lock: flock on the journal file, polled without blocking so that the wait has
// an end.
#include "custom/db_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <thread>

#include "custom/file_ops.h"
#include "custom/journal.h"

namespace custom {

namespace {

constexpr std::chrono::milliseconds kDefaultLockWait{5000};
std::atomic<int64_t> lock_wait_ms{kDefaultLockWait.count()};

int OpenJournalForLock(const std::string& index_path, bool create) {
  const std::string path = JournalPath(index_path);
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd >= 0 || errno != ENOENT || !(create || PathExists(index_path) == 1)) return fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

std::chrono::milliseconds LockWait() {
  return std::chrono::milliseconds(lock_wait_ms.load());
}

std::chrono::milliseconds SetLockWaitForTesting(std::chrono::milliseconds wait) {
  return std::chrono::milliseconds(lock_wait_ms.exchange(wait.count()));
}

DbLock::~DbLock() {
  // Closing the last descriptor of the open file releases the lock.
  if (fd_ >= 0) ::close(fd_);
}

bool DbLock::Acquire(const std::string& index_path, LockMode mode, bool create) {
  if (fd_ >= 0) return false;
  fd_ = OpenJournalForLock(index_path, create);
  mode_ = mode;
  if (fd_ < 0) {
    // No journal: either no database lives there (reading it fails on its own) or its folder
    // cannot be written, so nothing changes those files; a change needs the lock all the same.
    return mode == LockMode::kShared && (errno == ENOENT || errno == EACCES || errno == EROFS);
  }
  return Take(mode);
}

bool DbLock::Upgrade() {
  if (mode_ == LockMode::kExclusive) return true;
  if (fd_ < 0) return false;
  return Take(LockMode::kExclusive);
}

bool DbLock::Take(LockMode mode) {
  const int operation = (mode == LockMode::kExclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  const auto deadline = std::chrono::steady_clock::now() + LockWait();
  auto pause = std::chrono::microseconds(200);
  for (;;) {
    if (::flock(fd_, operation) == 0) {
      mode_ = mode;
      return true;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::microseconds(20000));
  }
}

}  // namespace custom
