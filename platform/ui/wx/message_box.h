// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/types.h"

#include <string>

// A modal message box with one OK button and no icon, owned by `owner` (the
// main window when nullptr). Returns when it is dismissed.
void ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption);
