// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/binary_file.h"

#include <cstdint>

// Where a record's data starts, and where the next record's starts (0 for
// none): both 0 for a record the book does not hold.
struct RecordPlace
{
    std::uint64_t start = 0;
    std::uint64_t next = 0;
};

// The fields of a book's header and record table that are read
// (reading/book_format.h), from an open file. The file may end anywhere: a
// field it ends before reads as 0, so a header cut short counts no records
// and a table entry cut short gives offset 0, which means no text.
class BookHeader
{
public:
    explicit BookHeader(const CFile& file)
        : m_file(file)
    { }

    std::uint16_t RecordCount() const;
    std::uint32_t RecordOffset(int index) const;
    // Record `index` as the reader finds it: an entry counts when the file
    // holds all of it, so a table cut short counts only its complete
    // entries. Near the start of the table, where every day of the year
    // lies, one read takes the count and both entries.
    RecordPlace FindRecord(std::uint64_t index) const;

private:
    const CFile& m_file;
};
