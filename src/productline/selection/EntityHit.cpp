// Plan geometry of the selection tests.
#include "EntityHit.h"

#include <algorithm>
#include <cmath>

#include "acad/AcDbLine.h"
#include "acad/AcDbPolyline.h"

namespace solx::selection {
namespace {

double Cross(Point2 o, Point2 a, Point2 b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool OnSegment(Point2 p, Point2 a, Point2 b) {
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

// Proper or touching intersection of segments p1-p2 and q1-q2.
bool SegmentsMeet(Point2 p1, Point2 p2, Point2 q1, Point2 q2) {
    const double d1 = Cross(q1, q2, p1), d2 = Cross(q1, q2, p2);
    const double d3 = Cross(p1, p2, q1), d4 = Cross(p1, p2, q2);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
        return true;
    return (d1 == 0 && OnSegment(p1, q1, q2)) || (d2 == 0 && OnSegment(p2, q1, q2)) ||
           (d3 == 0 && OnSegment(q1, p1, p2)) || (d4 == 0 && OnSegment(q2, p1, p2));
}

double DistanceToSegment(Point2 p, Point2 a, Point2 b) {
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// The segments to test: the entity's own, or the four sides of its extents box.
std::vector<std::pair<Point2, Point2>> Edges(const HitShape& s) {
    if (!s.segments.empty()) return s.segments;
    const Point2 a = s.min, b{s.max.x, s.min.y}, c = s.max, d{s.min.x, s.max.y};
    return {{a, b}, {b, c}, {c, d}, {d, a}};
}

bool Inside(Point2 p, Point2 lo, Point2 hi) {
    return p.x >= lo.x && p.x <= hi.x && p.y >= lo.y && p.y <= hi.y;
}

Point2 P2(const AcGePoint3d& p) {
    return {p.x, p.y};
}

}  // namespace

HitShape ShapeOf(const AcDbEntity& entity) {
    HitShape shape;
    AcDbExtents ext;
    if (entity.getGeomExtents(ext) != Acad::eOk || ext.isEmpty()) return shape;
    shape.valid = true;
    shape.min = P2(ext.minPoint());
    shape.max = P2(ext.maxPoint());
    if (const auto* line = dynamic_cast<const AcDbLine*>(&entity)) {
        shape.segments.push_back({P2(line->startPoint()), P2(line->endPoint())});
    } else if (const auto* poly = dynamic_cast<const AcDbPolyline*>(&entity)) {
        const unsigned n = poly->numVerts();
        const unsigned count = poly->isClosed() ? n : (n > 0 ? n - 1 : 0);
        for (unsigned i = 0; i < count; ++i) {
            AcGePoint3d a, b;
            poly->getPointAt(i, a);
            poly->getPointAt((i + 1) % n, b);
            shape.segments.push_back({P2(a), P2(b)});
        }
    }
    return shape;
}

bool InsideWindow(const HitShape& shape, Point2 a, Point2 b) {
    const Point2 lo{std::min(a.x, b.x), std::min(a.y, b.y)};
    const Point2 hi{std::max(a.x, b.x), std::max(a.y, b.y)};
    return shape.valid && Inside(shape.min, lo, hi) && Inside(shape.max, lo, hi);
}

bool CrossesWindow(const HitShape& shape, Point2 a, Point2 b) {
    if (!shape.valid) return false;
    if (InsideWindow(shape, a, b)) return true;
    const Point2 lo{std::min(a.x, b.x), std::min(a.y, b.y)};
    const Point2 hi{std::max(a.x, b.x), std::max(a.y, b.y)};
    const Point2 c1{hi.x, lo.y}, c2{lo.x, hi.y};
    const std::vector<std::pair<Point2, Point2>> sides = {{lo, c1}, {c1, hi}, {hi, c2}, {c2, lo}};
    for (const auto& [p, q] : Edges(shape)) {
        if (Inside(p, lo, hi) || Inside(q, lo, hi)) return true;
        for (const auto& [s, t] : sides)
            if (SegmentsMeet(p, q, s, t)) return true;
    }
    // A box-shaped entity (no segments of its own) that encloses the whole window.
    return shape.segments.empty() && Inside(lo, shape.min, shape.max);
}

bool CrossesFence(const HitShape& shape, const std::vector<Point2>& fence) {
    if (!shape.valid) return false;
    const auto edges = Edges(shape);
    for (size_t i = 0; i + 1 < fence.size(); ++i)
        for (const auto& [p, q] : edges)
            if (SegmentsMeet(fence[i], fence[i + 1], p, q)) return true;
    return false;
}

double PickDistance(const HitShape& shape, Point2 p, double aperture) {
    if (!shape.valid) return -1.0;
    // A box is the weakest hit, so a line drawn over a block is still pickable.
    if (shape.segments.empty())
        return Inside(p, {shape.min.x - aperture, shape.min.y - aperture},
                      {shape.max.x + aperture, shape.max.y + aperture})
                   ? aperture
                   : -1.0;
    double best = -1.0;
    for (const auto& [a, b] : shape.segments) {
        const double d = DistanceToSegment(p, a, b);
        if (d <= aperture && (best < 0 || d < best)) best = d;
    }
    return best;
}

}  // namespace solx::selection
