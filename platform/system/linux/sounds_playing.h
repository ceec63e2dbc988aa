// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

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

// Counts the sounds still playing on threads of their own, so that tests and
// measurements can wait for them; the program itself never waits.
class SoundsPlaying
{
public:
    // The one count, made once and never destroyed, so that a sound thread
    // still running while the process exits does not touch a destroyed object.
    static SoundsPlaying& Get();

    void Started();
    // `outcome` is nullptr for a sound that never began.
    void Finished(const SoundOutcome* outcome);
    // False when `timeout` passed before every sound started so far ended.
    bool WaitUntilNone(std::chrono::milliseconds timeout);
    SoundOutcome Last();

private:
    SoundsPlaying() = default;

    std::mutex m_mutex;
    std::condition_variable m_none;
    int m_nPlaying = 0;
    SoundOutcome m_last;
};
