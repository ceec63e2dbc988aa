// SPDX-License-Identifier: MIT
#include "platform/system/folders.h"
#include "text/utf8_path.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

std::wstring UserConfigFolder()
{
    // A relative XDG_CONFIG_HOME is to be ignored, as systemd and the
    // desktop's own programs ignore it.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return FromNativePath(std::string(config) + "/");
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? FromNativePath(std::string(home) + "/.config/") : std::wstring();
}

bool IsFolderWritable(const std::wstring& folder)
{
    // Renaming the new file into place needs write and search permission on
    // the folder; a read-only mount answers EROFS even to root.
    const std::string path = folder.empty() ? std::string(".") : ToNativePath(folder);
    return ::access(path.c_str(), W_OK | X_OK) == 0;
}

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

bool IsFolderPrivate(const std::wstring& folder)
{
    struct stat st
    { };
    const std::string path = folder.empty() ? std::string(".") : ToNativePath(folder);
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || (st.st_uid != ::geteuid() && st.st_uid != 0))
        return false;
    if (st.st_mode & S_IWOTH)
        return false;
    return !(st.st_mode & S_IWGRP) || IsPrivateGroup(st.st_gid, st.st_uid);
}

bool CreateFolders(const std::wstring& folder)
{
    const std::string path = ToNativePath(folder);
    // Each folder from the top down; existing ones are left as they are.
    for (size_t end = path.find('/', 1); !path.empty(); end = path.find('/', end + 1)) {
        const std::string part = path.substr(0, end);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (end == std::string::npos)
            break;
    }
    struct stat st
    { };
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
