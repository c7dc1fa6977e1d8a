// POINT and 3DFACE.
#include "acad/AcDbFace.h"
#include "acad/AcDbPoint.h"

Acad::ErrorStatus AcDbPoint::setPosition(const AcGePoint3d& p) {
    position_ = p;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbPoint::setThickness(double t) {
    thickness_ = t;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::getGeomExtents(AcDbExtents& ext) const {
    ext.set(position_, position_);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::transformBy(const AcGeMatrix3d& m) {
    position_.transformBy(m);
    return Acad::eOk;
}

std::optional<AcDbFilterValue> AcDbPoint::groupValue(short code) const {
    if (code == 10) return AcDbFilterValue::ofPoint(position_);
    if (code == 39) return AcDbFilterValue::ofNumber(thickness_);
    return AcDbEntity::groupValue(code);
}

bool AcDbPoint::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    if (AcDbEntity::dxfInField(t, sub)) return true;
    if (t.code == 10 || t.code == 20 || t.code == 30)
        position_[(t.code - 10) / 10] = acdbDxfReal(t);
    else if (t.code == 39)
        thickness_ = acdbDxfReal(t);
    else
        return false;
    return true;
}

void AcDbPoint::dxfOutFields(AcDbDxfFiler& f) const {
    AcDbEntity::dxfOutFields(f);
    f.writeSubclass("AcDbPoint");
    f.writePoint3d(10, position_);
    if (thickness_ != 0) f.writeDouble(39, thickness_);
}

Acad::ErrorStatus AcDbFace::getVertexAt(unsigned short i, AcGePoint3d& p) const {
    if (i > 3) return Acad::eInvalidIndex;
    p = corners_[i];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::setVertexAt(unsigned short i, const AcGePoint3d& p) {
    if (i > 3) return Acad::eInvalidIndex;
    corners_[i] = p;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::isEdgeVisibleAt(unsigned short i, bool& visible) const {
    if (i > 3) return Acad::eInvalidIndex;
    visible = !(invisibleEdges_ & (1 << i));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::makeEdgeVisibleAt(unsigned short i) {
    if (i > 3) return Acad::eInvalidIndex;
    invisibleEdges_ &= ~(1 << i);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::makeEdgeInvisibleAt(unsigned short i) {
    if (i > 3) return Acad::eInvalidIndex;
    invisibleEdges_ |= 1 << i;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::getGeomExtents(AcDbExtents& ext) const {
    ext = AcDbExtents();
    for (const auto& c : corners_) ext.addPoint(c);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::transformBy(const AcGeMatrix3d& m) {
    for (auto& c : corners_) c.transformBy(m);
    return Acad::eOk;
}

std::optional<AcDbFilterValue> AcDbFace::groupValue(short code) const {
    if (code >= 10 && code <= 13) return AcDbFilterValue::ofPoint(corners_[code - 10]);
    if (code == 70) return AcDbFilterValue::ofNumber(invisibleEdges_);
    return AcDbEntity::groupValue(code);
}

bool AcDbFace::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    if (AcDbEntity::dxfInField(t, sub)) return true;
    int c = t.code;
    if (c >= 10 && c <= 33 && c % 10 <= 3)
        corners_[c % 10][c / 10 - 1] = acdbDxfReal(t);
    else if (c == 70)
        invisibleEdges_ = acdbDxfInt(t);
    else
        return false;
    return true;
}

void AcDbFace::dxfOutFields(AcDbDxfFiler& f) const {
    AcDbEntity::dxfOutFields(f);
    f.writeSubclass("AcDbFace");
    for (int i = 0; i < 4; ++i) f.writePoint3d(10 + i, corners_[i]);
    if (invisibleEdges_) f.writeInt(70, invisibleEdges_);
}
