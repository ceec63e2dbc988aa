// SPDX-License-Identifier: MIT
#pragma once

#include "platform/ui/data_exchange.h"
#include "platform/ui/dialog.h"
#include "reading/book_file.h"

// The main window: a month calendar and the reading of the selected date.
class CMainDlg : public CDialog
{
public:
    // The calendar starts on `today`, read from the clock when the program
    // starts.
    explicit CMainDlg(const SYSTEMTIME& today);

    // Shows the reading of the calendar's selected date.
    void ShowVerseForSelection();
    // Loads the settings (showing the settings window on the first run),
    // then, once the window has been drawn, plays the chime and books the
    // next daily start.
    void RunStartupSettings();
    // The "Settings" button: the settings window, run modally.
    void OpenSettings();

    CEdit m_edit;
    CMonthCalCtrl m_calendar;
    CBookFile m_book;
    HICON m_hIcon;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnNotify(NotifyCode code, int id) override;
    void PlaceByTemplate() override;

private:
    void OnAbout();
    void OnClose();

    SYSTEMTIME m_today;

    static const MessageEntry<CMainDlg> kMessageMap[];
};

// The text of the message shown when the book cannot be opened.
extern const wchar_t* const kBookErrorText;
