// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A book is a Palm database: a 78-byte header, then a table with an entry
// per record, then the records. Of the header the reader takes only the
// record count; of an entry, only the record's data offset, counted from the
// start of the file. Numbers are big-endian.
constexpr std::size_t kBookHeaderSize = 78;
constexpr std::size_t kBookNameSize = 32; // at the start, padded with NULs
constexpr std::size_t kBookTypeOffset = 60; // the type's 4 letters, then the creator's
constexpr std::size_t kRecordCountOffset = 76; // 16 bits
constexpr std::size_t kRecordEntrySize = 8; // data offset (32 bits), attributes and unique id

constexpr std::uint64_t RecordEntryOffset(std::uint64_t index)
{
    return kBookHeaderSize + kRecordEntrySize * index;
}

inline std::uint16_t BigEndian16(const unsigned char* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

inline std::uint32_t BigEndian32(const unsigned char* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
        static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}

// Writes the low `size` bytes of `value` at `at` in `out`, most significant first.
inline void PutBigEndian(std::string& out, std::size_t at, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        out[at + i] = static_cast<char>(value >> (8 * (size - 1 - i)));
}
