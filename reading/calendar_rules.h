// SPDX-License-Identifier: MIT
#pragma once

// The program's calendar: February counts 28 days in the table, and a year is
// a leap year when it divides by 4 but not by 100 (so 2000 is not one). The
// books number their readings by this rule, so it stays as it is; real dates
// follow text/civil_date.h.
constexpr int kDaysPerMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

constexpr bool IsLeapYear(int year)
{
    return year % 4 == 0 && year % 100 != 0;
}
