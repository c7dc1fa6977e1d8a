#include <algorithm>

#include "WinSunAna.h"
#include "solx/SolxDataSet.h"
#include "solx/SolxDegree.h"
#include "solx/SolxTimeList.h"

namespace {

// Longer than any day: the whole-day times are not clipped.
constexpr double kWholeDay = 100000.0;

// The window's valid time range in minutes.
VxGePoint ValidRange(const SolxWinSunlightInfo& win) {
    const VxGePoint hours = GetShanghaiValidTime(WinNormalAngle(win));
    return {hours.x * 60.0, hours.y * 60.0, 0.0};
}

std::wstring Clock(double minutes) {
    return SolxDegree(minutes / 60.0).TimeFormat(false);
}

}  // namespace

void FormatSunlitPeriods(const SolxWinSunlightInfo& win, std::wstring& text, bool clip) {
    text.clear();
    const VxGePoint valid = clip ? ValidRange(win) : VxGePoint();
    for (const VxGePoint* p = win.m_sunlit.GetFirst(); p; p = win.m_sunlit.GetNext(p)) {
        double s = p->x, e = p->y;
        if (clip) {
            if (valid.x + 1e-5 > e || valid.y - 1e-5 < s) continue;
            s = std::max(s, valid.x);
            e = std::min(e, valid.y);
        }
        if (!text.empty()) text += L"\n";
        text += Clock(s) + L"～" + Clock(e);
    }
    if (text.empty()) text = L"0";
}

double TotalTime(const SolxWinSunlightInfo& win) {
    return SolxTimeList(win.m_sunlit, 0.0, kWholeDay).GetTotalTime();
}

double LongestTime(const SolxWinSunlightInfo& win) {
    return SolxTimeList(win.m_sunlit, 0.0, kWholeDay).GetMaxContinueTime();
}

double ValidTotalTime(const SolxWinSunlightInfo& win) {
    const VxGePoint valid = ValidRange(win);
    return SolxTimeList(win.m_sunlit, valid.x, valid.y).GetTotalTime();
}

double ValidLongestTime(const SolxWinSunlightInfo& win) {
    const VxGePoint valid = ValidRange(win);
    return SolxTimeList(win.m_sunlit, valid.x, valid.y).GetMaxContinueTime();
}
