#include "support/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "support/file_output.h"
#include "support/zt_string.h"
#include "support/zt_system.h"

namespace sylva {

namespace {

constexpr std::string_view kTemporaryInfix = ".tmp.";

// The name of the temporary file that the process `pid` writes as its `count`th replacement of
// `path`.
std::string TemporaryPath(const std::string& path, pid_t pid, unsigned count) {
    return path + std::string(kTemporaryInfix) + std::to_string(pid) + "." + std::to_string(count);
}

// The id of the process that wrote `name` as a temporary file of the file named `target`, or 0
// when `name` is not "<target>.tmp.<digits>.<digits>".
pid_t WriterOf(std::string_view name, std::string_view target) {
    if (!name.starts_with(target) || !name.substr(target.size()).starts_with(kTemporaryInfix)) {
        return 0;
    }
    name.remove_prefix(target.size() + kTemporaryInfix.size());
    std::size_t dot = name.find('.');
    if (dot == std::string_view::npos || dot + 1 == name.size() ||
        name.find_first_not_of("0123456789", dot + 1) != std::string_view::npos) {
        return 0;
    }
    pid_t pid = 0;
    const char* pidEnd = name.data() + dot;
    auto [end, error] = std::from_chars(name.data(), pidEnd, pid);
    return error == std::errc() && end == pidEnd && pid > 0 ? pid : 0;
}

std::atomic<unsigned> temporaryCount{0};

// Creates a temporary file beside `target` that no other writer (thread or process) can share;
// returns its descriptor, or -1 with errno set.
int CreateTemporary(const std::string& target, std::string& temporaryPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = UniqueTemporaryPath(target);
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
    if (status.ok() && ::lstat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
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
    int fd = ::open(CZTSystem::DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

std::string UniqueTemporaryPath(const std::string& path) {
    return TemporaryPath(path, ::getpid(), temporaryCount.fetch_add(1));
}

Status ReplaceFileAtomically(const std::string& path, std::string_view content) {
    std::string temporaryPath;
    int fd = CreateTemporary(path, temporaryPath);
    if (fd < 0) {
        return Status::OpenFailed(std::strerror(errno));
    }
    Status status = FillTemporary(fd, path, content);
    if (status.ok() && ::rename(temporaryPath.c_str(), path.c_str()) != 0) {
        status = Failure(errno);
    }
    if (!status.ok()) {
        ::unlink(temporaryPath.c_str());
        return status;
    }
    SyncDirectoryOf(path);
    return status;
}

void RemoveAbandonedTemporaries(const std::string& path) {
    const std::string target = CZTString(path).GetFilename();
    std::error_code error;
    for (std::filesystem::directory_iterator it(CZTSystem::DirectoryOf(path), error), end;
         !error && it != end; it.increment(error)) {
        pid_t writer = WriterOf(it->path().filename().native(), target);
        std::error_code typeError;
        // Only a process that no longer exists can never again rename its temporary file.
        if (writer != 0 &&
            it->symlink_status(typeError).type() == std::filesystem::file_type::regular &&
            ::kill(writer, 0) != 0 && errno == ESRCH) {
            ::unlink(it->path().c_str());
        }
    }
}

}  // namespace sylva
