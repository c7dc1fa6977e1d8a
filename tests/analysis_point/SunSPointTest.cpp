// One point's sunlit periods: on scenes whose shadows are worked out by hand (a long wall, a
// point above everything, a closed courtyard), against the one-call shadow tests of a building
// list and a face list at random points, and the texts of a result.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>

#include "SunSPoint.h"
#include "WinSunAna.h"
#include "solx/SolxShadowCore.h"
#include "solx/SolxSunPlace.h"

namespace {

constexpr double kPi = std::numbers::pi;

SolxSunSetting Beijing(int start, int end, int step) {
    SolxSunSetting s;
    s.longitude = 116.4;
    s.latitude = 39.9;
    s.declination = -20.0;  // about 20 January
    s.startMinute = start;
    s.endMinute = end;
    s.stepMinutes = step;
    return s;
}

std::unique_ptr<SolxBuilding> Box(double x0, double y0, double x1, double y1, double height,
                                  double elevation = 0.0) {
    return std::make_unique<SolxBuilding>(
        std::vector<VxGePoint>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, elevation, height);
}

// The sun toward which a point looks at minute t: (x, y, z) pointing at the sun.
VxGePoint TowardSun(const SolxSunSetting& s, double t) {
    double alt = 0, azi = 0, third = 0;
    getSunPlace(s.longitude, s.latitude, s.declination, t / 60.0, alt, azi, third);
    // Light travels along (cos alt cos(pi/2 - azi), cos alt sin(pi/2 - azi), -sin alt).
    return {-std::cos(alt) * std::cos(kPi / 2 - azi), -std::cos(alt) * std::sin(kPi / 2 - azi),
            std::sin(alt)};
}

// Periods from lit answers by cells: a lit sample t stands for [t - step/2, t + step/2] cut to
// the period; touching cells join.
std::vector<std::pair<double, double>> Cells(const SolxSunSetting& s,
                                             const std::function<bool(double)>& lit) {
    std::vector<std::pair<double, double>> out;
    for (double t = s.startMinute; t - s.endMinute <= 0.001; t += s.stepMinutes) {
        if (!lit(t)) continue;
        const double a = std::max<double>(s.startMinute, t - s.stepMinutes / 2.0);
        const double b = std::min<double>(s.endMinute, t + s.stepMinutes / 2.0);
        if (!(a < b)) continue;
        if (!out.empty() && std::abs(out.back().second - a) < 1e-9)
            out.back().second = b;
        else
            out.emplace_back(a, b);
    }
    return out;
}

void ExpectPeriods(const std::vector<VxGePoint>& got,
                   const std::vector<std::pair<double, double>>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].x, want[i].first, 1e-9) << i;
        EXPECT_NEAR(got[i].y, want[i].second, 1e-9) << i;
    }
}

// A wall 40 km long running east-west, its north face `distance` south of the origin, 2 m thick
// and `height` high: the origin is shaded when the line toward the sun meets the north face
// below the top (the line climbs as it goes south, so the face is where it is lowest).
TEST(SPointScene, NorthOfALongWallGetsThePeriodsOfTheSunPath) {
    for (const auto& [distance, height, step] :
         {std::tuple{20000.0, 9000.0, 10}, {35000.0, 15000.0, 1}, {8000.0, 3000.0, 7}}) {
        const SolxSunSetting s = Beijing(480, 960, step);
        SolxBuildingList buildings;
        buildings.push_back(Box(-2e7, -distance - 2000, 2e7, -distance, height));
        const SPointEvaluator eval(std::move(buildings), {}, s);
        const auto lit = [&](double t) {
            const VxGePoint up = TowardSun(s, t);
            if (up.z <= 0) return false;
            if (up.y >= 0) return true;
            const double k = distance / -up.y;
            return k * up.z >= height;
        };
        ExpectPeriods(eval.Periods({0, 0, 0}), Cells(s, lit));
        // The periods are neither empty nor the whole day: the wall really cuts the day.
        const auto cells = Cells(s, lit);
        ASSERT_FALSE(cells.empty());
        EXPECT_FALSE(cells.size() == 1 && cells[0].first == 480 && cells[0].second == 960);
    }
}

TEST(SPointScene, HighAboveEverythingIsSunlitAllDayAndACourtyardNever) {
    const SolxSunSetting s = Beijing(480, 960, 10);
    SolxBuildingList buildings;
    // A courtyard 20 m across inside walls 30 m high, and a tower beside it.
    buildings.push_back(Box(-12000, -12000, 12000, -10000, 30000));
    buildings.push_back(Box(-12000, 10000, 12000, 12000, 30000));
    buildings.push_back(Box(-12000, -10000, -10000, 10000, 30000));
    buildings.push_back(Box(10000, -10000, 12000, 10000, 30000));
    buildings.push_back(Box(20000, -5000, 30000, 5000, 60000));
    const SPointEvaluator eval(std::move(buildings), {}, s);
    ExpectPeriods(eval.Periods({0, 0, 61000}), {{480, 960}});
    EXPECT_TRUE(eval.Periods({0, 0, 0}).empty());
    EXPECT_TRUE(eval.Periods({0, 0, 1500}).empty());
    // Inside a building, under its roof: dark all day, and said to be inside.
    EXPECT_TRUE(eval.Periods({25000, 0, 1000}).empty());
    EXPECT_TRUE(eval.InsideBuilding({25000, 0, 1000}));
    EXPECT_FALSE(eval.InsideBuilding({25000, 0, 61000}));  // above its roof
    EXPECT_FALSE(eval.InsideBuilding({0, 0, 1000}));       // in the courtyard
    EXPECT_FALSE(eval.InsideBuilding({31000, 0, 1000}));   // beside it
}

// The prepared group answers as the one-call tests over the valid buildings' outlines and
// heights and over every face would, at random points and every sample of a day.
TEST(SPointScene, PreparedGroupEqualsTheOneCallTestsAtRandomPoints) {
    std::mt19937 rng(20261206);
    std::uniform_real_distribution<double> coord(-60000, 60000), size(3000, 20000),
        tall(-5000, 45000), z(-2000, 50000);
    SolxBuildingList buildings;
    std::vector<SolxOutline2d> outlines;
    std::vector<VxGePoint> heights;
    for (int i = 0; i < 40; ++i) {
        const double x = coord(rng), y = coord(rng), w = size(rng), d = size(rng);
        const double h = i % 9 == 0 ? 0.0 : tall(rng);  // some flat (invalid) ones
        auto b = Box(x, y, x + w, y + d, h, i % 5 == 0 ? 3000.0 : 0.0);
        if (b->IsValid()) {
            outlines.push_back(b->Outline());
            heights.emplace_back(b->Elevation(), b->Height(), 0.0);
        }
        buildings.push_back(std::move(b));
    }
    buildings.push_back(std::make_unique<SolxBuilding>(std::vector<VxGePoint>{{0, 0}, {5000, 0}},
                                                       0.0, 10000.0));  // two points: left out
    std::vector<SolxFace3d> faces;
    SolxShadowSourceList sources;
    for (int i = 0; i < 6; ++i) {
        auto source = std::make_unique<SolxShadowSource>();
        const double x = coord(rng), y = coord(rng), top = 10000 + tall(rng);
        source->AddQuad({x, y, top}, {x + 15000, y, top - 4000}, {x + 15000, y + 9000, top - 4000},
                        {x, y + 9000, top});
        source->AddTriangle({x, y, 0}, {x + 8000, y - 6000, top}, {x - 3000, y - 7000, top / 2});
        for (const SolxFace3d& f : source->Faces()) faces.push_back(f);
        sources.push_back(std::move(source));
    }
    const SolxSunSetting s = Beijing(450, 990, 15);
    const SPointEvaluator eval(std::move(buildings), std::move(sources), s);
    int shaded = 0, total = 0;
    for (int i = 0; i < 300; ++i) {
        const VxGePoint p(coord(rng), coord(rng), z(rng));
        std::vector<bool> answers;
        for (const SolxSunSample& sample : eval.Samples()) {
            const VxGePoint ray = sample.Ray();
            const bool oneCall = IsShadowByBuilding(p, outlines, heights, ray) != 0 ||
                                 IsShadowByShape(p, faces, ray) != 0;
            ASSERT_EQ(eval.Group().IsPointShadowed(p, ray, nullptr) != 0, oneCall)
                << i << " at " << sample.minute;
            answers.push_back(!oneCall);
            shaded += oneCall;
            ++total;
        }
        size_t k = 0;
        std::vector<bool> lit = answers;
        ExpectPeriods(eval.Periods(p), Cells(s, [&](double) { return lit[k++]; }));
    }
    // The scene is neither all light nor all shade.
    EXPECT_GT(shaded, total / 20);
    EXPECT_LT(shaded, total - total / 20);
}

// The window analysis and the point analysis sample alike: a window facing south that stands
// free (no wall of its own among the obstructions), on a winter day when the sun never goes
// behind its plane, gets the periods of its test point.
TEST(SPointScene, AFreeWindowFacingSouthGetsThePeriodsOfItsTestPoint) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> x(-40000, 40000), y(-60000, -8000), size(3000, 15000),
        tall(3000, 40000), sill(0, 12000);
    SolxBuildingList buildings;
    for (int i = 0; i < 25; ++i) {
        const double x0 = x(rng), y0 = y(rng);
        buildings.push_back(Box(x0, y0, x0 + size(rng), y0 + size(rng) / 2, tall(rng)));
    }
    const SolxSunSetting s = Beijing(480, 960, 5);
    const SPointEvaluator eval(std::move(buildings), {}, s);
    const WinSunRule rule{480, 960, 5, 1, 0, 0};
    int cut = 0;
    for (int i = 0; i < 40; ++i) {
        SolxWindowBlock block;
        block.insertion = {x(rng), 0.0, sill(rng)};
        block.rotation = 0.0;  // the wall runs east-west, the window looks south
        block.width = 1500;
        block.depth = 200;
        block.height = 1500;
        SolxWinSunlightInfo win(block, 100.0);
        SampleWindowSunlight(win, eval.Group(), eval.Samples(), rule);
        std::vector<std::pair<double, double>> window;
        for (const VxGePoint* p = win.m_sunlit.GetFirst(); p; p = win.m_sunlit.GetNext(p))
            window.emplace_back(p->x, p->y);
        const std::vector<VxGePoint> point = eval.Periods(win.GetTestPoint());
        ExpectPeriods(point, window);
        cut += !(point.size() == 1 && point[0].x == 480 && point[0].y == 960);
    }
    EXPECT_GT(cut, 10);  // most windows are shaded part of the day
}

// The sampling cases of a period: one sample, a step that does not divide it, every sample lit.
TEST(SPointScene, SampleCountsAndHalfStepsAtTheEnds) {
    const SPointEvaluator one({}, {}, Beijing(720, 720, 10));
    ASSERT_EQ(one.Samples().size(), 1u);
    EXPECT_TRUE(one.Periods({0, 0, 0}).empty());  // a lit sample with no length
    const SPointEvaluator seven({}, {}, Beijing(480, 500, 7));
    ASSERT_EQ(seven.Samples().size(), 3u);  // 480, 487, 494; 501 is past the end
    ExpectPeriods(seven.Periods({0, 0, 0}), {{480, 497.5}});
    const SPointEvaluator whole({}, {}, Beijing(480, 960, 10));
    EXPECT_EQ(whole.Samples().size(), 49u);
    ExpectPeriods(whole.Periods({0, 0, 0}), {{480, 960}});
}

TEST(SPointTexts, ReportAndTipRows) {
    const SPointTexts two = MakeSPointTexts({{480, 595, 0}, {605, 960, 0}}, 480, 960);
    EXPECT_EQ(two.report,
              L"最长有效连照：5:55；总有效日照：7:50; 日照时段：8:00～9:55；10:05～16:00；");
    ASSERT_EQ(two.rows.size(), 3u);
    EXPECT_EQ(two.rows[0].name, L"最长有效连照");
    EXPECT_EQ(two.rows[0].value, L"5:55");
    EXPECT_EQ(two.rows[1].name, L"总有效日照");
    EXPECT_EQ(two.rows[1].value, L"7:50");
    EXPECT_EQ(two.rows[2].name, L"日照时段");
    EXPECT_EQ(two.rows[2].value, L"8:00～9:55 10:05～16:00 ");

    const SPointTexts none = MakeSPointTexts({}, 480, 960);
    EXPECT_EQ(none.report, L"最长有效连照：0:00；总有效日照：0:00");
    EXPECT_EQ(none.rows[2].value, L"");

    // Periods that overlap count once in the totals.
    const SPointTexts half = MakeSPointTexts({{480, 497.5, 0}}, 480, 500);
    EXPECT_EQ(half.longest, L"0:18");  // 17.5 minutes rounded to the minute
}

TEST(SPointTexts, HeaderShowsWholeHours) {
    SolxSunSetting s = Beijing(8 * 60 + 30, 17 * 60 + 45, 5);
    const std::wstring header = SPointHeader(s, 1500.0);
    EXPECT_NE(header.find(L"测试时间：8～17；时间间隔：5分；计算高度：1500\n"), std::wstring::npos)
        << header.size();
    EXPECT_NE(SPointHeader(s, 1.25).find(L"计算高度：1.25\n"), std::wstring::npos);
}

}  // namespace
