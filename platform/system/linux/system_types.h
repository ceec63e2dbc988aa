// SPDX-License-Identifier: MIT
#pragma once

// The program's basic types on Linux, which has none of its own by these
// names (platform/system/types.h).
#include <cstdint>

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
