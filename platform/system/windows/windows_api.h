// SPDX-License-Identifier: MIT
#pragma once

// The one place that includes <windows.h>. Its function-like names that the
// program also uses for its own functions (MessageBox, PlaySound, LoadString,
// GetModuleFileName, ...) are macros that pick the A or W variant; they are
// undone here, and the program calls the W functions by their full names.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// The common controls' names too (MCS_NOTODAY in the window templates).
#include <commctrl.h>

#undef CreateDialog
#undef CreateFile
#undef CreateDirectory
#undef DeleteFile
#undef DialogBox
#undef FormatMessage
#undef GetCurrentTime
#undef GetModuleFileName
#undef GetObject
#undef LoadIcon
#undef LoadImage
#undef LoadString
#undef MessageBox
#undef MoveFile
#undef PlaySound
#undef ReplaceFile
#undef SendMessage
#undef ERROR
#undef IN
#undef OUT
#undef DELETE
#undef interface
