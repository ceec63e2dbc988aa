// SPDX-License-Identifier: MIT
#include "platform/daily_start/replaceable_program.h"

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
    std::vector<PathStepAccess> steps;
    for (const std::wstring& path : PathAndFoldersAbove(program))
        steps.push_back({path, ReadPathAccess(path)});
    if (steps.empty())
        return program + L" is not a full path";
    return WhyOthersCanReplace(steps);
}
