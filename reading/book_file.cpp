#include "reading/book_file.h"
#include "platform/narrow_to_wide.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr std::uint64_t kRecordCountOffset = 76;
constexpr std::uint64_t kRecordTableOffset = 78;
constexpr std::uint64_t kRecordEntrySize = 8;
// How much of the file's start one read may take to reach a table entry.
constexpr std::size_t kHeadWindow = 4096;
// A day's reading is a page or two. A damaged or foreign file may put
// gigabytes in one record, and no more than this of it is read.
constexpr std::uint64_t kMaxRecordLength = 1 << 20;

std::uint16_t BigEndian16(const unsigned char* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

std::uint32_t BigEndian32(const unsigned char* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
        static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}

// The text of a record for the reading box: it ends at the first NUL, and its
// LF line breaks become CR LF, as the box breaks lines (an LF that has a CR
// already gains another). The bytes are expanded before they are widened, so
// that the text is made once.
std::wstring ReadingText(const char* bytes, std::size_t size)
{
    const auto* nul = static_cast<const char*>(std::memchr(bytes, '\0', size));
    const std::size_t length = nul ? static_cast<std::size_t>(nul - bytes) : size;
    const auto breaks = static_cast<std::size_t>(std::count(bytes, bytes + length, '\n'));
    if (breaks == 0)
        return NarrowToWide(bytes, length);
    char local[4096];
    std::unique_ptr<char[]> heap;
    char* expanded = local;
    if (length + breaks > sizeof local) {
        heap = std::make_unique_for_overwrite<char[]>(length + breaks);
        expanded = heap.get();
    }
    char* out = expanded;
    for (std::size_t i = 0; i < length; ++i) {
        if (bytes[i] == '\n')
            *out++ = '\r';
        *out++ = bytes[i];
    }
    return NarrowToWide(expanded, length + breaks);
}

} // namespace

BOOL CBookFile::CheckOpen(const std::wstring& path)
{
    Close();
    m_strPath = path;
    m_bOpened = Open(path, modeRead);
    Close();
    return m_bOpened;
}

// A file that ends before the field reads as 0: a header cut short counts no
// records, and a table entry cut short gives offset 0, which means no text.
std::uint16_t CBookFile::RecordCount()
{
    unsigned char bytes[2] = {};
    if (!Seek(kRecordCountOffset) || Read(bytes, sizeof bytes) != sizeof bytes)
        return 0;
    return BigEndian16(bytes);
}

std::uint32_t CBookFile::RecordOffset(int index)
{
    unsigned char bytes[4] = {};
    const std::uint64_t at = kRecordTableOffset + kRecordEntrySize * static_cast<std::uint64_t>(index);
    if (index < 0 || !Seek(at) || Read(bytes, sizeof bytes) != sizeof bytes)
        return 0;
    return BigEndian32(bytes);
}

std::wstring CBookFile::ReadVerse(int index)
{
    std::wstring text;
    if (index < 0 || !Open(m_strPath, modeRead)) {
        Close();
        return text;
    }
    const std::uint64_t fileLength = GetLengthAtOpen();
    // A record table cut short by the end of the file counts only its
    // complete entries.
    const std::uint64_t completeEntries =
        fileLength > kRecordTableOffset ? (fileLength - kRecordTableOffset) / kRecordEntrySize : 0;

    // The record count, this record's table entry and the offset in the next
    // entry. Near the start of the table, where every day of the year lies,
    // one read takes them all; further on, the count and the entries are read
    // apart, so that no read grows with the book.
    const auto i = static_cast<std::uint64_t>(index);
    const std::uint64_t entryAt = kRecordTableOffset + kRecordEntrySize * i;
    const std::uint64_t through = entryAt + kRecordEntrySize + 4;
    unsigned char head[kHeadWindow];
    std::uint64_t storedCount = 0;
    const unsigned char* entry = head;
    std::size_t entryBytes = 0;
    if (through - kRecordCountOffset <= sizeof head) {
        const std::size_t got = ReadAt(kRecordCountOffset, head, through - kRecordCountOffset);
        storedCount = got >= 2 ? BigEndian16(head) : 0;
        entry = head + (entryAt - kRecordCountOffset);
        entryBytes = got > entryAt - kRecordCountOffset ? got - (entryAt - kRecordCountOffset) : 0;
    } else {
        storedCount = ReadAt(kRecordCountOffset, head, 2) == 2 ? BigEndian16(head) : 0;
        entryBytes = i < storedCount ? ReadAt(entryAt, head, kRecordEntrySize + 4) : 0;
    }
    const std::uint64_t count = std::min(storedCount, completeEntries);
    if (i < count) {
        // An entry that cannot be read gives offset 0, which means no text.
        const std::uint64_t start = entryBytes >= 4 ? BigEndian32(entry) : 0;
        // The last record runs to the end of the file, and so does one whose
        // successor has no text (offset 0); its NUL still ends its text.
        std::uint64_t end =
            i + 1 < count && entryBytes >= kRecordEntrySize + 4 ? BigEndian32(entry + kRecordEntrySize) : fileLength;
        if (end == 0)
            end = fileLength;
        // The book is downloaded, so its offsets are not trusted: a record is
        // never read past the end of the file, and one whose end is not after
        // its start has no text. The buffer is never larger than the file.
        if (end > fileLength)
            end = fileLength;
        if (start != 0 && end > start) {
            const auto length = static_cast<std::size_t>(std::min(end - start, kMaxRecordLength));
            // A day's reading is short; only a long one needs the heap.
            char local[4096];
            std::unique_ptr<char[]> heap;
            char* buffer = local;
            if (length > sizeof local) {
                heap = std::make_unique_for_overwrite<char[]>(length);
                buffer = heap.get();
            }
            // A read that fails part-way gives the bytes read before it.
            text = ReadingText(buffer, ReadAt(start, buffer, length));
        }
    }
    Close();
    return text;
}
