// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>

// File names on Linux are bytes. The program holds them as wide strings: UTF-8
// is decoded, and each byte that is not valid UTF-8 is kept as the code point
// U+DC80 + byte, so that every name converts back to the same bytes.
std::wstring FromNativePath(const std::string& bytes);
std::string ToNativePath(const std::wstring& path);

// A path as the standard library holds it, and back. On Windows, where the
// library's narrow paths are in the ANSI code page, the wide form is passed,
// so that no character is lost on the way.
std::filesystem::path ToFilesystemPath(const std::wstring& path);
std::wstring FromFilesystemPath(const std::filesystem::path& path);

// The character that starts at text[i], and in `length` how many wide
// characters hold it: two for a surrogate pair where they are 16 bits wide.
char32_t CharacterAt(const std::wstring& text, std::size_t i, std::size_t& length);

// The first of the 256 code points that stand for bytes that are not UTF-8.
constexpr wchar_t kNonUtf8ByteBase = 0xDC80;

// Whether `c` stands for a byte of a file name that is not UTF-8.
constexpr bool IsNonUtf8Byte(wchar_t c)
{
    return c >= kNonUtf8ByteBase && c < kNonUtf8ByteBase + 0x100;
}
