// CIRCLE and ARC. DXF keeps their centre in the plane system of the normal.
#include <cmath>

#include "acad/AcDbArc.h"

namespace {
bool readVectorField(const AcDbDxfTag& t, int base, AcGeVector3d& v) {
    if (t.code != base && t.code != base + 10 && t.code != base + 20) return false;
    v[(t.code - base) / 10] = acdbDxfReal(t);
    return true;
}
// Degrees for the file, rounded at 1e-10 so that 90 read and written stays 90.
double degrees(double radians) {
    return std::round(radians * 180 / M_PI * 1e10) / 1e10;
}
}  // namespace

AcGePoint3d AcDbCircle::center() const {
    return AcGeMatrix3d::planeToWorld(normal_) * center_;
}

Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& c) {
    center_ = AcGeMatrix3d::planeToWorld(normal_).inverse() * c;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::setRadius(double r) {
    if (!(r > 0)) return Acad::eInvalidInput;
    radius_ = r;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::setNormal(const AcGeVector3d& n) {
    if (n.isZeroLength()) return Acad::eInvalidInput;
    AcGePoint3d world = center();
    normal_ = n.normal();
    return setCenter(world);
}

Acad::ErrorStatus AcDbCircle::setThickness(double t) {
    thickness_ = t;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getStartPoint(AcGePoint3d& p) const {
    p = center() + AcGeMatrix3d::planeToWorld(normal_) * AcGeVector3d(radius_, 0, 0);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getArea(double& area) const {
    area = M_PI * radius_ * radius_;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getGeomExtents(AcDbExtents& ext) const {
    // Half-widths of a circle's box along each world axis: r * sqrt(1 - n_i^2).
    ext = AcDbExtents();
    AcGeVector3d half;
    for (int i = 0; i < 3; ++i)
        half[i] = radius_ * std::sqrt(std::max(0.0, 1 - normal_[i] * normal_[i]));
    AcGePoint3d c = center();
    ext.addPoint(c - half);
    ext.addPoint(c + half);
    if (thickness_ != 0) {
        ext.addPoint(c - half + normal_ * thickness_);
        ext.addPoint(c + half + normal_ * thickness_);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::transformBy(const AcGeMatrix3d& m) {
    AcGePoint3d start, c = center();
    getStartPoint(start);
    c.transformBy(m);
    start.transformBy(m);
    radius_ = c.distanceTo(start);
    AcGeVector3d n = m * normal_;
    thickness_ *= n.length();
    normal_ = n.normal();
    return setCenter(c);
}

std::optional<AcDbFilterValue> AcDbCircle::groupValue(short code) const {
    switch (code) {
        case 10:
            return AcDbFilterValue::ofPoint(center_);
        case 40:
            return AcDbFilterValue::ofNumber(radius_);
        case 39:
            return AcDbFilterValue::ofNumber(thickness_);
        default:
            return AcDbEntity::groupValue(code);
    }
}

bool AcDbCircle::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    if (AcDbEntity::dxfInField(t, sub)) return true;
    AcGeVector3d c = center_.asVector();
    if (readVectorField(t, 10, c)) {
        center_ = AcGePoint3d(c.x, c.y, c.z);
        return true;
    }
    if (readVectorField(t, 210, normal_)) return true;
    if (t.code == 40)
        radius_ = acdbDxfReal(t);
    else if (t.code == 39)
        thickness_ = acdbDxfReal(t);
    else
        return false;
    return true;
}

void AcDbCircle::dxfInEnd() {
    if (normal_.isZeroLength()) normal_ = AcGeVector3d::kZAxis;
}

void AcDbCircle::dxfOutFields(AcDbDxfFiler& f) const {
    AcDbEntity::dxfOutFields(f);
    f.writeSubclass("AcDbCircle");
    if (thickness_ != 0) f.writeDouble(39, thickness_);
    f.writePoint3d(10, center_);
    f.writeDouble(40, radius_);
    if (!normal_.isEqualTo(AcGeVector3d::kZAxis)) f.writeVector3d(210, normal_);
}

Acad::ErrorStatus AcDbArc::setStartAngle(double a) {
    if (!std::isfinite(a)) return Acad::eInvalidInput;
    start_ = a;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::setEndAngle(double a) {
    if (!std::isfinite(a)) return Acad::eInvalidInput;
    end_ = a;
    return Acad::eOk;
}

AcGePoint3d AcDbArc::pointAt(double a) const {
    return center() + AcGeMatrix3d::planeToWorld(normal_) *
                          AcGeVector3d(radius_ * std::cos(a), radius_ * std::sin(a), 0);
}

Acad::ErrorStatus AcDbArc::getStartPoint(AcGePoint3d& p) const {
    p = pointAt(start_);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::getEndPoint(AcGePoint3d& p) const {
    p = pointAt(end_);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getArea(double& area) const {
    double sweep = std::fmod(end_ - start_ + 4 * M_PI, 2 * M_PI);
    area = 0.5 * radius_ * radius_ * (sweep - std::sin(sweep));  // the segment's area
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getGeomExtents(AcDbExtents& ext) const {
    // End points plus every quadrant point inside the sweep (tested in the arc's plane).
    ext = AcDbExtents();
    ext.addPoint(pointAt(start_));
    ext.addPoint(pointAt(end_));
    double sweep = std::fmod(end_ - start_ + 4 * M_PI, 2 * M_PI);
    for (int q = 0; q < 4; ++q) {
        double a = q * M_PI / 2;
        if (std::fmod(a - start_ + 4 * M_PI, 2 * M_PI) <= sweep) ext.addPoint(pointAt(a));
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::transformBy(const AcGeMatrix3d& m) {
    AcGePoint3d s = pointAt(start_), e = pointAt(end_);
    AcDbCircle::transformBy(m);
    s.transformBy(m);
    e.transformBy(m);
    AcGeMatrix3d toPlane = AcGeMatrix3d::planeToWorld(normal_).inverse();
    AcGePoint3d c = center();
    AcGeVector3d vs = toPlane * (s - c), ve = toPlane * (e - c);
    start_ = std::atan2(vs.y, vs.x);
    end_ = std::atan2(ve.y, ve.x);
    if (m.det() < 0) std::swap(start_, end_);  // a mirror turns the sweep round
    return Acad::eOk;
}

bool AcDbArc::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    if (t.code == 50 && sub != "AcDbCircle")
        start_ = acdbDxfAngle(t);
    else if (t.code == 51 && sub != "AcDbCircle")
        end_ = acdbDxfAngle(t);
    else
        return AcDbCircle::dxfInField(t, sub);
    return true;
}

void AcDbArc::dxfOutFields(AcDbDxfFiler& f) const {
    AcDbCircle::dxfOutFields(f);
    f.writeSubclass("AcDbArc");
    f.writeDouble(50, degrees(start_));
    f.writeDouble(51, degrees(end_));
}
