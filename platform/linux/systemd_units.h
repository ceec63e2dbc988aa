#pragma once

#include "platform/types.h"

#include <optional>
#include <string>

// The text of the systemd units that book a start of the program.

// False for a path that a unit cannot start exactly: empty, not absolute,
// naming a directory, or holding a control character.
bool SystemdCanBook(const std::string& nativePath);

// The name shared by the timer and service units of the executable whose
// path has the bytes `nativePath`, without the ".timer"/".service" suffix.
std::string SystemdUnitName(const std::string& nativePath);

// The service unit that starts `nativePath`, or nullopt when the path cannot
// be booked: empty, not absolute, naming a directory, or holding a control
// character.
std::optional<std::string> SystemdServiceUnit(const std::string& nativePath);

// The timer unit that starts the service once, at the local date-time `time`.
std::string SystemdTimerUnit(const std::string& nativePath, const SYSTEMTIME& time, bool wakeSystem);
