#include "solx/SolxTimeList.h"

#include <algorithm>

namespace {

// Gaps shorter than this are sampling round-off, not shade.
constexpr double kTouch = 1e-6;

std::vector<VxGePoint> ClipAndSort(std::vector<VxGePoint> periods, double from, double to) {
    std::vector<VxGePoint> clipped;
    for (const VxGePoint& p : periods) {
        const double s = std::max(std::min(p.x, p.y), from);
        const double e = std::min(std::max(p.x, p.y), to);
        if (e > s) clipped.emplace_back(s, e, 0.0);
    }
    std::sort(clipped.begin(), clipped.end(),
              [](const VxGePoint& a, const VxGePoint& b) { return a.x < b.x; });
    return clipped;
}

std::vector<VxGePoint> Join(const std::vector<VxGePoint>& sorted) {
    std::vector<VxGePoint> joined;
    for (const VxGePoint& p : sorted) {
        if (!joined.empty() && p.x <= joined.back().y + kTouch)
            joined.back().y = std::max(joined.back().y, p.y);
        else
            joined.push_back(p);
    }
    return joined;
}

}  // namespace

SolxTimeList::SolxTimeList(std::vector<VxGePoint> periods, double from, double to,
                           double minPeriodMinutes) {
    for (const VxGePoint& p : Join(ClipAndSort(std::move(periods), from, to)))
        if (p.y - p.x >= minPeriodMinutes - kTouch) m_periods.push_back(p);
}

double SolxTimeList::GetTotalTime() const {
    double total = 0.0;
    for (const VxGePoint& p : m_periods) total += p.y - p.x;
    return total;
}

double SolxTimeList::GetMaxContinueTime() const {
    double longest = 0.0;
    for (const VxGePoint& p : m_periods) longest = std::max(longest, p.y - p.x);
    return longest;
}
