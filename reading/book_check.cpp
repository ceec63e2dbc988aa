// SPDX-License-Identifier: MIT
#include "reading/book_check.h"
#include "reading/book_file.h"
#include "reading/book_format.h"
#include "reading/book_header.h"
#include "reading/verse.h"
#include "text/wide_string.h"
#include "text/windows_1252.h"

#include <algorithm>
#include <optional>

namespace {

using std::to_string;

std::string Utf8(const char* text, std::size_t size)
{
    return ToUtf8(Windows1252ToWide(text, size));
}

// Where the first NUL lies in [start, end), if anywhere.
std::optional<std::uint64_t> FindNul(const CFile& file, std::uint64_t start, std::uint64_t end)
{
    char buffer[65536];
    for (std::uint64_t at = start; at < end;) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof buffer, end - at));
        const std::size_t got = file.ReadAt(at, buffer, want);
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
    return first == last ? "verse " + to_string(first) : "verses " + to_string(first) + " to " + to_string(last);
}

// The name, type and record count; false when the file is too short for a
// header or counts no records, and nothing more can be said.
bool CheckHeader(const CFile& file, BookReport& report)
{
    char header[kBookHeaderSize] = {};
    if (report.fileSize < kBookHeaderSize || file.ReadAt(0, header, sizeof header) != sizeof header) {
        report.problems.push_back("the file is " + to_string(report.fileSize) + " bytes long, too short for the " +
            to_string(kBookHeaderSize) + "-byte header of a book");
        return false;
    }
    report.name = Utf8(header, kBookNameSize);
    report.type = Utf8(header + kBookTypeOffset, 4) + "/" + Utf8(header + kBookTypeOffset + 4, 4);
    report.recordCount = BookHeader(file).RecordCount();
    if (report.recordCount == 0) {
        report.problems.push_back("the header counts no records");
        return false;
    }
    return true;
}

// Record `i` as the reader sees it: it starts at `start` and ends where the
// next record starts (`next`, 0 for none), or at the end of the file.
void CheckRecord(const CFile& file, int i, std::uint64_t start, std::uint64_t next, BookReport& report)
{
    const std::uint64_t length = report.fileSize;
    const std::uint64_t tableEnd = RecordEntryOffset(static_cast<std::uint64_t>(report.recordCount));
    const std::string record = "record " + to_string(i);
    if (start == 0) {
        report.problems.push_back(record + " has offset 0, which holds no text");
        return;
    }
    if (start >= length) {
        report.problems.push_back(
            record + " starts at " + to_string(start) + ", past the end of the file (" + to_string(length) + " bytes)");
        return;
    }
    if (start < tableEnd)
        report.problems.push_back(record + " starts at " + to_string(start) +
            ", inside the header and record table, which end at " + to_string(tableEnd));
    if (next != 0 && next < start) {
        report.problems.push_back("the offsets are out of order: record " + to_string(i + 1) + " starts at " +
            to_string(next) + ", before " + record + " at " + to_string(start));
        return;
    }
    // What the reader takes of the record, cut at the end of the file.
    const std::uint64_t end = start + std::min(CBookFile::RecordReadLength(start, next), length - start);
    const auto nul = FindNul(file, start, end);
    if (!nul)
        report.problems.push_back(record + " does not end with a NUL");
    const std::uint64_t textLength = (nul ? *nul : end) - start;
    report.textBytes += textLength;
    if (textLength == 0 && i >= 1 && i <= kLastVerse)
        report.warnings.push_back(Verses(i, i) + " is empty");
}

// Days without a record, and records no day shows.
void CheckCoverage(BookReport& report)
{
    const int count = report.recordCount;
    if (count == 1)
        report.warnings.push_back("the book holds its title page alone: every day shows the verse heading only");
    else if (count <= kLastVerse)
        report.warnings.push_back(Verses(count, kLastVerse) + (count == kLastVerse ? " has" : " have") +
            " no record: those days show the verse heading only");
    if (count > kLastVerse + 1)
        report.warnings.push_back("records " + to_string(kLastVerse + 1) + " to " + to_string(count - 1) +
            " are never shown: the reader shows verses 1 to " + to_string(kLastVerse));
}

} // namespace

BookReport CheckBook(const std::wstring& path)
{
    BookReport report;
    CFile file;
    if (!file.Open(path, CFile::modeRead))
        return report;
    report.opened = true;
    report.fileSize = file.GetLength();
    if (!CheckHeader(file, report))
        return report;

    // The reader's view: only complete table entries count.
    const int count = report.recordCount;
    const int complete =
        static_cast<int>(std::min<std::uint64_t>(count, (report.fileSize - kBookHeaderSize) / kRecordEntrySize));
    if (complete < count)
        report.problems.push_back("the record table is cut short: the file ends after " + to_string(complete) +
            " of its " + to_string(count) + " entries");
    const BookHeader header(file);
    std::vector<std::uint64_t> offsets(static_cast<std::size_t>(complete));
    for (int i = 0; i < complete; ++i)
        offsets[i] = header.RecordOffset(i);
    for (int i = 0; i < complete; ++i)
        CheckRecord(file, i, offsets[i], i + 1 < complete ? offsets[i + 1] : 0, report);
    CheckCoverage(report);
    return report;
}
