#pragma once

#include "platform/types.h"

#include <cstdint>

// A point in time as whole seconds since 1970 (64 bits, so it does not run
// out in 2038), built from and turned back into local date-times.
class CTime
{
public:
    CTime() = default;
    explicit CTime(std::int64_t seconds)
        : m_time(seconds)
    { }
    // Reads `local` as a local date-time, with daylight saving decided for
    // that date. A date-time that does not exist (in the hour skipped when
    // clocks go forward) comes out as the hour after it.
    explicit CTime(const SYSTEMTIME& local);

    std::int64_t GetTime() const { return m_time; }
    // The local date-time of this point, with wMilliseconds 0.
    SYSTEMTIME GetAsSystemTime() const;

    bool operator==(const CTime&) const = default;

private:
    std::int64_t m_time = 0;
};

// True when every field of `local` is in range for a real date and time of
// day in the Gregorian calendar (day of week not looked at).
bool IsValidLocalTime(const SYSTEMTIME& local);
