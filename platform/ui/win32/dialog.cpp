// SPDX-License-Identifier: MIT
// CDialog over the system's dialog windows, DialogWindow.
#include "platform/ui/dialog.h"
#include "platform/ui/win32/dialog_window.h"
#include "platform/ui/win32/main_window.h"

CDialog::CDialog(int nIDTemplate, CDialog* pParentWnd)
    : m_pTemplate(FindDialogTemplate(nIDTemplate))
    , m_pParentWnd(pParentWnd)
    , m_pWnd(std::make_unique<DialogWindow>(*this))
{ }

CDialog::~CDialog() = default;

void CDialog::CreateFromTemplate()
{
    m_pWnd->Build();
}

int CDialog::DoModal()
{
    // A window opened without an owner belongs to the main window, unless it
    // is the main window.
    HWND owner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : MainWindowHandle();
    return m_pWnd->Run(owner);
}

void CDialog::EndDialog(int nResult)
{
    m_pWnd->End(nResult);
}

HWND CDialog::GetSafeHwnd() const
{
    return m_pWnd->Handle();
}

HWND CDialog::GetDlgItem(int id) const
{
    return m_pWnd->Handle() ? ::GetDlgItem(m_pWnd->Handle(), id) : nullptr;
}

void CDialog::EnableDlgItem(int id, BOOL bEnable)
{
    if (HWND item = GetDlgItem(id))
        ::EnableWindow(item, bEnable != 0);
}

void CDialog::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    if (m_pWnd->Handle() && hIcon)
        ::SendMessageW(m_pWnd->Handle(), WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
}

void CDialog::MoveTo(int x, int y)
{
    if (m_pWnd->Handle())
        ::SetWindowPos(m_pWnd->Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialog::MoveToFrontAt(int x, int y)
{
    if (m_pWnd->Handle())
        ::SetWindowPos(m_pWnd->Handle(), HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

void CDialog::AfterFirstPaint(std::function<void()> work)
{
    m_pWnd->AddAfterFirstPaint(std::move(work));
}

void CDialog::PlaceByTemplate()
{
    // DialogBoxIndirectParamW places the window as its template says.
}
