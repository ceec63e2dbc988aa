// SPDX-License-Identifier: MIT
// CDialog over the toolkit's window, DialogWindow.
#include "platform/ui/dialog.h"
#include "platform/ui/wx/dialog_window.h"

#include <wx/iconbndl.h>

CDialog::CDialog(int nIDTemplate, CDialog* pParentWnd)
    : m_pTemplate(FindDialogTemplate(nIDTemplate))
    , m_pParentWnd(pParentWnd)
    , m_pWnd(std::make_unique<DialogWindow>(*this))
{
    wxASSERT_MSG(m_pTemplate, "no such window template");
}

CDialog::~CDialog() = default;

void CDialog::CreateFromTemplate()
{
    m_pWnd->Build();
}

int CDialog::DoModal()
{
    CreateFromTemplate();
    const int result = m_pWnd->ShowModal();
    // The run is back with the owner, whose window may have gone meanwhile.
    if (auto* owner = dynamic_cast<DialogWindow*>(m_pWnd->GetParent()))
        owner->m_destroyedOutside.OwnedRunEnded();
    return result;
}

void CDialog::EndDialog(int nResult)
{
    m_pWnd->m_afterFirstPaint.RunAll();
    // A test may stand in for the modal run; then there is nothing to end.
    if (m_pWnd->IsModal())
        m_pWnd->EndModal(nResult);
    else
        m_pWnd->SetReturnCode(nResult);
}

HWND CDialog::GetSafeHwnd() const
{
    return HandleOf(m_pWnd.get());
}

HWND CDialog::GetDlgItem(int id) const
{
    return HandleOf(m_pWnd->FindWindow(id));
}

void CDialog::EnableDlgItem(int id, BOOL bEnable)
{
    if (wxWindow* item = m_pWnd->FindWindow(id))
        item->Enable(bEnable != 0);
}

void CDialog::SetIcon(HICON hIcon, BOOL /*bBigIcon*/)
{
    // The bundle holds both sizes; the desktop picks the one it needs.
    if (hIcon)
        m_pWnd->SetIcons(*static_cast<const wxIconBundle*>(hIcon));
}

void CDialog::MoveTo(int x, int y)
{
    m_pWnd->Move(x, y);
}

void CDialog::MoveToFrontAt(int x, int y)
{
    MoveTo(x, y);
    m_pWnd->Raise();
    // Initialisation runs while the window is being shown already.
    if (!m_pWnd->IsShown())
        m_pWnd->Show();
}

void CDialog::AfterFirstPaint(std::function<void()> work)
{
    m_pWnd->m_firstPaint.Add(std::move(work));
}

void CDialog::PlaceByTemplate()
{
    m_pWnd->PlaceByTemplate();
}
