// Effective sunlight of a period list: clipping, joining, the minimum counted period.
#include "solx/SolxDataSet.h"
#include "solx/SolxTimeList.h"

#include "containers/VxDList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TimeListCase {
    const char* name;
    std::vector<VxGePoint> periods;
    double from, to, minPeriod;
    double total, longest;
};

const TimeListCase kCases[] = {
    {"empty list", {}, 480, 960, 0, 0, 0},
    {"clipped at both ends", {{400, 500}, {900, 1000}}, 480, 960, 0, 80, 60},
    {"outside the range", {{100, 400}, {1000, 1100}}, 480, 960, 0, 0, 0},
    {"shorter than minimum dropped, equal kept",
     {{480, 484}, {500, 505}, {600, 700}},
     480,
     960,
     5,
     105,
     100},
    {"touching periods are one continuous period", {{480, 500}, {500, 520}}, 480, 960, 30, 40, 40},
    {"overlapping and unsorted", {{600, 650}, {480, 500}, {620, 700}}, 480, 960, 0, 120, 100},
    {"minimum applies after clipping", {{470, 483}, {600, 700}}, 480, 960, 5, 100, 100},
    {"reversed period read as from-to", {{700, 600}}, 480, 960, 0, 100, 100},
    {"empty range", {{500, 600}}, 960, 480, 0, 0, 0},
    {"whole-day range of the window table", {{0.5, 30}, {720, 900}}, 0, 100000, 0, 209.5, 180},
    {"gap of one minute is shade", {{480, 500}, {501, 520}}, 480, 960, 20, 20, 20},
};

TEST(SolxTimeList, Cases) {
    for (const TimeListCase& c : kCases) {
        const SolxTimeList list(c.periods, c.from, c.to, c.minPeriod);
        EXPECT_DOUBLE_EQ(list.GetTotalTime(), c.total) << c.name;
        EXPECT_DOUBLE_EQ(list.GetMaxContinueTime(), c.longest) << c.name;
        for (const VxGePoint& p : list.GetPeriods()) {
            EXPECT_GE(p.x, c.from) << c.name;
            EXPECT_LE(p.y, c.to) << c.name;
        }
    }
}

// The interval lists of the analyses are cursor lists; reading them must not move the cursor.
// (A point type of its own: the list's sort needs an ordering that VxGePoint does not have.)
struct Period {
    double x, y;
    auto operator<=>(const Period&) const = default;
};

TEST(SolxTimeList, TakesCursorLists) {
    VxDList<Period> periods;
    periods.Append({600, 700});
    periods.Append({480, 500});
    periods.MoveToFirst();
    const SolxTimeList list(periods, 480.0, 960.0, 0.0);
    EXPECT_DOUBLE_EQ(list.GetTotalTime(), 120);
    EXPECT_DOUBLE_EQ(list.GetMaxContinueTime(), 100);
    EXPECT_EQ(periods.GetCur(), 0);
    EXPECT_DOUBLE_EQ(periods.GetCurData().x, 600);
}

// Without an explicit minimum the current standard's applies.
TEST(SolxTimeList, UsesTheCurrentStandardsMinimum) {
    const int saved = g_SunDataSet.m_nCurStd;
    const double savedMin = g_SunDataSet.CurStd().m_dMinPeriod;
    g_SunDataSet.CurStd().m_dMinPeriod = 30;
    const std::vector<VxGePoint> periods{{480, 500}, {600, 640}};
    const SolxTimeList list(periods, 480.0, 960.0);
    EXPECT_DOUBLE_EQ(list.GetTotalTime(), 40);
    g_SunDataSet.CurStd().m_dMinPeriod = savedMin;
    g_SunDataSet.m_nCurStd = saved;
}

}  // namespace
