// SPDX-License-Identifier: MIT
#include "platform/system/error_text.h"
#include "platform/system/windows/windows_api.h"
#include "text/wide_string.h"

#include <cerrno>
#include <cstring>

std::string LastErrorText()
{
    // A failure of the C library (reading standard input) leaves errno and no
    // error of the system's own.
    const DWORD error = ::GetLastError();
    if (error == ERROR_SUCCESS)
        return std::strerror(errno);
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
            nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = length ? std::wstring(text, length) : std::wstring();
    ::LocalFree(text);
    // The system's messages end in a full stop and a line break.
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L'.'))
        reason.pop_back();
    if (reason.empty())
        return "error " + std::to_string(error);
    return ToUtf8(reason);
}
