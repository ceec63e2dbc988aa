// SPDX-License-Identifier: MIT
#include "platform/ui/win32/message_box.h"
#include "platform/ui/win32/main_window.h"

void ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption)
{
    ::MessageBoxW(owner ? owner : MainWindowHandle(), text.c_str(), caption.c_str(), MB_OK);
}
