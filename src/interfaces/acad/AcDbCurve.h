// Curves: entities with a start and an end that may be closed.
#pragma once

#include "acad/AcDbEntity.h"

class AcDbCurve : public AcDbEntity {
public:
    virtual bool isClosed() const { return false; }
    virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const = 0;
    virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const = 0;
    // Enclosed area of a closed planar curve (0 for open ones).
    virtual Acad::ErrorStatus getArea(double& area) const {
        area = 0;
        return Acad::eOk;
    }
};
