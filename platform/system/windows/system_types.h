// SPDX-License-Identifier: MIT
#pragma once

// On Windows the program's basic types are the system's own
// (platform/system/types.h).
#include "platform/system/windows/windows_api.h"
