// The grid analysis (raster path, periods and hours) and the single-point analysis must agree
// at the grid's points: same place, day, step and height, on generated districts.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "../support/DistrictScene.h"
#include "SunSPoint.h"
#include "solx/SolxSunGrid.h"

namespace {

using Scene = solx::testing::DistrictScene;

SolxSunSetting Winter(int step) {
    return solx::testing::WinterDay(8 * 60, 16 * 60, step);
}

Scene FromDistrict(unsigned seed) {
    return solx::testing::SceneFromDistrict(10, seed);
}

// "h:mm" in minutes.
int Minutes(const std::wstring& text) {
    int hours = 0, minutes = 0;
    EXPECT_EQ(std::swscanf(text.c_str(), L"%d:%d", &hours, &minutes), 2) << "text";
    return hours * 60 + minutes;
}

TEST(GridAgainstSinglePoint, SamePeriodsAndHoursAtGridPoints) {
    for (unsigned seed : {4u, 7u}) {
        for (double z : {0.0, 4500.0}) {
            for (int step : {5, 10}) {
                const SolxSunSetting setting = Winter(step);
                Scene gridScene = FromDistrict(seed);
                SolxSunGrid grid;
                // Off round numbers, so that no point lies on a shadow edge by design.
                grid.origin = VxGePoint(gridScene.minX - 15000.0 + 0.377,
                                        gridScene.minY - 15000.0 + 0.613, z);
                grid.spacing = 3100.0;
                grid.columns = static_cast<int>((gridScene.maxX - gridScene.minX + 30000) / 3100);
                grid.rows = static_cast<int>((gridScene.maxY - gridScene.minY + 30000) / 3100);

                Scene pointScene = FromDistrict(seed);
                const SPointEvaluator point(std::move(pointScene.buildings),
                                            std::move(pointScene.sources), setting);

                Vx2dArray<float> hours;
                ASSERT_TRUE(SunGridHoursOf(gridScene.buildings, gridScene.sources, setting, 0, grid,
                                           SolxGridMethod::Raster, hours));
                int compared = 0, partly = 0, inside = 0;
                const std::string where = "seed " + std::to_string(seed) + " z " +
                                          std::to_string(z) + " step " + std::to_string(step);
                ASSERT_TRUE(SunGridPeriods(
                    gridScene.buildings, gridScene.sources, setting, grid, SolxGridMethod::Raster,
                    [&](long r, long c, bool in, std::vector<VxGePoint>&& periods) {
                        if ((r * grid.PointColumns() + c) % 5 != 0) return;  // a sample of points
                        ++compared;
                        const VxGePoint at = grid.At(r, c);
                        // On a building's base plane the grid leaves the footprint out, while
                        // the single point calls only points above the base "inside"; either
                        // way such a point sees no sun.
                        if (z > 0.0) {
                            EXPECT_EQ(point.InsideBuilding(at), in)
                                << where << " r " << r << " c " << c;
                        }
                        const std::vector<VxGePoint> single = point.Periods(at);
                        if (in) {
                            ++inside;
                            EXPECT_EQ(hours[r][c], kSunGridNoValue);
                            EXPECT_TRUE(single.empty()) << where << " r " << r << " c " << c;
                            return;
                        }
                        ASSERT_EQ(single.size(), periods.size()) << where << " r " << r;
                        for (size_t i = 0; i < single.size(); ++i) {
                            EXPECT_EQ(single[i].x, periods[i].x) << where << " r " << r;
                            EXPECT_EQ(single[i].y, periods[i].y) << where << " r " << r;
                        }
                        partly += !(single.size() == 1 && single[0].x == setting.startMinute &&
                                    single[0].y == setting.endMinute);
                        // The total the single point reports, to the minute, is the map's value.
                        const SPointTexts texts =
                            MakeSPointTexts(single, setting.startMinute, setting.endMinute);
                        EXPECT_NEAR(Minutes(texts.total), hours[r][c] * 60.0, 0.5 + 1e-3)
                            << where << " r " << r << " c " << c;
                    }));
                EXPECT_GT(compared, 100) << where;
                EXPECT_GT(partly, 15) << where;  // points in shade part of the day
                EXPECT_GT(inside, 0) << where;
            }
        }
    }
}

}  // namespace
