// SPDX-License-Identifier: MIT
#include "platform/ui/wx/message_box.h"

#include <wx/app.h>
#include <wx/msgdlg.h>

void ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption)
{
    wxWindow* parent = owner ? static_cast<wxWindow*>(owner) : wxTheApp->GetTopWindow();
    wxMessageDialog box(parent, text, caption, wxOK | wxICON_NONE);
    box.ShowModal();
}
