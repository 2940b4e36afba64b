#include "support/file_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sylva {

namespace {

constexpr std::size_t kBufferSize = 256 * 1024;

// The descriptor of `path`, created or truncated, or -1 with errno set.
int CreateOutputFile(const std::string& path) {
    // O_NONBLOCK: a FIFO standing at the path fails at once instead of waiting for a reader.
    return ::open(path.c_str(),
                  O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW,
                  0666);
}

}  // namespace

Status WriteWholeFile(const std::string& path, std::string_view content) {
    int fd = CreateOutputFile(path);
    if (fd < 0) {
        return Status::OpenFailed(std::strerror(errno));
    }
    if (Status written = WriteAll(fd, content); !written.ok()) {
        ::close(fd);
        return written;
    }
    if (::close(fd) != 0) {
        return Status::WriteFailed(std::strerror(errno));
    }
    return Status::Ok();
}

BufferedOutputFile::~BufferedOutputFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

Status BufferedOutputFile::Open(const std::string& path) {
    fd_ = CreateOutputFile(path);
    status_ = fd_ < 0 ? Status::OpenFailed(std::strerror(errno)) : Status::Ok();
    buffer_.reserve(kBufferSize);
    return status_;
}

void BufferedOutputFile::Append(std::string_view text) {
    if (fd_ < 0 || !status_.ok()) {
        return;
    }
    if (buffer_.size() + text.size() > kBufferSize) {
        Flush();
    }
    if (text.size() >= kBufferSize) {
        if (status_.ok()) {
            status_ = WriteAll(fd_, text);
        }
        return;
    }
    buffer_.append(text);
}

void BufferedOutputFile::Flush() {
    if (status_.ok() && !buffer_.empty()) {
        status_ = WriteAll(fd_, buffer_);
    }
    buffer_.clear();
}

Status BufferedOutputFile::Close() {
    if (fd_ < 0) {
        return status_;
    }
    Flush();
    if (::close(fd_) != 0 && status_.ok()) {
        status_ = Status::WriteFailed(std::strerror(errno));
    }
    fd_ = -1;
    return status_;
}

Status WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return Status::WriteFailed(std::strerror(written < 0 ? errno : ENOSPC));
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return Status::Ok();
}

}  // namespace sylva
