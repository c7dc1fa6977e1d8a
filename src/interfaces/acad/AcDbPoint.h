#pragma once

#include "acad/AcDbEntity.h"

// POINT: one world position.
class AcDbPoint : public AcDbEntity {
public:
    AcDbPoint() = default;
    explicit AcDbPoint(const AcGePoint3d& p) : position_(p) {}
    AcDbObject* clone() const override { return new AcDbPoint(*this); }
    std::wstring dxfName() const override { return L"POINT"; }
    AcGePoint3d position() const { return position_; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& p);
    double thickness() const { return thickness_; }
    Acad::ErrorStatus setThickness(double t);

    Acad::ErrorStatus getGeomExtents(AcDbExtents& ext) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& m) override;
    std::optional<AcDbFilterValue> groupValue(short code) const override;
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;

private:
    AcGePoint3d position_;
    double thickness_ = 0;
};
