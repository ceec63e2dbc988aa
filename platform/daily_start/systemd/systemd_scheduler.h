// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

// The daily start with systemd user timers (SystemScheduler() on Linux). The
// program's path becomes bytes once, as each call comes in; a call for a
// path a unit cannot start does nothing and says so.

// Where the timers are written and how systemctl is run. The defaults are
// the user's own systemd configuration; tests point them elsewhere.
struct SystemdSchedulerOptions
{
    // Empty: where the user manager reads the user's units, as it says.
    std::filesystem::path unitDirectory;
    // A name looked up on PATH, or a path to the program.
    std::string systemctl = "systemctl";
    // A systemctl command still running after this long is killed, so that
    // a missing or stuck user manager cannot hold the daily start up.
    std::chrono::milliseconds commandTimeout{5000};
};

// Takes effect from the next call, in whichever thread.
void SetSystemdSchedulerOptions(const SystemdSchedulerOptions& options);
