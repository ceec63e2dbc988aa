// SPDX-License-Identifier: MIT
#include "platform/ui/win32/dialog_window.h"
#include "platform/ui/win32/accessible_name.h"
#include "platform/ui/win32/calendar_control.h"
#include "platform/ui/win32/dialog_template_ex.h"

#include <commctrl.h>

namespace {

// Posted after the first paint, so that the work waiting for it runs once the
// drawing has gone out.
constexpr UINT kPaintedMessage = WM_APP + 1;
// A window that is shown but never drawn runs its waiting work after this.
constexpr UINT_PTR kPaintTimer = 1;
constexpr UINT kPaintTimeoutMs = 1000;

} // namespace

void DialogWindow::Build()
{
    if (m_template.empty())
        m_template = BuildDialogTemplateEx(m_dlg.Template());
}

int DialogWindow::Run(HWND owner)
{
    Build();
    const INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr),
        reinterpret_cast<LPCDLGTEMPLATEW>(m_template.data()), owner, DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return static_cast<int>(result);
}

void DialogWindow::End(int nResult)
{
    RunAfterFirstPaint();
    if (m_hWnd)
        ::EndDialog(m_hWnd, nResult);
}

void DialogWindow::AddAfterFirstPaint(std::function<void()> work)
{
    if (m_afterFirstPaint.Add(std::move(work), m_hWnd && ::IsWindowVisible(m_hWnd)))
        ::SetTimer(m_hWnd, kPaintTimer, kPaintTimeoutMs, nullptr);
}

void DialogWindow::RunAfterFirstPaint()
{
    if (m_hWnd)
        ::KillTimer(m_hWnd, kPaintTimer);
    m_afterFirstPaint.RunAll();
}

INT_PTR CALLBACK DialogWindow::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<DialogWindow*>(lParam);
        ::SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
        self->m_hWnd = hWnd;
        return self->OnInit();
    }
    auto* self = reinterpret_cast<DialogWindow*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
    return self ? self->OnMessage(message, wParam, lParam) : FALSE;
}

BOOL DialogWindow::OnInit()
{
    SetAccessibleName(m_hWnd, m_dlg.Template().accessibleName);
    for (const ControlTemplate& c : m_dlg.Template().controls) {
        const HWND hControl = ::GetDlgItem(m_hWnd, c.id);
        if (c.id != IDC_STATIC)
            SetAccessibleName(hControl, c.accessibleName);
        if (c.kind == ControlKind::MonthCalendar) {
            FitCalendar(m_hWnd, hControl);
            HandleCalendarKeys(hControl);
        }
    }
    m_dlg.PlaceByTemplate();
    return m_dlg.OnInitDialog();
}

INT_PTR DialogWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        // Escape and the close box come as IDCANCEL.
        if (id == IDCANCEL) {
            m_dlg.OnCancel();
            return TRUE;
        }
        if (HIWORD(wParam) == BN_CLICKED)
            return m_dlg.OnNotify(BN_CLICKED, id) ? TRUE : FALSE;
        return FALSE;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code != MCN_SELCHANGE || !m_dlg.OnNotify(MCN_SELCHANGE, static_cast<int>(header->idFrom)))
            return FALSE;
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, 0);
        return TRUE;
    }
    case WM_PAINT:
        if (!m_afterFirstPaint.Done())
            ::PostMessageW(m_hWnd, kPaintedMessage, 0, 0);
        return FALSE; // the dialog's own painting goes on
    case kPaintedMessage:
        RunAfterFirstPaint();
        return TRUE;
    case WM_TIMER:
        if (wParam != kPaintTimer)
            return FALSE;
        RunAfterFirstPaint();
        return TRUE;
    default:
        return FALSE;
    }
}
