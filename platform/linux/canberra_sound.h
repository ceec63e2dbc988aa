#pragma once

#include <chrono>
#include <string>

// Plays the sound file at `path` in the background through the desktop's
// sound server, or the sound theme's "bell" when the file cannot be played.
// Returns at once; a machine without sound plays nothing and says nothing.
void CanberraPlaySound(const std::wstring& path);

// What became of a sound, as canberra reported it. The errors are canberra's
// codes (CA_ERROR_*), 0 when that sound played or was not needed.
struct SoundOutcome
{
    enum class Played
    {
        Nothing,
        File,
        Bell
    };
    Played played = Played::Nothing;
    int fileError = 0;
    int bellError = 0;
};

// For tests and measurements; the program itself never waits for a sound.
// Waits until every sound started so far has finished playing, or failed;
// false when `timeout` passed first.
bool WaitForSound(std::chrono::milliseconds timeout);
// The outcome of the sound that finished last.
SoundOutcome LastSoundOutcome();
