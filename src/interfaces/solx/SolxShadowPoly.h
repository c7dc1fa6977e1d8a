#pragma once
// Shadows on a horizontal plane: the exact outline that an obstruction casts on the plane
// z = planeHeight for parallel light, and the unions that shadow drawings are made of.

#include <vector>

#include "acad/AcDbRegion.h"
#include "brel/VxGePoint.h"

// A shadow on the plane: polygons with holes, in drawing units, the closing point not
// repeated, outer rings counter-clockwise and holes clockwise, each polygon valid (no
// self-crossing, no zero-area piece). The same shape a region holds, so a shadow becomes a
// region with AcDbRegion::setPolygons.
using SolxShadowShape = std::vector<AcDbRegionPolygon>;

// The shadow that a prism (closed plan outline, base elevation, height upwards) casts on the
// plane z = planeHeight for light travelling along `light` (pointing from the sun to the
// ground, so light.z < 0 while the sun is up). Only the part of the prism above the plane
// casts; a prism wholly at or below the plane casts nothing. The outline may run either way
// round, be concave, repeat its closing point. Fills `shadow` (cleared first); returns non-zero
// when there is a shadow of non-zero area.
int GetShadePoly(SolxShadowShape& shadow, const std::vector<VxGePoint>& outline, double elevation,
                 double height, const VxGePoint& light, double planeHeight);

// The union of many shapes in one cascaded pass (not pairwise one by one); empty when all are.
SolxShadowShape UniteShadowShapes(const std::vector<SolxShadowShape>& shapes);

// The closed boundary curves of the union of the shapes: every outer ring and every hole of
// the union, as closed rings (closing point not repeated).
std::vector<AcDbRegionRing> ShadowBoundaryCurves(const std::vector<SolxShadowShape>& shapes);
