// SPDX-License-Identifier: MIT
#include "platform/point_in_time.h"
#include "platform/local_time.h"

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

// Days since 1970-01-01 of a Gregorian date, and back (H. Hinnant's
// algorithms), to step a date back by whole days.
std::int64_t DaysFromCivil(int y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<std::int64_t>(era) * 146097 + doe - 719468;
}

SYSTEMTIME DaysEarlier(SYSTEMTIME t, int days)
{
    const std::int64_t z = DaysFromCivil(t.wYear, t.wMonth, t.wDay) - days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    t.wYear = static_cast<std::uint16_t>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
    t.wMonth = static_cast<std::uint16_t>(m);
    t.wDay = static_cast<std::uint16_t>(d);
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
    static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (local.wYear < 1601 || local.wMonth < 1 || local.wMonth > 12 || local.wDay < 1)
        return false;
    const int y = local.wYear;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    const int days = (local.wMonth == 2 && !leap) ? 28 : kDays[local.wMonth - 1];
    return local.wDay <= days && local.wHour < 24 && local.wMinute < 60 && local.wSecond < 60 &&
        local.wMilliseconds < 1000;
}
