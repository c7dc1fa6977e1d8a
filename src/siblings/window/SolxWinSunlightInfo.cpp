#include "solx/SolxWinSunlightInfo.h"

#include <cmath>
#include <numbers>

namespace {

double NormalizeAngle(double a) {
    const double full = 2.0 * std::numbers::pi;
    a = std::fmod(a, full);
    if (a < 0.0) a += full;
    return a >= full ? 0.0 : a;
}

}  // namespace

SolxWinSunlightInfo::SolxWinSunlightInfo(const SolxWindowBlock& block, double offset)
    : m_nFloor(block.floor),
      m_nNumber(block.number),
      m_dSillHeight(block.insertion.z),
      m_dAngle(NormalizeAngle(block.rotation)),
      m_strLabel(block.label),
      m_block(block),
      m_dOffset(offset),
      // The wall runs along the rotation; outwards is a quarter turn clockwise from it.
      m_normal(std::sin(m_dAngle), -std::cos(m_dAngle), 0.0) {}

VxGePoint SolxWinSunlightInfo::GetTestPoint() const {
    const VxGePoint n = OutwardNormal();
    const VxGePoint& p = m_block.insertion;
    return {p.x + n.x * m_dOffset, p.y + n.y * m_dOffset, p.z};
}

void SolxWinSunlightInfo::GetTestPoints(VxGePoint& first, VxGePoint& second) const {
    const VxGePoint centre = GetTestPoint();
    // Half the width along the wall; a mirrored block (negative x scale) has the same ends.
    const double half = 0.5 * std::abs(m_block.width);
    const double ux = std::cos(m_dAngle) * half, uy = std::sin(m_dAngle) * half;
    first = {centre.x - ux, centre.y - uy, centre.z};
    second = {centre.x + ux, centre.y + uy, centre.z};
}
