// The scene built from a drawing: palette, text codes, and text placed through a block.
#include <gtest/gtest.h>

#include <numbers>

#include "PlotTestDrawing.h"
#include "plot/PlotScene.h"

namespace {

using solx::plot::AciColour;
using solx::plot::Rgb;

TEST(PlotScene, PaletteColours) {
    const struct {
        int index;
        Rgb want;
    } cases[] = {
        {1, {1, 0, 0}},         {5, {0, 0, 1}},      {7, {0, 0, 0}},    {8, {0.502, 0.502, 0.502}},
        {10, {1, 0, 0}},        {11, {1, 0.5, 0.5}}, {30, {1, 0.5, 0}}, {130, {0, 1, 1}},
        {250, {0.2, 0.2, 0.2}}, {255, {1, 1, 1}},    {256, {0, 0, 0}},  {14, {0.498, 0, 0}},
    };
    for (const auto& c : cases) {
        const Rgb got = AciColour(c.index);
        EXPECT_NEAR(got.r, c.want.r, 0.01) << c.index;
        EXPECT_NEAR(got.g, c.want.g, 0.01) << c.index;
        EXPECT_NEAR(got.b, c.want.b, 0.01) << c.index;
    }
}

TEST(PlotScene, DisplayTextCodes) {
    EXPECT_EQ(solx::plot::DisplayText(L"30%%d %%p5 %%c20 %%%"), L"30\u00b0 \u00b15 \u230020 %");
    EXPECT_EQ(solx::plot::DisplayText(L"%%uA%%u%%"), L"A%%");
}

TEST(PlotScene, BlockContentsFollowTheReferenceTransform) {
    auto db = solx::plot::test::MakeTestDrawing(true);
    const auto scene = solx::plot::BuildScene(*db);
    ASSERT_EQ(scene.strokes.size(), 3u);  // line, square, block line; hidden circles left out
    const auto& blockLine = scene.strokes[2].points;
    ASSERT_EQ(blockLine.size(), 2u);
    EXPECT_NEAR(blockLine[1].x, 50, 1e-9);
    EXPECT_NEAR(blockLine[1].y, 60, 1e-9);
    EXPECT_EQ(scene.strokes[1].points.size(), 4u);
    EXPECT_TRUE(scene.strokes[1].closed);
    ASSERT_EQ(scene.labels.size(), 2u);
    EXPECT_EQ(scene.labels[0].text, L"A1");
    EXPECT_EQ(scene.labels[0].colour, (Rgb{0, 1, 0}));  // ByBlock: the reference's green
    EXPECT_NEAR(scene.labels[1].up.y, 5, 1e-9);
}

TEST(PlotScene, BulgedPolylineBecomesAnArc) {
    AcDbDatabase db;
    auto* pl = new AcDbPolyline;
    pl->addVertexAt(0, AcGePoint2d(0, 0), 1.0);  // a half circle of radius 5 through (5,-5)
    pl->addVertexAt(1, AcGePoint2d(10, 0));
    dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object())->appendAcDbEntity(pl);
    const auto scene = solx::plot::BuildScene(db);
    ASSERT_EQ(scene.strokes.size(), 1u);
    const auto& pts = scene.strokes[0].points;
    ASSERT_GT(pts.size(), 10u);
    for (const auto& p : pts) EXPECT_NEAR(std::hypot(p.x - 5, p.y), 5, 1e-6);
    EXPECT_NEAR(pts[pts.size() / 2].y, -5, 0.1);
}

}  // namespace

namespace {

TEST(PlotScene, ArcWithReversedExtrusionIsMirrored) {
    AcDbDatabase db;
    auto* arc = new AcDbArc(AcGePoint3d(0, 0, 0), 10, 0, std::numbers::pi / 2);
    arc->setNormal(-AcGeVector3d::kZAxis);
    arc->setCenter(AcGePoint3d(0, 0, 0));
    dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object())->appendAcDbEntity(arc);
    const auto scene = solx::plot::BuildScene(db);
    ASSERT_EQ(scene.strokes.size(), 1u);
    const auto& pts = scene.strokes[0].points;
    EXPECT_NEAR(pts.front().x, -10, 1e-9);  // angle 0 points along -X seen from above
    EXPECT_NEAR(pts.back().y, 10, 1e-9);
}

}  // namespace

namespace {

// A reference that draws itself, as the product-line table does: one line, not its block.
class SelfDrawnReference : public AcDbBlockReference {
public:
    using AcDbBlockReference::AcDbBlockReference;
    AcDbObject* clone() const override { return new SelfDrawnReference(*this); }
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override {
        auto* line = new AcDbLine(position(), position() + AcGeVector3d(7, 0, 0));
        line->setColorIndex(0);
        entities.append(line);
        return Acad::eOk;
    }
};

TEST(PlotScene, SelfDrawnReferenceShowsItsExplosion) {
    AcDbDatabase db;
    AcDbBlockTableRecord* block = nullptr;
    const AcDbObjectId blockId = db.addBlock(L"*U", &block);
    block->appendAcDbEntity(new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 1));
    auto* ref = new SelfDrawnReference(AcGePoint3d(3, 4, 0), blockId);
    ref->setColorIndex(2);
    dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object())->appendAcDbEntity(ref);
    const auto scene = solx::plot::BuildScene(db);
    ASSERT_EQ(scene.strokes.size(), 1u);  // the stale block's circle is not drawn
    EXPECT_EQ(scene.strokes[0].points.size(), 2u);
    EXPECT_NEAR(scene.strokes[0].points[1].x, 10, 1e-9);
    EXPECT_EQ(scene.strokes[0].colour, (Rgb{1, 1, 0}));  // ByBlock: the reference's yellow
}

TEST(PlotScene, MTextCodesAndParagraphs) {
    using solx::plot::MTextLines;
    using Lines = std::vector<std::wstring>;
    EXPECT_EQ(MTextLines(L"{\\fSimSun|b0;\\H2.5;日照}\\P第二行"), (Lines{L"日照", L"第二行"}));
    EXPECT_EQ(MTextLines(L"\\C1;red\\~text \\Lunder\\l \\S1^2; 30%%d"),
              (Lines{L"red text under 1/2 30\u00b0"}));
    EXPECT_EQ(MTextLines(L"a\\\\b \\{c\\} \\U+2300"), (Lines{L"a\\b {c} \u2300"}));
    EXPECT_EQ(MTextLines(L"one\\P\\P"), (Lines{L"one"})) << "trailing empty paragraphs";
    // Wrapped at 4 text heights: at a blank where one fits, else by characters.
    EXPECT_EQ(MTextLines(L"ab cd ef", 4.0), (Lines{L"ab cd", L"ef"}));
    EXPECT_EQ(MTextLines(L"日照分析报告", 4.0), (Lines{L"日照分析", L"报告"}));
}

TEST(PlotScene, MTextBecomesOneLabelALineHungByItsAttachment) {
    AcDbDatabase db;
    auto* m = new AcDbUnknownEntity("MTEXT");
    for (const auto& [code, value] : std::vector<std::pair<int, std::string>>{
             {10, "100"}, {20, "50"}, {40, "2"}, {71, "5"}, {3, "first\\P"}, {1, "second"}})
        m->keptTags().push_back({"AcDbMText", {code, value}});
    dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object())->appendAcDbEntity(m);
    const auto scene = solx::plot::BuildScene(db);
    ASSERT_EQ(scene.labels.size(), 2u);
    EXPECT_EQ(scene.labels[0].text, L"first");
    EXPECT_EQ(scene.labels[1].text, L"second");
    EXPECT_EQ(scene.labels[0].horz, AcDb::kTextCenter);  // middle centre
    // Two lines of height 2, 10/3 apart: the block is 5.33 high, centred on y = 50.
    EXPECT_NEAR(scene.labels[0].anchor.y, 50 + 16.0 / 6 - 2, 1e-9);
    EXPECT_NEAR(scene.labels[1].anchor.y, 50 + 16.0 / 6 - 2 - 10.0 / 3, 1e-9);
    EXPECT_NEAR(scene.labels[0].anchor.x, 100, 1e-9);
}

}  // namespace
