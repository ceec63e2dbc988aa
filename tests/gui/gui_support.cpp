// SPDX-License-Identifier: MIT
#include "gui_support.h"

#include "platform/ui/wx/time_picker.h"

#include <wx/button.h>
#include <wx/calctrl.h>
#include <wx/checkbox.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

wxDialog& Window(const CDialog& dlg)
{
    return *static_cast<wxDialog*>(WindowOf(dlg.GetSafeHwnd()));
}

void Click(const CDialog* dlg, int id)
{
    wxWindow* control = Window(*dlg).FindWindow(id);
    ASSERT_TRUE(control) << "no control " << id;
    wxEventType type = wxEVT_BUTTON;
    if (auto* box = dynamic_cast<wxCheckBox*>(control)) {
        box->SetValue(!box->GetValue());
        type = wxEVT_CHECKBOX;
    }
    wxCommandEvent event(type, id);
    event.SetEventObject(control);
    control->GetEventHandler()->ProcessEvent(event);
    wxYield();
}

wxRect InDialogUnits(const wxWindow* control)
{
    const wxWindow* window = control->GetParent();
    // One dialog unit is a quarter of the average character width and an
    // eighth of the character height of the window's font.
    const wxSize base = window->ConvertDialogToPixels(wxSize(400, 800));
    const wxRect r = control->GetRect();
    auto du = [](int px, int unit, int scale) { return (px * scale + unit / 2) / unit; };
    return wxRect(du(r.x, base.x, 400), du(r.y, base.y, 800), du(r.width, base.x, 400), du(r.height, base.y, 800));
}

namespace {

bool IsOfKind(const wxWindow* window, ControlKind kind)
{
    switch (kind) {
    case ControlKind::MonthCalendar:
        return dynamic_cast<const wxCalendarCtrlBase*>(window);
    case ControlKind::StaticText:
        return dynamic_cast<const wxStaticText*>(window);
    case ControlKind::Picture:
        return dynamic_cast<const wxStaticBitmap*>(window);
    case ControlKind::PushButton:
        return dynamic_cast<const wxButton*>(window);
    case ControlKind::Edit:
        return dynamic_cast<const wxTextCtrl*>(window);
    case ControlKind::TimePicker:
        return dynamic_cast<const TimePicker*>(window);
    case ControlKind::CheckBox:
        return dynamic_cast<const wxCheckBox*>(window);
    }
    return false;
}

} // namespace

void ExpectBuiltAsTemplate(const CDialog& dialog)
{
    const DialogTemplate& t = dialog.Template();
    const wxDialog& dlg = Window(dialog);
    EXPECT_EQ(dlg.GetClientSize(), dlg.ConvertDialogToPixels(wxSize(t.cx, t.cy)));
    EXPECT_EQ(dlg.GetTitle().ToStdWstring(), t.caption);
    EXPECT_EQ(dlg.GetFont().GetPointSize(), t.fontPointSize);
    const wxWindowList& children = dlg.GetChildren();
    ASSERT_EQ(children.size(), t.controls.size());
    auto child = children.begin();
    for (const ControlTemplate& c : t.controls) {
        const wxWindow* window = *child++;
        SCOPED_TRACE(wxString(c.text).ToStdString() + " #" + std::to_string(c.id));
        if (c.id != IDC_STATIC) {
            EXPECT_EQ(window->GetId(), c.id);
        }
        EXPECT_TRUE(IsOfKind(window, c.kind));
        if (c.kind == ControlKind::PushButton || c.kind == ControlKind::CheckBox || c.kind == ControlKind::StaticText) {
            EXPECT_EQ(window->GetLabel().ToStdWstring(), c.text);
        }
        const wxRect du = InDialogUnits(window);
        EXPECT_NEAR(du.x, c.x, 1);
        EXPECT_NEAR(du.y, c.y, 1);
        EXPECT_NEAR(du.width, c.cx, 1);
        EXPECT_NEAR(du.height, c.cy, 1);
    }
}
