// SPDX-License-Identifier: MIT
#include "platform/system/chime.h"
#include "platform/system/windows/windows_api.h"

#include <mmsystem.h>

void PlayChime(const std::wstring& path)
{
    // With SND_ASYNC the file may be opened only after PlaySoundW has
    // returned, so a missing one is caught here first. SND_NODEFAULT keeps a
    // failure from playing the default sound on top of the beep below.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    const bool file = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (!file || !::PlaySoundW(path.c_str(), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT))
        ::MessageBeep(MB_OK);
}
