// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/windows/windows_api.h"

// The main window's handle while it runs, else nullptr: the owner of windows
// and message boxes opened without one.
HWND MainWindowHandle();
