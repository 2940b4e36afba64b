#include "support/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sylva {

FileLock::FileLock(const std::string& lockPath) {
    constexpr int kFlags = O_CREAT | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW;
    int fd = ::open(lockPath.c_str(), O_RDWR | kFlags, 0666);
    if (fd < 0 && errno == EACCES) {
        // Somebody else's lock file that we may not write to still serves: flock needs no write
        // permission.
        fd = ::open(lockPath.c_str(), O_RDONLY | kFlags, 0666);
    }
    if (fd < 0) {
        error_ = std::strerror(errno);
        return;
    }
    int result;
    do {
        result = ::flock(fd, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        error_ = std::strerror(errno);
        ::close(fd);
        return;
    }
    fd_ = fd;
}

FileLock::~FileLock() {
    if (fd_ >= 0) {
        // Closing the only descriptor of this open file releases its lock.
        ::close(fd_);
    }
}

}  // namespace sylva
