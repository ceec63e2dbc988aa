#include "reading/book_file.h"
#include "platform/narrow_to_wide.h"
#include "platform/wide_string.h"

#include <algorithm>
#include <memory>

namespace {

constexpr std::uint64_t kRecordCountOffset = 76;
constexpr std::uint64_t kRecordTableOffset = 78;
constexpr std::uint64_t kRecordEntrySize = 8;

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
    return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

std::uint32_t CBookFile::RecordOffset(int index)
{
    unsigned char bytes[4] = {};
    const std::uint64_t at = kRecordTableOffset + kRecordEntrySize * static_cast<std::uint64_t>(index);
    if (index < 0 || !Seek(at) || Read(bytes, sizeof bytes) != sizeof bytes)
        return 0;
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
        static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}

std::wstring CBookFile::ReadVerse(int index)
{
    std::wstring text;
    if (!Open(m_strPath, modeRead))
        return text;
    // A record table cut short by the end of the file counts only its
    // complete entries.
    const std::uint64_t fileLength = GetLength();
    const std::uint64_t completeEntries =
        fileLength > kRecordTableOffset ? (fileLength - kRecordTableOffset) / kRecordEntrySize : 0;
    const int count = static_cast<int>(std::min<std::uint64_t>(RecordCount(), completeEntries));
    if (index >= 0 && index < count) {
        const std::uint64_t start = RecordOffset(index);
        // The last record runs to the end of the file, and so does one whose
        // successor has no text (offset 0); its NUL still ends its text.
        std::uint64_t end = index + 1 < count ? RecordOffset(index + 1) : fileLength;
        if (end == 0)
            end = fileLength;
        // The book is downloaded, so its offsets are not trusted: a record is
        // never read past the end of the file, and one whose end is not after
        // its start has no text. The buffer is never larger than the file.
        if (end > fileLength)
            end = fileLength;
        if (start != 0 && end > start) {
            const std::size_t length = static_cast<std::size_t>(end - start);
            const auto buffer = std::make_unique<char[]>(length);
            // A read that fails part-way gives the bytes read before it.
            const std::size_t got = Seek(start) ? Read(buffer.get(), length) : 0;
            text = NarrowToWide(buffer.get(), got);
            ReplaceAll(text, L"\n", L"\r\n");
        }
    }
    Close();
    return text;
}
