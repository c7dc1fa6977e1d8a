// Arcs of bulged polyline segments.
#pragma once

#include "acad/AcDbArc.h"

namespace solx::db {

// The signed area between the chord a-b and its arc (bulge = tan(sweep / 4)).
double bulgeSegmentArea(const AcGePoint2d& a, const AcGePoint2d& b, double bulge);
// The arc of a segment in the plane at elevation along normal (a new entity).
AcDbArc* bulgeArc(const AcGePoint2d& a, const AcGePoint2d& b, double bulge, double elevation,
                  const AcGeVector3d& normal, double thickness);
// Points along a bulged segment, a excluded, b included; `perCircle` points on a full turn.
void appendBulgePoints(const AcGePoint2d& a, const AcGePoint2d& b, double bulge, int perCircle,
                       std::vector<AcGePoint2d>& out);

}  // namespace solx::db
