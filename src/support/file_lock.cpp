#include "support/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "support/zt_system.h"

namespace sylva {

FileLock::FileLock(const std::string& filePath) {
    // Read access is all flock needs; O_DIRECTORY keeps a FIFO or device put in the directory's
    // place from being opened at all.
    int fd = ::open(CZTSystem::DirectoryOf(filePath).c_str(),
                    O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
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
        // Closing the only descriptor of this open directory releases its lock.
        ::close(fd_);
    }
}

}  // namespace sylva
