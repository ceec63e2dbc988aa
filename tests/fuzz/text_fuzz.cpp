// SPDX-License-Identifier: MIT
#include "fuzz_support.h"
#include "text/wide_string.h"
#include "text/windows_1252.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

// Any bytes as a book's text: Windows-1252 there and back, and the reading
// box's line breaks there and back.

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    const std::wstring wide = Windows1252ToWide(bytes, size);
    // Every byte up to the first NUL becomes one character and comes back.
    const std::size_t nul = std::string(bytes, size).find('\0');
    FuzzCheck(wide.size() == (nul == std::string::npos ? size : nul));
    std::string narrow;
    FuzzCheck(WideToWindows1252(wide, narrow) && narrow == std::string(bytes, wide.size()));

    // LF to CR LF adds one character per line break, and CR LF to LF undoes it.
    const int lines = static_cast<int>(std::count(wide.begin(), wide.end(), L'\n'));
    std::wstring box = wide;
    FuzzCheck(ReplaceAll(box, L"\n", L"\r\n") == lines && box.size() == wide.size() + static_cast<std::size_t>(lines));
    FuzzCheck(ReplaceAll(box, L"\r\n", L"\n") == lines && box == wide);
    return 0;
}
