// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

// Whether another user could put a program of their own where ours is, so
// that a start scheduled for ours would run theirs under our name.

// One step of a program's path: the file itself, then each folder above it.
struct PathStepAccess
{
    std::wstring path;
    bool bExists = true;
    // A link where the program's real path should have none.
    bool bLink = false;
    // Owned by the user or by the system's administrator.
    bool bOwnedByUserOrAdmin = true;
    // Others may create, rename or delete entries in it (or change the file).
    bool bWritableByOthers = false;
    // A folder others may add to but where they cannot rename or delete
    // entries that are not theirs, as /tmp.
    bool bKeepsEntriesToTheirOwners = false;
};

// Empty when no one but the user and the administrator can replace the
// program whose path is made of `steps` (the file first, then each folder up
// to the root); otherwise why, for the user. A folder others may write to
// passes when it keeps entries to their owners, as the step below it is then
// the user's or the administrator's.
std::wstring WhyOthersCanReplace(const std::vector<PathStepAccess>& steps);

// The same for the program at `program` on this system.
std::wstring WhyOthersCanReplaceProgram(const std::wstring& program);
