// The text widths tables are laid out with, against cairo's measurement of the font the plan
// pictures draw with (WenQuanYi Micro Hei, one em = text height / 0.72).
#include <cairo.h>
#include <gtest/gtest.h>

#include <string>

#include "brel/VxTextMetrics.h"
#include "mfc/Utf8.h"

namespace {

// The advance cairo gives the text at a text height of 100 (no hinting of the metrics, so the
// widths are the font's, not rounded to pixels).
double CairoWidth(const std::wstring& text) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 8, 8);
    cairo_t* cr = cairo_create(surface);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_select_font_face(cr, "WenQuanYi Micro Hei", CAIRO_FONT_SLANT_NORMAL,
                           CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 100 / 0.72);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, solx::win::WideToUtf8(text).c_str(), &ext);
    cairo_font_options_destroy(options);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return ext.x_advance;
}

TEST(VxTextMetricsTest, WidthsMatchTheFontThePicturesDrawWith) {
    // What the window table and its note hold, in both languages, and the symbols of texts.
    const std::wstring texts[] = {
        L"窗日照分析表",
        L"窗台高(米)",
        L"总有效日照",
        L"8:00～9:30\n",  // the line break takes no room
        L"10:05～11:59*",
        L"2～15",
        L"0.90～45.00",
        L"南偏东15°",
        L"Total effective sunlight",
        L"Sill height (m)",
        L"Window sunlight table: building 12",
        L"Periods marked * are shorter than 5 min and not counted",
        L"WMQ@#%&{}|~_^`'\"!?<>[]/\\;,",
        L"±×÷Éàüß",
        L"  地点：北京  时间：8:00～16:00（真太阳时）",
    };
    for (const std::wstring& text : texts) {
        std::wstring line = text;
        if (!line.empty() && line.back() == L'\n') line.pop_back();
        const double cairo = CairoWidth(line);
        ASSERT_GT(cairo, 0) << "the font draws nothing";
        EXPECT_NEAR(VxTextLineWidth(text, 100.0), cairo, 1e-6 * cairo)
            << solx::win::WideToUtf8(text)
            << " (is fonts-wqy-microhei installed? cairo falls back to another font)";
    }
    EXPECT_DOUBLE_EQ(VxTextLineWidth(L"窗日照", 3.5, 0.7), 3 * 3.5 / 0.72 * 0.7) << "width factor";
}

// A glyph the font lacks is drawn from another font: the width reserved for it is at least what
// the fallback draws, so the text still stays inside its cell.
TEST(VxTextMetricsTest, GlyphsOutsideTheFontAreNotUnderestimated) {
    for (const std::wstring text : {L"⌀", L"→", L"€"})
        EXPECT_GE(VxTextLineWidth(text, 100.0), CairoWidth(text)) << solx::win::WideToUtf8(text);
}

}  // namespace
