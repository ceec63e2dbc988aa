// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/point_in_time.h"
#include "platform/ui/dialog.h"

#include <string>

// A control bound to a field once by DDX_Control; m_hWnd is its handle.
class CEdit
{
public:
    void SetWindowText(const std::wstring& text);
    std::wstring GetWindowText() const;
    HWND m_hWnd = nullptr;
};

class CMonthCalCtrl
{
public:
    // The selected date; FALSE when nothing is selected.
    BOOL GetCurSel(SYSTEMTIME& selection) const;
    // Selects `date` (its time of day and day of week are not looked at)
    // without notifying the change; FALSE when it is no real date.
    BOOL SetCurSel(const SYSTEMTIME& date);
    HWND m_hWnd = nullptr;
};

void DDX_Control(CDataExchange* pDX, int id, CEdit& control);
void DDX_Control(CDataExchange* pDX, int id, CMonthCalCtrl& control);
// A check box exchanges 0 or 1.
void DDX_Check(CDataExchange* pDX, int id, BOOL& value);
// A time picker: a push shows value's time of day and keeps its date; a pull
// gives back that date with the time of day as edited.
void DDX_DateTimeCtrl(CDataExchange* pDX, int id, CTime& value);
