// Contour lines of value grids with known level sets: a cone (circles), a ramp (straight lines),
// two hills that merge, saddles, and values that are not numbers.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "brel/VxGeCurveFit.h"

namespace {

// The grid of f over [x0, x0 + (n - 1) h] x [y0, y0 + (n - 1) h].
VxGeCurveFitGraph Graph(const std::function<double(double, double)>& f, double x0, double y0,
                        double h, int n) {
    std::vector<float> values;
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) values.push_back(static_cast<float>(f(x0 + c * h, y0 + r * h)));
    VxGeCurveFitGraph graph;
    EXPECT_TRUE(PrepareFit({x0, y0}, h, n, n, values, graph));
    return graph;
}

std::vector<VxGePolyline2d> Curves(VxGeCurveFitGraph& graph, double level) {
    graph.Fit(level, -1.0);
    VxGeObjList list;
    graph.CreateCurve(list);
    return list.Curves();
}

// No two segments of the curves cross except at shared ends.
bool Crossing(const std::vector<VxGePolyline2d>& curves) {
    std::vector<VxGeLineSeg2d> s;
    for (const auto& c : curves) ExplodePoly2D(c, s);
    auto side = [](const VxGePoint& a, const VxGePoint& b, const VxGePoint& p) {
        return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
    };
    for (size_t i = 0; i < s.size(); ++i)
        for (size_t j = i + 1; j < s.size(); ++j) {
            const double d1 = side(s[i].start, s[i].end, s[j].start);
            const double d2 = side(s[i].start, s[i].end, s[j].end);
            const double d3 = side(s[j].start, s[j].end, s[i].start);
            const double d4 = side(s[j].start, s[j].end, s[i].end);
            if (d1 * d2 < -1e-12 && d3 * d4 < -1e-12) return true;
        }
    return false;
}

// A cone's level set is a circle: one closed line, every vertex on the circle (the cone is linear
// along every grid edge only approximately, so within a small fraction of the spacing), the area
// that of the circle, and the inside (values below the level) on the right.
TEST(VxGeCurveFitGraph, ConeGivesOneClosedCircle) {
    VxGeCurveFitGraph graph =
        Graph([](double x, double y) { return std::hypot(x, y); }, -10.05, -10.05, 0.5, 41);
    for (double radius : {2.0, 5.0, 8.5}) {
        const auto curves = Curves(graph, radius);
        ASSERT_EQ(curves.size(), 1u) << radius;
        const VxGePolyline2d& circle = curves[0];
        EXPECT_TRUE(circle.IsClosed());
        for (const VxGePoint& p : circle.Points())
            EXPECT_NEAR(std::hypot(p.x, p.y), radius, 0.05) << radius;
        // An inscribed polygon of chords: a little less than the circle.
        const double disc = std::numbers::pi * radius * radius;
        EXPECT_LT(std::fabs(circle.Area()), disc);
        EXPECT_GT(std::fabs(circle.Area()), 0.98 * disc);
        EXPECT_TRUE(circle.IsClockwise()) << "above the level (outside) on the left";
        EXPECT_FALSE(Crossing(curves));
    }
    EXPECT_TRUE(Curves(graph, 50.0).empty()) << "a level above every value";
}

// A ramp f = x gives one open straight line across the grid at x = level, from one edge of the
// grid to the other, with the higher values on its left.
TEST(VxGeCurveFitGraph, RampGivesAnOpenStraightLine) {
    VxGeCurveFitGraph graph = Graph([](double x, double) { return x; }, 0.0, 0.0, 1.0, 11);
    const auto curves = Curves(graph, 3.3);
    ASSERT_EQ(curves.size(), 1u);
    EXPECT_FALSE(curves[0].IsClosed());
    EXPECT_EQ(curves[0].GetNodeNum(), 11);
    for (const VxGePoint& p : curves[0].Points()) EXPECT_NEAR(p.x, 3.3, 1e-6);
    const VxGePoint& first = curves[0][0];
    const VxGePoint& last = curves[0][curves[0].GetNodeNum() - 1];
    EXPECT_NEAR(std::fabs(last.y - first.y), 10.0, 1e-9);
    EXPECT_GT(first.y, last.y) << "walking south, x above the level lies to the left (east)";
}

// Two hills: a level below the pass between them rings both together, one above it rings each
// on its own; no line crosses another.
TEST(VxGeCurveFitGraph, TwoHillsMergeBelowThePass) {
    auto hills = [](double x, double y) {
        return std::exp(-((x + 3) * (x + 3) + y * y) / 4) +
               std::exp(-((x - 3) * (x - 3) + y * y) / 4);
    };
    VxGeCurveFitGraph graph = Graph(hills, -8.0, -6.0, 0.25, 57);
    const double pass = hills(0, 0);
    const auto low = Curves(graph, pass * 0.8);
    const auto high = Curves(graph, pass * 1.2);
    EXPECT_EQ(low.size(), 1u);
    EXPECT_EQ(high.size(), 2u);
    for (const auto* set : {&low, &high}) {
        EXPECT_FALSE(Crossing(*set));
        for (const auto& c : *set) EXPECT_TRUE(c.IsClosed());
    }
}

// Saddles: on x * y the lines at ±0.5 are the hyperbola's branches, two open lines each, never
// crossing; on a checkerboard of cells the mean of each cell decides and the lines still close.
TEST(VxGeCurveFitGraph, SaddlesStayConsistent) {
    VxGeCurveFitGraph graph =
        Graph([](double x, double y) { return x * y; }, -2.05, -2.05, 0.1, 42);
    for (double level : {0.5, -0.5}) {
        const auto curves = Curves(graph, level);
        EXPECT_EQ(curves.size(), 2u) << level;
        for (const auto& c : curves) EXPECT_FALSE(c.IsClosed());
        EXPECT_FALSE(Crossing(curves));
        for (const auto& c : curves)
            for (const VxGePoint& p : c.Points()) EXPECT_NEAR(p.x * p.y, level, 0.01);
    }
    // Peaks at the corners of a 3 x 3 grid and a low middle: the middle cell rows are saddles.
    std::vector<float> checker{1, 0, 1, 0, 1, 0, 1, 0, 1};
    VxGeCurveFitGraph board;
    ASSERT_TRUE(PrepareFit({0, 0}, 1.0, 3, 3, checker, board));
    const auto joined = Curves(board, 0.4);  // every cell's mean (0.5) is above: one region
    const auto apart = Curves(board, 0.6);   // below: five separate peaks
    EXPECT_FALSE(Crossing(joined));
    EXPECT_FALSE(Crossing(apart));
    EXPECT_EQ(apart.size(), 5u);
    EXPECT_EQ(joined.size(), 4u) << "one line around each low node on the grid's edge";
}

// A node that is not a number counts as below every level; a grid too small or short of values
// is refused.
TEST(VxGeCurveFitGraph, MissingValuesAndBadGrids) {
    std::vector<float> values(25, 2.0f);
    values[12] = NAN;
    VxGeCurveFitGraph graph;
    ASSERT_TRUE(PrepareFit({0, 0}, 1.0, 5, 5, values, graph));
    const auto curves = Curves(graph, 1.0);
    ASSERT_EQ(curves.size(), 1u);
    EXPECT_TRUE(curves[0].IsClosed());
    EXPECT_EQ(curves[0].HitTest({2, 2}), kVxHitInside);
    EXPECT_FALSE(PrepareFit({0, 0}, 1.0, 1, 5, std::vector<float>(5), graph));
    EXPECT_FALSE(PrepareFit({0, 0}, 1.0, 5, 5, std::vector<float>(24), graph));
    EXPECT_FALSE(PrepareFit({0, 0}, 0.0, 5, 5, values, graph));
}

}  // namespace
