// SPDX-License-Identifier: MIT
#include "platform/system/path_access.h"
#include "platform/system/folders.h"

bool IsFolderPrivate(const std::wstring& folder)
{
    return IsUsersAloneFolder(ReadPathAccess(folder.empty() ? std::wstring(L".") : folder));
}
