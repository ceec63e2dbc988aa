// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The program's own basic types. BOOL is 32 bits wide: 0 is off, anything
// else is on, and TRUE is 1.
using BOOL = std::int32_t;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// A local date and time, field for field as the settings file stores it.
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

// An opaque handle to a window, used to say which window owns a message box.
// nullptr stands for the program's main window.
using HWND = void*;

// An opaque handle to an icon loaded from the program's resources.
using HICON = void*;
