// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/types.h"

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
    // that date. A time of day that the clocks skip on that date (going
    // forward) is taken on the day before instead, so that the time of day
    // always comes back as it was given: the program's points in time carry
    // its daily start time.
    explicit CTime(const SYSTEMTIME& local);

    std::int64_t GetTime() const { return m_time; }
    // The local date-time of this point, with wMilliseconds 0.
    SYSTEMTIME GetAsSystemTime() const;

    bool operator==(const CTime&) const = default;

private:
    std::int64_t m_time = 0;
};

// False for a local date-time that the clocks skip when they go forward.
bool LocalTimeExists(const SYSTEMTIME& local);

// `local` when that local date-time exists, else the first moment after it
// that does: 03:00 for 02:30 on the day the clocks go from 02:00 to 03:00.
SYSTEMTIME FirstExistingLocalTime(const SYSTEMTIME& local);

// True when every field of `local` is in range for a real date and time of
// day in the Gregorian calendar (day of week not looked at).
bool IsValidLocalTime(const SYSTEMTIME& local);
