// The result tip: its size from the measured rows, its place inside the frame, the view it
// paints (rows and rectangle), the one "[tip]" line a front end prints, and its window going
// away with the object.

#include <gtest/gtest.h>

#include <sstream>

#include "CObjectTipWnd.h"
#include "acad/AcEdFrame.h"
#include "acad/aced.h"
#include "mfc/TipView.h"
#include "mfc/WindowState.h"
#include "plot/PlotScene.h"

namespace {

// The rows as the owning list a tip is given (the list lives for the statement).
struct Rows : SolxObjInfoRows {
    Rows(std::initializer_list<IObjInfoUnit> rows) {
        for (const IObjInfoUnit& r : rows) Append(new IObjInfoUnit(r));
    }
};

// Output of the editor into a string while the object lives.
class Transcript {
public:
    Transcript() : m_front(solx::editor::MakeScriptFrontEnd(L"t", "", m_out)) {
        solx::editor::SetFrontEnd(m_front.get());
    }
    ~Transcript() { solx::editor::SetFrontEnd(nullptr); }
    std::string Text() const { return m_out.str(); }

private:
    std::ostringstream m_out;
    std::unique_ptr<solx::editor::FrontEnd> m_front;
};

TEST(TipWindow, SizedToItsRowsAndPaintedAsRowsInARectangle) {
    solx::editor::SetView({});  // 1280 x 800 pixels
    Transcript transcript;
    const size_t before = acedGetAcadFrame()->m_hWnd->children.size();
    {
        CObjectTipWnd tip;
        ASSERT_TRUE(tip.ShowTip(Rows({{L"最长有效连照", L"4:30"},
                                      {L"总有效日照", L"6:10"},
                                      {L"日照时段", L"8:00～12:30 "}}),
                                100, 50));
        // Six ideographs are 72 pixels; "8:00～12:30 " is 10 narrow and 1 wide character.
        EXPECT_EQ(tip.LabelExtent().cx, 72);
        EXPECT_EQ(tip.ValueExtent().cx, 10 * 7 + 12);
        const RECT& r = tip.m_hWnd->pixels;
        EXPECT_EQ(r.left, 100);
        EXPECT_EQ(r.top, 50);
        EXPECT_EQ(r.right - r.left, 72 + 82 + 16);
        EXPECT_EQ(r.bottom - r.top, 3 * (16 + 4) + 4);
        EXPECT_TRUE(tip.IsWindowVisible());
        EXPECT_EQ(tip.GetParent(), acedGetAcadFrame());
        EXPECT_EQ(tip.m_hWnd->timers.at(CObjectTipWnd::kTimerId), 200u);

        const auto& last = solx::ui::LastTip();
        ASSERT_TRUE(last.has_value());
        EXPECT_EQ(last->view.rows.size(), 3u);
        EXPECT_EQ(last->view.separatorX(), 4 + 72 + 4);
        EXPECT_EQ(last->view.rowHeight, 16);
        // The picture finds the tip's corner in the drawing through the view.
        ads_point world = {0, 0, 0};
        acedCoordFromPixelToWorld(100, 50, world);
        EXPECT_DOUBLE_EQ(last->worldLeft, world[0]);
        EXPECT_DOUBLE_EQ(last->worldTop, world[1]);

        // A picture draws it there: the box, its frame, the separator, labels right-aligned
        // against the separator and values left-aligned after it.
        solx::plot::Scene scene;
        solx::plot::AddLastTip(scene);
        ASSERT_EQ(scene.fills.size(), 1u);
        ads_point lo = {0, 0, 0};
        acedCoordFromPixelToWorld(100 + 72 + 82 + 16, 50 + 64, lo);
        EXPECT_NEAR(scene.fills[0].rings[0][2].x, lo[0], 1e-6);
        EXPECT_NEAR(scene.fills[0].rings[0][2].y, lo[1], 1e-6);
        ASSERT_EQ(scene.labels.size(), 6u);
        ads_point sep = {0, 0, 0};
        acedCoordFromPixelToWorld(100 + 80, 50, sep);
        const double pixel = last->pixelSize;
        EXPECT_EQ(scene.labels[0].text, L"最长有效连照");
        EXPECT_EQ(scene.labels[0].horz, AcDb::kTextRight);
        EXPECT_NEAR(scene.labels[0].anchor.x, sep[0] - 4 * pixel, 1e-6);
        EXPECT_EQ(scene.labels[5].text, L"8:00～12:30 ");
        EXPECT_EQ(scene.labels[5].horz, AcDb::kTextLeft);
        EXPECT_NEAR(scene.labels[5].anchor.x, sep[0] + 4 * pixel, 1e-6);
        EXPECT_LT(scene.labels[5].anchor.y, scene.labels[3].anchor.y);  // rows run downwards

        // The timer repaints once and stops; the line is printed for the first paint only.
        tip.SendMessage(WM_TIMER, CObjectTipWnd::kTimerId);
        EXPECT_TRUE(tip.m_hWnd->timers.empty());
        EXPECT_EQ(tip.m_hWnd->paints, 2);
        EXPECT_EQ(acedGetAcadFrame()->m_hWnd->children.size(), before + 1);
        EXPECT_FALSE(tip.ShowTip(Rows({{L"a", L"b"}}), 0, 0));  // shown once only
    }
    EXPECT_EQ(acedGetAcadFrame()->m_hWnd->children.size(), before);
    EXPECT_EQ(transcript.Text(),
              "\n[tip] 最长有效连照 4:30 | 总有效日照 6:10 | 日照时段 8:00～12:30\n");
}

TEST(TipWindow, ColumnsStopAt300PixelsAndTheTipStaysInsideTheFrame) {
    solx::editor::SetView({});
    Transcript transcript;
    CObjectTipWnd wide;
    ASSERT_TRUE(wide.ShowTip(Rows({{L"x", std::wstring(60, L'9')}}), 1270, 790));
    EXPECT_EQ(wide.ValueExtent().cx, 300);  // 420 measured
    const RECT& r = wide.m_hWnd->pixels;
    EXPECT_EQ(r.right, 1280);  // moved left and up to end at the client edges
    EXPECT_EQ(r.bottom, 800);
    EXPECT_EQ(r.right - r.left, 7 + 300 + 16);
    EXPECT_EQ(r.bottom - r.top, 16 + 4 + 4);

    // Larger than the client area: it ends at the bottom right and starts above and left.
    const RECT client{0, 0, 100, 40};
    const RECT big = CObjectTipWnd::PlaceTip({300, 16}, {300, 16}, 3, 10, 10, client);
    EXPECT_EQ(big.right, 100);
    EXPECT_EQ(big.bottom, 40);
    EXPECT_LT(big.left, 0);
    EXPECT_LT(big.top, 0);
    // No correction at the top or the left.
    const RECT topLeft = CObjectTipWnd::PlaceTip({20, 16}, {20, 16}, 1, -30, -20, client);
    EXPECT_EQ(topLeft.left, -30);
    EXPECT_EQ(topLeft.top, -20);
}

}  // namespace
