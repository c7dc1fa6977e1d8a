#pragma once
// The prepared obstructions of one group: prisms and triangles with their grid.

#include <cstdint>
#include <utility>
#include <vector>

#include "ShadowGeometry.h"
#include "ShadowGrid.h"
#include "solx/SolxShadowSource.h"

// A wall that a window sits in: prism index and edge index.
struct SolxOwnWall {
    int prism = -1;
    int edge = -1;
};

class SolxShadowScene {
public:
    // base/top in either order; rings with fewer than 3 points are ignored.
    void AddPrism(const std::vector<VxGePoint>& ring, double base, double top);
    void AddFace(const SolxFace3d& face);
    // Builds the grid; call after the last Add.
    void Build();

    // True when light travelling along light is stopped before it reaches point. ownWalls are
    // walls the point sits in and the ray leaves through (skipped, see RayHitsPrism).
    bool IsBlocked(const VxGePoint& point, const VxGePoint& light, bool useIndex,
                   const std::vector<SolxOwnWall>& ownWalls) const;

    // The walls parallel to direction (plan angle, radians) within tol in plan of at.
    std::vector<SolxOwnWall> FindWalls(const VxGePoint& at, double direction, double tol) const;

    // FindWalls with a one-entry memory: a window is tested at many sun positions in a row.
    const std::vector<SolxOwnWall>& FindWallsCached(const VxGePoint& at, double direction,
                                                    double tol) const;

    size_t PrismCount() const { return m_prisms.size(); }
    size_t TriangleCount() const { return m_triangles.size(); }

private:
    bool TestObject(const shadow::Ray& ray, int object,
                    const std::vector<SolxOwnWall>& ownWalls) const;
    bool TestAll(const shadow::Ray& ray, const std::vector<SolxOwnWall>& ownWalls) const;

    std::vector<shadow::Prism> m_prisms;
    std::vector<shadow::Triangle> m_triangles;
    shadow::ShadowGrid m_grid;
    double m_dMaxZ = 0.0;
    // Each walk stamps the objects it tested, so that one spanning many cells is tested once.
    mutable std::vector<uint32_t> m_stamp;
    mutable uint32_t m_nWalk = 0;
    mutable bool m_bWallsKnown = false;
    mutable VxGePoint m_wallsAt;
    mutable double m_dWallsDirection = 0.0;
    mutable double m_dWallsTol = 0.0;
    mutable std::vector<SolxOwnWall> m_walls;
};
