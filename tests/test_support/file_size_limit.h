// Test helper: makes every write past a size fail as a full disk does.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace sylva::test {

// For its lifetime, a write that would make a file longer than `bytes` fails with EFBIG (the
// signal that would end the process is ignored).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, oldHandler_);
    }

  private:
    rlimit previous_{};
    void (*oldHandler_)(int) = nullptr;
};

}  // namespace sylva::test
