// FileLock: an exclusive advisory lock (flock) on a lock file, held for the lifetime of the
// object, so that processes and threads that read, change and rewrite one shared file take turns.
//
// The lock lies on a separate lock file because the shared file itself is replaced by a rename
// while the lock is held, and a lock on the old file would not stop the next writer. Every open
// of the lock file is its own lock owner, so two threads of one process exclude each other as
// two processes do. The lock file stays in place afterwards: removing it would let a waiting
// writer lock a file that a newcomer no longer sees.
#pragma once

#include <string>

namespace sylva {

class FileLock {
  public:
    // Opens (creating when needed) `lockPath` and waits until the exclusive lock is granted.
    explicit FileLock(const std::string& lockPath);
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    // True when the lock is held; otherwise error() says why it could not be taken.
    bool locked() const { return fd_ >= 0; }
    const std::string& error() const { return error_; }

  private:
    int fd_ = -1;
    std::string error_;
};

}  // namespace sylva
