// SPDX-License-Identifier: MIT
#include "reading/book_file.h"
#include "reading/book_header.h"
#include "text/utf8_path.h"
#include "text/windows_1252.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

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
        return Windows1252ToWide(bytes, length);
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
    return Windows1252ToWide(expanded, length + breaks);
}

} // namespace

std::uint64_t CBookFile::RecordReadLength(std::uint64_t start, std::uint64_t next)
{
    if (start == 0 || (next != 0 && next <= start))
        return 0;
    return std::min(next != 0 ? next - start : kMaxRecordLength, kMaxRecordLength);
}

BOOL CBookFile::CheckOpen(const std::wstring& path)
{
    m_strPath = path;
    // Converted once here, not at every reading.
    m_nativePath = ToNativePath(path);
    CFile file;
    m_bOpened = file.Open(m_nativePath, CFile::modeRead);
    return m_bOpened;
}

std::wstring CBookFile::ReadVerse(int index) const
{
    CFile file;
    if (index < 0 || !file.Open(m_nativePath, CFile::modeReadAt))
        return std::wstring();
    // The last record runs to the end of the file, and so does one whose
    // successor has no text (offset 0); its NUL still ends its text.
    const RecordPlace place = BookHeader(file).FindRecord(static_cast<std::uint64_t>(index));
    return ReadRecordText(file, place.start, RecordReadLength(place.start, place.next));
}

std::wstring CBookFile::ReadRecordText(const CFile& file, std::uint64_t start, std::uint64_t want)
{
    if (want == 0)
        return std::wstring();
    // A day's reading is short, and one read into the stack holds it.
    char local[4096];
    const std::size_t got =
        file.ReadAt(start, local, static_cast<std::size_t>(std::min<std::uint64_t>(want, sizeof local)));
    if (got < sizeof local || want <= sizeof local)
        return ReadingText(local, got);
    // A long one needs the heap, never more of it than the file holds. A read
    // that fails part-way gives the bytes read before it.
    const std::uint64_t length = file.GetLength();
    const auto size = static_cast<std::size_t>(std::min(want, length > start ? length - start : 0));
    if (size <= got)
        return ReadingText(local, got);
    const auto heap = std::make_unique_for_overwrite<char[]>(size);
    std::memcpy(heap.get(), local, got);
    return ReadingText(heap.get(), got + file.ReadAt(start + got, heap.get() + got, size - got));
}
