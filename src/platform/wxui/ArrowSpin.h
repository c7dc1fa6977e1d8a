#pragma once
// A spin control that fits the small rectangle a dialog template gives it: two buttons stacked,
// each with an arrow, drawn by us (the toolkit's own spin button wants more room than a template
// has and comes out squashed). The upper arrow steps the position towards the range's second
// end, as the runtime's spin controls do; a held button repeats, the arrow keys step when it has
// the focus, and it stops at the ends.

#include <wx/timer.h>
#include <wx/window.h>

#include <functional>

namespace solx::wxui {

class ArrowSpin : public wxWindow {
public:
    ArrowSpin(wxWindow* parent, const wxPoint& at, const wxSize& size);

    // first and last as the runtime's range gives them (last may be below first).
    void SetRange(int first, int last);
    void SetValue(int pos);
    int GetValue() const { return m_pos; }
    int First() const { return m_first; }
    int Last() const { return m_last; }
    // Called with the new position after each step the user made.
    void OnMove(std::function<void(int pos)> move) { m_move = std::move(move); }
    // One step as the upper (up) or the lower arrow makes it; false at the end of the range.
    bool Step(bool up);

private:
    void OnPaint(wxPaintEvent&);
    void OnMouse(wxMouseEvent& event);
    void OnKey(wxKeyEvent& event);
    void OnRepeat(wxTimerEvent&);
    wxRect Half(bool up) const;

    int m_first = 0, m_last = 100, m_pos = 0;
    int m_pressed = 0;  // 1 the upper arrow is held, -1 the lower, 0 none
    wxTimer m_repeat;
    std::function<void(int)> m_move;
};

}  // namespace solx::wxui
