// SPDX-License-Identifier: MIT
#include "platform/ui/win32/accessible_name.h"

#include <initguid.h>
#include <oleacc.h>

void SetAccessibleName(HWND hWnd, const wchar_t* name)
{
    if (!hWnd || !name)
        return;
    IAccPropServices* services = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
            reinterpret_cast<void**>(&services))))
        return;
    // The name lives as long as the window; the system drops it with it.
    services->SetHwndPropStr(hWnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME, name);
    services->Release();
}
