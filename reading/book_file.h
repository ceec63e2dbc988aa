#pragma once

#include "platform/binary_file.h"

#include <cstdint>
#include <string>

// The book: a Palm database whose record N holds the reading for verse N as
// Windows-1252 text ended by a NUL. No file stays open between calls.
class CBookFile : public CFile
{
public:
    // Remembers `path` and reports whether the book can be opened now.
    BOOL CheckOpen(const std::wstring& path);
    // The text of record `index`, ready for the reading box (CR LF line
    // breaks), from at most its first megabyte; empty when the book or the
    // record cannot be read.
    std::wstring ReadVerse(int index);

    // Header fields of the open file; 0 where the file ends before them.
    std::uint16_t RecordCount();
    std::uint32_t RecordOffset(int index);

    BOOL m_bOpened = FALSE;
    std::wstring m_strPath;

private:
    std::wstring ReadRecordText(std::uint64_t index);

    std::string m_nativePath; // m_strPath as the system spells it
    std::wstring m_nativePathOf;
};
