#pragma once
// Geometric tests of the selection inputs against one entity, in plan (x, y). Lines and
// polylines are tested along their segments (arcs by their chords); other entities by their
// extents box, which counts as filled for a point pick.

#include <vector>

#include "acad/acge.h"

class AcDbEntity;

namespace solx::selection {

struct Point2 {
    double x = 0.0, y = 0.0;
};

// What the tests see of an entity.
struct HitShape {
    bool valid = false;
    Point2 min, max;                                  // extents
    std::vector<std::pair<Point2, Point2>> segments;  // empty: use the extents box
};

HitShape ShapeOf(const AcDbEntity& entity);

// Window: the whole entity lies inside the rectangle a-b (any two corners).
bool InsideWindow(const HitShape& shape, Point2 a, Point2 b);
// Crossing: inside the rectangle or touching it anywhere.
bool CrossesWindow(const HitShape& shape, Point2 a, Point2 b);
// Fence: some fence segment meets the entity.
bool CrossesFence(const HitShape& shape, const std::vector<Point2>& fence);
// Pick: the entity passes within aperture of p. Returns the distance (or -1 for no hit).
double PickDistance(const HitShape& shape, Point2 p, double aperture);

}  // namespace solx::selection
