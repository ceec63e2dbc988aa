// SPDX-License-Identifier: MIT
#include "platform/daily_start/replaceable_program.h"

std::wstring WhyOthersCanReplace(const std::vector<PathStepAccess>& steps)
{
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const PathStepAccess& step = steps[i];
        if (!step.bExists)
            return step.path + L" is missing";
        if (step.bLink)
            return step.path + L" is a link";
        if (!step.bOwnedByUserOrAdmin)
            return step.path + L" belongs to another user";
        const bool bFolder = i > 0;
        if (step.bWritableByOthers && !(bFolder && step.bKeepsEntriesToTheirOwners))
            return L"other users can change " + step.path;
    }
    return std::wstring();
}
