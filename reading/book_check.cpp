#include "reading/book_check.h"
#include "platform/narrow_to_wide.h"
#include "platform/native_path.h"
#include "reading/book_file.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::uint64_t kHeaderSize = 78;
constexpr std::uint64_t kEntrySize = 8;
constexpr int kLastVerse = 365;

std::string Utf8(const char* text, std::size_t size)
{
    return ToNativePath(NarrowToWide(text, size));
}

std::string Text(std::uint64_t value)
{
    return std::to_string(value);
}

// Where the first NUL lies in [start, end), if anywhere.
std::optional<std::uint64_t> FindNul(CFile& file, std::uint64_t start, std::uint64_t end)
{
    char buffer[65536];
    for (std::uint64_t at = start; at < end;) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof buffer, end - at));
        const std::size_t got = file.Seek(at) ? file.Read(buffer, want) : 0;
        const char* nul = std::find(buffer, buffer + got, '\0');
        if (nul != buffer + got)
            return at + static_cast<std::uint64_t>(nul - buffer);
        if (got < want)
            break;
        at += got;
    }
    return std::nullopt;
}

std::string Verses(int first, int last)
{
    return first == last ? "verse " + std::to_string(first)
                         : "verses " + std::to_string(first) + " to " + std::to_string(last);
}

} // namespace

BookReport CheckBook(const std::wstring& path)
{
    BookReport report;
    CBookFile book;
    if (!book.Open(path, CFile::modeRead))
        return report;
    report.opened = true;
    const std::uint64_t length = book.GetLength();
    report.fileSize = length;
    char header[kHeaderSize] = {};
    if (length < kHeaderSize || !book.Seek(0) || book.Read(header, sizeof header) != sizeof header) {
        report.problems.push_back("the file is " + Text(length) + " bytes long, too short for the " +
            Text(kHeaderSize) + "-byte header of a book");
        return report;
    }
    report.name = Utf8(header, 32);
    report.type = Utf8(header + 60, 4) + "/" + Utf8(header + 64, 4);
    const int count = book.RecordCount();
    report.recordCount = count;
    if (count == 0) {
        report.problems.push_back("the header counts no records");
        return report;
    }

    // The reader's view: only complete table entries count, and a record
    // ends where the next one starts, or at the end of the file.
    const std::uint64_t tableEnd = kHeaderSize + kEntrySize * static_cast<std::uint64_t>(count);
    const int complete = static_cast<int>(std::min<std::uint64_t>(count, (length - kHeaderSize) / kEntrySize));
    if (complete < count)
        report.problems.push_back("the record table is cut short: the file ends after " + Text(complete) + " of its " +
            Text(count) + " entries");
    std::vector<std::uint64_t> offsets(static_cast<std::size_t>(complete));
    for (int i = 0; i < complete; ++i)
        offsets[i] = book.RecordOffset(i);

    for (int i = 0; i < complete; ++i) {
        const std::string record = "record " + Text(i);
        const std::uint64_t start = offsets[i];
        const std::uint64_t next = i + 1 < complete ? offsets[i + 1] : 0;
        if (start == 0) {
            report.problems.push_back(record + " has offset 0, which holds no text");
            continue;
        }
        if (start >= length) {
            report.problems.push_back(
                record + " starts at " + Text(start) + ", past the end of the file (" + Text(length) + " bytes)");
            continue;
        }
        if (start < tableEnd)
            report.problems.push_back(record + " starts at " + Text(start) +
                ", inside the header and record table, which end at " + Text(tableEnd));
        if (next != 0 && next < start) {
            report.problems.push_back("the offsets are out of order: record " + Text(i + 1) + " starts at " +
                Text(next) + ", before " + record + " at " + Text(start));
            continue;
        }
        // What the reader takes of the record, cut at the end of the file.
        const std::uint64_t end = start + std::min(CBookFile::RecordReadLength(start, next), length - start);
        const auto nul = FindNul(book, start, end);
        if (!nul)
            report.problems.push_back(record + " does not end with a NUL");
        const std::uint64_t textLength = (nul ? *nul : end) - start;
        report.textBytes += textLength;
        if (textLength == 0 && i >= 1 && i <= kLastVerse)
            report.warnings.push_back(Verses(i, i) + " is empty");
    }

    if (count == 1)
        report.warnings.push_back("the book holds its title page alone: every day shows the verse heading only");
    else if (count <= kLastVerse)
        report.warnings.push_back(Verses(count, kLastVerse) + (count == kLastVerse ? " has" : " have") +
            " no record: those days show the verse heading only");
    if (count > kLastVerse + 1)
        report.warnings.push_back("records " + Text(kLastVerse + 1) + " to " + Text(count - 1) +
            " are never shown: the reader shows verses 1 to " + Text(kLastVerse));
    return report;
}
