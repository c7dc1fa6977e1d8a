// Sampling of a window into sunlit intervals, and the sort orders of the window table.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "WinSunAna.h"
#include "solx/SolxDataSet.h"
#include "solx/SolxDate.h"
#include "solx/SolxDegree.h"

namespace {

constexpr double kPi = std::numbers::pi;

// A window at the origin facing south (wall along +x), 1.5 m wide, test points 100 out.
SolxWinSunlightInfo SouthWindow() {
    SolxWindowBlock b;
    b.width = 1500;
    b.depth = 200;
    return SolxWinSunlightInfo(b, 100.0);
}

SolxSunSample Sample(double minute, const VxGePoint& towardsSun) {
    SolxSunSample s;
    s.minute = minute;
    s.ray = AcGeVector3d(-towardsSun.x, -towardsSun.y, -towardsSun.z);
    return s;
}

// A sun standing `elevation` degrees off the plane of a south-facing window (in front of it,
// behind it when negative), 30 degrees up along the wall otherwise.
SolxSunSample Sun(double minute, double elevation) {
    const double e = elevation * kPi / 180.0, up = kPi / 6;
    return Sample(minute, {std::cos(e) * std::cos(up), -std::sin(e), std::cos(e) * std::sin(up)});
}

// A sun due south at the given altitude.
SolxSunSample SouthSun(double minute, double altitude) {
    const double h = altitude * kPi / 180.0;
    return Sample(minute, {0.0, -std::cos(h), std::sin(h)});
}

std::vector<VxGePoint> Intervals(const SolxWinSunlightInfo& w) {
    std::vector<VxGePoint> out;
    for (const VxGePoint* p = w.m_sunlit.GetFirst(); p; p = w.m_sunlit.GetNext(p))
        out.push_back(*p);
    return out;
}

std::vector<SolxSunSample> Samples(int start, int end, int step, double elevation) {
    std::vector<SolxSunSample> out;
    for (double t : SunSampleMinutes(start, end, step)) out.push_back(Sun(t, elevation));
    return out;
}

TEST(WinSunAnaSampling, LitCellsMergeAndClipToThePeriod) {
    SolxBuildingEx open;  // no obstructions
    open.CalExtend3D();
    SolxWinSunlightInfo w = SouthWindow();
    struct Case {
        const char* name;
        int step;
        int darkFrom;  // samples from this minute on have the sun behind the window
        std::vector<VxGePoint> expected;
    };
    const Case cases[] = {
        {"lit at 8 and 9, dark from 10", 60, 600, {{480, 570, 0}}},
        {"lit all day, whole steps", 60, 10000, {{480, 960, 0}}},
        {"lit all day, last step partial", 7, 10000, {{480, 959.5, 0}}},
        {"dark all day", 60, 0, {}},
    };
    for (const Case& c : cases) {
        std::vector<SolxSunSample> samples = Samples(480, 960, c.step, 30);
        for (SolxSunSample& s : samples)
            if (s.minute >= c.darkFrom) s = Sun(s.minute, -30);
        WinSunRule rule{480, 960, c.step, 1, 0, 0};
        SampleWindowSunlight(w, open, samples, rule);
        const std::vector<VxGePoint> got = Intervals(w);
        ASSERT_EQ(got.size(), c.expected.size()) << c.name;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_DOUBLE_EQ(got[i].x, c.expected[i].x) << c.name;
            EXPECT_DOUBLE_EQ(got[i].y, c.expected[i].y) << c.name;
        }
    }
}

TEST(WinSunAnaSampling, AngleLimitCountsNearlyWholeDegreesUp) {
    SolxBuildingEx open;
    open.CalExtend3D();
    SolxWinSunlightInfo w = SouthWindow();
    const WinSunRule limited{480, 540, 60, 0, 15, 0};
    struct Case {
        double elevation;
        bool lit;
    };
    for (const Case& c : {Case{14.9999999, true}, Case{14.99, false}, Case{15.5, true},
                          Case{40, true}, Case{-1, false}}) {
        SampleWindowSunlight(w, open, {Sun(480, c.elevation)}, limited);
        EXPECT_EQ(!Intervals(w).empty(), c.lit) << c.elevation;
    }
    // Without the limit a low sun in front of the window counts.
    SampleWindowSunlight(w, open, {Sun(480, 5)}, WinSunRule{480, 540, 60, 1, 15, 0});
    EXPECT_EQ(Intervals(w).size(), 1u);
}

TEST(WinSunAnaSampling, SecondPointOnlyMattersWithTwoPoints) {
    // A tall post 2 m in front of the east end of the sill shades that end only.
    SolxBuildingEx group;
    group.AddBuilding(std::make_unique<SolxBuilding>(
        std::vector<VxGePoint>{{600, -3000}, {900, -3000}, {900, -2000}, {600, -2000}}, 0.0,
        10000.0));
    group.CalExtend3D();
    SolxWinSunlightInfo w = SouthWindow();
    const std::vector<SolxSunSample> noon = {SouthSun(720, 30)};
    SampleWindowSunlight(w, group, noon, WinSunRule{720, 780, 60, 1, 0, 0});
    EXPECT_EQ(Intervals(w).size(), 1u) << "the middle of the sill is lit";
    SampleWindowSunlight(w, group, noon, WinSunRule{720, 780, 60, 1, 0, 1});
    EXPECT_EQ(Intervals(w).size(), 0u) << "both sill ends: the east one is shaded";
}

TEST(WinSunAnaTexts, PeriodsJoinedByNewlinesOrZero) {
    SolxWinSunlightInfo w = SouthWindow();
    EXPECT_EQ(PeriodsText(ShownPeriods(w, false, 0.0)), L"0");
    w.m_sunlit.Append(VxGePoint(480, 570, 0));
    w.m_sunlit.Append(VxGePoint(600, 660, 0));
    EXPECT_EQ(PeriodsText(ShownPeriods(w, false, 0.0)), L"8:00～9:30\n10:00～11:00");
}

// Sampled periods end on half minutes. What a reviewer adds up from the shown periods must be
// the shown total, a period that rounds to nothing is not shown, and a period below the
// standard's minimum is marked and left out of the total and the longest.
TEST(WinSunAnaTexts, ShownPeriodsAddUpToTheShownTotal) {
    struct Case {
        const char* name;
        std::vector<VxGePoint> sunlit;
        double minPeriod;
        std::wstring text;
        int total, longest;
    };
    const Case cases[] = {
        {"half-minute start", {{763.5, 960, 0}}, 0, L"12:44～16:00", 196, 196},
        {"two half-minute ends",
         {{600.5, 630.5, 0}, {700.5, 760.5, 0}},
         0,
         L"10:01～10:31\n11:41～12:41",
         90,
         60},
        {"rounds to nothing", {{959.6, 960, 0}, {600, 660, 0}}, 0, L"10:00～11:00", 60, 60},
        {"short one marked",
         {{600, 603.5, 0}, {700, 760, 0}},
         5,
         L"10:00～10:04*\n11:40～12:40",
         60,
         60},
        {"touching ones join", {{600, 630.5, 0}, {630.5, 640, 0}}, 35, L"10:00～10:40", 40, 40},
    };
    for (const Case& c : cases) {
        SolxWinSunlightInfo w = SouthWindow();
        for (const VxGePoint& p : c.sunlit) w.m_sunlit.Append(p);
        const std::vector<WinShownPeriod> shown = ShownPeriods(w, false, c.minPeriod);
        EXPECT_EQ(PeriodsText(shown), c.text) << c.name;
        EXPECT_EQ(CountedTotal(shown), c.total) << c.name;
        EXPECT_EQ(CountedLongest(shown), c.longest) << c.name;
    }
}

SolxWinSunlightInfo* Window(int floor, int number, const wchar_t* label) {
    SolxWindowBlock b;
    b.floor = floor;
    b.number = number;
    b.label = label;
    return new SolxWinSunlightInfo(b, 0.0);
}

TEST(WinSunAnaSort, OrdersByFloorOrByNumberAndLabel) {
    struct Case {
        const char* name;
        int (*compare)(SolxWinSunlightInfo* const&, SolxWinSunlightInfo* const&);
        std::unique_ptr<SolxWinSunlightInfo> first, second;  // first sorts before second
    };
    Case cases[] = {
        {"floor first", CompareWindowsByFloor,
         std::unique_ptr<SolxWinSunlightInfo>(Window(1, 9, L"")),
         std::unique_ptr<SolxWinSunlightInfo>(Window(2, 1, L""))},
        {"then position", CompareWindowsByFloor,
         std::unique_ptr<SolxWinSunlightInfo>(Window(2, 1, L"")),
         std::unique_ptr<SolxWinSunlightInfo>(Window(2, 3, L""))},
        {"position first", CompareWindowsByNumber,
         std::unique_ptr<SolxWinSunlightInfo>(Window(9, 1, L"")),
         std::unique_ptr<SolxWinSunlightInfo>(Window(1, 2, L""))},
        {"numeric suffix", CompareWindowsByNumber,
         std::unique_ptr<SolxWinSunlightInfo>(Window(3, 5, L"3-9")),
         std::unique_ptr<SolxWinSunlightInfo>(Window(3, 5, L"3-12"))},
        {"numeric prefix", CompareWindowsByNumber,
         std::unique_ptr<SolxWinSunlightInfo>(Window(3, 5, L"9-20")),
         std::unique_ptr<SolxWinSunlightInfo>(Window(3, 5, L"10-1"))},
        {"no dash compares whole", CompareWindowsByNumber,
         std::unique_ptr<SolxWinSunlightInfo>(Window(3, 5, L"A2")),
         std::unique_ptr<SolxWinSunlightInfo>(Window(3, 5, L"A10"))},
    };
    for (Case& c : cases) {
        SolxWinSunlightInfo* a = c.first.get();
        SolxWinSunlightInfo* b = c.second.get();
        EXPECT_LT(c.compare(a, b), 0) << c.name;
        EXPECT_GT(c.compare(b, a), 0) << c.name;
        EXPECT_EQ(c.compare(a, a), 0) << c.name;
    }
}

}  // namespace

namespace {

TEST(WinSunAnaTexts, ClippingKeepsTheValidRangeOnly) {
    SolxWinSunlightInfo w = SouthWindow();
    const VxGePoint valid = GetShanghaiValidTime(WinNormalAngle(w));
    const double vs = valid.x * 60, ve = valid.y * 60;
    ASSERT_LT(vs + 60, ve);
    w.m_sunlit.Append(VxGePoint(vs - 120, vs - 60, 0));  // wholly before the range: dropped
    w.m_sunlit.Append(VxGePoint(vs - 30, vs + 30, 0));   // straddles the start: clipped
    w.m_sunlit.Append(VxGePoint(ve - 20, ve + 100, 0));  // straddles the end: clipped
    const std::vector<WinShownPeriod> clipped = ShownPeriods(w, true, 0.0);
    auto clock = [](double m) { return SolxDegree(m / 60).TimeFormat(false); };
    EXPECT_EQ(PeriodsText(clipped),
              clock(vs) + L"～" + clock(vs + 30) + L"\n" + clock(ve - 20) + L"～" + clock(ve));
    EXPECT_EQ(CountedTotal(clipped), 50);
    EXPECT_EQ(CountedLongest(clipped), 30);
    const std::vector<WinShownPeriod> whole = ShownPeriods(w, false, 0.0);
    EXPECT_EQ(CountedTotal(whole), 60 + 60 + 120);
    EXPECT_EQ(CountedLongest(whole), 120);
}

}  // namespace

namespace {

// 大寒 in Beijing, 8:00 to 16:00 every minute, with the sun's computed path.
std::vector<SolxSunSample> GreatColdDay(SolxSunSetting& setting) {
    setting.longitude = 116.4;
    setting.latitude = 39.9;
    setting.declination = SolxDate(2026, 1, 20).GetDgLat();
    setting.startMinute = 480;
    setting.endMinute = 960;
    setting.stepMinutes = 1;
    setting.noAngleLimit = 1;
    return SampleSun(setting);
}

TEST(WinSunAnaSampling, WindowBehindAWallOfKnownHeightOnTheSunsPath) {
    // A wall 12 m high whose north face runs east-west 20 m south of the window at 3 m.
    const double D = 20000, H = 12000, z = 3000;
    SolxBuildingEx group;
    group.AddBuilding(std::make_unique<SolxBuilding>(
        std::vector<VxGePoint>{{-1e6, -D - 300}, {1e6, -D - 300}, {1e6, -D}, {-1e6, -D}}, 0.0, H));
    group.CalExtend3D();
    SolxWindowBlock b;
    b.insertion = {0, 0, z};
    SolxWinSunlightInfo w(b, 0.0);
    SolxSunSetting setting;
    const std::vector<SolxSunSample> samples = GreatColdDay(setting);
    SampleWindowSunlight(w, group, samples, WinSunRule{480, 960, 1, 1, 0, 0});
    // Lit runs of samples, each widened by half a step and clipped to the period.
    std::vector<VxGePoint> expected;
    for (size_t i = 0; i < samples.size(); ++i) {
        const SolxSunSample& s = samples[i];
        const bool lit = std::tan(s.altitude) * D / std::cos(s.azimuth) >= H - z;
        if (!lit) continue;
        if (i == 0 || expected.empty() || expected.back().y < s.minute - 0.5)
            expected.push_back({std::max(480.0, s.minute - 0.5), 0, 0});
        expected.back().y = std::min(960.0, s.minute + 0.5);
    }
    const std::vector<VxGePoint> got = Intervals(w);
    ASSERT_EQ(got.size(), expected.size());
    ASSERT_FALSE(got.empty());  // the sun clears the wall around noon
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_DOUBLE_EQ(got[i].x, expected[i].x);
        EXPECT_DOUBLE_EQ(got[i].y, expected[i].y);
    }
    EXPECT_GT(got.front().x, 480.0);  // but not early in the morning
}

TEST(WinSunAnaSampling, NorthWindowGetsNoSunOnTheGreatColdDay) {
    SolxBuildingEx open;
    open.CalExtend3D();
    SolxWindowBlock b;
    b.rotation = std::numbers::pi;  // wall runs west: the window faces north
    SolxWinSunlightInfo w(b, 100.0);
    SolxSunSetting setting;
    SampleWindowSunlight(w, open, GreatColdDay(setting), WinSunRule{480, 960, 1, 1, 0, 0});
    EXPECT_TRUE(Intervals(w).empty());
    EXPECT_EQ(PeriodsText(ShownPeriods(w, false, 0.0)), L"0");
}

}  // namespace
