// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// The folder of the running executable, up to and including its last path
// separator. The book, the chime and the settings file are found in it. Set
// once when the program starts; empty before.
extern std::wstring g_strProgramDir;

// The full path of the running executable, read with g_strProgramDir; empty
// before.
const std::wstring& ProgramPath();

// Reads the path of the running executable once, through the module file
// name service, and sets ProgramPath() and g_strProgramDir from it.
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
