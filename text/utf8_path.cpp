// SPDX-License-Identifier: MIT
#include "text/utf8_path.h"

#include <cstddef>
#include <type_traits>

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

constexpr bool kUtf16 = sizeof(wchar_t) == 2;

// Appends `cp` to `out`: as a surrogate pair past U+FFFF where wide
// characters are 16 bits (Windows), as itself where they are 32 bits.
void AppendCodePoint(std::wstring& out, char32_t cp)
{
    if (kUtf16 && cp > 0xFFFF) {
        cp -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (cp >> 10));
        out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<wchar_t>(cp);
    }
}

bool IsHighSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
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
            AppendCodePoint(out, cp);
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
    for (std::size_t i = ascii, length = 1; i < path.size(); i += length) {
        const wchar_t wc = path[i];
        // A surrogate on its own, which only a name from a 16-bit system
        // holds, is written as its value in three bytes; they do not decode
        // back to it.
        const char32_t cp = CharacterAt(path, i, length);
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

char32_t CharacterAt(const std::wstring& text, std::size_t i, std::size_t& length)
{
    const auto c = static_cast<char32_t>(text[i]);
    length = 1;
    if (kUtf16 && IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        length = 2;
        return 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
    }
    return c;
}

std::filesystem::path ToFilesystemPath(const std::wstring& path)
{
    if constexpr (std::is_same_v<std::filesystem::path::value_type, wchar_t>)
        return std::filesystem::path(path);
    else
        return std::filesystem::path(ToNativePath(path));
}

std::wstring FromFilesystemPath(const std::filesystem::path& path)
{
    if constexpr (std::is_same_v<std::filesystem::path::value_type, wchar_t>)
        return path.wstring();
    else
        return FromNativePath(path.string());
}
