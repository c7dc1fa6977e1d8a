#pragma once
// A modal wx dialog answered by the script the editor's front end plays: a timer of the
// dialog's own modal loop takes the script's dialog lines one at a time (the front end pauses
// before each as it does at every prompt, and runs the window's own lines such as @screenshot
// meanwhile) and does each through the widgets, as a person would.

#include <wx/timer.h>

#include "mfc/DialogPresenter.h"

namespace solx::wxui {

class WxDialogView;

// The actions of the script presenter done on wx widgets: buttons, check boxes, radios, OK and
// Cancel are clicked with the real pointer at their centre; values go into edits, combo boxes,
// date pickers, spins and sliders by setting the widget and sending the event the widget itself
// sends, so that the view's bindings carry them into the runtime; an edit is then left. What the
// runtime refuses comes back as the script presenter words it.
class WidgetHand : public ui::ControlHand {
public:
    explicit WidgetHand(WxDialogView& view) : m_view(view) {}
    bool Type(HWND window, const std::wstring& text, editor::HostMessage& error) override;
    bool Click(HWND window, editor::HostMessage& error) override;
    bool Pick(HWND window, int index, editor::HostMessage& error) override;
    bool PickDate(HWND window, const SYSTEMTIME& date, editor::HostMessage& error) override;
    bool Move(HWND window, int pos, editor::HostMessage& error) override;
    bool Press(CDialog& dialog, int id, editor::HostMessage& error) override;

private:
    // Clicks `widget` with the pointer and waits until the click reached the runtime.
    bool PointerClick(wxWindow* widget, int id, editor::HostMessage& error);
    // What the runtime refused of the action just done (false), or nothing (true).
    bool Accepted(editor::HostMessage& error);

    WxDialogView& m_view;
};

// Drives one modal dialog from the played script while its modal loop runs; made just before
// ShowModal, it starts once the dialog is on the screen.
class ScriptedDialog {
public:
    explicit ScriptedDialog(WxDialogView& view);
    ~ScriptedDialog();
    ScriptedDialog(const ScriptedDialog&) = delete;
    ScriptedDialog& operator=(const ScriptedDialog&) = delete;

private:
    void OnPaint(wxPaintEvent& event);
    void OnTick(wxTimerEvent& event);

    WxDialogView& m_view;
    WidgetHand m_hand;
    wxTimer m_timer;
    bool m_painted = false;
    int m_waited = 0;  // ticks spent waiting for the dialog's first paint
};

}  // namespace solx::wxui
