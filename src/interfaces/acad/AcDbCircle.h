#pragma once

#include "acad/AcDbCurve.h"

// CIRCLE: centre in world coordinates, radius, normal of its plane, thickness.
class AcDbCircle : public AcDbCurve {
public:
    AcDbCircle() = default;
    AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius)
        : normal_(normal.normal()), radius_(radius) {
        setCenter(center);
    }
    AcDbObject* clone() const override { return new AcDbCircle(*this); }
    std::wstring dxfName() const override { return L"CIRCLE"; }

    AcGePoint3d center() const;  // world point
    Acad::ErrorStatus setCenter(const AcGePoint3d& c);
    double radius() const { return radius_; }
    Acad::ErrorStatus setRadius(double r);
    AcGeVector3d normal() const { return normal_; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    double thickness() const { return thickness_; }
    Acad::ErrorStatus setThickness(double t);

    bool isClosed() const override { return true; }
    Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override { return getStartPoint(p); }
    Acad::ErrorStatus getArea(double& area) const override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& ext) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& m) override;
    std::optional<AcDbFilterValue> groupValue(short code) const override;
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;
    void dxfInEnd() override;

protected:
    // The centre in the plane system of the normal, as DXF stores it: a drawing read and
    // written again keeps its numbers exactly.
    AcGePoint3d center_;
    AcGeVector3d normal_ = AcGeVector3d::kZAxis;
    double radius_ = 0;
    double thickness_ = 0;
};
