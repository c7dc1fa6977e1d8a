#include "SimGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double kPlaneTolerance = 1e-6;  // metres off a plane that still count as on it
}

VxGePoint Normalized(const VxGePoint& v) {
    const double length = std::sqrt(Dot(v, v));
    return length > 0.0 ? v * (1.0 / length) : v;
}

VxGeFace::VxGeFace(const VxGePoint& a, const VxGePoint& b, const VxGePoint& c, const VxGePoint& d)
    : pt{a, b, c, d}, count(4) {}

bool VxGeFace::IsTriangle() const {
    if (count < 4) return true;
    for (int i = 0; i < 3; ++i)
        if (pt[3].Distance3d(pt[static_cast<size_t>(i)]) <= g_simDistZero) return true;
    return false;
}

void VxGeFace::Reverse() {
    if (IsTriangle()) {
        std::swap(pt[1], pt[2]);
        pt[3] = pt[0];
    } else {
        std::swap(pt[1], pt[3]);
    }
}

void VxGeFace3dEX::SetPoint(const VxGePoint* corners, int count) {
    m_count = std::clamp(count, 0, 4);
    for (int i = 0; i < m_count; ++i) m_pt[static_cast<size_t>(i)] = corners[i];
    // Newell's normal: robust for quads that are not quite planar.
    VxGePoint n;
    for (int i = 0; i < m_count; ++i) {
        const VxGePoint& p = m_pt[static_cast<size_t>(i)];
        const VxGePoint& q = m_pt[static_cast<size_t>((i + 1) % m_count)];
        n.x += (p.y - q.y) * (p.z + q.z);
        n.y += (p.z - q.z) * (p.x + q.x);
        n.z += (p.x - q.x) * (p.y + q.y);
    }
    m_normal = Normalized(n);
    VxGePoint centre;
    for (int i = 0; i < m_count; ++i) centre = centre + m_pt[static_cast<size_t>(i)];
    if (m_count > 0) centre = centre * (1.0 / m_count);
    m_d = Dot(m_normal, centre);
}

VxGeFace3dEX& VxGeFace3dEX::operator=(const VxGeFace& face) {
    SetPoint(face.pt.data(), face.GetNodeNum());
    return *this;
}

double VxGeFace3dEX::LowestZ() const {
    double z = m_pt[0].z;
    for (int i = 1; i < m_count; ++i) z = std::min(z, m_pt[static_cast<size_t>(i)].z);
    return z;
}

double VxGeFace3dEX::HighestZ() const {
    double z = m_pt[0].z;
    for (int i = 1; i < m_count; ++i) z = std::max(z, m_pt[static_cast<size_t>(i)].z);
    return z;
}

bool VxGeFace3dEX::IsSunLightOn(const VxGePoint& sun) const {
    return Dot(m_normal, sun) < -1e-9;
}

VxGeFace3dEX::Relation VxGeFace3dEX::GetShadowRelation(const VxGeFace3dEX& receiver) const {
    bool allFront = true, allBehind = true;
    for (int i = 0; i < m_count; ++i) {
        const double d = receiver.Distance(m_pt[static_cast<size_t>(i)]);
        allFront = allFront && d >= -kPlaneTolerance;
        allBehind = allBehind && d <= kPlaneTolerance;
    }
    if (allBehind) return kNoShadow;
    if (allFront) {
        bool receiverBehind = true;
        for (int i = 0; i < receiver.m_count; ++i)
            receiverBehind = receiverBehind && Distance(receiver.Point(i)) <= kPlaneTolerance;
        if (receiverBehind) return kShadowsOnly;
    }
    return kMutual;
}

std::vector<VxGeTriangle2d> VxGeFace3dEX::CutByPlane(const VxGeFace3dEX& other) const {
    std::vector<VxGePoint> kept;
    for (int i = 0; i < m_count; ++i) {
        const VxGePoint& p = m_pt[static_cast<size_t>(i)];
        const VxGePoint& q = m_pt[static_cast<size_t>((i + 1) % m_count)];
        const double dp = other.Distance(p), dq = other.Distance(q);
        if (dp >= -kPlaneTolerance) kept.push_back(p);
        if ((dp > kPlaneTolerance && dq < -kPlaneTolerance) ||
            (dp < -kPlaneTolerance && dq > kPlaneTolerance))
            kept.push_back(p + (q - p) * (dp / (dp - dq)));
    }
    std::vector<VxGeTriangle2d> triangles;
    for (size_t i = 1; i + 1 < kept.size(); ++i) {
        const VxGePoint n = Cross(kept[i] - kept[0], kept[i + 1] - kept[0]);
        if (Dot(n, n) > 1e-18) triangles.push_back({{kept[0], kept[i], kept[i + 1]}});
    }
    return triangles;
}

Cylinder::Cylinder(const VxGeFace3dEX& face, const VxGePoint& sun)
    : m_towardsSun(Normalized(sun * -1.0)) {
    for (int i = 0; i < face.Count(); ++i) m_centre = m_centre + face.Point(i);
    if (face.Count() > 0) m_centre = m_centre * (1.0 / face.Count());
    for (int i = 0; i < face.Count(); ++i)
        m_radius = std::max(m_radius, face.Point(i).Distance3d(m_centre));
}

bool Cylinder::IsSomeFacePointIn(const VxGePoint* corners, int count) const {
    if (count <= 0) return false;
    count = std::min(count, 4);
    bool sunSide = false;
    std::array<VxGePoint, 4> across;
    VxGePoint middle;
    for (int i = 0; i < count; ++i) {
        const VxGePoint v = corners[i] - m_centre;
        const double along = Dot(v, m_towardsSun);
        sunSide = sunSide || along > kPlaneTolerance;
        across[static_cast<size_t>(i)] = v - m_towardsSun * along;
        middle = middle + across[static_cast<size_t>(i)];
    }
    if (!sunSide) return false;
    middle = middle * (1.0 / count);
    double reach = 0.0;
    for (int i = 0; i < count; ++i)
        reach = std::max(reach, across[static_cast<size_t>(i)].Distance3d(middle));
    return std::sqrt(Dot(middle, middle)) <= reach + m_radius + kPlaneTolerance;
}

namespace {
double Cross2d(const VxGePoint& o, const VxGePoint& a, const VxGePoint& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}
bool InTriangle(const VxGePoint& p, const VxGePoint& a, const VxGePoint& b, const VxGePoint& c) {
    return Cross2d(a, b, p) >= 0 && Cross2d(b, c, p) >= 0 && Cross2d(c, a, p) >= 0;
}
}  // namespace

std::vector<VxGeTriangle2d> Triangulate(const std::vector<VxGePoint>& polygon) {
    std::vector<VxGePoint> ring;
    for (const VxGePoint& p : polygon)
        if (ring.empty() || ring.back().Distance2d(p) > g_simDistZero) ring.push_back(p);
    while (ring.size() > 1 && ring.front().Distance2d(ring.back()) <= g_simDistZero)
        ring.pop_back();
    std::vector<VxGeTriangle2d> triangles;
    if (ring.size() < 3) return triangles;
    double area = 0.0;
    for (size_t i = 0; i < ring.size(); ++i)
        area += Cross2d({}, ring[i], ring[(i + 1) % ring.size()]);
    if (area < 0) std::reverse(ring.begin(), ring.end());
    while (ring.size() > 3) {
        const size_t n = ring.size();
        size_t ear = n;
        for (size_t i = 0; i < n && ear == n; ++i) {
            const VxGePoint& a = ring[(i + n - 1) % n];
            const VxGePoint& b = ring[i];
            const VxGePoint& c = ring[(i + 1) % n];
            if (Cross2d(a, b, c) <= 1e-12) continue;  // reflex or flat corner
            bool empty = true;
            for (size_t k = 0; k < n && empty; ++k) {
                if (k == i || k == (i + n - 1) % n || k == (i + 1) % n) continue;
                empty =
                    !InTriangle(ring[k], a, b, c) || ring[k] == a || ring[k] == b || ring[k] == c;
            }
            if (empty) ear = i;
        }
        if (ear == n) {
            // Nothing is an ear (a self-touching outline): drop the flattest corner and go on.
            double best = 1e300;
            for (size_t i = 0; i < n; ++i) {
                const double turn =
                    std::fabs(Cross2d(ring[(i + n - 1) % n], ring[i], ring[(i + 1) % n]));
                if (turn < best) best = turn, ear = i;
            }
            ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(ear));
            continue;
        }
        triangles.push_back({{ring[(ear + n - 1) % n], ring[ear], ring[(ear + 1) % n]}});
        ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(ear));
    }
    if (Cross2d(ring[0], ring[1], ring[2]) > 1e-12)
        triangles.push_back({{ring[0], ring[1], ring[2]}});
    return triangles;
}

std::vector<VxGePoint> Disperse(const std::vector<VxGePoint>& vertices,
                                const std::vector<double>& bulges, bool closed) {
    std::vector<VxGePoint> out;
    const size_t n = vertices.size();
    for (size_t i = 0; i < n; ++i) {
        out.push_back(vertices[i]);
        if (!closed && i + 1 == n) break;
        const VxGePoint& p = vertices[i];
        const VxGePoint& q = vertices[(i + 1) % n];
        const double bulge = i < bulges.size() ? bulges[i] : 0.0;
        const double chord = p.Distance2d(q);
        if (std::fabs(bulge) < 1e-9 || chord <= g_simDistZero) continue;
        const double sweep = 4.0 * std::atan(bulge);  // signed, counter-clockwise positive
        const double radius = chord / (2.0 * std::sin(std::fabs(sweep) / 2.0));
        // The centre lies to the left of the chord for a counter-clockwise arc under half a
        // turn (the cosine turns negative and moves it across for a longer arc).
        const double mx = (p.x + q.x) / 2, my = (p.y + q.y) / 2;
        const double ux = (q.x - p.x) / chord, uy = (q.y - p.y) / chord;
        const double sagittaToCentre = radius * std::cos(std::fabs(sweep) / 2.0);
        const double side = sweep > 0 ? 1.0 : -1.0;
        const double cx = mx - uy * sagittaToCentre * side;
        const double cy = my + ux * sagittaToCentre * side;
        const int pieces = std::max(
            1, static_cast<int>(std::ceil(std::fabs(sweep) / (std::numbers::pi / 18) - 1e-9)));
        const double start = std::atan2(p.y - cy, p.x - cx);
        for (int k = 1; k < pieces; ++k) {
            const double a = start + sweep * k / pieces;
            out.push_back({cx + radius * std::cos(a), cy + radius * std::sin(a), p.z});
        }
    }
    return out;
}
