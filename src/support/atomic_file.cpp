#include "support/atomic_file.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "support/file_output.h"

namespace sylva {

namespace {

// The file a write to `path` lands in: the target of a symbolic link, else `path` itself.
std::string ResolveTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

// Creates a temporary file beside `target` that no other writer (thread or process) can share;
// returns its descriptor, or -1 with errno set.
int CreateTemporary(const std::string& target, std::string& temporaryPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = target + ".tmp." + std::to_string(::getpid()) + "." +
                        std::to_string(counter.fetch_add(1));
        int fd = ::open(temporaryPath.c_str(),
                        O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

Status Failure(int error) {
    return Status::WriteFailed(std::strerror(error));
}

// Writes, keeps the old permission bits, flushes and closes; the descriptor is closed in any case.
Status FillTemporary(int fd, const std::string& target, std::string_view content) {
    Status status = WriteAll(fd, content);
    struct stat old {};
    if (status.ok() && ::stat(target.c_str(), &old) == 0 &&
        ::fchmod(fd, old.st_mode & 07777) != 0) {
        status = Failure(errno);
    }
    if (status.ok() && ::fsync(fd) != 0) {
        status = Failure(errno);
    }
    if (::close(fd) != 0 && status.ok()) {
        status = Failure(errno);
    }
    return status;
}

// Makes the rename itself durable; a directory that cannot be flushed changes nothing for readers.
void SyncDirectoryOf(const std::string& target) {
    std::size_t slash = target.rfind('/');
    std::string directory = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

Status ReplaceFileAtomically(const std::string& path, std::string_view content) {
    std::string target = ResolveTarget(path);
    std::string temporaryPath;
    int fd = CreateTemporary(target, temporaryPath);
    if (fd < 0) {
        return Status::OpenFailed(std::strerror(errno));
    }
    Status status = FillTemporary(fd, target, content);
    if (status.ok() && ::rename(temporaryPath.c_str(), target.c_str()) != 0) {
        status = Failure(errno);
    }
    if (!status.ok()) {
        ::unlink(temporaryPath.c_str());
        return status;
    }
    SyncDirectoryOf(target);
    return status;
}

}  // namespace sylva
