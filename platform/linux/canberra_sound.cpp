#include "platform/linux/canberra_sound.h"
#include "platform/native_path.h"

#include <canberra.h>
#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <semaphore>
#include <string>
#include <string_view>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

// Each sound gets a thread of its own that creates a canberra context, plays,
// waits for the end and destroys the context. Opening a context may connect
// to a sound server, start one, or wait for one, so none of it happens on the
// caller's thread.

namespace {

// canberra is loaded by the first sound, on that sound's thread. Were it
// linked to the program, it and the five libraries it needs would be mapped
// and relocated, and searched through for every symbol the toolkit looks up,
// on every start and before the first paint, chime or no chime. Without the
// library there is no sound, as on a machine without a sound system.
struct Canberra
{
    decltype(&ca_context_create) context_create = nullptr;
    decltype(&ca_context_change_props) context_change_props = nullptr;
    decltype(&ca_context_open) context_open = nullptr;
    decltype(&ca_context_destroy) context_destroy = nullptr;
    decltype(&ca_context_play_full) context_play_full = nullptr;
    decltype(&ca_proplist_create) proplist_create = nullptr;
    decltype(&ca_proplist_destroy) proplist_destroy = nullptr;
    decltype(&ca_proplist_set) proplist_set = nullptr;
    decltype(&ca_proplist_sets) proplist_sets = nullptr;
    bool loaded = false;
};

// Loaded once and never unloaded; nullptr members and `loaded` false when the
// library or one of its functions is missing.
const Canberra& LoadCanberra()
{
    static const Canberra api = [] {
        Canberra c;
        void* library = ::dlopen("libcanberra.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return c;
        bool all = true;
        const auto find = [&](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(::dlsym(library, name));
            all = all && function;
        };
        find(c.context_create, "ca_context_create");
        find(c.context_change_props, "ca_context_change_props");
        find(c.context_open, "ca_context_open");
        find(c.context_destroy, "ca_context_destroy");
        find(c.context_play_full, "ca_context_play_full");
        find(c.proplist_create, "ca_proplist_create");
        find(c.proplist_destroy, "ca_proplist_destroy");
        find(c.proplist_set, "ca_proplist_set");
        find(c.proplist_sets, "ca_proplist_sets");
        c.loaded = all;
        return c;
    }();
    return api;
}

// What the workers share with WaitForSound. It is made once and never
// destroyed, so a worker still running while the process exits does not
// touch a destroyed object.
struct SoundBoard
{
    std::mutex mutex;
    std::condition_variable idle;
    int running = 0;
    SoundOutcome last;
    std::vector<std::string> kept; // driver modules held loaded
    // canberra loads and unloads its drivers through libltdl when a context
    // is opened and destroyed, and libltdl is not safe to use from two
    // threads at once.
    std::mutex drivers;
};

SoundBoard& Board()
{
    static SoundBoard* const board = new SoundBoard;
    return *board;
}

void FinishOne(const SoundOutcome* outcome)
{
    SoundBoard& board = Board();
    const std::lock_guard lock(board.mutex);
    if (outcome)
        board.last = *outcome;
    if (--board.running == 0)
        board.idle.notify_all();
}

// canberra loads its sound driver as a module for each context and unloads
// it when the context is destroyed, while the driver's player thread may
// still be on its way out through the module's code. A reference of our own
// keeps each driver module, and the sound libraries it uses, loaded for the
// life of the process.
void KeepDriversLoaded()
{
    std::vector<std::string> loaded;
    ::dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* names) {
            const std::string_view name = info->dlpi_name ? info->dlpi_name : "";
            const std::string_view base = name.substr(name.rfind('/') + 1);
            if (base.starts_with("libcanberra-"))
                static_cast<std::vector<std::string>*>(names)->emplace_back(name);
            return 0;
        },
        &loaded);

    SoundBoard& board = Board();
    for (const std::string& name : loaded) {
        {
            const std::lock_guard lock(board.mutex);
            if (std::find(board.kept.begin(), board.kept.end(), name) != board.kept.end())
                continue;
            board.kept.push_back(name);
        }
        // Loading here takes the loader's lock, so not under the board's.
        ::dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    }
}

// alsa-lib prints its own errors, such as a missing sound card, on stderr.
// A machine without sound should say nothing, so once canberra has loaded
// alsa-lib those messages are dropped. alsa-lib is never loaded just for this,
// and what loaded it stays loaded, so the setting lasts.
void DropAlsaMessage(const char*, int, const char*, int, const char*, ...)
{ }

void QuietAlsa()
{
    static std::atomic<bool> quiet{false};
    if (quiet.load())
        return;
    void* alsa = ::dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (!alsa)
        return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(::dlsym(alsa, "snd_lib_error_set_handler"))) {
        set(DropAlsaMessage);
        quiet.store(true);
    }
    ::dlclose(alsa);
}

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
        const std::lock_guard lock(Board().drivers);
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
    const Canberra& ca = LoadCanberra();
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

    const Canberra& ca = LoadCanberra();
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
        const std::lock_guard lock(Board().drivers);
        error = ca.context_open(raw);
    }
    if (error != CA_SUCCESS) {
        // No sound system: neither the file nor the bell can play.
        outcome.fileError = outcome.bellError = error;
        return outcome;
    }
    KeepDriversLoaded();
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
    FinishOne(&outcome);
}

} // namespace

void CanberraPlaySound(const std::wstring& path)
{
    SoundBoard& board = Board();
    {
        const std::lock_guard lock(board.mutex);
        ++board.running;
    }
    try {
        std::thread(PlayInBackground, ToNativePath(path)).detach();
    } catch (const std::exception&) {
        // Without a thread there is no sound, and the caller goes on as on a
        // machine without sound.
        FinishOne(nullptr);
    }
}

bool WaitForSound(std::chrono::milliseconds timeout)
{
    SoundBoard& board = Board();
    std::unique_lock lock(board.mutex);
    return board.idle.wait_for(lock, timeout, [&] { return board.running == 0; });
}

SoundOutcome LastSoundOutcome()
{
    SoundBoard& board = Board();
    const std::lock_guard lock(board.mutex);
    return board.last;
}
