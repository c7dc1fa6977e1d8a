// A rendered frame saved as PNG through cairo's writer (cairo already draws the plan plots).
#include <cairo.h>

#include <memory>

#include "render/SolxRenderContext.h"

bool SolxWritePng(const std::string& path, int width, int height,
                  const std::vector<std::uint8_t>& rgb, std::string& error) {
    if (width < 1 || height < 1 || rgb.size() != static_cast<size_t>(width) * height * 3)
        return error = "no frame to save", false;
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height), &cairo_surface_destroy);
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return error = "no memory for the picture", false;
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<size_t>(stride) * y);
        const std::uint8_t* in = rgb.data() + static_cast<size_t>(width) * 3 * y;
        for (int x = 0; x < width; ++x, in += 3)
            row[x] = (std::uint32_t{in[0]} << 16) | (std::uint32_t{in[1]} << 8) | in[2];
    }
    cairo_surface_mark_dirty(surface.get());
    const cairo_status_t status = cairo_surface_write_to_png(surface.get(), path.c_str());
    if (status != CAIRO_STATUS_SUCCESS)
        return error = "cannot write " + path + ": " + cairo_status_to_string(status), false;
    return true;
}
