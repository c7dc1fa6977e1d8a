// The window table's setup dialog: its remembered output options and the parameter read.

#include "CWinTableDlg.h"
#include "ScriptedFrontEnd.h"
#include "SetupDialogFixture.h"
#include "mfc/WindowState.h"
#include "mfc/afxwin.h"

namespace {

class WinTableDialogTest : public SetupDialogTest {
protected:
    void SetUp() override {
        SetupDialogTest::SetUp();
        WinTableRemembered() = WinTableOptions();
    }
};

// Records whether the hidden option was enabled when the dialog closed.
class ProbeDlg : public CWinTableDlg {
public:
    bool upperEnabled = false;

protected:
    void OnDestroy() override {
        upperEnabled = GetDlgItem(2076)->IsWindowEnabled();
        CWinTableDlg::OnDestroy();
    }
};

TEST_F(WinTableDialogTest, MinimumInMinutesIsReadInHours) {
    ProbeDlg dialog;
    ScriptedFrontEnd script({L"@set 2072 90", L"@set 2074 1", L"@set 2075 1", L"@ok"});
    ASSERT_EQ(dialog.DoModal(), IDOK);
    double lon, lat, dec, tc, minHours = 0;
    int start, end, step, noLimit, sort = -1;
    dialog.GetParameters(lon, lat, dec, tc, start, end, step, noLimit, sort, minHours);
    EXPECT_DOUBLE_EQ(minHours, 1.5);
    EXPECT_EQ(sort, 1);
    EXPECT_EQ(start, 480);
    EXPECT_EQ(WinTableRemembered().onlyUnsatisfied, 1);
    EXPECT_TRUE(dialog.upperEnabled);
}

TEST_F(WinTableDialogTest, SortClickIsKeptEvenWhenCancelled) {
    {
        ProbeDlg dialog;
        ScriptedFrontEnd script({L"@set 2072 3", L"@click 2070", L"@cancel"});
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_FALSE(dialog.upperEnabled);  // follows the sort by floor at once
    }
    EXPECT_EQ(WinTableRemembered().sortMode, 0);
    EXPECT_DOUBLE_EQ(WinTableRemembered().minTime, 3.0);  // stored by the click
    ProbeDlg again;
    ScriptedFrontEnd script({L"@ok"});
    EXPECT_EQ(again.DoModal(), IDOK);
    EXPECT_EQ(WinTableRemembered().sortMode, 0);
    EXPECT_FALSE(again.upperEnabled);
}

TEST_F(WinTableDialogTest, MinimumMustBeANumber) {
    ProbeDlg dialog;
    ScriptedFrontEnd script({L"@set 2072 two", L"@ok", L"@set 2072 2", L"@ok"});
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(CountOf(script.printed, L"Please enter a number."), 1);
    EXPECT_DOUBLE_EQ(WinTableRemembered().minTime, 2.0);
}

}  // namespace
