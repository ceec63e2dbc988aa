// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/windows/windows_api.h"

#include <cstddef>
#include <string>

// The full path of `module`, asked for with room for `room` characters at
// first.
std::wstring ModulePath(HMODULE module, std::size_t room);
