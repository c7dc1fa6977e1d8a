#pragma once

#include "acad/AcDbCurve.h"

class AcDb2dPolyline;

// LWPOLYLINE: 2D vertices with bulges and widths in the plane at `elevation` along `normal`,
// open or closed, extruded by `thickness`. A bulge is tan(arc angle / 4), positive
// counter-clockwise, for the segment that starts at its vertex.
class AcDbPolyline : public AcDbCurve {
public:
    AcDbPolyline() = default;
    explicit AcDbPolyline(unsigned int numVerts) { vertices_.reserve(numVerts); }
    AcDbObject* clone() const override { return new AcDbPolyline(*this); }
    std::wstring dxfName() const override { return L"LWPOLYLINE"; }

    unsigned int numVerts() const { return static_cast<unsigned int>(vertices_.size()); }
    // Inserts before index (index == numVerts appends). Widths < 0 keep the default 0.
    Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge = 0.,
                                  double startWidth = -1., double endWidth = -1.);
    Acad::ErrorStatus removeVertexAt(unsigned int index);
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& pt) const;
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& pt) const;  // world point
    Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& pt);
    Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
    Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
    Acad::ErrorStatus getWidthsAt(unsigned int index, double& startW, double& endW) const;
    Acad::ErrorStatus setWidthsAt(unsigned int index, double startW, double endW);
    bool isOnlyLines() const;
    bool isClosed() const override { return closed_; }
    void setClosed(bool closed) { closed_ = closed; }
    double elevation() const { return elevation_; }
    void setElevation(double e) { elevation_ = e; }
    double thickness() const { return thickness_; }
    Acad::ErrorStatus setThickness(double t);
    AcGeVector3d normal() const { return normal_; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    double constantWidth() const { return constantWidth_; }

    // A 2D polyline with the same vertices, bulges, widths, elevation, thickness and closure.
    // With transferId, the new polyline takes this one's place (id, handle, owner) in the
    // database and this object leaves it; the caller then deletes this object.
    Acad::ErrorStatus convertTo(AcDb2dPolyline*& result, bool transferId = true);

    Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getArea(double& area) const override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& ext) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& m) override;
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;
    std::optional<AcDbFilterValue> groupValue(short code) const override;
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;

    struct Vertex {
        AcGePoint2d point;
        double bulge = 0, startWidth = 0, endWidth = 0;
        int id = 0;  // group 91, kept when present
        bool hasId = false;
    };
    const std::vector<Vertex>& vertices() const { return vertices_; }

private:
    bool checkIndex(unsigned int index) const { return index < vertices_.size(); }
    std::vector<Vertex> vertices_;
    bool closed_ = false;
    int flags_ = 0;  // group 70 bits other than closed (plinegen 128)
    double elevation_ = 0, thickness_ = 0, constantWidth_ = 0;
    bool hasConstantWidth_ = false;
    AcGeVector3d normal_ = AcGeVector3d::kZAxis;
};
