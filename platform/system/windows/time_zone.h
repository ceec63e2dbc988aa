// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/windows/windows_api.h"

#include <optional>
#include <string>

// The time zone that local times are read in: the system's, unless one is
// chosen here for the rest of the process (nullopt goes back to the system's).
// Windows offers no per-process zone as TZ is on Linux; tests choose one here.
void UseTimeZone(const std::optional<DYNAMIC_TIME_ZONE_INFORMATION>& zone);

// The zone of the system's list named `key` ("W. Europe Standard Time").
std::optional<DYNAMIC_TIME_ZONE_INFORMATION> FindTimeZone(const std::wstring& key);
