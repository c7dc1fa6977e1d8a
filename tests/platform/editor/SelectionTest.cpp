// Selection on the sample drawing: filters, window/crossing/fence/pick/last/handle, prompts and
// set operations.
#include <array>
#include <set>

#include "ScriptFixture.h"
#include "acad/acdb.h"
#include "brel/VxAdsEntSet.h"
#include "brel/VxPtInput.h"

namespace {

struct RbDeleter {
    void operator()(resbuf* rb) const { acutRelRb(rb); }
};
using List = std::unique_ptr<resbuf, RbDeleter>;

class SelectionTest : public ScriptFixture {
protected:
    void SetUp() override {
        const std::wstring path = solx::win::Utf8ToWide(SOLX_SOURCE_DIR "/examples/sample.dxf");
        ASSERT_EQ(m_db.readDxfFile(path.c_str()), Acad::eOk)
            << solx::win::WideToUtf8(m_db.lastError());
        acdbHostApplicationServices()->setWorkingDatabase(&m_db);
        solx::editor::SetView({15000, -15000, 80000, 1280, 800});  // 100 units a pixel
    }
    void TearDown() override {
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
        solx::editor::SetView({});
        ScriptFixture::TearDown();
    }
    int Count(resbuf* filter) {
        List owned(filter);
        VxAdsEntSet set;
        set.Get(L"X", nullptr, nullptr, owned.get());
        return set.GetLength();
    }
    static std::wstring TypeOf(const VxAdsEnt& e) {
        AcDbEntity* ent = nullptr;
        if (e.Open(ent, AcDb::kForRead) != Acad::eOk) return L"?";
        const std::wstring name = ent->dxfName();
        ent->close();
        return name;
    }
    AcDbDatabase m_db{false};
};

TEST_F(SelectionTest, FiltersOnTheLoadedDrawing) {
    EXPECT_EQ(Count(nullptr), 9);
    EXPECT_EQ(Count(acutBuildList(RTDXF0, L"LWPOLYLINE", 8, L"SUN-BUILDING", 0)), 4);
    EXPECT_EQ(Count(acutBuildList(RTDXF0, L"*POLYLINE", 0)), 4);
    EXPECT_EQ(Count(acutBuildList(RTDXF0, L"LINE,CIRCLE", 0)), 2);
    EXPECT_EQ(Count(acutBuildList(8, L"sun-*", 0)), 7);
    EXPECT_EQ(Count(acutBuildList(-4, L"<NOT", 8, L"SUN-*", -4, L"NOT>", 0)), 2);
    EXPECT_EQ(Count(acutBuildList(RTDXF0, L"INSERT", 8, L"SUN-WINDOW", 2, L"_SUNWD", 0)), 3);
    EXPECT_EQ(Count(acutBuildList(-4, L">", 39, 10.0, 0)), 3);
    EXPECT_EQ(Count(acutBuildList(-4, L"<OR", -4, L"<AND", RTDXF0, L"INSERT", 2, L"_SUNWD", -4,
                                  L"AND>", -4, L"<AND", RTDXF0, L"*POLYLINE", -4, L">", 39, 10.0,
                                  -4, L"AND>", -4, L"OR>", 0)),
              6);
    VxAdsEntSet none;
    List broken(acutBuildList(-4, L"<OR", 8, L"A", 0));
    EXPECT_EQ(none.Get(L"X", nullptr, nullptr, broken.get()), RTERROR);
}

TEST_F(SelectionTest, WindowCrossingFenceAndLast) {
    VxAdsEntSet set;
    const double w1[3] = {-1000, -1000, 0}, w2[3] = {31000, 13000, 0};
    ASSERT_EQ(set.Get(L"W", w1, w2), RTNORM);
    EXPECT_EQ(set.GetLength(), 4) << "the first building and its three windows";
    const double c1[3] = {15000, -500, 0}, c2[3] = {16000, 500, 0};
    EXPECT_EQ(set.Get(L"W", c1, c2), RTERROR);
    ASSERT_EQ(set.Get(L"C", c1, c2), RTNORM);
    EXPECT_EQ(set.GetLength(), 2) << "the wall it cuts and the window it touches";
    List fence(acutBuildList(RTPOINT, std::array{-1000.0, 6000.0, 0.0}.data(), RTPOINT,
                             std::array{60000.0, 6000.0, 0.0}.data(), 0));
    ASSERT_EQ(set.Get(L"F", fence.get()), RTNORM);
    EXPECT_EQ(set.GetLength(), 2);
    ASSERT_EQ(set.Get(L"L"), RTNORM);
    EXPECT_EQ(TypeOf(set[0]), L"CIRCLE");
    EXPECT_EQ(set.Get(L"Q"), RTERROR);
}

TEST_F(SelectionTest, SelectionPromptAnswers) {
    VxAdsEntSet last;
    last.Get(L"L");
    const std::string handle = solx::win::WideToUtf8(last.GetObjectId(0).handle().toString());
    Script("W -1000,-1000 31000,13000\n; a comment\nC 15000,-500 16000,500\n#" + handle +
           "\n\n\n@esc\nall\nbogus\n");
    VxAdsEntSet set;
    ASSERT_EQ(VxPtSelectEntities(L"\nSelect: ", set), RTNORM);
    EXPECT_EQ(set.GetLength(), 5) << "union without duplicates, plus the circle";
    EXPECT_TRUE(set.IsInclude(last[0]));
    EXPECT_EQ(VxPtSelectEntities(L"\nSelect: ", set), RTNONE);
    EXPECT_EQ(set.GetLength(), 0);
    EXPECT_EQ(VxPtSelectEntities(L"\nSelect: ", set), RTCAN);
    EXPECT_EQ(VxPtSelectEntities(L"\nSelect: ", set), RTERROR);
    EXPECT_EQ(set.GetLength(), 0);
    EXPECT_NE(StopMessage().find("line 9: \"bogus\""), std::string::npos) << StopMessage();
}

TEST_F(SelectionTest, FilterAppliesToPromptedSelections) {
    Script("ALL\n\n");
    List windows(acutBuildList(RTDXF0, L"INSERT", 2, L"_SUNWD", 0));
    VxAdsEntSet set;
    ASSERT_EQ(VxPtSelectEntities(L"\nSelect: ", set, windows.get()), RTNORM);
    EXPECT_EQ(set.GetLength(), 3);
}

// What a selection prompt selected is what shows highlighted: the members of the set it
// returns (the filter applied, nothing else inside the window), and the entity a pick chose.
TEST_F(SelectionTest, SelectionsShowHighlighted) {
    Script("W -1000,-1000 31000,13000\n\n15000,12\n");
    List windows(acutBuildList(RTDXF0, L"INSERT", 0));
    VxAdsEntSet set;
    ASSERT_EQ(VxPtSelectEntities(L"\nSelect: ", set, windows.get()), RTNORM);
    ASSERT_EQ(set.GetLength(), 3) << "the three windows of the first building";
    std::set<AcDbStub*> members;
    for (const AcDbObjectId& id : set.Ids()) members.insert(id.stub());
    EXPECT_EQ(m_db.highlighted(), members);
    VxAdsEnt picked;
    ads_point at;
    ASSERT_EQ(VxPtSelectEntity(L"\nPick: ", picked, at), RTNORM);
    members.insert(picked.GetObjectId().stub());
    EXPECT_EQ(m_db.highlighted(), members);
    EXPECT_EQ(members.size(), 4u) << "the wall picked joins the windows";
}

TEST_F(SelectionTest, KeywordDuringSelection) {
    Script("s\n");
    VxPtInitGet keywords(0, L"S");
    VxAdsEntSet set;
    EXPECT_EQ(VxPtSelectEntities(L"\nSelect or [Slab(S)]: ", set), RTKWORD);
    wchar_t kw[8] = {};
    acedGetInput(kw);
    EXPECT_STREQ(kw, L"S");
}

TEST_F(SelectionTest, PickChoosesTheNearestWithinTheAperture) {
    // 12 units above the first building's south wall, inside the box of window 1-2.
    Script("15000,12\n15000,12\n99999,99999\n");
    VxAdsEnt ent;
    ads_point at;
    ASSERT_EQ(VxPtSelectEntity(L"\nPick: ", ent, at), RTNORM);
    EXPECT_EQ(TypeOf(ent), L"LWPOLYLINE") << "a wall within PICKBOX beats a box";
    EXPECT_EQ(at[1], 12.0);
    ASSERT_EQ(ent.Select(5.0, L"\nPick: ", nullptr, at), RTNORM);
    EXPECT_EQ(TypeOf(ent), L"INSERT") << "with a 5-unit aperture the wall is too far";
    EXPECT_EQ(VxPtSelectEntity(L"\nPick: ", ent, at), RTERROR);
    EXPECT_FALSE(Stopped()) << "nothing there is an answer, not a misfit";
}

TEST_F(SelectionTest, SetOperationsAndExtents) {
    VxAdsEntSet buildings, windows;
    List b(acutBuildList(8, L"SUN-BUILDING", 0)), w(acutBuildList(2, L"_SUNWD", 0));
    buildings.Get(L"X", nullptr, nullptr, b.get());
    windows.Get(L"X", nullptr, nullptr, w.get());
    AcGePoint3d lo, hi;
    ASSERT_TRUE(buildings.GetExtent(lo, hi));
    EXPECT_EQ(lo.x, 0.0);
    EXPECT_EQ(lo.y, -40000.0);
    EXPECT_EQ(hi.x, 52000.0);
    EXPECT_EQ(hi.y, 20000.0);
    VxAdsEntSet all = buildings;
    all += windows;
    all += windows;
    EXPECT_EQ(all.GetLength(), 7);
    all -= buildings;
    EXPECT_EQ(all.GetLength(), 3);
    EXPECT_FALSE(all.IsInclude(buildings[0]));
    all -= all;
    EXPECT_EQ(all.GetLength(), 0);
    EXPECT_FALSE(VxAdsEntSet().GetExtent(lo, hi));
}

TEST_F(SelectionTest, IncludeGroupAndErase) {
    VxAdsEntSet made;
    made.IncludeBegin();
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(acdbOpenObject(space, m_db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    for (double y : {1.0, 2.0}) {
        auto* line = new AcDbLine({0, y, 0}, {10, y, 0});
        ASSERT_EQ(space->appendAcDbEntity(line), Acad::eOk);
        line->close();
    }
    space->close();
    made.IncludeEnd();
    ASSERT_EQ(made.GetLength(), 2);
    const AcDbObjectId groupId = made.MakeAnonymousGroup();
    ASSERT_FALSE(groupId.isNull());
    AcDbGroup* group = nullptr;
    ASSERT_EQ(acdbOpenObject(group, groupId, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(group->numEntities(), 2);
    EXPECT_TRUE(group->has(made.GetObjectId(0)));
    group->close();
    EXPECT_EQ(made.Erase(), 2);
    EXPECT_EQ(made.GetLength(), 0);
    EXPECT_EQ(Count(nullptr), 9);
}

TEST_F(SelectionTest, DragMovesTheSetOnlyWhenAPointIsGiven) {
    VxAdsEntSet buildings;
    List b(acutBuildList(8, L"SUN-BUILDING", 0));
    buildings.Get(L"X", nullptr, nullptr, b.get());
    Script("@esc\n100,-50\n");
    const double base[3] = {0, 0, 0};
    AcGePoint3d lo, hi;
    EXPECT_EQ(VxPtDragEntSet(buildings, base), RTCAN);
    buildings.GetExtent(lo, hi);
    EXPECT_EQ(lo.x, 0.0);
    EXPECT_EQ(VxPtDragEntSet(buildings, base), RTNORM);
    buildings.GetExtent(lo, hi);
    EXPECT_EQ(lo.x, 100.0);
    EXPECT_EQ(lo.y, -40050.0);
}

TEST_F(SelectionTest, SystemVariablesOfTheDrawing) {
    int pickbox = 0;
    ASSERT_EQ(VxPtGetVar(L"PICKBOX", pickbox), RTNORM);
    EXPECT_GT(pickbox, 0);
    resbuf rb;
    rb.restype = RTSHORT;
    rb.resval.rint = 7;
    ASSERT_EQ(acedSetVar(L"PICKBOX", &rb), RTNORM);
    ASSERT_EQ(VxPtGetVar(L"PICKBOX", pickbox), RTNORM);
    EXPECT_EQ(pickbox, 7);
    CString layer;
    EXPECT_EQ(VxPtGetVar(L"CLAYER", layer), RTNORM);
    EXPECT_FALSE(layer.IsEmpty());
    EXPECT_EQ(VxPtGetVar(L"NO_SUCH_VARIABLE", pickbox), RTERROR);
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    EXPECT_EQ(VxPtGetVar(L"PICKBOX", pickbox), RTERROR) << "no drawing, no variables";
}

}  // namespace
