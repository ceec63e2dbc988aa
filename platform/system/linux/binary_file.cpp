// SPDX-License-Identifier: MIT
#include "platform/system/binary_file.h"
#include "text/utf8_path.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

CFile::~CFile()
{
    Close();
}

bool CFile::Open(const std::wstring& path, OpenFlags mode)
{
    return Open(ToNativePath(path), mode);
}

bool CFile::Open(const std::string& nativePath, OpenFlags mode)
{
    Close();
    const bool reading = mode == modeRead || mode == modeReadAt;
    const int flags = reading ? O_RDONLY : (O_WRONLY | O_CREAT | O_TRUNC);
    // Opening a named pipe for reading waits for a writer; a pipe in place
    // of the book or the settings must not hold the program up. Reads block
    // again once it is open, as those from a pipe given to the book tool must.
    do
        m_hFile = ::open(nativePath.c_str(), flags | O_CLOEXEC | (reading ? O_NONBLOCK : 0), 0644);
    while (m_hFile < 0 && errno == EINTR);
    if (m_hFile < 0)
        return false;
    // pread from a folder or a pipe fails, and from a regular file it never
    // waits: nothing to look at.
    if (mode == modeReadAt)
        return true;
    // A directory opens for reading on Linux but is not a file.
    struct stat st
    { };
    if (::fstat(m_hFile, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
        Close();
        errno = error;
        return false;
    }
    // Reads from a regular file never wait, flag or not, so only a pipe or a
    // device has it cleared: two system calls fewer at every reading.
    if (mode == modeRead && !S_ISREG(st.st_mode))
        ::fcntl(m_hFile, F_SETFL, ::fcntl(m_hFile, F_GETFL) & ~O_NONBLOCK);
    return true;
}

void CFile::Close()
{
    if (m_hFile >= 0)
        ::close(m_hFile);
    m_hFile = -1;
}

bool CFile::Seek(std::uint64_t offset)
{
    if (m_hFile < 0 || offset > static_cast<std::uint64_t>(LLONG_MAX))
        return false;
    return ::lseek(m_hFile, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

namespace {

// Calls `read(buffer + done, count - done)` until `count` bytes are in, the
// file ends or an error comes; returns how many are in.
template <class ReadSome> std::size_t ReadFully(int fd, char* buffer, std::size_t count, ReadSome read)
{
    std::size_t done = 0;
    while (fd >= 0 && done < count) {
        const ssize_t n = read(buffer + done, count - done, done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

// Writes all `count` bytes, retrying short writes; false when any could not
// be written.
bool WriteAll(int fd, const void* buffer, std::size_t count)
{
    std::size_t done = 0;
    while (fd >= 0 && done < count) {
        const ssize_t n = ::write(fd, static_cast<const char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return done == count;
}

} // namespace

std::size_t CFile::Read(void* buffer, std::size_t count)
{
    return ReadFully(m_hFile, static_cast<char*>(buffer), count,
        [this](char* at, std::size_t size, std::size_t) { return ::read(m_hFile, at, size); });
}

std::size_t CFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const
{
    if (offset > static_cast<std::uint64_t>(LLONG_MAX))
        return 0;
    return ReadFully(
        m_hFile, static_cast<char*>(buffer), count, [this, offset](char* at, std::size_t size, std::size_t done) {
            return ::pread(m_hFile, at, size, static_cast<off_t>(offset + done));
        });
}

bool CFile::Write(const void* buffer, std::size_t count)
{
    return WriteAll(m_hFile, buffer, count);
}

bool CFile::Flush()
{
    return m_hFile >= 0 && ::fsync(m_hFile) == 0;
}

std::uint64_t CFile::GetLength() const
{
    struct stat st
    { };
    if (m_hFile < 0 || ::fstat(m_hFile, &st) != 0 || st.st_size < 0)
        return 0;
    return static_cast<std::uint64_t>(st.st_size);
}

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

// Whether what stands at `target` may be replaced, with its mode in `mode`
// (0 when there is nothing yet). Only a regular file is: a device or a pipe
// renamed over would be gone for everyone (/dev/null as root). A file that
// nobody may write, or that the user may not, was made so to keep it as it
// is; root, whom permissions do not stop, respects that too.
bool MayReplace(const std::string& target, mode_t& mode)
{
    struct stat st
    { };
    mode = 0;
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
    mode = st.st_mode & 0777;
    return true;
}

// Creates a file beside `target` under a name that nothing has yet: a file
// or link planted at a name it might take is never opened, let alone
// written through. The random part keeps such plants from guessing it.
int CreateNewFileBeside(const std::string& target, std::string& name)
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
            fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
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
    mode_t mode = 0;
    if (!ResolveLink(ToNativePath(path), target) || !MayReplace(target, mode))
        return false;
    std::string temp;
    const int fd = CreateNewFileBeside(target, temp);
    if (fd < 0)
        return false;
    // The new content keeps the old file's permissions, so that settings
    // kept private stay private; a new file gets 0644 less the umask.
    const ContentWriter write = [fd](const void* bytes, std::size_t count) { return WriteAll(fd, bytes, count); };
    bool ok = (mode == 0 || ::fchmod(fd, mode) == 0) && produce(write) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        errno = error;
        return false;
    }
    // Make the rename itself durable.
    const size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}
