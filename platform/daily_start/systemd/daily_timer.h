// SPDX-License-Identifier: MIT
#pragma once

#include "platform/daily_start/daily_start.h"
#include "platform/daily_start/systemd/systemctl.h"
#include "platform/system/types.h"

#include <filesystem>
#include <optional>
#include <string>

// Where the user manager reads the user's own units, as it answers: the
// folder its unit path names for them. nullopt when it cannot be asked or
// reads no such folder.
std::optional<std::filesystem::path> ManagerUnitDirectory(Systemctl& systemctl);

// Writes the units that start the program at `path` every day at the time of
// day of `first` into `dir`, and arms the timer; without waking the machine
// where the user manager may not set wake-up alarms. When the units on disk
// already say so and the timer is armed, nothing is written and systemd is
// only asked whether it is. Empty unless the units could not be written and
// loaded, else why not.
std::string StartDailyTimer(
    const std::string& path, const SYSTEMTIME& first, const std::filesystem::path& dir, Systemctl& systemctl);

// Stops and removes the daily start of the program at `path`. Until systemd
// has confirmed that the timer is stopped and disabled, the units stay on
// disk, so that the removal is tried again at the next start of the program
// (or of talvik-book unschedule) rather than forgotten while a user manager
// out of reach keeps the timer.
DailyStartRemoval StopDailyTimer(const std::string& path, const std::filesystem::path& dir, Systemctl& systemctl);
