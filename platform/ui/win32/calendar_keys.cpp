// SPDX-License-Identifier: MIT
#include "platform/ui/win32/calendar_keys.h"
#include "text/civil_date.h"

namespace {

// `date`'s time of day on the day `days` after 1970-01-01.
SYSTEMTIME OnDay(std::int64_t days, const SYSTEMTIME& timeOfDay)
{
    const CivilDate civil = CivilFromDays(days);
    SYSTEMTIME t = timeOfDay;
    t.wYear = static_cast<decltype(t.wYear)>(civil.year);
    t.wMonth = static_cast<decltype(t.wMonth)>(civil.month);
    t.wDay = static_cast<decltype(t.wDay)>(civil.day);
    t.wDayOfWeek = static_cast<decltype(t.wDayOfWeek)>(DayOfWeek(days));
    return t;
}

} // namespace

SYSTEMTIME DateAfterKey(const SYSTEMTIME& date, CalendarKey key)
{
    const int year = date.wYear;
    const int month = date.wMonth;
    std::int64_t days = DaysFromCivil({year, month, date.wDay});
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
        days = DaysFromCivil({y, m, d});
        break;
    }
    }
    const SYSTEMTIME next = OnDay(days, date);
    return next.wYear < 1601 || next.wYear > 9999 ? date : next;
}
