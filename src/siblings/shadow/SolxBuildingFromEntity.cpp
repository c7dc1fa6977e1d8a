#include <cmath>

#include "acad/AcDbPolyline.h"
#include "solx/SolxBuilding.h"

// Only inline accessors of the drawing objects are used here, so the obstruction records do not
// tie the sibling library to one build of the drawing database.

namespace {

struct Prism {
    std::vector<VxGePoint> outline;
    double elevation = 0.0;
    double height = 0.0;
};

// A polyline in a tilted plane is not a prism standing on the ground: it reads as empty.
Prism ReadPolyline(const AcDbEntity* entity) {
    Prism prism;
    if (!entity || entity->dxfName() != L"LWPOLYLINE") return prism;
    const auto& poly = static_cast<const AcDbPolyline&>(*entity);
    if (!poly.isClosed() || std::abs(poly.normal().z - 1.0) > 1e-9) return prism;
    for (const AcDbPolyline::Vertex& v : poly.vertices())
        prism.outline.push_back({v.point.x, v.point.y, 0.0});
    prism.elevation = poly.elevation();
    prism.height = poly.thickness();
    return prism;
}

SolxBuilding FromPrism(Prism prism) {
    return SolxBuilding(std::move(prism.outline), prism.elevation, prism.height);
}

}  // namespace

SolxBuilding::SolxBuilding(const AcDbEntity* entity, int /*mode*/)
    : SolxBuilding(FromPrism(ReadPolyline(entity))) {}
