// SPDX-License-Identifier: MIT
#include "platform/native_path.h"

#include <string_view>

namespace {

// Length of the valid UTF-8 sequence at s[i], or 0 when it is not one.
size_t Utf8SequenceLength(const std::string& s, size_t i, char32_t& cp)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    size_t len;
    char32_t min;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    for (size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not valid UTF-8.
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

} // namespace

std::wstring FromNativePath(const std::string& bytes)
{
    std::wstring out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        const size_t len = Utf8SequenceLength(bytes, i, cp);
        if (len == 0) {
            out += static_cast<wchar_t>(kNonUtf8ByteBase + static_cast<unsigned char>(bytes[i]));
            ++i;
        } else {
            out += static_cast<wchar_t>(cp);
            i += len;
        }
    }
    return out;
}

std::string ToNativePath(const std::wstring& path)
{
    // Paths are mostly ASCII: the ASCII start of the path is copied as it is.
    std::size_t ascii = 0;
    while (ascii < path.size() && static_cast<char32_t>(path[ascii]) < 0x80)
        ++ascii;
    std::string out(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(ascii));
    if (ascii == path.size())
        return out;
    out.reserve(path.size() + (path.size() - ascii) * 3);
    for (const wchar_t wc : std::wstring_view(path).substr(ascii)) {
        const auto cp = static_cast<char32_t>(wc);
        if (IsNonUtf8Byte(wc)) {
            out += static_cast<char>(cp - kNonUtf8ByteBase);
        } else if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}
