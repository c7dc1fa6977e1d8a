// REGION: planar polygons with holes; booleans on GEOS; saved through a block of polylines.
#include <cmath>

#include "acad/AcDbDatabase.h"
#include "acad/AcDbPolyline.h"
#include "acad/AcDbRegion.h"
#include "db/GeosRegion.h"

Acad::ErrorStatus AcDbRegion::createFromRings(const std::vector<AcDbRegionRing>& rings,
                                              double elevation, AcArray<AcDbRegion*>& regions) {
    for (const auto& ring : rings) {
        auto* region = new AcDbRegion();
        region->setElevation(elevation);
        if (region->setPolygons({{ring, {}}}) != Acad::eOk || region->isNull()) {
            delete region;
            continue;
        }
        regions.append(region);
    }
    return regions.isEmpty() ? Acad::eDegenerateGeometry : Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::setPolygons(const std::vector<AcDbRegionPolygon>& polygons) {
    auto normal = solx::db::normalisePolygons(polygons);
    if (!normal) return Acad::eGeneralModelingFailure;
    polygons_ = std::move(*normal);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::getArea(double& area) const {
    area = 0;
    for (const auto& p : polygons_) {
        area += std::fabs(AcDbRegionRingArea(p.outer));
        for (const auto& h : p.holes) area -= std::fabs(AcDbRegionRingArea(h));
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::getPerimeter(double& perimeter) const {
    perimeter = 0;
    auto add = [&](const AcDbRegionRing& r) {
        for (size_t i = 0; i < r.size(); ++i) perimeter += r[i].distanceTo(r[(i + 1) % r.size()]);
    };
    for (const auto& p : polygons_) {
        add(p.outer);
        for (const auto& h : p.holes) add(h);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::booleanOper(AcDb::BoolOperType op, AcDbRegion* other) {
    if (!other) return Acad::eNullObjectPointer;
    if (std::fabs(other->elevation_ - elevation_) > 1e-9 * (1 + std::fabs(elevation_)))
        return Acad::eNonPlanarEntity;
    auto r = solx::db::polygonBoolean(polygons_, other->polygons_, op);
    if (!r) return Acad::eGeneralModelingFailure;
    polygons_ = std::move(*r);
    other->polygons_.clear();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::getGeomExtents(AcDbExtents& ext) const {
    ext = AcDbExtents();
    for (const auto& p : polygons_)
        for (const auto& q : p.outer) ext.addPoint({q.x, q.y, elevation_});
    return ext.isEmpty() ? Acad::eDegenerateGeometry : Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::transformBy(const AcGeMatrix3d& m) {
    AcGeVector3d z = m * AcGeVector3d::kZAxis;
    if (!z.isParallelTo(AcGeVector3d::kZAxis)) return Acad::eNotApplicable;
    for (auto& p : polygons_) {
        auto move = [&](AcDbRegionRing& r) {
            for (auto& q : r) q = (m * AcGePoint3d(q.x, q.y, elevation_)).convert2d();
        };
        move(p.outer);
        for (auto& h : p.holes) move(h);
    }
    elevation_ = (m * AcGePoint3d(0, 0, elevation_)).z;
    if (m.det() < 0)
        return setPolygons(std::vector<AcDbRegionPolygon>(polygons_));  // mirrored rings
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::explode(AcDbVoidPtrArray& out) const {
    auto addRing = [&](const AcDbRegionRing& ring) {
        auto* pl = new AcDbPolyline();
        for (const auto& q : ring) pl->addVertexAt(pl->numVerts(), q);
        pl->setClosed(true);
        pl->setElevation(elevation_);
        pl->setLayer(layer().c_str());
        pl->setColorIndex(colorIndex());
        out.append(pl);
    };
    for (const auto& p : polygons_) {
        addRing(p.outer);
        for (const auto& h : p.holes) addRing(h);
    }
    return Acad::eOk;
}

void AcDbRegion::dxfOutFields(AcDbDxfFiler& f) const {
    AcDbEntity::dxfOutFields(f);
    f.writeSubclass("AcDbBlockReference");
    f.writeString(2, blockName_);
    f.writePoint3d(10, AcGePoint3d::kOrigin);
}

bool AcDbRegion::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    if (AcDbEntity::dxfInField(t, sub)) return true;
    if (t.code == 2) blockName_ = acdbDxfText(t);
    return t.code == 2 || t.code == 10 || t.code == 20 || t.code == 30;
}

void AcDbRegion::prepareForSave() {
    AcDbDatabase* db = database();
    AcDbObjectId blockId = db->symbolId(L"BLOCK_RECORD", blockName_);
    if (blockName_.empty() || blockId.isNull()) blockId = db->addBlock(L"*U");
    auto* block = dynamic_cast<AcDbBlockTableRecord*>(blockId.object());
    if (!block) return;
    blockName_ = block->getName();
    for (AcDbObjectId id : block->entityIds())
        if (id.isValid()) id.object()->erase();
    block->entityIds().clear();
    AcDbVoidPtrArray rings;
    explode(rings);
    for (AcDbEntity* e : rings) block->appendAcDbEntity(e);
}

void AcDbRegion::dxfLoaded() {
    auto* block = dynamic_cast<AcDbBlockTableRecord*>(
        database()->symbolId(L"BLOCK_RECORD", blockName_).object());
    if (!block) return;
    std::vector<AcDbRegionPolygon> outers;
    std::vector<AcDbRegionRing> holes;
    for (AcDbObjectId id : block->entityIds()) {
        auto* pl = dynamic_cast<AcDbPolyline*>(id.object());
        if (!pl || pl->isErased()) continue;
        AcDbRegionRing ring;
        for (const auto& v : pl->vertices()) ring.push_back(v.point);
        elevation_ = pl->elevation();
        if (AcDbRegionRingArea(ring) >= 0)
            outers.push_back({ring, {}});
        else
            holes.push_back(ring);
    }
    // Each hole goes back into the outer ring around it (even-odd rule on its first vertex).
    for (auto& h : holes) {
        for (auto& o : outers) {
            bool inside = false;
            const AcGePoint2d& q = h.front();
            for (size_t i = 0, j = o.outer.size() - 1; i < o.outer.size(); j = i++) {
                const auto& a = o.outer[i];
                const auto& b = o.outer[j];
                if ((a.y > q.y) != (b.y > q.y) &&
                    q.x < (b.x - a.x) * (q.y - a.y) / (b.y - a.y) + a.x)
                    inside = !inside;
            }
            if (inside) {
                o.holes.push_back(h);
                break;
            }
        }
    }
    polygons_ = std::move(outers);
}
