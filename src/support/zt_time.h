// CZTTime: a moment in time (seconds since the epoch), copied by value, shown as local time.
#pragma once

#include <ctime>
#include <string>

namespace sylva {

class CZTTime {
  public:
    CZTTime() = default;
    explicit CZTTime(std::time_t seconds) : seconds_(seconds) {}

    // The current time. When SOURCE_DATE_EPOCH holds a whole number of seconds, that moment
    // stands in for "now", so that two runs over the same tree write identical bytes.
    static CZTTime Now();

    std::time_t Seconds() const { return seconds_; }

    // The local date and time of day as "YYYY-MM-DD HH:MM:SS" (TZ is honoured).
    std::string GetTimeAsString() const;

    friend bool operator==(const CZTTime&, const CZTTime&) = default;

  private:
    std::time_t seconds_ = 0;
};

}  // namespace sylva
