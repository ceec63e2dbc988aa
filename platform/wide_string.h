// SPDX-License-Identifier: MIT
#pragma once

#include <initializer_list>
#include <string>
#include <variant>

// One value for Format: an integer for %d and %02d, a wide string for %s.
using FormatArg = std::variant<int, std::wstring>;

// printf-style formatting with the conversions the program uses: %d, %0Nd
// (at least N digits, leading zeros), %s (a wide string) and %%. A conversion
// whose value is missing or of the other kind produces nothing; one wider than
// 1024 characters is not a conversion and is copied as it stands.
std::wstring Format(const std::wstring& format, std::initializer_list<FormatArg> args);

// Replaces every occurrence of `from` by `to`, scanning from left to right and
// never rescanning what was inserted. Returns the number of replacements.
int ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to);

// `text` in UTF-8, for a terminal or a file that other programs read.
std::string ToUtf8(const std::wstring& text);
