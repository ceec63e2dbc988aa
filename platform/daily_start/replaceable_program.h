// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/path_access.h"

#include <string>
#include <vector>

// Whether another user could put a program of their own where ours is, so
// that a start scheduled for ours would run theirs under our name.

// One step of a program's path: the file itself, then each folder above it.
struct PathStepAccess
{
    std::wstring path;
    PathAccess access;
};

// Empty when no one but the user and the administrator can replace the
// program whose path is made of `steps` (the file first, then each folder up
// to the root); otherwise why, for the user. A folder others may change
// passes when it keeps entries to their owners, as the step below it is then
// the user's or the administrator's.
std::wstring WhyOthersCanReplace(const std::vector<PathStepAccess>& steps);

// The same for the program at `program` on this system.
std::wstring WhyOthersCanReplaceProgram(const std::wstring& program);
