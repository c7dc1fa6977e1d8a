#include "ArrowSpin.h"

#include <wx/dcbuffer.h>
#include <wx/renderer.h>
#include <wx/settings.h>

#include <algorithm>

namespace solx::wxui {
namespace {

constexpr int kFirstRepeatMs = 400;  // a held arrow starts repeating after this
constexpr int kRepeatMs = 80;

}  // namespace

ArrowSpin::ArrowSpin(wxWindow* parent, const wxPoint& at, const wxSize& size)
    : wxWindow(parent, wxID_ANY, at, size, wxBORDER_NONE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetMinSize(wxSize(8, 8));
    Bind(wxEVT_PAINT, &ArrowSpin::OnPaint, this);
    for (auto type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_DCLICK, wxEVT_LEFT_UP, wxEVT_LEAVE_WINDOW})
        Bind(type, &ArrowSpin::OnMouse, this);
    Bind(wxEVT_KEY_DOWN, &ArrowSpin::OnKey, this);
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& e) { Refresh(), e.Skip(); });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) { Refresh(), e.Skip(); });
    m_repeat.Bind(wxEVT_TIMER, &ArrowSpin::OnRepeat, this);
}

void ArrowSpin::SetRange(int first, int last) {
    m_first = first, m_last = last;
    m_pos = std::clamp(m_pos, std::min(first, last), std::max(first, last));
    Refresh();
}

void ArrowSpin::SetValue(int pos) {
    m_pos = std::clamp(pos, std::min(m_first, m_last), std::max(m_first, m_last));
    Refresh();
}

bool ArrowSpin::Step(bool up) {
    const int towardsLast = m_last >= m_first ? 1 : -1;
    const int next = m_pos + (up ? towardsLast : -towardsLast);
    if (next < std::min(m_first, m_last) || next > std::max(m_first, m_last)) return false;
    m_pos = next;
    Refresh();
    if (m_move) m_move(m_pos);
    return true;
}

wxRect ArrowSpin::Half(bool up) const {
    const wxSize size = GetClientSize();
    const int top = size.y / 2;
    return up ? wxRect(0, 0, size.x, top) : wxRect(0, top, size.x, size.y - top);
}

void ArrowSpin::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
    dc.Clear();
    wxRendererNative& renderer = wxRendererNative::Get();
    const bool enabled = IsEnabled();
    for (bool up : {true, false}) {
        const wxRect r = Half(up);
        const bool pressed = m_pressed == (up ? 1 : -1);
        int flags = 0;
        if (pressed) flags |= wxCONTROL_PRESSED;
        if (!enabled) flags |= wxCONTROL_DISABLED;
        if (HasFocus()) flags |= wxCONTROL_FOCUSED;
        renderer.DrawPushButton(this, dc, r, flags);
        // A filled triangle half the button's height, centred; at least 3 pixels high.
        const int h = std::max(3, std::min(r.height / 2, r.width / 2));
        const int cx = r.x + r.width / 2, cy = r.y + r.height / 2 + (pressed ? 1 : 0);
        const wxPoint tip(cx, up ? cy - h / 2 : cy + h / 2);
        const int base = up ? cy + (h + 1) / 2 : cy - (h + 1) / 2;
        const wxPoint arrow[3] = {tip, wxPoint(cx - h, base), wxPoint(cx + h, base)};
        const wxColour ink =
            wxSystemSettings::GetColour(enabled ? wxSYS_COLOUR_BTNTEXT : wxSYS_COLOUR_GRAYTEXT);
        dc.SetPen(wxPen(ink));
        dc.SetBrush(wxBrush(ink));
        dc.DrawPolygon(3, arrow);
    }
}

void ArrowSpin::OnMouse(wxMouseEvent& event) {
    if (event.LeftDown() || event.LeftDClick()) {
        SetFocus();
        const bool up = Half(true).Contains(event.GetPosition());
        m_pressed = up ? 1 : -1;
        if (!HasCapture()) CaptureMouse();
        Step(up);
        m_repeat.StartOnce(kFirstRepeatMs);
        Refresh();
        return;
    }
    // Released, or the pointer went away: the repeat stops.
    m_repeat.Stop();
    m_pressed = 0;
    if (HasCapture()) ReleaseMouse();
    Refresh();
}

void ArrowSpin::OnRepeat(wxTimerEvent&) {
    if (m_pressed == 0 || !wxGetMouseState().LeftIsDown()) {
        m_pressed = 0;
        Refresh();
        return;
    }
    if (Step(m_pressed > 0)) m_repeat.StartOnce(kRepeatMs);
}

void ArrowSpin::OnKey(wxKeyEvent& event) {
    switch (event.GetKeyCode()) {
        case WXK_UP:
            Step(true);
            break;
        case WXK_DOWN:
            Step(false);
            break;
        default:
            event.Skip();
    }
}

}  // namespace solx::wxui
