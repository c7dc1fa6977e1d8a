// The arrangement services of the plan geometry on the region engine (GEOS): breaking curves at
// their intersections, the faces of the broken pieces, interior points and unions.

#include <memory>

#include "acad/AcDbRegionOps.h"
#include "brel/VxGeometry.h"

namespace {

using solx::region::AcDbRegionPath;
using solx::region::AcDbRegionSegment;

AcDbRegionRing RingOf(const VxGePolyline2d& polyline) {
    AcDbRegionRing ring;
    ring.reserve(polyline.Points().size());
    for (const VxGePoint& p : polyline.Points()) ring.emplace_back(p.x, p.y);
    return ring;
}

AcDbRegionPolygon PolygonOf(const VxGeRegion2d& region) {
    AcDbRegionPolygon polygon{RingOf(region.outer), {}};
    for (const VxGePolyline2d& hole : region.holes) polygon.holes.push_back(RingOf(hole));
    return polygon;
}

VxGePolyline2d PolylineOf(const AcDbRegionRing& ring, bool clockwise) {
    std::vector<VxGePoint> points;
    points.reserve(ring.size());
    for (const AcGePoint2d& p : ring) points.emplace_back(p.x, p.y);
    VxGePolyline2d polyline(std::move(points), true);
    if (polyline.IsClockwise() != clockwise) polyline.Reverse();
    return polyline;
}

// The region of an engine polygon with the outer outline turned as asked (holes the other way).
VxGeRegion2d RegionOf(const AcDbRegionPolygon& polygon, bool outerClockwise) {
    VxGeRegion2d region{PolylineOf(polygon.outer, outerClockwise), {}};
    region.holes.reserve(polygon.holes.size());
    for (const AcDbRegionRing& hole : polygon.holes)
        region.holes.push_back(PolylineOf(hole, !outerClockwise));
    return region;
}

// Sliver pieces below this area are rounding debris of a union: a millionth of a millionth of
// the square of the inputs' size.
double SliverArea(const std::vector<const VxGeRegion2d*>& regions) {
    VxGeExtent all;
    for (const VxGeRegion2d* r : regions)
        for (const VxGePoint& p : r->outer.Points()) all.Add(p);
    if (all.IsEmpty()) return 0.0;
    const double size = std::max(all.maxX - all.minX, all.maxY - all.minY);
    return size * size * 1e-12;
}

std::unique_ptr<solx::region::InterruptScope> g_pScope;

}  // namespace

bool VxGeObjList::InterBreakCurveEx2d(std::vector<VxGeLineSeg2d>& result, double grid) const {
    result.clear();
    std::vector<AcDbRegionPath> paths;
    paths.reserve(m_curves.size());
    for (const VxGePolyline2d& curve : m_curves) {
        AcDbRegionPath path = RingOf(curve);
        if (curve.IsClosed() && !path.empty()) path.push_back(path.front());
        paths.push_back(std::move(path));
    }
    std::vector<AcDbRegionSegment> pieces;
    if (!solx::region::NodePaths(paths, pieces, grid)) return false;
    result.reserve(pieces.size());
    for (const AcDbRegionSegment& s : pieces)
        result.push_back({VxGePoint(s.start.x, s.start.y), VxGePoint(s.end.x, s.end.y)});
    return true;
}

bool VxGeCurveMesh::FindAllMesh() {
    m_cells.clear();
    std::vector<AcDbRegionSegment> pieces;
    pieces.reserve(m_pieces.size());
    for (const VxGeLineSeg2d& s : m_pieces)
        pieces.push_back({AcGePoint2d(s.start.x, s.start.y), AcGePoint2d(s.end.x, s.end.y)});
    std::vector<AcDbRegionPolygon> faces;
    std::vector<AcGePoint2d> inside;
    if (!solx::region::PolygonizeSegments(pieces, faces, &inside)) return false;
    pieces = {};
    m_cells.reserve(faces.size());
    for (size_t i = 0; i < faces.size(); ++i)
        m_cells.push_back({RegionOf(faces[i], true), VxGePoint(inside[i].x, inside[i].y)});
    return true;
}

bool PolyCenter(const VxGeRegion2d& region, VxGePoint& center) {
    AcGePoint2d at;
    if (!solx::region::InteriorPoint(PolygonOf(region), at)) return false;
    center = VxGePoint(at.x, at.y);
    return true;
}

bool VxGeUnite(const std::vector<const VxGeRegion2d*>& regions, std::vector<VxGeRegion2d>& out) {
    out.clear();
    std::vector<AcDbRegionPolygon> polygons;
    polygons.reserve(regions.size());
    for (const VxGeRegion2d* r : regions) polygons.push_back(PolygonOf(*r));
    std::vector<const AcDbRegionPolygon*> pointers;
    pointers.reserve(polygons.size());
    for (const AcDbRegionPolygon& p : polygons) pointers.push_back(&p);
    std::vector<AcDbRegionPolygon> united;
    if (!solx::region::UnitePolygons(pointers, SliverArea(regions), united)) return false;
    out.reserve(united.size());
    for (const AcDbRegionPolygon& p : united) out.push_back(RegionOf(p, false));
    return true;
}

VxGeInterruptScope::VxGeInterruptScope(bool (*stop)()) {
    g_pScope = std::make_unique<solx::region::InterruptScope>(stop);
}

VxGeInterruptScope::~VxGeInterruptScope() {
    g_pScope.reset();
}

bool VxGeInterruptScope::Interrupted() const {
    return g_pScope && g_pScope->Interrupted();
}
