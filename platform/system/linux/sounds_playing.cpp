// SPDX-License-Identifier: MIT
#include "platform/system/linux/sounds_playing.h"

SoundsPlaying& SoundsPlaying::Get()
{
    static SoundsPlaying* const sounds = new SoundsPlaying;
    return *sounds;
}

void SoundsPlaying::Started()
{
    const std::lock_guard lock(m_mutex);
    ++m_nPlaying;
}

void SoundsPlaying::Finished(const SoundOutcome* outcome)
{
    const std::lock_guard lock(m_mutex);
    if (outcome)
        m_last = *outcome;
    if (--m_nPlaying == 0)
        m_none.notify_all();
}

bool SoundsPlaying::WaitUntilNone(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_none.wait_for(lock, timeout, [&] { return m_nPlaying == 0; });
}

SoundOutcome SoundsPlaying::Last()
{
    const std::lock_guard lock(m_mutex);
    return m_last;
}
