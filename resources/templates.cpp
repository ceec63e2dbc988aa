// SPDX-License-Identifier: MIT
#include "resources/resource.h"
// clang-format off

namespace {

const DialogTemplate kMain{
    IDD_MAIN,
    L"",
    0, 0, 366, 125,
    DS_POPUP_BORDER | DS_CENTER | DS_APPWINDOW,
    L"System", 8,
    {
        {ControlKind::MonthCalendar, IDC_CALENDAR, L"", 4, 28, 110, 76, WS_TABSTOP | MCS_NOTODAY, 0},
        {ControlKind::StaticText, IDC_STATIC, L"Velmora " VELMORA_VERSION, 29, 5, 90, 20, 0, 0},
        {ControlKind::Picture, IDC_STATIC, L"", 4, 5, 21, 20, 0, IDB_LOGO, L"Velmora logo"},
        {ControlKind::PushButton, IDOK, L"May All be Well and Happy!", 4, 108, 111, 13, WS_TABSTOP, 0},
        {ControlKind::PushButton, IDC_SETTINGS, L"Settings", 245, 108, 117, 13, WS_TABSTOP, 0},
        {ControlKind::Edit, IDC_VERSE, L"", 122, 5, 240, 100,
         WS_TABSTOP | ES_MULTILINE_READONLY | WS_EX_CLIENTEDGE, 0, L"Reading"},
        {ControlKind::PushButton, IDC_ABOUT, L"About", 121, 108, 116, 13, WS_TABSTOP, 0},
    },
    // The title stays empty, as the window is drawn without a caption.
    L"Velmora",
};

const DialogTemplate kSettings{
    IDD_SETTINGS,
    L"Settings",
    0, 0, 186, 62,
    DS_CAPTION_CLOSE,
    L"System", 8,
    {
        {ControlKind::PushButton, IDOK, L"OK", 67, 41, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
        {ControlKind::PushButton, IDCANCEL, L"Cancel", 129, 41, 50, 14, WS_HIDDEN, 0},
        {ControlKind::TimePicker, IDC_TIME, L"", 77, 18, 57, 13, WS_TABSTOP | DTS_TIMEFORMAT_UPDOWN, 0,
         L"Daily start time"},
        {ControlKind::CheckBox, IDC_CHIME, L"Bell Chime", 7, 7, 50, 9, WS_TABSTOP, 0},
        {ControlKind::CheckBox, IDC_AUTORUN, L"AutoRun daily at", 7, 20, 67, 9, WS_TABSTOP, 0},
    },
};

} // namespace

const DialogTemplate* FindDialogTemplate(int id)
{
    for (const DialogTemplate* t : {&kMain, &kSettings})
        if (t->id == id)
            return t;
    return nullptr;
}
// clang-format on
