#include "support/zt_time.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace sylva {

CZTTime CZTTime::Now() {
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch != '\0') {
        long long seconds = 0;
        const char* end = epoch + std::strlen(epoch);
        auto [ptr, ec] = std::from_chars(epoch, end, seconds);
        if (ec == std::errc() && ptr == end) {
            return CZTTime(static_cast<std::time_t>(seconds));
        }
    }
    return CZTTime(std::time(nullptr));
}

std::string CZTTime::GetTimeAsString() const {
    std::tm local{};
    if (localtime_r(&seconds_, &local) == nullptr) {
        return "0000-00-00 00:00:00";
    }
    char text[64];
    std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return std::string(text, length);
}

}  // namespace sylva
