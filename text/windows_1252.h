// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>

// Converts narrow text in the books' code page, Windows-1252, to a wide
// string. Conversion stops at the first NUL byte or after `size` bytes.
// The five bytes that Windows-1252 leaves undefined map to the C1 control
// characters of the same value, as the Windows conversion does.
std::wstring Windows1252ToWide(const char* text, std::size_t size);

// The reverse, for the book tool: false when a character has no byte in
// Windows-1252.
bool WideToWindows1252(const std::wstring& text, std::string& out);
