// The shadow outline dialog: one moment or several, the contour step kept apart from the
// shared step, and the calculation height.

#include "COutlineDlg.h"
#include "CDlgSunSetup2.h"
#include "ScriptedFrontEnd.h"
#include "SetupDialogFixture.h"
#include "analysis/SolxFrame.h"
#include "mfc/afxwin.h"

namespace {

class OutlineDialogTest : public SetupDialogTest {
protected:
    void SetUp() override {
        SetupDialogTest::SetUp();
        OutlineRemembered() = OutlineOptions();
        SunSetup3Step() = 60;
        g_dSunCalHeight = 0.0;
    }
};

// What the controls showed when the dialog closed.
class ProbeDlg : public COutlineDlg {
public:
    std::wstring label, step;
    bool startShown = false, momentShown = false, endEnabled = false, stepEnabled = false;

protected:
    void OnDestroy() override {
        label = GetDlgItemTextString(2060);
        step = GetDlgItemTextString(2018);
        startShown = GetDlgItem(2048)->IsWindowVisible();
        momentShown = GetDlgItem(2015)->IsWindowVisible();
        endEnabled = GetDlgItem(2049)->IsWindowEnabled();
        stepEnabled = GetDlgItem(2018)->IsWindowEnabled() && GetDlgItem(2019)->IsWindowEnabled();
        COutlineDlg::OnDestroy();
    }
};

TEST_F(OutlineDialogTest, SeveralMomentsShowThePeriodWithTheContourStep) {
    ProbeDlg dialog;
    ScriptedFrontEnd script({L"@set 2049 15:00", L"@ok"});
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.label, L"开始:");
    EXPECT_EQ(dialog.step, L"60");  // the shared step is 1
    EXPECT_TRUE(dialog.startShown);
    EXPECT_FALSE(dialog.momentShown);
    EXPECT_TRUE(dialog.endEnabled && dialog.stepEnabled);
    int start = 0, end = 0, step = 0;
    dialog.GetMoments(start, end, step);
    EXPECT_EQ(start, 480);
    EXPECT_EQ(end, 900);
    EXPECT_EQ(step, 60);
}

// Unticking "计算多个时刻" swaps the start edit for the moment edit and disables the period;
// the moment is remembered for the next dialog.
TEST_F(OutlineDialogTest, OneMomentIsTheMomentEditsTime) {
    {
        ProbeDlg dialog;
        ScriptedFrontEnd script({L"@click 2059", L"@set 2015 10:30", L"@ok"});
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.label, L"时刻:");
        EXPECT_FALSE(dialog.startShown);
        EXPECT_TRUE(dialog.momentShown);
        EXPECT_FALSE(dialog.endEnabled || dialog.stepEnabled);
        int start = 0, end = 0, step = 0;
        dialog.GetMoments(start, end, step);
        EXPECT_EQ(start, 630);
        EXPECT_EQ(end, 630);
    }
    EXPECT_EQ(OutlineRemembered().severalMoments, 0);
    ProbeDlg again;
    ScriptedFrontEnd script({L"@set 2015 9:15", L"@ok"});  // typed where it stays shown
    ASSERT_EQ(again.DoModal(), IDOK);
    EXPECT_EQ(OutlineRemembered().momentHour * 60 + OutlineRemembered().momentMinute, 555);
}

// The step edited here is the contour step: the shared step is what it was, the next outline
// dialog shows the edited one.
TEST_F(OutlineDialogTest, ContourStepIsKeptApartFromTheSharedStep) {
    {
        ProbeDlg dialog;
        ScriptedFrontEnd script({L"@set 2018 30", L"@set 2055 1500", L"@ok"});
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_DOUBLE_EQ(dialog.m_dHeight, 1500.0);
    }
    EXPECT_EQ(g_SunDataSet.m_nStep, 1);
    EXPECT_EQ(SunSetup3Step(), 30);
    g_dSunCalHeight = 2000.0 / DrawUnitScale();
    ProbeDlg again;
    ScriptedFrontEnd script({L"@ok"});
    ASSERT_EQ(again.DoModal(), IDOK);
    EXPECT_EQ(again.step, L"30");
    EXPECT_NEAR(again.m_dHeight, 2000.0, 1e-9);  // the remembered height, in drawing units
}

}  // namespace
