#include "platform/point_in_time.h"

#include <ctime>

CTime::CTime(const SYSTEMTIME& local)
{
    std::tm tm{};
    tm.tm_year = local.wYear - 1900;
    tm.tm_mon = local.wMonth - 1;
    tm.tm_mday = local.wDay;
    tm.tm_hour = local.wHour;
    tm.tm_min = local.wMinute;
    tm.tm_sec = local.wSecond;
    tm.tm_isdst = -1;
    m_time = static_cast<std::int64_t>(std::mktime(&tm));
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
