// The window table on hand-made window records: headers, key-column merges, compaction of equal
// rows into ranges, colours of windows below the minimum, the orientation column, and the note
// and table written into a drawing.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "WinSunAnaTable.h"
#include "acad/AcDbBlockTableRecord.h"
#include "acad/AcDbDatabase.h"
#include "brel/VxDbText.h"

namespace {

struct Win {
    int floor, number;
    double sillMm;
    std::wstring period, total, longest = L"0:00";
    double angle = 0.0;  // facing angle: 0 faces south
    std::wstring label = L"";
};

class WinSunTableTest : public ::testing::Test {
protected:
    // Window records as the analysis leaves them: one group's texts each.
    std::vector<const SolxWinSunlightInfo*> Windows(const std::vector<Win>& wins) {
        std::vector<const SolxWinSunlightInfo*> out;
        for (const Win& w : wins) {
            auto info = std::make_unique<SolxWinSunlightInfo>(SolxWindowBlock(), 0.0);
            info->m_nFloor = w.floor;
            info->m_nNumber = w.number;
            info->m_dSillHeight = w.sillMm;
            info->m_dAngle = w.angle;
            info->m_strLabel = w.label;
            info->m_periodTexts.Append(w.period);
            info->m_totalTexts.Append(w.total);
            info->m_longestTexts.Append(w.longest);
            out.push_back(info.get());
            m_owned.push_back(std::move(info));
        }
        return out;
    }
    static WinTableLayout Layout(int sortMode, double minHours = 1.0) {
        WinTableLayout layout;
        layout.sortMode = sortMode;
        layout.minHours = minHours;
        layout.groupNames = {L"日照时间"};
        return layout;
    }
    std::unique_ptr<VxDbSheet> Sheet(const std::vector<Win>& wins, const WinTableLayout& layout) {
        return std::unique_ptr<VxDbSheet>(MakeWinSunSheet(Windows(wins), layout, {}));
    }
    static std::wstring Text(VxDbSheet& s, int r, int c) { return s.GetCell(r, c)->GetText(); }
    static int Color(VxDbSheet& s, int r, int c) {
        return s.GetCell(r, c)->GetGridStyle().GetTextColor();
    }
    // Rows r0..r1 of a column form one merged range.
    static bool Merged(const VxDbSheet& s, int column, int r0, int r1) {
        int a, b, c, d;
        s.GetMergeRange(r0, column, a, b, c, d);
        return a == r0 && c == r1 && b == column && d == column;
    }

    std::vector<std::unique_ptr<SolxWinSunlightInfo>> m_owned;
};

TEST_F(WinSunTableTest, ByFloorMergesTheFloorColumnOverEachFloor) {
    auto s = Sheet({{1, 1, 900, L"8:00～9:00", L"1:00"},
                    {1, 2, 900, L"8:00～10:00", L"2:00"},
                    {2, 1, 3900, L"8:00～11:00", L"3:00"}},
                   Layout(0));
    ASSERT_EQ(s->GetRowNum(), 5);
    ASSERT_EQ(s->GetColumnNum(), 5);
    const wchar_t* header[2][5] = {{L"层号", L"窗位", L"窗台高(米)", L"日照时间", L""},
                                   {L"", L"", L"", L"日照时间", L"总有效日照"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 5; ++c) EXPECT_EQ(Text(*s, r, c), header[r][c]) << r << "," << c;
    for (int c = 0; c < 3; ++c) EXPECT_TRUE(Merged(*s, c, 0, 1)) << c;
    int r0, c0, r1, c1;
    s->GetMergeRange(0, 4, r0, c0, r1, c1);
    EXPECT_EQ(c0, 3) << "the group heading spans its two columns";
    EXPECT_TRUE(Merged(*s, 0, 2, 3)) << "floor 1";
    EXPECT_TRUE(Merged(*s, 0, 4, 4)) << "the last window alone on floor 2 is not merged";
    EXPECT_EQ(Text(*s, 3, 1), L"2");
    EXPECT_EQ(Text(*s, 4, 2), L"3.90");
    EXPECT_EQ(Text(*s, 4, 3), L"8:00～11:00");
    EXPECT_EQ(Text(*s, 4, 4), L"3:00");
}

TEST_F(WinSunTableTest, ByNumberCompactsEqualRowsIntoRanges) {
    const std::wstring p = L"9:00～12:00", q = L"10:00～12:00";
    struct Case {
        const char* name;
        std::vector<Win> wins;
        std::vector<std::wstring> floors, sills;  // columns 1 and 2 of the rows left
    };
    const Case cases[] = {
        {"four floors alike",
         {{2, 3, 3000, p, L"3:00"},
          {3, 3, 6000, p, L"3:00"},
          {4, 3, 9000, p, L"3:00"},
          {5, 3, 12000, p, L"3:00"}},
         {L"2～5"},
         {L"3.00～12.00"}},
        {"same sill heights give one value",
         {{2, 3, 900, p, L"3:00"}, {3, 3, 900, p, L"3:00"}},
         {L"2～3"},
         {L"0.90"}},
        {"a different result splits the run",
         {{2, 3, 3000, p, L"3:00"},
          {3, 3, 6000, p, L"3:00"},
          {4, 3, 9000, q, L"2:00"},
          {5, 3, 12000, p, L"3:00"}},
         {L"2～3", L"4", L"5"},
         {L"3.00～6.00", L"9.00", L"12.00"}},
        {"another position is another run",
         {{2, 3, 3000, p, L"3:00"}, {2, 4, 3000, p, L"3:00"}},
         {L"2", L"2"},
         {L"3.00", L"3.00"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto s = Sheet(c.wins, Layout(1));
        ASSERT_EQ(s->GetRowNum(), 2 + static_cast<int>(c.floors.size()));
        EXPECT_EQ(Text(*s, 0, 0), L"窗位");
        EXPECT_EQ(Text(*s, 0, 1), L"层数");
        for (size_t i = 0; i < c.floors.size(); ++i) {
            EXPECT_EQ(Text(*s, 2 + static_cast<int>(i), 1), c.floors[i]) << i;
            EXPECT_EQ(Text(*s, 2 + static_cast<int>(i), 2), c.sills[i]) << i;
        }
    }
}

TEST_F(WinSunTableTest, WindowsBelowTheMinimumAreColoured) {
    struct Case {
        const char* name;
        Win win;
        int evalByTotal;
        int color;
    };
    const Case cases[] = {
        {"a minute short", {1, 1, 900, L"8:00～8:59", L"0:59"}, 1, 1},
        {"exactly the minimum", {1, 1, 900, L"8:00～9:00", L"1:00"}, 1, 0},
        {"judged by the longest period", {1, 1, 900, L"8:00～9:00", L"1:00", L"0:30"}, 0, 1},
        {"no sun at all", {1, 1, 900, L"0", L"0:00"}, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WinTableLayout layout = Layout(0, 1.0);
        layout.evalByTotal = c.evalByTotal;
        auto s = Sheet({c.win}, layout);
        ASSERT_EQ(Color(*s, 2, 2), 0) << "the sill cell is the base";
        EXPECT_EQ(Color(*s, 2, 3), c.color);
        EXPECT_EQ(Color(*s, 2, 4), c.color);
        EXPECT_EQ(Text(*s, 1, 4), c.evalByTotal ? L"总有效日照" : L"最长有效连照");
        EXPECT_EQ(Text(*s, 2, 4), c.evalByTotal ? c.win.total : c.win.longest);
    }
}

TEST_F(WinSunTableTest, OrientationColumnNamesTheOutwardNormalAndMergesEqualOnes) {
    const double pi = 3.14159265358979323846;
    WinTableLayout layout = Layout(0);
    layout.useValidWindow = 1;
    auto s = Sheet({{1, 1, 900, L"8:00～9:00", L"1:00", L"0:00", 0.0},
                    {1, 2, 900, L"8:00～10:00", L"2:00", L"0:00", 0.0},
                    {1, 3, 900, L"8:00～11:00", L"3:00", L"0:00", pi}},
                   layout);
    ASSERT_EQ(s->GetColumnNum(), 6);
    EXPECT_EQ(Text(*s, 0, 5), L"有效朝向");
    EXPECT_TRUE(Merged(*s, 5, 0, 1));
    EXPECT_EQ(Text(*s, 2, 5), L"正南");
    EXPECT_EQ(Text(*s, 4, 5), L"正北");
    EXPECT_TRUE(Merged(*s, 5, 2, 3));
    EXPECT_TRUE(Merged(*s, 5, 4, 4));
}

TEST_F(WinSunTableTest, MetreDrawingShowsSillsInMetres) {
    WinTableLayout layout = Layout(0);
    layout.unitScale = 0.001;
    auto s = Sheet({{1, 1, 0.9, L"0", L"0:00"}}, layout);
    EXPECT_EQ(Text(*s, 2, 2), L"0.90");
}

// Numbers of any size are written whole: a huge sill height does not overrun a cell's text.
TEST_F(WinSunTableTest, HugeNumbersAreWrittenWhole) {
    auto s = Sheet({{123456789, 1, 1e300, L"0", L"0:00"}}, Layout(0));
    EXPECT_EQ(Text(*s, 2, 0), L"123456789");
    const std::wstring sill = Text(*s, 2, 2);
    EXPECT_EQ(sill.size(), 301u) << "1e300 mm are 1e297 m: 298 digits, a point and 2 decimals"
                                 << std::string(sill.begin(), sill.end());
    EXPECT_EQ(sill.find_first_not_of(L"0123456789."), std::wstring::npos);
}

// The note and tables WriteWinSunTables put into a fresh drawing, tables top to bottom.
struct Written {
    std::vector<std::wstring> notes;
    std::vector<std::unique_ptr<VxDbSheet>> sheets;
};

Written Write(const std::vector<const SolxWinSunlightInfo*>& windows, const WinTableLayout& layout,
              const AcGePoint3d& at) {
    AcDbDatabase db;
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    WriteWinSunTables(windows, layout, at);
    Written out;
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, db.modelSpaceId(), AcDb::kForRead) == Acad::eOk) {
        const AcDbObjectIdArray ids = space->entityIds();
        space->close();
        for (const AcDbObjectId& id : ids) {
            AcDbEntity* e = nullptr;
            if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) continue;
            if (auto* text = dynamic_cast<VxDbText*>(e)) out.notes.push_back(text->GetContent());
            if (auto* sheet = dynamic_cast<VxDbSheet*>(e))
                out.sheets.emplace_back(static_cast<VxDbSheet*>(sheet->clone()));
            e->close();
        }
    }
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    std::sort(out.sheets.begin(), out.sheets.end(),
              [](const auto& a, const auto& b) { return a->GetLocation().y > b->GetLocation().y; });
    return out;
}

std::wstring Title(const VxDbSheet& sheet) {
    VxSheetTitle title;
    sheet.GetTitle(title);
    return title.GetText();
}

// Windows of several buildings: one table per building in building order (numbers by value,
// windows without a building last), stacked with a gap, each holding only its windows.
TEST_F(WinSunTableTest, EachBuildingGetsItsOwnTableStackedInBuildingOrder) {
    const std::wstring p = L"9:00～12:00";
    // Equal results on the same position: merged into one row if they shared a table.
    auto windows = Windows({{1, 3, 900, p, L"3:00", L"0:00", 0.0, L"10-3"},
                            {1, 3, 900, p, L"3:00", L"0:00", 0.0, L"2-3"},
                            {2, 3, 3900, p, L"3:00", L"0:00", 0.0, L"2-3"},
                            {1, 3, 900, p, L"3:00", L"0:00", 0.0, L"7"},
                            {1, 5, 900, p, L"3:00", L"0:00", 0.0, L"10-5"}});
    const WinTableLayout layout = Layout(1);
    const Written w = Write(windows, layout, AcGePoint3d(100.0, 200.0, 0.0));
    ASSERT_EQ(w.notes.size(), 1u) << "one note for the run";
    ASSERT_EQ(w.sheets.size(), 3u);
    const std::wstring titles[] = {L"2号楼窗日照分析表", L"10号楼窗日照分析表", L"窗日照分析表"};
    const int dataRows[] = {1, 2, 1};
    const double gap = WinTableSizesAt(1.0).gap;
    for (size_t i = 0; i < 3; ++i) {
        VxDbSheet& sheet = *w.sheets[i];
        EXPECT_EQ(Title(sheet), titles[i]) << i;
        EXPECT_EQ(sheet.GetRowNum() - 2, dataRows[i]) << i;
        EXPECT_DOUBLE_EQ(sheet.GetLocation().x, 100.0) << i;
        if (i == 0) {
            EXPECT_DOUBLE_EQ(sheet.GetLocation().y, 200.0);
        } else {
            AcDbExtents above;
            w.sheets[i - 1]->getGeomExtents(above);
            EXPECT_NEAR(sheet.GetLocation().y, above.minPoint().y - gap, 1e-9) << i;
        }
    }
    EXPECT_EQ(Text(*w.sheets[0], 2, 1), L"1～2") << "building 2's floors 1 and 2 fold";
    EXPECT_EQ(Text(*w.sheets[1], 2, 0), L"3");
    EXPECT_EQ(Text(*w.sheets[1], 3, 0), L"5");
}

// One factor scales every size of the table and the note, and the columns still fit their texts
// (the headers are wider than the narrowest columns at any scale).
TEST_F(WinSunTableTest, TextScaleScalesTheTableAndItsColumnsFitTheirTexts) {
    for (double scale : {1.0, 100.0}) {
        SCOPED_TRACE(scale);
        WinTableLayout layout = Layout(0);
        layout.textScale = scale;
        layout.note = L"地点：北京";
        const Written w = Write(Windows({{1, 1, 900, L"8:00～9:00", L"1:00"}}), layout, {});
        ASSERT_EQ(w.sheets.size(), 1u);
        VxDbSheet& sheet = *w.sheets[0];
        EXPECT_DOUBLE_EQ(sheet.GetCell(2, 3)->GetGridStyle().GetTextHeight(), 3.5 * scale);
        VxSheetTitle title;
        sheet.GetTitle(title);
        EXPECT_DOUBLE_EQ(title.GetHeight(), 10.0 * scale);
        EXPECT_DOUBLE_EQ(sheet.GetHeight(), 3 * 7.0 * scale) << "three rows of 7 on paper";
        // "总有效日照" is wider than 25 at 3.5, "层号" wider than 10.
        EXPECT_GT(sheet.GetColumnWidth(0), 10.0 * scale);
        EXPECT_GT(sheet.GetColumnWidth(4), 25.0 * scale);
        EXPECT_DOUBLE_EQ(sheet.GetColumnWidth(1), 15.0 * scale) << "wide enough as it is";
    }
}

// Both land on the current layer: the command leaves the layer to the user.
TEST_F(WinSunTableTest, EmptyListStillWritesTheNoteAndTheHeaderOnTheCurrentLayer) {
    AcDbDatabase db;
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    ASSERT_EQ(db.setClayer(db.ensureSymbol(L"LAYER", L"WORK")), Acad::eOk);
    WinTableLayout layout = Layout(1);
    layout.note = L"地点：北京  最少日照时间：2:00";
    WriteWinSunTables({}, layout, AcGePoint3d(100.0, 200.0, 0.0));
    int notes = 0, sheets = 0;
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(acdbOpenObject(space, db.modelSpaceId(), AcDb::kForRead), Acad::eOk);
    const AcDbObjectIdArray ids = space->entityIds();
    space->close();
    for (const AcDbObjectId& id : ids) {
        AcDbEntity* e = nullptr;
        ASSERT_EQ(acdbOpenObject(e, id, AcDb::kForRead), Acad::eOk);
        if (auto* text = dynamic_cast<VxDbText*>(e)) {
            ++notes;
            EXPECT_EQ(text->GetContent(), layout.note);
            EXPECT_GT(text->position().y, 200.0) << "the note stands above the table point";
        } else if (auto* sheet = dynamic_cast<VxDbSheet*>(e)) {
            ++sheets;
            EXPECT_EQ(sheet->GetRowNum(), 2);
            EXPECT_EQ(sheet->GetColumnNum(), 5);
            VxSheetTitle title;
            sheet->GetTitle(title);
            EXPECT_EQ(title.GetText(), L"窗日照分析表");
            EXPECT_EQ(sheet->GetLocation(), AcGePoint3d(100.0, 200.0, 0.0));
        }
        EXPECT_EQ(e->layer(), L"WORK");
        e->close();
    }
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    EXPECT_EQ(notes, 1);
    EXPECT_EQ(sheets, 1);
}

}  // namespace
