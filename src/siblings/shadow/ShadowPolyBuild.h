#pragma once
// The geometry of shadows on a horizontal plane for parallel light: the pieces whose union is
// the shadow of a prism or of a face. A prism's shadow is the Minkowski sum of its cross-section
// at the lowest casting height (moved to where its shadow falls) with the segment that the
// light sweeps between the lowest and the highest casting height.

#include <vector>

#include "solx/SolxShadowPoly.h"
#include "solx/SolxShadowSource.h"

namespace shadow {

// The convex hull, counter-clockwise, without collinear or repeated points (Andrew's
// monotone chain). Fewer than 3 points when all points lie on one line.
AcDbRegionRing ConvexHull(std::vector<AcGePoint2d> points);

// Where on the plane the shadow of a point one unit above the plane falls, relative to the
// point's plan position: (light.x, light.y) / -light.z. False when the sun is at or below the
// horizon (light.z >= 0, or so close to 0 that shadows would be more than a million times
// longer than what casts them) or the light is not finite.
struct PlanShift {
    double x = 0.0;
    double y = 0.0;
};
bool LightShift(const VxGePoint& light, PlanShift& shift);

// The pieces of one obstruction's shadow. `united` is true while the pieces are already the
// shadow (no piece, or one valid polygon); otherwise their union is the shadow.
struct ShadowPieces {
    std::vector<AcDbRegionPolygon> polygons;
    bool united = true;
};

// A prism's pieces; nothing when the prism does not reach above the plane by more than a
// rounding margin, or its outline encloses no area.
void AddPrismPieces(const std::vector<VxGePoint>& outline, double elevation, double height,
                    const PlanShift& shift, double planeHeight, ShadowPieces& pieces);

// A face's pieces (the part above the plane); nothing for a face at or below the plane or one
// seen edge-on by the light.
void AddFacePieces(const SolxFace3d& face, const PlanShift& shift, double planeHeight,
                   ShadowPieces& pieces);

// Pieces and holes up to this area are rounding debris: 1e-12 of the square of the extent
// of the outer rings.
double SliverArea(const std::vector<AcDbRegionPolygon>& polygons);

}  // namespace shadow
