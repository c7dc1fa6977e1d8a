// The plan geometry: orientation, compression and hit tests of polylines; regions with holes;
// the grid index against testing every region; the arrangement of crossing, overlapping and
// nested line work, counted and measured by construction; unions; the engine's break.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "brel/VxGeometry.h"

namespace {

VxGePolyline2d Rect(double x0, double y0, double x1, double y1) {
    return VxGePolyline2d({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, true);
}

double TotalArea(const std::vector<VxGeCurveMeshCell>& cells) {
    double sum = 0.0;
    for (const auto& c : cells) sum += c.region.Area();
    return sum;
}

TEST(VxGePolyline2d, OrientationCompressionAndHits) {
    VxGePolyline2d square = Rect(0, 0, 10, 10);
    EXPECT_DOUBLE_EQ(square.Area(), 100.0);
    EXPECT_FALSE(square.IsClockwise());
    square.Reverse();
    EXPECT_TRUE(square.IsClockwise());
    EXPECT_DOUBLE_EQ(square.Area(), -100.0);

    // Mid-edge points, a repeated vertex and a nearly straight corner go; real corners stay.
    VxGePolyline2d busy(
        {{0, 0}, {5, 0}, {5, 0}, {10, 0}, {10, 5}, {10, 10}, {5, 10 + 1e-9}, {0, 10}, {0, 3}},
        true);
    EXPECT_EQ(busy.Compress(), 5);
    EXPECT_EQ(busy.GetNodeNum(), 4);
    EXPECT_DOUBLE_EQ(std::fabs(busy.Area()), 100.0);
    // An open polyline keeps its ends.
    VxGePolyline2d open({{0, 0}, {1, 0}, {2, 0}}, false);
    EXPECT_EQ(open.Compress(), 1);
    EXPECT_EQ(open.GetNodeNum(), 2);

    const VxGePolyline2d l({{0, 0}, {10, 0}, {10, 4}, {4, 4}, {4, 10}, {0, 10}}, true);
    EXPECT_EQ(l.HitTest({2, 2}), kVxHitInside);
    EXPECT_EQ(l.HitTest({7, 7}), 0u);  // in the notch
    EXPECT_EQ(l.HitTest({10, 2}), kVxHitInside | kVxHitOnBoundary);
    EXPECT_EQ(l.HitTest({4, 4}), kVxHitInside | kVxHitOnBoundary);
    EXPECT_EQ(open.HitTest({1, 0}), 0u) << "an open polyline holds nothing";

    EXPECT_FALSE(VxGePolyline2d({{0, 0}, {1, 1}, {2, 2}}, true).IsValid());
    EXPECT_FALSE(VxGePolyline2d({{0, 0}, {1, NAN}, {2, 0}}, true).IsValid());
    EXPECT_TRUE(l.IsValid());
}

TEST(VxGeRegion2d, HolesAndTheirEdges) {
    const VxGeRegion2d ring{Rect(0, 0, 10, 10), {Rect(3, 3, 7, 7)}};
    EXPECT_DOUBLE_EQ(ring.Area(), 84.0);
    EXPECT_TRUE(ring.Contains({1, 1}));
    EXPECT_FALSE(ring.Contains({5, 5}));
    EXPECT_TRUE(ring.Contains({3, 5})) << "the hole's edge belongs to the region";
    EXPECT_FALSE(ring.Contains({11, 5}));
}

// The index answers as testing every region does, for rectangles and triangles of all sizes
// (some spanning most of the field, one with a hole) and random points.
TEST(VxGeRegionIndex, AgreesWithTestingEveryRegion) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> at(-1000, 1000), size(1, 400);
    std::vector<VxGeRegion2d> regions;
    for (int i = 0; i < 300; ++i) {
        const double x = at(rng), y = at(rng), w = size(rng), h = size(rng);
        if (i % 3 == 0)
            regions.push_back({VxGePolyline2d({{x, y}, {x + w, y}, {x, y + h}}, true), {}});
        else
            regions.push_back({Rect(x, y, x + w, y + h), {}});
    }
    regions.push_back({Rect(-900, -900, 900, 900), {Rect(-800, -800, 800, 800)}});
    const VxGeRegionIndex index(regions);
    int hits = 0;
    for (int i = 0; i < 20000; ++i) {
        const VxGePoint p(at(rng) * 1.2, at(rng) * 1.2);
        bool any = false;
        for (const VxGeRegion2d& r : regions) any = any || r.Contains(p);
        ASSERT_EQ(index.AnyContains(p), any) << p.x << "," << p.y;
        hits += any;
    }
    EXPECT_GT(hits, 1000);
    EXPECT_FALSE(VxGeRegionIndex({}).AnyContains({0, 0}));
}

// n horizontal and n vertical lines of length n - 1 crossing on a unit grid: every line is cut
// at each crossing, the faces are the (n - 1)^2 unit squares, each with a centre inside it.
TEST(VxGeCurveMesh, GridOfCrossingLines) {
    const int n = 6;
    VxGeObjList curves;
    for (int i = 0; i < n; ++i) {
        curves.Append(VxGePolyline2d({{0, double(i)}, {n - 1.0, double(i)}}));
        curves.Append(VxGePolyline2d({{double(i), 0}, {double(i), n - 1.0}}));
    }
    curves.Append(VxGePolyline2d({{0, 2}, {n - 1.0, 2}}));  // the same line again
    std::vector<VxGeLineSeg2d> pieces;
    ASSERT_TRUE(curves.InterBreakCurveEx2d(pieces));
    EXPECT_EQ(pieces.size(), size_t(2 * n * (n - 1))) << "overlaps are given once";
    VxGeCurveMesh mesh(pieces);
    ASSERT_TRUE(mesh.FindAllMesh());
    ASSERT_EQ(mesh.Cells().size(), size_t((n - 1) * (n - 1)));
    for (const VxGeCurveMeshCell& cell : mesh.Cells()) {
        EXPECT_NEAR(cell.region.Area(), 1.0, 1e-9);
        EXPECT_TRUE(cell.region.outer.IsClockwise());
        EXPECT_TRUE(cell.region.Contains(cell.center));
        EXPECT_FALSE(cell.region.outer.HitTest(cell.center) & kVxHitOnBoundary);
    }
}

// Two overlapping squares make three faces covering their union; a square inside another
// makes a face with a hole and the face inside, and the outer face's centre is not in the hole;
// a dangling line bounds nothing.
TEST(VxGeCurveMesh, OverlapsNestingAndDanglingLines) {
    VxGeObjList two;
    two.Append(Rect(0, 0, 4, 4));
    two.Append(Rect(2, 2, 6, 6));
    two.Append(VxGePolyline2d({{6, 6}, {9, 9}}));
    std::vector<VxGeLineSeg2d> pieces;
    ASSERT_TRUE(two.InterBreakCurveEx2d(pieces));
    VxGeCurveMesh mesh(pieces);
    ASSERT_TRUE(mesh.FindAllMesh());
    EXPECT_EQ(mesh.Cells().size(), 3u);
    EXPECT_NEAR(TotalArea(mesh.Cells()), 28.0, 1e-6);  // the noding grid moves points a little

    VxGeObjList nested;
    nested.Append(Rect(0, 0, 10, 10));
    nested.Append(Rect(4, 4, 6, 6));
    ASSERT_TRUE(nested.InterBreakCurveEx2d(pieces));
    VxGeCurveMesh inner(pieces);
    ASSERT_TRUE(inner.FindAllMesh());
    ASSERT_EQ(inner.Cells().size(), 2u);
    for (const VxGeCurveMeshCell& cell : inner.Cells()) {
        EXPECT_TRUE(cell.region.Contains(cell.center));
        if (cell.region.holes.empty()) {
            EXPECT_NEAR(cell.region.Area(), 4.0, 1e-9);
        } else {
            EXPECT_NEAR(cell.region.Area(), 96.0, 1e-9);
            EXPECT_FALSE(cell.region.holes[0].HitTest(cell.center) & kVxHitInside);
        }
    }
}

// Eight unit squares around an empty middle unite into one outline with one hole; the shared
// edges are gone and the outline turns counter-clockwise.
TEST(VxGeUnite, SharedEdgesVanishAndHolesStay) {
    std::vector<VxGeRegion2d> squares;
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 3; ++y)
            if (x != 1 || y != 1) squares.push_back({Rect(x, y, x + 1, y + 1), {}});
    std::vector<const VxGeRegion2d*> pointers;
    for (const auto& s : squares) pointers.push_back(&s);
    std::vector<VxGeRegion2d> united;
    ASSERT_TRUE(VxGeUnite(pointers, united));
    ASSERT_EQ(united.size(), 1u);
    united[0].outer.Compress();
    EXPECT_EQ(united[0].outer.GetNodeNum(), 4);
    EXPECT_FALSE(united[0].outer.IsClockwise());
    ASSERT_EQ(united[0].holes.size(), 1u);
    EXPECT_TRUE(united[0].holes[0].IsClockwise());
    EXPECT_NEAR(united[0].Area(), 8.0, 1e-9);
    VxGePoint inside;
    ASSERT_TRUE(PolyCenter(united[0], inside));
    EXPECT_TRUE(united[0].Contains(inside));
    EXPECT_FALSE(PolyCenter({VxGePolyline2d({{0, 0}, {1, 1}, {2, 2}}, true), {}}, inside));
}

// A break asked for from inside the engine makes the long operations give up.
TEST(VxGeInterruptScope, StopsTheEngine) {
    VxGeObjList many;
    for (int i = 0; i < 150; ++i) {
        const double a = i * 0.0419;
        many.Append(VxGePolyline2d({{-std::cos(a) * 1000, -std::sin(a) * 1000},
                                    {std::cos(a) * 1000 + i, std::sin(a) * 1000}}));
    }
    std::vector<VxGeLineSeg2d> pieces;
    {
        const VxGeInterruptScope scope([] { return true; });
        EXPECT_FALSE(many.InterBreakCurveEx2d(pieces));
        EXPECT_TRUE(scope.Interrupted());
    }
    EXPECT_TRUE(many.InterBreakCurveEx2d(pieces)) << "the next run is not broken off";
    EXPECT_GT(pieces.size(), 150u * 100u);
}

double Length(const VxGeObjList& list) {
    double sum = 0.0;
    for (const auto& c : list.Curves()) {
        const auto& p = c.Points();
        for (size_t i = 0; i + 1 < p.size(); ++i)
            sum += std::hypot(p[i + 1].x - p[i].x, p[i + 1].y - p[i].y);
        if (c.IsClosed() && p.size() > 1)
            sum += std::hypot(p[0].x - p.back().x, p[0].y - p.back().y);
    }
    return sum;
}

// Cutting by a 10 x 10 square: a circle of radius 6 around its centre crosses it eight times
// (arcs outside past the corners, inside across the sides, lengths by the chord angles), a line
// through it leaves a middle piece, a segment along its side is on the boundary, a circle that
// misses it stays one closed curve; the same list may take the inside and along pieces.
TEST(VxGeObjList, CutByASquare) {
    const VxGePolyline2d square = Rect(0, 0, 10, 10);
    VxGeObjList curves;
    std::vector<VxGePoint> circle;
    const int n = 3600;
    for (int i = 0; i < n; ++i)
        circle.emplace_back(5 + 6 * std::cos(2 * M_PI * i / n), 5 + 6 * std::sin(2 * M_PI * i / n));
    curves.Append(VxGePolyline2d(circle, true));
    curves.Append(VxGePolyline2d({{-5, 3}, {15, 3}}));
    curves.Append(VxGePolyline2d({{2, 0}, {8, 0}}));
    VxGeObjList inside, outside, along;
    curves.CutBy(square, inside, outside, along);
    // The circle of radius 6 leaves the square where |x - 5| > 5 or |y - 5| > 5: four arcs of
    // angle 2 acos(5/6) each outside, eight pieces in all (four arcs in, four out).
    const double outArc = 4 * 2 * std::acos(5.0 / 6.0) * 6;
    const double circumference = 2 * M_PI * 6;
    EXPECT_EQ(inside.GetLength(), 5);   // four arcs and the middle of the line
    EXPECT_EQ(outside.GetLength(), 6);  // four arcs and the two ends of the line
    EXPECT_EQ(along.GetLength(), 1);
    EXPECT_NEAR(Length(outside), outArc + 10, 0.01);
    EXPECT_NEAR(Length(inside), circumference - outArc + 10, 0.01);
    EXPECT_NEAR(Length(along), 6, 1e-9);
    for (const auto& c : inside.Curves()) EXPECT_FALSE(c.IsClosed());

    VxGeObjList far;
    far.Append(VxGePolyline2d({{20, 20}, {30, 20}, {30, 30}}, true));
    VxGeObjList both, kept;
    far.CutBy(square, both, kept, both);
    ASSERT_EQ(kept.GetLength(), 1);
    EXPECT_TRUE(kept.Curves()[0].IsClosed());
    EXPECT_EQ(both.GetLength(), 0);
}

}  // namespace
