// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/types.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// A binary file opened by path. The file is closed when the object is
// destroyed; closing a file that is not open does nothing.
class CFile
{
public:
    enum OpenFlags
    {
        modeRead,
        modeCreate, // create for writing, emptying an existing file
        // For ReadAt alone, and one system call cheaper than modeRead: what
        // the path names is not looked at, so a folder opens too and, like a
        // pipe, reads as nothing.
        modeReadAt,
    };

    CFile() = default;
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // On failure LastErrorText() says why.
    bool Open(const std::wstring& path, OpenFlags mode);
    // The same with the path in the system's own form (ToNativePath), for a
    // path that is opened again and again.
    bool Open(const std::string& nativePath, OpenFlags mode);
    void Close();
    bool IsOpen() const { return m_hFile >= 0; }

    // Moves to `offset` bytes from the start; returns false when it cannot.
    bool Seek(std::uint64_t offset);
    // Reads up to `count` bytes, retrying short reads; returns how many were
    // read before the end of the file or an error.
    std::size_t Read(void* buffer, std::size_t count);
    // Reads up to `count` bytes from `offset` on, as Read does, without using
    // or moving the file position: one system call where Seek and Read take two.
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const;
    // Writes all `count` bytes; returns false when any could not be written.
    bool Write(const void* buffer, std::size_t count);
    // Forces written data to the disk.
    bool Flush();
    std::uint64_t GetLength() const;

private:
    // A file descriptor; on Windows a HANDLE.
    std::intptr_t m_hFile = -1;
};

// Writes `size` bytes as the whole new content of `path`, so that the file
// holds either its old or its new content whatever happens meanwhile: the
// bytes go to a new file beside it, under a name that nothing had, which is
// flushed and renamed over the old one. The new content keeps the old file's
// permissions. On Linux the new file is the user's alone until it is
// complete, the access list is kept too (or the old file, when it cannot be),
// and new files that replacements of `path` left when killed are removed.
// Where `path` is a link of the user's own, the file it names is replaced and
// the link stays; a link to nothing or of another user's making is refused.
// So are a path that names anything but a regular file (EISDIR for a folder,
// EINVAL for a device or a pipe) and a file the user may not write or that
// nobody may (EACCES). Returns false, leaving the old file as it was and
// LastErrorText() saying why, when any step fails.
bool ReplaceFileContent(const std::wstring& path, const void* data, std::size_t size);

// Writes `count` bytes; false when they could not all be written.
using ContentWriter = std::function<bool(const void* bytes, std::size_t count)>;
// Hands the new content to its writer piece by piece; false to give up.
using ContentProducer = std::function<bool(const ContentWriter& write)>;

// The same for content too large to hold at once, which `produce` writes.
bool ReplaceFileContent(const std::wstring& path, const ContentProducer& produce);
