#include "ShadowGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace shadow {
namespace {

constexpr int kMaxCellsPerSide = 1024;

Box2d UnionOf(const std::vector<Box2d>& boxes) {
    Box2d all = boxes.front();
    for (const Box2d& b : boxes) {
        all.minX = std::min(all.minX, b.minX);
        all.minY = std::min(all.minY, b.minY);
        all.maxX = std::max(all.maxX, b.maxX);
        all.maxY = std::max(all.maxY, b.maxY);
    }
    return all;
}

// Entry and exit parameters of the line o + t d in the slab [lo, hi] of one axis.
bool ClipSlab(double o, double d, double lo, double hi, double& tEnter, double& tExit) {
    if (d == 0.0) return o >= lo && o <= hi;
    double t1 = (lo - o) / d, t2 = (hi - o) / d;
    if (t1 > t2) std::swap(t1, t2);
    tEnter = std::max(tEnter, t1);
    tExit = std::min(tExit, t2);
    return tEnter <= tExit;
}

}  // namespace

void ShadowGrid::Build(const std::vector<Box2d>& boxes, const std::vector<double>& tops) {
    m_nx = m_ny = 0;
    m_start.clear();
    m_items.clear();
    m_top.clear();
    if (boxes.empty()) return;
    m_box = UnionOf(boxes);
    const double w = m_box.maxX - m_box.minX, h = m_box.maxY - m_box.minY;
    m_dCell = std::sqrt(std::max(w * h, 0.0) / static_cast<double>(boxes.size()));
    m_dCell = std::max({m_dCell, w / kMaxCellsPerSide, h / kMaxCellsPerSide});
    if (!(m_dCell > 0.0)) m_dCell = std::max({w, h, 1.0});
    m_nx = std::max(1, static_cast<int>(std::ceil(w / m_dCell)));
    m_ny = std::max(1, static_cast<int>(std::ceil(h / m_dCell)));
    // Boxes grow by a hair so that a ray through a cell corner still meets what touches it.
    const double pad = 1e-9 * (w + h + 1.0);
    std::vector<uint32_t> count(static_cast<size_t>(m_nx) * m_ny + 1, 0);
    auto each = [&](const Box2d& b, auto&& f) {
        for (int iy = CellY(b.minY - pad); iy <= CellY(b.maxY + pad); ++iy)
            for (int ix = CellX(b.minX - pad); ix <= CellX(b.maxX + pad); ++ix)
                f(static_cast<size_t>(iy) * m_nx + ix);
    };
    for (const Box2d& b : boxes) each(b, [&](size_t c) { ++count[c + 1]; });
    for (size_t c = 1; c < count.size(); ++c) count[c] += count[c - 1];
    m_start = count;
    m_items.resize(count.back());
    m_top.assign(count.size() - 1, -std::numeric_limits<double>::infinity());
    for (size_t i = 0; i < boxes.size(); ++i)
        each(boxes[i], [&](size_t c) {
            m_items[count[c]++] = static_cast<int>(i);
            m_top[c] = std::max(m_top[c], tops[i]);
        });
}

bool ShadowGrid::Clip(const VxGePoint& origin, const VxGePoint& dir, double maxZ, double& tEnter,
                      double& tExit) const {
    if (IsEmpty() || origin.z > maxZ) return false;
    tEnter = 0.0;
    tExit = std::numeric_limits<double>::infinity();
    if (!ClipSlab(origin.x, dir.x, m_box.minX, m_box.maxX, tEnter, tExit) ||
        !ClipSlab(origin.y, dir.y, m_box.minY, m_box.maxY, tEnter, tExit))
        return false;
    // Past the height of the highest obstruction nothing can be hit any more.
    if (dir.z > 0.0) tExit = std::min(tExit, (maxZ - origin.z) / dir.z);
    return tEnter <= tExit;
}

void ShadowGrid::ForEachInBox(const Box2d& box, const std::function<void(int)>& visit) const {
    if (IsEmpty() || !box.Overlaps(m_box)) return;
    for (int iy = CellY(box.minY); iy <= CellY(box.maxY); ++iy)
        for (int ix = CellX(box.minX); ix <= CellX(box.maxX); ++ix) {
            const size_t c = static_cast<size_t>(iy) * m_nx + ix;
            for (uint32_t k = m_start[c]; k < m_start[c + 1]; ++k) visit(m_items[k]);
        }
}

}  // namespace shadow
