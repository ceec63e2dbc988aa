// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// Replaces every occurrence of `from` by `to`, scanning from left to right and
// never rescanning what was inserted. Returns the number of replacements.
int ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to);

// `text` in UTF-8, for a terminal or a file that other programs read.
std::string ToUtf8(const std::wstring& text);
