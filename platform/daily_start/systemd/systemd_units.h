// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/types.h"

#include <optional>
#include <string>

// The text of the systemd units that start the program every day.

// False for a path that a unit cannot start exactly: empty, not absolute,
// naming a directory, or holding a control character.
bool SystemdCanStart(const std::string& nativePath);

// The name shared by the timer and service units of the executable whose
// path has the bytes `nativePath`, without the ".timer"/".service" suffix.
std::string SystemdUnitName(const std::string& nativePath);

// A daily start is three units named after the program: the timer NAME.timer,
// which starts NAME-start.service when a start falls due, which in turn
// starts the program's own NAME.service unless it runs already.
std::string SystemdTimerFile(const std::string& nativePath);
std::string SystemdStartFile(const std::string& nativePath);
std::string SystemdServiceFile(const std::string& nativePath);

// The service unit that starts `nativePath`, or nullopt when the path cannot
// be started: empty, not absolute, naming a directory, or holding a control
// character.
std::optional<std::string> SystemdServiceUnit(const std::string& nativePath);

// The unit the timer starts when a start falls due. It ends at once, so that
// the timer counts on to the next day even while the program, started on an
// earlier day, is still open.
std::string SystemdStartUnit(const std::string& nativePath);

// The last year systemd's calendar can name.
constexpr int kLastSystemdYear = 2199;

// Whether a timer may wake the machine from suspend to start the program.
enum class TimerWake
{
    WakeSystem,
    NoWake,
};

// The timer unit that starts the service every day at the local time of day
// of `first`, in the program's time zone. `first`'s date only decides which
// days of the coming year the clocks skip that time of day.
std::string SystemdTimerUnit(const std::string& nativePath, const SYSTEMTIME& first, TimerWake wake);
