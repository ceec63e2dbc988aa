// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// The folder of the running executable, up to and including its last path
// separator. The book, the chime and the settings file are found in it. Set
// once when the program starts; empty before.
extern std::wstring g_strProgramDir;

// Sets g_strProgramDir from the path of the running executable (the module
// file name service).
void InitProgramDir();

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

// The path of the file `name` in the program's folder; empty, which names no
// file, while the folder is unknown (the system would not tell where the
// executable lies), so that a file of that name in the current folder is
// never taken for the program's own.
std::wstring ProgramFilePath(const std::wstring& name);
