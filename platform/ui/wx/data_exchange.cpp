// SPDX-License-Identifier: MIT
#include "platform/ui/data_exchange.h"
#include "platform/ui/wx/dialog_window.h"
#include "platform/ui/wx/time_picker.h"

#include <wx/calctrl.h>
#include <wx/checkbox.h>
#include <wx/textctrl.h>

namespace {

template <class Control> Control* Find(CDataExchange* pDX, int id)
{
    Control* control = dynamic_cast<Control*>(WindowOf(pDX->m_pDlgWnd->GetDlgItem(id)));
    wxASSERT_MSG(control, "no control of that kind with that id");
    return control;
}

template <class Control> Control* Of(HWND hWnd)
{
    return dynamic_cast<Control*>(WindowOf(hWnd));
}

} // namespace

void CEdit::SetWindowText(const std::wstring& text)
{
    if (auto* edit = Of<wxTextCtrl>(m_hWnd))
        edit->ChangeValue(text);
}

std::wstring CEdit::GetWindowText() const
{
    auto* edit = Of<wxTextCtrl>(m_hWnd);
    return edit ? edit->GetValue().ToStdWstring() : std::wstring();
}

BOOL CMonthCalCtrl::GetCurSel(SYSTEMTIME& selection) const
{
    auto* calendar = Of<wxCalendarCtrlBase>(m_hWnd);
    if (!calendar || !calendar->GetDate().IsValid())
        return FALSE;
    const wxDateTime date = calendar->GetDate();
    selection = SYSTEMTIME{static_cast<std::uint16_t>(date.GetYear()), static_cast<std::uint16_t>(date.GetMonth() + 1),
        static_cast<std::uint16_t>(date.GetWeekDay()), static_cast<std::uint16_t>(date.GetDay()), 0, 0, 0, 0};
    return TRUE;
}

BOOL CMonthCalCtrl::SetCurSel(const SYSTEMTIME& date)
{
    auto* calendar = Of<wxCalendarCtrlBase>(m_hWnd);
    if (!calendar || date.wMonth < 1 || date.wMonth > 12)
        return FALSE;
    const auto month = static_cast<wxDateTime::Month>(date.wMonth - 1);
    const int year = date.wYear;
    if (date.wDay < 1 || date.wDay > wxDateTime::GetNumberOfDays(month, year))
        return FALSE;
    return calendar->SetDate(wxDateTime(static_cast<wxDateTime::wxDateTime_t>(date.wDay), month, year));
}

void DDX_Control(CDataExchange* pDX, int id, CEdit& control)
{
    if (!control.m_hWnd)
        control.m_hWnd = HandleOf(Find<wxTextCtrl>(pDX, id));
}

void DDX_Control(CDataExchange* pDX, int id, CMonthCalCtrl& control)
{
    if (!control.m_hWnd)
        control.m_hWnd = HandleOf(Find<wxCalendarCtrlBase>(pDX, id));
}

void DDX_Check(CDataExchange* pDX, int id, BOOL& value)
{
    wxCheckBox* box = Find<wxCheckBox>(pDX, id);
    if (!box)
        return;
    if (pDX->m_bSaveAndValidate)
        value = box->GetValue() ? 1 : 0;
    else
        box->SetValue(value != 0);
}

void DDX_DateTimeCtrl(CDataExchange* pDX, int id, CTime& value)
{
    TimePicker* picker = Find<TimePicker>(pDX, id);
    if (!picker)
        return;
    if (pDX->m_bSaveAndValidate) {
        int hour = 0, minute = 0, second = 0;
        picker->GetTime(&hour, &minute, &second);
        const wxDateTime& date = picker->m_pushedDate;
        SYSTEMTIME local{static_cast<std::uint16_t>(date.GetYear()), static_cast<std::uint16_t>(date.GetMonth() + 1), 0,
            static_cast<std::uint16_t>(date.GetDay()), static_cast<std::uint16_t>(hour),
            static_cast<std::uint16_t>(minute), static_cast<std::uint16_t>(second), 0};
        value = CTime(local);
    } else {
        const SYSTEMTIME local = value.GetAsSystemTime();
        picker->m_pushedDate = wxDateTime(static_cast<wxDateTime::wxDateTime_t>(local.wDay),
            static_cast<wxDateTime::Month>(local.wMonth - 1), static_cast<int>(local.wYear));
        picker->SetTime(local.wHour, local.wMinute, local.wSecond);
    }
}
