#include "ShadowModelReader.h"

#include <cmath>
#include <numbers>

#include "acad/AcDbCircle.h"
#include "acad/AcDbFace.h"
#include "acad/AcDbPolyFaceMesh.h"
#include "brel/VxDbSlab.h"

namespace solx::shadow {
namespace {

// Plan outlines only: an object in a tilted plane is not a prism standing upright.
bool IsUpright(const AcGeVector3d& normal) {
    return std::fabs(normal.z - 1.0) < 1e-9;
}

int AddBuilding(std::unique_ptr<SolxBuilding> building, SolxBuildingList& buildings) {
    if (!building->IsValid()) return 0;
    buildings.push_back(std::move(building));
    return 1;
}

int AddSource(std::unique_ptr<SolxShadowSource> source, SolxShadowSourceList& sources) {
    if (source->IsEmpty()) return 0;
    sources.push_back(std::move(source));
    return 1;
}

int ReadCircle(const AcDbCircle& circle, SolxBuildingList& buildings) {
    if (!IsUpright(circle.normal()) || circle.radius() <= 0.0) return 0;
    const AcGePoint3d c = circle.center();
    std::vector<VxGePoint> outline;
    for (int k = 0; k < kCircleSegments; ++k) {
        const double a = 2.0 * std::numbers::pi * k / kCircleSegments;
        outline.push_back(
            {c.x + circle.radius() * std::cos(a), c.y + circle.radius() * std::sin(a), 0.0});
    }
    return AddBuilding(std::make_unique<SolxBuilding>(outline, c.z, circle.thickness()), buildings);
}

int ReadSlab(const VxDbSlab& slab, SolxBuildingList& buildings) {
    return AddBuilding(
        std::make_unique<SolxBuilding>(slab.GetOutline(), slab.GetElevation(), slab.GetThickness()),
        buildings);
}

VxGePoint ToPoint(const AcGePoint3d& p) {
    return {p.x, p.y, p.z};
}

int ReadFace(const AcDbFace& face, SolxShadowSourceList& sources) {
    AcGePoint3d p[4];
    for (unsigned short k = 0; k < 4; ++k) face.getVertexAt(k, p[k]);
    auto source = std::make_unique<SolxShadowSource>();
    source->AddQuad(ToPoint(p[0]), ToPoint(p[1]), ToPoint(p[2]), ToPoint(p[3]));
    return AddSource(std::move(source), sources);
}

// Faces of up to four 1-based vertex indices; 0 ends a face, a negative index only hides an edge.
int ReadMesh(const AcDbPolyFaceMesh& mesh, SolxShadowSourceList& sources) {
    const AcGePoint3dArray points = mesh.meshVertices();
    const int n = static_cast<int>(points.length());
    auto source = std::make_unique<SolxShadowSource>();
    for (const auto& face : mesh.faces()) {
        std::vector<VxGePoint> corners;
        for (int index : face) {
            const int i = std::abs(index);
            if (i >= 1 && i <= n) corners.push_back(ToPoint(points[i - 1]));
        }
        if (corners.size() == 3) source->AddTriangle(corners[0], corners[1], corners[2]);
        if (corners.size() == 4) source->AddQuad(corners[0], corners[1], corners[2], corners[3]);
    }
    return AddSource(std::move(source), sources);
}

}  // namespace

int ReadObstruction(const AcDbEntity& entity, SolxBuildingList& buildings,
                    SolxShadowSourceList& sources) {
    if (const auto* slab = dynamic_cast<const VxDbSlab*>(&entity))
        return ReadSlab(*slab, buildings);
    if (entity.dxfName() == L"LWPOLYLINE")
        return AddBuilding(std::make_unique<SolxBuilding>(&entity, 0), buildings);
    if (const auto* circle = dynamic_cast<const AcDbCircle*>(&entity))
        return ReadCircle(*circle, buildings);
    if (const auto* face = dynamic_cast<const AcDbFace*>(&entity)) return ReadFace(*face, sources);
    if (const auto* mesh = dynamic_cast<const AcDbPolyFaceMesh*>(&entity))
        return ReadMesh(*mesh, sources);
    return 0;
}

}  // namespace solx::shadow
