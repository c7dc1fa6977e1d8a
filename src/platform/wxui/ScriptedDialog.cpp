#include "ScriptedDialog.h"

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/datectrl.h>
#include <wx/dateevt.h>
#include <wx/evtloop.h>
#include <wx/slider.h>
#include <wx/stopwatch.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <functional>

#include "ArrowSpin.h"
#include "WxDialogView.h"
#include "WxPresenter.h"
#include "mfc/CDialog.h"
#include "mfc/UserInput.h"
#include "mfc/afxwin.h"

namespace solx::wxui {
namespace {

using editor::HostMessage;
using editor::HostMessagef;

constexpr int kPointerLimitMs = 2000;  // for the pointer to get to a widget
constexpr int kClickLimitMs = 5000;    // for a click to reach the runtime
constexpr int kPaintWaitMs = 10;       // between looks for the dialog's first paint
constexpr int kPaintWaitTicks = 300;   // after that many the script goes on regardless

// Runs the event loop until `done` answers true or `limitMs` passed; answers done().
bool RunUntil(const std::function<bool()>& done, int limitMs) {
    if (done()) return true;
    wxGUIEventLoop loop;
    wxStopWatch watch;
    wxTimer poll;
    poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (!done() && watch.Time() < limitMs) return;
        poll.Stop();
        loop.Exit();
    });
    poll.Start(5);
    loop.Run();
    return done();
}

// Sends `event` from `widget` as the widget itself would.
void Send(wxWindow* widget, wxEvent& event) {
    event.SetEventObject(widget);
    widget->HandleWindowEvent(event);
}

bool NotOnScreen(HWND window, HostMessage& error) {
    error = HostMessagef(L"control %d is not on the screen", window->id);
    return false;
}

// Moves the real pointer to the centre of `widget` and clicks there.
bool ClickAt(wxWindow* widget, int id, HostMessage& error) {
    const wxRect rect = widget->GetScreenRect();
    const wxPoint centre(rect.x + rect.width / 2, rect.y + rect.height / 2);
    wxUIActionSimulator pointer;
    pointer.MouseMove(centre);
    if (!RunUntil([centre] { return wxGetMousePosition() == centre; }, kPointerLimitMs)) {
        error = HostMessagef(L"the pointer did not get to control %d", id);
        return false;
    }
    pointer.MouseClick();
    return true;
}

// The script's dialog lines while the script lasts: once it has run out (the front end waits
// for a person instead), the dialog is left open by the script.
class PlayedLines : public ui::DialogActionSource {
public:
    explicit PlayedLines(ui::DialogActionSource& lines) : m_lines(lines) {}
    std::optional<ui::DialogAction> NextDialogAction(const std::wstring& caption) override {
        if (m_lines.Interactive()) return std::nullopt;
        return m_lines.NextDialogAction(caption);
    }
    bool Refuse(const ui::DialogAction& action, const HostMessage& reason) override {
        return m_lines.Refuse(action, reason);
    }
    bool Stopped() const override { return m_lines.Stopped(); }
    void Print(const std::wstring& text) override { m_lines.Print(text); }

private:
    ui::DialogActionSource& m_lines;
};

}  // namespace

bool WidgetHand::Accepted(HostMessage& error) {
    const HostMessage refused = m_view.TakeRefusal();
    if (refused.empty()) return true;
    error = refused;
    return false;
}

bool WidgetHand::PointerClick(wxWindow* widget, int id, HostMessage& error) {
    const unsigned long before = UserActionCount();
    m_view.TakeRefusal();
    if (!ClickAt(widget, id, error)) return false;
    if (!RunUntil([before] { return UserActionCount() != before; }, kClickLimitMs)) {
        error = HostMessagef(L"the click on control %d did not arrive", id);
        return false;
    }
    return Accepted(error);
}

bool WidgetHand::Type(HWND window, const std::wstring& text, HostMessage& error) {
    if (!ui::CanTypeText(window, error)) return false;
    wxWindow* widget = m_view.WidgetOf(window->id);
    m_view.TakeRefusal();
    if (auto* edit = dynamic_cast<wxTextCtrl*>(widget)) {
        edit->ChangeValue(wxString(text.c_str()));
        wxCommandEvent typed(wxEVT_TEXT, edit->GetId());
        typed.SetString(edit->GetValue());
        Send(edit, typed);
        // Leaving the field: a masked edit hands its text over now.
        wxFocusEvent leave(wxEVT_KILL_FOCUS, edit->GetId());
        Send(edit, leave);
    } else if (auto* combo = dynamic_cast<wxComboBox*>(widget)) {
        combo->ChangeValue(wxString(text.c_str()));
        wxCommandEvent typed(wxEVT_TEXT, combo->GetId());
        typed.SetString(combo->GetValue());
        Send(combo, typed);
    } else {
        return NotOnScreen(window, error);
    }
    if (!Accepted(error)) return false;
    ui::FocusControl(nullptr);  // the field is left: its checks run
    AfterUserAction();
    return true;
}

bool WidgetHand::Click(HWND window, HostMessage& error) {
    if (!ui::CanClickControl(window, error)) return false;
    wxWindow* widget = m_view.WidgetOf(window->id);
    if (!widget) return NotOnScreen(window, error);
    if (window->kind == ui::ControlKind::Radio && window->check) {
        // The toolkit says nothing of a click on the radio already chosen; the runtime's
        // radio still hears it.
        if (!ClickAt(widget, window->id, error) || !ui::ClickControl(window, error)) return false;
        AfterUserAction();
        return true;
    }
    return PointerClick(widget, window->id, error);
}

bool WidgetHand::Pick(HWND window, int index, HostMessage& error) {
    if (!ui::CanPickItem(window, index, error)) return false;
    auto* combo = dynamic_cast<wxComboBox*>(m_view.WidgetOf(window->id));
    if (!combo || index >= static_cast<int>(combo->GetCount())) return NotOnScreen(window, error);
    m_view.TakeRefusal();
    combo->SetSelection(index);
    wxCommandEvent picked(wxEVT_COMBOBOX, combo->GetId());
    picked.SetInt(index);
    picked.SetString(combo->GetString(static_cast<unsigned>(index)));
    Send(combo, picked);
    return Accepted(error);
}

bool WidgetHand::PickDate(HWND window, const SYSTEMTIME& date, HostMessage& error) {
    if (!ui::CanPickDate(window, error)) return false;
    auto* picker = dynamic_cast<wxDatePickerCtrl*>(m_view.WidgetOf(window->id));
    if (!picker) return NotOnScreen(window, error);
    const auto month = static_cast<wxDateTime::Month>(date.wMonth - 1);
    if (date.wDay > wxDateTime::GetNumberOfDays(month, static_cast<int>(date.wYear))) {
        // A day the picker cannot show (31 February): the runtime takes it as given.
        if (!ui::PickDate(window, date, error)) return false;
        AfterUserAction();
        return true;
    }
    m_view.TakeRefusal();
    const wxDateTime when(static_cast<wxDateTime::wxDateTime_t>(date.wDay), month,
                          static_cast<int>(date.wYear));
    picker->SetValue(when);
    wxDateEvent changed(picker, when, wxEVT_DATE_CHANGED);
    Send(picker, changed);
    return Accepted(error);
}

bool WidgetHand::Move(HWND window, int pos, HostMessage& error) {
    if (!ui::CanMoveTo(window, pos, error)) return false;
    wxWindow* widget = m_view.WidgetOf(window->id);
    m_view.TakeRefusal();
    if (auto* spin = dynamic_cast<ArrowSpin*>(widget)) {
        // Clicked an arrow at a time, as a person steps a spin, until it shows the position.
        const int span = std::abs(spin->Last() - spin->First());
        for (int clicks = 0; spin->GetValue() != pos && clicks <= span; ++clicks) {
            const bool up = (pos - spin->GetValue()) * (spin->Last() - spin->First()) > 0;
            if (!spin->Step(up)) break;
        }
    } else if (auto* slider = dynamic_cast<wxSlider*>(widget)) {
        slider->SetValue(pos);
        wxCommandEvent moved(wxEVT_SLIDER, slider->GetId());
        moved.SetInt(pos);
        Send(slider, moved);
    } else {
        return NotOnScreen(window, error);
    }
    return Accepted(error);
}

bool WidgetHand::Press(CDialog& dialog, int id, HostMessage& error) {
    HWND button = dialog.m_hWnd->Child(id);
    wxWindow* widget = m_view.WidgetOf(id);
    HostMessage unreachable;
    if (button && widget && ui::CanClickControl(button, unreachable))
        return PointerClick(widget, id, error);
    // No button to click: the key does it (Enter or Esc).
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    AfterUserAction();
    return true;
}

ScriptedDialog::ScriptedDialog(WxDialogView& view) : m_view(view), m_hand(view) {
    m_view.Frame()->Bind(wxEVT_PAINT, &ScriptedDialog::OnPaint, this);
    m_timer.Bind(wxEVT_TIMER, &ScriptedDialog::OnTick, this);
    m_timer.StartOnce(kPaintWaitMs);
}

ScriptedDialog::~ScriptedDialog() {
    m_timer.Stop();
    m_view.Frame()->Unbind(wxEVT_PAINT, &ScriptedDialog::OnPaint, this);
}

void ScriptedDialog::OnPaint(wxPaintEvent& event) {
    event.Skip();
    m_painted = true;
}

void ScriptedDialog::OnTick(wxTimerEvent&) {
    CDialog& dialog = m_view.Dialog();
    if (m_view.Detached() || dialog.IsModalEnded()) return;
    // The pointer can only click what the screen shows: the script starts after the first paint.
    if (!m_painted && ++m_waited < kPaintWaitTicks) {
        m_timer.StartOnce(kPaintWaitMs);
        return;
    }
    PlayedLines lines(ui::FrontEndActionSource());
    ui::ScriptDialogPresenter::Step(dialog, lines, m_hand);
    RefreshWxDialogs();  // ends the modal loop once the dialog ended
    if (dialog.IsModalEnded()) {
        // The dialog may have ended inside an event loop of the step's own (the pointer's
        // click, the script's pause), whose exit took the toolkit's quit meant for the modal
        // loop: this handler runs in the modal loop again, which is told once more.
        if (wxEventLoopBase* loop = wxEventLoopBase::GetActive(); loop && loop->IsRunning())
            loop->Exit();
        return;
    }
    if (!m_view.Detached()) m_timer.StartOnce(1);
}

}  // namespace solx::wxui
