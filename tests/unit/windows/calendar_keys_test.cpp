// SPDX-License-Identifier: MIT
#include "platform/ui/win32/calendar_keys.h"
#include "service_doubles.h"

#include <gtest/gtest.h>

namespace {

TEST(CalendarKeysTest, EachKeySelectsTheDateAsOnLinux)
{
    struct Case
    {
        SYSTEMTIME from;
        CalendarKey key;
        int year, month, day, dayOfWeek; // -1: the date does not move
    };
    const Case cases[] = {
        {At(2026, 12, 8, 0, 0), CalendarKey::DayBefore, 2026, 12, 7, 1},
        {At(2027, 1, 1, 0, 0), CalendarKey::DayBefore, 2026, 12, 31, 4},
        {At(2026, 12, 31, 0, 0), CalendarKey::DayAfter, 2027, 1, 1, 5},
        {At(2024, 2, 28, 0, 0), CalendarKey::DayAfter, 2024, 2, 29, 4},
        {At(2100, 2, 28, 0, 0), CalendarKey::DayAfter, 2100, 3, 1, 1}, // no 29 February in 2100
        {At(2000, 2, 28, 0, 0), CalendarKey::DayAfter, 2000, 2, 29, 2}, // but in 2000
        {At(2026, 3, 3, 0, 0), CalendarKey::WeekBefore, 2026, 2, 24, 2},
        {At(2026, 12, 29, 0, 0), CalendarKey::WeekAfter, 2027, 1, 5, 2},
        {At(2026, 3, 31, 0, 0), CalendarKey::MonthBefore, 2026, 2, 28, 6},
        {At(2024, 3, 31, 0, 0), CalendarKey::MonthBefore, 2024, 2, 29, 4},
        {At(2026, 1, 15, 0, 0), CalendarKey::MonthBefore, 2025, 12, 15, 1},
        {At(2026, 12, 15, 0, 0), CalendarKey::MonthAfter, 2027, 1, 15, 5},
        {At(2026, 12, 8, 0, 0), CalendarKey::FirstOfMonth, 2026, 12, 1, 2},
        {At(2026, 2, 8, 0, 0), CalendarKey::LastOfMonth, 2026, 2, 28, 6},
        {At(1970, 1, 2, 0, 0), CalendarKey::DayBefore, 1970, 1, 1, 4},
        {At(1969, 12, 31, 0, 0), CalendarKey::DayBefore, 1969, 12, 30, 2},
        // The system's calendars end with 1601 and 9999.
        {At(1601, 1, 1, 0, 0), CalendarKey::DayBefore, 1601, 1, 1, -1},
        {At(9999, 12, 31, 0, 0), CalendarKey::MonthAfter, 9999, 12, 31, -1},
    };
    for (const Case& c : cases) {
        const SYSTEMTIME next = DateAfterKey(c.from, c.key);
        EXPECT_EQ(next.wYear, c.year) << c.from.wYear << "-" << c.from.wMonth << "-" << c.from.wDay;
        EXPECT_EQ(next.wMonth, c.month) << c.from.wYear << "-" << c.from.wMonth << "-" << c.from.wDay;
        EXPECT_EQ(next.wDay, c.day) << c.from.wYear << "-" << c.from.wMonth << "-" << c.from.wDay;
        if (c.dayOfWeek >= 0) {
            EXPECT_EQ(next.wDayOfWeek, c.dayOfWeek) << c.year << "-" << c.month << "-" << c.day;
        }
    }
}

TEST(CalendarKeysTest, TheTimeOfDayStays)
{
    const SYSTEMTIME next = DateAfterKey(At(2026, 12, 8, 7, 45, 30), CalendarKey::WeekAfter);
    EXPECT_EQ(next.wDay, 15);
    EXPECT_EQ(next.wHour, 7);
    EXPECT_EQ(next.wMinute, 45);
    EXPECT_EQ(next.wSecond, 30);
}

} // namespace
