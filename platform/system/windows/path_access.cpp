// SPDX-License-Identifier: MIT
#include "platform/system/path_access.h"
#include "platform/system/windows/windows_api.h"

PathAccess ReadPathAccess(const std::wstring& path)
{
    // The access lists are not read yet: what is there counts as the user's.
    PathAccess access;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return access;
    access.bExists = true;
    access.bFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    access.bLink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    access.bOwnedByUserOrAdmin = true;
    return access;
}
