#include "ShadowScene.h"

#include <algorithm>
#include <cmath>
#include <numbers>

using shadow::Ray;

namespace {

// Hits closer than this (relative to the size of the coordinates) are the point's own surface.
double StartTolerance(const VxGePoint& p) {
    return 1e-7 * (1.0 + std::max({std::abs(p.x), std::abs(p.y), std::abs(p.z)}));
}

}  // namespace

void SolxShadowScene::AddPrism(const std::vector<VxGePoint>& ring, double base, double top) {
    if (ring.size() < 3) return;
    shadow::Prism prism{ring, std::min(base, top), std::max(base, top), shadow::RingBox(ring)};
    m_dMaxZ = m_prisms.empty() && m_triangles.empty() ? prism.top : std::max(m_dMaxZ, prism.top);
    m_prisms.push_back(std::move(prism));
}

void SolxShadowScene::AddFace(const SolxFace3d& face) {
    auto add = [this](const VxGePoint& a, const VxGePoint& b, const VxGePoint& c) {
        shadow::Triangle tri = shadow::MakeTriangle(a, b, c);
        m_dMaxZ = m_prisms.empty() && m_triangles.empty() ? tri.maxZ : std::max(m_dMaxZ, tri.maxZ);
        m_triangles.push_back(tri);
    };
    add(face.pt[0], face.pt[1], face.pt[2]);
    if (face.count == 4) add(face.pt[0], face.pt[2], face.pt[3]);
}

void SolxShadowScene::Build() {
    std::vector<shadow::Box2d> boxes;
    std::vector<double> tops;
    for (const shadow::Prism& p : m_prisms) {
        boxes.push_back(p.box);
        tops.push_back(p.top);
    }
    for (const shadow::Triangle& t : m_triangles) {
        boxes.push_back(t.box);
        tops.push_back(t.maxZ);
    }
    m_grid.Build(boxes, tops);
    m_stamp.assign(boxes.size(), 0);
    m_nWalk = 0;
}

bool SolxShadowScene::TestObject(const Ray& ray, int object,
                                 const std::vector<SolxOwnWall>& ownWalls) const {
    const int nPrisms = static_cast<int>(m_prisms.size());
    if (object >= nPrisms) return shadow::RayHitsTriangle(ray, m_triangles[object - nPrisms]);
    int skip = -1;
    for (const SolxOwnWall& w : ownWalls)
        if (w.prism == object) skip = w.edge;
    return shadow::RayHitsPrism(ray, m_prisms[object], skip);
}

bool SolxShadowScene::TestAll(const Ray& ray, const std::vector<SolxOwnWall>& ownWalls) const {
    const int n = static_cast<int>(m_prisms.size() + m_triangles.size());
    for (int i = 0; i < n; ++i)
        if (TestObject(ray, i, ownWalls)) return true;
    return false;
}

bool SolxShadowScene::IsBlocked(const VxGePoint& point, const VxGePoint& light, bool useIndex,
                                const std::vector<SolxOwnWall>& ownWalls) const {
    const double len = std::sqrt(shadow::Dot(light, light));
    // No direction, or a sun at or below the horizon: no direct light.
    if (!(len > 0.0) || -light.z <= 1e-12 * len) return true;
    const Ray ray{point, shadow::Scale(light, -1.0 / len), StartTolerance(point)};
    if (!useIndex) return TestAll(ray, ownWalls);
    if (m_grid.IsEmpty()) return false;
    if (++m_nWalk == 0) {  // the stamp counter wrapped: forget old stamps
        std::fill(m_stamp.begin(), m_stamp.end(), 0);
        m_nWalk = 1;
    }
    return m_grid.Walk(ray.origin, ray.dir, m_dMaxZ, [&](int object) {
        if (m_stamp[object] == m_nWalk) return false;
        m_stamp[object] = m_nWalk;
        return TestObject(ray, object, ownWalls);
    });
}

std::vector<SolxOwnWall> SolxShadowScene::FindWalls(const VxGePoint& at, double direction,
                                                    double tol) const {
    std::vector<SolxOwnWall> walls;
    const shadow::Box2d box{at.x - tol, at.y - tol, at.x + tol, at.y + tol};
    const double ux = std::cos(direction), uy = std::sin(direction);
    auto look = [&](int object) {
        if (object >= static_cast<int>(m_prisms.size())) return;
        const shadow::Prism& p = m_prisms[object];
        if (!box.Overlaps(p.box)) return;
        const int n = static_cast<int>(p.ring.size());
        for (int i = 0; i < n; ++i) {
            const VxGePoint& a = p.ring[i];
            const VxGePoint& b = p.ring[(i + 1) % n];
            const double len = a.Distance2d(b);
            // Parallel within about a degree, and close enough in plan.
            if (len <= 0.0 || std::abs(ux * (b.y - a.y) - uy * (b.x - a.x)) > 0.02 * len) continue;
            if (shadow::PlanDistanceToSegment(at, a, b) <= tol) walls.push_back({object, i});
        }
    };
    m_grid.ForEachInBox(box, look);
    std::sort(walls.begin(), walls.end(), [](const SolxOwnWall& l, const SolxOwnWall& r) {
        return l.prism != r.prism ? l.prism < r.prism : l.edge < r.edge;
    });
    walls.erase(std::unique(walls.begin(), walls.end(),
                            [](const SolxOwnWall& l, const SolxOwnWall& r) {
                                return l.prism == r.prism && l.edge == r.edge;
                            }),
                walls.end());
    return walls;
}

const std::vector<SolxOwnWall>& SolxShadowScene::FindWallsCached(const VxGePoint& at,
                                                                 double direction,
                                                                 double tol) const {
    if (!m_bWallsKnown || !(m_wallsAt == at) || m_dWallsDirection != direction ||
        m_dWallsTol != tol) {
        m_walls = FindWalls(at, direction, tol);
        m_wallsAt = at;
        m_dWallsDirection = direction;
        m_dWallsTol = tol;
        m_bWallsKnown = true;
    }
    return m_walls;
}
