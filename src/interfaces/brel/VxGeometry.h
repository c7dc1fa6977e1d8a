#pragma once
// The plan geometry of the product line: polylines, regions with holes, line pieces, a point
// index over regions, and the planar arrangement of line work (broken at every intersection,
// then cut into faces). Everything is in plan: z is carried along and ignored.
//
// The arrangement, the unions and the interior points run on the region engine's GEOS code
// (acad/AcDbRegionOps.h); the tests on single points (HitTest, the index) are our own.

#include <cstdint>
#include <vector>

#include "brel/VxGePoint.h"

// The zero distance of the geometry library (drawing units).
inline constexpr double g_distZero = 1e-6;

// An axis-aligned box in plan; empty (min above max) until a point is added.
struct VxGeExtent {
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    void Add(const VxGePoint& p);
    bool IsEmpty() const { return minX > maxX; }
    bool Contains(const VxGePoint& p) const {
        return p.x >= minX && p.x <= maxX && p.y >= minY && p.y <= maxY;
    }
};

// Bits of the answer of a hit test.
inline constexpr unsigned kVxHitOnBoundary = 1;  // within g_distZero of the boundary
inline constexpr unsigned kVxHitInside = 2;      // strictly inside (also set on the boundary)

class VxGePolyline2d {
public:
    VxGePolyline2d() = default;
    explicit VxGePolyline2d(std::vector<VxGePoint> points, bool closed = false)
        : m_points(std::move(points)), m_bClosed(closed) {}

    int GetNodeNum() const { return static_cast<int>(m_points.size()); }
    const VxGePoint& operator[](int i) const { return m_points[i]; }
    const std::vector<VxGePoint>& Points() const { return m_points; }
    std::vector<VxGePoint>& Points() { return m_points; }
    void Append(const VxGePoint& p) { m_points.push_back(p); }

    void SetClosed(bool closed) { m_bClosed = closed; }
    bool IsClosed() const { return m_bClosed; }

    // Signed area of the closed outline (positive counter-clockwise), 0 for an open one.
    double Area() const;
    bool IsClockwise() const { return Area() < 0.0; }
    void Reverse();
    // Closed: 3 or more finite points spanning an area; open: 2 or more finite points.
    bool IsValid() const;
    // Drops repeated vertices and vertices within `tolerance` of the line through their
    // neighbours (the closing point of a closed outline included). The number dropped.
    int Compress(double tolerance = g_distZero);
    // kVxHitInside when the point lies inside the closed outline (even-odd rule), with
    // kVxHitOnBoundary too when it lies within g_distZero of an edge; 0 outside.
    unsigned HitTest(const VxGePoint& p) const;
    VxGeExtent GetExtent() const;

private:
    std::vector<VxGePoint> m_points;
    bool m_bClosed = false;
};

// A planar area: an outer outline and holes, all closed.
struct VxGeRegion2d {
    VxGePolyline2d outer;
    std::vector<VxGePolyline2d> holes;

    // Inside the outer outline and not strictly inside a hole; a point on a hole's edge counts
    // as inside, as one on the outer edge does.
    bool Contains(const VxGePoint& p) const;
    double Area() const;
};

// A straight piece between two points.
struct VxGeLineSeg2d {
    VxGePoint start;
    VxGePoint end;
};

// The segments of a polyline (the closing one of a closed polyline too) appended to `out`.
void ExplodePoly2D(const VxGePolyline2d& polyline, std::vector<VxGeLineSeg2d>& out);

// Curves (polylines, open or closed) to be arranged together.
class VxGeObjList {
public:
    void Append(VxGePolyline2d curve) { m_curves.push_back(std::move(curve)); }
    const std::vector<VxGePolyline2d>& Curves() const { return m_curves; }
    int GetLength() const { return static_cast<int>(m_curves.size()); }
    void RemoveAll() { m_curves.clear(); }

    // All curves split at their mutual intersections and overlaps (and where one touches
    // itself): `result` gets straight pieces that meet only at their ends, overlapping pieces
    // once. The ends are snapped to a grid of `grid` drawing units (0: far below the size of
    // the curves), so pieces broken apart on one grid meet exactly. False when the engine fails
    // or the user broke off (VxGeInterruptScope).
    bool InterBreakCurveEx2d(std::vector<VxGeLineSeg2d>& result, double grid = 0.0) const;

    // Every curve cut where it crosses or touches the closed `outline` (its edges treated as
    // straight), the pieces sorted by where they run: `inside` the outline, `outside` it, or
    // along its boundary (`along`, within g_distZero). A closed curve that the outline does not
    // cross stays whole and closed; one that it cuts becomes open pieces, the piece through its
    // first point joined across it. The lists may be the same object; pieces are appended.
    void CutBy(const VxGePolyline2d& outline, VxGeObjList& inside, VxGeObjList& outside,
               VxGeObjList& along) const;

private:
    std::vector<VxGePolyline2d> m_curves;
};

// A face of an arrangement with a point surely inside it (PolyCenter of the face).
struct VxGeCurveMeshCell {
    VxGeRegion2d region;  // outer outline clockwise, holes counter-clockwise
    VxGePoint center;
};

// The arrangement of pieces that meet only at their ends (InterBreakCurveEx2d): its bounded
// faces, each bounded by a clockwise outline with the faces it surrounds as holes. Pieces that
// bound nothing (dangling ends, bridges) are ignored.
class VxGeCurveMesh {
public:
    explicit VxGeCurveMesh(const std::vector<VxGeLineSeg2d>& pieces) : m_pieces(pieces) {}
    // False when the engine fails or the user broke off.
    bool FindAllMesh();
    const std::vector<VxGeCurveMeshCell>& Cells() const { return m_cells; }
    std::vector<VxGeCurveMeshCell>& Cells() { return m_cells; }

private:
    const std::vector<VxGeLineSeg2d>& m_pieces;
    std::vector<VxGeCurveMeshCell> m_cells;
};

// A point strictly inside the region (not on its boundary, not in a hole); false when the
// region has no area.
bool PolyCenter(const VxGeRegion2d& region, VxGePoint& center);

// The union of regions in one cascaded pass: outer outlines counter-clockwise (not clockwise),
// holes clockwise, shared edges gone. False when the engine fails or the user broke off.
bool VxGeUnite(const std::vector<const VxGeRegion2d*>& regions, std::vector<VxGeRegion2d>& out);

// Answers "does a region contain this point" fast for many points: a uniform grid over the
// regions' boxes, then the even-odd test on the few that can hold it. A point on an edge may
// go either way (ask it for points inside faces, not on their edges).
class VxGeRegionIndex {
public:
    explicit VxGeRegionIndex(std::vector<VxGeRegion2d> regions);
    // True when any region contains the point; stops at the first.
    bool AnyContains(const VxGePoint& p) const;
    int GetLength() const { return static_cast<int>(m_regions.size()); }
    const std::vector<VxGeRegion2d>& Regions() const { return m_regions; }

private:
    std::vector<VxGeRegion2d> m_regions;
    std::vector<VxGeExtent> m_boxes;
    VxGeExtent m_all;
    int m_nx = 0, m_ny = 0;
    double m_cell = 1.0;
    std::vector<uint32_t> m_start;  // per grid cell: the first entry in m_items (CSR)
    std::vector<uint32_t> m_items;  // region numbers
};

// While one lives, the long operations above (breaking, faces, unions) ask `stop` now and then
// and give up, returning false, when it answers true; Interrupted() then says so.
class VxGeInterruptScope {
public:
    explicit VxGeInterruptScope(bool (*stop)());
    ~VxGeInterruptScope();
    VxGeInterruptScope(const VxGeInterruptScope&) = delete;
    VxGeInterruptScope& operator=(const VxGeInterruptScope&) = delete;
    bool Interrupted() const;
};
