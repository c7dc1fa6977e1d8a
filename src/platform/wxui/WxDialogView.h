#pragma once
// One runtime dialog shown as a wx dialog: the widgets made from its window states, kept equal
// to them both ways.

#include <wx/dialog.h>

#include <vector>

#include "mfc/UserInput.h"
#include "mfc/WindowState.h"

class CDialog;
class wxGLCanvas;

namespace solx::wxui {

class WxDialogView {
public:
    // Shows `dialog` in `frame` (an empty wx dialog, or one that already holds the on-screen
    // canvas of control `canvasId`). The view does not own the frame.
    WxDialogView(CDialog& dialog, wxDialog* frame, bool modal, wxGLCanvas* canvas = nullptr,
                 int canvasId = 0);
    ~WxDialogView();
    WxDialogView(const WxDialogView&) = delete;
    WxDialogView& operator=(const WxDialogView&) = delete;

    CDialog& Dialog() const { return m_dialog; }
    wxDialog* Frame() const { return m_frame; }
    bool Modal() const { return m_modal; }
    // Sets every widget from its window state (no wx event comes of it).
    void ShowState();
    wxWindow* WidgetOf(int controlId) const {
        for (const Bound& bound : m_bound)
            if (bound.state->id == controlId) return bound.widget;
        return nullptr;
    }
    // What the runtime refused of the last user action on a widget (a masked edit's text it
    // cannot hold), empty when it took everything; taking it clears it.
    ui::HostMessage TakeRefusal();
    // The runtime closed the dialog: the widgets stop talking to it.
    void Detach() { m_detached = true; }
    bool Detached() const { return m_detached; }

private:
    struct Bound {
        ui::WindowState* state;
        wxWindow* widget;
        ui::DialogRect placed;  // the rectangle the widget was last put at
    };
    void Build();
    wxWindow* MakeWidget(ui::WindowState& state, bool radioGroup);
    void BindWidget(ui::WindowState& state, wxWindow* widget);
    void BindCanvas(ui::WindowState& state, wxGLCanvas* canvas);
    void ShowOne(const Bound& bound);
    // The window got a new client size: the runtime lays its controls out again (WM_SIZE) and
    // the widgets follow their rectangles.
    void OnResize();
    void Place(Bound& bound);
    // A widget's user action reached the runtime, which refused what `refused` says (empty:
    // nothing); then every dialog shows its state.
    void Took(const ui::HostMessage& refused);
    bool Live() const { return !m_detached && !m_syncing; }

    CDialog& m_dialog;
    wxDialog* m_frame;
    bool m_modal;
    wxGLCanvas* m_canvas;
    int m_canvasId;
    bool m_syncing = false;
    bool m_detached = false;
    std::vector<Bound> m_bound;
    ui::HostMessage m_refusal;
};

// The presenter's side that views call back into: after every user action on a widget.
void AfterUserAction();
// How many user actions reached the runtime from widgets so far (a simulated click has arrived
// once it moved).
unsigned long UserActionCount();

}  // namespace solx::wxui
