// The face geometry of the simulation: arcs dispersed into chords, roof caps triangulated,
// faces cut by planes, the shadow relation of two faces and the light half-cylinder, each
// checked against constructions worked out by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "SimGeometry.h"

namespace {

constexpr double kPi = std::numbers::pi;

VxGeFace3dEX Face(std::vector<VxGePoint> corners) {
    VxGeFace3dEX face;
    face.SetPoint(corners.data(), static_cast<int>(corners.size()));
    return face;
}

double Area(const std::vector<VxGeTriangle2d>& triangles) {
    double area = 0;
    for (const VxGeTriangle2d& t : triangles)
        area += std::sqrt(Dot(Cross(t.pt[1] - t.pt[0], t.pt[2] - t.pt[0]),
                              Cross(t.pt[1] - t.pt[0], t.pt[2] - t.pt[0]))) /
                2;
    return area;
}

TEST(SimDisperse, ArcsBecomeChordsOfAtMostTenDegreesOnTheirCircle) {
    // A quarter circle about the origin, radius 10, counter-clockwise: 9 chords.
    const double quarter = std::tan(kPi / 8);
    auto ccw = Disperse({{10, 0, 2}, {0, 10, 2}}, {quarter, 0}, false);
    ASSERT_EQ(ccw.size(), 10u);
    for (const VxGePoint& p : ccw) {
        EXPECT_NEAR(std::hypot(p.x, p.y), 10, 1e-9);
        EXPECT_EQ(p.z, 2);
    }
    EXPECT_NEAR(ccw[1].x, 10 * std::cos(kPi / 18), 1e-9);
    // The same arc run clockwise passes the same points backwards.
    auto cw = Disperse({{0, 10}, {10, 0}}, {-quarter, 0}, false);
    ASSERT_EQ(cw.size(), 10u);
    for (size_t i = 0; i < cw.size(); ++i) EXPECT_NEAR(cw[i].Distance2d(ccw[9 - i]), 0, 1e-9);
    // More than half a turn: bulge 2 sweeps 4 atan 2 = 253.7 degrees, 26 chords. Its sagitta
    // is b c / 2 = 4 to the right of the chord of 4 (counter-clockwise from (-2, 0) to (2, 0)),
    // its radius c (1 + b^2) / 4b = 2.5, so the centre lies 1.5 below the chord.
    auto big = Disperse({{-2, 0}, {2, 0}}, {2.0, 0}, false);
    ASSERT_EQ(big.size(), 27u);
    const VxGePoint centre{0, -1.5};
    double lowest = 0;
    for (const VxGePoint& p : big) {
        EXPECT_NEAR(p.Distance2d(centre), 2.5, 1e-9);
        lowest = std::min(lowest, p.y);
    }
    for (size_t i = 1; i + 1 < big.size(); ++i) EXPECT_LT(big[i].y, 0) << i;
    EXPECT_NEAR(lowest, -4, 0.04);  // the sagitta, to a chord's sag
    // A closed outline of straight sides keeps its corners.
    EXPECT_EQ(Disperse({{0, 0}, {1, 0}, {1, 1}}, {}, true).size(), 3u);
}

TEST(SimTriangulate, ConcaveOutlinesEitherWayRound) {
    // An L of 75 square metres, given clockwise.
    const std::vector<VxGePoint> ell{{0, 0, 7}, {0, 10, 7}, {5, 10, 7}, {5, 5, 7},
                                     {10, 5, 7}, {10, 0, 7}};
    const auto triangles = Triangulate(ell);
    ASSERT_EQ(triangles.size(), 4u);
    EXPECT_NEAR(Area(triangles), 75, 1e-9);
    for (const VxGeTriangle2d& t : triangles) {
        EXPECT_GT(Cross(t.pt[1] - t.pt[0], t.pt[2] - t.pt[0]).z, 0);  // counter-clockwise
        const VxGePoint c = (t.pt[0] + t.pt[1] + t.pt[2]) * (1.0 / 3);
        EXPECT_FALSE(c.x > 5 && c.y > 5);  // nothing in the L's notch
        for (const VxGePoint& p : t.pt) EXPECT_EQ(p.z, 7);
    }
    // A repeated closing point and a straight-through corner change nothing of the area.
    const auto square = Triangulate({{0, 0}, {2, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}});
    EXPECT_NEAR(Area(square), 16, 1e-9);
    EXPECT_TRUE(Triangulate({{0, 0}, {1, 1}}).empty());
}

TEST(SimFaces, TrianglesNormalsAndCuts) {
    VxGeFace tri({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 1, 0});
    EXPECT_TRUE(tri.IsTriangle());
    VxGeFace quad({0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0});
    EXPECT_FALSE(quad.IsTriangle());
    quad.Reverse();
    VxGeFace3dEX down;
    down = quad;
    EXPECT_NEAR(down.GetNormal().z, -1, 1e-12);
    tri.Reverse();
    EXPECT_TRUE(tri.IsTriangle());
    VxGeFace3dEX turned;
    turned = tri;
    EXPECT_EQ(turned.Count(), 3);
    EXPECT_NEAR(turned.GetNormal().z, -1, 1e-12);

    // A 4 x 2 wall cut by the plane x = 1 (front towards +x): 3 x 2 is kept.
    const auto wall = Face({{0, 0, 0}, {4, 0, 0}, {4, 0, 2}, {0, 0, 2}});
    const auto cutter = Face({{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}});
    ASSERT_NEAR(cutter.GetNormal().x, 1, 1e-12);
    EXPECT_NEAR(Area(wall.CutByPlane(cutter)), 6, 1e-9);
    EXPECT_TRUE(Face({{-3, 0, 0}, {0, 0, 0}, {0, 0, 1}}).CutByPlane(cutter).empty());
}

TEST(SimFaces, ShadowRelations) {
    const auto ground = Face({{-50, -50, 0}, {50, -50, 0}, {50, 50, 0}, {-50, 50, 0}});
    const auto south = Face({{0, 0, 0}, {10, 0, 0}, {10, 0, 10}, {0, 0, 10}});     // faces -y
    const auto north = Face({{10, 5, 0}, {0, 5, 0}, {0, 5, 10}, {10, 5, 10}});     // faces +y
    const auto behind = Face({{0, 20, 0}, {10, 20, 0}, {10, 20, 5}, {0, 20, 5}});  // faces -y
    // A wall standing on the ground may shadow it; the ground reaches both sides of the
    // wall's plane, so the wall keeps the ground's pieces in front of it.
    EXPECT_EQ(south.GetShadowRelation(ground), VxGeFace3dEX::kMutual);
    EXPECT_EQ(ground.GetShadowRelation(south), VxGeFace3dEX::kMutual);
    // The south wall lies in front of a wall 20 m north facing the same way, which lies
    // behind it: only the first can shadow the second.
    EXPECT_EQ(south.GetShadowRelation(behind), VxGeFace3dEX::kShadowsOnly);
    EXPECT_EQ(behind.GetShadowRelation(south), VxGeFace3dEX::kNoShadow);
    // Back to back, neither can.
    EXPECT_EQ(south.GetShadowRelation(north), VxGeFace3dEX::kNoShadow);
    EXPECT_EQ(north.GetShadowRelation(south), VxGeFace3dEX::kNoShadow);
    // Facing each other across a street, each may shadow the other.
    const auto facingNorth = Face({{10, 40, 0}, {0, 40, 0}, {0, 40, 10}, {10, 40, 10}});
    const auto facingSouth = Face({{0, 50, 0}, {10, 50, 0}, {10, 50, 10}, {0, 50, 10}});
    EXPECT_EQ(facingNorth.GetShadowRelation(facingSouth), VxGeFace3dEX::kMutual);
    EXPECT_EQ(facingSouth.GetShadowRelation(facingNorth), VxGeFace3dEX::kMutual);

    // Lit: the face turns its front to the sun.
    const VxGePoint fromSouth = Normalized({0, 1, -1});
    EXPECT_TRUE(south.IsSunLightOn(fromSouth));
    EXPECT_FALSE(north.IsSunLightOn(fromSouth));
    EXPECT_TRUE(ground.IsSunLightOn(fromSouth));
    EXPECT_FALSE(ground.IsSunLightOn({0, 1, 0.2}));
}

TEST(SimFaces, LightCylinderKeepsCastersBetweenTheFaceAndTheSun) {
    const auto receiver = Face({{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}});
    const Cylinder straightDown(receiver, {0, 0, -1});
    const VxGePoint over[] = {{0.5, 0.5, 5}, {1.5, 0.5, 5}, {1, 1.5, 5}};
    const VxGePoint aside[] = {{10.5, 0.5, 5}, {11.5, 0.5, 5}, {11, 1.5, 5}};
    const VxGePoint under[] = {{0.5, 0.5, -5}, {1.5, 0.5, -5}, {1, 1.5, -5}};
    EXPECT_TRUE(straightDown.IsSomeFacePointIn(over, 3));
    EXPECT_FALSE(straightDown.IsSomeFacePointIn(aside, 3));
    EXPECT_FALSE(straightDown.IsSomeFacePointIn(under, 3));
    // A caster far off in plan but up along a low sun's ray is inside.
    const Cylinder lowSun(receiver, Normalized({1, 0, -0.5}));
    const VxGePoint upSun[] = {{-19, 1, 10}, {-18, 1, 10}, {-19, 2, 10}};
    EXPECT_TRUE(lowSun.IsSomeFacePointIn(upSun, 3));
    EXPECT_FALSE(straightDown.IsSomeFacePointIn(upSun, 3));
}

}  // namespace
