// SPDX-License-Identifier: MIT
#include "platform/ui/images.h"
#include "platform/system/windows/windows_api.h"

HICON LoadIcon(int id)
{
    // The icon group holds every size; the system picks the one it draws.
    return static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}
