// SPDX-License-Identifier: MIT
#include "platform/ui/wx/spin_arrows.h"

#include <wx/dcclient.h>
#include <wx/settings.h>

#include <algorithm>
#include <utility>

namespace {

constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 80;

// A filled triangle pointing up (step +1) or down, centred in `box`.
void DrawArrow(wxDC& dc, const wxRect& box, int step)
{
    const int half = std::max(2, std::min(box.width, box.height) / 3);
    const int tip = step * half / 2;
    const wxPoint centre = box.GetPosition() + wxSize(box.width / 2, box.height / 2);
    const wxPoint points[3] = {
        centre + wxSize(-half, tip), centre + wxSize(half + 1, tip), centre + wxSize(0, -tip - step)};
    dc.DrawPolygon(3, points);
}

} // namespace

SpinArrows::SpinArrows(wxWindow* parent, std::function<void(int)> onStep)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE)
    , m_onStep(std::move(onStep))
    , m_repeat(this)
{
    SetCanFocus(false);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &SpinArrows::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &SpinArrows::OnLeftDown, this);
    // A quick second click is a second step, not a double click.
    Bind(wxEVT_LEFT_DCLICK, &SpinArrows::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) { Release(); });
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { Release(); });
    Bind(wxEVT_TIMER, &SpinArrows::OnRepeat, this);
}

void SpinArrows::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    const wxSize size = GetClientSize();
    const wxRect up(0, 0, size.x, size.y / 2);
    const wxRect down(0, up.height, size.x, size.y - up.height);
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    const wxColour edge = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
    dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
    dc.Clear();
    dc.SetPen(wxPen(edge));
    for (const auto& [box, step] : {std::pair(up, 1), std::pair(down, -1)}) {
        dc.SetBrush(wxBrush(m_nPressed == step ? edge : face));
        dc.DrawRectangle(box);
    }
    const wxColour arrow = wxSystemSettings::GetColour(IsEnabled() ? wxSYS_COLOUR_BTNTEXT : wxSYS_COLOUR_GRAYTEXT);
    dc.SetPen(wxPen(arrow));
    dc.SetBrush(wxBrush(arrow));
    DrawArrow(dc, up, 1);
    DrawArrow(dc, down, -1);
}

void SpinArrows::OnLeftDown(wxMouseEvent& event)
{
    Release();
    m_nPressed = event.GetY() < GetClientSize().y / 2 ? 1 : -1;
    CaptureMouse();
    Refresh();
    m_onStep(m_nPressed);
    m_repeat.StartOnce(kFirstRepeatMs);
}

void SpinArrows::OnRepeat(wxTimerEvent&)
{
    if (!m_nPressed)
        return;
    m_onStep(m_nPressed);
    m_repeat.StartOnce(kRepeatMs);
}

void SpinArrows::Release()
{
    m_repeat.Stop();
    if (HasCapture())
        ReleaseMouse();
    if (m_nPressed) {
        m_nPressed = 0;
        Refresh();
    }
}
