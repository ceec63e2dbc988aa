// SPDX-License-Identifier: MIT
#include "platform/ui/wx/template_control.h"
#include "platform/ui/wx/images.h"
#include "platform/ui/wx/month_calendar.h"
#include "platform/ui/wx/native_window.h"
#include "platform/ui/wx/time_picker.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

namespace {

wxWindow* CreateButton(wxWindow* parent, const ControlTemplate& c, wxPoint pos, wxSize size)
{
    auto* button = new wxButton(parent, c.id, c.text, pos, size);
    if (c.style & BS_DEFPUSHBUTTON)
        button->SetDefault();
    return button;
}

wxWindow* CreateEdit(wxWindow* parent, const ControlTemplate& c, wxPoint pos, wxSize size)
{
    long style = 0;
    if (c.style & ES_MULTILINE_READONLY)
        style |= wxTE_MULTILINE | wxTE_READONLY | wxVSCROLL;
    style |= (c.style & WS_EX_CLIENTEDGE) ? wxBORDER_SUNKEN : wxBORDER_NONE;
    return new wxTextCtrl(parent, c.id, c.text, pos, size, style);
}

wxWindow* CreateTimePicker(wxWindow* parent, const ControlTemplate& c, wxPoint pos, wxSize size)
{
    auto* picker = new TimePicker(parent, c.id, pos, size);
    UseCompactLook(picker);
    // Larger only where the toolkit cannot draw it that small (a large font).
    const wxSize best = picker->GetBestSize();
    picker->SetSize(wxSize(std::max(size.x, best.x), std::max(size.y, best.y)));
    return picker;
}

wxWindow* CreateCheckBox(wxWindow* parent, const ControlTemplate& c, wxPoint pos, wxSize size)
{
    auto* box = new wxCheckBox(parent, c.id, c.text, pos, size);
    UseCompactLook(box);
    // Taller only where the toolkit cannot draw it that low; a wider label
    // would run under the control beside it.
    box->SetSize(wxSize(size.x, std::max(size.y, box->GetBestSize().y)));
    return box;
}

wxWindow* CreateOfKind(wxWindow* parent, const ControlTemplate& c, wxPoint pos, wxSize size)
{
    switch (c.kind) {
    case ControlKind::MonthCalendar:
        // The toolkit's own calendar: it speaks to screen readers, shows where
        // the focus is, and takes its month and day names and first day of the
        // week from the user's locale. At the window's font it fits the
        // template.
        return new MonthCalendar(parent, c.id, pos, size);
    case ControlKind::StaticText:
        return new wxStaticText(parent, c.id, c.text, pos, size, wxALIGN_LEFT | wxST_NO_AUTORESIZE);
    case ControlKind::Picture:
        return new wxStaticBitmap(parent, c.id, LoadPicture(c.imageId), pos, size);
    case ControlKind::PushButton:
        return CreateButton(parent, c, pos, size);
    case ControlKind::Edit:
        return CreateEdit(parent, c, pos, size);
    case ControlKind::TimePicker:
        return CreateTimePicker(parent, c, pos, size);
    case ControlKind::CheckBox:
        return CreateCheckBox(parent, c, pos, size);
    }
    return nullptr;
}

} // namespace

wxWindow* CreateTemplateControl(wxWindow* window, const ControlTemplate& c)
{
    wxWindow* control = CreateOfKind(
        window, c, window->ConvertDialogToPixels(wxPoint(c.x, c.y)), window->ConvertDialogToPixels(wxSize(c.cx, c.cy)));
    if (c.accessibleName)
        SetAccessibleName(control, c.accessibleName);
    if (c.style & WS_HIDDEN)
        control->Hide();
    if (c.style & WS_DISABLED)
        control->Disable();
    return control;
}
