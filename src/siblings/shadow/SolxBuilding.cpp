#include "solx/SolxBuilding.h"

#include <algorithm>
#include <cmath>

namespace {

// Drops repeated points (the closing point among them): they carry no wall.
std::vector<VxGePoint> CleanRing(std::vector<VxGePoint> ring) {
    std::vector<VxGePoint> out;
    for (const VxGePoint& p : ring) {
        if (out.empty() || p.Distance2d(out.back()) > 1e-9 * (1.0 + std::abs(p.x) + std::abs(p.y)))
            out.push_back({p.x, p.y, 0.0});
    }
    while (out.size() > 1 && out.back().Distance2d(out.front()) <=
                                 1e-9 * (1.0 + std::abs(out.front().x) + std::abs(out.front().y)))
        out.pop_back();
    return out;
}

double RingArea(const std::vector<VxGePoint>& ring) {
    double twice = 0.0;
    for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
        twice += ring[j].x * ring[i].y - ring[i].x * ring[j].y;
    return 0.5 * twice;
}

// Area compared with the square of the outline's extent, so the test does not depend on units.
bool HasArea(const std::vector<VxGePoint>& ring) {
    double minX = ring[0].x, maxX = ring[0].x, minY = ring[0].y, maxY = ring[0].y;
    for (const VxGePoint& p : ring) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    const double extent = std::max(maxX - minX, maxY - minY);
    return std::abs(RingArea(ring)) > 1e-9 * extent * extent;
}

}  // namespace

SolxBuilding::SolxBuilding(std::vector<VxGePoint> outline, double elevation, double height)
    : m_outline(CleanRing(std::move(outline))), m_dElevation(elevation), m_dHeight(height) {
    if (m_dHeight < 0.0) {
        m_dElevation += m_dHeight;
        m_dHeight = -m_dHeight;
    }
    m_bValid = m_outline.size() >= 3 && m_dHeight > 0.0 && std::isfinite(m_dHeight) &&
               std::isfinite(m_dElevation) && HasArea(m_outline);
}
