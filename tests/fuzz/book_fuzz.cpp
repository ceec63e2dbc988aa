// SPDX-License-Identifier: MIT
#include "fuzz_support.h"
#include "reading/book_file.h"
#include "reading/book_header.h"
#include "text/utf8_path.h"
#include "text/wide_string.h"
#include "text/windows_1252.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

// Any bytes as "maravelle.pdb". Every verse read from it must be text that
// the file holds, ready for the reading box, whatever its header claims.

namespace {

void CheckVerse(const std::wstring& verse, const std::string& file)
{
    for (std::size_t i = 0; i < verse.size(); ++i) {
        // The text ends at its NUL, and every line break is CR LF.
        FuzzCheck(verse[i] != L'\0' && (verse[i] != L'\n' || (i > 0 && verse[i - 1] == L'\r')));
    }
    // Undone, the conversions give bytes that stand in the file as they are.
    std::wstring text = verse;
    ReplaceAll(text, L"\r\n", L"\n");
    std::string bytes;
    FuzzCheck(WideToWindows1252(text, bytes) && file.find(bytes) != std::string::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string file(reinterpret_cast<const char*>(data), size);
    FuzzFolder().Write("maravelle.pdb", file);
    const std::wstring path = FromNativePath((FuzzFolder() / "maravelle.pdb").string());
    CBookFile book;
    FuzzCheck(book.CheckOpen(path));
    // The title page, the first and last days, the ends of the record table
    // as the header states it, and indices no date gives.
    CFile raw;
    FuzzCheck(raw.Open(path, CFile::modeRead));
    const int count = BookHeader(raw).RecordCount();
    for (const int index : {0, 1, 365, count - 1, count, count + 1, -1, INT_MAX, INT_MIN})
        CheckVerse(book.ReadVerse(index), file);
    return 0;
}
