// The grid analysis (raster path, periods and hours) and the single-point analysis must agree
// at the grid's points: same place, day, step and height, on generated districts.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
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
                        EXPECT_EQ(point.InsideBuilding(at), in)
                            << where << " r " << r << " c " << c;
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

// Both analyses call a point in a building by one rule: from the base, included, to the top,
// not included. A grid at the base of a building on the ground and of one on a podium, at its
// roof, and just below its base; the node at each footprint's middle is asked of both.
TEST(GridAgainstSinglePoint, SameInsideRuleAtBaseAndTop) {
    const SolxSunSetting setting = Winter(10);
    struct Case {
        double z;
        bool groundInside, podiumInside;
    };
    for (const Case& k :
         {Case{0.0, true, false}, Case{9000.0, true, true}, Case{8999.0, true, false},
          Case{21000.0, true, false}, Case{30000.0, false, false}}) {
        auto make = [] {
            SolxBuildingList list;
            list.push_back(std::make_unique<SolxBuilding>(
                std::vector<VxGePoint>{{0, 0}, {10000, 0}, {10000, 10000}, {0, 10000}}, 0.0,
                30000.0));
            list.push_back(std::make_unique<SolxBuilding>(
                std::vector<VxGePoint>{{20000, 0}, {30000, 0}, {30000, 10000}, {20000, 10000}},
                9000.0, 12000.0));
            return list;
        };
        SolxBuildingList gridBuildings = make();
        const SolxShadowSourceList noSources;
        const SPointEvaluator point(make(), SolxShadowSourceList{}, setting);
        SolxSunGrid grid;
        grid.origin = VxGePoint(-5000.0, -5000.0, k.z);
        grid.spacing = 2500.0;
        grid.columns = 16;
        grid.rows = 8;
        const std::string where = "z " + std::to_string(k.z);
        int disagree = 0;
        std::map<std::pair<long, long>, bool> inside;
        ASSERT_TRUE(SunGridPeriods(gridBuildings, noSources, setting, grid, SolxGridMethod::Raster,
                                   [&](long r, long c, bool in, std::vector<VxGePoint>&&) {
                                       inside[{r, c}] = in;
                                       disagree += point.InsideBuilding(grid.At(r, c)) != in;
                                   }));
        EXPECT_EQ(disagree, 0) << where;
        // (5000, 5000) is row 4, column 4; (25000, 5000) row 4, column 12.
        EXPECT_EQ(inside[std::make_pair(4L, 4L)], k.groundInside) << where;
        EXPECT_EQ(inside[std::make_pair(4L, 12L)], k.podiumInside) << where;
        EXPECT_EQ(point.InsideBuilding(VxGePoint(5000, 5000, k.z)), k.groundInside) << where;
        EXPECT_EQ(point.InsideBuilding(VxGePoint(25000, 5000, k.z)), k.podiumInside) << where;
    }
}

}  // namespace
