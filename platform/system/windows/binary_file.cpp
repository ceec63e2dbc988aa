// SPDX-License-Identifier: MIT
#include "platform/system/binary_file.h"
#include "platform/system/path_access.h"
#include "platform/system/windows/windows_api.h"
#include "text/utf8_path.h"

#include <random>
#include <vector>

namespace {

HANDLE AsHandle(std::intptr_t file)
{
    return reinterpret_cast<HANDLE>(file);
}

// Keeps the error of a failed call while the cleanup after it runs.
class KeepLastError
{
public:
    KeepLastError()
        : m_error(::GetLastError())
    { }
    ~KeepLastError() { ::SetLastError(m_error); }
    KeepLastError(const KeepLastError&) = delete;
    KeepLastError& operator=(const KeepLastError&) = delete;

private:
    DWORD m_error;
};

// ReadFile and WriteFile take at most 4 GiB less one byte at a time.
DWORD Chunk(std::size_t count)
{
    return static_cast<DWORD>(std::min<std::size_t>(count, 0x7FFF0000));
}

} // namespace

CFile::~CFile()
{
    Close();
}

bool CFile::Open(const std::wstring& path, OpenFlags mode)
{
    Close();
    // Shared for reading, writing and deleting, so that a book or settings
    // file open here never stops another program from replacing it.
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const bool reading = mode == modeRead || mode == modeReadAt;
    // Opened for ReadAt, a folder opens too, and reads as nothing.
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | (mode == modeReadAt ? FILE_FLAG_BACKUP_SEMANTICS : 0);
    const HANDLE file = ::CreateFileW(path.c_str(), reading ? GENERIC_READ : GENERIC_WRITE, share, nullptr,
        reading ? OPEN_EXISTING : CREATE_ALWAYS, flags, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    m_hFile = reinterpret_cast<std::intptr_t>(file);
    return TRUE;
}

bool CFile::Open(const std::string& nativePath, OpenFlags mode)
{
    return Open(FromNativePath(nativePath), mode);
}

void CFile::Close()
{
    if (IsOpen()) {
        KeepLastError keep;
        ::CloseHandle(AsHandle(m_hFile));
    }
    m_hFile = -1;
}

bool CFile::Seek(std::uint64_t offset)
{
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    return IsOpen() && offset <= static_cast<std::uint64_t>(INT64_MAX) &&
        ::SetFilePointerEx(AsHandle(m_hFile), to, nullptr, FILE_BEGIN);
}

std::size_t CFile::Read(void* buffer, std::size_t count)
{
    std::size_t done = 0;
    while (IsOpen() && done < count) {
        DWORD got = 0;
        if (!::ReadFile(AsHandle(m_hFile), static_cast<char*>(buffer) + done, Chunk(count - done), &got, nullptr) ||
            got == 0)
            break;
        done += got;
    }
    return done;
}

std::size_t CFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const
{
    if (!IsOpen() || offset > static_cast<std::uint64_t>(INT64_MAX))
        return 0;
    // A read at an offset moves the position of a file opened for plain
    // reads, so it is put back afterwards.
    LARGE_INTEGER position{};
    if (!::SetFilePointerEx(AsHandle(m_hFile), LARGE_INTEGER{}, &position, FILE_CURRENT))
        return 0;
    std::size_t done = 0;
    while (done < count) {
        OVERLAPPED at{};
        const std::uint64_t from = offset + done;
        at.Offset = static_cast<DWORD>(from);
        at.OffsetHigh = static_cast<DWORD>(from >> 32);
        DWORD got = 0;
        if (!::ReadFile(AsHandle(m_hFile), static_cast<char*>(buffer) + done, Chunk(count - done), &got, &at) ||
            got == 0)
            break;
        done += got;
    }
    KeepLastError keep;
    ::SetFilePointerEx(AsHandle(m_hFile), position, nullptr, FILE_BEGIN);
    return done;
}

bool CFile::Write(const void* buffer, std::size_t count)
{
    std::size_t done = 0;
    while (IsOpen() && done < count) {
        DWORD put = 0;
        if (!::WriteFile(
                AsHandle(m_hFile), static_cast<const char*>(buffer) + done, Chunk(count - done), &put, nullptr) ||
            put == 0)
            return false;
        done += put;
    }
    return done == count;
}

bool CFile::Flush()
{
    return IsOpen() && ::FlushFileBuffers(AsHandle(m_hFile));
}

std::uint64_t CFile::GetLength() const
{
    LARGE_INTEGER size{};
    if (!IsOpen() || !::GetFileSizeEx(AsHandle(m_hFile), &size) || size.QuadPart < 0)
        return 0;
    return static_cast<std::uint64_t>(size.QuadPart);
}

namespace {

// Whether the folder holds an entry named as `path`'s last part, even one
// that cannot be opened, such as a link to nothing.
bool HasEntry(const std::wstring& path)
{
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    ::FindClose(search);
    return true;
}

// Whether `path`, or a folder on the way to it, is a link or junction that
// neither the user nor an administrator made: another user who put one there
// could lead the new content to any file the user may write. The root, a
// drive or a share, is none that a user could put there.
bool LeadsThroughOthersLink(const std::wstring& path)
{
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    full.resize(length < full.size() ? length : 0);
    std::vector<std::wstring> steps = PathAndFoldersAbove(full);
    if (!steps.empty())
        steps.pop_back();
    for (const std::wstring& step : steps) {
        const DWORD attributes = ::GetFileAttributesW(step.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
            !ReadPathAccess(step).bOwnedByUserOrAdmin)
            return true;
    }
    return false;
}

// The file that a replacement goes to: the file that `path` finally names,
// so that a link (a symbolic link, or a junction on the way) stays and the
// file it names gets the new content. A link that names nothing is refused
// rather than followed to make a file; a path where nothing is names itself.
bool ResolveLink(const std::wstring& path, std::wstring& target)
{
    const HANDLE file = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND || HasEntry(path)) {
            ::SetLastError(error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error);
            return false;
        }
        ::SetLastError(error);
        target = path;
        return true;
    }
    std::wstring resolved(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(file, resolved.data(), static_cast<DWORD>(resolved.size()), 0);
    if (length >= resolved.size()) {
        resolved.resize(length);
        length = ::GetFinalPathNameByHandleW(file, resolved.data(), static_cast<DWORD>(resolved.size()), 0);
    }
    KeepLastError keep;
    ::CloseHandle(file);
    if (length == 0 || length >= resolved.size())
        return false;
    resolved.resize(length);
    target = resolved;
    return true;
}

// Moves the new file over the old one, the move written through to the disk
// before it returns. A file that another program has open cannot be
// replaced on Windows; readers such as the program's own hold theirs for a
// moment only, so the move is tried again for a while.
bool MoveOver(const std::wstring& from, const std::wstring& to)
{
    constexpr int kAttempts = 40;
    constexpr DWORD kPause = 50; // milliseconds
    for (int attempt = 1;; ++attempt) {
        if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = ::GetLastError();
        if (attempt == kAttempts || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
            return false;
        ::Sleep(kPause);
        ::SetLastError(error);
    }
}

// Creates a file beside `target` under a name that nothing has yet: a file,
// link or junction planted at a name it might take is never opened, let alone
// written through. The random part keeps such plants from guessing it.
HANDLE CreateNewFileBeside(const std::wstring& target, std::wstring& name)
{
    std::random_device random;
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        wchar_t suffix[40];
        swprintf(suffix, 40, L".new-%lu-%08x", ::GetCurrentProcessId(), static_cast<unsigned>(random()));
        name = target + suffix;
        const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

} // namespace

bool ReplaceFileContent(const std::wstring& path, const ContentProducer& produce)
{
    if (LeadsThroughOthersLink(path)) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    std::wstring target;
    if (!ResolveLink(path, target))
        return false;
    // What the user made read-only stays as it is, and a folder or a device
    // is never replaced by a file.
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) {
            ::SetLastError(ERROR_INVALID_NAME);
            return false;
        }
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            ::SetLastError(ERROR_ACCESS_DENIED);
            return false;
        }
    }
    std::wstring temp;
    const HANDLE file = CreateNewFileBeside(target, temp);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const ContentWriter write = [file](const void* bytes, std::size_t count) {
        for (std::size_t done = 0; done < count;) {
            DWORD put = 0;
            if (!::WriteFile(file, static_cast<const char*>(bytes) + done, Chunk(count - done), &put, nullptr) ||
                put == 0)
                return false;
            done += put;
        }
        return true;
    };
    bool ok = produce(write) && ::FlushFileBuffers(file);
    ok = ::CloseHandle(file) && ok;
    if (!ok || !MoveOver(temp, target)) {
        KeepLastError keep;
        ::DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

bool ReplaceFileContent(const std::wstring& path, const void* data, std::size_t size)
{
    return ReplaceFileContent(path, [&](const ContentWriter& write) { return write(data, size); });
}
