#include "PlanDraw.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace solx::plot {
namespace {

uint32_t Pixel(const Rgb& c) {
    auto channel = [](double v) {
        return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
    };
    return 0xff000000u | channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
}

// Sets each speck's pixel in the image's memory (RGB24 and ARGB32 keep a pixel in 32 bits).
void SetSpecks(cairo_surface_t* image, const PlanView& view, const std::vector<Speck>& specks) {
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    const int w = cairo_image_surface_get_width(image), h = cairo_image_surface_get_height(image);
    if (!data) return;
    for (const Speck& s : specks) {
        const double x = std::floor(view.X(s.at.x)), y = std::floor(view.Y(s.at.y));
        if (!(x >= 0 && y >= 0 && x < w && y < h)) continue;
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        row[static_cast<ptrdiff_t>(x)] = Pixel(s.colour);
    }
    cairo_surface_mark_dirty(image);
}

}  // namespace

void DrawPlan(cairo_surface_t* image, const PlanView& view, const Scene& scene,
              const PlanIndex& index, double detailPixels, PlanDrawStats& stats) {
    Box visible;
    visible.add(-view.offsetX / view.scale, (view.offsetY - view.height) / view.scale);
    visible.add((view.width - view.offsetX) / view.scale, view.offsetY / view.scale);
    std::vector<Speck> specks;
    const SceneItems items = detailPixels > 0
                                 ? index.Query(visible, detailPixels / view.scale, specks)
                                 : index.Query(visible);
    cairo_t* cr = cairo_create(image);
    DrawScene(cr, view, scene, &items, stats.text);
    cairo_destroy(cr);
    if (!specks.empty()) SetSpecks(image, view, specks);
    stats.drawn =
        items.fills.size() + items.strokes.size() + items.dots.size() + items.labels.size();
    stats.specks = specks.size();
}

}  // namespace solx::plot
