// Points of a uniform B-spline through control points, as spline-fit polylines draw them.
#pragma once

#include <vector>

#include "acad/acge.h"

namespace solx::db {

// Open curves are clamped (they start and end at the first and last control points); closed
// ones are periodic. `order` 3 is quadratic, 4 cubic; fewer control points lower the order.
// Returns the points from start to end, the end of a closed curve not repeated; an empty list
// for fewer than 2 control points.
std::vector<AcGePoint3d> bsplinePoints(const std::vector<AcGePoint3d>& control, int order,
                                       int segmentsPerSpan, bool closed);

}  // namespace solx::db
