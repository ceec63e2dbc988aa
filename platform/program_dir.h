// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// The folder of the running executable, up to and including its last path
// separator. The book, the chime and the settings file are found in it. Set
// once while the main window starts; empty before.
extern std::wstring g_strProgramDir;

// The characters that end a folder's name in a path: '/' on Linux; '\\' and
// '/' on Windows.
#ifdef _WIN32
inline constexpr wchar_t kPathSeparators[] = L"\\/";
#else
inline constexpr wchar_t kPathSeparators[] = L"/";
#endif

// Everything in `exePath` up to and including its last path separator; empty
// when it holds none.
std::wstring ProgramDirOf(const std::wstring& exePath);
