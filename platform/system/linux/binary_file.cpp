// SPDX-License-Identifier: MIT
#include "platform/system/binary_file.h"
#include "platform/system/linux/write_all.h"
#include "text/utf8_path.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
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

} // namespace

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
