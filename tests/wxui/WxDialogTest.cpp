// The window table's setup dialog shown as a real wx dialog: user actions made with wx events
// reach the runtime's controls and handlers, the handlers' changes show in the widgets, the
// values come out through data exchange, and the screen shows what was typed.

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include "CWinTableDlg.h"
#include "../ui/ScriptedFrontEnd.h"
#include "wxui/ArrowSpin.h"
#include "../ui/SetupDialogFixture.h"
#include "WxSession.h"
#include "mfc/afxwin.h"

namespace {

using solx::wxui::WxWidgetOf;

class WxWinTableDialog : public SetupDialogTest {
protected:
    void SetUp() override {
        SKIP_WITHOUT_X();
        SetupDialogTest::SetUp();
        WinTableRemembered() = WinTableOptions();
    }
};

template <class Event = wxCommandEvent>
void Fire(wxWindow* widget, wxEventType type, int value = 0) {
    Event event(type, widget->GetId());
    event.SetEventObject(widget);
    event.SetInt(value);
    widget->GetEventHandler()->ProcessEvent(event);
}

// A click of the left button at `at` (the widget's pixels), as the pointer makes it.
void Click(wxWindow* widget, const wxPoint& at) {
    for (wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
        wxMouseEvent event(type);
        event.SetPosition(at);
        event.SetEventObject(widget);
        widget->GetEventHandler()->ProcessEvent(event);
    }
}

wxRect Within(wxWindow* frame, wxWindow* widget) {
    const wxPoint at = widget->GetScreenPosition() - frame->GetScreenPosition();
    return wxRect(at, widget->GetSize());
}

TEST_F(WxWinTableDialog, UserActionsReachTheRuntimeAndTheScreen) {
    CWinTableDlg dialog;
    wxTimer later;
    int typed = -1, markHours = -1, markMinutes = -1, markBox = -1, arrowUp = -1, arrowDown = -1;
    int stepBefore = -1;
    wxSize spinSize, spinTemplate;
    std::wstring stepShown, captionShown;
    wxTheApp->CallAfter([&] {
        wxDialog* frame = solx::wxui::CurrentModalWxDialog();
        ASSERT_NE(frame, nullptr);
        captionShown = frame->GetTitle().ToStdWstring();
        wxtest::Settle();
        auto* minimum = dynamic_cast<wxTextCtrl*>(WxWidgetOf(&dialog, 2072));
        auto* minutes = dynamic_cast<wxRadioButton*>(WxWidgetOf(&dialog, 2074));
        auto* onlyShort = dynamic_cast<wxCheckBox*>(WxWidgetOf(&dialog, 2075));
        auto* spin = dynamic_cast<solx::wxui::ArrowSpin*>(WxWidgetOf(&dialog, 2019));
        auto* step = dynamic_cast<wxTextCtrl*>(WxWidgetOf(&dialog, 2018));
        ASSERT_TRUE(minimum && minutes && onlyShort && spin && step);
        minimum->ChangeValue("");
        Fire(minimum, wxEVT_TEXT);
        const wxRect field = Within(frame, minimum).Deflate(3);
        const wxRect hours = Within(frame, WxWidgetOf(&dialog, 2073));
        const wxRect inMinutes = Within(frame, minutes);
        const wxRect box = Within(frame, onlyShort);
        minimum->SetValue("90");  // wxEVT_TEXT, as typing does
        minutes->SetValue(true);
        Fire(minutes, wxEVT_RADIOBUTTON, 1);
        onlyShort->SetValue(true);
        Fire(onlyShort, wxEVT_CHECKBOX, 1);
        // The spin keeps its template's rectangle; two clicks on the upper arrow and one on the
        // lower leave it one step up.
        spinSize = spin->GetSize();
        spinTemplate = frame->ConvertDialogToPixels(wxSize(10, 12));
        stepBefore = spin->GetValue();
        const wxSize s = spin->GetClientSize();
        Click(spin, wxPoint(s.x / 2, s.y / 4));
        Click(spin, wxPoint(s.x / 2, s.y / 4));
        Click(spin, wxPoint(s.x / 2, s.y * 3 / 4));
        stepShown = step->GetValue().ToStdWstring();  // the runtime moved the buddy edit
        const wxRect upper = Within(frame, spin), lower = upper;
        // The screenshot is taken from the dialog's own modal loop, once it has painted.
        later.Bind(wxEVT_TIMER, [&, frame, field, hours, inMinutes, box, upper,
                                 lower](wxTimerEvent&) {
            const wxImage shot = wxtest::Screenshot(wxtest::ScreenRect(frame));
            wxtest::Save(shot, "window-table-setup.png");
            // An arrow in each half of the spin.
            arrowUp =
                wxtest::DarkPixels(shot, wxRect(upper.x, upper.y, upper.width, upper.height / 2));
            arrowDown = wxtest::DarkPixels(
                shot, wxRect(lower.x, lower.y + lower.height / 2, lower.width, lower.height / 2));
            typed = wxtest::DarkPixels(shot, field);
            markHours = wxtest::AccentPixels(shot, hours);
            markMinutes = wxtest::AccentPixels(shot, inMinutes);
            markBox = wxtest::AccentPixels(shot, box);
            Fire(WxWidgetOf(&dialog, IDOK), wxEVT_BUTTON);
        });
        later.StartOnce(500);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(captionShown, L"窗日照表");
    ASSERT_GE(stepBefore, 1);
    EXPECT_EQ(stepShown, std::to_wstring(stepBefore + 1));
    EXPECT_EQ(spinSize, spinTemplate);
    EXPECT_GE(arrowUp, 4);
    EXPECT_GE(arrowDown, 4);
    // On screen: "90" in the field that was emptied, the radio mark moved to minutes, the
    // check box marked (the theme draws marks in its accent colour).
    EXPECT_GT(typed, 20);
    EXPECT_EQ(markHours, 0);
    EXPECT_GT(markMinutes, 10);
    EXPECT_GT(markBox, 10);
    double lon, lat, dec, tc, minHours = 0;
    int start, end, stepMinutes, noLimit, sort = -1;
    dialog.GetParameters(lon, lat, dec, tc, start, end, stepMinutes, noLimit, sort, minHours);
    EXPECT_DOUBLE_EQ(minHours, 1.5);  // 90 minutes
    EXPECT_EQ(stepMinutes, stepBefore + 1);
    EXPECT_EQ(start, 480);
    EXPECT_EQ(WinTableRemembered().onlyUnsatisfied, 1);
}

TEST_F(WxWinTableDialog, ClosingTheWindowCancels) {
    CWinTableDlg dialog;
    wxTheApp->CallAfter([&] {
        wxDialog* frame = solx::wxui::CurrentModalWxDialog();
        ASSERT_NE(frame, nullptr);
        auto* minimum = dynamic_cast<wxTextCtrl*>(WxWidgetOf(&dialog, 2072));
        ASSERT_NE(minimum, nullptr);
        minimum->SetValue("45");
        frame->Close();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(solx::wxui::CurrentModalWxDialog(), nullptr);
}

}  // namespace

// A played script answers the real dialog: its lines are done on the widgets (the pointer
// clicks radios, check boxes and OK) and reach the runtime as a person's actions would.
class WxScriptedDialog : public WxWinTableDialog {
protected:
    void SetUp() override {
        WxWinTableDialog::SetUp();
        if (!IsSkipped()) solx::wxui::InstallWxPresenter(nullptr, true);
    }
    void TearDown() override {
        solx::wxui::InstallWxPresenter(nullptr, false);
        WxWinTableDialog::TearDown();
    }
    // Runs `dialog` on `lines`; the refusals the front end heard.
    static int Run(CWinTableDlg& dialog, const std::vector<std::wstring>& lines,
                   std::vector<std::wstring>& refused, std::size_t* unread = nullptr) {
        ScriptedFrontEnd script(lines);
        const int result = static_cast<int>(dialog.DoModal());
        refused = script.refused;
        if (unread) *unread = script.Unread();
        return result;
    }
};

TEST_F(WxScriptedDialog, LinesReachTheRuntimeThroughTheWidgets) {
    CWinTableDlg dialog;
    std::vector<std::wstring> refused;
    ASSERT_EQ(Run(dialog,
                  {L"@set 2072 90", L"@click 2074", L"@set 2075 1", L"@set 2019 5",
                   L"@set 2049 15:30", L"@ok"},
                  refused),
              IDOK);
    EXPECT_TRUE(refused.empty());
    double lon, lat, dec, tc, minHours = 0;
    int start, end, stepMinutes, noLimit, sort = -1;
    dialog.GetParameters(lon, lat, dec, tc, start, end, stepMinutes, noLimit, sort, minHours);
    EXPECT_DOUBLE_EQ(minHours, 1.5);  // 90 minutes: the radio was clicked
    EXPECT_EQ(stepMinutes, 5);
    EXPECT_EQ(end, 15 * 60 + 30);
    EXPECT_EQ(WinTableRemembered().onlyUnsatisfied, 1);
}

TEST_F(WxScriptedDialog, RefusalsAreTheScriptPresentersAndCancel) {
    // Each line is refused: by the runtime before the widget is touched (no control, a hidden
    // or out-of-range one, a static), or by the masked edit's own handler after the widget took
    // the text. The message must be the script presenter's, and the dialog is cancelled.
    const std::vector<std::wstring> bad = {L"@set 2048 25:00", L"@click 9999", L"@set 2019 500",
                                           L"@click 2048",     L"@click 2076", L"@set 2075 2"};
    for (const std::wstring& line : bad) {
        std::vector<std::wstring> onScreen, asText;
        std::size_t unread = 0;
        CWinTableDlg shown, asScript;
        EXPECT_EQ(Run(shown, {line, L"@ok"}, onScreen, &unread), IDCANCEL);
        EXPECT_EQ(unread, 1u) << "the run went on after a refused line";
        solx::wxui::UninstallWxPresenter();
        EXPECT_EQ(Run(asScript, {line, L"@ok"}, asText), IDCANCEL);
        solx::wxui::InstallWxPresenter(nullptr, true);
        ASSERT_EQ(onScreen.size(), 1u);
        ASSERT_EQ(asText.size(), 1u);
        EXPECT_EQ(onScreen[0], asText[0]);
    }
    // A script that runs out with the dialog open cancels it.
    CWinTableDlg dialog;
    std::vector<std::wstring> refused;
    EXPECT_EQ(Run(dialog, {L"@set 2072 3"}, refused), IDCANCEL);
    EXPECT_TRUE(refused.empty());
}
