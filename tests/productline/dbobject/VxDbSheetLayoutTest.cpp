// How a table lays itself out: lines of a cell stacked, columns widened to their texts, the
// title below the location.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "acad/acdb.h"
#include "brel/VxDbSheet.h"
#include "brel/VxTextMetrics.h"

namespace {

// The texts of the block's graphics; the lines and texts are freed with the drawing.
struct Drawing {
    explicit Drawing(const VxDbSheet& sheet) {
        for (AcDbEntity* e : sheet.BuildGraphics()) {
            owned.emplace_back(e);
            if (auto* t = dynamic_cast<AcDbText*>(e)) texts.push_back(t);
        }
    }
    std::vector<const AcDbText*> withText(const std::wstring& s) const {
        std::vector<const AcDbText*> out;
        for (const AcDbText* t : texts)
            if (t->textString() == s) out.push_back(t);
        return out;
    }
    std::vector<std::unique_ptr<AcDbEntity>> owned;
    std::vector<const AcDbText*> texts;
};

// A 3 x 3 table, 7 high rows of height style 3, columns 10/15/25, a title 10 high.
std::unique_ptr<VxDbSheet> MakeSheet() {
    auto sheet = std::make_unique<VxDbSheet>();
    sheet->SetTitleText(L"窗日照分析表");
    sheet->InitSheet(3, 3, 7.0, 25.0);
    sheet->SetColumnWidth(0, 10.0);
    sheet->SetColumnWidth(1, 15.0);
    for (int r = 0; r < 3; ++r) {
        VxSheetRow row;
        sheet->GetRow(r, row);
        row.SetRowHeightStyle(3);
        sheet->SetRowAt(r, row);
    }
    return sheet;
}

TEST(VxDbSheetLayoutTest, TwoLineCellDrawsTwoStackedTextsAndItsRowGrows) {
    auto sheet = MakeSheet();
    sheet->GetCell(1, 2)->SetText(L"8:00～9:00\n10:00～11:00");
    sheet->CalculateRowHeight(0, 2);
    VxSheetRow row;
    sheet->GetRow(0, row);
    EXPECT_DOUBLE_EQ(row.GetHeight(), 7.0) << "an empty row keeps its height";
    sheet->GetRow(1, row);
    EXPECT_GT(row.GetHeight(), 2 * 1.5 * 3.5) << "two lines 1.5 text heights apart fit";

    Drawing d(*sheet);
    auto first = d.withText(L"8:00～9:00"), second = d.withText(L"10:00～11:00");
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_TRUE(std::none_of(d.texts.begin(), d.texts.end(), [](const AcDbText* t) {
        return t->textString().find(L'\n') != std::wstring::npos;
    }));
    double y1 = first[0]->alignmentPoint().y, y2 = second[0]->alignmentPoint().y;
    EXPECT_NEAR(y1 - y2, 1.5 * 3.5, 1e-9) << "the first line above the second";
    EXPECT_DOUBLE_EQ(first[0]->alignmentPoint().x, second[0]->alignmentPoint().x);
    sheet->GetRow(1, row);
    double top = -10 - 7, bottom = top - row.GetHeight();  // row 1 under the title and row 0
    EXPECT_NEAR((y1 + y2) / 2, (top + bottom) / 2, 1e-9) << "the lines centred in their row";
}

TEST(VxDbSheetLayoutTest, LongTextWidensItsColumnAndShiftsTheColumnsRight) {
    auto sheet = MakeSheet();
    sheet->GetCell(2, 0)->SetText(L"0.90～15.90");  // far wider than 10
    sheet->GetCell(2, 2)->SetText(L"x");
    sheet->CalculateRowHeight(0, 2);
    const double text = VxTextLineWidth(L"0.90～15.90", 3.5);
    EXPECT_DOUBLE_EQ(sheet->GetColumnWidth(0), text + 2 * 0.3 * 3.5) << "the text and margins";
    EXPECT_DOUBLE_EQ(sheet->GetColumnWidth(1), 15.0) << "columns with room keep their width";
    EXPECT_DOUBLE_EQ(sheet->GetColumnWidth(2), 25.0);

    Drawing d(*sheet);
    auto x = d.withText(L"x");
    ASSERT_EQ(x.size(), 1u);
    EXPECT_DOUBLE_EQ(x[0]->alignmentPoint().x, sheet->GetColumnWidth(0) + 15.0 + 12.5);
}

// Texts over several columns (a merged heading, the title) widen the columns they span by equal
// parts, only as far as needed and only after the single cells widened theirs.
TEST(VxDbSheetLayoutTest, MergedTextsAndTheTitleWidenTheColumnsTheySpan) {
    const std::wstring heading = L"a very long heading over two columns";
    const double need = VxTextLineWidth(heading, 3.5) + 2 * 0.3 * 3.5;
    {
        auto sheet = MakeSheet();
        sheet->GetCell(0, 1)->SetText(heading.c_str());
        ASSERT_TRUE(sheet->MergeCells(0, 1, 0, 2));
        sheet->GetCell(1, 2)->SetText(L"一个很长的单元格文字");  // widens column 2 alone
        sheet->CalculateRowHeight(0, 2);
        const double single = VxTextLineWidth(L"一个很长的单元格文字", 3.5) + 2.1;
        ASSERT_GT(need, 15.0 + single) << "the heading still needs more than the cells gave";
        EXPECT_DOUBLE_EQ(sheet->GetColumnWidth(0), 10.0);
        EXPECT_NEAR(sheet->GetColumnWidth(1) + sheet->GetColumnWidth(2), need, 1e-9);
        EXPECT_NEAR(sheet->GetColumnWidth(2) - sheet->GetColumnWidth(1), single - 15.0, 1e-9)
            << "the shortfall shared equally";
    }
    {
        auto sheet = MakeSheet();
        VxSheetTitle title;
        sheet->GetTitle(title);
        VxGridStyle style = title.GetGridStyle();
        style.SetTextHeight(7.0);
        title.SetGridStyle(style);
        title.SetText(L"12号楼窗日照分析表（共96个窗）");
        sheet->SetTitle(title);
        sheet->CalculateRowHeight(0, 2);
        EXPECT_NEAR(sheet->GetWidth(), VxTextLineWidth(title.GetText(), 7.0) + 2 * 0.3 * 7.0, 1e-9);
        sheet->SetTitleText(L"短");
        sheet->CalculateRowHeight(0, 2);
        EXPECT_NEAR(sheet->GetWidth(), VxTextLineWidth(title.GetText(), 7.0) + 4.2, 1e-9)
            << "widths are minimums: a shorter title narrows nothing";
    }
}

TEST(VxDbSheetLayoutTest, TitleLiesBelowTheLocationAndTheRowsBelowTheTitle) {
    auto sheet = MakeSheet();
    sheet->GetCell(0, 0)->SetText(L"1");
    Drawing d(*sheet);
    auto title = d.withText(L"窗日照分析表");
    ASSERT_EQ(title.size(), 1u);
    EXPECT_NEAR(title[0]->alignmentPoint().y, -5.0, 1e-9) << "in the middle of the title row";
    auto cell = d.withText(L"1");
    ASSERT_EQ(cell.size(), 1u);
    EXPECT_NEAR(cell[0]->alignmentPoint().y, -10 - 3.5, 1e-9);
    double top = -1e9;
    for (const auto& e : d.owned)
        if (auto* l = dynamic_cast<const AcDbLine*>(e.get()))
            top = std::max({top, l->startPoint().y, l->endPoint().y});
    EXPECT_DOUBLE_EQ(top, -10.0) << "the grid starts under the title";
    AcDbExtents ext;
    ASSERT_EQ(sheet->getGeomExtents(ext), Acad::eOk);
    EXPECT_DOUBLE_EQ(ext.maxPoint().y, 0.0);
    EXPECT_DOUBLE_EQ(ext.minPoint().y, -10.0 - 3 * 7.0);
}

}  // namespace
