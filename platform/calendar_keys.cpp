// SPDX-License-Identifier: MIT
#include "platform/calendar_keys.h"

namespace {

bool IsGregorianLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsGregorianLeap(year) ? 29 : kDays[month - 1];
}

// Days since 1 January 1970, and back (the civil-from-days algorithm).
long DaysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

SYSTEMTIME CivilFromDays(long z, const SYSTEMTIME& timeOfDay)
{
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const long d = doy - (153 * mp + 2) / 5 + 1;
    const long m = mp + (mp < 10 ? 3 : -9);
    SYSTEMTIME t = timeOfDay;
    t.wYear = static_cast<decltype(t.wYear)>(yoe + era * 400 + (m <= 2));
    t.wMonth = static_cast<decltype(t.wMonth)>(m);
    t.wDay = static_cast<decltype(t.wDay)>(d);
    return t;
}

} // namespace

SYSTEMTIME DateAfterKey(const SYSTEMTIME& date, CalendarKey key)
{
    const int year = date.wYear;
    const int month = date.wMonth;
    long days = DaysFromCivil(year, month, date.wDay);
    switch (key) {
    case CalendarKey::DayBefore:
        days -= 1;
        break;
    case CalendarKey::DayAfter:
        days += 1;
        break;
    case CalendarKey::WeekBefore:
        days -= 7;
        break;
    case CalendarKey::WeekAfter:
        days += 7;
        break;
    case CalendarKey::FirstOfMonth:
        days -= date.wDay - 1;
        break;
    case CalendarKey::LastOfMonth:
        days += DaysInMonth(year, month) - date.wDay;
        break;
    case CalendarKey::MonthBefore:
    case CalendarKey::MonthAfter: {
        const int step = key == CalendarKey::MonthAfter ? 1 : -1;
        const int index = year * 12 + (month - 1) + step;
        const int y = index / 12;
        const int m = index % 12 + 1;
        const int d = date.wDay < DaysInMonth(y, m) ? date.wDay : DaysInMonth(y, m);
        days = DaysFromCivil(y, m, d);
        break;
    }
    }
    SYSTEMTIME next = CivilFromDays(days, date);
    if (next.wYear < 1601 || next.wYear > 9999)
        return date;
    next.wDayOfWeek = static_cast<decltype(next.wDayOfWeek)>((days % 7 + 11) % 7); // 1 January 1970 was a Thursday
    return next;
}
