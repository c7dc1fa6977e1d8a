// The common setup dialog driven through script lines as a user drives it: standard, manager,
// place and place chooser, solar term, date, "standard time", Cancel, and the step families.

#include <unistd.h>

#include <map>

#include "CDlgSunSetup2.h"
#include "COutlineDlg.h"
#include "CSinglePointDlg.h"
#include "ScriptedFrontEnd.h"
#include "SetupDialogFixture.h"
#include "mfc/DialogPresenter.h"
#include "acad/AcDbDictionary.h"
#include "mfc/afxwin.h"

namespace {

// A dialog that also records what the controls showed when the user pressed OK or Cancel.
template <class Base>
class Probe : public Base {
public:
    explicit Probe(UINT templateId) : Base(templateId) {}
    std::wstring Shown(int id) const { return shown.count(id) ? shown.at(id) : L"?"; }
    std::map<int, std::wstring> shown;

protected:
    void OnDestroy() override {
        for (int id : {2005, 2006, 2045, 2048, 2049, 2018, 2004, 2039, 2014})
            shown[id] = this->GetDlgItemTextString(id);
        Base::OnDestroy();
    }
};
using SetupDlg = Probe<CDlgSunSetup>;
using Setup2Dlg = Probe<CDlgSunSetup2>;
using Setup3Dlg = Probe<CDlgSunSetup3>;

int RunScript(CDialog& dialog, std::vector<std::wstring> lines) {
    ScriptedFrontEnd script(std::move(lines));
    const auto result = static_cast<int>(dialog.DoModal());
    EXPECT_EQ(script.Unread(), 0u) << "the dialog closed before the script's end";
    return result;
}

TEST_F(SetupDialogTest, OpensWithTheSettingsAndOkKeepsThem) {
    SetupDlg dialog(2010);
    EXPECT_EQ(RunScript(dialog, {L"@ok"}), IDOK);
    EXPECT_EQ(dialog.Shown(2004), L"北京");
    EXPECT_EQ(dialog.Shown(2039), L"大寒标准");
    EXPECT_EQ(dialog.Shown(2014), L"大寒");
    EXPECT_EQ(dialog.Shown(2048), L"08:00");
    EXPECT_EQ(dialog.Shown(2049), L"16:00");
    EXPECT_EQ(dialog.Shown(2018), L"1");
    EXPECT_EQ(dialog.Shown(2005), L"39度54分");
    EXPECT_EQ(dialog.Shown(2006), L"116度25分");
    // (120 - 116.41) / 15 h less the equation of time of 2026-01-20 (about -11 min): ~0:25.
    const double expected = (120.0 - 116.41) / 15.0 - SolxDate(2026, 1, 20).GetDgTime();
    EXPECT_EQ(dialog.Shown(2045), SolxDegree(expected).TimeFormat(false));
    EXPECT_EQ(g_SunDataSet.GetStartMinute(), 480);
    EXPECT_EQ(g_SunDataSet.GetEndMinute(), 960);
}

TEST_F(SetupDialogTest, OkStoresTypedTimesAndStep) {
    SetupDlg dialog(2010);
    EXPECT_EQ(RunScript(dialog, {L"@set 2048 0915", L"@set 2049 15:40", L"@set 2018 7", L"@ok"}),
              IDOK);
    EXPECT_EQ(g_SunDataSet.GetStartMinute(), 9 * 60 + 15);
    EXPECT_EQ(g_SunDataSet.GetEndMinute(), 15 * 60 + 40);
    EXPECT_DOUBLE_EQ(g_SunDataSet.m_startTime.GetValue(), 9.25);
    EXPECT_EQ(g_SunDataSet.m_nStep, 7);
    EXPECT_DOUBLE_EQ(g_SunDataSet.m_dStep, 7.0);
}

TEST_F(SetupDialogTest, StepOutsideItsRangeKeepsTheDialogOpen) {
    SetupDlg dialog(2010);
    ScriptedFrontEnd script({L"@set 2018 0", L"@ok", L"@set 2018 3", L"@ok"});
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(CountOf(script.printed, L"Please enter an integer between 1 and 120."), 1);
    EXPECT_EQ(g_SunDataSet.m_nStep, 3);
}

TEST_F(SetupDialogTest, ChangingTheStandardTakesItsDayTimesAndStep) {
    struct Case {
        const char* name;
        int family;  // 1: CDlgSunSetup, 2: CDlgSunSetup2
        int step;
    };
    for (const Case& c :
         {Case{"plain dialog takes the step", 1, 5}, Case{"family keeps its step", 2, 10}}) {
        SCOPED_TRACE(c.name);
        SetUp();
        std::unique_ptr<CDialog> dialog;
        if (c.family == 1)
            dialog = std::make_unique<SetupDlg>(2010);
        else
            dialog = std::make_unique<Setup2Dlg>(2006);
        EXPECT_EQ(RunScript(*dialog, {L"@select 2039 冬至标准", L"@ok"}), IDOK);
        EXPECT_EQ(g_SunDataSet.m_nCurStd, 1);
        EXPECT_EQ(g_SunDataSet.m_date.GetMonth(), 12);
        EXPECT_EQ(g_SunDataSet.m_date.GetYear(), 2026);
        EXPECT_EQ(g_SunDataSet.GetStartMinute(), 540);
        EXPECT_EQ(g_SunDataSet.GetEndMinute(), 900);
        EXPECT_EQ(g_SunDataSet.m_nStep,
                  c.step);  // while open, a family's step is the settings' step
        dialog.reset();
        TearDown();
    }
}

TEST_F(SetupDialogTest, CancelledManagerLeavesTheStandardAndTimes) {
    SetupDlg dialog(2010);
    EXPECT_EQ(RunScript(dialog, {L"@set 2048 1000", L"@select 2039 配置管理器...",
                                 L"@set 3206 11:00", L"@cancel", L"@ok"}),
              IDOK);
    EXPECT_EQ(dialog.Shown(2039), L"大寒标准");
    EXPECT_EQ(g_SunDataSet.m_nCurStd, 0);
    EXPECT_EQ(g_SunDataSet.GetStartMinute(), 600);  // typed, stored by OK
    EXPECT_DOUBLE_EQ(g_SunDataSet.m_stds[0].m_startTime.GetValue(), 8.0);
}

TEST_F(SetupDialogTest, ManagerEditsApplyAndPersist) {
    SetupDlg dialog(2010);
    EXPECT_EQ(RunScript(dialog, {L"@select 2039 配置管理器...", L"@select 3201 冬至标准",
                                 L"@set 3206 9:30", L"@set 3202 严格冬至", L"@ok", L"@ok"}),
              IDOK);
    EXPECT_EQ(g_SunDataSet.m_nCurStd, 1);
    EXPECT_EQ(g_SunDataSet.m_stds[1].m_strName, L"严格冬至");
    EXPECT_EQ(dialog.Shown(2039), L"严格冬至");
    EXPECT_EQ(dialog.Shown(2048), L"09:30");
    EXPECT_TRUE(std::filesystem::exists(m_configDir / "standards.ini"));
}

// The manager takes the same whole-minute step range as the setup dialog, so a step it accepts
// is one the setup dialog shows unchanged.
TEST_F(SetupDialogTest, ManagerTakesOnlyStepsTheSetupDialogCanShow) {
    SetupDlg dialog(2010);
    ScriptedFrontEnd script({L"@select 2039 配置管理器...", L"@set 3208 0.5", L"@ok",
                             L"@set 3208 121", L"@ok", L"@set 3208 30", L"@ok", L"@ok"});
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(CountOf(script.printed, L"Please enter an integer."), 1) << script.printed;
    EXPECT_EQ(CountOf(script.printed, L"Please enter an integer between 1 and 120."), 1);
    EXPECT_DOUBLE_EQ(g_SunDataSet.CurStd().m_dStep, 30.0);
    EXPECT_EQ(dialog.Shown(2018), L"30");
    EXPECT_EQ(g_SunDataSet.m_nStep, 30);
}

TEST_F(SetupDialogTest, ManagerRefusesAnUnreadableTime) {
    SetupDlg dialog(2010);
    ScriptedFrontEnd script({L"@select 2039 配置管理器...", L"@set 3206 nine", L"@ok",
                             L"@set 3206 9:00", L"@ok", L"@ok"});
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(CountOf(script.printed, L"请输入 0:00～24:00 之间的时间。"), 1);
    EXPECT_DOUBLE_EQ(g_SunDataSet.m_stds[0].m_startTime.GetValue(), 9.0);
}

TEST_F(SetupDialogTest, ChangingThePlaceFollowsThePlaceDatabase) {
    SetupDlg dialog(2010);
    EXPECT_EQ(RunScript(dialog, {L"@select 2004 上海", L"@ok"}), IDOK);
    EXPECT_EQ(g_SunDataSet.m_strPlace, L"上海");
    EXPECT_EQ(g_SunDataSet.m_zone.m_strName, L"上海");
    EXPECT_EQ(dialog.Shown(2005), L"31度14分");
}

TEST_F(SetupDialogTest, UnknownPlaceIsRefusedWithAMessage) {
    g_SunDataSet.m_cities.emplace_back(L"无名镇");
    SetupDlg dialog(2010);
    ScriptedFrontEnd script({L"@select 2004 无名镇", L"@ok"});
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(CountOf(script.printed, L"请在地区数据库中建立 无名镇 的位置数据"), 1);
    EXPECT_EQ(g_SunDataSet.m_strPlace, L"北京");
    EXPECT_EQ(dialog.Shown(2004), L"北京");
}

TEST_F(SetupDialogTest, PlaceChooserAddsTheChosenPlace) {
    const std::size_t cities = g_SunDataSet.m_cities.size();
    SetupDlg dialog(2010);
    EXPECT_EQ(RunScript(dialog, {L"@click 2042", L"@select 3101 江苏", L"@select 3102 苏州", L"@ok",
                                 L"@ok"}),
              IDOK);
    EXPECT_EQ(g_SunDataSet.m_strPlace, L"苏州");
    EXPECT_EQ(g_SunDataSet.m_zone.m_strProvince, L"江苏");
    ASSERT_EQ(g_SunDataSet.m_cities.size(), cities + 1);
    EXPECT_EQ(g_SunDataSet.m_cities.back().m_strName, L"苏州");
    EXPECT_EQ(dialog.Shown(2004), L"苏州");
}

TEST_F(SetupDialogTest, PlaceChooserFromTheLastItemAndCancelled) {
    SetupDlg dialog(2010);
    EXPECT_EQ(
        RunScript(dialog, {L"@select 2004 其他地点...", L"@select 3101 江苏", L"@cancel", L"@ok"}),
        IDOK);
    EXPECT_EQ(g_SunDataSet.m_strPlace, L"北京");
    EXPECT_EQ(dialog.Shown(2004), L"北京");
}

TEST_F(SetupDialogTest, SolarTermKeepsTheYear) {
    g_SunDataSet.m_date = SolxDate(2030, 1, 20);
    SetupDlg dialog(2010);
    EXPECT_EQ(RunScript(dialog, {L"@select 2014 冬至", L"@ok"}), IDOK);
    EXPECT_EQ(g_SunDataSet.m_date.GetYear(), 2030);
    EXPECT_EQ(g_SunDataSet.m_date.GetMonth(), 12);
    EXPECT_EQ(g_SunDataSet.m_date.GetSTermIndex(), 23);
}

TEST_F(SetupDialogTest, DateChangeShowsItsSolarTermOrNone) {
    SetupDlg dialog(2010);
    EXPECT_EQ(RunScript(dialog, {L"@set 2046 2026-03-01", L"@ok"}), IDOK);
    EXPECT_EQ(g_SunDataSet.m_date, SolxDate(2026, 3, 1));
    EXPECT_EQ(dialog.Shown(2014), L"");
}

TEST_F(SetupDialogTest, StandardTimeButtonResetsDayTimesAndStep) {
    g_SunDataSet.m_nCurStd = 1;
    Setup2Dlg dialog(2006);
    EXPECT_EQ(RunScript(dialog, {L"@set 2048 1000", L"@set 2018 4", L"@click 2069", L"@ok"}), IDOK);
    EXPECT_EQ(g_SunDataSet.GetStartMinute(), 540);
    EXPECT_EQ(g_SunDataSet.m_date.GetMonth(), 12);
    EXPECT_EQ(g_SunDataSet.m_nStep, 5);  // truncated from 5.5
}

// A cancelled dialog keeps its handled edits in the session's settings but never writes to the
// drawing; a confirmed one writes them, and only when they differ from what the drawing holds.
TEST_F(SetupDialogTest, CancelKeepsHandledEditsButLeavesTheDrawingAlone) {
    SetupDlg dialog(2010);
    EXPECT_EQ(RunScript(dialog, {L"@set 2048 0930", L"@set 2046 2026-02-04", L"@set 2049 1500",
                                 L"@cancel"}),
              IDCANCEL);
    EXPECT_EQ(g_SunDataSet.m_date, SolxDate(2026, 2, 4));
    EXPECT_EQ(g_SunDataSet.GetStartMinute(), 570);  // stored by the date change
    EXPECT_EQ(g_SunDataSet.GetEndMinute(), 960);    // typed after it, never stored
    AcDbDictionary* root = nullptr;
    ASSERT_EQ(acdbOpenObject(root, m_db->namedObjectsDictionaryId(), AcDb::kForRead), Acad::eOk);
    EXPECT_FALSE(root->has(g_dictSunSet.c_str())) << "Cancel added the settings dictionary";
    root->close();

    SetupDlg confirmed(2010);
    EXPECT_EQ(RunScript(confirmed, {L"@ok"}), IDOK);
    SolxDataSet saved;
    ASSERT_TRUE(saved.LoadSunDataSetDict(&g_dictSunSet));
    EXPECT_EQ(saved.m_date, SolxDate(2026, 2, 4));
    EXPECT_EQ(saved.GetStartMinute(), 570);

    // A later cancelled edit does not rewrite what the drawing holds.
    SetupDlg again(2010);
    EXPECT_EQ(RunScript(again, {L"@set 2046 2026-03-01", L"@cancel"}), IDCANCEL);
    ASSERT_TRUE(saved.LoadSunDataSetDict(&g_dictSunSet));
    EXPECT_EQ(saved.m_date, SolxDate(2026, 2, 4));
}

TEST_F(SetupDialogTest, StepFamiliesRememberTheirOwnStep) {
    SunSetup2Step() = 10;
    SunSetup3Step() = 60;
    g_SunDataSet.m_nStep = 1;
    g_SunDataSet.m_dStep = 1.0;
    {
        Setup3Dlg dialog(2008);
        EXPECT_EQ(RunScript(dialog, {L"@set 2018 30", L"@ok"}), IDOK);
        EXPECT_EQ(dialog.Shown(2018), L"30");
    }
    EXPECT_EQ(g_SunDataSet.m_nStep, 1);
    EXPECT_DOUBLE_EQ(g_SunDataSet.m_dStep, 1.0);
    auto shownStep = [](auto&& dialog) {
        EXPECT_EQ(RunScript(dialog, {L"@ok"}), IDOK);
        return dialog.Shown(2018);
    };
    EXPECT_EQ(shownStep(Setup3Dlg(2008)), L"30");
    EXPECT_EQ(shownStep(SetupDlg(2010)), L"1");
    EXPECT_EQ(shownStep(Setup2Dlg(2006)), L"10");
    EXPECT_EQ(SunSetup3Step(), 30);
}

// The drawing keeps the shared step whichever dialog confirmed the settings: a family's own
// step (single point 10 over the second family's, outline 60) is never written as the shared one.
TEST_F(SetupDialogTest, FamiliesWriteTheSharedStepToTheDrawing) {
    SunSetup2Step() = 10;
    SunSetup3Step() = 60;
    SinglePointStep() = 15;
    g_SunDataSet.m_nStep = 5;
    g_SunDataSet.m_dStep = 5.0;
    auto storedStep = [] {
        SolxDataSet saved;
        EXPECT_TRUE(saved.LoadSunDataSetDict(&g_dictSunSet));
        return saved.m_nStep;
    };
    {
        CSinglePointDlg dialog;
        EXPECT_EQ(RunScript(dialog, {L"@set 2018 10", L"@set 2048 0900", L"@ok"}), IDOK);
    }
    EXPECT_EQ(SinglePointStep(), 10);
    EXPECT_EQ(storedStep(), 5) << "the single-point step was written as the shared one";
    SolxDataSet saved;
    ASSERT_TRUE(saved.LoadSunDataSetDict(&g_dictSunSet));
    EXPECT_EQ(saved.GetStartMinute(), 540);  // the dialog's other edits were written
    {
        COutlineDlg dialog;
        EXPECT_EQ(RunScript(dialog, {L"@set 2018 30", L"@set 2048 0930", L"@ok"}), IDOK);
    }
    EXPECT_EQ(SunSetup3Step(), 30);
    EXPECT_EQ(storedStep(), 5) << "the outline step was written as the shared one";
    {
        Setup2Dlg dialog(2006);
        EXPECT_EQ(RunScript(dialog, {L"@set 2018 20", L"@set 2048 1000", L"@ok"}), IDOK);
    }
    EXPECT_EQ(storedStep(), 5);
    EXPECT_EQ(g_SunDataSet.m_nStep, 5);
    EXPECT_DOUBLE_EQ(g_SunDataSet.m_dStep, 5.0);

    // The common dialog still writes its own edit of the shared step.
    SetupDlg common(2010);
    EXPECT_EQ(RunScript(common, {L"@set 2018 7", L"@ok"}), IDOK);
    EXPECT_EQ(storedStep(), 7);
}

// Cancel in a family dialog leaves the drawing alone, whatever was typed.
TEST_F(SetupDialogTest, CancelledFamilyDialogLeavesTheDrawingAlone) {
    g_SunDataSet.m_nStep = 5;
    g_SunDataSet.m_dStep = 5.0;
    {
        CSinglePointDlg dialog;
        EXPECT_EQ(RunScript(dialog, {L"@set 2018 20", L"@set 2046 2026-02-04", L"@cancel"}),
                  IDCANCEL);
        COutlineDlg outline;
        EXPECT_EQ(RunScript(outline, {L"@set 2018 20", L"@cancel"}), IDCANCEL);
    }
    AcDbDictionary* root = nullptr;
    ASSERT_EQ(acdbOpenObject(root, m_db->namedObjectsDictionaryId(), AcDb::kForRead), Acad::eOk);
    EXPECT_FALSE(root->has(g_dictSunSet.c_str())) << "Cancel added the settings dictionary";
    root->close();
    EXPECT_EQ(g_SunDataSet.m_nStep, 5);
}

TEST_F(SetupDialogTest, CaptionReplacesTheTemplates) {
    SetupDlg dialog(2006);
    dialog.m_pCaption = L"单点分析";
    std::wstring caption;
    class Capture : public solx::ui::DialogPresenter {
    public:
        explicit Capture(std::wstring& out) : m_out(out) {}
        int RunModal(CDialog& d) override {
            m_out = d.GetWindowTextString();
            d.EndDialog(IDCANCEL);
            return IDCANCEL;
        }
        std::wstring& m_out;
    } capture(caption);
    solx::ui::SetDialogPresenter(&capture);
    dialog.DoModal();
    solx::ui::SetDialogPresenter(nullptr);
    EXPECT_EQ(caption, L"单点分析");
}

}  // namespace

namespace {

// A time typed into a time edit is that time, whatever the edit showed before; a time the edit
// cannot hold stops the script instead of becoming another time.
TEST_F(SetupDialogTest, TypedTimesAreTakenAsTyped) {
    struct Case {
        const wchar_t* start;
        const wchar_t* end;
        int startMinute, endMinute;
    };
    for (const Case& c : {Case{L"9:00", L"20:00", 540, 1200}, Case{L"0:00", L"0:00", 0, 0},
                          Case{L"0730", L"23:59", 450, 1439}, Case{L"09:05", L"16:00", 545, 960}}) {
        SCOPED_TRACE(c.start);
        SetupDlg dialog(2010);
        ScriptedFrontEnd script(
            {std::wstring(L"@set 2048 ") + c.start, std::wstring(L"@set 2049 ") + c.end, L"@ok"});
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_TRUE(script.refused.empty());
        EXPECT_EQ(g_SunDataSet.GetStartMinute(), c.startMinute);
        EXPECT_EQ(g_SunDataSet.GetEndMinute(), c.endMinute);
    }
    for (const wchar_t* bad : {L"25:00", L"12:75", L"ab:cd", L"9", L"9:5", L"12:000", L""}) {
        SCOPED_TRACE(bad);
        SetupDlg dialog(2010);
        ScriptedFrontEnd script({std::wstring(L"@set 2049 ") + bad, L"@ok"});
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        ASSERT_EQ(script.refused.size(), 1u);
        EXPECT_NE(script.refused[0].find(L"control 2049 cannot hold"), std::wstring::npos)
            << script.refused[0];
        EXPECT_NE(script.refused[0].find(L"HH:MM"), std::wstring::npos) << "says what it takes";
        EXPECT_EQ(dialog.Shown(2049), L"16:00") << "the edit keeps its time";
        EXPECT_EQ(g_SunDataSet.GetEndMinute(), 960);
    }
}

TEST_F(SetupDialogTest, StartAfterEndKeepsTheDialogOpen) {
    SetupDlg dialog(2010);
    ScriptedFrontEnd script({L"@set 2048 17:00", L"@ok", L"@set 2048 9:00", L"@set 2049 8:30",
                             L"@ok", L"@set 2049 15:00", L"@ok"});
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(CountOf(script.printed, L"无效的开始时间"), 2) << script.printed;
    EXPECT_EQ(g_SunDataSet.GetStartMinute(), 540);
    EXPECT_EQ(g_SunDataSet.GetEndMinute(), 900);
}

}  // namespace
