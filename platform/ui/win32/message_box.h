// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/windows/windows_api.h"

#include <string>

// A modal message box with one OK button and no icon, owned by `owner`, or
// by the main window when that is nullptr.
void ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption);
