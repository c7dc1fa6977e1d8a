// LINE.
#include "acad/AcDbLine.h"

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& p) {
    start_ = p;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& p) {
    end_ = p;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::setThickness(double t) {
    thickness_ = t;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setNormal(const AcGeVector3d& n) {
    if (n.isZeroLength()) return Acad::eInvalidInput;
    normal_ = n.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getStartPoint(AcGePoint3d& p) const {
    p = start_;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::getEndPoint(AcGePoint3d& p) const {
    p = end_;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getGeomExtents(AcDbExtents& ext) const {
    ext.set(start_, end_);
    if (thickness_ != 0) {
        ext.addPoint(start_ + normal_ * thickness_);
        ext.addPoint(end_ + normal_ * thickness_);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::transformBy(const AcGeMatrix3d& m) {
    start_.transformBy(m);
    end_.transformBy(m);
    AcGeVector3d n = m * normal_;
    thickness_ *= n.length();
    normal_ = n.normal();
    return Acad::eOk;
}

std::optional<AcDbFilterValue> AcDbLine::groupValue(short code) const {
    switch (code) {
        case 10:
            return AcDbFilterValue::ofPoint(start_);
        case 11:
            return AcDbFilterValue::ofPoint(end_);
        case 39:
            return AcDbFilterValue::ofNumber(thickness_);
        default:
            return AcDbEntity::groupValue(code);
    }
}

bool AcDbLine::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    if (AcDbEntity::dxfInField(t, sub)) return true;
    double v = 0;
    switch (t.code) {
        case 10:
        case 20:
        case 30:
        case 11:
        case 21:
        case 31:
        case 210:
        case 220:
        case 230:
        case 39:
            v = acdbDxfReal(t);
            break;
        default:
            return false;
    }
    switch (t.code) {
        case 10:
            start_.x = v;
            break;
        case 20:
            start_.y = v;
            break;
        case 30:
            start_.z = v;
            break;
        case 11:
            end_.x = v;
            break;
        case 21:
            end_.y = v;
            break;
        case 31:
            end_.z = v;
            break;
        case 210:
            normal_.x = v;
            break;
        case 220:
            normal_.y = v;
            break;
        case 230:
            normal_.z = v;
            break;
        default:
            thickness_ = v;
    }
    return true;
}

void AcDbLine::dxfOutFields(AcDbDxfFiler& f) const {
    AcDbEntity::dxfOutFields(f);
    f.writeSubclass("AcDbLine");
    if (thickness_ != 0) f.writeDouble(39, thickness_);
    f.writePoint3d(10, start_);
    f.writePoint3d(11, end_);
    if (!normal_.isEqualTo(AcGeVector3d::kZAxis)) f.writeVector3d(210, normal_);
}
