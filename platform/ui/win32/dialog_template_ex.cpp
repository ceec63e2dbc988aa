// SPDX-License-Identifier: MIT
#include "platform/ui/win32/dialog_template_ex.h"
#include "platform/system/windows/windows_api.h"

#include <commctrl.h>

namespace {

class TemplateWriter
{
public:
    void Word(std::uint16_t w) { m_words.push_back(w); }
    void Dword(std::uint32_t d)
    {
        Word(static_cast<std::uint16_t>(d & 0xFFFF));
        Word(static_cast<std::uint16_t>(d >> 16));
    }
    void Short(int s) { Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(s))); }
    void Text(const wchar_t* text)
    {
        for (; text && *text; ++text)
            Word(static_cast<std::uint16_t>(*text));
        Word(0);
    }
    // Each control starts on a 32-bit boundary.
    void Align()
    {
        if (m_words.size() % 2)
            Word(0);
    }
    std::vector<std::uint16_t> Take() { return std::move(m_words); }

private:
    std::vector<std::uint16_t> m_words;
};

struct ControlClass
{
    const wchar_t* name; // nullptr: a predefined class by its atom
    std::uint16_t atom;
    DWORD style;
};

ControlClass ClassOf(const ControlTemplate& c)
{
    switch (c.kind) {
    case ControlKind::MonthCalendar:
        return {MONTHCAL_CLASSW, 0, (c.style & MCS_NOTODAY) ? DWORD(MCS_NOTODAY) : 0};
    case ControlKind::StaticText:
        return {nullptr, 0x0082, SS_LEFT | SS_NOPREFIX};
    case ControlKind::Picture:
        return {nullptr, 0x0082, SS_BITMAP | SS_CENTERIMAGE};
    case ControlKind::PushButton:
        return {nullptr, 0x0080, (c.style & BS_DEFPUSHBUTTON) ? DWORD(BS_DEFPUSHBUTTON) : DWORD(BS_PUSHBUTTON)};
    case ControlKind::Edit:
        return {nullptr, 0x0081,
            (c.style & ES_MULTILINE_READONLY) ? DWORD(ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL) : 0};
    case ControlKind::TimePicker:
        return {DATETIMEPICK_CLASSW, 0,
            (c.style & DTS_TIMEFORMAT_UPDOWN) ? DWORD(DTS_TIMEFORMAT | DTS_UPDOWN) : DWORD(DTS_SHORTDATEFORMAT)};
    case ControlKind::CheckBox:
        return {nullptr, 0x0080, BS_AUTOCHECKBOX};
    }
    return {nullptr, 0x0082, 0};
}

// The header: the window's styles, its size, caption and font.
void WriteDialogHeader(TemplateWriter& out, const DialogTemplate& dlg)
{
    DWORD style = DS_SETFONT | WS_POPUP;
    DWORD exStyle = 0;
    if (dlg.style & DS_CAPTION_CLOSE)
        style |= WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    if (dlg.style & DS_POPUP_BORDER)
        style |= WS_BORDER;
    if (dlg.style & DS_CENTER)
        style |= DS_CENTER;
    if (dlg.style & DS_APPWINDOW)
        exStyle |= WS_EX_APPWINDOW;

    out.Word(1); // dlgVer
    out.Word(0xFFFF); // signature of the extended template
    out.Dword(0); // helpID
    out.Dword(exStyle);
    out.Dword(style);
    out.Word(static_cast<std::uint16_t>(dlg.controls.size()));
    out.Short(dlg.x);
    out.Short(dlg.y);
    out.Short(dlg.cx);
    out.Short(dlg.cy);
    out.Word(0); // no menu
    out.Word(0); // the dialog class
    out.Text(dlg.caption);
    out.Word(static_cast<std::uint16_t>(dlg.fontPointSize));
    out.Word(FW_NORMAL);
    out.Word(0); // not italic, default character set
    out.Text(dlg.fontName);
}

// One control: its class and styles, its place, and its text or picture.
void WriteControl(TemplateWriter& out, const ControlTemplate& c)
{
    const ControlClass cls = ClassOf(c);
    DWORD itemStyle = WS_CHILD | cls.style;
    if (!(c.style & WS_HIDDEN))
        itemStyle |= WS_VISIBLE;
    if (c.style & WS_TABSTOP)
        itemStyle |= WS_TABSTOP;
    if (c.style & WS_DISABLED)
        itemStyle |= WS_DISABLED;
    out.Align();
    out.Dword(0); // helpID
    out.Dword((c.style & WS_EX_CLIENTEDGE) ? WS_EX_CLIENTEDGE : 0);
    out.Dword(itemStyle);
    out.Short(c.x);
    out.Short(c.y);
    out.Short(c.cx);
    out.Short(c.cy);
    out.Dword(static_cast<DWORD>(c.id));
    if (cls.name) {
        out.Text(cls.name);
    } else {
        out.Word(0xFFFF);
        out.Word(cls.atom);
    }
    if (c.kind == ControlKind::Picture) {
        out.Word(0xFFFF); // the bitmap resource by its id
        out.Word(static_cast<std::uint16_t>(c.imageId));
    } else {
        out.Text(c.text);
    }
    out.Word(0); // no creation data
}

} // namespace

std::vector<std::uint16_t> BuildDialogTemplateEx(const DialogTemplate& dlg)
{
    TemplateWriter out;
    WriteDialogHeader(out, dlg);
    for (const ControlTemplate& c : dlg.controls)
        WriteControl(out, c);
    return out.Take();
}
