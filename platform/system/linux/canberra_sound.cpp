// SPDX-License-Identifier: MIT
#include "platform/system/linux/canberra_sound.h"
#include "platform/system/chime.h"
#include "platform/system/linux/canberra_library.h"
#include "text/utf8_path.h"

#include <exception>
#include <memory>
#include <semaphore>
#include <string>
#include <thread>

// Each sound gets a thread of its own that creates a canberra context, plays,
// waits for the end and destroys the context. Opening a context may connect
// to a sound server, start one, or wait for one, so none of it happens on the
// caller's thread.

namespace {

// The end of one sound. canberra calls OnFinished on a thread of its own and
// allows nothing there but waking someone up.
struct Playback
{
    std::binary_semaphore done{0};
    int error = CA_SUCCESS;
};

void OnFinished(ca_context*, uint32_t, int error, void* userdata)
{
    auto* playback = static_cast<Playback*>(userdata);
    playback->error = error;
    playback->done.release();
}

struct ContextDeleter
{
    void operator()(ca_context* context) const
    {
        const std::lock_guard lock(CanberraDriverLock());
        LoadCanberra().context_destroy(context);
    }
};
struct ProplistDeleter
{
    void operator()(ca_proplist* props) const { LoadCanberra().proplist_destroy(props); }
};
using Context = std::unique_ptr<ca_context, ContextDeleter>;
using Proplist = std::unique_ptr<ca_proplist, ProplistDeleter>;

// Plays one sound to its end and returns canberra's code for it. `key` is
// either the file name or the theme's event id, never both: given both,
// canberra plays the theme's sound and the file only when the theme lacks it.
int PlayToEnd(ca_context* context, const char* key, const std::string& value, Playback& playback)
{
    const CanberraLibrary& ca = LoadCanberra();
    ca_proplist* raw = nullptr;
    int error = ca.proplist_create(&raw);
    if (error != CA_SUCCESS)
        return error;
    const Proplist props(raw);
    // File names are bytes and need not be UTF-8, so the name goes in as
    // data with its terminating zero rather than as text.
    error = ca.proplist_set(raw, key, value.c_str(), value.size() + 1);
    if (error == CA_SUCCESS)
        error = ca.proplist_sets(raw, CA_PROP_MEDIA_ROLE, "event");
    if (error == CA_SUCCESS)
        error = ca.context_play_full(context, 0, raw, OnFinished, &playback);
    if (error != CA_SUCCESS)
        return error;
    playback.done.acquire();
    return playback.error;
}

SoundOutcome Play(const std::string& path)
{
    SoundOutcome outcome;

    // Declared before the context: destroying the context ends any sound
    // still playing and calls OnFinished, which must find these alive.
    Playback file;
    Playback bell;

    const CanberraLibrary& ca = LoadCanberra();
    if (!ca.loaded) {
        outcome.fileError = outcome.bellError = CA_ERROR_NOTAVAILABLE;
        return outcome;
    }
    ca_context* raw = nullptr;
    int error = ca.context_create(&raw);
    const Context context(raw);
    if (error == CA_SUCCESS)
        error = ca.context_change_props(raw, CA_PROP_APPLICATION_NAME, "Velmora", nullptr);
    if (error == CA_SUCCESS) {
        const std::lock_guard lock(CanberraDriverLock());
        error = ca.context_open(raw);
    }
    if (error != CA_SUCCESS) {
        // No sound system: neither the file nor the bell can play.
        outcome.fileError = outcome.bellError = error;
        return outcome;
    }
    KeepCanberraDriversLoaded();
    QuietAlsa();

    outcome.fileError = PlayToEnd(raw, CA_PROP_MEDIA_FILENAME, path, file);
    if (outcome.fileError == CA_SUCCESS) {
        outcome.played = SoundOutcome::Played::File;
        return outcome;
    }
    // The file is missing, not a sound, or unreadable: the user still hears
    // that the program started, in the desktop's own voice.
    outcome.bellError = PlayToEnd(raw, CA_PROP_EVENT_ID, "bell", bell);
    if (outcome.bellError == CA_SUCCESS)
        outcome.played = SoundOutcome::Played::Bell;
    return outcome;
}

void PlayInBackground(const std::string& path) noexcept
{
    const SoundOutcome outcome = Play(path);
    SoundsPlaying::Get().Finished(&outcome);
}

} // namespace

void PlayChime(const std::wstring& path)
{
    SoundsPlaying::Get().Started();
    try {
        std::thread(PlayInBackground, ToNativePath(path)).detach();
    } catch (const std::exception&) {
        // Without a thread there is no sound, and the caller goes on as on a
        // machine without sound.
        SoundsPlaying::Get().Finished(nullptr);
    }
}

bool WaitForSound(std::chrono::milliseconds timeout)
{
    return SoundsPlaying::Get().WaitUntilNone(timeout);
}

SoundOutcome LastSoundOutcome()
{
    return SoundsPlaying::Get().Last();
}
