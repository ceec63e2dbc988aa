// SPDX-License-Identifier: MIT
#include "platform/system/point_in_time.h"
#include "platform/system/local_time.h"
#include "text/civil_date.h"

#include <tuple>

namespace {

// The date and time of day of `t`, in an order that compares as time does.
auto WallClock(const SYSTEMTIME& t)
{
    return std::tie(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

bool SameWallClock(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return WallClock(a) == WallClock(b);
}

// `t` moved `days` whole days back, its time of day kept.
SYSTEMTIME DaysEarlier(SYSTEMTIME t, int days)
{
    const CivilDate date = CivilFromDays(DaysFromCivil({t.wYear, t.wMonth, t.wDay}) - days);
    t.wYear = static_cast<std::uint16_t>(date.year);
    t.wMonth = static_cast<std::uint16_t>(date.month);
    t.wDay = static_cast<std::uint16_t>(date.day);
    return t;
}

} // namespace

CTime::CTime(const SYSTEMTIME& local)
    : m_time(LocalToSeconds(local))
{
    if (SameWallClock(GetAsSystemTime(), local))
        return;
    // The clocks skipped that time of day on that date. The day before has
    // it (Samoa once skipped a whole day, hence a few days back).
    for (int back = 1; back <= 3; ++back) {
        const CTime earlier(LocalToSeconds(DaysEarlier(local, back)));
        const SYSTEMTIME shown = earlier.GetAsSystemTime();
        if (shown.wHour == local.wHour && shown.wMinute == local.wMinute && shown.wSecond == local.wSecond) {
            m_time = earlier.m_time;
            return;
        }
    }
}

SYSTEMTIME CTime::GetAsSystemTime() const
{
    SYSTEMTIME local{};
    if (!SecondsToLocal(m_time, local))
        return SYSTEMTIME{1970, 1, 4, 1, 0, 0, 0, 0};
    return local;
}

bool LocalTimeExists(const SYSTEMTIME& local)
{
    return SameWallClock(CTime(LocalToSeconds(local)).GetAsSystemTime(), local);
}

SYSTEMTIME FirstExistingLocalTime(const SYSTEMTIME& local)
{
    const std::int64_t guess = LocalToSeconds(local);
    if (SameWallClock(CTime(guess).GetAsSystemTime(), local))
        return local;
    // In a gap the clocks jumped over: the first second whose local reading
    // is not before `local`. Two days either side hold the whole jump.
    std::int64_t before = guess - 2 * 86400, after = guess + 86400;
    while (after - before > 1) {
        const std::int64_t middle = before + (after - before) / 2;
        const SYSTEMTIME shown = CTime(middle).GetAsSystemTime();
        (WallClock(shown) < WallClock(local) ? before : after) = middle;
    }
    return CTime(after).GetAsSystemTime();
}

bool IsValidLocalTime(const SYSTEMTIME& local)
{
    if (local.wYear < 1601 || local.wMonth < 1 || local.wMonth > 12 || local.wDay < 1)
        return false;
    return local.wDay <= DaysInMonth(local.wYear, local.wMonth) && local.wHour < 24 && local.wMinute < 60 &&
        local.wSecond < 60 && local.wMilliseconds < 1000;
}
