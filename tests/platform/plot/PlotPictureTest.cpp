// Pictures written to files: where each colour lands in a PNG, and what an SVG holds.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "PlotTestDrawing.h"
#include "plot/SolxPlot.h"

namespace {

using solx::plot::test::MakeTestDrawing;

std::string TempPath(const std::string& name) {
    return (std::filesystem::path(SOLX_BINARY_DIR) / ("plot-test-" + name)).string();
}

struct Box {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
};

struct ColourCase {
    const char* name;
    uint8_t r, g, b;
    Box expected;  // empty: the colour must not appear
};

// The box of pixels close to a pure colour (anti-aliased edges are lighter, so "close" allows
// the channels that should be 0 to reach 100 of 255).
Box FindColour(cairo_surface_t* image, const ColourCase& c) {
    Box box;
    const int w = cairo_image_surface_get_width(image), h = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    auto near = [](int have, int want) { return want ? have > 180 : have < 100; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t px = *reinterpret_cast<const uint32_t*>(data + y * stride + 4 * x);
            if (!near((px >> 16) & 255, c.r) || !near((px >> 8) & 255, c.g) || !near(px & 255, c.b))
                continue;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                   std::max(box.bottom, y)};
        }
    return box;
}

TEST(PlotPicture, PngPlacesEachColourWhereItsEntityIs) {
    auto db = MakeTestDrawing(false);
    const std::string path = TempPath("colours.png");
    SolxPlotReport report;
    std::string error;
    ASSERT_TRUE(solxPlotDrawing(db.get(), path, {400, 20}, report, error)) << error;
    cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(image), 400);
    EXPECT_EQ(cairo_image_surface_get_height(image), 256);
    const ColourCase cases[] = {
        {"red line", 255, 0, 0, {20, 236, 380, 236}},
        {"square ByLayer blue", 0, 0, 255, {20, 128, 92, 200}},
        {"block line ByBlock green", 0, 255, 0, {200, 20, 200, 56}},
        {"hidden or frozen magenta", 255, 0, 255, {}},
    };
    for (const auto& c : cases) {
        const Box got = FindColour(image, c);
        if (c.expected.empty()) {
            EXPECT_TRUE(got.empty()) << c.name;
            continue;
        }
        EXPECT_NEAR(got.left, c.expected.left, 2) << c.name;
        EXPECT_NEAR(got.top, c.expected.top, 2) << c.name;
        EXPECT_NEAR(got.right, c.expected.right, 2) << c.name;
        EXPECT_NEAR(got.bottom, c.expected.bottom, 2) << c.name;
    }
    cairo_surface_destroy(image);
}

TEST(PlotPicture, SvgHoldsPathsColoursAndChineseGlyphs) {
    auto db = MakeTestDrawing(true);
    const std::string path = TempPath("drawing.svg");
    SolxPlotReport report;
    std::string error;
    ASSERT_TRUE(solxPlotDrawing(db.get(), path, {400, 20}, report, error)) << error;
    EXPECT_EQ(report.labels, 2u);  // the text and the attribute
    EXPECT_EQ(report.missingGlyphs, 0u);
    std::ifstream in(path);
    const std::string svg((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(svg.find("width=\"400\""), std::string::npos);
    EXPECT_NE(svg.find("M 20 236 L 380 236"), std::string::npos);
    EXPECT_NE(svg.find("rgb(100%,0%,0%)"), std::string::npos);
    EXPECT_NE(svg.find("rgb(0%,0%,100%)"), std::string::npos);
    EXPECT_NE(svg.find("rgb(0%,100%,0%)"), std::string::npos);
    EXPECT_EQ(svg.find("rgb(100%,0%,100%)"), std::string::npos);
    const std::regex glyphUse("<use xlink:href=\"#glyph");
    const auto uses = std::distance(std::sregex_iterator(svg.begin(), svg.end(), glyphUse),
                                    std::sregex_iterator());
    EXPECT_EQ(uses, 6);  // four ideographs and "A1"
}

TEST(PlotPicture, RefusesUnknownExtensionsAndUnwritablePlaces) {
    auto db = MakeTestDrawing(false);
    std::string error;
    EXPECT_FALSE(solxPlotDrawing(db.get(), TempPath("x.pdf"), error));
    EXPECT_NE(error.find("x.pdf"), std::string::npos);
    EXPECT_FALSE(solxPlotDrawing(db.get(), "/nonexistent-dir/x.png", error));
    EXPECT_NE(error.find("/nonexistent-dir/x.png"), std::string::npos);
}

// cairo keeps the fonts it loaded (and fontconfig's patterns) for the life of the process; drop
// them at the end so that the leak checker sees only what the plotting code itself keeps.
class FontCacheReset : public ::testing::Environment {
public:
    void TearDown() override {
        cairo_debug_reset_static_data();
        FcFini();
    }
};
const auto* const kFontCacheReset = ::testing::AddGlobalTestEnvironment(new FontCacheReset);

// The picture is fitted to the texts as the font sets them: a long text to the right of the
// lines widens the extents, and symbols the CJK font lacks come from the fallback font.
TEST(PlotPicture, FitsMeasuredTextsAndDrawsEverySymbol) {
    AcDbDatabase db;
    auto* model = dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
    model->appendAcDbEntity(new AcDbLine({0, 0, 0}, {100, 0, 0}));
    model->appendAcDbEntity(
        new AcDbText(AcGePoint3d(100, 10, 0), L"%%c20 %%d %%p 窗日照分析表 WINDOW TABLE", {}, 5));
    const std::string path = TempPath("fit.png");
    SolxPlotReport report;
    std::string error;
    ASSERT_TRUE(solxPlotDrawing(&db, path, {400, 20}, report, error)) << error;
    EXPECT_EQ(report.missingGlyphs, 0u);
    cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    const Box ink = FindColour(image, {"black", 0, 0, 0, {}});
    cairo_surface_destroy(image);
    // The text runs far past the line's end, and all of it lies inside the margin.
    EXPECT_LT(ink.left, 30);
    EXPECT_GT(ink.right, 360);
    EXPECT_LE(ink.right, 380);
    EXPECT_GE(ink.top, 19);
}

TEST(PlotPicture, AreaPicksAPartAndTinyTextsBecomeBars) {
    auto db = MakeTestDrawing(true);
    SolxPlotOptions options{400, 20};
    options.useArea = true;
    options.areaLo = {0, 0};
    options.areaHi = {20, 30};  // the blue square only, 3 x 4.5 squares high
    SolxPlotReport report;
    std::string error;
    const std::string path = TempPath("area.png");
    ASSERT_TRUE(solxPlotDrawing(db.get(), path, options, report, error)) << error;
    EXPECT_EQ(report.heightPixels, 20 + 540 + 20);
    cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
    const Box blue = FindColour(image, {"square", 0, 0, 255, {}});
    const Box red = FindColour(image, {"line", 255, 0, 0, {}});
    cairo_surface_destroy(image);
    EXPECT_NEAR(blue.left, 20, 2);
    EXPECT_NEAR(blue.right, 380, 2);
    EXPECT_NEAR(red.bottom, 560, 2) << "the line along the area's lower edge, cut at it";

    options.useArea = false;
    options.widthPixels = 60;  // text 5 units high at 0.2 pixels a unit: a bar
    ASSERT_TRUE(solxPlotDrawing(db.get(), TempPath("tiny.png"), options, report, error));
    EXPECT_EQ(report.greekedLabels, 2u);
    options.areaHi = {20, 20};
    options.areaLo = {20, 0};
    options.useArea = true;
    EXPECT_FALSE(solxPlotDrawing(db.get(), TempPath("flat.png"), options, report, error));
}

// Regions are filled translucent by the even-odd rule: a hole stays white, where two regions
// overlap both colours show, and each region's rings are outlined too.
TEST(PlotPicture, RegionsAreFilledTranslucentWithTheirHoles) {
    AcDbDatabase db;
    auto* model = dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
    const auto square = [](double x0, double y0, double x1, double y1) {
        return AcDbRegionRing{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    };
    auto* red = new AcDbRegion;
    red->setPolygons({{square(0, 0, 100, 100), {square(40, 40, 60, 60)}}});
    red->setColorIndex(1);
    auto* blue = new AcDbRegion;
    blue->setPolygons({{square(80, 0, 180, 100), {}}});
    blue->setColorIndex(5);
    model->appendAcDbEntity(red);
    model->appendAcDbEntity(blue);
    const std::string path = TempPath("regions.png");
    SolxPlotReport report;
    std::string error;
    ASSERT_TRUE(solxPlotDrawing(&db, path, {400, 20}, report, error)) << error;
    EXPECT_EQ(report.fills, 2u);
    EXPECT_EQ(report.strokes, 3u);  // two outer rings and the hole
    cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_image_surface_get_height(image), 240);  // 2 pixels a unit, 20 margin
    const auto pixel = [&](double x, double y) {
        const int px = 20 + static_cast<int>(2 * x), py = 20 + static_cast<int>(2 * (100 - y));
        const unsigned char* data = cairo_image_surface_get_data(image);
        const uint32_t v = *reinterpret_cast<const uint32_t*>(
            data + py * cairo_image_surface_get_stride(image) + 4 * px);
        return std::array<int, 3>{static_cast<int>((v >> 16) & 255),
                                  static_cast<int>((v >> 8) & 255), static_cast<int>(v & 255)};
    };
    const auto redOnly = pixel(20, 20), hole = pixel(50, 50), both = pixel(90, 50),
               blueOnly = pixel(150, 50);
    EXPECT_EQ(redOnly[0], 255);
    EXPECT_GT(redOnly[1], 120);  // pale: the white shows through
    EXPECT_LT(redOnly[1], 230);
    EXPECT_EQ(hole, (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(blueOnly[2], 255);
    EXPECT_LT(blueOnly[0], 230);
    EXPECT_LT(both[0], redOnly[0]);  // the blue over the red
    EXPECT_GT(both[2], redOnly[2]);
    EXPECT_LT(both[1], redOnly[1]);
    cairo_surface_destroy(image);
}

}  // namespace
