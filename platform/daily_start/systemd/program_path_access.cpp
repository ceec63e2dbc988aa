// SPDX-License-Identifier: MIT
#include "platform/daily_start/systemd/program_path_access.h"
#include "platform/daily_start/replaceable_program.h"
#include "text/utf8_path.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

std::wstring WhyOthersCanReplaceProgram(const std::wstring& program)
{
    return WhyOthersCanReplaceProgramAt(ToNativePath(program));
}

std::wstring WhyOthersCanReplaceProgramAt(std::string path)
{
    // Group write counts as others': the group may hold other users.
    std::vector<PathStepAccess> steps;
    if (path.empty() || path.front() != '/')
        return FromNativePath(path) + L" is not a full path";
    for (;;) {
        PathStepAccess step;
        step.path = FromNativePath(path);
        struct stat info
        { };
        if (::lstat(path.c_str(), &info) != 0 || (steps.empty() && !S_ISREG(info.st_mode))) {
            step.bExists = false;
        } else {
            step.bLink = S_ISLNK(info.st_mode);
            step.bOwnedByUserOrAdmin = info.st_uid == ::geteuid() || info.st_uid == 0;
            step.bWritableByOthers = (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
            step.bKeepsEntriesToTheirOwners = S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX) != 0;
        }
        steps.push_back(step);
        if (path == "/")
            break;
        path = path.substr(0, std::max<std::size_t>(1, path.find_last_of('/')));
    }
    return WhyOthersCanReplace(steps);
}
