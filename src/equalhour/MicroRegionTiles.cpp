// The tiles of the micro-region method's arrangement.

#include <algorithm>
#include <cmath>

#include "MicroRegionTiles.h"

namespace {

// The part of the segment a-b inside the box (Liang-Barsky); false when none is.
bool Clip(VxGePoint& a, VxGePoint& b, double x0, double y0, double x1, double y1) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - x0, x1 - a.x, a.y - y0, y1 - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const VxGePoint start = a;
    if (t1 < 1.0) b = VxGePoint(start.x + t1 * dx, start.y + t1 * dy);
    if (t0 > 0.0) a = VxGePoint(start.x + t0 * dx, start.y + t0 * dy);
    return true;
}

}  // namespace

double MicroRegionTiling::BorderX(int column) const {
    return extent.minX + column * size;
}

double MicroRegionTiling::BorderY(int row) const {
    return extent.minY + row * size;
}

VxGePolyline2d MicroRegionTiling::Outline(int tile) const {
    const int c = tile % nx, r = tile / nx;
    const double x0 = BorderX(c), x1 = BorderX(c + 1), y0 = BorderY(r), y1 = BorderY(r + 1);
    return VxGePolyline2d({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, true);
}

MicroRegionTiling TileCurves(const VxGeObjList& curves, size_t perTile) {
    MicroRegionTiling t;
    std::vector<VxGeLineSeg2d> all;
    for (const VxGePolyline2d& curve : curves.Curves()) ExplodePoly2D(curve, all);
    for (const VxGeLineSeg2d& s : all) {
        t.extent.Add(s.start);
        t.extent.Add(s.end);
    }
    if (t.extent.IsEmpty()) return t;
    const double w = t.extent.maxX - t.extent.minX, h = t.extent.maxY - t.extent.minY;
    const double tiles = std::max(1.0, static_cast<double>(all.size()) / perTile);
    t.size = std::max({std::sqrt(w * h / tiles), w / 1024.0, h / 1024.0, g_distZero});
    // A margin so that nothing lies on the outer edge of the tiling.
    t.extent.minX -= t.size * 1e-3, t.extent.minY -= t.size * 1e-3;
    t.nx = std::max(1, static_cast<int>(std::ceil((w + t.size * 2e-3) / t.size)));
    t.ny = std::max(1, static_cast<int>(std::ceil((h + t.size * 2e-3) / t.size)));
    const double far = std::max({std::fabs(t.extent.minX), std::fabs(t.extent.minY),
                                 std::fabs(t.extent.maxX), std::fabs(t.extent.maxY), w, h});
    t.grid = far * 1e-10;
    t.segments.resize(static_cast<size_t>(t.Count()));
    for (const VxGeLineSeg2d& s : all) {
        const auto col = [&](double x) {
            return std::clamp(static_cast<int>((x - t.extent.minX) / t.size), 0, t.nx - 1);
        };
        const auto row = [&](double y) {
            return std::clamp(static_cast<int>((y - t.extent.minY) / t.size), 0, t.ny - 1);
        };
        const int c0 = col(std::min(s.start.x, s.end.x)), c1 = col(std::max(s.start.x, s.end.x));
        const int r0 = row(std::min(s.start.y, s.end.y)), r1 = row(std::max(s.start.y, s.end.y));
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) {
                // The ends in one order, so that a segment crossing a tile edge is cut at the
                // same point, to the bit, in both tiles.
                VxGePoint a = std::min(s.start, s.end), b = std::max(s.start, s.end);
                if (Clip(a, b, t.BorderX(c), t.BorderY(r), t.BorderX(c + 1), t.BorderY(r + 1)) &&
                    a.Distance2d(b) > 0.0)
                    t.segments[static_cast<size_t>(r) * t.nx + c].push_back({a, b});
            }
    }
    return t;
}
