// The micro-region method settles whole boxes of ground without building their faces when no
// level can change across them. Checked here: the rule it relies on (sunlight never falls when
// a sample turns lit), and on a generated district the outlines against a brute-force grid of
// ray-cast points and against the faces built everywhere.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

#include "DistrictModel.h"
#include "MicroRegion.h"
#include "RegionChecks.h"
#include "solx/SolxBuildingEx.h"
#include "solx/SolxTimeList.h"

namespace {

using region_checks::DistanceToRings;
using region_checks::InAny;

// The sunlight of a run of lit and dark samples, as the method and the point analysis count it.
double Sunlight(const std::vector<char>& lit, double start, double end, double step,
                double minPeriod, bool longest) {
    SolxSunlitRun run(start, end, step);
    for (size_t i = 0; i < lit.size(); ++i) run.Add(start + step * i, lit[i] != 0);
    const SolxTimeList time(run.Finish(), start, end, minPeriod);
    return longest ? time.GetMaxContinueTime() : time.GetTotalTime();
}

// Turning any dark sample lit never lowers the total or the longest sunlight, whatever the
// least counted period: the bounds of a box come from its surely lit and possibly lit samples.
TEST(MicroRegionSettle, SunlightGrowsWithTheLitSamples) {
    std::mt19937 random(7);
    for (double minPeriod : {0.0, 5.0, 10.0, 30.0})
        for (int trial = 0; trial < 400; ++trial) {
            const int n = 5 + static_cast<int>(random() % 80);
            const double step = trial % 2 ? 6.0 : 10.0;
            const double start = 480.0, end = start + step * (n - 1) - (trial % 3);
            std::vector<char> lit(static_cast<size_t>(n));
            for (char& l : lit) l = random() % 3 == 0;
            std::vector<char> more = lit;
            for (char& l : more) l = l || random() % 4 == 0;
            for (bool longest : {false, true}) {
                const double less = Sunlight(lit, start, end, step, minPeriod, longest);
                const double most = Sunlight(more, start, end, step, minPeriod, longest);
                ASSERT_LE(less, most + 1e-9)
                    << "trial " << trial << " min period " << minPeriod << " longest " << longest;
            }
        }
}

struct Scene {
    MicroRegionInput input;
    SolxBuildingEx group;  // the same prisms, ray cast
    VxGeExtent plan;       // of the buildings
};

// A generated district as prisms only (the brute force casts rays against prisms), 大寒 in
// Beijing, 8:00 to 16:00 at 6 minutes, the 1, 2 and 3-hour levels.
void MakeScene(int buildings, Scene& scene) {
    district::Options options;
    options.buildings = buildings;
    options.seed = 3;
    const district::District d = district::MakeDistrict(options);
    for (const district::Slab& s : d.slabs) {
        scene.input.outlines.push_back(s.outline);
        scene.input.baseAndHeight.emplace_back(s.elevation, s.height);
        scene.group.AddBuilding(std::make_unique<SolxBuilding>(s.outline, s.elevation, s.height));
        for (const VxGePoint& p : s.outline) scene.plan.Add(p);
    }
    scene.group.CalExtend3D();
    scene.input.levels = {1.0, 2.0, 3.0};
    SolxSunSetting& sun = scene.input.sun;
    sun.longitude = 116.4;
    sun.latitude = 39.9;
    sun.declination = -20.2;
    sun.startMinute = 480;
    sun.endMinute = 960;
    sun.stepMinutes = 6;
    sun.noAngleLimit = 1;
}

double Area(const std::vector<VxGeRegion2d>& regions) {
    double area = 0.0;
    for (const VxGeRegion2d& r : regions) area += r.Area();
    return area;
}

double Perimeter(const std::vector<VxGeRegion2d>& regions) {
    double length = 0.0;
    for (const VxGeRegion2d& r : regions) {
        std::vector<VxGeLineSeg2d> segments;
        ExplodePoly2D(r.outer, segments);
        for (const VxGePolyline2d& h : r.holes) ExplodePoly2D(h, segments);
        for (const VxGeLineSeg2d& s : segments) length += s.start.Distance2d(s.end);
    }
    return length;
}

// Eight generated buildings in small tiles and boxes, so that many boxes are settled whole and
// many are arranged. Against a 2.5 m grid of ray-cast points: a point more than one cell from a
// level's outline lies inside it exactly when its sunlight is below the level, and the area inside
// agrees with the cells below within one cell along the outline. Against the faces built
// everywhere (nothing settled): the same outlines, up to a millimetre.
TEST(MicroRegionSettle, SettledDistrictAgreesWithRayCastGrid) {
    Scene scene;
    MakeScene(8, scene);
    scene.input.segmentsPerTile = 400;
    scene.input.segmentsPerBox = 100;
    MicroRegionMonitor quiet;
    const MicroRegionResult fast = ComputeMicroRegions(scene.input, quiet);
    ASSERT_EQ(fast.outcome, MicroRegionOutcome::Done);
    ASSERT_EQ(fast.merged.size(), 3u);
    EXPECT_GT(fast.settledBoxes, 20u);
    EXPECT_GT(fast.arrangedBoxes, 10u);
    MicroRegionInput plainInput = scene.input;
    plainInput.segmentsPerBox = 0;
    const MicroRegionResult plain = ComputeMicroRegions(plainInput, quiet);
    ASSERT_EQ(plain.outcome, MicroRegionOutcome::Done);
    EXPECT_EQ(plain.settledBoxes, 0u);

    SolxSunSetting sun = scene.input.sun;
    const std::vector<SolxSunSample> samples = SampleSun(sun);
    const double cell = 2500.0;
    // Shadows reach far north of the buildings on a winter morning and afternoon.
    const double x0 = scene.plan.minX - 60000.37, x1 = scene.plan.maxX + 60000;
    const double y0 = scene.plan.minY - 10000.61, y1 = scene.plan.maxY + 90000;
    int cellsBelow[3] = {0, 0, 0}, farChecked = 0;
    for (double x = x0; x < x1; x += cell)
        for (double y = y0; y < y1; y += cell) {
            const VxGePoint p(x, y);
            const auto periods = scene.group.SunlitPeriods(
                VxGePoint(x, y, 0.0), samples, sun.startMinute, sun.endMinute, sun.stepMinutes);
            const double v = SolxTimeList(periods, sun.startMinute, sun.endMinute).GetTotalTime();
            for (size_t k = 0; k < 3; ++k) {
                const bool below = v < scene.input.levels[k] * 60 - 1e-6;
                cellsBelow[k] += below;
                const bool inFast = InAny(fast.merged[k], p);
                if (inFast != below && DistanceToRings(fast.merged[k], p) > cell) {
                    ADD_FAILURE() << "level " << scene.input.levels[k] << " at " << x << "," << y
                                  << ": " << v << " minutes";
                }
                if (inFast != InAny(plain.merged[k], p)) {
                    EXPECT_LT(DistanceToRings(plain.merged[k], p), 1.0) << x << "," << y;
                }
                ++farChecked;
            }
        }
    EXPECT_GT(farChecked, 5000);
    for (size_t k = 0; k < 3; ++k) {
        SCOPED_TRACE(scene.input.levels[k]);
        EXPECT_GT(cellsBelow[k], 20);
        const double expected = cellsBelow[k] * cell * cell;
        EXPECT_NEAR(Area(fast.merged[k]), expected, Perimeter(fast.merged[k]) * cell);
        EXPECT_NEAR(Area(fast.merged[k]), Area(plain.merged[k]), Perimeter(plain.merged[k]) * 1.0);
        for (const VxGeRegion2d& r : fast.merged[k]) {
            EXPECT_TRUE(r.outer.IsValid());
            EXPECT_FALSE(r.outer.IsClockwise());
        }
    }
}

}  // namespace
