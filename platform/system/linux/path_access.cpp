// SPDX-License-Identifier: MIT
#include "platform/system/path_access.h"
#include "platform/system/linux/changeable_by_others.h"
#include "text/utf8_path.h"

#include <cerrno>
#include <grp.h>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// Looks an entry up with one of the reentrant getpw / getgr calls, growing
// the buffer as long as the entry does not fit; nullptr when there is none.
template <typename Entry, typename Key, typename Lookup>
Entry* LookUp(Lookup lookup, Key key, Entry& entry, std::vector<char>& buffer)
{
    for (buffer.resize(1 << 14);; buffer.resize(buffer.size() * 2)) {
        Entry* found = nullptr;
        const int error = lookup(key, &entry, buffer.data(), buffer.size(), &found);
        if (error != ERANGE || buffer.size() >= (1 << 24))
            return error == 0 ? found : nullptr;
    }
}

// Whether a user other than `user` and root is in the group `gid`: named
// among its members, or having it as their primary group. A group that
// cannot be looked up, or a member who cannot, counts as others'.
bool GroupHasOtherUsers(gid_t gid, uid_t user)
{
    const auto isOther = [user](uid_t uid) { return uid != user && uid != 0; };
    std::vector<char> buffer;
    std::vector<char> memberBuffer;
    group users{};
    if (!LookUp(::getgrgid_r, gid, users, buffer))
        return true;
    for (char** name = users.gr_mem; *name; ++name) {
        passwd member{};
        if (!LookUp(::getpwnam_r, *name, member, memberBuffer) || isOther(member.pw_uid))
            return true;
    }
    // The user database is read in one pass that all threads share.
    static std::mutex pass;
    const std::lock_guard<std::mutex> lock(pass);
    bool bOthers = false;
    ::setpwent();
    while (const passwd* entry = ::getpwent())
        if (entry->pw_gid == gid && isOther(entry->pw_uid)) {
            bOthers = true;
            break;
        }
    ::endpwent();
    return bOthers;
}

bool ChangeableByOthers(const std::string& path, const struct stat& info)
{
    FilePermissions file{info.st_mode, info.st_uid, info.st_gid, {}};
    std::vector<unsigned char> bytes(1 << 16); // the largest attribute Linux keeps
    const ssize_t size = ::lgetxattr(path.c_str(), kAccessListAttribute, bytes.data(), bytes.size());
    if (size >= 0) {
        auto list = ParseAccessList(bytes.data(), static_cast<std::size_t>(size));
        if (!list)
            return true;
        file.accessList = std::move(*list);
    } else if (errno != ENODATA && errno != ENOTSUP) {
        return true;
    }
    const uid_t user = ::geteuid();
    return ChangeableByOthers(file, user, [user](gid_t gid) { return GroupHasOtherUsers(gid, user); });
}

} // namespace

PathAccess ReadPathAccess(const std::wstring& path)
{
    PathAccess access;
    const std::string native = ToNativePath(path);
    struct stat info
    { };
    if (::lstat(native.c_str(), &info) != 0)
        return access;
    access.bExists = true;
    access.bFolder = S_ISDIR(info.st_mode);
    access.bLink = S_ISLNK(info.st_mode);
    access.bOwnedByUserOrAdmin = info.st_uid == ::geteuid() || info.st_uid == 0;
    access.bChangeableByOthers = !access.bLink && ChangeableByOthers(native, info);
    access.bKeepsEntriesToTheirOwners = access.bFolder && (info.st_mode & S_ISVTX);
    return access;
}
