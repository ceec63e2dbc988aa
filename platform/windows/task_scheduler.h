// SPDX-License-Identifier: MIT
#pragma once

#include "platform/types.h"

#include <chrono>
#include <optional>
#include <string>

// Books the start of the executable `app` at the local date-time `time` with
// a Windows Task Scheduler task that then starts it every day at that time of
// day, waking the machine; or deletes the task when `time` is nullopt.
// Returns at once; the work goes on in a thread of its own, and a later call
// for the same path wins over an earlier one not yet started.
void TaskSchedulerRunAppAtTime(const std::wstring& app, const std::optional<SYSTEMTIME>& time);

// Waits at most `timeout` for booking work still under way; true when none is
// left. The program calls it once before it ends.
bool WaitForScheduledStarts(std::chrono::milliseconds timeout);

// The same booking or removal, done at once in the calling thread. Empty when
// it was done, else why not.
// A removal sets *pbWasBooked to whether there was a task to delete.
std::string TaskSchedulerBookNow(
    const std::wstring& app, const std::optional<SYSTEMTIME>& time, bool* pbWasBooked = nullptr);
