// Cursor events, the break test, message boxes, dialog actions, progress and output.
#include "ScriptFixture.h"
#include "mfc/afxwin.h"

namespace {

class EventTest : public ScriptFixture {};

TEST_F(EventTest, TrackingEvents) {
    Script("@move 1,2\n@pick 3.5,4\n@key e\n@esc\n@move 1\n");
    int type = 0;
    resbuf rb;
    ASSERT_EQ(acedGrRead(13, &type, &rb), RTNORM);
    EXPECT_EQ(type, 5);
    EXPECT_EQ(rb.restype, RTPOINT);
    EXPECT_EQ(rb.resval.rpoint[1], 2.0);
    ASSERT_EQ(acedGrRead(13, &type, &rb), RTNORM);
    EXPECT_EQ(type, 3);
    EXPECT_EQ(rb.resval.rpoint[0], 3.5);
    ASSERT_EQ(acedGrRead(13, &type, &rb), RTNORM);
    EXPECT_EQ(type, 2);
    EXPECT_EQ(rb.restype, RTSHORT);
    EXPECT_EQ(rb.resval.rint, 'e');
    EXPECT_EQ(acedGrRead(13, &type, &rb), RTCAN);
    EXPECT_EQ(acedGrRead(13, &type, &rb), RTERROR);
    EXPECT_NE(StopMessage().find("line 5"), std::string::npos);
}

TEST_F(EventTest, EscapeLineIsTheNextBreakOnly) {
    Script("; computing\n@esc\n3,4\n");
    EXPECT_EQ(acedUsrBrk(), 1);
    EXPECT_EQ(acedUsrBrk(), 0);
    ads_point p;
    EXPECT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM) << "the answer after it is kept";
    EXPECT_EQ(acedUsrBrk(), 0) << "end of script is no break";
}

TEST_F(EventTest, MessageBoxAnswers) {
    Script("@yes\n@no\nn\n@ok\n@cancel\nmaybe\n");
    EXPECT_EQ(AfxMessageBox(L"是否标注在图上?", MB_YESNO), IDYES);
    EXPECT_EQ(AfxMessageBox(L"q", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(AfxMessageBox(L"q", MB_YESNO), IDNO);
    EXPECT_EQ(AfxMessageBox(L"only OK reads nothing"), IDOK);
    EXPECT_EQ(AfxMessageBox(L"q", MB_OKCANCEL), IDOK);
    EXPECT_EQ(AfxMessageBox(L"q", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(AfxMessageBox(L"q", MB_YESNO), IDNO);
    EXPECT_TRUE(Stopped());
    EXPECT_NE(Output().find("是否标注在图上?"), std::string::npos);
}

struct ActionCase {
    const wchar_t* text;
    bool ok;
    solx::editor::DialogVerb verb;
    int id;
    const wchar_t* value;
};

TEST(DialogActions, Parsing) {
    using V = solx::editor::DialogVerb;
    const ActionCase cases[] = {
        {L"@set 2055 1600", true, V::Set, 2055, L"1600"},
        {L"@set 1001 北京 朝阳", true, V::Set, 1001, L"北京 朝阳"},
        {L"@set 1001", true, V::Set, 1001, L""},
        {L"@click 2070", true, V::Click, 2070, L""},
        {L"@select 1010 2", true, V::Select, 1010, L"2"},
        {L"@OK", true, V::Ok, 0, L""},
        {L"  @cancel ", true, V::Cancel, 0, L""},
        {L"@click", false, V::Click, 0, L""},
        {L"@click x", false, V::Click, 0, L""},
        {L"@click 5 6", false, V::Click, 0, L""},
        {L"@select 5", false, V::Select, 0, L""},
        {L"@ok now", false, V::Ok, 0, L""},
        {L"3,4", false, V::Ok, 0, L""},
        // Short forms for a person at the terminal.
        {L"2048=9:00", true, V::Set, 2048, L"9:00"},
        {L" 2072 = 2 ", true, V::Set, 2072, L"2"},
        {L"2042", true, V::Click, 2042, L""},
        {L"OK", true, V::Ok, 0, L""},
        {L"cancel", true, V::Cancel, 0, L""},
        {L"?", true, V::Show, 0, L""},
        {L"x=3", false, V::Ok, 0, L""},
        {L"ok go", false, V::Ok, 0, L""},
    };
    for (const auto& c : cases) {
        const auto a = solx::editor::ParseDialogAction(c.text);
        ASSERT_EQ(a.has_value(), c.ok) << solx::win::WideToUtf8(c.text);
        if (!a) continue;
        EXPECT_EQ(a->verb, c.verb);
        EXPECT_EQ(a->id, c.id);
        EXPECT_EQ(a->value, c.value);
    }
}

TEST_F(EventTest, DialogActionsCarryTheirScriptLine) {
    Script("@set 2055 1600\n; next\n@ok\n3,4\n");
    auto first = solx::editor::NextDialogAction(L"单点分析");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->input.line, 1);
    auto second = solx::editor::NextDialogAction(L"单点分析");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->verb, solx::editor::DialogVerb::Ok);
    EXPECT_EQ(second->input.line, 3);
    EXPECT_FALSE(solx::editor::NextDialogAction(L"单点分析"));
    EXPECT_NE(StopMessage().find("line 4"), std::string::npos);
    EXPECT_NE(StopMessage().find("单点分析"), std::string::npos);
}

TEST_F(EventTest, ProgressMeterFollowsItsCalls) {
    Script("");
    acedSetStatusBarProgressMeter(L"窗日照分析", 0, 40);
    acedSetStatusBarProgressMeterPos(10);
    const auto& p = solx::editor::CurrentProgress();
    EXPECT_TRUE(p.active);
    EXPECT_EQ(p.label, L"窗日照分析");
    EXPECT_EQ(p.pos, 10);
    acedRestoreStatusBar();
    EXPECT_FALSE(solx::editor::CurrentProgress().active);
    EXPECT_EQ(acedSetStatusBarProgressMeterPos(5), -1) << "no meter to move";
}

TEST_F(EventTest, PrintfUsesWideStringsAndUtf8Output) {
    Script("");
    acutPrintf(L"%s|%d|%5.1f|%c|%hs|%ls|100%%", L"共耗时", 42, 3.14159, L'秒', "narrow", L"wide");
    EXPECT_EQ(Output(), "共耗时|42|  3.1|秒|narrow|wide|100%");
}

}  // namespace
