// SPDX-License-Identifier: MIT
#pragma once

#include "reading/book_format.h"

#include <cstdint>
#include <string>
#include <vector>

// The bytes of a book with `count` in its header, the given record offsets in
// its table and then `body`; nothing is checked, so damaged books can be made.
inline std::string RawBook(std::uint16_t count, const std::vector<std::uint32_t>& offsets, const std::string& body = "")
{
    std::string bytes(RecordEntryOffset(offsets.size()), '\0');
    PutBigEndian(bytes, kRecordCountOffset, count, 2);
    for (std::size_t i = 0; i < offsets.size(); ++i)
        PutBigEndian(bytes, RecordEntryOffset(i), offsets[i], 4);
    return bytes + body;
}
