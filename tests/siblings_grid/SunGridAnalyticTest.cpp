// The grid against scenes worked out by hand: points north of a long wall (shaded while the
// ray to the sun meets the wall below its top), footprints cut by the grid plane, a plane above
// everything, the two evaluation modes and the layout of the value grid.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "../support/DistrictScene.h"
#include "solx/SolxSunGrid.h"

namespace {

SolxSunSetting Winter(int step = 5) {
    return solx::testing::WinterDay(8 * 60, 16 * 60, step);
}

std::unique_ptr<SolxBuilding> Box(double x0, double y0, double x1, double y1, double base,
                                  double height) {
    return std::make_unique<SolxBuilding>(
        std::vector<VxGePoint>{{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}}, base, height);
}

// The wall runs east-west along y in [0, 200], 20 m high and 2 km long.
constexpr double kWallTop = 20000.0;
constexpr double kWallNorth = 200.0;

// Lit when the way to the sun passes over the wall (or the sun is north of it).
bool LitNorthOfWall(const VxGePoint& p, const SolxSunSample& sample) {
    if (sample.altitude <= 0.0) return false;
    const double dx = -sample.ray.x, dy = -sample.ray.y, dz = -sample.ray.z;  // towards the sun
    if (dy >= 0.0) return true;
    const double t = (p.y - kWallNorth) / -dy;  // along the way to the north face
    const double x = p.x + t * dx;
    return std::abs(x) > 1e6 || p.z + t * dz >= kWallTop;
}

TEST(SunGridAnalytic, PointsNorthOfAWallGetTheHoursWorkedOutByHand) {
    SolxBuildingList buildings;
    buildings.push_back(Box(-1e6, 0.0, 1e6, kWallNorth, 0.0, kWallTop));
    const SolxShadowSourceList none;
    SolxSunGrid grid;
    grid.origin = VxGePoint(-1500.3, 1000.7, 0.0);
    grid.spacing = 3000.0;
    grid.columns = 2;  // three points a row, all alike
    grid.rows = 15;    // sixteen rows going north, 1 m to 46 m from the wall
    const SolxSunSetting setting = Winter();
    const std::vector<SolxSunSample> samples = SampleSun(setting);
    for (int mode : {0, 1}) {
        for (SolxGridMethod method : {SolxGridMethod::Raster, SolxGridMethod::PerPointIndexed}) {
            Vx2dArray<float> hours;
            ASSERT_TRUE(SunGridHoursOf(buildings, none, setting, mode, grid, method, hours));
            ASSERT_EQ(hours.GetRowCount(), grid.rows + 1);
            ASSERT_EQ(hours.GetColumnCount(), grid.columns + 1);
            double previous = -1.0;
            for (long r = 0; r <= grid.rows; ++r) {
                const VxGePoint p(grid.origin.x + grid.spacing, grid.origin.y + r * grid.spacing,
                                  0.0);
                SolxSunlitRun run(setting.startMinute, setting.endMinute, setting.stepMinutes);
                for (const SolxSunSample& s : samples) run.Add(s.minute, LitNorthOfWall(p, s));
                const std::vector<VxGePoint> periods = run.Finish();
                double expected = 0.0;
                for (const VxGePoint& q : periods)
                    expected = mode == 0 ? expected + (q.y - q.x) : std::max(expected, q.y - q.x);
                for (long c = 0; c <= grid.columns; ++c)
                    EXPECT_NEAR(hours[r][c], expected / 60.0, 1e-5)
                        << "row " << r << " mode " << mode;
                // Further from the wall, never less sun.
                EXPECT_GE(hours[r][1] + 1e-6, previous) << r;
                previous = hours[r][1];
            }
            EXPECT_LT(hours[0][0], 0.5);  // 1 m behind a 20 m wall in winter
            EXPECT_GT(hours[grid.rows][0], 4.0);
        }
    }
}

TEST(SunGridAnalytic, PointsInsideAFootprintAtTheGridHeightHaveNoValue) {
    SolxBuildingList buildings;
    buildings.push_back(Box(0.0, 0.0, 10000.0, 10000.0, 3000.0, 9000.0));  // 3 m to 12 m
    const SolxShadowSourceList none;
    SolxSunGrid grid;
    grid.origin = VxGePoint(-4999.5, -4999.5, 0.0);
    grid.spacing = 2000.0;
    grid.columns = grid.rows = 10;  // -5 m to 15 m: 5 x 5 points inside the box
    auto count = [&](double z, SolxGridMethod method, int& inside, int& full) {
        grid.origin.z = z;
        Vx2dArray<float> hours;
        ASSERT_TRUE(SunGridHoursOf(buildings, none, Winter(10), 0, grid, method, hours));
        inside = full = 0;
        for (long r = 0; r <= grid.rows; ++r)
            for (long c = 0; c <= grid.columns; ++c) {
                inside += hours[r][c] == kSunGridNoValue;
                full += std::abs(hours[r][c] - 8.0f) < 1e-4;
            }
    };
    for (SolxGridMethod method : {SolxGridMethod::Raster, SolxGridMethod::PerPointIndexed}) {
        int inside = 0, full = 0;
        count(5000.0, method, inside, full);  // the plane cuts the building
        EXPECT_EQ(inside, 25);
        count(1000.0, method, inside, full);  // under a raised building: values, some dark
        EXPECT_EQ(inside, 0);
        EXPECT_LT(full, 121 - 25);
        count(12000.0, method, inside, full);  // level with the top: nothing casts
        EXPECT_EQ(inside, 0);
        EXPECT_EQ(full, 121);
    }
}

// Points and values line up: value [r][c] belongs to origin + (c, r) * spacing. A building
// at one corner only shades the points north of it, never the transposed ones.
TEST(SunGridAnalytic, ValueGridRowsRunNorthAndColumnsEast) {
    SolxBuildingList buildings;
    buildings.push_back(Box(-500.0, -500.0, 500.0, 500.0, 0.0, 30000.0));  // a tower at (0, 0)
    const SolxShadowSourceList none;
    SolxSunGrid grid;
    grid.origin = VxGePoint(-1999.9, -1999.9, 0.0);
    grid.spacing = 2000.0;
    grid.columns = 2;  // x = -2 m, 0, 2 m
    grid.rows = 6;     // y = -2 m ... 10 m
    Vx2dArray<float> hours;
    ASSERT_TRUE(
        SunGridHoursOf(buildings, none, Winter(10), 0, grid, SolxGridMethod::Raster, hours));
    EXPECT_EQ(hours[1][1], kSunGridNoValue);  // the tower's own point
    EXPECT_NEAR(hours[0][1], 8.0, 1e-4);      // south of the tower
    EXPECT_LT(hours[3][1], 7.0);              // 4 m north of it, in its shadow at noon
    EXPECT_LT(hours[6][1], 8.0);
}

}  // namespace
