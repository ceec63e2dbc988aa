// SPDX-License-Identifier: MIT
#include "platform/ui/data_exchange.h"
#include "platform/system/windows/windows_api.h"

#include <commctrl.h>

void CEdit::SetWindowText(const std::wstring& text)
{
    ::SetWindowTextW(m_hWnd, text.c_str());
}

std::wstring CEdit::GetWindowText() const
{
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(m_hWnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

BOOL CMonthCalCtrl::GetCurSel(SYSTEMTIME& selection) const
{
    return m_hWnd && ::SendMessageW(m_hWnd, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&selection)) ? TRUE : FALSE;
}

BOOL CMonthCalCtrl::SetCurSel(const SYSTEMTIME& date)
{
    SYSTEMTIME day = date;
    day.wHour = day.wMinute = day.wSecond = day.wMilliseconds = 0;
    return m_hWnd && ::SendMessageW(m_hWnd, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&day)) ? TRUE : FALSE;
}

namespace {

HWND Item(CDataExchange* pDX, int id)
{
    return pDX->m_pDlgWnd->GetDlgItem(id);
}

} // namespace

void DDX_Control(CDataExchange* pDX, int id, CEdit& control)
{
    if (!control.m_hWnd)
        control.m_hWnd = Item(pDX, id);
}

void DDX_Control(CDataExchange* pDX, int id, CMonthCalCtrl& control)
{
    if (!control.m_hWnd)
        control.m_hWnd = Item(pDX, id);
}

void DDX_Check(CDataExchange* pDX, int id, BOOL& value)
{
    const HWND box = Item(pDX, id);
    if (!box)
        return;
    if (pDX->m_bSaveAndValidate)
        value = ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    else
        ::SendMessageW(box, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DDX_DateTimeCtrl(CDataExchange* pDX, int id, CTime& value)
{
    const HWND picker = Item(pDX, id);
    if (!picker)
        return;
    // The picker keeps the whole date-time it was given and shows, and lets
    // the user edit, only its time of day.
    SYSTEMTIME local{};
    if (pDX->m_bSaveAndValidate) {
        if (::SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&local)) == GDT_VALID) {
            local.wMilliseconds = 0;
            value = CTime(local);
        }
    } else {
        local = value.GetAsSystemTime();
        ::SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&local));
    }
}
