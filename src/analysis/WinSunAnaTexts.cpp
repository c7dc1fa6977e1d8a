#include <algorithm>
#include <cmath>

#include "WinSunAna.h"
#include "solx/SolxDataSet.h"
#include "solx/SolxDegree.h"
#include "solx/SolxTimeList.h"

namespace {

// Periods never leave the analysis day; the whole day bounds them when they are not clipped.
constexpr double kDayMinutes = 24 * 60;
// Gaps and lengths below this are sampling round-off (as in SolxTimeList).
constexpr double kTouch = 1e-6;

int WholeMinute(double minutes) {
    return static_cast<int>(std::floor(minutes + 0.5));
}

std::wstring Clock(int minutes) {
    return SolxDegree(minutes / 60.0).TimeFormat(false);
}

}  // namespace

std::vector<WinShownPeriod> ShownPeriods(const SolxWinSunlightInfo& win, bool clip,
                                         double minPeriodMinutes) {
    VxGePoint range(0.0, kDayMinutes, 0.0);
    if (clip) {
        const VxGePoint hours = GetShanghaiValidTime(WinNormalAngle(win));
        range = VxGePoint(hours.x * 60.0, hours.y * 60.0, 0.0);
    }
    std::vector<WinShownPeriod> shown;
    const SolxTimeList joined(win.m_sunlit, range.x, range.y, 0.0);
    for (const VxGePoint& p : joined.GetPeriods()) {
        WinShownPeriod period{WholeMinute(p.x), WholeMinute(p.y),
                              p.y - p.x >= minPeriodMinutes - kTouch};
        if (period.end > period.start) shown.push_back(period);
    }
    return shown;
}

std::wstring PeriodsText(const std::vector<WinShownPeriod>& periods) {
    std::wstring text;
    for (const WinShownPeriod& p : periods) {
        if (!text.empty()) text += L"\n";
        text += Clock(p.start) + L"～" + Clock(p.end) + (p.counted ? L"" : L"*");
    }
    return text.empty() ? L"0" : text;
}

int CountedTotal(const std::vector<WinShownPeriod>& periods) {
    int total = 0;
    for (const WinShownPeriod& p : periods)
        if (p.counted) total += p.end - p.start;
    return total;
}

int CountedLongest(const std::vector<WinShownPeriod>& periods) {
    int longest = 0;
    for (const WinShownPeriod& p : periods)
        if (p.counted) longest = std::max(longest, p.end - p.start);
    return longest;
}
