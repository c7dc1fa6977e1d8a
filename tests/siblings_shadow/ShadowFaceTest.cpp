// Loose faces (roofs, canopies) as obstructions.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "SunRay.h"
#include "solx/SolxBuildingEx.h"
#include "solx/SolxShadowCore.h"

namespace {

// A flat canopy 10 m up over the square [-5000, 5000] x [-5000, 5000], as one quad.
SolxFace3d Canopy() {
    return {
        {{-5000, -5000, 10000}, {5000, -5000, 10000}, {5000, 5000, 10000}, {-5000, 5000, 10000}},
        4};
}

TEST(ShadowFace, CanopyShadesWhileTheRayMeetsItInsideItsEdge) {
    // From the origin, a southern sun at altitude h meets the canopy height after 10000 / tan h
    // in plan: inside the canopy while that is under 5000.
    const std::vector<SolxFace3d> faces = {Canopy()};
    for (double deg = 20; deg <= 88; deg += 4) {
        const double h = Deg(deg);
        const bool expected = 10000 / std::tan(h) < 5000;
        EXPECT_EQ(IsShadowByShape({0, 0, 0}, faces, LightFrom(h, 0)) != 0, expected) << deg;
    }
}

TEST(ShadowFace, QuadCoversBothTrianglesAndTriangleOnlyItsOwn) {
    SolxFace3d tri = Canopy();
    tri.count = 3;  // only the half x + y <= ... below the diagonal from corner 0 to corner 2
    const VxGePoint down{0, 0, -1};
    struct Case {
        const char* name;
        VxGePoint p;
        bool underQuad, underTriangle;
    };
    const Case cases[] = {{"south-east half", {3000, -3000, 0}, true, true},
                          {"north-west half", {-3000, 3000, 0}, true, false},
                          {"outside", {6000, 0, 0}, false, false},
                          {"above", {0, 0, 11000}, false, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsShadowByShape(c.p, {Canopy()}, down) != 0, c.underQuad) << c.name;
        EXPECT_EQ(IsShadowByShape(c.p, {tri}, down) != 0, c.underTriangle) << c.name;
    }
}

TEST(ShadowFace, GroupSourcesAndDegenerateFaces) {
    SolxBuildingEx group;
    auto source = std::make_unique<SolxShadowSource>();
    source->AddQuad({-5000, -5000, 10000}, {5000, -5000, 10000}, {5000, 5000, 10000},
                    {5000, 5000, 10000});  // a 3D face storing a triangle
    source->AddTriangle({-5000, 0, 10000}, {0, 0, 10000}, {5000, 0, 10000});  // no area
    group.AddSource(std::move(source));
    group.CalExtend3D();
    ASSERT_EQ(group.Sources().front()->Faces().front().count, 3);
    const VxGePoint down{0, 0, -1};
    for (bool index : {true, false}) {
        group.SetUseIndex(index);
        EXPECT_EQ(group.IsPointShadowed({3000, -3000, 0}, down, nullptr), 1);
        EXPECT_EQ(group.IsPointShadowed({-3000, 3000, 0}, down, nullptr), 0);
        EXPECT_EQ(group.IsPointShadowed({-2000, 0, 0}, down, nullptr), 0);
    }
}

}  // namespace
