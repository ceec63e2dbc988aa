// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// Starts playing the sound file at `path` in the background and returns at
// once; when the file cannot be played, the system's own alert sounds. A
// machine without sound plays nothing and says nothing.
void PlayChime(const std::wstring& path);
