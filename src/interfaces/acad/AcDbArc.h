#pragma once

#include "acad/AcDbCircle.h"

// ARC: a circle's part from startAngle to endAngle, counter-clockwise about the normal.
class AcDbArc : public AcDbCircle {
public:
    AcDbArc() = default;
    AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
        : AcDbCircle(center, AcGeVector3d::kZAxis, radius), start_(startAngle), end_(endAngle) {}
    AcDbObject* clone() const override { return new AcDbArc(*this); }
    std::wstring dxfName() const override { return L"ARC"; }

    double startAngle() const { return start_; }
    double endAngle() const { return end_; }
    Acad::ErrorStatus setStartAngle(double a);
    Acad::ErrorStatus setEndAngle(double a);

    bool isClosed() const override { return false; }
    Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getArea(double& area) const override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& ext) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& m) override;
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;

private:
    AcGePoint3d pointAt(double angle) const;
    double start_ = 0, end_ = 0;
};
