// SPDX-License-Identifier: MIT
#include "platform/system/executable_path.h"
#include "platform/system/windows/executable_path.h"
#include "platform/system/windows/windows_api.h"

#include <algorithm>

std::wstring ExecutablePath()
{
    return ModulePath(nullptr, MAX_PATH);
}

std::wstring ModulePath(HMODULE module, std::size_t room)
{
    // A path longer than the room fills it and is cut short, so the room
    // grows until the whole path fits (32767 characters at most).
    std::wstring path(std::max<std::size_t>(room, 1), L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() > 32767)
            return std::wstring();
        path.resize(path.size() * 2);
    }
}
