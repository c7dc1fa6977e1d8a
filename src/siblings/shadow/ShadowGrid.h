#pragma once
// A uniform grid over the plan footprints of the obstructions. A ray is answered by walking the
// cells under its plan projection in order (Amanatides and Woo's voxel traversal), so a test
// looks only at the obstructions near the ray.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "ShadowGeometry.h"

namespace shadow {

class ShadowGrid {
public:
    // Object i occupies the cells its box overlaps and reaches up to tops[i]. Cells are chosen
    // so that there are about as many as objects, at most 1024 along a side.
    void Build(const std::vector<Box2d>& boxes, const std::vector<double>& tops);
    bool IsEmpty() const { return m_nx == 0; }

    // Calls visit(object) for the objects of the cells crossed by the plan projection of
    // origin + t * dir, t >= 0, in order along the ray, while the ray's height on entering a
    // cell is at most maxZ. An object spanning several cells may be visited more than once.
    // Stops and returns true as soon as visit returns true.
    template <class Visit>
    bool Walk(const VxGePoint& origin, const VxGePoint& dir, double maxZ, Visit&& visit) const;

    // Calls visit(object) for the objects of the cells overlapping box.
    void ForEachInBox(const Box2d& box, const std::function<void(int)>& visit) const;

private:
    int CellX(double x) const {
        return std::clamp(static_cast<int>(std::floor((x - m_box.minX) / m_dCell)), 0, m_nx - 1);
    }
    int CellY(double y) const {
        return std::clamp(static_cast<int>(std::floor((y - m_box.minY) / m_dCell)), 0, m_ny - 1);
    }
    template <class Visit>
    bool VisitCell(int ix, int iy, double zEnter, Visit& visit) const {
        const size_t c = static_cast<size_t>(iy) * m_nx + ix;
        if (zEnter > m_top[c]) return false;
        for (uint32_t k = m_start[c]; k < m_start[c + 1]; ++k)
            if (visit(m_items[k])) return true;
        return false;
    }
    // Clips the plan line origin + t * dir to the grid and to the height maxZ: the first and
    // last t worth walking. False when nothing of the grid is left.
    bool Clip(const VxGePoint& origin, const VxGePoint& dir, double maxZ, double& tEnter,
              double& tExit) const;

    Box2d m_box;
    double m_dCell = 1.0;
    int m_nx = 0;
    int m_ny = 0;
    std::vector<uint32_t> m_start;  // per cell, the first entry in m_items (CSR layout)
    std::vector<int> m_items;
    std::vector<double> m_top;  // per cell, the highest top of its objects
};

template <class Visit>
bool ShadowGrid::Walk(const VxGePoint& origin, const VxGePoint& dir, double maxZ,
                      Visit&& visit) const {
    double tEnter = 0.0, tExit = 0.0;
    if (!Clip(origin, dir, maxZ, tEnter, tExit)) return false;
    int ix = CellX(origin.x + tEnter * dir.x), iy = CellY(origin.y + tEnter * dir.y);
    const double z0 = origin.z + tEnter * dir.z;
    if (std::abs(dir.x) < 1e-12 && std::abs(dir.y) < 1e-12) return VisitCell(ix, iy, z0, visit);
    const double inf = std::numeric_limits<double>::infinity();
    const int stepX = dir.x > 0.0 ? 1 : -1, stepY = dir.y > 0.0 ? 1 : -1;
    const double dtX = dir.x != 0.0 ? m_dCell / std::abs(dir.x) : inf;
    const double dtY = dir.y != 0.0 ? m_dCell / std::abs(dir.y) : inf;
    const double edgeX = m_box.minX + (ix + (stepX > 0 ? 1 : 0)) * m_dCell;
    const double edgeY = m_box.minY + (iy + (stepY > 0 ? 1 : 0)) * m_dCell;
    double tMaxX = dir.x != 0.0 ? (edgeX - origin.x) / dir.x : inf;
    double tMaxY = dir.y != 0.0 ? (edgeY - origin.y) / dir.y : inf;
    double zEnter = z0;
    for (;;) {
        if (VisitCell(ix, iy, zEnter, visit)) return true;
        if (tMaxX < tMaxY) {
            if (tMaxX > tExit || (ix += stepX) < 0 || ix >= m_nx) return false;
            zEnter = origin.z + tMaxX * dir.z;
            tMaxX += dtX;
        } else {
            if (tMaxY > tExit || (iy += stepY) < 0 || iy >= m_ny) return false;
            zEnter = origin.z + tMaxY * dir.z;
            tMaxY += dtY;
        }
    }
}

}  // namespace shadow
