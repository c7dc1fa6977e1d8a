// Phase 1 of the micro-region method: the shadows of every time sample on the plane, united
// where the region engine can, kept for the point tests and as boundary curves.

#include <algorithm>
#include <cmath>

#include "MicroRegion.h"
#include "acad/AcDbRegionOps.h"
#include "host/VxUtPushResource.h"
#include "solx/SolxShadowPoly.h"

namespace {

VxGePolyline2d PolylineOf(const AcDbRegionRing& ring) {
    std::vector<VxGePoint> points;
    points.reserve(ring.size());
    for (const AcGePoint2d& p : ring) points.emplace_back(p.x, p.y);
    return VxGePolyline2d(std::move(points), true);
}

VxGeRegion2d RegionOf(const AcDbRegionPolygon& polygon) {
    VxGeRegion2d region{PolylineOf(polygon.outer), {}};
    for (const AcDbRegionRing& hole : polygon.holes) region.holes.push_back(PolylineOf(hole));
    return region;
}

// Pieces of a union below this area are rounding debris: a millionth of a millionth of the
// square of the shadows' size.
double SliverArea(const std::vector<AcDbRegionPolygon>& polygons) {
    double lo[2] = {INFINITY, INFINITY}, hi[2] = {-INFINITY, -INFINITY};
    for (const AcDbRegionPolygon& p : polygons)
        for (const AcGePoint2d& q : p.outer) {
            lo[0] = std::min(lo[0], q.x), lo[1] = std::min(lo[1], q.y);
            hi[0] = std::max(hi[0], q.x), hi[1] = std::max(hi[1], q.y);
        }
    const double size = std::max(hi[0] - lo[0], hi[1] - lo[1]);
    return std::isfinite(size) ? size * size * 1e-12 : 0.0;
}

// The shadow polygons of every obstruction for one light direction.
std::vector<AcDbRegionPolygon> ShadowsOf(const MicroRegionInput& input, const VxGePoint& light) {
    std::vector<AcDbRegionPolygon> polygons;
    SolxShadowShape shadow;
    for (size_t j = 0; j < input.outlines.size(); ++j) {
        const VxGePoint& bh = input.baseAndHeight[j];
        if (GetShadePoly(shadow, input.outlines[j], bh.x, bh.y, light, input.calcHeight))
            polygons.insert(polygons.end(), shadow.begin(), shadow.end());
    }
    if (input.sources)
        for (const auto& source : *input.sources)
            if (source && source->GetShadowPoly(shadow, light, input.calcHeight))
                polygons.insert(polygons.end(), shadow.begin(), shadow.end());
    return polygons;
}

// The rings of the polygons as boundary curves of the sample about to be added.
void AppendRings(const std::vector<AcDbRegionPolygon>& polygons, MicroRegionShadows& out) {
    const int sample = static_cast<int>(out.shadowsAt.size());
    for (const AcDbRegionPolygon& p : polygons) {
        out.boundaryCurves.Append(PolylineOf(p.outer));
        for (const AcDbRegionRing& hole : p.holes) out.boundaryCurves.Append(PolylineOf(hole));
    }
    out.curveSample.resize(static_cast<size_t>(out.boundaryCurves.GetLength()), sample);
}

std::vector<VxGeRegion2d> RegionsOf(const std::vector<AcDbRegionPolygon>& polygons) {
    std::vector<VxGeRegion2d> regions;
    regions.reserve(polygons.size());
    for (const AcDbRegionPolygon& p : polygons) regions.push_back(RegionOf(p));
    return regions;
}

// One sample: the boundary of its united shadow when the union succeeds, else the rings of its
// separate polygons.
void AddSample(const std::vector<AcDbRegionPolygon>& polygons, MicroRegionShadows& out) {
    std::vector<const AcDbRegionPolygon*> pointers;
    for (const AcDbRegionPolygon& p : polygons) pointers.push_back(&p);
    std::vector<AcDbRegionPolygon> united;
    if (!polygons.empty() && solx::region::UnitePolygons(pointers, SliverArea(polygons), united) &&
        !united.empty()) {
        AppendRings(united, out);
        out.stepRegions.push_back(std::move(united));
    } else {
        out.allUnited = false;
        AppendRings(polygons, out);
    }
    // The separate polygons are small and many, which the index answers fastest; a point is in
    // one of them exactly when it is in their union.
    out.shadowsAt.emplace_back(RegionsOf(polygons));
}

}  // namespace

bool ComputeShadowPhase(const MicroRegionInput& input, MicroRegionMonitor& monitor,
                        MicroRegionShadows& out) {
    SolxSunSetting sun = input.sun;
    sun.stepMinutes = std::max(sun.stepMinutes, kMicroRegionMinStep);
    out.stepMinutes = sun.stepMinutes;
    out.samples = SampleSun(sun);
    monitor.Begin(VxUtLangText(L"阴影轮廓"), sun.endMinute - sun.startMinute);
    for (const SolxSunSample& sample : out.samples) {
        if (!monitor.Continue(static_cast<int>(sample.minute - sun.startMinute))) return false;
        const bool dark = sample.altitude <= 0.0;
        out.dark.push_back(dark);
        if (dark) {  // no shadow polygons, yet nothing is lit
            out.allUnited = false;
            out.shadowsAt.emplace_back(std::vector<VxGeRegion2d>());
            continue;
        }
        AddSample(ShadowsOf(input, sample.Ray()), out);
    }
    monitor.End();
    return true;
}
