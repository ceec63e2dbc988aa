// SPDX-License-Identifier: MIT
#pragma once

#include <canberra.h>

#include <mutex>

// libcanberra's functions, looked up when the first sound plays. Were the
// library linked to the program, it and the five libraries it needs would be
// mapped and relocated, and searched through for every symbol the toolkit
// looks up, on every start and before the first paint, chime or no chime.
struct CanberraLibrary
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
// library or one of its functions is missing, as on a machine without sound.
const CanberraLibrary& LoadCanberra();

// canberra loads and unloads its drivers through libltdl when a context is
// opened and destroyed, and libltdl is not safe to use from two threads at
// once: hold this while doing either.
std::mutex& CanberraDriverLock();

// canberra loads its sound driver as a module for each context and unloads
// it when the context is destroyed, while the driver's player thread may
// still be on its way out through the module's code. Called with a context
// open, this keeps each driver module, and the sound libraries it uses,
// loaded for the life of the process.
void KeepCanberraDriversLoaded();

// alsa-lib prints its own errors, such as a missing sound card, on stderr.
// A machine without sound should say nothing, so once canberra has loaded
// alsa-lib this drops those messages. alsa-lib is never loaded just for
// this, and what loaded it stays loaded, so the setting lasts.
void QuietAlsa();
