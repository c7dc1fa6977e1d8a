#pragma once

#include "acad/AcDb2dPolyline.h"

// POLYLINE (polyface mesh, flag 64): vertices and faces of up to four 1-based vertex indices;
// a negative index hides the edge that starts at it.
class AcDbPolyFaceMesh : public AcDbPolyEntity {
public:
    AcDbPolyFaceMesh() { flags_ = 64; }
    AcDbObject* clone() const override { return new AcDbPolyFaceMesh(*this); }
    int numVertices() const;
    int numFaces() const;
    Acad::ErrorStatus appendVertex(const AcGePoint3d& p);
    Acad::ErrorStatus appendFace(int i0, int i1, int i2, int i3 = 0);
    AcGePoint3dArray meshVertices() const;
    std::vector<std::array<int, 4>> faces() const;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& m) override;
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;  // into AcDbFace
    Acad::ErrorStatus getGeomExtents(AcDbExtents& ext) const override;
    const char* vertexSubclass() const override { return "AcDbPolyFaceMeshVertex"; }
};
