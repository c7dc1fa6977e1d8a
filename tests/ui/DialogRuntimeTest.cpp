// The dialog runtime driven as a script drives it: actions arrive through the editor's front end
// and reach the dialog as the notifications a user would cause.

#include <gtest/gtest.h>

#include <algorithm>

#include "ScriptedFrontEnd.h"
#include "mfc/CDataExchange.h"
#include "mfc/CDialog.h"
#include "mfc/DialogTemplate.h"
#include "mfc/UserInput.h"
#include "mfc/WindowState.h"
#include "mfc/afxcmn.h"
#include "mfc/afxwin.h"
#include "solx/SolxStdSet.h"

namespace {

std::vector<std::wstring> g_errors;
void CollectError(const std::wstring& message) {
    g_errors.push_back(message);
}

class RuntimeDialog : public CDialog {
public:
    RuntimeDialog() : CDialog(900) {}

    double value = 5.0;
    int count = 3;
    int check = 0;
    int radio = 1;
    int item = 0;
    CString typed = L"1";
    std::vector<std::wstring> events;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetTimer(7, 100);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, 901, value);
        DDV_MinMaxDouble(pDX, value, 1.0, 10.0);
        DDX_Text(pDX, 902, count);
        DDX_Check(pDX, 903, check);
        DDX_Radio(pDX, 904, radio);
        DDX_CBIndex(pDX, 907, item);
        DDX_CBString(pDX, 915, typed);
    }
    void DeclareMessageMap(CMessageMap& map) override {
        CDialog::DeclareMessageMap(map);
        map.OnCommand(EN_CHANGE, 901, [this] { events.push_back(L"change 901"); });
        map.OnCommand(EN_KILLFOCUS, 901, [this] { events.push_back(L"leave 901"); });
        map.OnCommand(BN_CLICKED, 911, [this] { events.push_back(L"click 911"); });
        map.OnCommandRange(BN_CLICKED, 904, 906,
                           [this](UINT id) { events.push_back(L"radio " + std::to_wstring(id)); });
        map.OnCommand(CBN_SELCHANGE, 907, [this] {
            events.push_back(
                L"select " +
                std::to_wstring(static_cast<CComboBox*>(GetDlgItem(907))->GetCurSel()));
        });
        map.OnNotify(DTN_DATETIMECHANGE, 908, [this](NMHDR* header, LRESULT*) {
            const auto* change = reinterpret_cast<NMDATETIMECHANGE*>(header);
            events.push_back(L"date " + std::to_wstring(change->st.wYear) + L"-" +
                             std::to_wstring(change->st.wMonth) + L"-" +
                             std::to_wstring(change->st.wDay));
        });
    }
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar) override {
        events.push_back(L"vscroll " + std::to_wstring(bar->GetDlgCtrlID()) + L" " +
                         std::to_wstring(code) + L" " + std::to_wstring(pos));
    }
    void OnHScroll(UINT code, UINT, CScrollBar* bar) override {
        if (code == TB_THUMBPOSITION)
            events.push_back(L"slider " +
                             std::to_wstring(static_cast<CSliderCtrl*>(bar)->GetPos()));
    }
    void OnTimer(UINT_PTR id) override {
        events.push_back(L"timer " + std::to_wstring(id));
        KillTimer(id);
        solx::ui::FireTimer(m_hWnd, id);  // killed: delivers nothing more
    }
    void OnDestroy() override { events.push_back(L"destroy"); }
};

// A derived class's entry for a notification replaces its base's.
class DerivedDialog : public RuntimeDialog {
protected:
    void DeclareMessageMap(CMessageMap& map) override {
        RuntimeDialog::DeclareMessageMap(map);
        map.OnCommand(BN_CLICKED, 911, [this] { events.push_back(L"derived click 911"); });
    }
};

class DialogRuntime : public ::testing::Test {
protected:
    void SetUp() override {
        solx::ui::SetDialogTemplateDirectory(SOLX_SOURCE_DIR "/tests/ui/data");
        solx::ui::SetErrorSink(&CollectError);
        g_errors.clear();
    }
    void TearDown() override {
        solx::ui::SetErrorSink(nullptr);
        solx::ui::SetDialogTemplateDirectory("");
    }
};

TEST_F(DialogRuntime, OkStoresWhatTheUserEntered) {
    ScriptedFrontEnd script({L"@set 901 7.25", L"@set 902 12", L"@set 903 1", L"@set 906 1",
                             L"@select 907 gamma", L"@ok"});
    RuntimeDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(dialog.value, 7.25);
    EXPECT_EQ(dialog.count, 12);
    EXPECT_EQ(dialog.check, 1);
    EXPECT_EQ(dialog.radio, 2);
    EXPECT_EQ(dialog.item, 2);
    EXPECT_TRUE(g_errors.empty());
    EXPECT_EQ(dialog.events.back(), L"destroy");
}

TEST_F(DialogRuntime, CancelLeavesTheMembersAndStillDestroys) {
    ScriptedFrontEnd script({L"@set 901 9", L"@set 903 1", L"@cancel"});
    RuntimeDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_DOUBLE_EQ(dialog.value, 5.0);
    EXPECT_EQ(dialog.check, 0);
    EXPECT_EQ(dialog.events.back(), L"destroy");
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(DialogRuntime, RangeAndNumberChecksKeepTheDialogOpen) {
    struct Case {
        const wchar_t* name;
        const wchar_t* typed;
        const wchar_t* message;
    };
    const Case cases[] = {
        {L"above the range", L"12", L"Please enter a number between 1 and 10."},
        {L"below the range", L"0.5", L"Please enter a number between 1 and 10."},
        {L"not a number", L"abc", L"Please enter a number."},
        {L"trailing junk", L"3x", L"Please enter a number."},
        // Not numbers a drawing can hold: a range check alone lets NaN through.
        {L"nan", L"nan", L"Please enter a number."},
        {L"infinity", L"inf", L"Please enter a number."},
        {L"negative infinity", L"-Infinity", L"Please enter a number."},
        {L"overflows to infinity", L"1e400", L"Please enter a number."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedFrontEnd script(
            {std::wstring(L"@set 901 ") + c.typed, L"@ok", L"@set 901 2.5", L"@ok"});
        RuntimeDialog dialog;
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(CountOf(script.printed, c.message), 1);
        EXPECT_DOUBLE_EQ(dialog.value, 2.5);
    }
}

TEST_F(DialogRuntime, NotificationsFollowTheUsersActions) {
    ScriptedFrontEnd script({L"@set 901 4", L"@click 911", L"@set 906 1", L"@select 907 beta",
                             L"@set 908 2026-12-22", L"@set 909 17", L"@set 910 40", L"@ok"});
    RuntimeDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    const std::vector<std::wstring> expected = {
        L"change 901",      L"leave 901",        L"click 911", L"radio 906", L"select 1",
        L"date 2026-12-22", L"vscroll 909 4 17", L"slider 40", L"destroy"};
    EXPECT_EQ(dialog.events, expected);
    EXPECT_EQ(dialog.count, 17);  // the spin wrote its buddy
}

TEST_F(DialogRuntime, DerivedHandlerWins) {
    ScriptedFrontEnd script({L"@click 911", L"@cancel"});
    DerivedDialog dialog;
    dialog.DoModal();
    EXPECT_EQ(dialog.events.front(), L"derived click 911");
}

// Every line a script gives a dialog must be done as written; one that cannot be done stops the
// run (the host then exits with failure and saves nothing) and cancels the dialog.
TEST_F(DialogRuntime, ImpossibleActionsStopTheScript) {
    struct Case {
        const wchar_t* line;
        const wchar_t* message;
    };
    const Case cases[] = {
        {L"@click 999", L"no control 999"},
        {L"@click 914", L"control 914 is disabled"},
        {L"@set 913 x", L"control 913 is read-only"},
        {L"@select 907 delta", L"control 907 has no item 'delta'"},
        {L"@set 908 22.12.2026", L"YYYY-MM-DD"},
        {L"@set 905 0", L"cleared by setting another radio"},
        {L"@click 901", L"control 901 (edit) is not a button"},
        {L"@set 909 51", L"control 909 goes from 0 to 50"},
        {L"@set 910 -1", L"control 910 goes from 0 to 100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        g_errors.clear();
        ScriptedFrontEnd script({c.line, L"@ok"});
        RuntimeDialog dialog;
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_TRUE(script.Stopped());
        ASSERT_EQ(script.refused.size(), 1u);
        EXPECT_NE(script.refused[0].find(c.message), std::wstring::npos) << script.refused[0];
        EXPECT_NE(script.refused[0].find(L"dialog 900"), std::wstring::npos);
        EXPECT_TRUE(g_errors.empty()) << "a stopped run cancels quietly";
        EXPECT_EQ(script.Unread(), 1u);
    }
}

TEST_F(DialogRuntime, EscCancelsWithoutAMessage) {
    ScriptedFrontEnd script({L"@set 902 8", L"@esc"});
    RuntimeDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.count, 3);
    EXPECT_TRUE(g_errors.empty());
    EXPECT_FALSE(script.Stopped());
}

TEST_F(DialogRuntime, ScriptThatRunsDryCancels) {
    ScriptedFrontEnd script({L"@set 902 8"});
    RuntimeDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.count, 3);
    ASSERT_EQ(g_errors.size(), 1u);
    EXPECT_NE(g_errors[0].find(L"Runtime test"), std::wstring::npos);
}

TEST_F(DialogRuntime, EditableComboTakesTypedText) {
    for (const wchar_t* value : {L"7", L"2", L"12"}) {
        ScriptedFrontEnd script({std::wstring(L"@set 915 ") + value, L"@ok"});
        RuntimeDialog dialog;
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.typed.str(), value);
        for (const auto& e : g_errors) ADD_FAILURE() << std::string(e.begin(), e.end());
    }
    EXPECT_TRUE(g_errors.empty());
}

TEST_F(DialogRuntime, TimerIsDeliveredUntilKilled) {
    class TimerDialog : public RuntimeDialog {
    protected:
        void DeclareMessageMap(CMessageMap& map) override {
            RuntimeDialog::DeclareMessageMap(map);
            map.OnCommand(BN_CLICKED, 911, [this] { solx::ui::FireTimer(m_hWnd, 7); });
        }
    };
    ScriptedFrontEnd script({L"@click 911", L"@click 911", L"@cancel"});
    TimerDialog dialog;
    dialog.DoModal();
    EXPECT_EQ(std::count(dialog.events.begin(), dialog.events.end(), L"timer 7"), 1);
}

TEST_F(DialogRuntime, MissingTemplateFailsTheDialog) {
    class Missing : public CDialog {
    public:
        Missing() : CDialog(12345) {}
    };
    ScriptedFrontEnd script({L"@ok"});
    Missing dialog;
    EXPECT_EQ(dialog.DoModal(), -1);
    ASSERT_EQ(g_errors.size(), 1u);
    EXPECT_NE(g_errors[0].find(L"12345"), std::wstring::npos);
    EXPECT_EQ(script.Unread(), 1u);
}

TEST(DialogTemplates, BadLinesNameFileAndLine) {
    struct Case {
        const char* text;
        const wchar_t* message;
    };
    const Case cases[] = {
        {"edit 1 0 0 10 10\n", L"t.dlg:1: control before the first dialog line"},
        {"dialog 5 0 0 10 10 \"x\"\n\nknob 3 0 0 1 1\n", L"t.dlg:3: unknown control kind 'knob'"},
        {"dialog 5 0 0 10 10 \"x\"\nedit 3 0 0 1\n", L"t.dlg:2: expected: edit ID X Y"},
        {"dialog 5 0 0 10 10 \"x\"\nedit 3 0 0 1 1 shiny\n", L"t.dlg:2: unknown option 'shiny'"},
        {"dialog 5 0 0 10 10 \"x\"\nspin 3 0 0 1 1 range 1\n", L"t.dlg:2: range needs two numbers"},
        {"dialog 5 0 0 10 10 \"x\n", L"t.dlg:1: unterminated string"},
        {"dialog 5 0 0 10 \"x\"\n", L"t.dlg:1: expected: dialog ID"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::wstring error;
        EXPECT_TRUE(solx::ui::ParseDialogTemplates(c.text, "t.dlg", error).empty());
        EXPECT_EQ(error.find(c.message), 0u) << error;
    }
}

TEST(DialogTemplates, EveryShippedTemplateReadsAndPairsMatch) {
    solx::ui::SetDialogTemplateDirectory(SOLX_SOURCE_DIR "/resources/dialogs");
    const std::pair<int, int> pairs[] = {
        {2005, 2030}, {2006, 2028}, {2008, 2034}, {2010, 2045}, {2018, 2039}};
    for (const auto& [chs, other] : pairs) {
        const auto* first = solx::ui::FindDialogTemplate(chs);
        const auto* second = solx::ui::FindDialogTemplate(other);
        ASSERT_TRUE(first && second) << chs;
        EXPECT_EQ(first->caption, second->caption);
        ASSERT_EQ(first->controls.size(), second->controls.size());
        for (std::size_t i = 0; i < first->controls.size(); ++i) {
            EXPECT_EQ(first->controls[i].id, second->controls[i].id) << chs << " control " << i;
            EXPECT_EQ(first->controls[i].kind, second->controls[i].kind) << chs << " control " << i;
        }
        // The step spin covers exactly the step range the field and the standards accept.
        for (const auto* dialog : {first, second}) {
            int spins = 0;
            for (const auto& control : dialog->controls) {
                if (control.id != 2019) continue;
                ++spins;
                EXPECT_EQ(control.rangeMin, kStepMinutesMin) << dialog->id;
                EXPECT_EQ(control.rangeMax, kStepMinutesMax) << dialog->id;
            }
            EXPECT_EQ(spins, 1) << dialog->id;
        }
    }
    solx::ui::SetDialogTemplateDirectory("");
}

}  // namespace
