// The equal-hour dialog: its choices outlive it, the facade lines force the fitting method, and
// the controls follow the method, the mode and the number grid.

#include "CTimeLineDlg.h"
#include "ScriptedFrontEnd.h"
#include "SetupDialogFixture.h"
#include "analysis/SolxFrame.h"
#include "mfc/afxwin.h"

namespace {

class TimeLineDialogTest : public SetupDialogTest {
protected:
    void SetUp() override {
        SetupDialogTest::SetUp();
        EqualHourRemembered() = EqualHourSettings();
        g_dSunCalHeight = 0.0;
    }
};

// Which of the dependent controls were enabled and which method radio was on at the close.
class ProbeDlg : public CTimeLineDlg {
public:
    bool grid = false, smoothing = false, numberGrid = false, spacing = false;
    bool height = false, microRegion = false, fittingShown = false;

protected:
    void OnDestroy() override {
        grid = GetDlgItem(2057)->IsWindowEnabled();
        smoothing = GetDlgItem(2099)->IsWindowEnabled();
        numberGrid = GetDlgItem(2100)->IsWindowEnabled();
        spacing = GetDlgItem(2101)->IsWindowEnabled();
        height = GetDlgItem(2055)->IsWindowEnabled();
        microRegion = GetDlgItem(2095)->IsWindowEnabled();
        fittingShown = static_cast<CButton*>(GetDlgItem(2096))->GetCheck() != 0;
        CTimeLineDlg::OnDestroy();
    }
};

// The defaults at load: "1," in hours, the fitting method in plan, 1000 mm grid, smoothing on,
// the number grid off, so its label spacing is the only fitting control disabled.
TEST_F(TimeLineDialogTest, StartsFromTheDefaultsWithTheFittingControlsOn) {
    ProbeDlg dialog;
    ScriptedFrontEnd script({L"@ok"});
    ASSERT_EQ(dialog.DoModal(), IDOK);
    const EqualHourSettings& s = EqualHourRemembered();
    EXPECT_EQ(s.levelsText, L"1,");
    EXPECT_EQ(s.levelsInMinutes, 0);
    EXPECT_EQ(s.method, 1);
    EXPECT_EQ(s.facadeMode, 0);
    EXPECT_DOUBLE_EQ(s.gridSizeMm, 1000.0);
    EXPECT_TRUE(dialog.grid && dialog.smoothing && dialog.numberGrid && dialog.height);
    EXPECT_TRUE(dialog.microRegion);
    EXPECT_FALSE(dialog.spacing);
}

// The micro-region method disables the grid, smoothing and number grid; the next dialog shows
// every choice of this one.
TEST_F(TimeLineDialogTest, ChoicesOutliveTheDialog) {
    {
        ProbeDlg dialog;
        ScriptedFrontEnd script(
            {L"@set 2090 3,1,2", L"@click 2074", L"@click 2095", L"@set 2055 1500", L"@ok"});
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_FALSE(dialog.grid || dialog.smoothing || dialog.numberGrid || dialog.spacing);
        EXPECT_DOUBLE_EQ(dialog.m_dHeight, 1500.0);
    }
    EXPECT_EQ(EqualHourRemembered().levelsText, L"3,1,2");
    EXPECT_EQ(EqualHourRemembered().levelsInMinutes, 1);
    EXPECT_EQ(EqualHourRemembered().method, 0);
    EXPECT_NEAR(g_dSunCalHeight * DrawUnitScale(), 1500.0, 1e-9);
    ProbeDlg again;
    ScriptedFrontEnd script({L"@click 2096", L"@click 2100", L"@set 2057 2500", L"@ok"});
    ASSERT_EQ(again.DoModal(), IDOK);
    EXPECT_NEAR(again.m_dHeight, 1500.0, 1e-9);  // the remembered height
    EXPECT_TRUE(again.grid && again.spacing);    // fitting with the number grid on
    EXPECT_NEAR(EqualHourRemembered().gridSizeMm * DrawUnitScale(), 2500.0, 1e-9);
    EXPECT_EQ(EqualHourRemembered().showNumberGrid, 1);
}

// Facade lines are fitted: choosing them switches the micro-region method off and shows the
// fitting radio, and the plan-only controls are disabled.
TEST_F(TimeLineDialogTest, FacadeLinesForceTheFittingMethod) {
    EqualHourRemembered().method = 0;
    ProbeDlg dialog;
    ScriptedFrontEnd script({L"@click 2094", L"@ok"});
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(EqualHourRemembered().facadeMode, 1);
    EXPECT_EQ(EqualHourRemembered().method, 1);
    EXPECT_TRUE(dialog.fittingShown);
    EXPECT_FALSE(dialog.microRegion);
    EXPECT_FALSE(dialog.height);
    EXPECT_TRUE(dialog.grid);
}

// Cancel keeps the settings the dialog started with.
TEST_F(TimeLineDialogTest, CancelKeepsTheRememberedSettings) {
    ProbeDlg dialog;
    ScriptedFrontEnd script({L"@set 2090 5", L"@cancel"});
    EXPECT_NE(dialog.DoModal(), IDOK);
    EXPECT_EQ(EqualHourRemembered().levelsText, L"1,");
}

}  // namespace
