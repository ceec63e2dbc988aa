// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The program's own basic types: BOOL is 32 bits wide, 0 is off, anything
// else is on, and TRUE is 1; SYSTEMTIME is a local date and time, field for
// field as the settings file stores it; HWND says which window owns a message
// box, nullptr standing for the program's main window. On Windows they are the
// system's own, of the same sizes and field order. Each system's folder has its
// system_types.h, which the build puts on the include path.
#include "system_types.h"

static_assert(sizeof(BOOL) == 4 && sizeof(SYSTEMTIME) == 16);
