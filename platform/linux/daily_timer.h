// SPDX-License-Identifier: MIT
#pragma once

#include "platform/linux/systemctl.h"
#include "platform/types.h"

#include <filesystem>
#include <string>

// Writes the units that start the program at `path` every day from `first`
// on into `dir`, and arms the timer; without waking the machine where the
// user manager may not set wake-up alarms. Does nothing for a path or date
// the units cannot express.
void StartDailyTimer(
    const std::string& path, const SYSTEMTIME& first, const std::filesystem::path& dir, Systemctl& systemctl);

// Stops and removes the daily start of the program at `path`. Empty when no
// start is booked for it any more, else why one may still be: until systemd
// has confirmed that the timer is stopped and disabled, the units stay on
// disk, so that the removal is tried again at the next start of the program
// (or of talvik-book unschedule) rather than forgotten while a user manager
// out of reach keeps the timer.
std::string StopDailyTimer(const std::string& path, const std::filesystem::path& dir, Systemctl& systemctl);
