#pragma once

#include "acad/AcDbEntity.h"

// A closed ring of a region: the vertices in order, the closing segment implied.
using AcDbRegionRing = std::vector<AcGePoint2d>;
// A polygon of a region: an outer ring (counter-clockwise) and holes (clockwise).
struct AcDbRegionPolygon {
    AcDbRegionRing outer;
    std::vector<AcDbRegionRing> holes;
};

// The signed area of a ring: positive when it runs counter-clockwise.
inline double AcDbRegionRingArea(const AcDbRegionRing& ring) {
    double twice = 0.0;
    for (size_t i = 0, n = ring.size(); i < n; ++i) {
        const AcGePoint2d& p = ring[i];
        const AcGePoint2d& q = ring[(i + 1) % n];
        twice += p.x * q.y - q.x * p.y;
    }
    return twice / 2;
}

// REGION: a planar area made of polygons with holes, in the plane z = elevation of the world
// (the plane the module's shadow outlines lie in). Booleans run on GEOS; pieces thinner than
// the sliver tolerance are dropped from results. Saved as closed lightweight polylines in an
// anonymous block tagged as a region, since viewers cannot draw the host's solid-model format.
class AcDbRegion : public AcDbEntity {
public:
    AcDbRegion() = default;
    AcDbObject* clone() const override { return new AcDbRegion(*this); }
    std::wstring dxfName() const override { return L"REGION"; }
    std::wstring solxTypeTag() const override { return L"REGION"; }
    std::string dxfRecordType() const override { return "INSERT"; }

    // Regions from closed boundaries (each a ring of 3+ distinct points): one region per
    // boundary, holes not made; invalid rings (self-crossing) are repaired, degenerate skipped.
    static Acad::ErrorStatus createFromRings(const std::vector<AcDbRegionRing>& rings,
                                             double elevation, AcArray<AcDbRegion*>& regions);
    // Sets the area, normalised (outer rings counter-clockwise, holes clockwise, valid).
    Acad::ErrorStatus setPolygons(const std::vector<AcDbRegionPolygon>& polygons);
    const std::vector<AcDbRegionPolygon>& polygons() const { return polygons_; }
    double elevation() const { return elevation_; }
    void setElevation(double e) { elevation_ = e; }
    AcGeVector3d normal() const { return AcGeVector3d::kZAxis; }
    bool isNull() const { return polygons_.empty(); }
    Acad::ErrorStatus getArea(double& area) const;
    Acad::ErrorStatus getPerimeter(double& perimeter) const;

    // this = this op other; other becomes empty, as the host does. eGeneralModelingFailure
    // when the geometry engine fails; the region is then unchanged.
    Acad::ErrorStatus booleanOper(AcDb::BoolOperType op, AcDbRegion* other);

    Acad::ErrorStatus getGeomExtents(AcDbExtents& ext) const override;
    // Only moves, rotations about Z and uniform scalings keep a region in a horizontal plane.
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& m) override;
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;  // closed polylines
    void dxfOutFields(AcDbDxfFiler& filer) const override;
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfLoaded() override;       // the polygons from the block's polylines
    void prepareForSave() override;  // the block from the polygons

private:
    std::wstring blockName_;
    std::vector<AcDbRegionPolygon> polygons_;
    double elevation_ = 0;
};
