// The raster path of the grid evaluation must give the sunlit periods of the per-point ray path
// (SolxBuildingEx::SunlitPeriods) at every grid point of generated districts, roofs included,
// on the ground and at a height that cuts through the buildings.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../support/DistrictScene.h"
#include "solx/SolxSunGrid.h"

namespace {

using solx::testing::SceneFromDistrict;
using Scene = solx::testing::DistrictScene;

SolxSunSetting Winter(int start = 8 * 60, int end = 16 * 60, int step = 10) {
    return solx::testing::WinterDay(start, end, step);
}

Scene FromDistrict(int count, unsigned seed) {
    return SceneFromDistrict(count, seed);
}

struct PointResult {
    bool inside = false;
    std::vector<VxGePoint> periods;
};

std::vector<PointResult> Evaluate(const Scene& scene, const SolxSunSetting& setting,
                                  const SolxSunGrid& grid, SolxGridMethod method) {
    std::vector<PointResult> out(static_cast<size_t>(grid.PointCount()));
    long visits = 0;
    EXPECT_TRUE(SunGridPeriods(
        scene.buildings, scene.sources, setting, grid, method,
        [&](long r, long c, bool inside, std::vector<VxGePoint>&& p) {
            ++visits;
            out[static_cast<size_t>(r * grid.PointColumns() + c)] = {inside, std::move(p)};
        }));
    EXPECT_EQ(visits, grid.PointCount());
    return out;
}

std::string Text(const std::vector<VxGePoint>& periods) {
    std::string s;
    for (const VxGePoint& p : periods) s += std::to_string(p.x) + "-" + std::to_string(p.y) + " ";
    return s;
}

// Counts the points whose answers differ; prints the first few.
int Differences(const std::vector<PointResult>& a, const std::vector<PointResult>& b,
                const SolxSunGrid& grid) {
    int differ = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const bool same =
            a[i].inside == b[i].inside && a[i].periods.size() == b[i].periods.size() &&
            std::equal(
                a[i].periods.begin(), a[i].periods.end(), b[i].periods.begin(),
                [](const VxGePoint& p, const VxGePoint& q) { return p.x == q.x && p.y == q.y; });
        if (!same && ++differ <= 5)
            ADD_FAILURE() << "point row " << i / grid.PointColumns() << " column "
                          << i % grid.PointColumns() << ": " << Text(a[i].periods) << "| "
                          << Text(b[i].periods);
    }
    return differ;
}

SolxSunGrid GridOver(const Scene& scene, double spacing, double z) {
    SolxSunGrid grid;
    // An origin off any round number, so that no grid point lies on a shadow edge by design.
    grid.origin = VxGePoint(scene.minX - 20000.0 + 0.377, scene.minY - 20000.0 + 0.613, z);
    grid.spacing = spacing;
    grid.columns = static_cast<int>((scene.maxX - scene.minX + 40000.0) / spacing);
    grid.rows = static_cast<int>((scene.maxY - scene.minY + 40000.0) / spacing);
    return grid;
}

TEST(SunGrid, RasterAgreesWithThePerPointRayPathOnDistricts) {
    for (unsigned seed : {1u, 2u, 3u}) {
        for (double z : {0.0, 7300.0}) {
            const Scene scene = FromDistrict(12, seed);
            const SolxSunGrid grid = GridOver(scene, 2500.0, z);
            const SolxSunSetting setting = Winter();
            const auto raster = Evaluate(scene, setting, grid, SolxGridMethod::Raster);
            const auto rays = Evaluate(scene, setting, grid, SolxGridMethod::PerPointIndexed);
            EXPECT_EQ(Differences(raster, rays, grid), 0) << "seed " << seed << " z " << z;
            // The scene is a real test: points in shade part of the day, in footprints at 7.3 m,
            // and points in full sun.
            int partly = 0, inside = 0;
            for (const PointResult& p : raster) {
                inside += p.inside;
                partly += !p.inside && !(p.periods.size() == 1 && p.periods[0].x == 480 &&
                                         p.periods[0].y == 960);
            }
            EXPECT_GT(partly, 50) << seed;
            if (z > 0.0) {
                EXPECT_GT(inside, 10) << seed;
            }
        }
    }
}

// The index changes no answer of the reference path either.
TEST(SunGrid, PerPointPathsAgreeWithAndWithoutIndex) {
    const Scene scene = FromDistrict(8, 5);
    const SolxSunGrid grid = GridOver(scene, 6000.0, 0.0);
    const SolxSunSetting setting = Winter(9 * 60, 15 * 60, 20);
    EXPECT_EQ(Differences(Evaluate(scene, setting, grid, SolxGridMethod::PerPointIndexed),
                          Evaluate(scene, setting, grid, SolxGridMethod::PerPointAll), grid),
              0);
}

// A period that starts before sunrise: the samples with the sun down are dark on both paths
// (the raster path has no plane shadow for them and asks the ray test).
TEST(SunGrid, SamplesWithTheSunDownAreDarkOnBothPaths) {
    const Scene scene = FromDistrict(6, 9);
    const SolxSunGrid grid = GridOver(scene, 8000.0, 0.0);
    const SolxSunSetting setting = Winter(6 * 60, 10 * 60, 15);
    const auto raster = Evaluate(scene, setting, grid, SolxGridMethod::Raster);
    EXPECT_EQ(
        Differences(raster, Evaluate(scene, setting, grid, SolxGridMethod::PerPointIndexed), grid),
        0);
    for (const PointResult& p : raster)
        for (const VxGePoint& period : p.periods) EXPECT_GT(period.x, 7 * 60);  // sunrise ~7:20
}

TEST(SunGrid, StoppedEvaluationSaysSoAndLeavesNoValues) {
    const Scene scene = FromDistrict(4, 2);
    const SolxSunGrid grid = GridOver(scene, 8000.0, 0.0);
    for (SolxGridMethod method : {SolxGridMethod::Raster, SolxGridMethod::PerPointIndexed}) {
        Vx2dArray<float> hours;
        int calls = 0;
        EXPECT_FALSE(SunGridHoursOf(scene.buildings, scene.sources, Winter(), 0, grid, method,
                                    hours, [&](long, long) { return ++calls < 3; }));
        EXPECT_EQ(hours.GetRowCount(), 0);
        EXPECT_EQ(calls, 3);
    }
}

}  // namespace
