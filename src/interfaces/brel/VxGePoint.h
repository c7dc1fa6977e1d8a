#pragma once
// A point or vector of the product-line geometry library: three doubles in drawing units.

#include <cmath>
#include <compare>

struct VxGePoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    VxGePoint() = default;
    VxGePoint(double px, double py, double pz = 0.0) : x(px), y(py), z(pz) {}

    // Distance in plan (z ignored).
    double Distance2d(const VxGePoint& o) const { return std::hypot(x - o.x, y - o.y); }
    double Distance3d(const VxGePoint& o) const {
        return std::sqrt((x - o.x) * (x - o.x) + (y - o.y) * (y - o.y) + (z - o.z) * (z - o.z));
    }

    bool operator==(const VxGePoint& o) const = default;
    // Points order by x, then y, then z, so that lists of points (periods, vertices) can sort.
    auto operator<=>(const VxGePoint& o) const = default;
};
