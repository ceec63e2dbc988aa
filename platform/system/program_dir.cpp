// SPDX-License-Identifier: MIT
#include "platform/system/program_dir.h"
#include "platform/system/services.h"

std::wstring g_strProgramDir;

namespace {

std::wstring g_strProgramPath;

} // namespace

const std::wstring& ProgramPath()
{
    return g_strProgramPath;
}

void InitProgramDir()
{
    g_strProgramPath = GetModuleFileName();
    g_strProgramDir = ProgramDirOf(g_strProgramPath);
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
