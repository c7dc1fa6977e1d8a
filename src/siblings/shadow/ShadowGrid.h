#pragma once
// A uniform grid over the plan footprints of the obstructions. A ray is answered by walking the
// cells under its plan projection in order (Amanatides and Woo's voxel traversal), so a test
// looks only at the obstructions near the ray.

#include <cstdint>
#include <functional>
#include <vector>

#include "ShadowGeometry.h"

namespace shadow {

class ShadowGrid {
public:
    // Object i occupies the cells its box overlaps. Cells are chosen so that there are about
    // as many as objects, at most 1024 along a side.
    void Build(const std::vector<Box2d>& boxes);
    bool IsEmpty() const { return m_nx == 0; }

    // Calls visit(object) for the objects of the cells crossed by the plan projection of
    // origin + t * dir, t >= 0, in order along the ray, while the ray's height on entering a
    // cell is at most maxZ. An object spanning several cells may be visited more than once.
    // Stops and returns true as soon as visit returns true.
    bool Walk(const VxGePoint& origin, const VxGePoint& dir, double maxZ,
              const std::function<bool(int)>& visit) const;

    // Calls visit(object) for the objects of the cells overlapping box.
    void ForEachInBox(const Box2d& box, const std::function<void(int)>& visit) const;

private:
    int CellX(double x) const;
    int CellY(double y) const;
    bool VisitCell(int ix, int iy, const std::function<bool(int)>& visit) const;
    bool WalkVertical(const VxGePoint& origin, const std::function<bool(int)>& visit) const;

    Box2d m_box;
    double m_dCell = 1.0;
    int m_nx = 0;
    int m_ny = 0;
    std::vector<uint32_t> m_start;  // per cell, the first entry in m_items (CSR layout)
    std::vector<int> m_items;
};

}  // namespace shadow
