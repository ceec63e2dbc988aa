// SPDX-License-Identifier: MIT
#include "platform/system/linux/canberra_library.h"

#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

const CanberraLibrary& LoadCanberra()
{
    static const CanberraLibrary api = [] {
        CanberraLibrary c;
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

std::mutex& CanberraDriverLock()
{
    // Never destroyed: a sound thread may still use it while the process ends.
    static std::mutex* const lock = new std::mutex;
    return *lock;
}

void KeepCanberraDriversLoaded()
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

    static std::mutex* const keptLock = new std::mutex;
    static auto* const kept = new std::vector<std::string>;
    for (const std::string& name : loaded) {
        {
            const std::lock_guard lock(*keptLock);
            if (std::find(kept->begin(), kept->end(), name) != kept->end())
                continue;
            kept->push_back(name);
        }
        // Loading takes the loader's lock, so not under our own.
        ::dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    }
}

namespace {

void DropAlsaMessage(const char*, int, const char*, int, const char*, ...)
{ }

} // namespace

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
