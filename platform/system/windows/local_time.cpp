// SPDX-License-Identifier: MIT
#include "platform/system/local_time.h"
#include "platform/system/windows/time_zone.h"

#include <optional>

namespace {

// 100-nanosecond ticks from 1601, the start of Windows' file times, to 1970.
constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;

std::optional<DYNAMIC_TIME_ZONE_INFORMATION>& ChosenZone()
{
    static std::optional<DYNAMIC_TIME_ZONE_INFORMATION> zone;
    return zone;
}

// The zone in force: the one chosen for this process, else the system's, with
// its rules for every year (dynamic daylight saving).
DYNAMIC_TIME_ZONE_INFORMATION CurrentZone()
{
    if (ChosenZone())
        return *ChosenZone();
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    ::GetDynamicTimeZoneInformation(&zone);
    return zone;
}

// The zone's offsets and daylight-saving dates in `year`. These, with the
// conversions of a single year's rules, do what TzSpecificLocalTimeToSystemTimeEx
// and its reverse do; wine 8 has only stubs of those two.
std::optional<TIME_ZONE_INFORMATION> RulesOfYear(WORD year)
{
    DYNAMIC_TIME_ZONE_INFORMATION zone = CurrentZone();
    TIME_ZONE_INFORMATION rules{};
    if (!::GetTimeZoneInformationForYear(year, &zone, &rules))
        return std::nullopt;
    return rules;
}

} // namespace

void UseTimeZone(const std::optional<DYNAMIC_TIME_ZONE_INFORMATION>& zone)
{
    ChosenZone() = zone;
}

std::optional<DYNAMIC_TIME_ZONE_INFORMATION> FindTimeZone(const std::wstring& key)
{
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    for (DWORD i = 0; ::EnumDynamicTimeZoneInformation(i, &zone) == ERROR_SUCCESS; ++i)
        if (key == zone.TimeZoneKeyName)
            return zone;
    return std::nullopt;
}

std::int64_t LocalToSeconds(const SYSTEMTIME& local)
{
    SYSTEMTIME exact = local;
    exact.wMilliseconds = 0;
    SYSTEMTIME utc{};
    FILETIME ticks{};
    const auto rules = RulesOfYear(local.wYear);
    if (!rules || !::TzSpecificLocalTimeToSystemTime(&*rules, &exact, &utc) || !::SystemTimeToFileTime(&utc, &ticks))
        return -1;
    const auto since1601 =
        static_cast<std::int64_t>((static_cast<std::uint64_t>(ticks.dwHighDateTime) << 32) | ticks.dwLowDateTime);
    return since1601 / kTicksPerSecond - kSecondsFrom1601To1970;
}

bool SecondsToLocal(std::int64_t seconds, SYSTEMTIME& local)
{
    if (seconds < -kSecondsFrom1601To1970)
        return false;
    const auto since1601 = static_cast<std::uint64_t>(seconds + kSecondsFrom1601To1970) * kTicksPerSecond;
    const FILETIME ticks{static_cast<DWORD>(since1601), static_cast<DWORD>(since1601 >> 32)};
    SYSTEMTIME utc{};
    if (!::FileTimeToSystemTime(&ticks, &utc))
        return false;
    // The rules of the local year, which around New Year is not always the
    // year of the UTC date.
    auto rules = RulesOfYear(utc.wYear);
    if (!rules || !::SystemTimeToTzSpecificLocalTime(&*rules, &utc, &local))
        return false;
    if (local.wYear != utc.wYear) {
        rules = RulesOfYear(local.wYear);
        if (!rules || !::SystemTimeToTzSpecificLocalTime(&*rules, &utc, &local))
            return false;
    }
    local.wMilliseconds = 0;
    return true;
}

SYSTEMTIME SystemLocalTime()
{
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    return local;
}
