// SPDX-License-Identifier: MIT
#include "platform/system/path_access.h"
#include "text/utf8_path.h"

#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Whether `gid` is the private group of the user `uid`: the user's own
// group, of the same name, with no other members. Debian and Ubuntu give each
// user one and often a umask of 002, so that the user's folders are writable
// by it and still theirs alone.
bool IsPrivateGroup(gid_t gid, uid_t uid)
{
    std::vector<char> buffer(1 << 16);
    passwd user{};
    group users{};
    passwd* foundUser = nullptr;
    group* foundGroup = nullptr;
    const std::size_t half = buffer.size() / 2;
    if (::getpwuid_r(uid, &user, buffer.data(), half, &foundUser) != 0 || !foundUser ||
        ::getgrgid_r(gid, &users, buffer.data() + half, half, &foundGroup) != 0 || !foundGroup)
        return false;
    if (user.pw_gid != gid || std::strcmp(user.pw_name, users.gr_name) != 0)
        return false;
    for (char** member = users.gr_mem; *member; ++member)
        if (std::strcmp(*member, user.pw_name) != 0)
            return false;
    return true;
}

} // namespace

PathAccess ReadPathAccess(const std::wstring& path)
{
    PathAccess access;
    struct stat info
    { };
    if (::lstat(ToNativePath(path).c_str(), &info) != 0)
        return access;
    access.bExists = true;
    access.bFolder = S_ISDIR(info.st_mode);
    access.bLink = S_ISLNK(info.st_mode);
    access.bOwnedByUserOrAdmin = info.st_uid == ::geteuid() || info.st_uid == 0;
    access.bChangeableByOthers =
        (info.st_mode & S_IWOTH) || ((info.st_mode & S_IWGRP) && !IsPrivateGroup(info.st_gid, info.st_uid));
    access.bKeepsEntriesToTheirOwners = access.bFolder && (info.st_mode & S_ISVTX);
    return access;
}
