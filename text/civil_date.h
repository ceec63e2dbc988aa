// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Dates of the real (proleptic Gregorian) calendar, as the system's clocks
// and calendars count them. The verse of the day follows the program's own
// leap rule instead (reading/calendar_rules.h).

struct CivilDate
{
    int year;
    int month; // 1 ... 12
    int day;
};

// Every fourth year, but not every hundredth unless every four-hundredth.
constexpr bool IsGregorianLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// The days of `month` (1 ... 12) in `year`.
int DaysInMonth(int year, int month);

// Days since 1970-01-01, and back (H. Hinnant's algorithms); any year.
std::int64_t DaysFromCivil(const CivilDate& date);
CivilDate CivilFromDays(std::int64_t days);

// The day of the week, 0 for Sunday, of the day `days` after 1970-01-01.
int DayOfWeek(std::int64_t days);
