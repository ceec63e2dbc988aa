// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/types.h"

#include <string>

// The date of the next daily start at `daily`'s hour and minute, seen from
// `now`: today when that time has not been reached yet, else tomorrow.
// Only the date fields and the day of week of the result are set from `now`;
// its time of day is `daily`'s.
SYSTEMTIME NextRunTime(const SYSTEMTIME& now, const SYSTEMTIME& daily);

// The "Autorun" notice for a next start.
std::wstring NextRunNotice(const SYSTEMTIME& next);

// Books the next daily start with the operating system when `bAutoRun` is on,
// at `time`'s time of day, and moves `time`'s date to that start; removes
// any booked start when it is off, leaving `time` as it was. With `bNotify`,
// first tells the user when the start will be, in a message box owned by
// `hNoticeOwner` (the main window when nullptr).
void ScheduleNextRun(BOOL bAutoRun, SYSTEMTIME& time, BOOL bNotify, HWND hNoticeOwner = nullptr);
