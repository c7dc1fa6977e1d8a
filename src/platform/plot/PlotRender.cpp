// Draws a scene with cairo: one drawing routine onto a context, an SVG surface for ".svg" and
// an image surface saved as PNG for ".png". World y runs up, picture y down.
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>
#include <memory>
#include <vector>

#include "PlotScene.h"
#include "mfc/Utf8.h"
#include "plot/SolxPlot.h"

namespace solx::plot {
namespace {

// A font with the CJK ideographs; the drawings' notes and tables are Chinese. Characters it
// lacks (the diameter sign, some symbols) come from the fallback font.
constexpr const char* kFontFamily = "WenQuanYi Micro Hei";
constexpr const char* kFallbackFamily = "DejaVu Sans";
// The text height of a drawing is the height of capitals; the font's em is larger.
constexpr double kEmPerHeight = 1.0 / 0.72;
constexpr int kMaxAspect = 4;  // a tall drawing makes the picture at most 4 widths high
// Below the capital line and above the baseline, in text heights, for the box of a text.
constexpr double kAscent = 1.15, kDescent = 0.3;

// World to picture: uniform scale, y flipped, extents centred inside the margin.
using View = PlanView;

using SurfacePtr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using ContextPtr = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

// One text shaped into glyphs, in text units (one unit = one text height, y down) from the
// baseline's start; glyphs of the fallback font are marked.
struct Shaped {
    std::vector<cairo_glyph_t> glyphs;
    std::vector<bool> fallback;
    double advance = 0;
    size_t missing = 0;  // characters neither font has
};

class Fonts {
public:
    explicit Fonts(cairo_t* cr) : cr_(cr) {}

    Shaped Shape(const std::wstring& text) {
        Shaped out;
        for (wchar_t c : text) {
            cairo_glyph_t g{};
            double advance = 0;
            bool fallback = false;
            if (!Glyph(kFontFamily, c, g, advance)) {
                fallback = true;
                if (!Glyph(kFallbackFamily, c, g, advance)) {
                    ++out.missing;
                    Glyph(kFontFamily, c, g, advance);  // the main font's box
                    fallback = false;
                }
            }
            g.x = out.advance;
            g.y = 0;
            out.glyphs.push_back(g);
            out.fallback.push_back(fallback);
            out.advance += advance;
        }
        return out;
    }

    void Select(bool fallback) {
        cairo_select_font_face(cr_, fallback ? kFallbackFamily : kFontFamily,
                               CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr_, kEmPerHeight);
    }

private:
    // The glyph of one character and its advance at one unit of text height; false when the
    // family has no glyph for it.
    bool Glyph(const char* family, wchar_t c, cairo_glyph_t& glyph, double& advance) {
        const auto key = std::make_pair(std::string(family), c);
        if (auto it = cache_.find(key); it != cache_.end()) {
            glyph = it->second.first;
            advance = it->second.second;
            return glyph.index != 0;
        }
        cairo_save(cr_);
        cairo_identity_matrix(cr_);
        cairo_select_font_face(cr_, family, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        // Measured large and without hinting: at one pixel a height, advances would be rounded
        // to whole pixels.
        cairo_set_font_size(cr_, kMeasureSize * kEmPerHeight);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_set_font_options(cr_, options);
        cairo_font_options_destroy(options);
        const std::string utf8 = win::WideToUtf8(std::wstring(1, c));
        cairo_glyph_t* glyphs = nullptr;
        int count = 0;
        cairo_scaled_font_text_to_glyphs(cairo_get_scaled_font(cr_), 0, 0, utf8.data(),
                                         static_cast<int>(utf8.size()), &glyphs, &count, nullptr,
                                         nullptr, nullptr);
        glyph = count > 0 ? glyphs[0] : cairo_glyph_t{};
        cairo_text_extents_t ext{};
        if (count > 0) cairo_glyph_extents(cr_, glyphs, 1, &ext);
        advance = ext.x_advance / kMeasureSize;
        cairo_glyph_free(glyphs);
        cairo_restore(cr_);
        cache_[key] = {glyph, advance};
        return glyph.index != 0;
    }

    static constexpr double kMeasureSize = 100.0;
    cairo_t* cr_;
    std::map<std::pair<std::string, wchar_t>, std::pair<cairo_glyph_t, double>> cache_;
};

// Where the baseline starts, in text units (one unit = one text height, y down), for a text
// `advance` units long hung by its modes.
void AlignOffset(const Label& l, double advance, double& x, double& y) {
    const bool middle = l.horz == AcDb::kTextMid;
    x = l.horz == AcDb::kTextCenter || middle ? -advance / 2
        : l.horz == AcDb::kTextRight          ? -advance
                                              : 0;
    y = middle || l.vert == AcDb::kTextVertMid ? 0.5
        : l.vert == AcDb::kTextTop             ? 1.0
        : l.vert == AcDb::kTextBottom          ? -0.25
                                               : 0;
}

// How much wider the text is stretched along its baseline (aligned and fitted texts).
double FitStretch(const Label& l, double advance) {
    return l.fitLength > 0 && advance > 0 ? l.fitLength / (advance * l.along.length()) : 1.0;
}

// The four world corners of a text's box as the font sets it.
void LabelCorners(const Label& l, double advance, AcGePoint2d corners[4]) {
    double x = 0, y = 0;
    AlignOffset(l, advance, x, y);
    const double stretch = FitStretch(l, advance);
    const double u0 = x * stretch, u1 = (x + advance) * stretch;
    const double v0 = y - kAscent, v1 = y + kDescent;  // y down: ascent is negative
    const double us[4] = {u0, u1, u1, u0}, vs[4] = {v0, v0, v1, v1};
    for (int i = 0; i < 4; ++i) corners[i] = l.anchor + l.along * us[i] + l.up * (-vs[i]);
}

void Grow(const AcGePoint2d& p, bool& any, AcGePoint2d& lo, AcGePoint2d& hi) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
    if (!any) lo = hi = p;
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y)};
    any = true;
}

// The box around everything drawn, texts measured with the fonts they are drawn in.
bool DrawnExtents(const Scene& scene, Fonts& fonts, AcGePoint2d& lo, AcGePoint2d& hi) {
    bool any = false;
    for (const auto& s : scene.strokes)
        for (const auto& p : s.points) Grow(p, any, lo, hi);
    for (const auto& d : scene.dots) Grow(d.at, any, lo, hi);
    for (const auto& f : scene.fills)
        for (const auto& ring : f.rings)
            for (const auto& p : ring) Grow(p, any, lo, hi);
    for (const auto& l : scene.labels) {
        AcGePoint2d corners[4];
        LabelCorners(l, fonts.Shape(l.text).advance, corners);
        for (const auto& c : corners) Grow(c, any, lo, hi);
    }
    return any;
}

View FitView(const AcGePoint2d& lo, const AcGePoint2d& hi, const SolxPlotOptions& opt) {
    View v;
    v.width = std::max(opt.widthPixels, 2 * opt.marginPixels + 16);
    const double inner = v.width - 2.0 * opt.marginPixels;
    const double dx = std::max(hi.x - lo.x, 1e-9), dy = std::max(hi.y - lo.y, 1e-9);
    v.scale = std::min(inner / dx, inner * kMaxAspect / dy);
    v.height = static_cast<int>(std::ceil(dy * v.scale)) + 2 * opt.marginPixels;
    v.offsetX = (v.width - dx * v.scale) / 2 - lo.x * v.scale;
    v.offsetY = opt.marginPixels + hi.y * v.scale;
    return v;
}

void SetColour(cairo_t* cr, const Rgb& c) {
    cairo_set_source_rgb(cr, c.r, c.g, c.b);
}

void DrawStroke(cairo_t* cr, const View& v, const Stroke& s) {
    cairo_new_path(cr);
    for (const auto& p : s.points) cairo_line_to(cr, v.X(p.x), v.Y(p.y));
    if (s.closed) cairo_close_path(cr);
    SetColour(cr, s.colour);
    cairo_stroke(cr);
}

void DrawFill(cairo_t* cr, const View& v, const Fill& f) {
    cairo_new_path(cr);
    for (const auto& ring : f.rings) {
        cairo_new_sub_path(cr);
        for (const auto& p : ring) cairo_line_to(cr, v.X(p.x), v.Y(p.y));
        cairo_close_path(cr);
    }
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_source_rgba(cr, f.colour.r, f.colour.g, f.colour.b, f.alpha);
    cairo_fill(cr);
}

// Draws a label in its own frame; returns how many characters neither font has.
size_t DrawLabel(cairo_t* cr, Fonts& fonts, const View& v, const Label& l) {
    Shaped shaped = fonts.Shape(l.text);
    cairo_save(cr);
    cairo_matrix_t frame;
    cairo_matrix_init(&frame, v.scale * l.along.x, -v.scale * l.along.y, -v.scale * l.up.x,
                      v.scale * l.up.y, v.X(l.anchor.x), v.Y(l.anchor.y));
    cairo_transform(cr, &frame);
    cairo_scale(cr, FitStretch(l, shaped.advance), 1);
    double x = 0, y = 0;
    AlignOffset(l, shaped.advance, x, y);
    for (auto& g : shaped.glyphs) g.x += x, g.y += y;
    SetColour(cr, l.colour);
    // Runs of glyphs from one font at a time.
    for (size_t i = 0; i < shaped.glyphs.size();) {
        size_t j = i;
        while (j < shaped.glyphs.size() && shaped.fallback[j] == shaped.fallback[i]) ++j;
        fonts.Select(shaped.fallback[i]);
        cairo_show_glyphs(cr, shaped.glyphs.data() + i, static_cast<int>(j - i));
        i = j;
    }
    cairo_restore(cr);
    return shaped.missing;
}

// Lines a little under a pixel and a half, whatever the picture's size: dense plans stay
// apart and single lines stay visible. Texts smaller than kMinTextPixels would be a smudge;
// they are drawn as a thin bar along their baseline instead.
constexpr double kLineWidth = 1.5;
constexpr double kMinTextPixels = 4.0;

void DrawGreeked(cairo_t* cr, Fonts& fonts, const View& v, const Label& l) {
    AcGePoint2d corners[4];
    LabelCorners(l, fonts.Shape(l.text).advance, corners);
    const AcGePoint2d a = corners[3] + (corners[0] - corners[3]) * 0.4;
    const AcGePoint2d b = corners[2] + (corners[1] - corners[2]) * 0.4;
    cairo_save(cr);
    cairo_set_line_width(cr, 1.0);
    cairo_new_path(cr);
    cairo_move_to(cr, v.X(a.x), v.Y(a.y));
    cairo_line_to(cr, v.X(b.x), v.Y(b.y));
    SetColour(cr, {0.6 + 0.4 * l.colour.r, 0.6 + 0.4 * l.colour.g, 0.6 + 0.4 * l.colour.b});
    cairo_stroke(cr);
    cairo_restore(cr);
}

// Draws each listed item (every item without a list) with draw.
template <typename Item, typename Draw>
void ForItems(const std::vector<Item>& items, const std::vector<size_t>* only, Draw draw) {
    if (!only) {
        for (const Item& item : items) draw(item);
        return;
    }
    for (size_t i : *only)
        if (i < items.size()) draw(items[i]);
}

void DrawItems(cairo_t* cr, const View& v, const Scene& scene, const SceneItems* only,
               DrawStats& stats) {
    cairo_set_line_width(cr, kLineWidth);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    ForItems(scene.fills, only ? &only->fills : nullptr,
             [&](const Fill& f) { DrawFill(cr, v, f); });
    ForItems(scene.strokes, only ? &only->strokes : nullptr,
             [&](const Stroke& s) { DrawStroke(cr, v, s); });
    ForItems(scene.dots, only ? &only->dots : nullptr, [&](const Dot& d) {
        cairo_new_path(cr);
        cairo_arc(cr, v.X(d.at.x), v.Y(d.at.y), 1.5, 0, 2 * M_PI);
        SetColour(cr, d.colour);
        cairo_fill(cr);
    });
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    Fonts fonts(cr);
    ForItems(scene.labels, only ? &only->labels : nullptr, [&](const Label& l) {
        if (l.up.length() * v.scale < kMinTextPixels) {
            DrawGreeked(cr, fonts, v, l);
            ++stats.greekedLabels;
        } else {
            stats.missingGlyphs += DrawLabel(cr, fonts, v, l);
        }
    });
}

void DrawPicture(cairo_t* cr, const View& v, const Scene& scene, const SolxPlotOptions& opt,
                 SolxPlotReport& report) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    if (opt.useArea) {  // what crosses the chosen area's border is cut there
        const double x0 = v.X(opt.areaLo.x), y0 = v.Y(opt.areaHi.y);
        cairo_rectangle(cr, x0, y0, v.X(opt.areaHi.x) - x0, v.Y(opt.areaLo.y) - y0);
        cairo_clip(cr);
    }
    DrawStats stats;
    DrawItems(cr, v, scene, nullptr, stats);
    report.missingGlyphs += stats.missingGlyphs;
    report.greekedLabels += stats.greekedLabels;
}

bool HasExtension(const std::string& path, const std::string& ext) {
    if (path.size() < ext.size()) return false;
    return std::equal(ext.rbegin(), ext.rend(), path.rbegin(), [](char a, char b) {
        return a == std::tolower(static_cast<unsigned char>(b));
    });
}

bool Render(const Scene& scene, const View& v, const SolxPlotOptions& opt, const std::string& path,
            bool svg, SolxPlotReport& report, std::string& error) {
    SurfacePtr surface(svg ? cairo_svg_surface_create(path.c_str(), v.width, v.height)
                           : cairo_image_surface_create(CAIRO_FORMAT_RGB24, v.width, v.height),
                       cairo_surface_destroy);
    if (svg) cairo_svg_surface_set_document_unit(surface.get(), CAIRO_SVG_UNIT_PX);
    ContextPtr cr(cairo_create(surface.get()), cairo_destroy);
    DrawPicture(cr.get(), v, scene, opt, report);
    cairo_status_t status = cairo_status(cr.get());
    cr.reset();
    if (status == CAIRO_STATUS_SUCCESS && !svg)
        status = cairo_surface_write_to_png(surface.get(), path.c_str());
    cairo_surface_finish(surface.get());
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface.get());
    if (status != CAIRO_STATUS_SUCCESS)
        error = "cannot write the picture " + path + ": " + cairo_status_to_string(status);
    return status == CAIRO_STATUS_SUCCESS;
}

// The part of the plan the picture shows: the chosen area, or everything drawn.
void PictureExtents(const Scene& scene, const SolxPlotOptions& opt, AcGePoint2d& lo,
                    AcGePoint2d& hi) {
    if (opt.useArea) {
        lo = {opt.areaLo.x, opt.areaLo.y};
        hi = {opt.areaHi.x, opt.areaHi.y};
        return;
    }
    SurfacePtr scratch(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1), cairo_surface_destroy);
    ContextPtr cr(cairo_create(scratch.get()), cairo_destroy);
    Fonts fonts(cr.get());
    lo = {0, 0}, hi = {1, 1};
    DrawnExtents(scene, fonts, lo, hi);
}

}  // namespace

void DrawScene(cairo_t* cr, const PlanView& view, const Scene& scene, const SceneItems* only,
               DrawStats& stats) {
    cairo_save(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    DrawItems(cr, view, scene, only, stats);
    cairo_restore(cr);
}

}  // namespace solx::plot

bool solxPlotDrawing(AcDbDatabase* db, const std::string& path, const SolxPlotOptions& options,
                     SolxPlotReport& report, std::string& error) {
    using namespace solx::plot;
    const bool svg = HasExtension(path, ".svg");
    if (!svg && !HasExtension(path, ".png"))
        return error = "cannot plot to " + path + ": the name must end in .svg or .png", false;
    if (!db) return error = "cannot plot to " + path + ": no drawing", false;
    if (options.useArea &&
        (options.areaHi.x <= options.areaLo.x || options.areaHi.y <= options.areaLo.y))
        return error = "cannot plot to " + path + ": the area has no width or height", false;
    Scene scene = BuildScene(*db);
    if (options.drawTip) AddLastTip(scene);
    AcGePoint2d lo, hi;
    PictureExtents(scene, options, lo, hi);
    const View view = FitView(lo, hi, options);
    report = SolxPlotReport{view.width,
                            view.height,
                            scene.strokes.size(),
                            scene.labels.size(),
                            scene.dots.size(),
                            scene.fills.size(),
                            0,
                            0,
                            scene.cutShort};
    return Render(scene, view, options, path, svg, report, error);
}

bool solxPlotDrawing(AcDbDatabase* db, const std::string& path, std::string& error) {
    SolxPlotReport report;
    if (!solxPlotDrawing(db, path, SolxPlotOptions{}, report, error)) return false;
    if (report.cutShort)
        std::cerr << "warning: " << path
                  << " shows only part of the drawing: its blocks nest too many entities"
                  << std::endl;
    return true;
}
