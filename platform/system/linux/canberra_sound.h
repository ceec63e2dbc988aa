// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/linux/sounds_playing.h"

#include <chrono>
#include <string>

// PlayChime (platform/system/chime.h) plays through the desktop's sound
// server, or the sound theme's "bell" when the file cannot be played.

// For tests and measurements; the program itself never waits for a sound.
// Waits until every sound started so far has finished playing, or failed;
// false when `timeout` passed first.
bool WaitForSound(std::chrono::milliseconds timeout);
// The outcome of the sound that finished last.
SoundOutcome LastSoundOutcome();
