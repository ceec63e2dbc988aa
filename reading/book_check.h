// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/binary_file.h"

#include <cstdint>
#include <string>
#include <vector>

// What the book tool tells about a book file. Texts are UTF-8.
struct BookReport
{
    bool opened = false;
    std::string name;
    std::string type; // type and creator, as "TEXt/Vlmr"
    std::uint64_t fileSize = 0;
    int recordCount = 0; // as the header says
    std::uint64_t textBytes = 0; // readable text of all records, NULs left out
    // Faults of the file: the reader shows less, or other, text than the
    // book was made with.
    std::vector<std::string> problems;
    // A sound book that leaves some days without a reading or holds records
    // the reader never shows.
    std::vector<std::string> warnings;
};

// Reads the book at `path` the way CBookFile does and reports every fault;
// when it cannot be opened, `opened` stays false and LastErrorText() says why.
BookReport CheckBook(const std::wstring& path);
