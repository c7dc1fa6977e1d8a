#pragma once

#include "acad/AcDb2dPolyline.h"

// POLYLINE (3D, flag 8): world vertices; the spline types add fit vertices through a B-spline
// of the control vertices (quadratic or cubic).
class AcDb3dPolyline : public AcDbPolyEntity {
public:
    AcDb3dPolyline();
    AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, bool closed = false);
    AcDbObject* clone() const override { return new AcDb3dPolyline(*this); }

    AcDb::Poly3dType polyType() const { return type3d_; }
    // Converting to a spline type fits the curve; to the simple type drops the fit vertices.
    Acad::ErrorStatus convertToPolyType(AcDb::Poly3dType type);
    Acad::ErrorStatus setPolyType(AcDb::Poly3dType type) { return convertToPolyType(type); }
    Acad::ErrorStatus splineFit() { return convertToPolyType(AcDb::k3dCubicSplinePoly); }
    Acad::ErrorStatus appendVertex(const AcGePoint3d& p);
    void dxfInEnd() override;
    const char* vertexSubclass() const override { return "AcDb3dPolylineVertex"; }

private:
    AcDb::Poly3dType type3d_ = AcDb::k3dSimplePoly;
};
