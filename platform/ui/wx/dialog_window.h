// SPDX-License-Identifier: MIT
#pragma once

#include "platform/ui/dialog.h"
#include "platform/ui/first_paint_queue.h"
#include "platform/ui/wx/destroyed_outside.h"
#include "platform/ui/wx/first_paint_trigger.h"

#include <wx/dialog.h>

// The toolkit's window of a CDialog, built from its template. It passes the
// controls' notifications and its own events (initialisation, Escape,
// Enter, the close box) to the CDialog.
class DialogWindow : public wxDialog
{
public:
    explicit DialogWindow(CDialog& dlg);

    // Builds the window and its controls, once, without showing it.
    void Build();
    // The template's place: centred on the screen, or at the template's
    // place in its owner.
    void PlaceByTemplate();
    CDialog& Dialog() const { return m_dlg; }

    FirstPaintQueue m_afterFirstPaint;
    FirstPaintTrigger m_firstPaint;
    DestroyedOutside m_destroyedOutside;

private:
    void BindEvents();
    void OnInitDialogEvent(wxInitDialogEvent& event);
    void OnCharHook(wxKeyEvent& event);

    CDialog& m_dlg;
    bool m_bBuilt = false;
};

// A window as the program's handles carry it, and back.
inline HWND HandleOf(wxWindow* window)
{
    return window;
}
inline wxWindow* WindowOf(HWND hWnd)
{
    return static_cast<wxWindow*>(hWnd);
}
