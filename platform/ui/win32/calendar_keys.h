// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/types.h"

// The keys that move a month calendar's selection, where its window library
// leaves them to the program.
enum class CalendarKey
{
    DayBefore, // Left
    DayAfter, // Right
    WeekBefore, // Up
    WeekAfter, // Down
    MonthBefore, // Page Up: the same day, or the month's last when it has fewer
    MonthAfter, // Page Down
    FirstOfMonth, // Home
    LastOfMonth, // End
};

// The date that `key` selects from `date` in the Gregorian calendar (time of
// day kept, day of week set); `date` itself at the ends of years 1601 and
// 9999, which the system's calendars cannot pass.
SYSTEMTIME DateAfterKey(const SYSTEMTIME& date, CalendarKey key);
