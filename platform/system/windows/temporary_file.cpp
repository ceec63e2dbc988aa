// SPDX-License-Identifier: MIT
#include "platform/system/temporary_file.h"
#include "platform/system/windows/windows_api.h"

#include <string>

std::FILE* OpenTemporaryFile()
{
    // The C library's tmpfile() makes its file in the root of the current
    // drive, which a standard user may not write: the user's temporary folder
    // is used instead, and the file goes when it is closed ("D").
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH)
        return nullptr;
    wchar_t name[MAX_PATH];
    if (!::GetTempFileNameW(folder, L"vel", 0, name))
        return nullptr;
    std::FILE* file = ::_wfopen(name, L"w+bD");
    if (!file)
        ::DeleteFileW(name);
    return file;
}
