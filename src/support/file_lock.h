// FileLock: an exclusive advisory lock (flock) that lets the processes and threads that read,
// change and rewrite one shared file take turns, held for the lifetime of the object.
//
// The lock lies on the directory that holds the file, not on the file: the file is replaced by a
// rename while the lock is held, and a lock on the old file would not stop the next writer. The
// directory stays in place through the rename and already exists, so taking the lock creates
// nothing and leaves nothing behind (a lock file beside the pages would be published with them,
// and whoever deleted it would silently end the exclusion). Locks of files in one directory
// therefore exclude each other too. Every open of the directory is its own lock owner, so two
// threads of one process exclude each other as two processes do.
#pragma once

#include <string>

namespace sylva {

class FileLock {
  public:
    // Waits until the exclusive lock on the directory holding `filePath` is granted. The file
    // itself need not exist.
    explicit FileLock(const std::string& filePath);
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    // True when the lock is held; otherwise error() says why it could not be taken (a missing or
    // unreadable directory, a file system without flock).
    bool locked() const { return fd_ >= 0; }
    const std::string& error() const { return error_; }

  private:
    int fd_ = -1;
    std::string error_;
};

}  // namespace sylva
