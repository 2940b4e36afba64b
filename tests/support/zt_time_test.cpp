#include "support/zt_time.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <ctime>
#include <regex>
#include <string>

namespace sylva {
namespace {

// Sets an environment variable for the lifetime of the object and restores it afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
            hadOld_ = true;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
        ::tzset();
    }
    ~ScopedEnv() {
        hadOld_ ? ::setenv(name_, old_.c_str(), 1) : ::unsetenv(name_);
        ::tzset();
    }

  private:
    const char* name_;
    std::string old_;
    bool hadOld_ = false;
};

TEST(CZTTime, FormatsLocalTimeAsDateAndTimeOfDay) {
    ScopedEnv tz("TZ", "UTC");
    EXPECT_EQ(CZTTime(0).GetTimeAsString(), "1970-01-01 00:00:00");
    EXPECT_EQ(CZTTime(1700000000).GetTimeAsString(), "2023-11-14 22:13:20");
}

TEST(CZTTime, HonoursTheTimeZone) {
    ScopedEnv tz("TZ", "CET-1");  // POSIX form: one hour east of UTC, no tz database needed
    EXPECT_EQ(CZTTime(1700000000).GetTimeAsString(), "2023-11-14 23:13:20");
}

TEST(CZTTimeNow, SourceDateEpochStandsInForNow) {
    ScopedEnv tz("TZ", "UTC");
    ScopedEnv epoch("SOURCE_DATE_EPOCH", "86400");
    EXPECT_EQ(CZTTime::Now().Seconds(), 86400);
    EXPECT_EQ(CZTTime::Now().GetTimeAsString(), "1970-01-02 00:00:00");
}

TEST(CZTTimeNow, IgnoresASourceDateEpochThatIsNotAWholeNumber) {
    for (const char* value : {"", "12abc", "1.5", "soon"}) {
        ScopedEnv epoch("SOURCE_DATE_EPOCH", value);
        std::time_t before = std::time(nullptr);
        std::time_t now = CZTTime::Now().Seconds();
        EXPECT_GE(now, before) << value;
        EXPECT_LE(now, std::time(nullptr)) << value;
    }
}

}  // namespace
}  // namespace sylva
