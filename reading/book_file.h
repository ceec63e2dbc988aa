// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/binary_file.h"

#include <cstdint>
#include <string>

// The book: a Palm database whose record N holds the reading for verse N as
// Windows-1252 text ended by a NUL (reading/book_format.h). It is opened for
// one check or one reading at a time; no file stays open between calls.
class CBookFile
{
public:
    // Remembers `path` and reports whether the book can be opened now.
    BOOL CheckOpen(const std::wstring& path);
    // The text of record `index`, ready for the reading box (CR LF line
    // breaks), from at most its first megabyte; empty when the book or the
    // record cannot be read.
    std::wstring ReadVerse(int index) const;

    // The result of the last CheckOpen, and the path it was given.
    BOOL IsOpened() const { return m_bOpened; }
    const std::wstring& Path() const { return m_strPath; }

    // How many bytes of a record the reader takes, given its offset `start`
    // and its successor's `next` (0 for none, or one without text), before
    // the end of the file cuts it: none for offset 0 or a successor that is
    // not after it; up to the successor, or to the end of the file for the
    // last record; and never more than a megabyte. The book comes from the
    // internet, so none of its offsets is trusted.
    static std::uint64_t RecordReadLength(std::uint64_t start, std::uint64_t next);
    // A day's reading is a page or two. A damaged or foreign file may put
    // gigabytes in one record, and no more than this of it is read.
    static constexpr std::uint64_t kMaxRecordLength = 1 << 20;

private:
    // The reading box's text of the `want` bytes from `start` on.
    static std::wstring ReadRecordText(const CFile& file, std::uint64_t start, std::uint64_t want);

    BOOL m_bOpened = FALSE;
    std::wstring m_strPath;
    std::string m_nativePath; // m_strPath as the system spells it, set with it
};
