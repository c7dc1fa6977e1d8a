// The facade mode's geometry and its point evaluation against independent constructions: arcs
// checked by trigonometry, the node grid's cell rules, the unfolding of a rectangular slab, and
// a south facade behind a long wall whose shadow edge on the facade is known analytically for
// every sun position; a facade point and a window test point at the same place must agree.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "CSunSpreadWall.h"
#include "WinSunAna.h"
#include "brel/VxGeCurveFit.h"
#include "solx/SolxBuildingEx.h"
#include "solx/SolxTimeList.h"
#include "solx/SolxWinSunlightInfo.h"

namespace {

constexpr double kPi = std::numbers::pi;

std::vector<SolxOutlineVertex> Rect(double x0, double y0, double x1, double y1) {
    return {{{x0, y0, 0}, 0}, {{x1, y0, 0}, 0}, {{x1, y1, 0}, 0}, {{x0, y1, 0}, 0}};
}

TEST(FacadeWall, ArcFollowsItsCircle) {
    // A quarter circle of radius 10 about the origin, counter-clockwise from (10, 0) to (0, 10).
    const SolxWallCurve ccw({10, 0, 0}, {0, 10, 0}, std::tan(kPi / 8));
    ASSERT_TRUE(ccw.IsArc());
    EXPECT_NEAR(ccw.Length(), 5 * kPi, 1e-9);
    EXPECT_NEAR(ccw.Centre().x, 0, 1e-9);
    EXPECT_NEAR(ccw.Centre().y, 0, 1e-9);
    const VxGePoint mid = ccw.PointAt(ccw.Length() / 2);
    EXPECT_NEAR(mid.x, 10 * std::cos(kPi / 4), 1e-9);
    EXPECT_NEAR(mid.y, 10 * std::sin(kPi / 4), 1e-9);
    EXPECT_NEAR(ccw.TangentAngle(0), kPi / 2, 1e-9);
    EXPECT_NEAR(ccw.DistanceAlong({20, 20, 0}), ccw.Length() / 2, 1e-9);
    EXPECT_NEAR(ccw.DistanceTo({20, 20, 0}), std::hypot(20, 20) - 10, 1e-9);
    // Beyond the arc's ends the nearer end is the closest point.
    EXPECT_NEAR(ccw.DistanceAlong({5, -8, 0}), 0.0, 1e-9);
    // The same circle clockwise from (0, 10) to (10, 0): same points, the other way round.
    const SolxWallCurve cw({0, 10, 0}, {10, 0, 0}, -std::tan(kPi / 8));
    EXPECT_NEAR(cw.Centre().Distance2d({0, 0, 0}), 0, 1e-9);
    EXPECT_NEAR(cw.PointAt(cw.Length() / 4).x, 10 * std::cos(3 * kPi / 8), 1e-9);
    EXPECT_NEAR(cw.TangentAngle(0), 0.0, 1e-9);
    // A half circle bulges to the right of its chord when counter-clockwise.
    const SolxWallCurve half({-5, 0, 0}, {5, 0, 0}, 1.0);
    EXPECT_NEAR(half.PointAt(half.Length() / 2).y, -5, 1e-9);
}

TEST(FacadeWall, MapsOntoStraightAndArcFacades) {
    CSunSpreadWall south(1000.0, 10.0);
    EXPECT_EQ(south.MapToFacade({500, 700, 0}).z, 0.0);  // no wall: the zero point
    south.wall = std::make_unique<SolxWallCurve>(VxGePoint(0, 0, 0), VxGePoint(20000, 0, 0));
    south.unfoldOrigin = VxGePoint(7000, 3000, 0);
    const VxGePointDir2d s = south.MapToFacade({7000 + 12000, 8000, 0});
    EXPECT_NEAR(s.x, 12000, 1e-9);
    EXPECT_NEAR(s.y, -10, 1e-9);  // out of the wall towards the south
    EXPECT_NEAR(s.z, 8000, 1e-9);
    EXPECT_NEAR(s.direction, 3 * kPi / 2, 1e-12);

    CSunSpreadWall round(1000.0, 10.0);
    round.wall = std::make_unique<SolxWallCurve>(VxGePoint(10000, 0, 0), VxGePoint(0, 10000, 0),
                                                 std::tan(kPi / 8));
    const double quarter = 10000 * kPi / 2;
    const VxGePointDir2d a = round.MapToFacade({quarter / 3, 4000, 0});
    // A third of the way round, on the circle of radius 10000 + offset, facing away from the
    // centre.
    EXPECT_NEAR(a.x, 10010 * std::cos(kPi / 6), 1e-6);
    EXPECT_NEAR(a.y, 10010 * std::sin(kPi / 6), 1e-6);
    EXPECT_NEAR(a.direction, kPi / 6, 1e-12);
    EXPECT_NEAR(a.z, 4000, 1e-12);
}

TEST(FacadeWall, GridCellsAndBorderShift) {
    struct Case {
        double length, height, grid;
        int columns, rows;
        double lastX;  // place of the last column before the border shift
    };
    // 1000 / 300: three cells and a rest of 100 > 30, so a fourth (narrow) one ending at 1000;
    // 1000 / 400: 200 > 40 adds a third; 1005 / 100: a rest of 5 <= 10 widens the last cell.
    for (const Case& c : {Case{1000, 650, 300, 4, 3, 1000}, Case{1000, 650, 400, 3, 2, 1000},
                          Case{1005, 300, 100, 10, 3, 1005}}) {
        CSunSpreadWall panel(c.grid);
        panel.wall = std::make_unique<SolxWallCurve>(VxGePoint(0, 0, 0), VxGePoint(0, c.length, 0));
        panel.height = c.height;
        panel.elevation = 2000;
        panel.unfoldOrigin = VxGePoint(500, 2000, 0);
        panel.BuildGrids();
        ASSERT_EQ(panel.Columns(), c.columns) << c.length << " / " << c.grid;
        ASSERT_EQ(panel.Rows(), c.rows);
        ASSERT_EQ(panel.values.GetRowCount(), c.rows + 1);
        ASSERT_EQ(panel.values.GetColumnCount(), c.columns + 1);
        EXPECT_NEAR(panel.values[0][0].x, 500.01, 1e-9);
        EXPECT_NEAR(panel.values[0][0].y, 2000.01, 1e-9);
        EXPECT_NEAR(panel.values[1][1].x, 500 + c.grid, 1e-9);
        EXPECT_NEAR(panel.values[1][1].y, 2000 + c.grid, 1e-9);
        EXPECT_NEAR(panel.values[c.rows][c.columns].x, 500 + c.lastX - 0.01, 1e-9);
        EXPECT_NEAR(panel.values[c.rows][c.columns].y, 2000 + c.height - 0.01, 1e-9);
        // The samples stand on the wall (x = 0, running north, so facing east) at the node's
        // place and height.
        const VxGePointDir2d& s = panel.samples[c.rows][1];
        EXPECT_NEAR(s.x, 0, 1e-9);
        EXPECT_NEAR(s.y, c.grid, 1e-9);
        EXPECT_NEAR(s.z, 2000 + c.height - 0.01, 1e-9);
        EXPECT_NEAR(s.direction, 0, 1e-12);
    }
    // A wall shorter than a tenth of a cell has one column of nodes: nothing to fit.
    CSunSpreadWall stub(1000);
    stub.wall = std::make_unique<SolxWallCurve>(VxGePoint(0, 0, 0), VxGePoint(80, 0, 0));
    stub.height = 3000;
    stub.BuildGrids();
    EXPECT_EQ(stub.values.GetColumnCount(), 1);
    VxGeCurveFitGraph graph;
    EXPECT_FALSE(PrepareFit(stub.values, graph));
}

TEST(FacadeWall, SlabWallsAndUnfolding) {
    // Clockwise input: made counter-clockwise, started at the leftmost vertex that comes first,
    // the due-west (north) wall left out.
    std::vector<SolxOutlineVertex> cw = Rect(0, 0, 10000, 6000);
    std::reverse(cw.begin(), cw.end());
    std::rotate(cw.begin(), cw.begin() + 1, cw.end());
    VxGePoint start;
    const std::vector<SolxWallCurve> walls = SlabWalls(cw, &start);
    ASSERT_EQ(walls.size(), 3u);
    EXPECT_EQ(start.x, 0);
    EXPECT_EQ(start.y, 6000);
    EXPECT_EQ(walls[0].End().y, 0);      // the west wall, southwards
    EXPECT_EQ(walls[1].End().x, 10000);  // the south wall, eastwards
    EXPECT_EQ(walls[2].End().y, 6000);   // the east wall, northwards

    // Joined walls unfold edge to edge, the others 5000 apart.
    auto place = [](const std::vector<SolxWallCurve>& order) {
        SolxFacadeUnfolding unfolding(5000);
        std::vector<double> xs;
        for (const SolxWallCurve& w : order) {
            CSunSpreadWall panel(1000);
            panel.elevation = 300;
            panel.wall = std::make_unique<SolxWallCurve>(w);
            unfolding.Place(panel);
            xs.push_back(panel.unfoldOrigin.x);
            EXPECT_EQ(panel.unfoldOrigin.y, 300);
        }
        return xs;
    };
    EXPECT_EQ(place(walls), (std::vector<double>{0, 6000, 16000}));
    EXPECT_EQ(place({walls[2], walls[1]}), (std::vector<double>{0, 11000}));

    // An arc in a clockwise outline keeps its bulge outwards once reversed.
    std::vector<SolxOutlineVertex> round = {
        {{0, 0, 0}, 0}, {{0, 4000, 0}, 0}, {{4000, 4000, 0}, -1.0}, {{4000, 0, 0}, 0}};
    EXPECT_LT(OutlineArea(round), 0);
    EXPECT_NEAR(OutlineArea(round), -(16e6 + kPi * 2000 * 2000 / 2), 1);
    const std::vector<SolxWallCurve> ccw = SlabWalls(round);
    const auto arc = std::find_if(ccw.begin(), ccw.end(), [](auto& w) { return w.IsArc(); });
    ASSERT_NE(arc, ccw.end());
    const VxGePoint top = arc->PointAt(arc->Length() / 2);
    EXPECT_NEAR(top.x, 6000, 1e-6);
    EXPECT_NEAR(top.y, 2000, 1e-6);

    EXPECT_EQ(HitOutlineSegment(Rect(0, 0, 10000, 6000), {5000, 40, 0}, 100), 0);
    EXPECT_EQ(HitOutlineSegment(Rect(0, 0, 10000, 6000), {9980, 3000, 0}, 100), 1);
    EXPECT_EQ(HitOutlineSegment(Rect(0, 0, 10000, 6000), {5000, 3000, 0}, 100), -1);
}

// A south facade (y = 0, x 0 to 20 m, 60 m high) with a 30 m high wall 19 m in front of it,
// long enough to count as endless; Beijing on a winter day, 8:00 to 16:00 every 10 minutes.
class SouthFacade : public ::testing::Test {
protected:
    void SetUp() override {
        m_sun.longitude = 116.4;
        m_sun.latitude = 39.9;
        m_sun.declination = -20.2;
        m_sun.startMinute = 480;
        m_sun.endMinute = 960;
        m_sun.stepMinutes = 10;
        m_sun.noAngleLimit = 1;
        m_group.AddBuilding(std::make_unique<SolxBuilding>(
            std::vector<VxGePoint>{
                {-400000, -20000}, {400000, -20000}, {400000, -19000}, {-400000, -19000}},
            0.0, kWall));
        m_group.AddBuilding(std::make_unique<SolxBuilding>(
            std::vector<VxGePoint>{{0, 0}, {20000, 0}, {20000, 10000}, {0, 10000}}, 0.0, 60000.0));
        m_group.CalExtend3D();
        m_setting = SolxCalSetting(m_sun, kOffset + 1.0);
    }

    // The shadow edge of the wall on the plane y = -offset for the sun sample: light reaching a
    // point there from the sun has to clear the wall's north face 18990 further south.
    static double EdgeHeight(const SolxSunSample& s) {
        return kWall - (19000 - kOffset) * -s.ray.z / s.ray.y;
    }
    // Lit when the sun is up, in front of the facade (its light travels northwards) and the point
    // stands above the edge. Near, when the point is within 1 of an edge (left out of checks).
    bool Lit(const SolxSunSample& s, double z, bool& near) const {
        if (!(s.ray.z < 0) || !(s.ray.y > 0)) return false;
        near = near || std::abs(z - EdgeHeight(s)) < 1.0;
        return z > EdgeHeight(s);
    }
    double AnalyticMinutes(double z, bool& near) const {
        SolxSunlitRun run(m_sun.startMinute, m_sun.endMinute, m_sun.stepMinutes);
        for (const SolxSunSample& s : m_setting.samples) run.Add(s.minute, Lit(s, z, near));
        return SolxTimeList(run.Finish(), m_sun.startMinute, m_sun.endMinute).GetTotalTime();
    }

    static constexpr double kWall = 30000.0;
    static constexpr double kOffset = 10.0;
    SolxSunSetting m_sun;
    SolxBuildingEx m_group;
    SolxCalSetting m_setting;
};

TEST_F(SouthFacade, NodesAndLevelLinesFollowTheAnalyticShadowEdge) {
    CSunSpreadWall panel(1000.0, kOffset);
    panel.wall = std::make_unique<SolxWallCurve>(VxGePoint(0, 0, 0), VxGePoint(20000, 0, 0));
    panel.height = 60000;
    panel.BuildGrids();
    int checked = 0;
    for (long r = 0; r < panel.samples.GetRowCount(); ++r)
        for (long c = 0; c < panel.samples.GetColumnCount(); ++c) {
            SolxTimeList times({}, 0, 0, 0);
            ASSERT_TRUE(m_group.CalSinglePoint(m_setting, panel.samples[r][c], times));
            panel.values[r][c].z = times.GetTotalTime() / 60.0;
            bool near = false;
            const double expected = AnalyticMinutes(panel.samples[r][c].z, near);
            if (near) continue;
            ASSERT_NEAR(times.GetTotalTime(), expected, 1e-6) << "row " << r << " column " << c;
            ++checked;
        }
    EXPECT_GT(checked, 1000);
    // The hours grow with the height, so the line of each level is level: it must lie within a
    // grid cell of the lowest height that gets the level.
    VxGeCurveFitGraph graph;
    ASSERT_TRUE(PrepareFit(panel.values, graph));
    for (double level : {1.0, 2.0, 4.0}) {
        double z = 0;
        bool near = false;
        while (z < 60000 && AnalyticMinutes(z, near) < level * 60) z += 10;
        graph.Fit(level);
        VxGeObjList curves;
        ASSERT_GT(graph.CreateCurve(curves), 0) << level;
        for (const VxGePolyline2d& curve : curves.Curves())
            for (const VxGePoint& p : curve.Points()) {
                if (p.x < 1 || p.x > 19999) continue;  // the ends of the panel's edges
                EXPECT_NEAR(p.y, z, 1000.0) << "level " << level << " at x " << p.x;
            }
        graph.Reset();
    }
}

TEST_F(SouthFacade, FacadePointAgreesWithWindowTestPoint) {
    CSunSpreadWall panel(1000.0, kOffset);
    panel.wall = std::make_unique<SolxWallCurve>(VxGePoint(0, 0, 0), VxGePoint(20000, 0, 0));
    for (double sill : {12000.0, 19500.0, 22000.0, 26000.0, 41000.0}) {
        SolxWindowBlock block;
        block.insertion = VxGePoint(5000, 0, sill);
        block.rotation = 0.0;  // the wall runs east, the window faces south
        block.width = 1500;
        block.depth = 200;
        block.height = 1500;
        SolxWinSunlightInfo window(block, kOffset);
        WinSunRule rule{m_sun.startMinute, m_sun.endMinute, m_sun.stepMinutes, 1, 0, 0};
        SampleWindowSunlight(window, m_group, m_setting.samples, rule);
        const SolxTimeList fromWindow(window.m_sunlit, m_sun.startMinute, m_sun.endMinute);

        const VxGePointDir2d point = panel.MapToFacade({5000, sill, 0});
        SolxTimeList facade({}, 0, 0, 0);
        m_group.CalSinglePoint(m_setting, point, facade);
        ASSERT_EQ(facade.GetPeriods().size(), fromWindow.GetPeriods().size()) << sill;
        for (size_t i = 0; i < facade.GetPeriods().size(); ++i) {
            EXPECT_NEAR(facade.GetPeriods()[i].x, fromWindow.GetPeriods()[i].x, 1e-9) << sill;
            EXPECT_NEAR(facade.GetPeriods()[i].y, fromWindow.GetPeriods()[i].y, 1e-9) << sill;
        }
    }
    // Behind the facade the sun never counts: the north face of the same block gets nothing
    // until the sun comes round to the north side (not on a winter day).
    CSunSpreadWall north(1000.0, kOffset);
    north.wall =
        std::make_unique<SolxWallCurve>(VxGePoint(20000, 10000, 0), VxGePoint(0, 10000, 0));
    SolxTimeList none({}, 0, 0, 0);
    m_group.CalSinglePoint(m_setting, north.MapToFacade({10000, 50000, 0}), none);
    EXPECT_EQ(none.GetTotalTime(), 0.0);
}

}  // namespace
