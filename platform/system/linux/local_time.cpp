// SPDX-License-Identifier: MIT
#include "platform/system/local_time.h"
#include "platform/system/point_in_time.h"

#include <ctime>

std::int64_t LocalToSeconds(const SYSTEMTIME& local)
{
    std::tm tm{};
    tm.tm_year = local.wYear - 1900;
    tm.tm_mon = local.wMonth - 1;
    tm.tm_mday = local.wDay;
    tm.tm_hour = local.wHour;
    tm.tm_min = local.wMinute;
    tm.tm_sec = local.wSecond;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

bool SecondsToLocal(std::int64_t seconds, SYSTEMTIME& local)
{
    const auto t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (!localtime_r(&t, &tm))
        return false;
    local = SYSTEMTIME{
        static_cast<std::uint16_t>(tm.tm_year + 1900),
        static_cast<std::uint16_t>(tm.tm_mon + 1),
        static_cast<std::uint16_t>(tm.tm_wday),
        static_cast<std::uint16_t>(tm.tm_mday),
        static_cast<std::uint16_t>(tm.tm_hour),
        static_cast<std::uint16_t>(tm.tm_min),
        static_cast<std::uint16_t>(tm.tm_sec),
        0,
    };
    return true;
}

SYSTEMTIME SystemLocalTime()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    SYSTEMTIME local = CTime(now.tv_sec).GetAsSystemTime();
    local.wMilliseconds = static_cast<std::uint16_t>(now.tv_nsec / 1000000);
    return local;
}
