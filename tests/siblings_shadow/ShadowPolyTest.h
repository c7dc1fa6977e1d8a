#pragma once
// Test helpers for shadow polygons: the form every shadow must have, areas and centroids.

#include <string>
#include <vector>

#include "solx/SolxShadowPoly.h"

namespace shadowtest {

double RingArea(const AcDbRegionRing& ring);
double ShapeArea(const SolxShadowShape& shape);
AcGePoint2d ShapeCentroid(const SolxShadowShape& shape);
// What is wrong with the form of a shadow (empty when nothing): rings of fewer than 3 points,
// a repeated closing point, outer rings not counter-clockwise, holes not clockwise,
// coordinates that are not finite.
std::string FormProblem(const SolxShadowShape& shape);

}  // namespace shadowtest
