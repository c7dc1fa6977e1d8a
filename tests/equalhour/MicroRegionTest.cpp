// The micro-region method against independent constructions: a brute-force grid of points, each
// evaluated by ray casting through the obstruction group (SolxBuildingEx::SunlitPeriods), and
// the analytic reach of a tower's shadows over the day; then degenerate districts, a district
// without shadows, and the user's break in each phase.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "MicroRegion.h"
#include "RegionChecks.h"
#include "solx/SolxBuildingEx.h"
#include "solx/SolxDate.h"
#include "solx/SolxTimeList.h"

namespace {

using region_checks::DistanceToRings;
using region_checks::InAny;

struct Box {
    double x0, y0, x1, y1, elevation, height;
};

// 大寒 in Beijing, the period in minutes.
SolxSunSetting GreatCold(int start, int end, int step) {
    SolxSunSetting s;
    s.longitude = 116.4;
    s.latitude = 39.9;
    s.declination = SolxDate(2026, 1, 20).GetDgLat();
    s.startMinute = start;
    s.endMinute = end;
    s.stepMinutes = step;
    s.noAngleLimit = 1;
    return s;
}

std::vector<VxGePoint> Outline(const Box& b) {
    return {{b.x0, b.y0}, {b.x1, b.y0}, {b.x1, b.y1}, {b.x0, b.y1}};
}

MicroRegionInput InputOf(const std::vector<Box>& boxes, std::vector<double> levels,
                         const SolxSunSetting& sun, double z) {
    MicroRegionInput input;
    for (const Box& b : boxes) {
        if (b.elevation + b.height < z + 0.01) continue;  // as the command keeps them
        input.outlines.push_back(Outline(b));
        input.baseAndHeight.emplace_back(b.elevation, b.height);
    }
    input.levels = std::move(levels);
    input.sun = sun;
    input.calcHeight = z;
    return input;
}

// The same obstructions as a ray-cast group, and the samples of the method's period.
struct BruteForce {
    SolxBuildingEx group;
    SolxSunSetting sun;
    std::vector<SolxSunSample> samples;
    double z = 0.0;

    BruteForce(const std::vector<Box>& boxes, const SolxSunSetting& s, double height) : sun(s) {
        for (const Box& b : boxes)
            group.AddBuilding(std::make_unique<SolxBuilding>(Outline(b), b.elevation, b.height));
        group.CalExtend3D();
        sun.stepMinutes = std::max(sun.stepMinutes, kMicroRegionMinStep);
        samples = SampleSun(sun);
        z = height;
    }
    double Sunlight(double x, double y) const {
        const auto periods = group.SunlitPeriods(VxGePoint(x, y, z), samples, sun.startMinute,
                                                 sun.endMinute, sun.stepMinutes);
        return SolxTimeList(periods, sun.startMinute, sun.endMinute).GetTotalTime();
    }
    bool EverShadowed(double x, double y) const {
        for (const SolxSunSample& s : samples)
            if (group.IsPointShadowed(VxGePoint(x, y, z), s.Ray(), nullptr)) return true;
        return false;
    }
};

// Every ring closed, of 3 or more points and some area; outer rings counter-clockwise.
void ExpectValidOutlines(const std::vector<VxGeRegion2d>& regions) {
    for (const VxGeRegion2d& r : regions) {
        EXPECT_GE(r.outer.GetNodeNum(), 3);
        EXPECT_TRUE(r.outer.IsValid());
        EXPECT_FALSE(r.outer.IsClockwise());
        for (const VxGePolyline2d& h : r.holes) EXPECT_TRUE(h.IsValid());
    }
}

struct DistrictCase {
    const char* name;
    std::vector<Box> boxes;
    double z;
    size_t segmentsPerTile = 1000;
};

class MicroRegionGrid : public ::testing::TestWithParam<DistrictCase> {};

// Points of a grid 1.3 m apart (offset so that none falls on a building edge): the sunlight the
// method gives a point equals the ray-cast sunlight, and a point lies inside a level's outline
// exactly when its ray-cast sunlight is below the level, except within 1 mm of the outline.
TEST_P(MicroRegionGrid, LevelsAgreeWithRayCastPoints) {
    const DistrictCase& c = GetParam();
    const std::vector<double> levels{1.0, 2.0, 3.0};
    const SolxSunSetting sun = GreatCold(480, 960, 6);
    MicroRegionMonitor quiet;
    MicroRegionInput input = InputOf(c.boxes, levels, sun, c.z);
    input.segmentsPerTile = c.segmentsPerTile;
    const MicroRegionResult r = ComputeMicroRegions(input, quiet);
    ASSERT_EQ(r.outcome, MicroRegionOutcome::Done);
    ASSERT_EQ(r.merged.size(), levels.size());
    if (c.segmentsPerTile < 1000) {
        EXPECT_GT(r.tileCount, 20u);
    }
    MicroRegionShadows shadows;
    ASSERT_TRUE(ComputeShadowPhase(InputOf(c.boxes, levels, sun, c.z), quiet, shadows));
    const BruteForce brute(c.boxes, sun, c.z);
    int compared = 0, below[3] = {0, 0, 0};
    for (double x = -60000.37; x < 60000; x += 1300)
        for (double y = -30000.61; y < 90000; y += 1300) {
            const VxGePoint p(x, y);
            const double expected = brute.Sunlight(x, y);
            ASSERT_NEAR(MicroRegionSunlight(p, shadows, sun, 0), expected, 1e-6) << x << "," << y;
            for (size_t k = 0; k < levels.size(); ++k) {
                const bool isBelow = expected < levels[k] * 60 - 1e-6;
                below[k] += isBelow;
                if (InAny(r.merged[k], p) != isBelow) {
                    EXPECT_LT(DistanceToRings(r.merged[k], p), 1.0)
                        << c.name << " level " << levels[k] << " at " << x << "," << y;
                }
            }
            ++compared;
        }
    EXPECT_GT(compared, 8000);
    EXPECT_GT(below[0], 0) << "the district shades some ground below 1 hour";
    EXPECT_LE(below[0], below[1]);
    EXPECT_LE(below[1], below[2]);
    for (const auto& level : r.merged) ExpectValidOutlines(level);
}

const DistrictCase kDistricts[] = {
    {"SlabTowerAndLowBlock",
     {{-30000, 0, 10000, 12000, 0, 30000},
      {20000, 5000, 30000, 15000, 0, 60000},
      {-20000, 40000, 0, 50000, 0, 9000}},
     0.0},
    // Two identical buildings give identical shadows at every sample.
    {"IdenticalTwins", {{0, 0, 20000, 10000, 0, 24000}, {0, 0, 20000, 10000, 0, 24000}}, 0.0},
    // Touching walls, collinear edges, a building on a podium.
    {"TouchingAndCollinear",
     {{-20000, 0, 0, 10000, 0, 18000},
      {0, 0, 20000, 10000, 0, 27000},
      {20000, 0, 30000, 10000, 9000, 18000}},
     0.0},
    // The same arrangement cut into many small tiles: the lines run on across the tiles' edges.
    {"SlabTowerAndLowBlockInSmallTiles",
     {{-30000, 0, 10000, 12000, 0, 30000},
      {20000, 5000, 30000, 15000, 0, 60000},
      {-20000, 40000, 0, 50000, 0, 9000}},
     0.0,
     60},
    // A plane at 3 m: a 2.995 m shed casts nothing on it, the slab still does.
    {"PlaneAboveAShed",
     {{-30000, 0, 10000, 12000, 0, 30000}, {0, 30000, 5000, 35000, 0, 2995}},
     3000.0},
};

INSTANTIATE_TEST_SUITE_P(Districts, MicroRegionGrid, ::testing::ValuesIn(kDistricts),
                         [](const ::testing::TestParamInfo<DistrictCase>& p) {
                             return std::string(p.param.name);
                         });

// One tower, the whole period as the only level: the line is the outline of everything the
// tower ever shadows. It reaches from the tower's south face to the farthest northward shadow
// of its top and, east and west, to the farthest shadows of the afternoon and the morning.
TEST(MicroRegionFullPeriod, TowerOutlineReachesTheShadowTips) {
    const double h = 60000;
    const std::vector<Box> tower{{-5000, -5000, 5000, 5000, 0, h}};
    const SolxSunSetting sun = GreatCold(480, 960, 6);
    MicroRegionMonitor quiet;
    const MicroRegionResult r = ComputeMicroRegions(InputOf(tower, {8.0}, sun, 0.0), quiet);
    ASSERT_EQ(r.outcome, MicroRegionOutcome::Done);
    ASSERT_TRUE(r.fullPeriod);
    ASSERT_TRUE(r.hasFullRegion);
    EXPECT_EQ(r.regionCount, 0u) << "no arrangement was built";
    double north = -1e300, south = 1e300, east = -1e300, west = 1e300;
    for (const AcDbRegionPolygon& p : r.fullRegion)
        for (const AcGePoint2d& q : p.outer) {
            north = std::max(north, q.y), south = std::min(south, q.y);
            east = std::max(east, q.x), west = std::min(west, q.x);
        }
    double tipN = -1e300, tipE = -1e300, tipW = 1e300;
    for (const SolxSunSample& s : SampleSun(sun)) {
        const double dx = h * s.ray.x / -s.ray.z, dy = h * s.ray.y / -s.ray.z;
        tipN = std::max(tipN, 5000 + dy);
        tipE = std::max(tipE, 5000 + dx);
        tipW = std::min(tipW, -5000 + dx);
    }
    EXPECT_NEAR(north, tipN, 1.0);
    EXPECT_NEAR(south, -5000, 1.0);
    EXPECT_NEAR(east, tipE, 1.0);
    EXPECT_NEAR(west, tipW, 1.0);
}

// Samples before sunrise cast no shadow polygon, so the shortcut is given up: the outline comes
// from the arrangement and still holds exactly the ground that a sample with the sun up
// shadows. (A dark sample darkens every point, but the line outlines the shadows.)
TEST(MicroRegionFullPeriod, DarkSampleFallsBackOnTheArrangement) {
    const std::vector<Box> boxes{{-10000, 0, 10000, 10000, 0, 20000},
                                 {15000, 20000, 25000, 30000, 0, 40000}};
    const SolxSunSetting sun = GreatCold(420, 960, 30);  // 7:00 is before sunrise
    MicroRegionMonitor quiet;
    const MicroRegionResult r = ComputeMicroRegions(InputOf(boxes, {9.0}, sun, 0.0), quiet);
    ASSERT_EQ(r.outcome, MicroRegionOutcome::Done);
    ASSERT_TRUE(r.fullPeriod);
    EXPECT_FALSE(r.hasFullRegion);
    ASSERT_FALSE(r.fullOutlines.empty());
    ExpectValidOutlines(r.fullOutlines);
    const BruteForce brute(boxes, sun, 0.0);
    int inside = 0;
    for (double x = -80000.37; x < 80000; x += 2100)
        for (double y = -20000.61; y < 160000; y += 2100) {
            const VxGePoint p(x, y);
            bool shadowed = false;
            for (const SolxSunSample& s : brute.samples) {
                if (s.altitude <= 0) continue;
                if (brute.group.IsPointShadowed(VxGePoint(x, y, 0), s.Ray(), nullptr))
                    shadowed = true;
            }
            inside += shadowed;
            if (InAny(r.fullOutlines, p) != shadowed) {
                EXPECT_LT(DistanceToRings(r.fullOutlines, p), 1.0) << x << "," << y;
            }
        }
    EXPECT_GT(inside, 50);
}

// Nothing casts a shadow on the plane: no arrangement, nothing below any level.
TEST(MicroRegionEdges, NoShadowDrawsNothing) {
    const std::vector<Box> low{{0, 0, 10000, 10000, 0, 2000}};
    MicroRegionMonitor quiet;
    const MicroRegionResult r =
        ComputeMicroRegions(InputOf(low, {1.0, 2.0}, GreatCold(480, 960, 6), 5000.0), quiet);
    EXPECT_EQ(r.outcome, MicroRegionOutcome::Done);
    EXPECT_EQ(r.regionCount, 0u);
    ASSERT_EQ(r.merged.size(), 2u);
    EXPECT_TRUE(r.merged[0].empty() && r.merged[1].empty());
}

// A step below the method's least is raised to it: 8:00 to 9:00 at 1 minute gives 11 samples.
TEST(MicroRegionEdges, StepIsRaisedToSixMinutes) {
    MicroRegionMonitor quiet;
    MicroRegionShadows shadows;
    const std::vector<Box> one{{0, 0, 10000, 10000, 0, 20000}};
    ASSERT_TRUE(
        ComputeShadowPhase(InputOf(one, {1.0}, GreatCold(480, 540, 1), 0.0), quiet, shadows));
    EXPECT_EQ(shadows.stepMinutes, 6);
    EXPECT_EQ(shadows.samples.size(), 11u);
    EXPECT_TRUE(shadows.allUnited);
    EXPECT_EQ(shadows.stepRegions.size(), 11u);
}

// The user breaks off at a chosen poll of the meter (or inside the engine): the method ends
// with nothing to draw, whichever phase it was in.
class BreakingMonitor : public MicroRegionMonitor {
public:
    explicit BreakingMonitor(int breakAt) : m_breakAt(breakAt) {}
    bool Continue(int) override { return m_polls++ != m_breakAt; }
    int Polls() const { return m_polls; }

private:
    int m_breakAt;
    int m_polls = 0;
};

class AlwaysStop : public MicroRegionMonitor {
public:
    bool (*StopTest())() override {
        return [] { return true; };
    }
};

TEST(MicroRegionBreak, BreakInAnyPhaseDrawsNothing) {
    const std::vector<Box> boxes{{-10000, 0, 10000, 10000, 0, 20000}};
    const MicroRegionInput input = InputOf(boxes, {1.0, 2.0}, GreatCold(480, 960, 6), 0.0);
    BreakingMonitor counting(-1);
    ASSERT_EQ(ComputeMicroRegions(input, counting).outcome, MicroRegionOutcome::Done);
    const int polls = counting.Polls();
    ASSERT_GT(polls, 81) << "81 samples, then the regions";
    for (int at : {0, 40, 81, polls - 1}) {
        BreakingMonitor breaking(at);
        const MicroRegionResult r = ComputeMicroRegions(input, breaking);
        EXPECT_EQ(r.outcome, MicroRegionOutcome::Broken) << at;
        EXPECT_TRUE(r.merged.empty() || r.merged.back().empty()) << at;
    }
    AlwaysStop engine;
    EXPECT_EQ(ComputeMicroRegions(input, engine).outcome, MicroRegionOutcome::Broken);
}

}  // namespace
