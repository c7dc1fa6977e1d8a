// The host's registry, the view model and the MFC string.
#include <gtest/gtest.h>

#include "acad/aced.h"
#include "acad/acrx.h"
#include "mfc/afxwin.h"

namespace {

int g_runs = 0;
void CountRun() {
    ++g_runs;
}

TEST(CommandStack, GroupsNamesAndCase) {
    AcEdCommandStack& stack = *acedRegCmds;
    ASSERT_EQ(stack.addCommand(L"G1", L"Alpha", L"Alpha", 0, CountRun), 0);
    ASSERT_EQ(stack.addCommand(L"G1", L"Beta", L"Beta", 2, CountRun), 0);
    EXPECT_NE(stack.addCommand(L"G2", L"ALPHA", L"ALPHA", 0, CountRun), 0) << "taken by G1";
    EXPECT_NE(stack.addCommand(L"G2", L"", L"", 0, CountRun), 0);
    EXPECT_NE(stack.addCommand(L"G2", L"Gamma", L"Gamma", 0, nullptr), 0);
    const AcEdCommand* beta = stack.lookupCmd(L"beta");
    ASSERT_NE(beta, nullptr);
    EXPECT_EQ(beta->flags, 2);
    beta->function();
    EXPECT_EQ(g_runs, 1);
    EXPECT_EQ(stack.removeGroup(L"G1"), 0);
    EXPECT_EQ(stack.lookupCmd(L"Alpha"), nullptr);
    EXPECT_NE(stack.removeGroup(L"G1"), 0) << "already gone";
}

TEST(DynamicLinker, ApplicationsStartLockedAndNotMdiAware) {
    void* app = reinterpret_cast<void*>(0x77);
    EXPECT_TRUE(acrxDynamicLinker->isApplicationLocked(app));
    EXPECT_FALSE(acrxDynamicLinker->isAppMDIAware(app));
    EXPECT_TRUE(acrxUnlockApplication(app));
    EXPECT_TRUE(acrxDynamicLinker->registerAppMDIAware(app));
    EXPECT_FALSE(acrxDynamicLinker->isApplicationLocked(app));
    EXPECT_TRUE(acrxDynamicLinker->isAppMDIAware(app));
    acrxDynamicLinker->forget(app);
    EXPECT_TRUE(acrxDynamicLinker->isApplicationLocked(app));
}

TEST(ViewModel, WorldToPixelAndBack) {
    solx::editor::SetView({1000, 2000, 800, 1280, 800});  // one unit a pixel
    const double centre[3] = {1000, 2000, 0}, upRight[3] = {1100, 2050, 0};
    int x = 0, y = 0;
    acedCoordFromWorldToPixel(2, centre, x, y);
    EXPECT_EQ(x, 640);
    EXPECT_EQ(y, 400);
    struct {
        long x, y;
    } pixel{};
    acedCoordFromWorldToPixel(2, upRight, pixel);
    EXPECT_EQ(pixel.x, 740);
    EXPECT_EQ(pixel.y, 350) << "pixel y grows downwards";
    ads_point back;
    acedCoordFromPixelToWorld(740, 350, back);
    EXPECT_DOUBLE_EQ(back[0], 1100);
    EXPECT_DOUBLE_EQ(back[1], 2050);
    solx::editor::SetView({});
}

TEST(CStringTest, IndexRulesAndEditing) {
    CString s(L"SolxAnalysis2.so");
    EXPECT_EQ(s.GetLength(), 16);
    EXPECT_EQ(s.Find(L'.'), 13);
    EXPECT_EQ(s.Find(L"ys"), 8);
    EXPECT_EQ(s.Find(L'x', 20), -1);
    EXPECT_EQ(s.ReverseFind(L'/'), -1);
    EXPECT_EQ(s.Left(4), L"Solx");
    EXPECT_EQ(s.Mid(4, 8), L"Analysis");
    EXPECT_EQ(s.Mid(14), L"so");
    EXPECT_EQ(s.Right(3), L".so");
    EXPECT_EQ(s.Left(99), s);
    EXPECT_EQ(s.Mid(99), L"");
    CString u = s;
    EXPECT_EQ(u.MakeUpper(), L"SOLXANALYSIS2.SO");
    EXPECT_EQ(u.Delete(12), 15);
    EXPECT_EQ(u, L"SOLXANALYSIS.SO");
    EXPECT_EQ(s.CompareNoCase(L"solxanalysis2.SO"), 0);
    CString t(L"  a,b,a  ");
    EXPECT_EQ(t.Trim(), L"a,b,a");
    EXPECT_EQ(t.Replace(L"a", L"xy"), 2);
    EXPECT_EQ(t, L"xy,b,xy");
    EXPECT_EQ(t.Remove(L','), 2);
}

TEST(CStringTest, BufferAndFormat) {
    CString s;
    wchar_t* buf = s.GetBuffer(32);
    wcscpy(buf, L"日照");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 2);
    s.Format(L"%s：%d～%d；%.1f", L"北京", 8, 16, 1.25);
    EXPECT_EQ(s, L"北京：8～16；1.2");
    s.AppendFormat(L"%c%hs", L'秒', "!");
    EXPECT_EQ(s, L"北京：8～16；1.2秒!");
    CString longText;
    longText.Format(L"%s", std::wstring(5000, L'x').c_str());
    EXPECT_EQ(longText.GetLength(), 5000) << "grows past the first buffer";
}

TEST(ModuleFileName, MainProgramAndTruncation) {
    wchar_t path[1024] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, 1024);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(path[0], L'/');
    EXPECT_EQ(std::wstring(path).find(L'\\'), std::wstring::npos);
    wchar_t small[5] = {L'x', L'x', L'x', L'x', L'x'};
    EXPECT_EQ(GetModuleFileNameW(nullptr, small, 5), 4u);
    EXPECT_EQ(small[4], L'\0');
    const HMODULE self = solx::win::ModuleOfAddress(reinterpret_cast<const void*>(&CountRun));
    EXPECT_NE(self, nullptr);
}

}  // namespace
