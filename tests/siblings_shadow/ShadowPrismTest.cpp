// Prism obstructions against scenes whose answer follows from plane geometry.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

#include "SunRay.h"
#include "solx/SolxBuildingEx.h"
#include "solx/SolxShadowCore.h"

namespace {

std::vector<VxGePoint> Rect(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

// An east-west wall south of the origin: its north face at y = -D, T thick, from base to top.
struct WallScene {
    double D, T, base, top;
    SolxBuildingEx group;
    WallScene(double d, double t, double b, double h) : D(d), T(t), base(b), top(h) {
        group.AddBuilding(
            std::make_unique<SolxBuilding>(Rect(-1e6, -D - T, 1e6, -D), base, top - base));
        // Unrelated buildings north of the point, so the index has more than one object.
        for (int i = 0; i < 20; ++i)
            group.AddBuilding(std::make_unique<SolxBuilding>(
                Rect(-50000.0 + i * 5000, 5000, -47000.0 + i * 5000, 9000), 0.0, 30000.0));
        group.CalExtend3D();
    }
    // The ray towards a southern sun crosses the wall's faces after these plan distances.
    bool Expected(double z, double h, double a) const {
        const double z1 = z + std::tan(h) * D / std::cos(a);
        const double z2 = z + std::tan(h) * (D + T) / std::cos(a);
        return z1 < top && z2 > base;
    }
    double Margin(double z, double h, double a) const {
        const double z1 = z + std::tan(h) * D / std::cos(a);
        const double z2 = z + std::tan(h) * (D + T) / std::cos(a);
        return std::min(std::abs(z1 - top), std::abs(z2 - base));
    }
};

TEST(ShadowPrism, WallOfKnownHeightAndDistance) {
    struct Case {
        const char* name;
        double D, T, base, top;
    };
    const Case cases[] = {{"ground wall", 20000, 300, 0, 18000},
                          {"thick slab", 35000, 12000, 0, 45000},
                          {"raised slab passing rays under it", 15000, 12000, 6000, 24000}};
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> alt(Deg(3), Deg(70)), az(Deg(-70), Deg(70)),
        height(0, 20000);
    for (const Case& c : cases) {
        WallScene scene(c.D, c.T, c.base, c.top);
        int blocked = 0, tested = 0;
        for (int i = 0; i < 400; ++i) {
            const double h = alt(rng), a = az(rng), z = height(rng);
            if (scene.Margin(z, h, a) < 1e-3) continue;
            const bool expected = scene.Expected(z, h, a);
            const VxGePoint p{0, 0, z}, light = LightFrom(h, a);
            for (bool index : {true, false}) {
                scene.group.SetUseIndex(index);
                ASSERT_EQ(scene.group.IsPointShadowed(p, light, nullptr) != 0, expected)
                    << c.name << " h=" << h << " a=" << a << " z=" << z << " index=" << index;
            }
            blocked += expected;
            ++tested;
        }
        // The table must exercise both answers to mean anything.
        EXPECT_GT(blocked, tested / 10) << c.name;
        EXPECT_LT(blocked, tested - tested / 10) << c.name;
    }
}

TEST(ShadowPrism, SunAtOrBelowHorizonIsBlocked) {
    SolxBuildingEx empty;
    empty.CalExtend3D();
    EXPECT_EQ(empty.IsPointShadowed({0, 0, 0}, LightFrom(0.0, 0.0), nullptr), 1);
    EXPECT_EQ(empty.IsPointShadowed({0, 0, 0}, LightFrom(Deg(-5), 0.3), nullptr), 1);
    EXPECT_EQ(empty.IsPointShadowed({0, 0, 0}, {0, 0, 0}, nullptr), 1);
    EXPECT_EQ(empty.IsPointShadowed({0, 0, 0}, LightFrom(Deg(5), 0.3), nullptr), 0);
}

TEST(ShadowPrism, OverheadSunShadesOnlyUnderTheRoof) {
    const std::vector<SolxOutline2d> outlines = {Rect(0, 0, 10000, 10000)};
    const std::vector<VxGePoint> elevations = {{3000, 3000, 0}};  // raised: base 3000, top 6000
    const VxGePoint down{0, 0, -1};
    EXPECT_EQ(IsShadowByBuilding({5000, 5000, 0}, outlines, elevations, down), 1);
    EXPECT_EQ(IsShadowByBuilding({5000, 5000, 4000}, outlines, elevations, down), 1);
    EXPECT_EQ(IsShadowByBuilding({5000, 5000, 6500}, outlines, elevations, down), 0);
    EXPECT_EQ(IsShadowByBuilding({10500, 5000, 0}, outlines, elevations, down), 0);
}

TEST(ShadowPrism, DegenerateBuildingsNeverShade) {
    struct Case {
        const char* name;
        std::vector<VxGePoint> outline;
        double height;
    };
    const Case cases[] = {
        {"two points", {{-5000, -100}, {5000, -100}}, 10000},
        {"collinear", {{-5000, -100}, {0, -100}, {5000, -100}}, 10000},
        {"repeated points", {{-5000, -100}, {-5000, -100}, {5000, -100}, {-5000, -100}}, 10000},
        {"zero height", Rect(-5000, -3000, 5000, -100), 0.0},
    };
    for (const Case& c : cases) {
        const SolxBuilding b(c.outline, 0.0, c.height);
        EXPECT_FALSE(b.IsValid()) << c.name;
        SolxBuildingEx group;
        group.AddBuilding(std::make_unique<SolxBuilding>(b));
        group.CalExtend3D();
        EXPECT_EQ(group.IsPointShadowed({0, 0, 0}, LightFrom(Deg(20), 0), nullptr), 0) << c.name;
    }
}

TEST(ShadowPrism, NegativeHeightHangsBelowTheElevationAndClosingPointIsDropped) {
    std::vector<VxGePoint> ring = Rect(0, 0, 10, 10);
    ring.push_back(ring.front());
    const SolxBuilding b(ring, 100.0, -30.0);
    ASSERT_TRUE(b.IsValid());
    EXPECT_EQ(b.Outline().size(), 4u);
    EXPECT_DOUBLE_EQ(b.Elevation(), 70.0);
    EXPECT_DOUBLE_EQ(b.Top(), 100.0);
}

}  // namespace
