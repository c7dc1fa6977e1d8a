// The masked time edit's input rules, range and clamping, and the focus-less button, on a live
// dialog window; typing goes key by key through the same path a user's keys take.

#include <gtest/gtest.h>

#include "CUncheckButton.h"
#include "SolxTimeEdit.h"
#include "mfc/CDataExchange.h"
#include "mfc/CDialog.h"
#include "mfc/DialogTemplate.h"
#include "mfc/UserInput.h"
#include "mfc/WindowState.h"

namespace {

class TimeDialog : public CDialog {
public:
    TimeDialog() : CDialog(950) {}
    SolxTimeEdit time;
    CUncheckButton play;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, 951, time);
        DDX_Control(pDX, 952, play);
    }
};

class TimeEdit : public ::testing::Test {
protected:
    void SetUp() override {
        solx::ui::SetDialogTemplateDirectory(SOLX_SOURCE_DIR "/tests/ui/data");
        ASSERT_TRUE(dialog.Create());
    }
    void TearDown() override {
        dialog.DestroyWindow();
        solx::ui::SetDialogTemplateDirectory("");
    }
    std::wstring Text() const { return dialog.time.GetWindowTextString(); }
    void Show(const wchar_t* text) { dialog.time.SetWindowText(text); }
    // Types `keys` with the caret at `caret`.
    void Type(int caret, const std::wstring& keys) {
        solx::ui::FocusControl(dialog.time.m_hWnd);
        dialog.time.SetSel(caret, caret);
        for (wchar_t key : keys) dialog.time.SendMessage(WM_CHAR, key);
    }
    TimeDialog dialog;
};

TEST_F(TimeEdit, StartsWithTheDefaultText) {
    EXPECT_EQ(Text(), L"00:00");
}

TEST_F(TimeEdit, DigitIsCheckedAgainstTheRangeAtItsPosition) {
    struct Case {
        const wchar_t* name;
        int h1, m1, h2, m2;
        const wchar_t* shown;
        int caret;
        wchar_t key;
        const wchar_t* after;
    };
    const Case cases[] = {
        {L"hour above range", 9, 0, 15, 0, L"11:00", 1, L'6', L"11:00"},
        {L"hour inside range", 9, 0, 15, 0, L"11:00", 1, L'4', L"14:00"},
        {L"first hour digit", 9, 0, 15, 0, L"09:30", 0, L'0', L"09:30"},
        {L"hour below range", 9, 0, 15, 0, L"11:00", 0, L'0', L"11:00"},
        {L"minute 60 or more", 0, 0, 23, 59, L"10:05", 3, L'6', L"10:05"},
        {L"minute below start", 9, 30, 15, 0, L"09:45", 3, L'1', L"09:45"},
        {L"minute above end", 9, 0, 15, 20, L"15:10", 3, L'3', L"15:10"},
        {L"hour at end, minute too late", 9, 0, 15, 20, L"13:40", 1, L'5', L"13:40"},
        {L"caret on the colon moves on", 0, 0, 23, 59, L"10:05", 2, L'4', L"10:45"},
        {L"letters are refused", 0, 0, 23, 59, L"10:05", 0, L'a', L"10:05"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(dialog.time.SetRange(c.h1, c.m1, c.h2, c.m2));
        Show(c.shown);
        Type(c.caret, std::wstring(1, c.key));
        EXPECT_EQ(Text(), c.after);
    }
}

TEST_F(TimeEdit, TypedKeysSkipTheColonAndRefusedDigits) {
    ASSERT_TRUE(dialog.time.SetRange(9, 0, 15, 0));
    Show(L"11:00");
    Type(0, L"1630");  // 1 -> 11, 6 refused (16), 3 -> 13, 0 -> minute 0
    EXPECT_EQ(Text(), L"13:00");
    Type(0, L"12:45");
    EXPECT_EQ(Text(), L"12:45");
    EXPECT_EQ(dialog.time.GetHour(), 12);
    EXPECT_EQ(dialog.time.GetMinute(), 45);
}

TEST_F(TimeEdit, BackspaceRestoresThePlaceholder) {
    Show(L"12:45");
    Type(5, L"\b\b");
    EXPECT_EQ(Text(), L"12:00");
    Type(2, L"\b");
    EXPECT_EQ(Text(), L"10:00");
}

TEST_F(TimeEdit, RangeSetterRefusesReversedSpans) {
    ASSERT_TRUE(dialog.time.SetRange(9, 0, 15, 0));
    EXPECT_FALSE(dialog.time.SetRange(15, 0, 9, 30));
    EXPECT_FALSE(dialog.time.SetRange(24, 0, 23, 0));
    EXPECT_FALSE(dialog.time.SetRange(9, 60, 15, 0));
    EXPECT_TRUE(dialog.time.IsInRange(9 * 60));
    EXPECT_FALSE(dialog.time.IsInRange(9 * 60 - 1));
    EXPECT_TRUE(dialog.time.SetRange(9, 30, 15, 0));  // a span, though 30 > 0
    EXPECT_FALSE(dialog.time.IsInRange(9 * 60 + 29));
}

TEST_F(TimeEdit, SettingTheRangeMovesAnOutsideTimeToTheNearerEnd) {
    Show(L"08:00");
    dialog.time.SetModify(FALSE);
    ASSERT_TRUE(dialog.time.SetRange(9, 0, 15, 0));
    EXPECT_EQ(Text(), L"09:00");
    EXPECT_TRUE(dialog.time.GetModify());
    Show(L"16:10");
    ASSERT_TRUE(dialog.time.SetRange(8, 0, 16, 0));
    EXPECT_EQ(Text(), L"16:00");
}

TEST_F(TimeEdit, AddMinutesClampsToTheRange) {
    ASSERT_TRUE(dialog.time.SetRange(9, 0, 15, 0));
    const std::pair<int, const wchar_t*> cases[] = {
        {240, L"15:00"}, {300, L"15:00"}, {-600, L"09:00"}, {75, L"12:15"}};
    for (const auto& [minutes, expected] : cases) {
        Show(L"11:00");
        EXPECT_TRUE(dialog.time.AddMinutes(minutes));
        EXPECT_EQ(Text(), expected) << minutes;
    }
}

TEST_F(TimeEdit, SettersRefuseImpossibleValues) {
    Show(L"11:30");
    EXPECT_FALSE(dialog.time.SetHour(24));
    EXPECT_FALSE(dialog.time.SetMinute(60));
    EXPECT_FALSE(dialog.time.SetHour(-1));
    EXPECT_EQ(Text(), L"11:30");
    EXPECT_TRUE(dialog.time.SetHour(7));
    EXPECT_TRUE(dialog.time.SetMinute(5));
    EXPECT_EQ(Text(), L"07:05");
}

TEST_F(TimeEdit, PlaceholdersReadAsTheDigitsBeforeThem) {
    Show(L"1_:__");
    EXPECT_EQ(dialog.time.GetHour(), 1);
    EXPECT_EQ(dialog.time.GetMinute(), 0);
    ASSERT_TRUE(dialog.time.SetRange(9, 0, 15, 0));
    Show(L"08:59");
    EXPECT_FALSE(dialog.time.IsValid());
    Show(L"15:00");
    EXPECT_TRUE(dialog.time.IsValid());
    EXPECT_FALSE(dialog.time.IsValidTime(24, 0));
}

TEST_F(TimeEdit, UncheckButtonNeverShowsTheFocus) {
    solx::editor::HostMessage error;
    ASSERT_TRUE(solx::ui::ClickControl(dialog.play.m_hWnd, error));
    EXPECT_FALSE(dialog.play.m_hWnd->focusLook);
    HWND plain = dialog.m_hWnd->Child(953);
    ASSERT_TRUE(solx::ui::ClickControl(plain, error));
    EXPECT_TRUE(plain->focusLook);
}

}  // namespace
