// SPDX-License-Identifier: MIT
#include "reading/book_header.h"
#include "reading/book_format.h"

namespace {

// How much of the file's start one read may take to reach a table entry.
constexpr std::size_t kHeadWindow = 4096;

} // namespace

std::uint16_t BookHeader::RecordCount() const
{
    unsigned char bytes[2] = {};
    return m_file.ReadAt(kRecordCountOffset, bytes, sizeof bytes) == sizeof bytes ? BigEndian16(bytes) : 0;
}

std::uint32_t BookHeader::RecordOffset(int index) const
{
    unsigned char bytes[4] = {};
    if (index < 0 ||
        m_file.ReadAt(RecordEntryOffset(static_cast<std::uint64_t>(index)), bytes, sizeof bytes) != sizeof bytes)
        return 0;
    return BigEndian32(bytes);
}

// Reads at known places only, and needs no length: where the file ends, a
// read comes back short. Further on in the table than one read reaches, the
// count and the entries are read apart, so that no read grows with the book.
RecordPlace BookHeader::FindRecord(std::uint64_t i) const
{
    const std::uint64_t entryAt = RecordEntryOffset(i);
    const std::uint64_t through = entryAt + 2 * kRecordEntrySize;
    unsigned char head[kHeadWindow];
    std::uint64_t count = 0;
    const unsigned char* entry = head;
    std::size_t entryBytes = 0;
    if (through - kRecordCountOffset <= sizeof head) {
        const std::size_t got = m_file.ReadAt(kRecordCountOffset, head, through - kRecordCountOffset);
        count = got >= 2 ? BigEndian16(head) : 0;
        entry = head + (entryAt - kRecordCountOffset);
        entryBytes = got > entryAt - kRecordCountOffset ? got - (entryAt - kRecordCountOffset) : 0;
    } else {
        count = RecordCount();
        entryBytes = i < count ? m_file.ReadAt(entryAt, head, 2 * kRecordEntrySize) : 0;
    }
    if (i >= count || entryBytes < kRecordEntrySize)
        return RecordPlace{};
    const bool hasNext = i + 1 < count && entryBytes == 2 * kRecordEntrySize;
    return RecordPlace{BigEndian32(entry), hasNext ? BigEndian32(entry + kRecordEntrySize) : 0};
}
