#include "platform/point_in_time.h"
#include "service_doubles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

// Runs the test body with the time zone `zone`, restoring the old one.
class TimeZone
{
public:
    explicit TimeZone(const char* zone)
    {
        const char* old = std::getenv("TZ");
        m_old = old ? old : "";
        m_hadOld = old != nullptr;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TimeZone()
    {
        if (m_hadOld)
            ::setenv("TZ", m_old.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::string m_old;
    bool m_hadOld;
};

void ExpectRoundTrip(const SYSTEMTIME& local)
{
    const SYSTEMTIME back = CTime(local).GetAsSystemTime();
    EXPECT_EQ(back.wYear, local.wYear);
    EXPECT_EQ(back.wMonth, local.wMonth);
    EXPECT_EQ(back.wDay, local.wDay);
    EXPECT_EQ(back.wHour, local.wHour) << local.wMonth << "/" << local.wDay << " " << local.wHour;
    EXPECT_EQ(back.wMinute, local.wMinute);
    EXPECT_EQ(back.wMilliseconds, 0);
}

TEST(CTime, RoundTripsAcrossDaylightSavingChanges)
{
    TimeZone zone("Europe/Berlin");
    // The clocks change on 29 March and 25 October 2026.
    for (int day : {28, 29, 30})
        for (int hour : {0, 1, 8, 23})
            ExpectRoundTrip(At(2026, 3, day, hour, 30));
    for (int day : {24, 25, 26})
        for (int hour : {0, 1, 2, 3, 8, 23})
            ExpectRoundTrip(At(2026, 10, day, hour, 30));
    // 08:00 on the day after each change is 23 or 25 hours after 08:00 before.
    EXPECT_EQ(CTime(At(2026, 3, 30, 8, 0)).GetTime() - CTime(At(2026, 3, 29, 8, 0)).GetTime(), 86400);
    EXPECT_EQ(CTime(At(2026, 3, 29, 8, 0)).GetTime() - CTime(At(2026, 3, 28, 8, 0)).GetTime(), 82800);
    EXPECT_EQ(CTime(At(2026, 10, 25, 8, 0)).GetTime() - CTime(At(2026, 10, 24, 8, 0)).GetTime(), 90000);
}

TEST(CTime, BeyondTheYear2038)
{
    TimeZone zone("America/New_York");
    const CTime later(At(2040, 7, 4, 8, 0));
    EXPECT_GT(later.GetTime(), 0x7FFFFFFFLL);
    ExpectRoundTrip(At(2040, 7, 4, 8, 0));
    ExpectRoundTrip(At(2100, 3, 1, 6, 30));
    EXPECT_EQ(CTime(At(2038, 1, 19, 3, 14, 8)).GetAsSystemTime().wYear, 2038);
}

TEST(CTime, ValidLocalTimes)
{
    EXPECT_TRUE(IsValidLocalTime(At(2024, 2, 29, 23, 59, 59)));
    EXPECT_TRUE(IsValidLocalTime(At(2000, 2, 29, 0, 0)));
    EXPECT_FALSE(IsValidLocalTime(At(2100, 2, 29, 0, 0)));
    EXPECT_FALSE(IsValidLocalTime(At(2026, 4, 31, 0, 0)));
    EXPECT_FALSE(IsValidLocalTime(At(2026, 0, 1, 0, 0)));
    EXPECT_FALSE(IsValidLocalTime(At(2026, 13, 1, 0, 0)));
    EXPECT_FALSE(IsValidLocalTime(At(2026, 1, 0, 0, 0)));
    EXPECT_FALSE(IsValidLocalTime(At(2026, 1, 1, 24, 0)));
    EXPECT_FALSE(IsValidLocalTime(At(2026, 1, 1, 0, 60)));
    EXPECT_FALSE(IsValidLocalTime(At(0, 1, 1, 0, 0)));
    SYSTEMTIME ms = At(2026, 1, 1, 0, 0);
    ms.wMilliseconds = 1000;
    EXPECT_FALSE(IsValidLocalTime(ms));
}

} // namespace
