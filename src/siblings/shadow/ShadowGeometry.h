#pragma once
// Exact ray tests of the shadow core: a ray against a prism and against a triangle.

#include <vector>

#include "brel/VxGePoint.h"

namespace shadow {

inline VxGePoint Sub(const VxGePoint& a, const VxGePoint& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline VxGePoint Add(const VxGePoint& a, const VxGePoint& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline VxGePoint Scale(const VxGePoint& a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline double Dot(const VxGePoint& a, const VxGePoint& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline VxGePoint Cross(const VxGePoint& a, const VxGePoint& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

struct Box2d {
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
    bool Overlaps(const Box2d& o) const {
        return minX <= o.maxX && o.minX <= maxX && minY <= o.maxY && o.minY <= maxY;
    }
};

// A prism: a plan ring (not closed, at least 3 points) between base and top.
struct Prism {
    std::vector<VxGePoint> ring;
    double base = 0.0;
    double top = 0.0;
    Box2d box;
};

struct Triangle {
    VxGePoint a, b, c;
    Box2d box;
    double minZ = 0.0;
    double maxZ = 0.0;
};

// A ray from origin towards the sun: dir has unit length and dir.z > 0. Hits closer than
// tStart along the ray are ignored, so that a point lying on a surface does not shade itself.
struct Ray {
    VxGePoint origin;
    VxGePoint dir;
    double tStart = 0.0;
};

Box2d RingBox(const std::vector<VxGePoint>& ring);
Triangle MakeTriangle(const VxGePoint& a, const VxGePoint& b, const VxGePoint& c);

// Even-odd test in plan; points on the boundary may go either way.
bool PointInRing(double x, double y, const std::vector<VxGePoint>& ring);

// True when the ray passes through the prism's solid: it crosses a wall between base and top,
// or it is inside the outline where it passes the base or top height. skipEdge >= 0 names
// the wall (ring[skipEdge] to the next point) that the ray starts on and leaves through:
// that wall and the caps are then ignored, only crossings of the other walls count.
bool RayHitsPrism(const Ray& ray, const Prism& prism, int skipEdge);

// Moller-Trumbore: true when the ray meets the triangle beyond tStart.
bool RayHitsTriangle(const Ray& ray, const Triangle& tri);

// Shortest plan distance from p to the segment a-b.
double PlanDistanceToSegment(const VxGePoint& p, const VxGePoint& a, const VxGePoint& b);

}  // namespace shadow
