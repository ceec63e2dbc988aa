// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/windows/windows_api.h"
#include "platform/ui/dialog.h"
#include "platform/ui/first_paint_queue.h"

#include <cstdint>
#include <functional>
#include <vector>

// The system's window of a CDialog, built from its template as an in-memory
// DLGTEMPLATEEX and run by DialogBoxIndirectParamW. It passes the controls'
// notifications and its own events (initialisation, Escape, Enter, the close
// box) to the CDialog.
class DialogWindow
{
public:
    explicit DialogWindow(CDialog& dlg)
        : m_dlg(dlg)
    { }

    // Makes the template's bytes, once.
    void Build();
    // Runs the window modally, owned by `owner`; returns its result.
    int Run(HWND owner);
    void End(int nResult);
    HWND Handle() const { return m_hWnd; }

    // Work for after the first paint; all of it runs when the window ends.
    void AddAfterFirstPaint(std::function<void()> work);
    void RunAfterFirstPaint();

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnInit();

    CDialog& m_dlg;
    HWND m_hWnd = nullptr;
    std::vector<std::uint16_t> m_template;
    FirstPaintQueue m_afterFirstPaint;
};
