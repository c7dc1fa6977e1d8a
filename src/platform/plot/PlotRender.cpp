// Draws a scene with cairo: one drawing routine onto a context, an SVG surface for ".svg" and
// an image surface saved as PNG for ".png". World y runs up, picture y down.
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <memory>

#include "PlotScene.h"
#include "mfc/Utf8.h"
#include "plot/SolxPlot.h"

namespace solx::plot {
namespace {

// A font with the CJK ideographs; the drawings' notes and tables are Chinese.
constexpr const char* kFontFamily = "WenQuanYi Micro Hei";
// The text height of a drawing is the height of capitals; the font's em is larger.
constexpr double kEmPerHeight = 1.0 / 0.72;
constexpr int kMaxAspect = 4;  // a tall drawing makes the picture at most 4 widths high

// World to picture: uniform scale, y flipped, extents centred inside the margin.
struct View {
    double scale = 1, offsetX = 0, offsetY = 0;
    int width = 0, height = 0;
    double X(double x) const { return offsetX + x * scale; }
    double Y(double y) const { return offsetY - y * scale; }
};

View FitView(const Scene& scene, const SolxPlotOptions& opt) {
    View v;
    v.width = std::max(opt.widthPixels, 2 * opt.marginPixels + 16);
    AcGePoint2d lo{0, 0}, hi{1, 1};
    scene.extents(lo, hi);
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

// Draws a label in its own frame; returns how many characters had no glyph in the font.
size_t DrawLabel(cairo_t* cr, const View& v, const Label& l) {
    const std::string utf8 = win::WideToUtf8(l.text);
    cairo_save(cr);
    cairo_matrix_t frame;
    cairo_matrix_init(&frame, v.scale * l.along.x, -v.scale * l.along.y, -v.scale * l.up.x,
                      v.scale * l.up.y, v.X(l.anchor.x), v.Y(l.anchor.y));
    cairo_transform(cr, &frame);
    cairo_set_font_size(cr, kEmPerHeight);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, utf8.c_str(), &ext);
    if (l.fitLength > 0 && ext.x_advance > 0)
        cairo_scale(cr, l.fitLength / (ext.x_advance * l.along.length()), 1);
    double x = 0, y = 0;
    AlignOffset(l, ext.x_advance, x, y);
    cairo_glyph_t* glyphs = nullptr;
    int count = 0;
    cairo_scaled_font_text_to_glyphs(cairo_get_scaled_font(cr), x, y, utf8.data(),
                                     static_cast<int>(utf8.size()), &glyphs, &count, nullptr,
                                     nullptr, nullptr);
    size_t missing = 0;
    for (int i = 0; i < count; ++i) missing += glyphs[i].index == 0;
    SetColour(cr, l.colour);
    cairo_show_glyphs(cr, glyphs, count);
    cairo_glyph_free(glyphs);
    cairo_restore(cr);
    return missing;
}

void DrawScene(cairo_t* cr, const View& v, const Scene& scene, SolxPlotReport& report) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_line_width(cr, 1.5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (const auto& s : scene.strokes) DrawStroke(cr, v, s);
    for (const auto& d : scene.dots) {
        cairo_new_path(cr);
        cairo_arc(cr, v.X(d.at.x), v.Y(d.at.y), 1.5, 0, 2 * M_PI);
        SetColour(cr, d.colour);
        cairo_fill(cr);
    }
    cairo_select_font_face(cr, kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    for (const auto& l : scene.labels) report.missingGlyphs += DrawLabel(cr, v, l);
}

bool HasExtension(const std::string& path, const std::string& ext) {
    if (path.size() < ext.size()) return false;
    return std::equal(ext.rbegin(), ext.rend(), path.rbegin(), [](char a, char b) {
        return a == std::tolower(static_cast<unsigned char>(b));
    });
}

using SurfacePtr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using ContextPtr = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

bool Render(const Scene& scene, const View& v, const std::string& path, bool svg,
            SolxPlotReport& report, std::string& error) {
    SurfacePtr surface(svg ? cairo_svg_surface_create(path.c_str(), v.width, v.height)
                           : cairo_image_surface_create(CAIRO_FORMAT_RGB24, v.width, v.height),
                       cairo_surface_destroy);
    if (svg) cairo_svg_surface_set_document_unit(surface.get(), CAIRO_SVG_UNIT_PX);
    ContextPtr cr(cairo_create(surface.get()), cairo_destroy);
    DrawScene(cr.get(), v, scene, report);
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

}  // namespace
}  // namespace solx::plot

bool solxPlotDrawing(AcDbDatabase* db, const std::string& path, const SolxPlotOptions& options,
                     SolxPlotReport& report, std::string& error) {
    using namespace solx::plot;
    const bool svg = HasExtension(path, ".svg");
    if (!svg && !HasExtension(path, ".png"))
        return error = "cannot plot to " + path + ": the name must end in .svg or .png", false;
    if (!db) return error = "cannot plot to " + path + ": no drawing", false;
    const Scene scene = BuildScene(*db);
    const View view = FitView(scene, options);
    report =
        SolxPlotReport{view.width,        view.height, scene.strokes.size(), scene.labels.size(),
                       scene.dots.size(), 0,           scene.cutShort};
    return Render(scene, view, path, svg, report, error);
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
