// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/types.h"

#include <cstdint>

// The system's own conversions between local date-times and seconds since
// 1970, which CTime and the daylight-saving rules of point_in_time.h are
// built on; each system has its own.

// The seconds of `local` read as a local date-time, with daylight saving
// decided for that date by the system. A date-time that the clocks skip comes
// out as some second near it; -1 when the system cannot place it at all.
std::int64_t LocalToSeconds(const SYSTEMTIME& local);

// The clock: the local date and time now, to the millisecond.
SYSTEMTIME SystemLocalTime();

// The local date-time of `seconds`, with wMilliseconds 0; false when the
// system cannot say.
bool SecondsToLocal(std::int64_t seconds, SYSTEMTIME& local);
