// SPDX-License-Identifier: MIT
#include "platform/point_in_time.h"

#include <ctime>
#include <tuple>

namespace {

std::tm ToTm(const SYSTEMTIME& local)
{
    std::tm tm{};
    tm.tm_year = local.wYear - 1900;
    tm.tm_mon = local.wMonth - 1;
    tm.tm_mday = local.wDay;
    tm.tm_hour = local.wHour;
    tm.tm_min = local.wMinute;
    tm.tm_sec = local.wSecond;
    tm.tm_isdst = -1;
    return tm;
}

std::int64_t FromLocal(const SYSTEMTIME& local)
{
    std::tm tm = ToTm(local);
    return static_cast<std::int64_t>(std::mktime(&tm));
}

// The date and time of day of `t`, in an order that compares as time does.
auto WallClock(const SYSTEMTIME& t)
{
    return std::tie(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

bool SameWallClock(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return WallClock(a) == WallClock(b);
}

} // namespace

CTime::CTime(const SYSTEMTIME& local)
    : m_time(FromLocal(local))
{
    if (SameWallClock(GetAsSystemTime(), local))
        return;
    // The clocks skipped that time of day on that date. The day before has
    // it (Samoa once skipped a whole day, hence a few days back).
    for (int back = 1; back <= 3; ++back) {
        std::tm tm = ToTm(local);
        tm.tm_mday -= back;
        const CTime earlier(static_cast<std::int64_t>(std::mktime(&tm)));
        const SYSTEMTIME shown = earlier.GetAsSystemTime();
        if (shown.wHour == local.wHour && shown.wMinute == local.wMinute && shown.wSecond == local.wSecond) {
            m_time = earlier.m_time;
            return;
        }
    }
}

SYSTEMTIME CTime::GetAsSystemTime() const
{
    const auto t = static_cast<std::time_t>(m_time);
    std::tm tm{};
    if (!localtime_r(&t, &tm))
        return SYSTEMTIME{1970, 1, 4, 1, 0, 0, 0, 0};
    return SYSTEMTIME{
        static_cast<std::uint16_t>(tm.tm_year + 1900),
        static_cast<std::uint16_t>(tm.tm_mon + 1),
        static_cast<std::uint16_t>(tm.tm_wday),
        static_cast<std::uint16_t>(tm.tm_mday),
        static_cast<std::uint16_t>(tm.tm_hour),
        static_cast<std::uint16_t>(tm.tm_min),
        static_cast<std::uint16_t>(tm.tm_sec),
        0,
    };
}

bool LocalTimeExists(const SYSTEMTIME& local)
{
    return SameWallClock(CTime(FromLocal(local)).GetAsSystemTime(), local);
}

SYSTEMTIME FirstExistingLocalTime(const SYSTEMTIME& local)
{
    const std::int64_t guess = FromLocal(local);
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
    static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (local.wYear < 1601 || local.wMonth < 1 || local.wMonth > 12 || local.wDay < 1)
        return false;
    const int y = local.wYear;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    const int days = (local.wMonth == 2 && !leap) ? 28 : kDays[local.wMonth - 1];
    return local.wDay <= days && local.wHour < 24 && local.wMinute < 60 && local.wSecond < 60 &&
        local.wMilliseconds < 1000;
}
