// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// Starts playing the WAV file at `path` in the background and returns at
// once; when the file cannot be played, the system's default beep sounds.
void WindowsPlaySound(const std::wstring& path);
