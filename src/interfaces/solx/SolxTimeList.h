#pragma once
// The effective sunlight of a list of sunlit periods within an analysis range.

#include <vector>

#include "brel/VxGePoint.h"

class SolxTimeList {
public:
    // periods: any sequence of points with x = start and y = end in minutes (z unused), in
    // any order, possibly overlapping. from, to: the analysis range in minutes.
    // Periods are clipped to the range, overlapping or touching ones (gap below 1e-6 min)
    // are joined into one continuous period, and continuous periods shorter than
    // minPeriodMinutes are then left out. Without minPeriodMinutes the current standard's
    // minimum counted period (g_SunDataSet.CurStd()) applies.
    template <class Periods>
    SolxTimeList(const Periods& periods, double from, double to)
        : SolxTimeList(Collect(periods), from, to, CurrentMinPeriod()) {}
    template <class Periods>
    SolxTimeList(const Periods& periods, double from, double to, double minPeriodMinutes)
        : SolxTimeList(Collect(periods), from, to, minPeriodMinutes) {}
    SolxTimeList(std::vector<VxGePoint> periods, double from, double to, double minPeriodMinutes);

    // Total of the counted periods, minutes.
    double GetTotalTime() const;
    // Longest counted continuous period, minutes; 0 when none.
    double GetMaxContinueTime() const;
    // The counted periods, sorted by start.
    const std::vector<VxGePoint>& GetPeriods() const { return m_periods; }

private:
    // The cursor containers (VxDList<VxGePoint> ...) are walked with GetFirst / GetNext,
    // which leave their cursor alone; anything else with begin / end by a range loop.
    template <class Periods>
    static std::vector<VxGePoint> Collect(const Periods& periods) {
        std::vector<VxGePoint> out;
        if constexpr (requires { periods.GetNext(periods.GetFirst()); }) {
            for (auto* p = periods.GetFirst(); p; p = periods.GetNext(p))
                out.emplace_back(p->x, p->y, 0.0);
        } else {
            for (const auto& p : periods) out.emplace_back(p.x, p.y, 0.0);
        }
        return out;
    }
    static double CurrentMinPeriod();

    std::vector<VxGePoint> m_periods;
};
