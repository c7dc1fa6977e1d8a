#pragma once
// A point with a plan direction: where a facade sample stands (x, y in plan, z its height) and
// the plan angle (radians, from +x counter-clockwise) in which the facade faces there.

#include "brel/VxGePoint.h"

struct VxGePointDir2d {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double direction = 0.0;

    VxGePoint Point() const { return {x, y, z}; }
};
