#include "support/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <string_view>
#include <utility>

namespace sylva {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
}  // namespace

LineReader::~LineReader() {
    Close();
}

bool LineReader::Open(const std::string& path) {
    Close();
    // O_NONBLOCK keeps open() itself from waiting for a FIFO's writer; only regular files pass
    // the check below, and for them the flag has no effect on reads.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    buffer_ = std::make_unique<char[]>(kBufferSize);
    data_ = buffer_.get();
    begin_ = end_ = 0;
    atFileStart_ = true;
    return true;
}

void LineReader::SkipByteOrderMark() {
    if (std::string_view(data_ + begin_, end_ - begin_).starts_with(kByteOrderMark)) {
        begin_ += kByteOrderMark.size();
    }
}

void LineReader::OpenBuffer(std::string_view content) {
    Close();
    data_ = content.data();
    begin_ = 0;
    end_ = content.size();
    SkipByteOrderMark();
}

void LineReader::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    buffer_.reset();
    data_ = nullptr;
    begin_ = end_ = 0;
    atFileStart_ = false;
    readError_ = 0;
}

bool LineReader::Fill() {
    if (begin_ < end_) {
        return true;
    }
    if (fd_ < 0 || readError_ != 0) {
        return false;
    }
    for (;;) {
        ssize_t got = ::read(fd_, buffer_.get(), kBufferSize);
        if (got > 0) {
            begin_ = 0;
            end_ = static_cast<std::size_t>(got);
            if (std::exchange(atFileStart_, false)) {
                SkipByteOrderMark();
                if (begin_ == end_) {
                    continue;
                }
            }
            return true;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            readError_ = errno;
        }
        return false;
    }
}

bool LineReader::ReadPiece(std::string& piece, std::size_t maxChars) {
    piece.clear();
    if (maxChars == 0) {
        maxChars = 1;
    }
    while (piece.size() < maxChars && Fill()) {
        const char* start = data_ + begin_;
        std::size_t window = std::min(end_ - begin_, maxChars - piece.size());
        const void* lf = std::memchr(start, '\n', window);
        const void* cr =
            std::memchr(start, '\r', lf ? static_cast<const char*>(lf) - start : window);
        if (cr == nullptr) {
            std::size_t take = lf ? static_cast<const char*>(lf) - start + 1 : window;
            piece.append(start, take);
            begin_ += take;
            if (lf) {
                return true;
            }
            continue;
        }
        // Everything before the CR, then decide whether the CR belongs to a CR LF pair.
        std::size_t before = static_cast<const char*>(cr) - start;
        piece.append(start, before);
        begin_ += before + 1;
        if (Fill() && data_[begin_] == '\n') {
            ++begin_;
            piece.push_back('\n');
            return true;
        }
        piece.push_back('\r');
    }
    return !piece.empty();
}

bool LineReader::HeadHoldsNul(std::size_t bytes) {
    return Fill() && std::memchr(data_ + begin_, '\0', std::min(bytes, end_ - begin_)) != nullptr;
}

bool LineReader::ReadRest(std::string& content) {
    while (Fill()) {
        content.append(data_ + begin_, end_ - begin_);
        begin_ = end_;
    }
    return readError_ == 0;
}

bool LineReader::ReadLine(std::string& line) {
    if (!ReadPiece(line, std::numeric_limits<std::size_t>::max())) {
        return false;
    }
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
    }
    return true;
}

}  // namespace sylva
