// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/windows/windows_api.h"

// Gives the window or control `hWnd` the name that screen readers say for it,
// where that is not its own text (the main window has no title, the reading
// box no label). Does nothing where the system offers no way to.
void SetAccessibleName(HWND hWnd, const wchar_t* name);
