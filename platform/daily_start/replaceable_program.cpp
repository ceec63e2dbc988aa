// SPDX-License-Identifier: MIT
#include "platform/daily_start/replaceable_program.h"
#include "platform/system/program_dir.h"

#include <cwchar>

namespace {

bool IsSeparator(const std::wstring& path, std::size_t i)
{
    return i < path.size() && std::wcschr(kPathSeparators, path[i]) != nullptr;
}

// Whether `path` starts at a root: "/", or on Windows also "C:\" or "\\".
bool IsFullPath(const std::wstring& path)
{
#ifdef _WIN32
    if (path.size() > 2 && path[1] == L':' && IsSeparator(path, 2))
        return true;
#endif
    return IsSeparator(path, 0);
}

// The folder that holds `path`, ending in a separator only when it is a root
// ("/", "C:\"); empty when `path` is a root itself.
std::wstring ContainingFolder(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(kPathSeparators);
    if (slash == std::wstring::npos || slash + 1 == path.size())
        return std::wstring();
    const bool bRoot = slash == 0 || (slash == 2 && path[1] == L':');
    return path.substr(0, bRoot ? slash + 1 : slash);
}

} // namespace

std::wstring WhyOthersCanReplace(const std::vector<PathStepAccess>& steps)
{
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const PathAccess& access = steps[i].access;
        const bool bFolderStep = i > 0;
        if (!access.bExists)
            return steps[i].path + L" is missing";
        if (access.bLink)
            return steps[i].path + L" is a link";
        if (access.bFolder != bFolderStep)
            return steps[i].path + L" is missing";
        if (!access.bOwnedByUserOrAdmin)
            return steps[i].path + L" belongs to another user";
        if (access.bChangeableByOthers && !(bFolderStep && access.bKeepsEntriesToTheirOwners))
            return L"other users can change " + steps[i].path;
    }
    return std::wstring();
}

std::wstring WhyOthersCanReplaceProgram(const std::wstring& program)
{
    if (!IsFullPath(program))
        return program + L" is not a full path";
    std::vector<PathStepAccess> steps;
    for (std::wstring path = program; !path.empty(); path = ContainingFolder(path))
        steps.push_back({path, ReadPathAccess(path)});
    return WhyOthersCanReplace(steps);
}
