#pragma once
// Test helper: the direction sunlight travels for a sun at altitude h and azimuth a (radians,
// azimuth from south, west positive), in a plan with x east and y north.

#include <cmath>

#include "brel/VxGePoint.h"

inline VxGePoint LightFrom(double h, double a) {
    return {std::cos(h) * std::sin(a), std::cos(h) * std::cos(a), -std::sin(h)};
}

inline double Deg(double d) {
    return d * 3.14159265358979323846 / 180.0;
}
