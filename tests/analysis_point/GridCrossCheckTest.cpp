// The grid analysis (raster path, periods and hours) and the single-point analysis must agree
// at the grid's points: same place, day, step and height, on generated districts.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "DistrictModel.h"
#include "SunSPoint.h"
#include "solx/SolxSunGrid.h"

namespace {

SolxSunSetting Winter(int step) {
    SolxSunSetting s;
    s.longitude = 116.4;
    s.latitude = 39.9;
    s.declination = -20.2;
    s.startMinute = 8 * 60;
    s.endMinute = 16 * 60;
    s.stepMinutes = step;
    return s;
}

struct Scene {
    SolxBuildingList buildings;
    SolxShadowSourceList sources;
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
};

// The generator is deterministic, so a second call gives the same scene for the other side.
Scene FromDistrict(unsigned seed) {
    district::Options options;
    options.buildings = 10;
    options.seed = seed;
    const district::District d = district::MakeDistrict(options);
    Scene scene;
    for (const district::Slab& s : d.slabs) {
        scene.buildings.push_back(std::make_unique<SolxBuilding>(s.outline, s.elevation, s.height));
        for (const VxGePoint& p : s.outline) {
            scene.minX = std::min(scene.minX, p.x), scene.maxX = std::max(scene.maxX, p.x);
            scene.minY = std::min(scene.minY, p.y), scene.maxY = std::max(scene.maxY, p.y);
        }
    }
    scene.sources.push_back(std::make_unique<SolxShadowSource>(d.roofFaces));
    return scene;
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
