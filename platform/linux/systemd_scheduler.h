// SPDX-License-Identifier: MIT
#pragma once

#include "platform/types.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

// Books the start of the executable `app` at the local date-time `time` with
// a systemd user timer, or removes its pending start when `time` is nullopt.
// The timer goes on starting the program every day at that time of day until
// the next call, so that no failed start ends the daily starts. Returns at
// once; the systemctl work goes on in the background, and a later call for
// the same path wins over an earlier one.
void SystemdRunAppAtTime(const std::wstring& app, const std::optional<SYSTEMTIME>& time);

// Waits at most `timeout` for booking work still under way; true when none is
// left. The program calls it once before it ends.
bool WaitForScheduledStarts(std::chrono::milliseconds timeout);

// Removes the booked start of `app` at once, in the calling thread. Empty
// when no start is booked for it any more, else why one may still be.
std::string SystemdRemoveStartNow(const std::wstring& app);

// Where the bookings are written and how systemctl is run. The defaults are
// the user's own systemd configuration; tests point them elsewhere.
struct SystemdSchedulerOptions
{
    // Empty: $XDG_CONFIG_HOME/systemd/user, else ~/.config/systemd/user.
    std::filesystem::path unitDirectory;
    // A name looked up on PATH, or a path to the program.
    std::string systemctl = "systemctl";
    // A systemctl command still running after this long is killed, so that
    // a missing or stuck user manager cannot hold the booking up.
    std::chrono::milliseconds commandTimeout{5000};
};

// Takes effect from the next booking the background work picks up.
void SetSystemdSchedulerOptions(const SystemdSchedulerOptions& options);
