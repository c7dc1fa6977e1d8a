#pragma once
// Shadow tests without a prepared group, for the point commands: one call, one point.

#include <vector>

#include "brel/VxGePoint.h"
#include "solx/SolxShadowSource.h"

using SolxOutline2d = std::vector<VxGePoint>;

// Non-zero when point is shaded, for light travelling along light, by one of the prisms
// outlines[i] standing from elevations[i].x up by elevations[i].y (base and height).
// Missing elevations count as an invalid prism. A sun at or below the horizon counts as shaded.
int IsShadowByBuilding(const VxGePoint& point, const std::vector<SolxOutline2d>& outlines,
                       const std::vector<VxGePoint>& elevations, const VxGePoint& light);

// Non-zero when point is shaded by one of the faces for light travelling along light.
int IsShadowByShape(const VxGePoint& point, const std::vector<SolxFace3d>& faces,
                    const VxGePoint& light);
