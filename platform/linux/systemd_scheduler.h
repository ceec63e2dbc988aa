// SPDX-License-Identifier: MIT
#pragma once

#include "platform/linux/daily_timer.h"
#include "platform/types.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

// Books the start of the executable `app` at the local date-time `time` with
// a systemd user timer, or removes its pending start when `time` is nullopt.
// The timer goes on starting the program every day at that time of day until
// the next call, so that no failed start ends the daily starts. A program
// other users could replace is not booked, and its old booking is removed.
// Returns at once; the systemctl work goes on in the background, and a later
// call for the same path wins over an earlier one.
void SystemdRunAppAtTime(const std::wstring& app, const std::optional<SYSTEMTIME>& time);

// Waits at most `timeout` for booking work still under way; true when none is
// left. The program calls it once before it ends.
bool WaitForScheduledStarts(std::chrono::milliseconds timeout);

// Empty when a daily start can be booked for `app`, else why not, for the
// user: a path a unit cannot start, a program other users could replace, or
// a user manager that cannot be asked where it reads units. Asks the manager
// in the calling thread.
std::wstring SystemdWhyCannotBook(const std::wstring& app);

// Removes the booked start of `app` at once, in the calling thread.
DailyTimerRemoval SystemdRemoveStartNow(const std::wstring& app);

// Where the bookings are written and how systemctl is run. The defaults are
// the user's own systemd configuration; tests point them elsewhere.
struct SystemdSchedulerOptions
{
    // Empty: where the user manager reads the user's units, as it says.
    std::filesystem::path unitDirectory;
    // A name looked up on PATH, or a path to the program.
    std::string systemctl = "systemctl";
    // A systemctl command still running after this long is killed, so that
    // a missing or stuck user manager cannot hold the booking up.
    std::chrono::milliseconds commandTimeout{5000};
};

// Takes effect from the next booking the background work picks up.
void SetSystemdSchedulerOptions(const SystemdSchedulerOptions& options);
