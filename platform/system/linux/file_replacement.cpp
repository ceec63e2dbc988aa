// SPDX-License-Identifier: MIT
#include "platform/system/binary_file.h"
#include "platform/system/linux/write_all.h"
#include "text/utf8_path.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <linux/limits.h>
#include <optional>
#include <string_view>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// The file that a replacement goes to. A link is written through, so that
// the link stays and the file it names gets the new content; a link that
// names nothing is refused rather than followed to make a file, and so is a
// link that another user made, which could lead anywhere the user can write.
bool ResolveLink(const std::string& path, std::string& target)
{
    struct stat st
    { };
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        target = path;
        return true;
    }
    if (st.st_uid != ::geteuid()) {
        errno = EPERM;
        return false;
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return false;
    target = resolved;
    std::free(resolved);
    return true;
}

// Where the system keeps a file's access list, beside its mode.
constexpr const char* kAccessList = "system.posix_acl_access";

// Who may do what with the file that a replacement takes the place of.
struct Permissions
{
    mode_t mode = 0; // 0 when there is no file yet
    std::string accessList; // empty when the file has none
};

// Whether what stands at `target` may be replaced, with its permissions in
// `old`. Only a regular file is: a device or a pipe renamed over would be
// gone for everyone (/dev/null as root). A file that nobody may write, or
// that the user may not, was made so to keep it as it is; root, whom
// permissions do not stop, respects that too. A file whose access list
// cannot be read is refused rather than replaced by one without it.
bool MayReplace(const std::string& target, Permissions& old)
{
    struct stat st
    { };
    old = {};
    if (::stat(target.c_str(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    if ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
        errno = EACCES;
        return false;
    }
    old.mode = st.st_mode & 0777;
    old.accessList.resize(XATTR_SIZE_MAX);
    const ssize_t size = ::getxattr(target.c_str(), kAccessList, old.accessList.data(), old.accessList.size());
    old.accessList.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    return size >= 0 || errno == ENODATA || errno == ENOTSUP;
}

// Gives the new file the old one's permissions, once its content is in.
// An access list the new file took from its folder is dropped where the old
// file had none, so that it lets in exactly whom the old one did.
bool GivePermissions(int fd, const Permissions& old)
{
    if (old.mode == 0)
        return true;
    if (!old.accessList.empty())
        return ::fsetxattr(fd, kAccessList, old.accessList.data(), old.accessList.size(), 0) == 0;
    if (::fremovexattr(fd, kAccessList) != 0 && errno != ENODATA && errno != ENOTSUP)
        return false;
    return ::fchmod(fd, old.mode) == 0;
}

// The process that made `name`, when it is the name of a new file that a
// replacement of the file named `base` makes (CreateNewFileBeside).
std::optional<pid_t> ReplacingProcess(std::string_view name, const std::string& base)
{
    const std::string prefix = base + ".new-";
    if (!name.starts_with(prefix))
        return std::nullopt;
    name.remove_prefix(prefix.size());
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos || name.size() != dash + 9)
        return std::nullopt;
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + dash, pid);
    if (error != std::errc() || end != name.data() + dash || pid <= 0)
        return std::nullopt;
    for (const char c : name.substr(dash + 1))
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    return pid;
}

// The folder that holds `path`.
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

// Removes the new files that replacements of `target` killed before their
// rename left beside it: the user's own regular files, named so, whose
// process is gone. One still under way, here or in another process, goes on.
void RemoveLeftovers(const std::string& target)
{
    const std::string base = target.substr(target.rfind('/') + 1);
    DIR* dir = ::opendir(FolderOf(target).c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::optional<pid_t> pid = ReplacingProcess(entry->d_name, base);
        if (!pid || ::kill(*pid, 0) == 0 || errno != ESRCH)
            continue;
        struct stat st
        { };
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == ::geteuid())
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// Creates a file with `mode` beside `target` under a name that nothing has
// yet: a file or link planted at a name it might take is never opened, let
// alone written through. The random part keeps such plants from guessing it.
int CreateNewFileBeside(const std::string& target, mode_t mode, std::string& name)
{
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::uint32_t random = 0;
        if (::getrandom(&random, sizeof random, GRND_NONBLOCK) != sizeof random)
            random = static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()) + attempt;
        char suffix[40];
        std::snprintf(suffix, sizeof suffix, ".new-%d-%08x", static_cast<int>(::getpid()), random);
        name = target + suffix;
        int fd;
        do
            fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        while (fd < 0 && errno == EINTR);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

bool ReplaceFileContent(const std::wstring& path, const void* data, std::size_t size)
{
    return ReplaceFileContent(path, [&](const ContentWriter& write) { return write(data, size); });
}

bool ReplaceFileContent(const std::wstring& path, const ContentProducer& produce)
{
    std::string target;
    Permissions old;
    if (!ResolveLink(ToNativePath(path), target) || !MayReplace(target, old))
        return false;
    RemoveLeftovers(target);
    // A new file is the user's alone until its content is complete and it
    // gets the old file's permissions, so that nobody whom the old file kept
    // out can read it meanwhile; where there was none, it gets 0644 less the
    // umask from the start.
    std::string temp;
    const int fd = CreateNewFileBeside(target, old.mode == 0 ? 0644 : 0600, temp);
    if (fd < 0)
        return false;
    const ContentWriter write = [fd](const void* bytes, std::size_t count) { return WriteAll(fd, bytes, count); };
    bool ok = produce(write) && GivePermissions(fd, old) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        errno = error;
        return false;
    }
    // Make the rename itself durable.
    const int dirFd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}
