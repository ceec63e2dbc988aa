// SPDX-License-Identifier: MIT
#include "platform/ui/wx/dialog_window.h"
#include "platform/ui/wx/native_window.h"
#include "platform/ui/wx/template_control.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/calctrl.h>

namespace {

long WindowStyle(const DialogTemplate& t)
{
    long style = 0;
    if (t.style & DS_CAPTION_CLOSE)
        style |= wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU;
    if (t.style & DS_POPUP_BORDER)
        style |= wxBORDER_SIMPLE;
    if (t.style & DS_APPWINDOW)
        style |= wxDIALOG_NO_PARENT;
    return style;
}

} // namespace

DialogWindow::DialogWindow(CDialog& dlg)
    : m_firstPaint(*this, m_afterFirstPaint)
    , m_destroyedOutside(*this)
    , m_dlg(dlg)
{ }

void DialogWindow::Build()
{
    if (m_bBuilt)
        return;
    m_bBuilt = true;
    const DialogTemplate& t = m_dlg.Template();
    // The main window has no owner; every other window belongs to its owner
    // or, without one, to the main window.
    wxWindow* parent = m_dlg.m_pParentWnd ? WindowOf(m_dlg.m_pParentWnd->GetSafeHwnd()) : nullptr;
    if (!parent && !(t.style & DS_APPWINDOW))
        parent = wxTheApp->GetTopWindow();
    // Giving an owned window a position at once keeps the toolkit from
    // centring it on its owner when it is shown.
    const wxPoint start = parent && !(t.style & DS_CENTER) ? parent->GetScreenPosition() : wxDefaultPosition;
    Create(parent, wxID_ANY, t.caption, start, wxDefaultSize, WindowStyle(t));
    LeaveHiddenControlsUnseen(this);
    FrameFocusedControls(this);
    if (t.accessibleName)
        SetAccessibleName(this, t.accessibleName);

    // Dialog units follow the window's font, which every control inherits.
    // The desktop's own face stands in for "System", at the template's size.
    wxFont font = *wxNORMAL_FONT;
    font.SetPointSize(t.fontPointSize);
    SetFont(font);
    SetClientSize(ConvertDialogToPixels(wxSize(t.cx, t.cy)));
    for (const ControlTemplate& control : t.controls)
        CreateTemplateControl(this, control);

    // Mapped where the template puts it, the window need not be moved there
    // once it is on the screen, which would show it in the wrong place for an
    // instant and cost its first paint a few milliseconds.
    m_dlg.PlaceByTemplate();
    KeepGivenPlace(this);
    BindEvents();
}

void DialogWindow::PlaceByTemplate()
{
    const DialogTemplate& t = m_dlg.Template();
    if (t.style & DS_CENTER)
        Centre(wxBOTH);
    else if (wxWindow* owner = GetParent())
        Move(owner->GetScreenPosition() + ConvertDialogToPixels(wxPoint(t.x, t.y)));
}

void DialogWindow::BindEvents()
{
    Bind(wxEVT_INIT_DIALOG, &DialogWindow::OnInitDialogEvent, this);
    Bind(wxEVT_CHAR_HOOK, &DialogWindow::OnCharHook, this);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { m_dlg.OnCancel(); });
    m_destroyedOutside.Watch();
    Bind(wxEVT_BUTTON, [this](wxCommandEvent& e) { m_dlg.OnNotify(BN_CLICKED, e.GetId()); });
    Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) { m_dlg.OnNotify(BN_CLICKED, e.GetId()); });
    Bind(wxEVT_CALENDAR_SEL_CHANGED, [this](wxCalendarEvent& e) { m_dlg.OnNotify(MCN_SELCHANGE, e.GetId()); });
}

void DialogWindow::OnInitDialogEvent(wxInitDialogEvent&)
{
    const BOOL bFocusFirst = m_dlg.OnInitDialog();
    m_destroyedOutside.Initialised();
    if (!bFocusFirst)
        return;
    for (wxWindow* child : GetChildren()) {
        if (child->IsShown() && child->IsEnabled() && child->CanAcceptFocus()) {
            child->SetFocus();
            break;
        }
    }
}

void DialogWindow::OnCharHook(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    if (key == WXK_ESCAPE) {
        m_dlg.OnCancel();
        return;
    }
    // Enter clicks the focused push button, or the OK command when no push
    // button has the focus. A plain dynamic_cast: wxDynamicCast static_casts
    // the window to a button before it checks, which is undefined for a check box.
    if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && !dynamic_cast<wxButton*>(FindFocus())) {
        m_dlg.OnNotify(BN_CLICKED, IDOK);
        return;
    }
    event.Skip();
}
