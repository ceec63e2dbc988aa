// SPDX-License-Identifier: MIT
// The floor for the start-up figures: a bare wxWidgets program that shows a
// dialog of the main window's size with the main window's controls, a fixed
// reading in its box, and does nothing else: no book, no settings file, no
// icons or images to decode, no chime, no scheduler. With --settings it then
// opens a second window with the settings window's controls, as the program
// does on its first run, in the state that window first shows. Sizes and
// controls come from the same window templates as the program's, so both draw
// the same thing.
#include "resources/resource.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/calctrl.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timectrl.h>

#include <algorithm>

namespace {

const wchar_t* const kReading = L"Verse 341:\r\n\r\nLittle by little, one travels far.\r\n- Spanish proverb";

class FloorDialog : public wxDialog
{
public:
    FloorDialog(wxWindow* parent, const DialogTemplate& t, bool openSettings)
        : m_bOpenSettings(openSettings)
    {
        long style =
            t.id == IDD_MAIN ? (wxBORDER_SIMPLE | wxDIALOG_NO_PARENT) : (wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU);
        Create(parent, wxID_ANY, t.caption, wxPoint(0, 0), wxDefaultSize, style);
        wxFont font = *wxNORMAL_FONT;
        font.SetPointSize(t.fontPointSize);
        SetFont(font);
        SetClientSize(ConvertDialogToPixels(wxSize(t.cx, t.cy)));
        for (const ControlTemplate& c : t.controls)
            AddControl(c);
        Bind(wxEVT_INIT_DIALOG, &FloorDialog::OnInit, this);
    }

private:
    void AddControl(const ControlTemplate& c)
    {
        const wxPoint pos = ConvertDialogToPixels(wxPoint(c.x, c.y));
        const wxSize size = ConvertDialogToPixels(wxSize(c.cx, c.cy));
        wxWindow* window = nullptr;
        switch (c.kind) {
        case ControlKind::MonthCalendar:
            window = new wxCalendarCtrl(this, c.id, wxDateTime::Today(), pos, size, wxCAL_SHOW_SURROUNDING_WEEKS);
            break;
        case ControlKind::StaticText:
            window = new wxStaticText(this, c.id, c.text, pos, size, wxALIGN_LEFT | wxST_NO_AUTORESIZE);
            break;
        case ControlKind::Picture:
            window = new wxStaticBitmap(this, c.id, wxNullBitmap, pos, size);
            break;
        case ControlKind::PushButton:
            window = new wxButton(this, c.id, c.text, pos, size);
            break;
        case ControlKind::Edit:
            window = new wxTextCtrl(
                this, c.id, kReading, pos, size, wxTE_MULTILINE | wxTE_READONLY | wxVSCROLL | wxBORDER_SUNKEN);
            break;
        case ControlKind::TimePicker: {
            // As the settings window first shows it: 08:00, disabled, grown to
            // the toolkit's best size as the program grows it.
            auto* picker = new wxTimePickerCtrl(this, c.id, wxDateTime::Today() + wxTimeSpan::Hours(8), pos);
            const wxSize best = picker->GetBestSize();
            picker->SetSize(wxSize(std::max(size.x, best.x), std::max(size.y, best.y)));
            picker->Disable();
            window = picker;
            break;
        }
        case ControlKind::CheckBox: {
            // The chime starts checked; the check mark is taller than the template's.
            auto* box = new wxCheckBox(this, c.id, c.text, pos, size);
            box->SetSize(wxSize(size.x, std::max(size.y, box->GetBestSize().y)));
            box->SetValue(c.id == IDC_CHIME);
            window = box;
            break;
        }
        }
        if (c.style & WS_HIDDEN)
            window->Hide();
    }

    void OnInit(wxInitDialogEvent&)
    {
        if (!m_bOpenSettings)
            return;
        FloorDialog settings(this, *FindDialogTemplate(IDD_SETTINGS), false);
        settings.ShowModal();
    }

    bool m_bOpenSettings;
};

class FloorApp : public wxApp
{
public:
    bool OnInit() override
    {
        const bool settings = argc > 1 && wxString(argv[1]) == "--settings";
        FloorDialog dialog(nullptr, *FindDialogTemplate(IDD_MAIN), settings);
        SetTopWindow(&dialog);
        dialog.ShowModal();
        return false;
    }
};

} // namespace

wxIMPLEMENT_APP(FloorApp);
