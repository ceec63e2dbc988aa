// SPDX-License-Identifier: MIT
#include "fuzz_support.h"
#include "platform/narrow_to_wide.h"
#include "platform/native_path.h"
#include "platform/wide_string.h"
#include "reading/book_check.h"
#include "reading/book_file.h"
#include "reading/book_writer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Any bytes as the plain-text source that `talvik-book make` reads. A source
// refused says why; an accepted one makes a book that the check calls sound
// and whose records the reader gives back as they were made.

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> records;
    std::string error;
    if (!ParseBookSource(std::string(reinterpret_cast<const char*>(data), size), records, error)) {
        FuzzCheck(!error.empty());
        return 0;
    }
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
        FuzzCheck(WideToNarrow(text, bytes) && bytes == records[i]);
    }
    return 0;
}
