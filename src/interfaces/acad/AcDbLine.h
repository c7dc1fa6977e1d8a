#pragma once

#include "acad/AcDbCurve.h"

// LINE: a segment between two world points, optionally extruded by a thickness.
class AcDbLine : public AcDbCurve {
public:
    AcDbLine() = default;
    AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : start_(start), end_(end) {}
    AcDbObject* clone() const override { return new AcDbLine(*this); }
    std::wstring dxfName() const override { return L"LINE"; }

    AcGePoint3d startPoint() const { return start_; }
    AcGePoint3d endPoint() const { return end_; }
    Acad::ErrorStatus setStartPoint(const AcGePoint3d& p);
    Acad::ErrorStatus setEndPoint(const AcGePoint3d& p);
    double thickness() const { return thickness_; }
    Acad::ErrorStatus setThickness(double t);
    AcGeVector3d normal() const { return normal_; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);

    Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& ext) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& m) override;
    std::optional<AcDbFilterValue> groupValue(short code) const override;
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;

private:
    AcGePoint3d start_, end_;
    double thickness_ = 0;
    AcGeVector3d normal_ = AcGeVector3d::kZAxis;
};
