// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <vector>

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
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

// Control styles; what each means depends on the kind of control.
enum ControlStyle : unsigned
{
    WS_TABSTOP = 1u << 0,
    WS_HIDDEN = 1u << 1,
    WS_DISABLED = 1u << 2,
    BS_DEFPUSHBUTTON = 1u << 3,
    ES_MULTILINE_READONLY = 1u << 4, // multi-line, read-only, vertical scroll bar
    WS_EX_CLIENTEDGE = 1u << 5, // thin sunken edge
    MCS_NOTODAY = 1u << 6,
    DTS_TIMEFORMAT_UPDOWN = 1u << 7, // time of day only, with spin arrows
};

// Window styles.
enum DialogStyle : unsigned
{
    DS_CAPTION_CLOSE = 1u << 0, // caption with a close box and a modal frame
    DS_POPUP_BORDER = 1u << 1, // bordered pop-up without caption
    DS_CENTER = 1u << 2, // centred on the screen; else at x, y of the owner
    DS_APPWINDOW = 1u << 3, // shown on the taskbar
};

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
