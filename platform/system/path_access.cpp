// SPDX-License-Identifier: MIT
#include "platform/system/path_access.h"
#include "platform/system/folders.h"
#include "platform/system/program_dir.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace {

bool IsSeparator(const std::wstring& path, std::size_t i)
{
    return i < path.size() && std::wcschr(kPathSeparators, path[i]) != nullptr;
}

// The length of the root that `path` starts at, its last separator included:
// "/"; on Windows "C:\", "\\server\share\" (a share is as far up as one can
// go), and either behind "\\?\" ("\\?\C:\", "\\?\UNC\server\share\",
// "\\?\Volume{...}\"). 0 when `path` starts at no root, as "talvik.exe" or,
// on Windows, "\talvik.exe" on whichever drive is current.
std::size_t RootLength(const std::wstring& path)
{
#ifdef _WIN32
    std::size_t start = 0;
    bool bShare = false;
    if (path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0) {
        start = 4;
        bShare = path.compare(4, 4, L"UNC\\") == 0;
        if (bShare)
            start = 8;
        else if (!(path.size() > 5 && path[5] == L':')) {
            const std::size_t end = path.find(L'\\', start);
            return end == std::wstring::npos || end == start ? 0 : end + 1;
        }
    } else if (IsSeparator(path, 0) && IsSeparator(path, 1)) {
        start = 2;
        bShare = true;
    }
    if (!bShare)
        return path.size() > start + 2 && std::iswalpha(path[start]) && path[start + 1] == L':' &&
                IsSeparator(path, start + 2)
            ? start + 3
            : 0;
    const std::size_t server = path.find_first_of(kPathSeparators, start);
    if (server == std::wstring::npos || server == start)
        return 0;
    const std::size_t share = path.find_first_of(kPathSeparators, server + 1);
    return share == std::wstring::npos || share == server + 1 ? 0 : share + 1;
#else
    return IsSeparator(path, 0) ? 1 : 0;
#endif
}

} // namespace

bool IsFolderPrivate(const std::wstring& folder)
{
    return IsUsersAloneFolder(ReadPathAccess(folder.empty() ? std::wstring(L".") : folder));
}

std::vector<std::wstring> PathAndFoldersAbove(std::wstring path)
{
    const std::size_t root = RootLength(path);
    std::vector<std::wstring> paths;
    while (root != 0) {
        while (path.size() > root && IsSeparator(path, path.size() - 1))
            path.pop_back();
        paths.push_back(path);
        if (path.size() <= root)
            break;
        path.resize(std::max(root, path.find_last_of(kPathSeparators)));
    }
    return paths;
}
