// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// The user's folder for programs' settings, ending in '/': $XDG_CONFIG_HOME
// when that is an absolute path, else ~/.config; empty when neither is known.
// On Windows: %APPDATA%, ending in '\\'.
std::wstring UserConfigFolder();

// Why UserConfigFolder() is empty, naming the variable the system reads it
// from: "HOME is not set", or on Windows "APPDATA is not an absolute path".
std::wstring WhyNoUserConfigFolder();

// The program's own folder inside UserConfigFolder(), named as each system's
// programs name theirs.
#ifdef _WIN32
inline constexpr wchar_t kProgramConfigFolder[] = L"Velmora\\";
#else
inline constexpr wchar_t kProgramConfigFolder[] = L"velmora/";
#endif

// Whether the program can create and replace files in `folder`.
bool IsFolderWritable(const std::wstring& folder);

// Whether `folder` is the user's alone: theirs or the administrator's, and
// writable by no other user, who could otherwise put files or links in it.
bool IsFolderPrivate(const std::wstring& folder);

// Makes `folder` and any missing folders above it, open to their owner alone;
// returns whether it is there afterwards. When it is not, the system's last
// error is why the first folder that could not be made was not.
bool CreateFolders(const std::wstring& folder);
