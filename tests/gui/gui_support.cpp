#include "gui_support.h"

#include <wx/button.h>
#include <wx/checkbox.h>

void Click(wxWindow* parent, int id)
{
    wxWindow* control = parent->FindWindow(id);
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
