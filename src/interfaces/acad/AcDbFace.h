#pragma once

#include "acad/AcDbEntity.h"

// 3DFACE: three or four world corners (a triangle repeats its third corner as the fourth),
// each edge visible or not.
class AcDbFace : public AcDbEntity {
public:
    AcDbFace() = default;
    AcDbFace(const AcGePoint3d& p0, const AcGePoint3d& p1, const AcGePoint3d& p2,
             const AcGePoint3d& p3)
        : corners_{p0, p1, p2, p3} {}
    AcDbFace(const AcGePoint3d& p0, const AcGePoint3d& p1, const AcGePoint3d& p2)
        : corners_{p0, p1, p2, p2} {}
    AcDbObject* clone() const override { return new AcDbFace(*this); }
    std::wstring dxfName() const override { return L"3DFACE"; }

    Acad::ErrorStatus getVertexAt(unsigned short index, AcGePoint3d& p) const;
    Acad::ErrorStatus setVertexAt(unsigned short index, const AcGePoint3d& p);
    Acad::ErrorStatus isEdgeVisibleAt(unsigned short index, bool& visible) const;
    Acad::ErrorStatus makeEdgeVisibleAt(unsigned short index);
    Acad::ErrorStatus makeEdgeInvisibleAt(unsigned short index);

    Acad::ErrorStatus getGeomExtents(AcDbExtents& ext) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& m) override;
    std::optional<AcDbFilterValue> groupValue(short code) const override;
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;

private:
    AcGePoint3d corners_[4];
    int invisibleEdges_ = 0;  // bit i: edge i hidden
};
