// A window's own building: its wall must not shade the window's test points, the rest of the
// building must.

#include <gtest/gtest.h>

#include <memory>

#include "SunRay.h"
#include "solx/SolxBuildingEx.h"
#include "solx/SolxWinSunlightInfo.h"

namespace {

// A slab 40 m long and 12 m deep, 30 m high, its south face at y = -6000.
std::unique_ptr<SolxBuilding> Slab() {
    return std::make_unique<SolxBuilding>(
        std::vector<VxGePoint>{{-20000, -6000}, {20000, -6000}, {20000, 6000}, {-20000, 6000}}, 0.0,
        30000.0);
}

SolxWindowBlock SouthWindow(double inset) {
    SolxWindowBlock w;
    w.insertion = {0, -6000 + inset, 3900};
    w.rotation = 0.0;  // wall along +x, outward normal -y
    w.width = 1500;
    w.depth = 200;
    w.height = 1500;
    return w;
}

TEST(ShadowOwnWall, FrontSunReachesPointsOnOrSlightlyInsideTheWall) {
    SolxBuildingEx group;
    group.AddBuilding(Slab());
    group.CalExtend3D();
    struct Case {
        const char* name;
        double inset, offset;
        bool shadedWithoutWindow;
    };
    // A point drawn into the wall is inside the solid: only the window's own wall excuses it.
    const Case cases[] = {{"on the face", 0, 0, false},
                          {"offset out", 0, 150, false},
                          {"drawn 50 inside the wall", 50, 0, true}};
    for (const Case& c : cases) {
        const SolxWinSunlightInfo win(SouthWindow(c.inset), c.offset);
        VxGePoint a, b;
        win.GetTestPoints(a, b);
        for (double az : {-60.0, -10.0, 0.0, 35.0, 70.0}) {
            const VxGePoint light = LightFrom(Deg(25), Deg(az));
            for (bool index : {true, false}) {
                group.SetUseIndex(index);
                for (const VxGePoint& p : {win.GetTestPoint(), a, b}) {
                    EXPECT_EQ(group.IsPointShadowed(p, light, &win), 0) << c.name << " " << az;
                    EXPECT_EQ(group.IsPointShadowed(p, light, nullptr), c.shadedWithoutWindow)
                        << c.name << " " << az;
                }
            }
        }
    }
}

TEST(ShadowOwnWall, SunBehindTheWallIsBlockedByTheOwnBuilding) {
    SolxBuildingEx group;
    group.AddBuilding(Slab());
    group.CalExtend3D();
    const SolxWinSunlightInfo win(SouthWindow(0), 150);
    // Light from the north-east travels south-west through the slab to the south face.
    const VxGePoint light = LightFrom(Deg(20), Deg(-150));
    EXPECT_EQ(group.IsPointShadowed(win.GetTestPoint(), light, &win), 1);
}

TEST(ShadowOwnWall, WingOfTheSameBuildingStillShades) {
    // An L: the window sits on the north face of the south arm, the west wing rises beside it.
    SolxBuildingEx group;
    group.AddBuilding(std::make_unique<SolxBuilding>(
        std::vector<VxGePoint>{
            {0, 0}, {40000, 0}, {40000, 12000}, {12000, 12000}, {12000, 40000}, {0, 40000}},
        0.0, 30000.0));
    group.CalExtend3D();
    SolxWindowBlock w;
    w.insertion = {20000, 12000, 900};
    w.rotation = Deg(180);  // wall runs west along the outline; outward normal +y
    w.depth = 200;
    const SolxWinSunlightInfo win(w, 100);
    // Light travelling east-south-east comes from low in the west: the wing is 8 m away.
    const VxGePoint fromWest = LightFrom(Deg(15), Deg(100));
    EXPECT_EQ(group.IsPointShadowed(win.GetTestPoint(), fromWest, &win), 1);
    // From the north-east nothing of the building is in the way.
    const VxGePoint fromNorthEast = LightFrom(Deg(15), Deg(-150));
    EXPECT_EQ(group.IsPointShadowed(win.GetTestPoint(), fromNorthEast, &win), 0);
}

}  // namespace
