// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

// Who may change one file or folder, as this system's owners and permissions
// tell it. "Others" are every user but the running one and the system's
// administrators: root on Linux; SYSTEM, Administrators and TrustedInstaller
// on Windows.
struct PathAccess
{
    bool bExists = false;
    bool bFolder = false;
    // A link (on Windows also a junction) rather than what it leads to.
    bool bLink = false;
    // Owned by the user or by an administrator.
    bool bOwnedByUserOrAdmin = false;
    // Others may change it: write to the file, add, rename or delete entries
    // in the folder, or change its permissions or its owner.
    bool bChangeableByOthers = false;
    // A folder where others may add entries but may not rename or delete
    // those that are not theirs, as /tmp.
    bool bKeepsEntriesToTheirOwners = false;
};

// What `path` itself is and who may change it: a link there is described,
// not followed.
PathAccess ReadPathAccess(const std::wstring& path);

// `path` and each folder above it, up to the root it starts at: "/", or on
// Windows "C:\" or the share of "\\server\share\..." (with or without "\\?\"
// before them). Each is without its last separator, but for the root; empty
// when `path` starts at no root.
std::vector<std::wstring> PathAndFoldersAbove(std::wstring path);

// Whether `access` is of a folder that is the user's alone: the user's or an
// administrator's, and no one else may change it.
inline bool IsUsersAloneFolder(const PathAccess& access)
{
    return access.bExists && access.bFolder && access.bOwnedByUserOrAdmin && !access.bChangeableByOthers;
}
