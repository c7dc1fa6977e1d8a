// POLYLINE entities: 2D and 3D polylines and polyface meshes with their VERTEX records.
#include <algorithm>
#include <cmath>

#include "acad/AcDb3dPolyline.h"
#include "acad/AcDbDatabase.h"
#include "acad/AcDbFace.h"
#include "acad/AcDbLine.h"
#include "acad/AcDbPolyFaceMesh.h"
#include "db/BulgeArc.h"
#include "db/SplineFit.h"

namespace {
constexpr int kFitVertex = 8, kFrameVertex = 16;
constexpr int kSplineFitFlag = 4;
}  // namespace

Acad::ErrorStatus AcDbPolyEntity::straighten() {
    std::erase_if(vertices_, [](const AcDbPolyVertex& v) { return v.flags & (kFitVertex | 1); });
    for (auto& v : vertices_) v.flags &= ~kFrameVertex;
    flags_ &= ~(kSplineFitFlag | 2);
    return Acad::eOk;
}

void AcDbPolyEntity::fitSpline(int order, int segments, int vertexFlags) {
    straighten();
    std::vector<AcGePoint3d> control;
    for (const auto& v : vertices_) control.push_back(v.point);
    std::vector<AcGePoint3d> fit = solx::db::bsplinePoints(control, order, segments, isClosed());
    if (fit.empty()) return;
    for (auto& v : vertices_) v.flags |= kFrameVertex;
    for (const auto& p : fit) {
        AcDbPolyVertex v;
        v.point = p;
        v.flags = kFitVertex | vertexFlags;
        vertices_.push_back(v);
    }
    flags_ |= kSplineFitFlag;
}

AcGePoint3dArray AcDbPolyEntity::drawnPoints() const {
    bool fitted = flags_ & kSplineFitFlag;
    AcGeMatrix3d toWorld =
        (flags_ & (8 | 64)) ? AcGeMatrix3d() : AcGeMatrix3d::planeToWorld(normal_);
    AcGePoint3dArray pts;
    for (const auto& v : vertices_)
        if (fitted ? (v.flags & kFitVertex) : !(v.flags & kFrameVertex))
            pts.append(toWorld * v.point);
    return pts;
}

Acad::ErrorStatus AcDbPolyEntity::makeClosed() {
    flags_ |= 1;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbPolyEntity::makeOpen() {
    flags_ &= ~1;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyEntity::setElevation(double e) {
    elevation_ = e;
    for (auto& v : vertices_) v.point.z = e;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyEntity::setThickness(double t) {
    thickness_ = t;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyEntity::setNormal(const AcGeVector3d& n) {
    if (n.isZeroLength()) return Acad::eInvalidInput;
    normal_ = n.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyEntity::getStartPoint(AcGePoint3d& p) const {
    AcGePoint3dArray pts = drawnPoints();
    if (pts.isEmpty()) return Acad::eDegenerateGeometry;
    p = pts.first();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyEntity::getEndPoint(AcGePoint3d& p) const {
    AcGePoint3dArray pts = drawnPoints();
    if (pts.isEmpty()) return Acad::eDegenerateGeometry;
    p = isClosed() ? pts.first() : pts.last();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyEntity::getGeomExtents(AcDbExtents& ext) const {
    ext = AcDbExtents();
    for (const auto& p : drawnPoints()) {
        ext.addPoint(p);
        if (thickness_ != 0) ext.addPoint(p + normal_ * thickness_);
    }
    return ext.isEmpty() ? Acad::eDegenerateGeometry : Acad::eOk;
}

Acad::ErrorStatus AcDbPolyEntity::transformBy(const AcGeMatrix3d& m) {
    AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(normal_);
    AcGeVector3d n = m * normal_;
    AcGeMatrix3d toPlane = AcGeMatrix3d::planeToWorld(n.normal()).inverse();
    for (auto& v : vertices_) {
        v.point = toPlane * (m * (toWorld * v.point));
        if (m.det() < 0) v.bulge = -v.bulge;
    }
    if (!vertices_.empty()) elevation_ = vertices_.front().point.z;
    thickness_ *= n.length();
    normal_ = n.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyEntity::explode(AcDbVoidPtrArray& out) const {
    AcGePoint3dArray pts = drawnPoints();
    int n = pts.length();
    int segments = isClosed() ? n : n - 1;
    bool fitted = flags_ & kSplineFitFlag;
    for (int i = 0; i < segments && n > 1; ++i) {
        const AcDbPolyVertex* v = fitted ? nullptr : &vertices_[static_cast<size_t>(i)];
        AcDbEntity* e = nullptr;
        if (v && std::fabs(v->bulge) > 1e-12 && !(flags_ & 8)) {
            const AcGePoint3d& a = vertices_[static_cast<size_t>(i)].point;
            const AcGePoint3d& b = vertices_[static_cast<size_t>((i + 1) % n)].point;
            e = solx::db::bulgeArc(a.convert2d(), b.convert2d(), v->bulge, elevation_, normal_,
                                   thickness_);
        } else {
            auto* line =
                new AcDbLine(pts[static_cast<size_t>(i)], pts[static_cast<size_t>((i + 1) % n)]);
            line->setThickness(thickness_);
            e = line;
        }
        e->setLayer(layer().c_str());
        e->setColorIndex(colorIndex());
        out.append(e);
    }
    return Acad::eOk;
}

std::optional<AcDbFilterValue> AcDbPolyEntity::groupValue(short code) const {
    switch (code) {
        case 70:
            return AcDbFilterValue::ofNumber(flags_);
        case 39:
            return AcDbFilterValue::ofNumber(thickness_);
        case 10:
            return AcDbFilterValue::ofPoint({0, 0, (flags_ & (8 | 64)) ? 0 : elevation_});
        default:
            return AcDbEntity::groupValue(code);
    }
}

bool AcDbPolyEntity::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    if (AcDbEntity::dxfInField(t, sub)) return true;
    switch (t.code) {
        case 66:
        case 10:
        case 20:
            return true;  // rewritten
        case 30:
            elevation_ = acdbDxfReal(t);
            return true;
        case 39:
            thickness_ = acdbDxfReal(t);
            return true;
        case 70:
            flags_ = acdbDxfInt(t);
            return true;
        case 75:
            curveType_ = acdbDxfInt(t);
            return true;
        case 71:
        case 72:
            return (flags_ & 64) != 0;  // polyface counts, rewritten
        case 40:
            defaultWidth_[0] = acdbDxfReal(t);
            return true;
        case 41:
            defaultWidth_[1] = acdbDxfReal(t);
            return true;
        case 210:
        case 220:
        case 230:
            normal_[(t.code - 210) / 10] = acdbDxfReal(t);
            return true;
        default:
            return false;
    }
}

void AcDbPolyEntity::dxfOutFields(AcDbDxfFiler& f) const {
    AcDbEntity::dxfOutFields(f);
    f.writeSubclass((flags_ & 64)  ? "AcDbPolyFaceMesh"
                    : (flags_ & 8) ? "AcDb3dPolyline"
                                   : "AcDb2dPolyline");
    f.writeInt(66, 1);
    f.writePoint3d(10, {0, 0, (flags_ & (8 | 64)) ? 0 : elevation_});
    if (thickness_ != 0) f.writeDouble(39, thickness_);
    f.writeInt(70, flags_);
    if (flags_ & 64) {
        int n = 0;
        for (const auto& v : vertices_) n += (v.flags & 64) ? 1 : 0;
        // Counts of 16-bit codes: readers take the VERTEX records, so a larger mesh says 32767.
        f.writeInt(71, std::min(n, 32767));
        f.writeInt(72, std::min(static_cast<long>(vertices_.size()) - n, 32767L));
    }
    if (curveType_) f.writeInt(75, curveType_);
    if (defaultWidth_[0] != 0) f.writeDouble(40, defaultWidth_[0]);
    if (defaultWidth_[1] != 0) f.writeDouble(41, defaultWidth_[1]);
    if (!normal_.isEqualTo(AcGeVector3d::kZAxis)) f.writeVector3d(210, normal_);
}

void AcDbPolyEntity::readVertex(const AcDbDxfTags& tags) {
    AcDbPolyVertex v;
    for (const auto& t : tags) {
        int c = t.code;
        if (c == 5)
            v.handle = AcDbHandle(acdbWide(t.value).c_str());
        else if (c == 10 || c == 20 || c == 30)
            v.point[c / 10 - 1] = acdbDxfReal(t);
        else if (c == 40)
            v.startWidth = acdbDxfReal(t);
        else if (c == 41)
            v.endWidth = acdbDxfReal(t);
        else if (c == 42)
            v.bulge = acdbDxfReal(t);
        else if (c == 70)
            v.flags = acdbDxfInt(t);
        else if (c >= 71 && c <= 74)
            v.faceIndex[c - 71] = acdbDxfInt(t);
        else if (c != 0 && c != 100 && c != 330 && c != 8)
            v.kept.push_back({"*", t});
    }
    vertices_.push_back(std::move(v));
}

void AcDbPolyEntity::readSeqend(const AcDbDxfTags& tags) {
    for (const auto& t : tags) {
        if (t.code == 5)
            seqendHandle = AcDbHandle(acdbWide(t.value).c_str());
        else if (t.code != 330 && t.code != 100 && t.code != 8)
            seqendKept.push_back({"*", t});
    }
}

AcDbDxfTags AcDbPolyEntity::writeVertex(const AcDbPolyVertex& v) const {
    AcDbDxfFiler f(&v.kept);
    f.writeHead(5, v.handle, handle());
    f.writeSubclass("AcDbEntity");
    f.writeString(8, layer());
    bool face = (flags_ & 64) && !(v.flags & 64);  // a polyface record without a position
    if (face) {
        f.writeSubclass("AcDbFaceRecord");
    } else {
        f.writeSubclass("AcDbVertex");
        f.writeSubclass(vertexSubclass());
    }
    f.writePoint3d(10, v.point);
    if (v.startWidth != 0) f.writeDouble(40, v.startWidth);
    if (v.endWidth != 0) f.writeDouble(41, v.endWidth);
    if (v.bulge != 0) f.writeDouble(42, v.bulge);
    f.writeInt(70, v.flags);
    for (int i = 0; i < 4; ++i)
        if (v.faceIndex[i] != 0) f.writeInt(71 + i, v.faceIndex[i]);
    return f.finish();
}

AcDbDxfTags AcDbPolyEntity::writeSeqend() const {
    AcDbDxfFiler f(&seqendKept);
    f.writeHead(5, seqendHandle, handle());
    f.writeSubclass("AcDbEntity");
    f.writeString(8, layer());
    return f.finish();
}

void AcDbPolyEntity::prepareForSave() {
    AcDbDatabase* db = database();
    if (!db) return;
    for (auto& v : vertices_)
        if (v.handle.isNull()) v.handle = db->allocateHandle();
    if (seqendHandle.isNull()) seqendHandle = db->allocateHandle();
}

// 2D polylines.

AcDb2dPolyline::AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices,
                               double elevation, bool closed) {
    elevation_ = elevation;
    for (const auto& p : vertices) appendVertex({p.x, p.y, elevation});
    if (closed) makeClosed();
    if (type != AcDb::k2dSimplePoly) setPolyType(type);
}

Acad::ErrorStatus AcDb2dPolyline::appendVertex(const AcGePoint3d& p, double bulge) {
    AcDbPolyVertex v;
    v.point = {p.x, p.y, elevation_};
    v.bulge = bulge;
    vertices_.push_back(v);
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::setPolyType(AcDb::Poly2dType type) {
    switch (type) {
        case AcDb::k2dSimplePoly:
            straighten();
            break;
        case AcDb::k2dQuadSplinePoly:
            return splineFit(type, 8);
        case AcDb::k2dCubicSplinePoly:
            return splineFit(type, 8);
        case AcDb::k2dFitCurvePoly:
            return splineFit(AcDb::k2dCubicSplinePoly, 8);
    }
    type_ = type;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::splineFit() {
    return splineFit(AcDb::k2dCubicSplinePoly, 8);
}

Acad::ErrorStatus AcDb2dPolyline::splineFit(AcDb::Poly2dType type, int segments) {
    if (vertices_.size() < 2) return Acad::eDegenerateGeometry;
    fitSpline(type == AcDb::k2dQuadSplinePoly ? 3 : 4, segments, 0);
    type_ = type == AcDb::k2dQuadSplinePoly ? AcDb::k2dQuadSplinePoly : AcDb::k2dCubicSplinePoly;
    curveType_ = type_ == AcDb::k2dQuadSplinePoly ? 5 : 6;
    return Acad::eOk;
}

void AcDb2dPolyline::dxfInEnd() {
    if (flags_ & kSplineFitFlag)
        type_ = curveType_ == 5 ? AcDb::k2dQuadSplinePoly : AcDb::k2dCubicSplinePoly;
    else if (flags_ & 2)
        type_ = AcDb::k2dFitCurvePoly;
}

// 3D polylines.

AcDb3dPolyline::AcDb3dPolyline() {
    flags_ = 8;
}

AcDb3dPolyline::AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices,
                               bool closed) {
    flags_ = 8;
    for (const auto& p : vertices) appendVertex(p);
    if (closed) makeClosed();
    convertToPolyType(type);
}

Acad::ErrorStatus AcDb3dPolyline::appendVertex(const AcGePoint3d& p) {
    AcDbPolyVertex v;
    v.point = p;
    v.flags = 32;
    vertices_.push_back(v);
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::convertToPolyType(AcDb::Poly3dType type) {
    if (type == AcDb::k3dSimplePoly) {
        straighten();
    } else {
        if (vertices_.size() < 2) return Acad::eDegenerateGeometry;
        fitSpline(type == AcDb::k3dQuadSplinePoly ? 3 : 4, 8, 32);
        curveType_ = type == AcDb::k3dQuadSplinePoly ? 5 : 6;
    }
    type3d_ = type;
    return Acad::eOk;
}

void AcDb3dPolyline::dxfInEnd() {
    if (flags_ & kSplineFitFlag)
        type3d_ = curveType_ == 5 ? AcDb::k3dQuadSplinePoly : AcDb::k3dCubicSplinePoly;
}

// Polyface meshes: vertices (flag 64 | 128) then face records (flag 128).

int AcDbPolyFaceMesh::numVertices() const {
    int n = 0;
    for (const auto& v : vertices_) n += (v.flags & 64) ? 1 : 0;
    return n;
}

int AcDbPolyFaceMesh::numFaces() const {
    return static_cast<int>(vertices_.size()) - numVertices();
}

Acad::ErrorStatus AcDbPolyFaceMesh::appendVertex(const AcGePoint3d& p) {
    AcDbPolyVertex v;
    v.point = p;
    v.flags = 64 | 128;
    // Vertices come before the face records.
    auto it = std::find_if(vertices_.begin(), vertices_.end(),
                           [](const AcDbPolyVertex& x) { return !(x.flags & 64); });
    vertices_.insert(it, v);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyFaceMesh::appendFace(int i0, int i1, int i2, int i3) {
    int n = numVertices();
    for (int i : {i0, i1, i2, i3})
        if (std::abs(i) > n) return Acad::eInvalidIndex;
    AcDbPolyVertex v;
    v.flags = 128;
    v.faceIndex[0] = i0, v.faceIndex[1] = i1, v.faceIndex[2] = i2, v.faceIndex[3] = i3;
    vertices_.push_back(v);
    return Acad::eOk;
}

AcGePoint3dArray AcDbPolyFaceMesh::meshVertices() const {
    AcGePoint3dArray pts;
    for (const auto& v : vertices_)
        if (v.flags & 64) pts.append(v.point);
    return pts;
}

std::vector<std::array<int, 4>> AcDbPolyFaceMesh::faces() const {
    std::vector<std::array<int, 4>> out;
    for (const auto& v : vertices_)
        if (!(v.flags & 64))
            out.push_back({v.faceIndex[0], v.faceIndex[1], v.faceIndex[2], v.faceIndex[3]});
    return out;
}

Acad::ErrorStatus AcDbPolyFaceMesh::transformBy(const AcGeMatrix3d& m) {
    for (auto& v : vertices_)
        if (v.flags & 64) v.point.transformBy(m);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyFaceMesh::getGeomExtents(AcDbExtents& ext) const {
    ext = AcDbExtents();
    for (const auto& p : meshVertices()) ext.addPoint(p);
    return ext.isEmpty() ? Acad::eDegenerateGeometry : Acad::eOk;
}

Acad::ErrorStatus AcDbPolyFaceMesh::explode(AcDbVoidPtrArray& out) const {
    AcGePoint3dArray pts = meshVertices();
    int n = pts.length();
    for (const auto& f : faces()) {
        std::vector<AcGePoint3d> corners;
        int hidden = 0;
        for (int k = 0; k < 4; ++k) {
            int i = std::abs(f[static_cast<size_t>(k)]);
            if (i == 0 || i > n) continue;
            if (f[static_cast<size_t>(k)] < 0) hidden |= 1 << corners.size();
            corners.push_back(pts[static_cast<size_t>(i - 1)]);
        }
        if (corners.size() < 3) continue;
        auto* face = corners.size() == 3
                         ? new AcDbFace(corners[0], corners[1], corners[2])
                         : new AcDbFace(corners[0], corners[1], corners[2], corners[3]);
        for (unsigned short e = 0; e < 4; ++e)
            if (hidden & (1 << e)) face->makeEdgeInvisibleAt(e);
        face->setLayer(layer().c_str());
        face->setColorIndex(colorIndex());
        out.append(face);
    }
    return Acad::eOk;
}
