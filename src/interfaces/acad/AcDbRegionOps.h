#pragma once
// Polygon operations of the region engine for callers that work on polygons rather than on
// region entities (the shadow outlines): a cascaded union and the repair of crossing rings; and
// the planar arrangement of line work (noding, faces, a point inside a face) on the same engine.

#include <vector>

#include "acad/AcDbRegion.h"

namespace solx::region {

// The union of the polygons in one cascaded pass, as valid polygons: outer rings
// counter-clockwise, holes clockwise, closing points not repeated, pieces and holes of area up
// to minArea dropped. The inputs are trusted to be valid; only when the union fails or comes
// out invalid are they repaired and the union done again. False when the engine fails even
// then (`out` is then empty).
bool UnitePolygons(const std::vector<const AcDbRegionPolygon*>& polygons, double minArea,
                   std::vector<AcDbRegionPolygon>& out);

// The area that a closed ring encloses as valid polygons: a simple ring as it is, a
// self-crossing one split into all its lobes. Empty when it encloses no area.
std::vector<AcDbRegionPolygon> RepairRing(const AcDbRegionRing& ring);

// An open path: the vertices in order (a closed ring is given with its first point repeated).
using AcDbRegionPath = std::vector<AcGePoint2d>;

// A straight piece of line work.
struct AcDbRegionSegment {
    AcGePoint2d start;
    AcGePoint2d end;
};

// Noding: every path of `paths` split at each crossing, touch and overlap with any other (and
// with itself), so that pieces meet only at their ends; pieces that overlap are given once.
// The pieces' ends are snapped to a grid of `grid` drawing units (0: 1e-10 of the size of the
// work and its distance from the origin); pieces noded apart on one grid meet exactly. False
// when the engine fails or is interrupted.
bool NodePaths(const std::vector<AcDbRegionPath>& paths, std::vector<AcDbRegionSegment>& out,
               double grid = 0.0);

// The bounded faces of the arrangement of noded segments (NodePaths): each face as a polygon
// with the faces it surrounds as holes, outer ring counter-clockwise; dangling pieces bound
// nothing. With `inside`, one point strictly inside every face (not in a hole), in order; a
// face too thin to hold one is left out.
bool PolygonizeSegments(const std::vector<AcDbRegionSegment>& noded,
                        std::vector<AcDbRegionPolygon>& faces, std::vector<AcGePoint2d>* inside);

// A point strictly inside a polygon (not on its boundary, not in a hole). False when it has no
// area.
bool InteriorPoint(const AcDbRegionPolygon& polygon, AcGePoint2d& at);

// While one lives, the engine asks `stop` now and then during long operations (noding, faces,
// unions) and abandons the operation when it answers true; the operation then reports failure
// and Interrupted() tells why. One at a time; on the calling thread only.
class InterruptScope {
public:
    explicit InterruptScope(bool (*stop)());
    ~InterruptScope();
    InterruptScope(const InterruptScope&) = delete;
    InterruptScope& operator=(const InterruptScope&) = delete;
    bool Interrupted() const;
};

}  // namespace solx::region
