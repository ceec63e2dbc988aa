// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/types.h"

#include <cstddef>
#include <vector>

// Ids and styles bear the names and, where Windows has the name, the values
// of the system's own: on Windows those come from <windows.h>, so that they
// never clash with it whichever is included first. The program's own styles
// take bits that the system's names here leave free. What a style means
// depends on the kind of control.
#ifndef _WIN32
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
#endif
constexpr int IDC_STATIC = -1;

enum class ControlKind
{
    MonthCalendar,
    StaticText,
    Picture,
    PushButton,
    Edit,
    TimePicker,
    CheckBox,
};

// Control styles.
enum ControlStyle : unsigned
{
#ifndef _WIN32
    BS_DEFPUSHBUTTON = 0x00000001u,
    MCS_NOTODAY = 0x00000010u,
    WS_EX_CLIENTEDGE = 0x00000200u, // thin sunken edge
    WS_TABSTOP = 0x00010000u,
    WS_DISABLED = 0x08000000u,
#endif
    WS_HIDDEN = 0x00100000u,
    ES_MULTILINE_READONLY = 0x00200000u, // multi-line, read-only, vertical scroll bar
    DTS_TIMEFORMAT_UPDOWN = 0x00400000u, // time of day only, with spin arrows
};

// Window styles.
enum DialogStyle : unsigned
{
    DS_CAPTION_CLOSE = 0x00000001u, // caption with a close box and a modal frame
    DS_POPUP_BORDER = 0x00000002u, // bordered pop-up without caption
#ifndef _WIN32
    DS_CENTER = 0x00000800u, // centred on the screen; else at x, y of the owner
#endif
    DS_APPWINDOW = 0x00000008u, // shown on the taskbar
};

#ifdef _WIN32
static_assert(IDOK == 1 && IDCANCEL == 2 && BS_DEFPUSHBUTTON == 0x1 && MCS_NOTODAY == 0x10 &&
    WS_EX_CLIENTEDGE == 0x200 && WS_TABSTOP == 0x10000 && WS_DISABLED == 0x08000000 && DS_CENTER == 0x800);
#endif

// One control of a window, position and size in dialog units.
struct ControlTemplate
{
    ControlKind kind;
    int id;
    const wchar_t* text;
    int x, y, cx, cy;
    unsigned style;
    int imageId; // pictures only
    // What screen readers call it when that is not its text.
    const wchar_t* accessibleName = nullptr;
};

// A window and its controls; template order is tab order.
struct DialogTemplate
{
    int id;
    const wchar_t* caption;
    int x, y, cx, cy;
    unsigned style;
    const wchar_t* fontName;
    int fontPointSize;
    std::vector<ControlTemplate> controls;
    // What screen readers call the window when that is not its caption.
    const wchar_t* accessibleName = nullptr;
};

// Finds the window template with `id`; nullptr when there is none.
const DialogTemplate* FindDialogTemplate(int id);

// An image compiled into the program: a PNG at one size.
struct ImageResource
{
    int id;
    int size;
    const unsigned char* data;
    std::size_t length;
};

// All images with `id`, one per size.
std::vector<ImageResource> FindImageResources(int id);
