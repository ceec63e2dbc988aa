// SPDX-License-Identifier: MIT
#include "platform/program_dir.h"
#include "platform/services.h"

std::wstring g_strProgramDir;

void InitProgramDir()
{
    g_strProgramDir = ProgramDirOf(GetModuleFileName());
}

std::wstring ProgramDirOf(const std::wstring& exePath)
{
    const size_t slash = exePath.find_last_of(kPathSeparators);
    return slash == std::wstring::npos ? std::wstring() : exePath.substr(0, slash + 1);
}

std::wstring ProgramFilePath(const std::wstring& name)
{
    return g_strProgramDir.empty() ? std::wstring() : g_strProgramDir + name;
}
