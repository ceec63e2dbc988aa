// SPDX-License-Identifier: MIT
#include "text/windows_1252.h"

#include <array>
#include <cstring>

namespace {

// Code points of bytes 0x80 ... 0x9F; the rest of the code page is Latin-1.
constexpr char16_t kHighControls[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
    0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

std::wstring Windows1252ToWide(const char* text, std::size_t size)
{
    // Every reading shown goes through here, so a table rather than a test
    // per byte.
    static constexpr auto kCodePage = [] {
        std::array<wchar_t, 256> table{};
        for (int byte = 0; byte < 256; ++byte)
            table[byte] = byte >= 0x80 && byte < 0xA0 ? static_cast<wchar_t>(kHighControls[byte - 0x80])
                                                      : static_cast<wchar_t>(byte);
        return table;
    }();
    const auto* nul = size ? static_cast<const char*>(std::memchr(text, '\0', size)) : nullptr;
    const std::size_t length = nul ? static_cast<std::size_t>(nul - text) : size;
    std::wstring out(length, L'\0');
    for (std::size_t i = 0; i < length; ++i)
        out[i] = kCodePage[static_cast<unsigned char>(text[i])];
    return out;
}

bool WideToWindows1252(const std::wstring& text, std::string& out)
{
    out.clear();
    out.reserve(text.size());
    for (const wchar_t wc : text) {
        const auto cp = static_cast<char32_t>(wc);
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
            continue;
        }
        int found = -1;
        for (int i = 0; i < 32 && found < 0; ++i)
            if (kHighControls[i] == cp)
                found = i;
        if (found < 0)
            return false;
        out += static_cast<char>(0x80 + found);
    }
    return true;
}
