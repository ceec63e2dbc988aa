// SPDX-License-Identifier: MIT
#include "fuzz_support.h"
#include "reading/book_check.h"
#include "reading/book_file.h"
#include "reading/book_writer.h"
#include "text/utf8_path.h"
#include "text/wide_string.h"
#include "text/windows_1252.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Any bytes as the plain-text source that `talvik-book make` reads. A source
// refused says why; an accepted one makes a book that the check calls sound
// and whose records the reader gives back as they were made. Read in pieces
// cut anywhere, as make reads a file or a pipe, it gives the same records or
// the same error as read whole.

namespace {

// The source handed over in pieces of 1 to 256 bytes, their lengths taken
// from the source itself.
bool ParseInPieces(const std::string& source, std::vector<std::string>& records, std::string& error)
{
    BookSourceParser parser([&](const std::string& record) {
        records.push_back(record);
        return true;
    });
    bool ok = true;
    for (std::size_t at = 0, i = 0; ok && at < source.size(); ++i) {
        const std::size_t length = 1 + static_cast<unsigned char>(source[i % source.size()]);
        ok = parser.AddText(std::string_view(source).substr(at, length));
        at += length;
    }
    ok = ok && parser.Finish();
    error = parser.Error();
    return ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string source(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> records, pieceRecords;
    std::string error, pieceError;
    const bool parsed = ParseBookSource(source, records, error);
    FuzzCheck(ParseInPieces(source, pieceRecords, pieceError) == parsed && pieceError == error);
    if (!parsed) {
        FuzzCheck(!error.empty());
        return 0;
    }
    FuzzCheck(pieceRecords == records);
    const std::string& title = records.front();
    FuzzFolder().Write("book.pdb", BuildBook(title.substr(0, title.find('\n')), records));
    const std::wstring path = FromNativePath((FuzzFolder() / "book.pdb").string());
    const BookReport report = CheckBook(path);
    FuzzCheck(report.opened && report.problems.empty() && report.recordCount == static_cast<int>(records.size()));

    CBookFile book;
    FuzzCheck(book.CheckOpen(path));
    for (std::size_t i = 0; i < records.size(); ++i) {
        std::wstring text = book.ReadVerse(static_cast<int>(i));
        ReplaceAll(text, L"\r\n", L"\n");
        std::string bytes;
        FuzzCheck(WideToWindows1252(text, bytes) && bytes == records[i]);
    }
    return 0;
}
