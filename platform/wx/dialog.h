// SPDX-License-Identifier: MIT
#pragma once

#include "platform/dialog_template.h"
#include "platform/point_in_time.h"
#include "platform/types.h"
#include "platform/wx/images.h"

#include <wx/dialog.h>
#include <wx/timer.h>

#include <functional>
#include <string>
#include <vector>

class CDialog;

// Which way a data exchange goes: pull copies controls into fields, push the
// reverse.
class CDataExchange
{
public:
    CDataExchange(CDialog* dialog, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate)
        , m_pDlgWnd(dialog)
    { }
    BOOL m_bSaveAndValidate;
    CDialog* m_pDlgWnd;
};

// The notifications an event table can name.
enum NotifyCode
{
    BN_CLICKED, // push button or check box clicked
    MCN_SELCHANGE, // month calendar's selection changed
};

// A modal window built from a window template. Controls are made in template
// order, which is also their tab order; their events reach OnNotify.
class CDialog : public wxDialog
{
public:
    explicit CDialog(int nIDTemplate, CDialog* pParentWnd = nullptr);

    // Builds the window if needed and runs it modally; returns the result
    // that ended it. A window opened without an owner belongs to the main
    // window.
    int DoModal();
    void EndDialog(int nResult);
    // Pulls (TRUE) or pushes (FALSE) the fields through DoDataExchange.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Builds the window and its controls without showing it.
    void CreateFromTemplate();
    const DialogTemplate& Template() const { return *m_pTemplate; }
    HWND GetSafeHwnd() { return static_cast<wxWindow*>(this); }
    wxWindow* GetDlgItem(int id) const;
    void EnableDlgItem(int id, BOOL bEnable);
    void SetIcon(HICON hIcon, BOOL bBigIcon);
    // Moves the window's top-left corner to (x, y) on the screen, keeping its
    // size, raises it and shows it.
    void MoveToFrontAt(int x, int y);
    // Runs `work` once the window has been drawn and the display has caught
    // up with the drawing, or at once when that has happened already or the
    // window is not shown. For work the user need not wait for, which would
    // otherwise take the processor from the first paint. Work still waiting
    // runs when the window ends, and after a second for a shown window that
    // is never drawn.
    void AfterFirstPaint(std::function<void()> work);

protected:
    // Pushes the fields; returning TRUE puts the focus on the first tab stop.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange*) { }
    // Escape and the close box end the window with IDCANCEL.
    virtual void OnCancel();
    // Handles a control's notification; false when nothing handled it.
    virtual bool OnNotify(NotifyCode, int) { return false; }
    // Puts the window, once created, where it first shows: the template's
    // place. A window that moves itself as it starts says so here, so that it
    // is mapped there rather than moved once it is on the screen.
    virtual void PlaceByTemplate();

    template <class T> struct MessageEntry
    {
        NotifyCode code;
        int id;
        void (T::*handler)();
    };
    template <class T, std::size_t N>
    static bool Dispatch(T* self, const MessageEntry<T> (&table)[N], NotifyCode code, int id)
    {
        for (const MessageEntry<T>& entry : table) {
            if (entry.code == code && entry.id == id) {
                (self->*entry.handler)();
                return true;
            }
        }
        return false;
    }

private:
    void BindEvents();
    void OnInitDialogEvent(wxInitDialogEvent& event);
    // Another program destroyed the window: it ends as if it had been closed.
    void OnDestroyedOutside();
    void EndOnceGone();
    void OnCharHook(wxKeyEvent& event);
    void OnPaint(wxPaintEvent& event);
    void RunAfterPaintWork();

    const DialogTemplate* m_pTemplate;
    CDialog* m_pParentWnd;
    bool m_bCreated = false;
    bool m_bPaintSeen = false;
    bool m_bPainted = false;
    bool m_bInitialised = false;
    bool m_bGone = false; // destroyed by another program
    std::vector<std::function<void()>> m_afterPaint;
    wxTimer m_paintTimeout;
};
