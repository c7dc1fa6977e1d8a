// Pictures written to files: where each colour lands in a PNG, and what an SVG holds.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

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

}  // namespace
