#include "support/file_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sylva {

Status WriteWholeFile(const std::string& path, std::string_view content) {
    // O_NONBLOCK: a FIFO standing at the path fails at once instead of waiting for a reader.
    int fd =
        ::open(path.c_str(),
               O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW, 0666);
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
