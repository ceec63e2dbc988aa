// SPDX-License-Identifier: MIT
#include "platform/ui/wx/destroyed_outside.h"
#include "platform/ui/wx/dialog_window.h"
#include "platform/ui/wx/native_window.h"

DestroyedOutside::DestroyedOutside(wxDialog& window)
    : m_window(window)
{ }

void DestroyedOutside::Watch()
{
    CallWhenDestroyedOutside(&m_window, [this] { OnDestroyed(); });
}

void DestroyedOutside::Initialised()
{
    m_bInitialised = true;
    EndOnceGone();
}

void DestroyedOutside::OwnedRunEnded()
{
    EndOnceGone();
}

void DestroyedOutside::OnDestroyed()
{
    m_bGone = true;
    bool owns = false;
    for (wxWindow* child : m_window.GetChildren()) {
        if (auto* owned = dynamic_cast<DialogWindow*>(child); owned && owned->IsModal()) {
            owned->Close();
            owns = true;
        }
    }
    if (!owns)
        EndOnceGone();
}

void DestroyedOutside::EndOnceGone()
{
    if (m_bGone && m_bInitialised)
        m_window.CallAfter([this] {
            if (m_window.IsModal())
                m_window.Close();
        });
}
