// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/types.h"

#include <chrono>
#include <optional>
#include <string>

// The daily start: the system starts the program every day at a set time of
// day, waking the machine for it. The program asks through CeRunAppAtTime,
// which leaves the work to one background thread, as the system's scheduler
// may take seconds to answer; talvik-book removes a start at once.

// What removing a daily start found and did.
struct DailyStartRemoval
{
    // Whether a start was scheduled for the program.
    bool bWasScheduled = false;
    // Empty when no start is scheduled for the program any more, else why one
    // may still be.
    std::string failure;
};

// One system's scheduler of daily starts. Each call does its work in the
// calling thread, and may take seconds.
class DailyScheduler
{
public:
    virtual ~DailyScheduler() = default;

    // Starts the program at `app` every day at the time of day of `first`,
    // from `first` on, replacing its earlier start; the starts go on until
    // the next call, so that no failed start ends them. A program that other
    // users could replace is not scheduled, and its earlier start is removed.
    // Empty when done, else why not.
    virtual std::string Schedule(const std::wstring& app, const SYSTEMTIME& first) = 0;
    // Removes the start of the program at `app`.
    virtual DailyStartRemoval Remove(const std::wstring& app) = 0;
    // Empty when a start of `app` can be scheduled, else why not, for the
    // user; asks the system no longer than a moment.
    virtual std::wstring WhyNot(const std::wstring& app) = 0;
};

// This system's scheduler: systemd user timers, or the Task Scheduler.
DailyScheduler& SystemScheduler();

// The program's name for the service: schedules (time) or removes (nullopt)
// the daily start of `app` through the Services seam, and returns at once.
void CeRunAppAtTime(const std::wstring& app, const std::optional<SYSTEMTIME>& time);
// Empty when a daily start of `app` can be scheduled, else why not.
std::wstring WhyCannotRunAppAtTime(const std::wstring& app);

// What CeRunAppAtTime does unless a test stands in: hands the request to the
// one scheduling thread, where a later request for the same path wins over
// one not yet started. A time that is no real date-time is not scheduled.
void RunAppAtTimeInBackground(const std::wstring& app, const std::optional<SYSTEMTIME>& time);

// Waits at most `timeout` for requests still under way; true when none is
// left. The program calls it once, before it ends.
bool FinishBackgroundWork(std::chrono::milliseconds timeout);
