// SPDX-License-Identifier: MIT
#include "platform/system/point_in_time.h"
#include "service_doubles.h"
#include "time_zone.h"

#include <gtest/gtest.h>

namespace {

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
    ScopedTimeZone zone("Europe/Berlin");
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

TEST(CTime, ATimeOfDayTheClocksSkipComesBackAsItWasGiven)
{
    // The daily start time read from a booking for the day the clocks go
    // forward must not move by the hour that day lacks.
    {
        ScopedTimeZone zone("Europe/Berlin");
        EXPECT_EQ(DateTimeText(CTime(At(2027, 3, 28, 2, 30)).GetAsSystemTime()), "2027-03-27 02:30:00.000");
        EXPECT_EQ(DateTimeText(CTime(At(2027, 3, 28, 3, 0)).GetAsSystemTime()), "2027-03-28 03:00:00.000");
    }
#ifndef _WIN32
    // Windows' zones change their offset only at the daylight-saving dates of
    // each year, so it cannot tell of this.
    ScopedTimeZone zone("Pacific/Apia"); // 30 December 2011 never happened there
    EXPECT_EQ(DateTimeText(CTime(At(2011, 12, 30, 8, 0)).GetAsSystemTime()), "2011-12-29 08:00:00.000");
#endif
}

TEST(LocalTime, FirstMomentThatExists)
{
    ScopedTimeZone zone("Europe/Berlin");
    for (const SYSTEMTIME& skipped : {At(2027, 3, 28, 2, 0), At(2027, 3, 28, 2, 30), At(2027, 3, 28, 2, 59, 59)}) {
        EXPECT_FALSE(LocalTimeExists(skipped)) << DateTimeText(skipped);
        EXPECT_EQ(DateTimeText(FirstExistingLocalTime(skipped)), "2027-03-28 03:00:00.000");
    }
    // Times that exist, the one the clocks repeat when they go back included.
    for (const SYSTEMTIME& real : {At(2027, 3, 28, 1, 59, 59), At(2027, 3, 28, 3, 0), At(2027, 10, 31, 2, 30)}) {
        EXPECT_TRUE(LocalTimeExists(real)) << DateTimeText(real);
        EXPECT_EQ(DateTimeText(FirstExistingLocalTime(real)), DateTimeText(real));
    }
}

TEST(CTime, BeyondTheYear2038)
{
    ScopedTimeZone zone("America/New_York");
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
