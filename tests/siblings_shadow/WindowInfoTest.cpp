// Test points and facing of a window read from its block values.

#include <gtest/gtest.h>

#include <cmath>

#include "SunRay.h"
#include "solx/SolxWinSunlightInfo.h"

namespace {

TEST(WindowInfo, TestPointsStandOutOfTheWallAtSillHeight) {
    struct Case {
        const char* name;
        double rotationDeg;
        double facingDeg;  // normalised facing angle
        VxGePoint outward;
    };
    const Case cases[] = {
        {"wall along east, faces south", 0, 0, {0, -1, 0}},
        {"wall along north, faces east", 90, 90, {1, 0, 0}},
        {"wall along west, faces north", 180, 180, {0, 1, 0}},
        {"turned -90, faces west", -90, 270, {-1, 0, 0}},
        {"full turn and a bit", 390, 30, {std::sin(Deg(30)), -std::cos(Deg(30)), 0}}};
    for (const Case& c : cases) {
        SolxWindowBlock b;
        b.insertion = {1000, 2000, 6900};
        b.rotation = Deg(c.rotationDeg);
        b.width = 1800;
        b.floor = 3;
        b.number = 12;
        b.label = L"2-12";
        const SolxWinSunlightInfo w(b, 100.0);
        EXPECT_NEAR(w.m_dAngle, Deg(c.facingDeg), 1e-12) << c.name;
        EXPECT_EQ(w.m_nFloor, 3);
        EXPECT_EQ(w.m_nNumber, 12);
        EXPECT_EQ(w.m_strLabel, L"2-12");
        EXPECT_DOUBLE_EQ(w.m_dSillHeight, 6900);
        const VxGePoint p = w.GetTestPoint();
        EXPECT_NEAR(p.x, 1000 + 100 * c.outward.x, 1e-9) << c.name;
        EXPECT_NEAR(p.y, 2000 + 100 * c.outward.y, 1e-9) << c.name;
        EXPECT_DOUBLE_EQ(p.z, 6900);
        VxGePoint a, e;
        w.GetTestPoints(a, e);
        EXPECT_NEAR(a.Distance3d(e), 1800, 1e-9) << c.name;
        // Both ends stand the same offset out of the wall: the sill runs along the wall.
        for (const VxGePoint& q : {a, e}) {
            const double out = (q.x - 1000) * c.outward.x + (q.y - 2000) * c.outward.y;
            EXPECT_NEAR(out, 100, 1e-9) << c.name;
            EXPECT_NEAR(q.Distance2d(p), 900, 1e-9) << c.name;
        }
    }
}

}  // namespace
