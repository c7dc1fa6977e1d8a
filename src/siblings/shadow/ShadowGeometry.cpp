#include "ShadowGeometry.h"

#include <algorithm>
#include <cmath>

namespace shadow {
namespace {

double Cross2d(double ax, double ay, double bx, double by) {
    return ax * by - ay * bx;
}

// Proper or touching crossing of the plan segments a-b and c-d. Parallel segments never cross:
// a ray grazing along a wall face is not stopped by it.
bool SegmentsCross(const VxGePoint& a, const VxGePoint& b, const VxGePoint& c, const VxGePoint& d) {
    const double rx = b.x - a.x, ry = b.y - a.y;
    const double sx = d.x - c.x, sy = d.y - c.y;
    const double denom = Cross2d(rx, ry, sx, sy);
    if (denom * denom <= 1e-28 * (rx * rx + ry * ry) * (sx * sx + sy * sy)) return false;
    const double qx = c.x - a.x, qy = c.y - a.y;
    const double u = Cross2d(qx, qy, sx, sy) / denom;
    const double v = Cross2d(qx, qy, rx, ry) / denom;
    return u >= 0.0 && u <= 1.0 && v >= 0.0 && v <= 1.0;
}

VxGePoint PlanAt(const Ray& ray, double t) {
    return {ray.origin.x + t * ray.dir.x, ray.origin.y + t * ray.dir.y, 0.0};
}

}  // namespace

Box2d RingBox(const std::vector<VxGePoint>& ring) {
    Box2d box{ring.front().x, ring.front().y, ring.front().x, ring.front().y};
    for (const VxGePoint& p : ring) {
        box.minX = std::min(box.minX, p.x);
        box.minY = std::min(box.minY, p.y);
        box.maxX = std::max(box.maxX, p.x);
        box.maxY = std::max(box.maxY, p.y);
    }
    return box;
}

Triangle MakeTriangle(const VxGePoint& a, const VxGePoint& b, const VxGePoint& c) {
    Triangle tri{a, b, c, RingBox({a, b, c}), std::min({a.z, b.z, c.z}), std::max({a.z, b.z, c.z})};
    return tri;
}

bool PointInRing(double x, double y, const std::vector<VxGePoint>& ring) {
    bool inside = false;
    const size_t n = ring.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const VxGePoint& p = ring[i];
        const VxGePoint& q = ring[j];
        if ((p.y > y) != (q.y > y) && x < (q.x - p.x) * (y - p.y) / (q.y - p.y) + p.x) {
            inside = !inside;
        }
    }
    return inside;
}

bool RayHitsPrism(const Ray& ray, const Prism& prism, int skipEdge) {
    // Heights rise along the ray, so the stretch between base and top height is one interval.
    const double t1 = (prism.top - ray.origin.z) / ray.dir.z;
    if (t1 <= ray.tStart) return false;
    const double t0 = std::max((prism.base - ray.origin.z) / ray.dir.z, ray.tStart);
    const VxGePoint a = PlanAt(ray, t0);
    const VxGePoint b = PlanAt(ray, t1);
    const Box2d span{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                     std::max(a.y, b.y)};
    if (!span.Overlaps(prism.box)) return false;
    // Inside at either end means the ray passes through the base or the top cap (or starts
    // inside the solid).
    if (skipEdge < 0 && (PointInRing(a.x, a.y, prism.ring) || PointInRing(b.x, b.y, prism.ring)))
        return true;
    const int n = static_cast<int>(prism.ring.size());
    for (int i = 0; i < n; ++i) {
        if (i == skipEdge) continue;
        if (SegmentsCross(a, b, prism.ring[i], prism.ring[(i + 1) % n])) return true;
    }
    return false;
}

bool RayHitsTriangle(const Ray& ray, const Triangle& tri) {
    // The ray rises: it can meet the face only while its height is within the face's heights,
    // so the plan stretch of that part must overlap the face's plan box.
    const double t1 = (tri.maxZ - ray.origin.z) / ray.dir.z;
    if (t1 <= ray.tStart) return false;
    const double t0 = std::max((tri.minZ - ray.origin.z) / ray.dir.z, 0.0);
    const VxGePoint a = PlanAt(ray, t0);
    const VxGePoint b = PlanAt(ray, t1);
    const Box2d span{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                     std::max(a.y, b.y)};
    if (!span.Overlaps(tri.box)) return false;
    const VxGePoint e1 = Sub(tri.b, tri.a);
    const VxGePoint e2 = Sub(tri.c, tri.a);
    const VxGePoint pvec = Cross(ray.dir, e2);
    const double det = Dot(e1, pvec);
    const double scale = std::sqrt(Dot(e1, e1) * Dot(e2, e2));
    // A ray in the plane of the face grazes it.
    if (std::abs(det) <= 1e-12 * scale) return false;
    const double inv = 1.0 / det;
    const VxGePoint tvec = Sub(ray.origin, tri.a);
    const double u = Dot(tvec, pvec) * inv;
    if (u < 0.0 || u > 1.0) return false;
    const VxGePoint qvec = Cross(tvec, e1);
    const double v = Dot(ray.dir, qvec) * inv;
    if (v < 0.0 || u + v > 1.0) return false;
    return Dot(e2, qvec) * inv > ray.tStart;
}

double PlanDistanceToSegment(const VxGePoint& p, const VxGePoint& a, const VxGePoint& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double s = len2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    s = std::clamp(s, 0.0, 1.0);
    return std::hypot(p.x - (a.x + s * dx), p.y - (a.y + s * dy));
}

}  // namespace shadow
