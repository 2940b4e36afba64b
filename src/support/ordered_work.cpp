#include "support/ordered_work.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace sylva {

namespace {
constexpr int kMaxThreads = 64;
constexpr int kDefaultThreads = 2;
}  // namespace

int DefaultThreadCount() {
    if (const char* text = std::getenv("SYLVA_THREADS"); text != nullptr) {
        int value = 0;
        const char* end = text + std::strlen(text);
        auto [ptr, error] = std::from_chars(text, end, value);
        if (error == std::errc() && ptr == end && value >= 1 && value <= kMaxThreads) {
            return value;
        }
    }
    unsigned cores = std::thread::hardware_concurrency();
    return cores == 1 ? 1 : kDefaultThreads;
}

}  // namespace sylva
