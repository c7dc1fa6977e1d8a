#include <algorithm>
#include <cmath>
#include <numbers>

#include "WinSunAna.h"

namespace {

constexpr double kPi = std::numbers::pi;

// The sun's angle to the window normal n (unit, in plan) for light travelling along ray.
double AngleToNormal(const VxGePoint& ray, double nx, double ny) {
    const double len = std::sqrt(ray.x * ray.x + ray.y * ray.y + ray.z * ray.z);
    if (!(len > 0.0)) return kPi;
    const double c = (-ray.x * nx - ray.y * ny) / len;
    return std::acos(std::clamp(c, -1.0, 1.0));
}

bool IsSampleBlocked(const SolxWinSunlightInfo& win, const SolxBuildingEx& group,
                     const VxGePoint& ray, const WinSunRule& rule) {
    const double theta = WinNormalAngle(win);
    const double alpha = AngleToNormal(ray, std::cos(theta), std::sin(theta));
    if (alpha > kPi / 2) return true;  // the sun is behind the window plane
    if (rule.useValidWindow == 0 &&
        TruncWithTol((kPi / 2 - alpha) * 180.0 / kPi, 1e-6) < rule.angleLimit)
        return true;
    VxGePoint first = win.GetTestPoint(), second;
    if (rule.twoPoints) win.GetTestPoints(first, second);
    if (group.IsPointShadowed(first, ray, &win)) return true;
    return rule.twoPoints && group.IsPointShadowed(second, ray, &win);
}

}  // namespace

double WinNormalAngle(const SolxWinSunlightInfo& win) {
    const double full = 2.0 * kPi;
    double a = std::fmod(win.m_dAngle - kPi / 2, full);
    if (a < 0.0) a += full;
    return a >= full ? 0.0 : a;
}

void SampleWindowSunlight(SolxWinSunlightInfo& win, const SolxBuildingEx& group,
                          const std::vector<SolxSunSample>& samples, const WinSunRule& rule) {
    win.m_sunlit.Reset();
    const double end = rule.endMinute, half = rule.stepMinutes / 2.0;
    double lo = rule.startMinute, hi = rule.startMinute;
    for (const SolxSunSample& sample : samples) {
        const VxGePoint ray{sample.ray.x, sample.ray.y, sample.ray.z};
        if (IsSampleBlocked(win, group, ray, rule)) {
            if (lo < hi) win.m_sunlit.Append(VxGePoint(lo, hi, 0.0));
            lo = hi = sample.minute + half;
        } else {
            hi = std::min(sample.minute + half, end);
        }
    }
    if (lo < hi) win.m_sunlit.Append(VxGePoint(lo, hi, 0.0));
}
