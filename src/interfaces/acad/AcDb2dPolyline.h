#pragma once

#include "acad/AcDbCurve.h"

// One vertex of a POLYLINE entity (2D, 3D or polyface mesh). Flags are group 70 of the VERTEX:
// 1 extra (fit) vertex, 8 spline-fit vertex, 16 spline frame control point, 32 3D polyline
// vertex, 64 polygon mesh vertex, 128 polyface vertex (with face index 71-74 when a face).
struct AcDbPolyVertex {
    AcGePoint3d point;  // 2D polylines: plane coordinates with z = elevation
    double bulge = 0, startWidth = 0, endWidth = 0;
    int flags = 0;
    int faceIndex[4] = {0, 0, 0, 0};
    AcDbHandle handle;
    std::vector<AcDbKeptTag> kept;
};

// The POLYLINE entity with its VERTEX records and SEQEND: the common part of 2D and 3D
// polylines and polyface meshes.
class AcDbPolyEntity : public AcDbCurve {
public:
    std::wstring dxfName() const override { return L"POLYLINE"; }
    Acad::ErrorStatus straighten();  // drops fit vertices
    int numVerts() const { return static_cast<int>(vertices_.size()); }
    const std::vector<AcDbPolyVertex>& vertices() const { return vertices_; }
    std::vector<AcDbPolyVertex>& vertices() { return vertices_; }
    // The points drawn: fit vertices when fitted, else the control vertices (world).
    AcGePoint3dArray drawnPoints() const;
    bool isClosed() const override { return (flags_ & 1) != 0; }
    Acad::ErrorStatus makeClosed();
    Acad::ErrorStatus makeOpen();
    double elevation() const { return elevation_; }
    Acad::ErrorStatus setElevation(double e);
    double thickness() const { return thickness_; }
    Acad::ErrorStatus setThickness(double t);
    AcGeVector3d normal() const { return normal_; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    double defaultStartWidth() const { return defaultWidth_[0]; }
    double defaultEndWidth() const { return defaultWidth_[1]; }
    void setDefaultWidths(double s, double e) { defaultWidth_[0] = s, defaultWidth_[1] = e; }
    int polylineFlags() const { return flags_; }
    void setPolylineFlags(int f) { flags_ = f; }

    Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& ext) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& m) override;
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;
    std::optional<AcDbFilterValue> groupValue(short code) const override;
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;
    // VERTEX and SEQEND records (reader and writer).
    void readVertex(const AcDbDxfTags& tags);
    void readSeqend(const AcDbDxfTags& tags);
    virtual void dxfLoadedVertices() {}
    void prepareForSave() override;  // handles for new vertices and the SEQEND
    AcDbDxfTags writeVertex(const AcDbPolyVertex& v) const;
    AcDbDxfTags writeSeqend() const;
    // Vertex subclass marker of this kind of polyline.
    virtual const char* vertexSubclass() const { return "AcDb2dVertex"; }
    // The SEQEND record's handle and kept tags (vertices carry their own).
    AcDbHandle seqendHandle;
    std::vector<AcDbKeptTag> seqendKept;

protected:
    // B-spline fit of the control vertices: order 3 (quadratic) or 4 (cubic).
    void fitSpline(int order, int segments, int vertexFlags);
    std::vector<AcDbPolyVertex> vertices_;
    int flags_ = 0;
    int curveType_ = 0;  // group 75: 5 quadratic, 6 cubic B-spline
    double elevation_ = 0, thickness_ = 0;
    double defaultWidth_[2] = {0, 0};
    AcGeVector3d normal_ = AcGeVector3d::kZAxis;
};

// POLYLINE (2D): vertices with bulges and widths in the plane at elevation along normal.
// Fitting adds spline-fit vertices and keeps the given ones as frame control points.
class AcDb2dPolyline : public AcDbPolyEntity {
public:
    AcDb2dPolyline() = default;
    AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation = 0,
                   bool closed = false);
    AcDbObject* clone() const override { return new AcDb2dPolyline(*this); }

    AcDb::Poly2dType polyType() const { return type_; }
    Acad::ErrorStatus setPolyType(AcDb::Poly2dType type);
    // Cubic B-spline fit through the control vertices (8 points per span, the host default).
    Acad::ErrorStatus splineFit();
    Acad::ErrorStatus splineFit(AcDb::Poly2dType type, int segments);
    Acad::ErrorStatus appendVertex(const AcGePoint3d& p, double bulge = 0);
    void dxfInEnd() override;

private:
    AcDb::Poly2dType type_ = AcDb::k2dSimplePoly;
};
