// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/types.h"
#include "platform/ui/dialog_template.h"

#include <cstddef>
#include <functional>
#include <memory>

class CDialog;
// The window library's own window behind a CDialog. Each window library
// defines it, with the CDialog members that need it.
class DialogWindow;

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

// The notifications an event table can name. Their values are the system's
// own, so that where its headers name them too the two agree.
using NotifyCode = unsigned;
#ifndef BN_CLICKED
constexpr NotifyCode BN_CLICKED = 0; // push button or check box clicked
#endif
#ifndef MCN_SELCHANGE
constexpr NotifyCode MCN_SELCHANGE = 0u - 749u; // month calendar's selection changed
#endif

// A modal window built from a window template. Controls are made in template
// order, which is also their tab order; their events reach OnNotify.
class CDialog
{
public:
    explicit CDialog(int nIDTemplate, CDialog* pParentWnd = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

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
    // The window's handle: the owner of the message boxes it shows.
    HWND GetSafeHwnd() const;
    // The handle of the control `id`; nullptr when there is none.
    HWND GetDlgItem(int id) const;
    void EnableDlgItem(int id, BOOL bEnable);
    void SetIcon(HICON hIcon, BOOL bBigIcon);
    // Moves the window's top-left corner to (x, y) on the screen, keeping its
    // size; MoveToFrontAt also raises it and shows it.
    void MoveTo(int x, int y);
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
    // The window calls the handlers above as its events come.
    friend class DialogWindow;

    const DialogTemplate* m_pTemplate;
    CDialog* m_pParentWnd;
    std::unique_ptr<DialogWindow> m_pWnd;
};
