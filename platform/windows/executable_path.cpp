// SPDX-License-Identifier: MIT
#include "platform/windows/executable_path.h"
#include "platform/windows/windows_api.h"

std::wstring ExecutablePath()
{
    // A path longer than MAX_PATH fills the buffer and is cut short, so the
    // buffer grows until the whole path fits (32767 characters at most).
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768)
            return std::wstring();
        path.resize(path.size() * 2);
    }
}
