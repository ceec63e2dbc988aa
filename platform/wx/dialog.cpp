// SPDX-License-Identifier: MIT
#include "platform/wx/dialog.h"
#include "platform/wx/native_window.h"
#include "platform/wx/template_control.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/calctrl.h>

#include <utility>

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

CDialog::CDialog(int nIDTemplate, CDialog* pParentWnd)
    : m_pTemplate(FindDialogTemplate(nIDTemplate))
    , m_pParentWnd(pParentWnd)
    , m_paintTimeout(this)
{
    wxASSERT_MSG(m_pTemplate, "no such window template");
}

void CDialog::CreateFromTemplate()
{
    if (m_bCreated)
        return;
    m_bCreated = true;
    const DialogTemplate& t = *m_pTemplate;
    // The main window has no owner; every other window belongs to its owner
    // or, without one, to the main window.
    wxWindow* parent = m_pParentWnd;
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
    PlaceByTemplate();
    KeepGivenPlace(this);
    BindEvents();
}

void CDialog::BindEvents()
{
    Bind(wxEVT_INIT_DIALOG, &CDialog::OnInitDialogEvent, this);
    Bind(wxEVT_CHAR_HOOK, &CDialog::OnCharHook, this);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { OnCancel(); });
    CallWhenDestroyedOutside(this, [this] { OnDestroyedOutside(); });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent& e) { OnNotify(BN_CLICKED, e.GetId()); });
    Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) { OnNotify(BN_CLICKED, e.GetId()); });
    Bind(wxEVT_CALENDAR_SEL_CHANGED, [this](wxCalendarEvent& e) { OnNotify(MCN_SELCHANGE, e.GetId()); });
    Bind(wxEVT_PAINT, &CDialog::OnPaint, this);
    const auto onPaintTimeout = [this](wxTimerEvent&) { RunAfterPaintWork(); };
    Bind(wxEVT_TIMER, onPaintTimeout, m_paintTimeout.GetId());
}

int CDialog::DoModal()
{
    CreateFromTemplate();
    const int result = ShowModal();
    // The run is back with the owner, whose window may have gone meanwhile.
    if (auto* owner = dynamic_cast<CDialog*>(GetParent()))
        owner->EndOnceGone();
    return result;
}

void CDialog::EndDialog(int nResult)
{
    RunAfterPaintWork();
    // A test may stand in for the modal run; then there is nothing to end.
    if (IsModal())
        EndModal(nResult);
    else
        SetReturnCode(nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

wxWindow* CDialog::GetDlgItem(int id) const
{
    return FindWindow(id);
}

void CDialog::EnableDlgItem(int id, BOOL bEnable)
{
    if (wxWindow* item = GetDlgItem(id))
        item->Enable(bEnable != 0);
}

void CDialog::SetIcon(HICON hIcon, BOOL /*bBigIcon*/)
{
    // The bundle holds both sizes; the desktop picks the one it needs.
    if (hIcon)
        SetIcons(*hIcon);
}

void CDialog::MoveToFrontAt(int x, int y)
{
    Move(x, y);
    Raise();
    // Initialisation runs while the window is being shown already.
    if (!IsShown())
        Show();
}

void CDialog::AfterFirstPaint(std::function<void()> work)
{
    // A hidden window is not drawn, so there is nothing to wait for.
    if (m_bPainted || !IsShown()) {
        work();
        return;
    }
    m_afterPaint.push_back(std::move(work));
    if (!m_paintTimeout.IsRunning())
        m_paintTimeout.StartOnce(1000);
}

void CDialog::OnPaint(wxPaintEvent& event)
{
    event.Skip();
    if (m_bPaintSeen)
        return;
    m_bPaintSeen = true;
    // The toolkit finishes the frame and sends it before it is idle again;
    // Update then waits until the display has drawn it (a round trip to the
    // X server on GTK).
    CallAfter([this] {
        Update();
        m_bPainted = true;
        RunAfterPaintWork();
    });
}

void CDialog::RunAfterPaintWork()
{
    m_paintTimeout.Stop();
    for (const auto& work : std::exchange(m_afterPaint, {}))
        work();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::PlaceByTemplate()
{
    const DialogTemplate& t = *m_pTemplate;
    if (t.style & DS_CENTER)
        Centre(wxBOTH);
    else if (wxWindow* owner = GetParent())
        Move(owner->GetScreenPosition() + ConvertDialogToPixels(wxPoint(t.x, t.y)));
}

void CDialog::OnInitDialogEvent(wxInitDialogEvent&)
{
    const BOOL bFocusFirst = OnInitDialog();
    // Destroyed while it initialised, its run ends as soon as it starts.
    m_bInitialised = true;
    EndOnceGone();
    if (!bFocusFirst)
        return;
    for (wxWindow* child : GetChildren()) {
        if (child->IsShown() && child->IsEnabled() && child->CanAcceptFocus()) {
            child->SetFocus();
            break;
        }
    }
}

void CDialog::OnDestroyedOutside()
{
    m_bGone = true;
    // The windows it owns that run above it are cancelled first; it ends
    // itself once the run is back with it (DoModal).
    bool owns = false;
    for (wxWindow* child : GetChildren()) {
        if (auto* owned = dynamic_cast<CDialog*>(child); owned && owned->IsModal()) {
            owned->Close();
            owns = true;
        }
    }
    if (!owns)
        EndOnceGone();
}

void CDialog::EndOnceGone()
{
    // Its run starts once initialisation is over, which may show windows of
    // its own; ending the run before it has started would not stop it.
    if (m_bGone && m_bInitialised)
        CallAfter([this] {
            if (IsModal())
                Close();
        });
}

void CDialog::OnCharHook(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    if (key == WXK_ESCAPE) {
        OnCancel();
        return;
    }
    // Enter clicks the focused push button, or the OK command when no push
    // button has the focus. A plain dynamic_cast: wxDynamicCast static_casts
    // the window to a button before it checks, which is undefined for a check box.
    if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && !dynamic_cast<wxButton*>(FindFocus())) {
        OnNotify(BN_CLICKED, IDOK);
        return;
    }
    event.Skip();
}
