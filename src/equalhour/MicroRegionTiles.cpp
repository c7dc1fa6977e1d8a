// The tiles and boxes of the micro-region method's arrangement.

#include <algorithm>
#include <cmath>

#include "MicroRegionTiles.h"

namespace {

// The part of the segment a-b inside the box (Liang-Barsky); false when none is.
bool Clip(VxGePoint& a, VxGePoint& b, const MicroRegionBox& box) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - box.x0, box.x1 - a.x, a.y - box.y0, box.y1 - a.y};
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

// The smallest power of two not below x (x > 0).
double PowerOfTwoAbove(double x) {
    return std::ldexp(1.0, std::ilogb(x) + 1);
}

}  // namespace

VxGePolyline2d MicroRegionBox::Outline() const {
    return VxGePolyline2d({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, true);
}

void MicroRegionBox::Split(MicroRegionBox quarter[4]) const {
    const double mx = (x0 + x1) / 2.0, my = (y0 + y1) / 2.0;
    quarter[0] = {x0, y0, mx, my};
    quarter[1] = {mx, y0, x1, my};
    quarter[2] = {x0, my, mx, y1};
    quarter[3] = {mx, my, x1, y1};
}

MicroRegionBox MicroRegionTiling::Tile(int tile) const {
    const int c = tile % nx, r = tile / nx;
    return {x0 + c * size, y0 + r * size, x0 + (c + 1) * size, y0 + (r + 1) * size};
}

void MicroRegionTiling::SegmentsIn(const std::vector<uint32_t>& from, const MicroRegionBox& box,
                                   std::vector<uint32_t>& into) const {
    into.clear();
    for (uint32_t i : from) {
        VxGePoint a = all[i].start, b = all[i].end;
        if (Clip(a, b, box) && a.Distance2d(b) > 0.0) into.push_back(i);
    }
}

std::vector<VxGeLineSeg2d> MicroRegionTiling::Clipped(const std::vector<uint32_t>& which,
                                                      const MicroRegionBox& box) const {
    std::vector<VxGeLineSeg2d> out;
    out.reserve(which.size());
    for (uint32_t i : which) {
        VxGePoint a = all[i].start, b = all[i].end;
        if (Clip(a, b, box) && a.Distance2d(b) > 0.0) out.push_back({a, b});
    }
    return out;
}

MicroRegionTiling TileCurves(const VxGeObjList& curves, const std::vector<int>& sampleOfCurve,
                             size_t perTile, int depth) {
    MicroRegionTiling t;
    VxGeExtent extent;
    const std::vector<VxGePolyline2d>& list = curves.Curves();
    for (size_t c = 0; c < list.size(); ++c) {
        const size_t before = t.all.size();
        ExplodePoly2D(list[c], t.all);
        t.sampleOf.resize(t.all.size(), c < sampleOfCurve.size() ? sampleOfCurve[c] : -1);
        for (size_t i = before; i < t.all.size(); ++i) {
            VxGeLineSeg2d& s = t.all[i];
            // The ends in one order, so that a segment is cut the same way in every box.
            if (s.end < s.start) std::swap(s.start, s.end);
            extent.Add(s.start);
            extent.Add(s.end);
        }
    }
    if (extent.IsEmpty()) return t;
    const double w = extent.maxX - extent.minX, h = extent.maxY - extent.minY;
    const double far = std::max({std::fabs(extent.minX), std::fabs(extent.minY),
                                 std::fabs(extent.maxX), std::fabs(extent.maxY), w, h, 1.0});
    t.grid = PowerOfTwoAbove(far * 1e-10);
    const double tiles = std::max(1.0, static_cast<double>(t.all.size()) / perTile);
    const double wanted = std::max({std::sqrt(w * h / tiles), w / 1024.0, h / 1024.0, g_distZero});
    const double unit = std::ldexp(t.grid, std::max(depth, 0));
    t.size = std::ceil(wanted / unit) * unit;
    // A margin so that nothing lies on the outer edge of the tiling.
    const double margin = t.size * 1e-3;
    t.x0 = std::floor((extent.minX - margin) / t.grid) * t.grid;
    t.y0 = std::floor((extent.minY - margin) / t.grid) * t.grid;
    t.nx = std::max(1, static_cast<int>(std::ceil((extent.maxX + margin - t.x0) / t.size)));
    t.ny = std::max(1, static_cast<int>(std::ceil((extent.maxY + margin - t.y0) / t.size)));
    t.segments.resize(static_cast<size_t>(t.Count()));
    for (uint32_t i = 0; i < t.all.size(); ++i) {
        const VxGeLineSeg2d& s = t.all[i];
        const auto col = [&](double x) {
            return std::clamp(static_cast<int>((x - t.x0) / t.size), 0, t.nx - 1);
        };
        const auto row = [&](double y) {
            return std::clamp(static_cast<int>((y - t.y0) / t.size), 0, t.ny - 1);
        };
        const int c0 = col(std::min(s.start.x, s.end.x)), c1 = col(std::max(s.start.x, s.end.x));
        const int r0 = row(std::min(s.start.y, s.end.y)), r1 = row(std::max(s.start.y, s.end.y));
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) {
                const int tile = r * t.nx + c;
                VxGePoint a = s.start, b = s.end;
                if (Clip(a, b, t.Tile(tile)) && a.Distance2d(b) > 0.0)
                    t.segments[static_cast<size_t>(tile)].push_back(i);
            }
    }
    return t;
}
