#include "ShadowPolyBuild.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "acad/AcDbRegionOps.h"

namespace shadow {

namespace {

// Shadows longer than this many times the height of what casts them are not drawn: the sun is
// then within a fifth of an arc second of the horizon.
constexpr double kMaxShadowRatio = 1e6;

double Cross(const AcGeVector2d& a, const AcGeVector2d& b) {
    return a.x * b.y - a.y * b.x;
}

bool Finite(const VxGePoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// A rounding margin for heights compared with the plane, so that a top lying on the plane
// within rounding casts nothing.
double HeightTolerance(double planeHeight, double z) {
    return 1e-9 * std::max({1.0, std::abs(planeHeight), std::abs(z)});
}

double Extent(const AcDbRegionRing& ring) {
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (const AcGePoint2d& p : ring) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    return ring.empty() ? 0.0 : std::max(maxX - minX, maxY - minY);
}

// The plan outline without repeated points (the closing point among them): they carry no
// wall. Empty when a coordinate is not finite.
AcDbRegionRing CleanOutline(const std::vector<VxGePoint>& outline) {
    auto same = [](const AcGePoint2d& a, const AcGePoint2d& b) {
        return std::hypot(a.x - b.x, a.y - b.y) <= 1e-9 * (1.0 + std::abs(a.x) + std::abs(a.y));
    };
    AcDbRegionRing ring;
    ring.reserve(outline.size());
    for (const VxGePoint& p : outline) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return {};
        const AcGePoint2d q(p.x, p.y);
        if (ring.empty() || !same(q, ring.back())) ring.push_back(q);
    }
    while (ring.size() > 1 && same(ring.back(), ring.front())) ring.pop_back();
    return ring;
}

// True for a convex ring that goes round once (so it is simple); collinear points allowed,
// spikes that turn back on themselves not.
bool IsConvexRing(const AcDbRegionRing& ring) {
    const size_t n = ring.size();
    int sign = 0;
    double turning = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const AcGeVector2d a = ring[(i + 1) % n] - ring[i];
        const AcGeVector2d b = ring[(i + 2) % n] - ring[(i + 1) % n];
        const double cross = Cross(a, b), dot = a.dotProduct(b);
        if (std::abs(cross) <= 1e-12 * std::hypot(a.x, a.y) * std::hypot(b.x, b.y)) {
            if (dot < 0) return false;
            continue;
        }
        const int s = cross > 0 ? 1 : -1;
        if (sign != 0 && s != sign) return false;
        sign = s;
        turning += std::atan2(cross, dot);
    }
    return sign != 0 && std::abs(turning) < 3 * std::numbers::pi;
}

AcDbRegionRing Moved(const AcDbRegionRing& ring, const AcGeVector2d& by) {
    AcDbRegionRing out;
    out.reserve(ring.size());
    for (const AcGePoint2d& p : ring) out.push_back(p + by);
    return out;
}

void Push(ShadowPieces& pieces, AcDbRegionPolygon polygon, bool needsUnion) {
    if (needsUnion || !pieces.polygons.empty()) pieces.united = false;
    pieces.polygons.push_back(std::move(polygon));
}

// A convex piece from points: their hull, when it has an area above rounding.
void PushHull(ShadowPieces& pieces, std::vector<AcGePoint2d> points) {
    AcDbRegionRing hull = ConvexHull(std::move(points));
    if (hull.size() < 3) return;
    const double extent = Extent(hull);
    if (AcDbRegionRingArea(hull) <= 1e-12 * extent * extent) return;
    Push(pieces, {std::move(hull), {}}, false);
}

// The strips that the walls facing away from the light sweep, one per run of such walls.
// `ring` has its area on its left (outer rings counter-clockwise, holes clockwise); a wall
// faces away when its direction d has cross(d, sweep) > 0. A run of such walls is strictly
// monotone across the sweep, so its strip (the run, then the run moved by the sweep, back) is
// a simple polygon. Every point of the swept area outside the moved cross-section lies in
// one of these strips: going back along the sweep it leaves the cross-section through such
// a wall.
void PushWallStrips(const AcDbRegionRing& ring, const AcGeVector2d& sweep, ShadowPieces& pieces) {
    const size_t n = ring.size();
    auto back = [&](size_t i) { return Cross(ring[(i + 1) % n] - ring[i], sweep) > 0; };
    size_t start = 0;
    while (start < n && back(start)) ++start;
    if (start == n) return;  // cannot happen for a closed ring; rounding guard
    for (size_t k = 1; k <= n;) {
        if (!back((start + k) % n)) {
            ++k;
            continue;
        }
        AcDbRegionRing chain{ring[(start + k) % n]};
        for (; k <= n && back((start + k) % n); ++k) chain.push_back(ring[(start + k + 1) % n]);
        AcDbRegionRing strip = chain;
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) strip.push_back(*it + sweep);
        if (AcDbRegionRingArea(strip) < 0) std::reverse(strip.begin(), strip.end());
        Push(pieces, {std::move(strip), {}}, true);
    }
}

void PushConcavePrism(const AcDbRegionRing& ring, const AcGeVector2d& lift,
                      const AcGeVector2d& sweep, ShadowPieces& pieces) {
    const SolxShadowShape lobes = solx::region::RepairRing(ring);
    const double extent = Extent(ring);
    double area = 0.0;
    for (const AcDbRegionPolygon& lobe : lobes) area += std::abs(AcDbRegionRingArea(lobe.outer));
    if (area <= 1e-9 * extent * extent) return;  // an outline without area casts nothing
    const bool sweeps = std::hypot(sweep.x, sweep.y) > 1e-12 * extent;
    // The top is the lifted ring moved by the sweep, computed exactly as the strips' far ends
    // are, so that shared edges coincide to the bit and the union leaves no slits.
    for (const AcDbRegionPolygon& lobe : lobes) {
        const AcDbRegionRing low = Moved(lobe.outer, lift);
        AcDbRegionPolygon top{Moved(low, sweep), {}};
        for (const AcDbRegionRing& hole : lobe.holes)
            top.holes.push_back(Moved(Moved(hole, lift), sweep));
        Push(pieces, std::move(top), lobes.size() > 1);
        if (!sweeps) continue;
        PushWallStrips(low, sweep, pieces);
        for (const AcDbRegionRing& hole : lobe.holes)
            PushWallStrips(Moved(hole, lift), sweep, pieces);
    }
}

// The part of a triangle at or above the plane (Sutherland-Hodgman against one plane).
std::vector<VxGePoint> ClipAbove(const VxGePoint* tri, double planeHeight) {
    std::vector<VxGePoint> out;
    for (int i = 0; i < 3; ++i) {
        const VxGePoint& a = tri[i];
        const VxGePoint& b = tri[(i + 1) % 3];
        const double da = a.z - planeHeight, db = b.z - planeHeight;
        if (da >= 0) out.push_back(a);
        if ((da < 0) != (db < 0)) {
            const double t = da / (da - db);
            out.push_back({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), planeHeight});
        }
    }
    return out;
}

AcGePoint2d Project(const VxGePoint& p, const PlanShift& shift, double planeHeight) {
    const double h = p.z - planeHeight;
    return {p.x + h * shift.x, p.y + h * shift.y};
}

void PushTriangle(const VxGePoint* tri, const PlanShift& shift, double planeHeight,
                  ShadowPieces& pieces) {
    const double top = std::max({tri[0].z, tri[1].z, tri[2].z});
    if (top - planeHeight <= HeightTolerance(planeHeight, top)) return;
    std::vector<AcGePoint2d> points;
    for (const VxGePoint& p : ClipAbove(tri, planeHeight))
        points.push_back(Project(p, shift, planeHeight));
    PushHull(pieces, std::move(points));
}

// A quad that lies wholly above the plane and stays convex on it casts one convex piece.
bool PushConvexQuad(const SolxFace3d& face, const PlanShift& shift, double planeHeight,
                    ShadowPieces& pieces) {
    AcGePoint2d q[4];
    for (int i = 0; i < 4; ++i) {
        if (face.pt[i].z < planeHeight) return false;
        q[i] = Project(face.pt[i], shift, planeHeight);
    }
    int sign = 0;
    for (int i = 0; i < 4; ++i) {
        const double c = Cross(q[(i + 1) % 4] - q[i], q[(i + 2) % 4] - q[(i + 1) % 4]);
        const int s = c > 0 ? 1 : c < 0 ? -1 : 0;
        if (s == 0 || (sign != 0 && s != sign)) return false;
        sign = s;
    }
    const double top = std::max({face.pt[0].z, face.pt[1].z, face.pt[2].z, face.pt[3].z});
    if (top - planeHeight > HeightTolerance(planeHeight, top))
        PushHull(pieces, {q[0], q[1], q[2], q[3]});
    return true;
}

}  // namespace

AcDbRegionRing ConvexHull(std::vector<AcGePoint2d> points) {
    std::sort(points.begin(), points.end(), [](const AcGePoint2d& a, const AcGePoint2d& b) {
        return a.x < b.x || (a.x == b.x && a.y < b.y);
    });
    const size_t n = points.size();
    if (n < 3) return {};
    AcDbRegionRing hull(2 * n);
    size_t k = 0;
    auto turnsLeft = [&](const AcGePoint2d& p) {
        return Cross(hull[k - 1] - hull[k - 2], p - hull[k - 1]) > 0;
    };
    for (size_t i = 0; i < n; ++i) {
        while (k >= 2 && !turnsLeft(points[i])) --k;
        hull[k++] = points[i];
    }
    for (size_t i = n - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && !turnsLeft(points[i])) --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);  // the last point is the first again
    return hull.size() >= 3 ? hull : AcDbRegionRing{};
}

bool LightShift(const VxGePoint& light, PlanShift& shift) {
    if (!Finite(light)) return false;
    const double across = std::hypot(light.x, light.y);
    if (!(light.z < 0) || -light.z * kMaxShadowRatio <= across) return false;
    shift = {light.x / -light.z, light.y / -light.z};
    return true;
}

void AddPrismPieces(const std::vector<VxGePoint>& outline, double elevation, double height,
                    const PlanShift& shift, double planeHeight, ShadowPieces& pieces) {
    if (!std::isfinite(elevation) || !std::isfinite(height) || !std::isfinite(planeHeight)) return;
    const double base = std::min(elevation, elevation + height);
    const double top = std::max(elevation, elevation + height);
    const double low = std::max(base, planeHeight);  // only the part above the plane casts
    if (top - low <= HeightTolerance(planeHeight, top)) return;
    const AcDbRegionRing ring = CleanOutline(outline);
    if (ring.size() < 3) return;
    const AcGeVector2d lift(shift.x * (low - planeHeight), shift.y * (low - planeHeight));
    const AcGeVector2d sweep(shift.x * (top - low), shift.y * (top - low));
    if (!IsConvexRing(ring)) {
        PushConcavePrism(ring, lift, sweep, pieces);
        return;
    }
    const double extent = Extent(ring);
    if (std::abs(AcDbRegionRingArea(ring)) <= 1e-9 * extent * extent) return;
    // A convex cross-section swept along a segment is the hull of its two ends.
    std::vector<AcGePoint2d> points;
    points.reserve(2 * ring.size());
    for (const AcGePoint2d& p : ring) {
        points.push_back(p + lift);
        points.push_back(p + lift + sweep);
    }
    PushHull(pieces, std::move(points));
}

void AddFacePieces(const SolxFace3d& face, const PlanShift& shift, double planeHeight,
                   ShadowPieces& pieces) {
    const int count = face.count == 4 ? 4 : 3;
    for (int i = 0; i < count; ++i)
        if (!Finite(face.pt[i])) return;
    if (count == 4 && PushConvexQuad(face, shift, planeHeight, pieces)) return;
    PushTriangle(face.pt, shift, planeHeight, pieces);
    if (count == 4) {
        const VxGePoint second[3] = {face.pt[0], face.pt[2], face.pt[3]};
        PushTriangle(second, shift, planeHeight, pieces);
    }
}

double SliverArea(const std::vector<AcDbRegionPolygon>& polygons) {
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (const AcDbRegionPolygon& p : polygons)
        for (const AcGePoint2d& q : p.outer) {
            minX = std::min(minX, q.x), maxX = std::max(maxX, q.x);
            minY = std::min(minY, q.y), maxY = std::max(maxY, q.y);
        }
    const double size = std::max(maxX - minX, maxY - minY);
    return std::isfinite(size) ? size * size * 1e-12 : 0.0;
}

}  // namespace shadow
