#include <algorithm>
#include <cmath>
#include <numbers>

#include "WinSunAna.h"

namespace {

constexpr double kPi = std::numbers::pi;

// Cosine of the angle between the way to the sun and the window's outward normal.
double CosToNormal(const VxGePoint& ray, const VxGePoint& n) {
    const double len = std::sqrt(ray.x * ray.x + ray.y * ray.y + ray.z * ray.z);
    if (!(len > 0.0)) return -1.0;
    return std::clamp((-ray.x * n.x - ray.y * n.y) / len, -1.0, 1.0);
}

// The sun's whole degrees above the window plane, below the limit? clear is the cosine above
// which the sun stands a degree clear of the limit and passes without the inverse cosine.
bool BelowAngleLimit(double cosAlpha, int limit, double clear) {
    if (cosAlpha >= clear) return false;
    const double alpha = std::acos(cosAlpha);
    return TruncWithTol((kPi / 2 - alpha) * 180.0 / kPi, 1e-6) < limit;
}

bool IsSampleBlocked(const SolxWinSunlightInfo& win, const SolxBuildingEx& group,
                     const VxGePoint& ray, const WinSunRule& rule, double clear) {
    // The outward normal is the facing angle less a quarter turn.
    const double c = CosToNormal(ray, win.OutwardNormal());
    if (c < 0.0) return true;  // the sun is behind the window plane
    if (rule.useValidWindow == 0 && BelowAngleLimit(c, rule.angleLimit, clear)) return true;
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
    SolxSunlitRun run(rule.startMinute, rule.endMinute, rule.stepMinutes);
    const double clear = rule.angleLimit < 89 ? std::sin((rule.angleLimit + 1) * kPi / 180.0) : 2.0;
    for (const SolxSunSample& sample : samples)
        run.Add(sample.minute, !IsSampleBlocked(win, group, sample.Ray(), rule, clear));
    for (const VxGePoint& period : run.Finish()) win.m_sunlit.Append(period);
}
