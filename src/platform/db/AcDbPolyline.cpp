// LWPOLYLINE: vertices with bulges in a plane.
#include <algorithm>
#include <cmath>

#include "acad/AcDb2dPolyline.h"
#include "acad/AcDbArc.h"
#include "acad/AcDbDatabase.h"
#include "acad/AcDbLine.h"
#include "acad/AcDbPolyline.h"
#include "db/BulgeArc.h"

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge,
                                            double startWidth, double endWidth) {
    if (index > vertices_.size()) return Acad::eInvalidIndex;
    Vertex v{pt, bulge, std::max(0.0, startWidth), std::max(0.0, endWidth), 0, false};
    vertices_.insert(vertices_.begin() + index, v);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index) {
    if (!checkIndex(index)) return Acad::eInvalidIndex;
    vertices_.erase(vertices_.begin() + index);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& pt) const {
    if (!checkIndex(index)) return Acad::eInvalidIndex;
    pt = vertices_[index].point;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& pt) const {
    if (!checkIndex(index)) return Acad::eInvalidIndex;
    const AcGePoint2d& p = vertices_[index].point;
    pt = AcGeMatrix3d::planeToWorld(normal_) * AcGePoint3d(p.x, p.y, elevation_);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int index, const AcGePoint2d& pt) {
    if (!checkIndex(index)) return Acad::eInvalidIndex;
    vertices_[index].point = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
    if (!checkIndex(index)) return Acad::eInvalidIndex;
    bulge = vertices_[index].bulge;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge) {
    if (!checkIndex(index)) return Acad::eInvalidIndex;
    vertices_[index].bulge = bulge;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int index, double& s, double& e) const {
    if (!checkIndex(index)) return Acad::eInvalidIndex;
    s = vertices_[index].startWidth;
    e = vertices_[index].endWidth;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setWidthsAt(unsigned int index, double s, double e) {
    if (!checkIndex(index)) return Acad::eInvalidIndex;
    vertices_[index].startWidth = s;
    vertices_[index].endWidth = e;
    hasConstantWidth_ = false;
    return Acad::eOk;
}

bool AcDbPolyline::isOnlyLines() const {
    for (const auto& v : vertices_)
        if (v.bulge != 0) return false;
    return true;
}

Acad::ErrorStatus AcDbPolyline::setThickness(double t) {
    thickness_ = t;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setNormal(const AcGeVector3d& n) {
    if (n.isZeroLength()) return Acad::eInvalidInput;
    normal_ = n.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getStartPoint(AcGePoint3d& p) const {
    return vertices_.empty() ? Acad::eDegenerateGeometry : getPointAt(0, p);
}

Acad::ErrorStatus AcDbPolyline::getEndPoint(AcGePoint3d& p) const {
    if (vertices_.empty()) return Acad::eDegenerateGeometry;
    return getPointAt(closed_ ? 0 : numVerts() - 1, p);
}

Acad::ErrorStatus AcDbPolyline::getArea(double& area) const {
    // Shoelace over the chords plus the circular segment of every arc (bulge sign = side).
    area = 0;
    size_t n = vertices_.size();
    for (size_t i = 0; i < n; ++i) {
        const Vertex& a = vertices_[i];
        const Vertex& b = vertices_[(i + 1) % n];
        area += (a.point.x * b.point.y - b.point.x * a.point.y) / 2;
        if (i + 1 < n || closed_) area += solx::db::bulgeSegmentArea(a.point, b.point, a.bulge);
    }
    area = std::fabs(area);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::explode(AcDbVoidPtrArray& out) const {
    size_t n = vertices_.size();
    size_t segments = closed_ ? n : (n ? n - 1 : 0);
    for (size_t i = 0; i < segments; ++i) {
        AcGePoint3d a, b;
        getPointAt(static_cast<unsigned>(i), a);
        getPointAt(static_cast<unsigned>((i + 1) % n), b);
        AcDbEntity* e = nullptr;
        if (std::fabs(vertices_[i].bulge) < 1e-12) {
            auto* line = new AcDbLine(a, b);
            line->setThickness(thickness_);
            line->setNormal(normal_);
            e = line;
        } else {
            e = solx::db::bulgeArc(vertices_[i].point, vertices_[(i + 1) % n].point,
                                   vertices_[i].bulge, elevation_, normal_, thickness_);
        }
        e->setLayer(layer().c_str());
        e->setColorIndex(colorIndex());
        out.append(e);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getGeomExtents(AcDbExtents& ext) const {
    ext = AcDbExtents();
    for (unsigned i = 0; i < numVerts(); ++i) {
        AcGePoint3d p;
        getPointAt(i, p);
        ext.addPoint(p);
        if (thickness_ != 0) ext.addPoint(p + normal_ * thickness_);
    }
    if (!isOnlyLines()) {
        AcDbVoidPtrArray pieces;
        explode(pieces);
        for (AcDbEntity* e : pieces) {
            AcDbExtents pe;
            if (e->getGeomExtents(pe) == Acad::eOk) ext.addExt(pe);
            delete e;
        }
    }
    return ext.isEmpty() ? Acad::eDegenerateGeometry : Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::transformBy(const AcGeMatrix3d& m) {
    // Move the plane system: vertices to world, transform, back into the new plane.
    AcGeVector3d n = (m * normal_);
    if (n.isZeroLength()) return Acad::eInvalidInput;
    AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(normal_);
    AcGeMatrix3d toPlane = AcGeMatrix3d::planeToWorld(n.normal()).inverse();
    double z = elevation_;
    for (auto& v : vertices_) {
        AcGePoint3d p = toPlane * (m * (toWorld * AcGePoint3d(v.point.x, v.point.y, elevation_)));
        v.point = {p.x, p.y};
        z = p.z;
        if (m.det() < 0) v.bulge = -v.bulge;
    }
    elevation_ = z;
    thickness_ *= n.length();
    normal_ = n.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::convertTo(AcDb2dPolyline*& result, bool transferId) {
    auto* p = new AcDb2dPolyline();
    for (const auto& v : vertices_) {
        p->appendVertex(AcGePoint3d(v.point.x, v.point.y, elevation_), v.bulge);
        p->vertices().back().startWidth = v.startWidth;
        p->vertices().back().endWidth = v.endWidth;
    }
    if (closed_) p->makeClosed();
    p->setElevation(elevation_);
    p->setThickness(thickness_);
    p->setNormal(normal_);
    p->setLayer(layer().c_str());
    p->setColorIndex(colorIndex());
    p->setLinetype(linetype().c_str());
    p->xDataApps() = xDataApps();
    if (hasConstantWidth_) p->setDefaultWidths(constantWidth_, constantWidth_);
    if (transferId && objectId().isValid()) {
        Acad::ErrorStatus es = database()->swapIdWith(this, p);
        if (es != Acad::eOk) {
            delete p;
            return es;
        }
    }
    result = p;
    return Acad::eOk;
}

std::optional<AcDbFilterValue> AcDbPolyline::groupValue(short code) const {
    switch (code) {
        case 70:
            return AcDbFilterValue::ofNumber((closed_ ? 1 : 0) | flags_);
        case 90:
            return AcDbFilterValue::ofNumber(numVerts());
        case 38:
            return AcDbFilterValue::ofNumber(elevation_);
        case 39:
            return AcDbFilterValue::ofNumber(thickness_);
        case 10:
            if (vertices_.empty()) return std::nullopt;
            return AcDbFilterValue::ofPoint(
                {vertices_[0].point.x, vertices_[0].point.y, elevation_});
        default:
            return AcDbEntity::groupValue(code);
    }
}

bool AcDbPolyline::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    if (AcDbEntity::dxfInField(t, sub)) return true;
    Vertex* last = vertices_.empty() ? nullptr : &vertices_.back();
    switch (t.code) {
        case 90:
            // The count is a hint: what is reserved is bounded, the vertices read decide.
            vertices_.reserve(static_cast<size_t>(std::clamp(acdbDxfInt(t), 0, 4096)));
            return true;
        case 70:
            closed_ = acdbDxfInt(t) & 1, flags_ = acdbDxfInt(t) & ~1;
            return true;
        case 43:
            constantWidth_ = acdbDxfReal(t), hasConstantWidth_ = true;
            return true;
        case 38:
            elevation_ = acdbDxfReal(t);
            return true;
        case 39:
            thickness_ = acdbDxfReal(t);
            return true;
        case 10:
            vertices_.push_back({{acdbDxfReal(t), 0}, 0, 0, 0, 0, false});
            return true;
        case 210:
        case 220:
        case 230:
            normal_[(t.code - 210) / 10] = acdbDxfReal(t);
            return true;
        default:
            break;
    }
    if (!last) return false;
    switch (t.code) {
        case 20:
            last->point.y = acdbDxfReal(t);
            return true;
        case 40:
            last->startWidth = acdbDxfReal(t);
            return true;
        case 41:
            last->endWidth = acdbDxfReal(t);
            return true;
        case 42:
            last->bulge = acdbDxfReal(t);
            return true;
        case 91:
            last->id = acdbDxfInt(t), last->hasId = true;
            return true;
        default:
            return false;
    }
}

void AcDbPolyline::dxfOutFields(AcDbDxfFiler& f) const {
    AcDbEntity::dxfOutFields(f);
    f.writeSubclass("AcDbPolyline");
    f.writeInt(90, static_cast<long>(vertices_.size()));
    f.writeInt(70, (closed_ ? 1 : 0) | flags_);
    if (hasConstantWidth_) f.writeDouble(43, constantWidth_);
    if (elevation_ != 0) f.writeDouble(38, elevation_);
    if (thickness_ != 0) f.writeDouble(39, thickness_);
    for (const auto& v : vertices_) {
        f.writePoint2d(10, v.point);
        if (v.hasId) f.writeInt(91, v.id);
        if (v.startWidth != 0 || v.endWidth != 0) {
            f.writeDouble(40, v.startWidth);
            f.writeDouble(41, v.endWidth);
        }
        if (v.bulge != 0) f.writeDouble(42, v.bulge);
    }
    if (!normal_.isEqualTo(AcGeVector3d::kZAxis)) f.writeVector3d(210, normal_);
}
