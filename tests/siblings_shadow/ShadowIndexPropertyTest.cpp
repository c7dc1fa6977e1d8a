// The grid index must never change an answer: on generated districts, every test with the index
// on agrees with the test of every obstruction, and with the one-call prism test.

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "DistrictModel.h"
#include "SunRay.h"
#include "solx/SolxBuildingEx.h"
#include "solx/SolxShadowCore.h"
#include "solx/SolxWinSunlightInfo.h"

namespace {

void Fill(const district::District& d, SolxBuildingEx& group) {
    for (const district::Slab& s : d.slabs)
        group.AddBuilding(std::make_unique<SolxBuilding>(s.outline, s.elevation, s.height));
    group.AddSource(std::make_unique<SolxShadowSource>(d.roofFaces));
    group.CalExtend3D();
}

bool Shaded(SolxBuildingEx& group, bool index, const VxGePoint& p, const VxGePoint& light,
            const SolxWinSunlightInfo* win) {
    group.SetUseIndex(index);
    return group.IsPointShadowed(p, light, win) != 0;
}

TEST(ShadowIndexProperty, WindowsAgreeWithAndWithoutIndex) {
    for (unsigned seed : {1u, 2u, 3u}) {
        district::Options options;
        options.buildings = 30;
        options.seed = seed;
        const district::District d = district::MakeDistrict(options);
        SolxBuildingEx group;
        Fill(d, group);
        std::mt19937 rng(seed);
        std::uniform_real_distribution<double> alt(Deg(2), Deg(75)), az(Deg(-180), Deg(180));
        int shaded = 0, total = 0;
        for (size_t i = 0; i < d.windows.size(); i += 13) {
            const SolxWinSunlightInfo win(d.windows[i], 100.0);
            VxGePoint a, b;
            win.GetTestPoints(a, b);
            const VxGePoint light = LightFrom(alt(rng), az(rng));
            for (const VxGePoint& p : {win.GetTestPoint(), a, b}) {
                const bool on = Shaded(group, true, p, light, &win);
                ASSERT_EQ(on, Shaded(group, false, p, light, &win)) << "seed " << seed << " #" << i;
                shaded += on;
                ++total;
            }
        }
        EXPECT_GT(shaded, total / 20) << seed;
        EXPECT_LT(shaded, total - total / 20) << seed;
    }
}

TEST(ShadowIndexProperty, ScatteredPointsAgreeWithIndexOffAndOneCallTest) {
    district::Options options;
    options.buildings = 40;
    options.seed = 11;
    const district::District d = district::MakeDistrict(options);
    SolxBuildingEx prisms;  // prisms only, to compare with the one-call test
    std::vector<SolxOutline2d> outlines;
    std::vector<VxGePoint> elevations;
    for (const district::Slab& s : d.slabs) {
        prisms.AddBuilding(std::make_unique<SolxBuilding>(s.outline, s.elevation, s.height));
        outlines.push_back(s.outline);
        elevations.push_back({s.elevation, s.height, 0});
    }
    prisms.CalExtend3D();
    std::mt19937 rng(5);
    // Points also outside the district, so rays enter the grid from beyond its edge.
    std::uniform_real_distribution<double> x(-100000, 600000), y(-100000, 600000), z(0, 60000);
    std::uniform_real_distribution<double> alt(Deg(1), Deg(89.5)), az(Deg(-180), Deg(180));
    for (int i = 0; i < 3000; ++i) {
        const VxGePoint p{x(rng), y(rng), z(rng)};
        const VxGePoint light = LightFrom(alt(rng), az(rng));
        const bool on = Shaded(prisms, true, p, light, nullptr);
        ASSERT_EQ(on, Shaded(prisms, false, p, light, nullptr)) << i;
        if (i % 10 == 0) {
            ASSERT_EQ(on, IsShadowByBuilding(p, outlines, elevations, light) != 0) << i;
        }
    }
}

}  // namespace
