// SPDX-License-Identifier: MIT
#include "platform/ui/wx/time_picker.h"
#include "platform/ui/wx/spin_arrows.h"

#include <wx/spinbutt.h>
#include <wx/textctrl.h>

#include <algorithm>

namespace {

// The gap the toolkit leaves between the text and its spin buttons.
constexpr int kGap = 2;

// Arrows a little narrower than they are tall, as a classic dialog draws them.
int ArrowsWidth(int height)
{
    return (height * 3 + 3) / 4;
}

} // namespace

TimePicker::TimePicker(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size)
    : wxTimePickerCtrl(parent, id, wxDefaultDateTime, pos, size)
{
    for (wxWindow* child : GetChildren()) {
        if (auto* text = dynamic_cast<wxTextCtrl*>(child))
            m_pText = text;
        else if (dynamic_cast<wxSpinButton*>(child))
            m_pSpin = child;
    }
    if (!m_pText || !m_pSpin)
        return;
    m_pSpin->Hide();
    m_pArrows = new SpinArrows(this, [this](int step) {
        wxSpinEvent event(step > 0 ? wxEVT_SPIN_UP : wxEVT_SPIN_DOWN, m_pSpin->GetId());
        event.SetEventObject(m_pSpin);
        m_pSpin->HandleWindowEvent(event);
    });
    InvalidateBestSize();
    LayOutParts(GetSize());
}

wxSize TimePicker::DoGetBestSize() const
{
    if (!m_pArrows)
        return wxTimePickerCtrl::DoGetBestSize();
    int width = 0;
    m_pText->GetTextExtent(m_pText->GetValue(), &width, nullptr);
    const wxSize text = m_pText->GetSizeFromTextSize(width + 1);
    return {text.x + kGap + ArrowsWidth(text.y), text.y};
}

void TimePicker::DoMoveWindow(int x, int y, int width, int height)
{
    wxTimePickerCtrl::DoMoveWindow(x, y, width, height);
    if (m_pArrows)
        LayOutParts(wxSize(width, height));
}

void TimePicker::LayOutParts(wxSize size)
{
    const int arrows = ArrowsWidth(size.y);
    m_pText->SetSize(0, 0, std::max(size.x - arrows - kGap, 0), size.y);
    m_pArrows->SetSize(size.x - arrows, 0, arrows, size.y);
}
