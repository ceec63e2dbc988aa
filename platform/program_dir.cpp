// SPDX-License-Identifier: MIT
#include "platform/program_dir.h"

std::wstring g_strProgramDir;

std::wstring ProgramDirOf(const std::wstring& exePath)
{
    const size_t slash = exePath.find_last_of(kPathSeparators);
    return slash == std::wstring::npos ? std::wstring() : exePath.substr(0, slash + 1);
}
