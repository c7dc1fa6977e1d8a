#pragma once
// The window sunlight analysis ("VxWinSunAna"): sampling of one window against one obstruction
// group, the period and time texts, and the two sort orders of the result table.

#include <string>
#include <vector>

#include "SolxFrame.h"
#include "solx/SolxBuildingEx.h"
#include "solx/SolxWinSunlightInfo.h"

// How a window is sampled: the common parameters' period and the standard's window rules.
struct WinSunRule {
    int startMinute = 0;
    int endMinute = 0;
    int stepMinutes = 1;
    int useValidWindow = 0;  // 1: no angle limit, times count inside the valid time range
    int angleLimit = 0;      // whole degrees the sun must stand above the window plane
    int twoPoints = 0;       // 1: both ends of the sill must be lit
};

// The window's outward normal as a plan angle in [0, 2pi): facing angle - pi/2.
double WinNormalAngle(const SolxWinSunlightInfo& win);

// Empties the window's sunlit intervals and fills them from the sun samples (in time order):
// each lit sample stands for the cell from half a step before to half a step after it, clipped
// to the period; adjacent lit cells merge. A sample is dark when the sun is behind the window
// plane, below the angle limit (when it applies), or when the group shades a test point.
void SampleWindowSunlight(SolxWinSunlightInfo& win, const SolxBuildingEx& group,
                          const std::vector<SolxSunSample>& samples, const WinSunRule& rule);

// One sunlit stretch as the table shows it, in whole minutes of the day.
struct WinShownPeriod {
    int start = 0;
    int end = 0;
    bool counted = true;  // false: shorter than the standard's minimum counted period
};

// The window's sunlit stretches as the table shows them: overlapping or touching ones joined,
// with clip only their parts inside the window's valid time range. Both ends are rounded to the
// nearest whole minute (halves up), so that the shown periods add up to the shown total, and a
// stretch that rounds to nothing is left out. A stretch shorter than minPeriodMinutes (judged
// before rounding) is listed but not counted.
std::vector<WinShownPeriod> ShownPeriods(const SolxWinSunlightInfo& win, bool clip,
                                         double minPeriodMinutes);
// "h:mm～h:mm" pieces joined by "\n", an uncounted one marked with a trailing "*"; "0" when
// there are none.
std::wstring PeriodsText(const std::vector<WinShownPeriod>& periods);
// Minutes of the counted periods: their sum, and the longest of them.
int CountedTotal(const std::vector<WinShownPeriod>& periods);
int CountedLongest(const std::vector<WinShownPeriod>& periods);

// Labels compared piecewise: runs of digits by their value, other characters one by one, so
// "3-9" comes before "3-12" and building "2" before building "10".
int CompareWindowLabels(const std::wstring& a, const std::wstring& b);

// Sort orders of the window list: by floor then position (mode 0), by position then floor and
// label (mode 1). Negative, zero or positive like a three-way comparison.
int CompareWindowsByFloor(SolxWinSunlightInfo* const& a, SolxWinSunlightInfo* const& b);
int CompareWindowsByNumber(SolxWinSunlightInfo* const& a, SolxWinSunlightInfo* const& b);
