// The plan geometry of the shadow outlines: the moments, the obstructions above the plane with
// the cut footprints, one moment's united shadow, and the place of its time label.
#include <cmath>

#include "Shadow2d.h"
#include "SolxFrame.h"
#include "WinSunAnaTable.h"
#include "acad/aced.h"
#include "host/VxUtPushResource.h"
#include "solx/SolxDegree.h"

namespace {

bool IsFinite(const SolxShadowShape& shape) {
    for (const AcDbRegionPolygon& polygon : shape) {
        for (const AcGePoint2d& p : polygon.outer)
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
        for (const AcDbRegionRing& hole : polygon.holes)
            for (const AcGePoint2d& p : hole)
                if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
    }
    return true;
}

// The footprint of a building the plane cuts as region polygons; false when the outline makes
// no region.
bool FootprintPolygons(const std::vector<VxGePoint>& outline, double z, SolxShadowShape& shape) {
    AcDbRegionRing ring;
    for (const VxGePoint& p : outline) ring.emplace_back(p.x, p.y);
    AcArray<AcDbRegion*> regions;
    const Acad::ErrorStatus status = AcDbRegion::createFromRings({ring}, z, regions);
    for (AcDbRegion* region : regions) {
        for (const AcDbRegionPolygon& polygon : region->polygons()) shape.push_back(polygon);
        delete region;
    }
    return status == Acad::eOk && !shape.empty();
}

void WarnText(const wchar_t* text) {
    acutPrintf(L"%s", VxUtLangText(text));
}

std::unique_ptr<AcDbRegion> RegionOf(const SolxShadowShape& shape, double z) {
    if (shape.empty()) return nullptr;
    auto region = std::make_unique<AcDbRegion>();
    region->setElevation(z);
    if (region->setPolygons(shape) != Acad::eOk || region->isNull()) return nullptr;
    return region;
}

// The cut footprints united into one region; null (after the warnings) when one of them makes
// no region or the union fails.
std::unique_ptr<AcDbRegion> UniteFootprints(
    const std::vector<const ShadowObstructions::Prism*>& cut, double z) {
    std::vector<SolxShadowShape> shapes;
    for (const ShadowObstructions::Prism* prism : cut) {
        SolxShadowShape shape;
        if (!FootprintPolygons(prism->outline, z, shape)) {
            WarnText(L"\n 警告：建筑轮廓有错误，不能转化为Region!");
            return nullptr;
        }
        shapes.push_back(std::move(shape));
    }
    if (shapes.empty()) return nullptr;
    std::unique_ptr<AcDbRegion> united = RegionOf(UniteShadowShapes(shapes), z);
    if (!united) WarnText(L"\n 警告：建筑轮廓有错误，不能合并为一个Region!");
    return united;
}

}  // namespace

std::vector<int> ShadowMomentMinutes(int startMinute, int endMinute, int stepMinutes) {
    if (stepMinutes <= 0) stepMinutes = 10;
    std::vector<int> minutes;
    for (int t = startMinute; t <= endMinute; t += stepMinutes) minutes.push_back(t);
    return minutes;
}

std::wstring ShadowTimeText(int minute) {
    return SolxDegree(minute / 60.0).TimeFormat(false);
}

double ShadowLabelHeight() {
    return WinTableSizesAt(PaperToDrawing()).text;
}

bool ShadowLabelPoint(const std::vector<AcDbRegionRing>& curves, double azimuth, double offset,
                      AcGePoint2d& at) {
    const double c = std::cos(azimuth), s = std::sin(azimuth);
    bool any = false;
    double yMax = 0.0, xSum = 0.0;
    int count = 0;
    for (const AcDbRegionRing& ring : curves) {
        for (const AcGePoint2d& p : ring) {
            const double x = p.x * c - p.y * s, y = p.x * s + p.y * c;
            if (!any || y - yMax > kShadowDistZero) {
                any = true;
                yMax = y, xSum = x, count = 1;
            } else if (std::fabs(y - yMax) <= kShadowDistZero) {
                xSum += x, ++count;
            }
        }
    }
    if (!any) return false;
    const double x = xSum / count, y = yMax + offset;
    at = AcGePoint2d(x * c + y * s, -x * s + y * c);
    return true;
}

void PrepareObstructions(const SolxBuildingList& buildings, const SolxShadowSourceList& sources,
                         double z, ShadowObstructions& out) {
    out.sources = &sources;
    std::vector<const ShadowObstructions::Prism*> cut;
    out.prisms.reserve(buildings.size());
    for (const auto& building : buildings) {
        if (!building || !building->IsValid() || building->Outline().size() < 2) continue;
        if (building->Height() <= kShadowDistZero) continue;
        const double e = building->Elevation(), h = building->Height();
        if (e + h - z <= kShadowDistZero) continue;  // wholly at or below the plane
        out.prisms.push_back({building->Outline(), e, h});
    }
    for (const ShadowObstructions::Prism& prism : out.prisms)
        if (z >= prism.elevation - kShadowDistZero) cut.push_back(&prism);
    out.footprints = UniteFootprints(cut, z);
}

ShadowMomentResult ComputeShadowMoment(const ShadowObstructions& obstructions,
                                       const VxGePoint& light, double z) {
    std::vector<SolxShadowShape> shadows;
    for (const ShadowObstructions::Prism& prism : obstructions.prisms) {
        SolxShadowShape shadow;
        if (GetShadePoly(shadow, prism.outline, prism.elevation, prism.height, light, z) &&
            IsFinite(shadow))
            shadows.push_back(std::move(shadow));
    }
    if (obstructions.sources) {
        for (const auto& source : *obstructions.sources) {
            SolxShadowShape shadow;
            if (source && source->GetShadowPoly(shadow, light, z) && IsFinite(shadow))
                shadows.push_back(std::move(shadow));
        }
    }
    ShadowMomentResult result;
    if (shadows.empty()) return result;
    std::unique_ptr<AcDbRegion> united = RegionOf(UniteShadowShapes(shadows), z);
    if (!united) {
        result.curves = ShadowBoundaryCurves(shadows);
        result.fallback = true;
        return result;
    }
    for (const AcDbRegionPolygon& polygon : united->polygons()) {
        result.curves.push_back(polygon.outer);
        for (const AcDbRegionRing& hole : polygon.holes) result.curves.push_back(hole);
    }
    if (obstructions.footprints) {
        auto cutAway = std::make_unique<AcDbRegion>(*united);
        auto footprints = std::make_unique<AcDbRegion>(*obstructions.footprints);
        // A failed subtraction keeps the whole shadow.
        if (cutAway->booleanOper(AcDb::kBoolSubtract, footprints.get()) == Acad::eOk)
            united = std::move(cutAway);
    }
    if (!united->isNull()) result.region = std::move(united);
    return result;
}
