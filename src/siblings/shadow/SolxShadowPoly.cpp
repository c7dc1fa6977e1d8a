#include "solx/SolxShadowPoly.h"

#include <cmath>

#include "ShadowPolyBuild.h"
#include "acad/AcDbRegionOps.h"
#include "solx/SolxShadowSource.h"

namespace {

// The shadow from its pieces: as they are when they already are one polygon, else united.
int FinishShadow(shadow::ShadowPieces& pieces, SolxShadowShape& shadow) {
    if (pieces.united) {
        shadow = std::move(pieces.polygons);
    } else {
        std::vector<const AcDbRegionPolygon*> all;
        all.reserve(pieces.polygons.size());
        for (const AcDbRegionPolygon& p : pieces.polygons) all.push_back(&p);
        solx::region::UnitePolygons(all, shadow::SliverArea(pieces.polygons), shadow);
    }
    return shadow.empty() ? 0 : 1;
}

std::vector<const AcDbRegionPolygon*> AllPolygons(const std::vector<SolxShadowShape>& shapes) {
    std::vector<const AcDbRegionPolygon*> all;
    for (const SolxShadowShape& shape : shapes)
        for (const AcDbRegionPolygon& p : shape) all.push_back(&p);
    return all;
}

// The largest shape's sliver area: debris of the union is no larger than its inputs'.
double SliverAreaOf(const std::vector<SolxShadowShape>& shapes) {
    double area = 0.0;
    for (const SolxShadowShape& shape : shapes) area = std::max(area, shadow::SliverArea(shape));
    return area;
}

}  // namespace

int GetShadePoly(SolxShadowShape& shadow, const std::vector<VxGePoint>& outline, double elevation,
                 double height, const VxGePoint& light, double planeHeight) {
    shadow.clear();
    shadow::PlanShift shift;
    if (!shadow::LightShift(light, shift)) return 0;
    shadow::ShadowPieces pieces;
    shadow::AddPrismPieces(outline, elevation, height, shift, planeHeight, pieces);
    return FinishShadow(pieces, shadow);
}

int SolxShadowSource::GetShadowPoly(SolxShadowShape& shadow, const VxGePoint& light,
                                    double planeHeight) const {
    shadow.clear();
    shadow::PlanShift shift;
    if (!shadow::LightShift(light, shift) || !std::isfinite(planeHeight)) return 0;
    shadow::ShadowPieces pieces;
    for (const SolxFace3d& face : m_faces) shadow::AddFacePieces(face, shift, planeHeight, pieces);
    return FinishShadow(pieces, shadow);
}

SolxShadowShape UniteShadowShapes(const std::vector<SolxShadowShape>& shapes) {
    SolxShadowShape united;
    solx::region::UnitePolygons(AllPolygons(shapes), SliverAreaOf(shapes), united);
    return united;
}

std::vector<AcDbRegionRing> ShadowBoundaryCurves(const std::vector<SolxShadowShape>& shapes) {
    std::vector<AcDbRegionRing> curves;
    for (AcDbRegionPolygon& p : UniteShadowShapes(shapes)) {
        curves.push_back(std::move(p.outer));
        for (AcDbRegionRing& hole : p.holes) curves.push_back(std::move(hole));
    }
    return curves;
}
