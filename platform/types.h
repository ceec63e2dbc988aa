// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The program's own basic types: BOOL is 32 bits wide, 0 is off, anything
// else is on, and TRUE is 1; SYSTEMTIME is a local date and time, field for
// field as the settings file stores it; HWND says which window owns a message
// box, nullptr standing for the program's main window. On Windows they are the
// system's own, of the same sizes and field order.
#ifdef _WIN32
#include "platform/windows/windows_api.h"
#else
using BOOL = std::int32_t;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

struct SYSTEMTIME
{
    std::uint16_t wYear;
    std::uint16_t wMonth; // 1 ... 12
    std::uint16_t wDayOfWeek;
    std::uint16_t wDay;
    std::uint16_t wHour;
    std::uint16_t wMinute;
    std::uint16_t wSecond;
    std::uint16_t wMilliseconds;
};

using HWND = void*;

// An opaque handle to an icon loaded from the program's resources.
using HICON = void*;
#endif

static_assert(sizeof(BOOL) == 4 && sizeof(SYSTEMTIME) == 16);
