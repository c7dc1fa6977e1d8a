// Shadow polygons on a plane: analytic shadows, degenerate input, unions and boundaries.

#include <gtest/gtest.h>

#include <cmath>

#include "ShadowPolyTest.h"
#include "SunRay.h"
#include "solx/SolxShadowSource.h"

using shadowtest::FormProblem;
using shadowtest::ShapeArea;

namespace {

std::vector<VxGePoint> Square(double x0, double y0, double size) {
    return {{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size}, {x0, y0 + size}};
}

AcDbRegionPolygon SquarePolygon(double x0, double y0, double size) {
    return {{{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size}, {x0, y0 + size}}, {}};
}

TEST(ShadowPoly, UnitCubeShadowHasLengthCotAltitudeAwayFromTheSun) {
    // The shadow of the unit square swept by s is the square plus the parallelogram strips:
    // area 1 + |s.x| + |s.y|, centroid moved by s / 2, box from the square to the square + s.
    for (double alt : {5.0, 20.0, 45.0, 70.0, 89.0}) {
        for (double az : {-150.0, -90.0, -30.0, 0.0, 45.0, 120.0, 180.0}) {
            const VxGePoint light = LightFrom(Deg(alt), Deg(az));
            SolxShadowShape shadow;
            ASSERT_EQ(GetShadePoly(shadow, Square(0, 0, 1), 0, 1, light, 0), 1) << alt << az;
            EXPECT_EQ(FormProblem(shadow), "");
            const double len = 1 / std::tan(Deg(alt));
            // Away from the sun: the sun stands at azimuth az from south, west positive, so
            // the shadow points to azimuth az + 180 in the same measure.
            const double sx = len * std::sin(Deg(az)), sy = len * std::cos(Deg(az));
            const double tol = 1e-9 * (1 + len);
            EXPECT_NEAR(ShapeArea(shadow), 1 + std::abs(sx) + std::abs(sy), tol) << alt << az;
            const AcGePoint2d c = shadowtest::ShapeCentroid(shadow);
            EXPECT_NEAR(std::hypot(c.x - 0.5, c.y - 0.5), len / 2, tol) << alt << az;
            EXPECT_NEAR(c.x - 0.5, sx / 2, tol);
            EXPECT_NEAR(c.y - 0.5, sy / 2, tol);
        }
    }
}

TEST(ShadowPoly, HeightRangeAgainstThePlane) {
    const VxGePoint light = LightFrom(Deg(45), 0);  // shadows one unit north per unit height
    struct Case {
        const char* name;
        double elevation, height, plane, area;
    };
    const Case cases[] = {
        {"standing on the plane", 0, 2, 0, 1 + 2},
        {"floating slab: base 3 above, 1 thick", 3, 1, 0, 1 + 1},
        {"cut by the plane: 2 of 5 above", -3, 5, 0, 1 + 2},
        {"hanging down from its elevation", 2, -2, 0, 1 + 2},
        {"top on the plane", -4, 4, 0, 0},
        {"wholly below", -4, 1, 0, 0},
        {"height 0", 0, 0, 0, 0},
        {"height 0 above the plane", 5, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SolxShadowShape shadow = {SquarePolygon(9, 9, 9)};  // cleared by the call
        const int cast =
            GetShadePoly(shadow, Square(0, 0, 1), c.elevation, c.height, light, c.plane);
        EXPECT_EQ(cast, c.area > 0 ? 1 : 0) << c.name;
        EXPECT_NEAR(ShapeArea(shadow), c.area, 1e-9) << c.name;
        EXPECT_EQ(FormProblem(shadow), "") << c.name;
    }
}

TEST(ShadowPoly, DegenerateOutlinesAndLightNeverGiveInvalidShadows) {
    const VxGePoint noon = LightFrom(Deg(40), Deg(20));
    const double nan = std::nan("");
    struct Case {
        const char* name;
        std::vector<VxGePoint> outline;
        VxGePoint light;
        double minArea, maxArea;  // the area expected within these bounds
    };
    const double cube = ShapeArea([&] {
        SolxShadowShape s;
        GetShadePoly(s, Square(0, 0, 1), 0, 1, noon, 0);
        return s;
    }());
    const Case cases[] = {
        // The two lobes of a bow tie both cast: each at least its own footprint.
        {"bow tie", {{0, 0}, {2, 2}, {2, 0}, {0, 2}}, noon, 2.0, 1e9},
        {"figure eight touching itself",
         {{0, 0}, {1, 0}, {1, 1}, {2, 1}, {2, 2}, {1, 2}, {1, 1}, {0, 1}},
         noon,
         2.0,
         1e9},
        {"line", {{0, 0}, {1, 0}, {2, 0}}, noon, 0, 0},
        {"back and forth", {{0, 0}, {3, 0}, {0, 0}, {3, 0}}, noon, 0, 0},
        {"one point", {{1, 1}, {1, 1}, {1, 1}}, noon, 0, 0},
        {"two points", {{1, 1}, {2, 2}}, noon, 0, 0},
        {"empty", {}, noon, 0, 0},
        {"duplicate vertices and closing point",
         {{0, 0}, {0, 0}, {1, 0}, {1, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 1}, {0, 0}},
         noon,
         cube,
         cube},
        {"collinear extra vertex", {{0, 0}, {0.5, 0}, {1, 0}, {1, 1}, {0, 1}}, noon, cube, cube},
        {"spike out of a square",
         {{0, 0}, {1, 0}, {3, 0}, {1, 0}, {1, 1}, {0, 1}},
         noon,
         cube,
         cube},
        {"not a number", {{0, 0}, {nan, 0}, {1, 1}}, noon, 0, 0},
        {"sun on the horizon", Square(0, 0, 1), {0, 1, 0}, 0, 0},
        {"sun below the horizon", Square(0, 0, 1), {0, 1, 0.3}, 0, 0},
        {"no light", Square(0, 0, 1), {0, 0, 0}, 0, 0},
        {"light not a number", Square(0, 0, 1), {nan, 0, -1}, 0, 0},
        {"sun overhead", Square(0, 0, 1), {0, 0, -1}, 1, 1},
        // At 0.001 degrees the shadow is 57,296 times the height: long, finite, valid.
        {"sun almost on the horizon", Square(0, 0, 1), LightFrom(Deg(0.001), Deg(30)),
         1 + 57295 * (std::sin(Deg(30)) + std::cos(Deg(30))),
         1 + 57296 * (std::sin(Deg(30)) + std::cos(Deg(30)))},
    };
    for (const Case& c : cases) {
        SolxShadowShape shadow;
        const int cast = GetShadePoly(shadow, c.outline, 0, 1, c.light, 0);
        EXPECT_EQ(FormProblem(shadow), "") << c.name;
        EXPECT_EQ(cast != 0, !shadow.empty()) << c.name;
        const double area = ShapeArea(shadow);
        EXPECT_GE(area, c.minArea * (1 - 1e-9)) << c.name;
        EXPECT_LE(area, c.maxArea * (1 + 1e-9)) << c.name;
    }
}

TEST(ShadowPoly, FacesCastOnlyAboveThePlaneAndNotEdgeOn) {
    const VxGePoint light = LightFrom(Deg(45), 0);  // one unit north per unit height
    struct Case {
        const char* name;
        SolxFace3d face;
        double area;
    };
    const Case cases[] = {
        {"canopy", {{{0, 0, 2}, {1, 0, 2}, {1, 1, 2}, {0, 1, 2}}, 4}, 1},
        {"wall facing the sun", {{{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, 4}, 1},
        {"wall along the light", {{{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}}, 4}, 0},
        {"face containing the light", {{{0, 0, 1}, {0, 1, 0}, {1, 1, 0}, {1, 0, 1}}, 4}, 0},
        {"lying on the plane", {{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, 3}, 0},
        {"below the plane", {{{0, 0, -1}, {1, 0, -1}, {1, 1, -2}}, 3}, 0},
        // A wall from z = -1 to 1 casts only its upper half: a unit square north of it.
        {"wall half below", {{{0, 0, -1}, {1, 0, -1}, {1, 0, 1}, {0, 0, 1}}, 4}, 1},
        {"triangle stored as a quad", {{{0, 0, 2}, {2, 0, 2}, {2, 2, 2}, {2, 2, 2}}, 4}, 2},
    };
    for (const Case& c : cases) {
        SolxShadowSource source({c.face});
        SolxShadowShape shadow;
        EXPECT_EQ(source.GetShadowPoly(shadow, light, 0), c.area > 0 ? 1 : 0) << c.name;
        EXPECT_NEAR(ShapeArea(shadow), c.area, 1e-9) << c.name;
        EXPECT_EQ(FormProblem(shadow), "") << c.name;
    }
    SolxShadowShape shadow;
    EXPECT_EQ(SolxShadowSource().GetShadowPoly(shadow, light, 0), 0);
    EXPECT_EQ(SolxShadowSource({cases[0].face}).GetShadowPoly(shadow, {0, 0, 1}, 0), 0);
}

TEST(ShadowPoly, UnionOfManyShapesAndItsBoundary) {
    // 300 unit squares, each overlapping the next by half: one 150.5 x 1 strip.
    std::vector<SolxShadowShape> shapes;
    for (int i = 0; i < 300; ++i) shapes.push_back({SquarePolygon(i * 0.5, 0, 1)});
    SolxShadowShape united = UniteShadowShapes(shapes);
    ASSERT_EQ(united.size(), 1u);
    EXPECT_NEAR(ShapeArea(united), 150.5, 1e-9);
    EXPECT_EQ(FormProblem(united), "");

    // Four bars round a 2 x 2 court: one polygon with a hole, two boundary curves.
    const std::vector<SolxShadowShape> frame = {{{{{0, 0}, {4, 0}, {4, 1}, {0, 1}}, {}}},
                                                {{{{0, 3}, {4, 3}, {4, 4}, {0, 4}}, {}}},
                                                {{{{0, 0}, {1, 0}, {1, 4}, {0, 4}}, {}}},
                                                {{{{3, 0}, {4, 0}, {4, 4}, {3, 4}}, {}}}};
    united = UniteShadowShapes(frame);
    ASSERT_EQ(united.size(), 1u);
    ASSERT_EQ(united[0].holes.size(), 1u);
    EXPECT_NEAR(ShapeArea(united), 12, 1e-9);
    EXPECT_EQ(FormProblem(united), "");
    const std::vector<AcDbRegionRing> curves = ShadowBoundaryCurves(frame);
    ASSERT_EQ(curves.size(), 2u);
    EXPECT_NEAR(shadowtest::RingArea(curves[0]), 16, 1e-9);
    EXPECT_NEAR(shadowtest::RingArea(curves[1]), -4, 1e-9);

    // Apart shapes stay apart; nothing gives nothing.
    EXPECT_EQ(UniteShadowShapes({{SquarePolygon(0, 0, 1)}, {SquarePolygon(5, 5, 1)}}).size(), 2u);
    EXPECT_TRUE(UniteShadowShapes({}).empty());
    EXPECT_TRUE(UniteShadowShapes({{}, {}}).empty());
    EXPECT_TRUE(ShadowBoundaryCurves({}).empty());
}

TEST(ShadowPoly, InvalidInputToTheUnionIsRepaired) {
    // A bow tie handed in by a caller: the union still comes out valid, both lobes kept.
    const std::vector<SolxShadowShape> shapes = {{{{{0, 0}, {2, 2}, {2, 0}, {0, 2}}, {}}},
                                                 {SquarePolygon(5, 0, 1)}};
    const SolxShadowShape united = UniteShadowShapes(shapes);
    EXPECT_EQ(FormProblem(united), "");
    EXPECT_NEAR(ShapeArea(united), 2 + 1, 1e-9);
}

}  // namespace
