// HATCH made by the program: polyline boundary loops, solid or a predefined pattern.
#include "acad/AcDbHatch.h"

Acad::ErrorStatus AcDbHatch::setPattern(const wchar_t* name) {
    if (!name || !*name) return Acad::eInvalidInput;
    pattern_ = name;
    solid_ = pattern_ == L"SOLID";
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::appendLoop(const std::vector<AcGePoint2d>& points,
                                        const std::vector<double>& bulges) {
    if (points.size() < 3 || (!bulges.empty() && bulges.size() != points.size()))
        return Acad::eInvalidInput;
    loops_.push_back({points, bulges, loops_.empty() ? (2 | 1) : 2});
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getGeomExtents(AcDbExtents& ext) const {
    ext = AcDbExtents();
    for (const auto& l : loops_)
        for (const auto& p : l.points) ext.addPoint({p.x, p.y, elevation_});
    return ext.isEmpty() ? Acad::eDegenerateGeometry : Acad::eOk;
}

void AcDbHatch::dxfOutFields(AcDbDxfFiler& f) const {
    AcDbEntity::dxfOutFields(f);
    f.writeSubclass("AcDbHatch");
    f.writePoint3d(10, {0, 0, elevation_});
    f.writeVector3d(210, AcGeVector3d::kZAxis);
    f.writeString(2, pattern_);
    f.writeInt(70, solid_ ? 1 : 0);
    f.writeInt(71, 0);
    f.writeInt(91, static_cast<long>(loops_.size()));
    for (const auto& l : loops_) {
        f.writeInt(92, l.type);
        f.writeInt(72, l.bulges.empty() ? 0 : 1);
        f.writeInt(73, 1);
        f.writeInt(93, static_cast<long>(l.points.size()));
        for (size_t i = 0; i < l.points.size(); ++i) {
            f.writePoint2d(10, l.points[i]);
            if (!l.bulges.empty()) f.writeDouble(42, l.bulges[i]);
        }
        f.writeInt(97, 0);
    }
    f.writeInt(75, 1);
    f.writeInt(76, 1);
    if (!solid_) {
        f.writeDouble(52, 0);
        f.writeDouble(41, 1);
        f.writeInt(77, 0);
        f.writeInt(78, 0);
    }
    f.writeInt(98, 0);
}
