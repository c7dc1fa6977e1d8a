// A uniform grid over the boxes of regions for many point-in-region questions.

#include <algorithm>
#include <cmath>

#include "brel/VxGeometry.h"

namespace {
// About this many grid cells per region: enough that a cell holds few regions, few enough that
// the grid stays small next to the regions themselves.
constexpr double kCellsPerRegion = 4.0;
constexpr int kMaxCellsPerSide = 2048;
// Even-odd crossing test of a closed ring, without the boundary distance of HitTest.
bool Crosses(const std::vector<VxGePoint>& ring, const VxGePoint& p) {
    bool inside = false;
    for (size_t i = 0, n = ring.size(), j = n - 1; i < n; j = i++) {
        const VxGePoint& a = ring[i];
        const VxGePoint& b = ring[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

bool InRegion(const VxGeRegion2d& r, const VxGePoint& p) {
    if (!Crosses(r.outer.Points(), p)) return false;
    for (const VxGePolyline2d& hole : r.holes)
        if (Crosses(hole.Points(), p)) return false;
    return true;
}

}  // namespace

VxGeRegionIndex::VxGeRegionIndex(std::vector<VxGeRegion2d> regions)
    : m_regions(std::move(regions)) {
    m_boxes.reserve(m_regions.size());
    for (const VxGeRegion2d& r : m_regions) {
        m_boxes.push_back(r.outer.GetExtent());
        m_all.Add({m_boxes.back().minX, m_boxes.back().minY});
        m_all.Add({m_boxes.back().maxX, m_boxes.back().maxY});
    }
    if (m_all.IsEmpty()) return;
    const double w = std::max(m_all.maxX - m_all.minX, g_distZero);
    const double h = std::max(m_all.maxY - m_all.minY, g_distZero);
    m_cell = std::sqrt(w * h / (kCellsPerRegion * static_cast<double>(m_regions.size())));
    m_cell = std::max({m_cell, w / kMaxCellsPerSide, h / kMaxCellsPerSide});
    m_nx = std::max(1, static_cast<int>(std::ceil(w / m_cell)));
    m_ny = std::max(1, static_cast<int>(std::ceil(h / m_cell)));
    auto span = [&](const VxGeExtent& b, int& x0, int& y0, int& x1, int& y1) {
        x0 = std::clamp(static_cast<int>((b.minX - m_all.minX) / m_cell), 0, m_nx - 1);
        x1 = std::clamp(static_cast<int>((b.maxX - m_all.minX) / m_cell), 0, m_nx - 1);
        y0 = std::clamp(static_cast<int>((b.minY - m_all.minY) / m_cell), 0, m_ny - 1);
        y1 = std::clamp(static_cast<int>((b.maxY - m_all.minY) / m_cell), 0, m_ny - 1);
    };
    // Two passes: count the entries of each cell, then fill them in place.
    m_start.assign(static_cast<size_t>(m_nx) * m_ny + 1, 0);
    for (const VxGeExtent& b : m_boxes) {
        int x0, y0, x1, y1;
        span(b, x0, y0, x1, y1);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) ++m_start[static_cast<size_t>(y) * m_nx + x + 1];
    }
    for (size_t i = 1; i < m_start.size(); ++i) m_start[i] += m_start[i - 1];
    m_items.resize(m_start.back());
    std::vector<uint32_t> fill(m_start.begin(), m_start.end() - 1);
    for (uint32_t r = 0; r < m_boxes.size(); ++r) {
        int x0, y0, x1, y1;
        span(m_boxes[r], x0, y0, x1, y1);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) m_items[fill[static_cast<size_t>(y) * m_nx + x]++] = r;
    }
}

bool VxGeRegionIndex::AnyContains(const VxGePoint& p) const {
    if (m_all.IsEmpty() || !m_all.Contains(p)) return false;
    const int x = std::clamp(static_cast<int>((p.x - m_all.minX) / m_cell), 0, m_nx - 1);
    const int y = std::clamp(static_cast<int>((p.y - m_all.minY) / m_cell), 0, m_ny - 1);
    const size_t cell = static_cast<size_t>(y) * m_nx + x;
    for (uint32_t i = m_start[cell]; i < m_start[cell + 1]; ++i) {
        const uint32_t r = m_items[i];
        if (m_boxes[r].Contains(p) && InRegion(m_regions[r], p)) return true;
    }
    return false;
}
