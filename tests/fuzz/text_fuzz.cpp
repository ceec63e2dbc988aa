// SPDX-License-Identifier: MIT
#include "platform/narrow_to_wide.h"
#include "platform/wide_string.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

// Any bytes as a book's text: Windows-1252 there and back, the reading box's
// line breaks there and back, and the text as a format string.

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    const std::wstring wide = NarrowToWide(bytes, size);
    // Every byte up to the first NUL becomes one character and comes back.
    const std::size_t nul = std::string(bytes, size).find('\0');
    Check(wide.size() == (nul == std::string::npos ? size : nul));
    std::string narrow;
    Check(WideToNarrow(wide, narrow) && narrow == std::string(bytes, wide.size()));

    // LF to CR LF adds one character per line break, and CR LF to LF undoes it.
    const int lines = static_cast<int>(std::count(wide.begin(), wide.end(), L'\n'));
    std::wstring box = wide;
    Check(ReplaceAll(box, L"\n", L"\r\n") == lines && box.size() == wide.size() + static_cast<std::size_t>(lines));
    Check(ReplaceAll(box, L"\r\n", L"\n") == lines && box == wide);

    // The text as a format, with values of both kinds, in either order, or none.
    int number = 0;
    std::memcpy(&number, data, std::min(size, sizeof number));
    const std::wstring formatted = Format(wide, {number, wide, number});
    Format(wide, {wide, number});
    Format(wide, {});
    // Text without a conversion comes out as it is.
    if (wide.find(L'%') == std::wstring::npos)
        Check(formatted == wide);
    return 0;
}
