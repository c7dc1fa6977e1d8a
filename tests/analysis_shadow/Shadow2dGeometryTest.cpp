// The plan geometry of the shadow outlines: moments of a period, the label's
// place, the obstructions made ready for the plane, and one moment's shadow
// with the footprints cut away, checked against constructions worked out by
// hand.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "Shadow2d.h"

namespace {

std::unique_ptr<SolxBuilding> Box(double x0, double y0, double x1, double y1, double elevation,
                                  double height) {
    return std::make_unique<SolxBuilding>(
        std::vector<VxGePoint>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, elevation, height);
}

double Area(const AcDbRegion& region) {
    double area = 0.0;
    region.getArea(area);
    return area;
}

// Light falling at altitude `alt` from the sun at azimuth `azi` (from south,
// west positive).
VxGePoint Light(double alt, double azi) {
    return {std::cos(alt) * std::sin(azi), std::cos(alt) * std::cos(azi), -std::sin(alt)};
}

TEST(ShadowMoments, PeriodStepAndSingleMoment) {
    EXPECT_EQ(ShadowMomentMinutes(480, 960, 60).size(), 9u);
    EXPECT_EQ(ShadowMomentMinutes(480, 960, 60).back(), 960);
    EXPECT_EQ(ShadowMomentMinutes(480, 530, 0), (std::vector<int>{480, 490, 500, 510, 520, 530}));
    EXPECT_EQ(ShadowMomentMinutes(630, 630, 60), std::vector<int>{630});
    EXPECT_TRUE(ShadowMomentMinutes(700, 600, 60).empty());
    EXPECT_EQ(ShadowTimeText(510), L"8:30");
}

// The label stands one offset beyond the shadow's farthest vertices along the
// plan direction (sin azi, cos azi) and in the middle of them across it.
TEST(ShadowLabel, StandsBeyondTheFarthestVerticesAlongTheLight) {
    const std::vector<AcDbRegionRing> square{{{0, 0}, {10, 0}, {10, 10}, {0, 10}}};
    AcGePoint2d at;
    ASSERT_TRUE(ShadowLabelPoint(square, 0.0, 2.0, at));
    EXPECT_NEAR(at.x, 5.0, 1e-9);  // the top edge's middle
    EXPECT_NEAR(at.y, 12.0, 1e-9);
    ASSERT_TRUE(ShadowLabelPoint(square, std::numbers::pi / 2, 2.0, at));
    EXPECT_NEAR(at.x, 12.0, 1e-9);  // beyond the east edge
    EXPECT_NEAR(at.y, 5.0, 1e-9);
    const std::vector<AcDbRegionRing> kite{{{0, 0}, {4, 1}, {9, 7}, {2, 5}}, {{-3, -2}, {-1, -4}}};
    for (double azi : {-1.2, -0.4, 0.3, 1.1, 2.9}) {
        const double ux = std::sin(azi), uy = std::cos(azi);
        double far = -1e300;
        for (const auto& ring : kite)
            for (const auto& p : ring) far = std::max(far, p.x * ux + p.y * uy);
        ASSERT_TRUE(ShadowLabelPoint(kite, azi, 1.5, at));
        EXPECT_NEAR(at.x * ux + at.y * uy, far + 1.5, 1e-9) << azi;
    }
    EXPECT_FALSE(ShadowLabelPoint({}, 0.3, 1.0, at));
    EXPECT_FALSE(ShadowLabelPoint({{}}, 0.3, 1.0, at));
}

// Which buildings cast and which are cut away, on the plane z = 3.
TEST(ShadowObstructions, KeepsWhatReachesAboveThePlaneAndCutsWhatThePlaneCrosses) {
    SolxBuildingList buildings;
    buildings.push_back(Box(0, 0, 10, 10, 0, 3));    // top on the plane: no shadow
    buildings.push_back(Box(20, 0, 30, 10, 0, 12));  // cut: casts and is cut away
    buildings.push_back(Box(40, 0, 50, 10, 5, 4));   // floating above: casts, not cut
    buildings.push_back(Box(60, 0, 70, 10, 0, 0));   // no height
    buildings.push_back(Box(25, 5, 35, 15, 3, 6));   // base on the plane: cut
    SolxShadowSourceList sources;
    ShadowObstructions ready;
    PrepareObstructions(buildings, sources, 3.0, ready);
    ASSERT_EQ(ready.prisms.size(), 3u);
    ASSERT_TRUE(ready.footprints);
    EXPECT_NEAR(Area(*ready.footprints), 100 + 100 - 25,
                1e-6);  // the two cut ones, united
}

// A box of side s and height h standing on the plane, sun at altitude alt: its
// shadow is the square swept along the plan vector L = h cot(alt) (sin azi, cos
// azi), area s^2 + s(|Lx|+|Ly|); the footprint cut away leaves s(|Lx|+|Ly|).
TEST(ShadowMoment, BoxOnThePlaneLosesItsFootprint) {
    SolxBuildingList buildings;
    buildings.push_back(Box(0, 0, 10, 10, 0, 20));
    SolxShadowSourceList sources;
    ShadowObstructions ready;
    PrepareObstructions(buildings, sources, 0.0, ready);
    for (double azi : {-0.9, 0.0, 0.7}) {
        const double alt = 0.5, length = 20 / std::tan(alt);
        ShadowMomentResult moment = ComputeShadowMoment(ready, Light(alt, azi), 0.0);
        ASSERT_TRUE(moment.region) << azi;
        const double swept = 10 * length * (std::fabs(std::sin(azi)) + std::fabs(std::cos(azi)));
        EXPECT_NEAR(Area(*moment.region), swept, 1e-6 * swept) << azi;
        EXPECT_FALSE(moment.curves.empty());
        EXPECT_FALSE(moment.fallback);
    }
    // A box wholly under the plane casts nothing: no region, no curves, nothing
    // to label.
    ShadowObstructions none;
    PrepareObstructions(buildings, sources, 25.0, none);
    EXPECT_TRUE(none.prisms.empty());
    const ShadowMomentResult empty = ComputeShadowMoment(none, Light(0.5, 0.0), 25.0);
    EXPECT_FALSE(empty.region);
    EXPECT_TRUE(empty.curves.empty());
}

// Two boxes on the plane, one floating: the shadows unite; only the standing
// footprints go.
TEST(ShadowMoment, FloatingSlabIsNotCutAway) {
    SolxBuildingList buildings;
    buildings.push_back(Box(0, 0, 10, 10, 5, 1));  // a slab from 5 to 6 over the plane z = 0
    SolxShadowSourceList sources;
    ShadowObstructions ready;
    PrepareObstructions(buildings, sources, 0.0, ready);
    EXPECT_FALSE(ready.footprints);
    // Sun in the south at 45 degrees: the slab's shadow is the square moved 5..6
    // north, swept by 1 more: 10 x 11.
    const ShadowMomentResult moment =
        ComputeShadowMoment(ready, Light(std::numbers::pi / 4, 0.0), 0.0);
    ASSERT_TRUE(moment.region);
    EXPECT_NEAR(Area(*moment.region), 110.0, 1e-6);
    AcDbExtents box;
    moment.region->getGeomExtents(box);
    EXPECT_NEAR(box.minPoint().y, 5.0, 1e-6);
    EXPECT_NEAR(box.maxPoint().y, 16.0, 1e-6);
}

}  // namespace
