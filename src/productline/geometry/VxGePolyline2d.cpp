// Polylines and regions in plan: area, orientation, compression and the point hit test.

#include <algorithm>
#include <cmath>

#include "brel/VxGeometry.h"

namespace {

// Distance from p to the segment a-b.
double SegmentDistance(const VxGePoint& p, const VxGePoint& a, const VxGePoint& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Distance from b to the line through a and c (the length of a-c when they coincide).
double OffLine(const VxGePoint& a, const VxGePoint& b, const VxGePoint& c) {
    const double len = a.Distance2d(c);
    if (len == 0.0) return a.Distance2d(b);
    return std::fabs((c.x - a.x) * (b.y - a.y) - (c.y - a.y) * (b.x - a.x)) / len;
}

}  // namespace

void VxGeExtent::Add(const VxGePoint& p) {
    minX = std::min(minX, p.x);
    minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x);
    maxY = std::max(maxY, p.y);
}

double VxGePolyline2d::Area() const {
    if (!m_bClosed) return 0.0;
    double twice = 0.0;
    for (size_t i = 0, n = m_points.size(); i < n; ++i) {
        const VxGePoint& p = m_points[i];
        const VxGePoint& q = m_points[(i + 1) % n];
        twice += p.x * q.y - q.x * p.y;
    }
    return twice / 2.0;
}

void VxGePolyline2d::Reverse() {
    std::reverse(m_points.begin(), m_points.end());
}

bool VxGePolyline2d::IsValid() const {
    for (const VxGePoint& p : m_points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
    if (!m_bClosed) return m_points.size() >= 2;
    return m_points.size() >= 3 && std::fabs(Area()) > g_distZero * g_distZero;
}

int VxGePolyline2d::Compress(double tolerance) {
    const size_t before = m_points.size();
    bool changed = true;
    while (changed && m_points.size() > 2) {
        changed = false;
        const size_t n = m_points.size();
        std::vector<VxGePoint> kept;
        kept.reserve(n);
        for (size_t i = 0; i < n; ++i) {
            const bool ends = !m_bClosed && (i == 0 || i + 1 == n);
            const VxGePoint& prev = kept.empty() ? m_points[(i + n - 1) % n] : kept.back();
            const VxGePoint& next = m_points[(i + 1) % n];
            if (!ends && OffLine(prev, m_points[i], next) <= tolerance) {
                changed = true;
                continue;
            }
            kept.push_back(m_points[i]);
        }
        if (kept.size() < 2) break;  // nothing left that spans a line: keep what there was
        m_points.swap(kept);
    }
    return static_cast<int>(before - m_points.size());
}

unsigned VxGePolyline2d::HitTest(const VxGePoint& p) const {
    const size_t n = m_points.size();
    if (!m_bClosed || n < 3) return 0;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const VxGePoint& a = m_points[i];
        const VxGePoint& b = m_points[j];
        if (SegmentDistance(p, a, b) <= g_distZero) return kVxHitInside | kVxHitOnBoundary;
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside ? kVxHitInside : 0;
}

VxGeExtent VxGePolyline2d::GetExtent() const {
    VxGeExtent e;
    for (const VxGePoint& p : m_points) e.Add(p);
    return e;
}

bool VxGeRegion2d::Contains(const VxGePoint& p) const {
    if (!(outer.HitTest(p) & kVxHitInside)) return false;
    for (const VxGePolyline2d& hole : holes) {
        const unsigned hit = hole.HitTest(p);
        if ((hit & kVxHitInside) && !(hit & kVxHitOnBoundary)) return false;
    }
    return true;
}

double VxGeRegion2d::Area() const {
    double area = std::fabs(outer.Area());
    for (const VxGePolyline2d& hole : holes) area -= std::fabs(hole.Area());
    return area;
}

void ExplodePoly2D(const VxGePolyline2d& polyline, std::vector<VxGeLineSeg2d>& out) {
    const auto& pts = polyline.Points();
    for (size_t i = 0; i + 1 < pts.size(); ++i) out.push_back({pts[i], pts[i + 1]});
    if (polyline.IsClosed() && pts.size() > 2) out.push_back({pts.back(), pts.front()});
}
