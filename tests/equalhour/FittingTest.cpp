// The fitting method against independent constructions: a fine brute-force grid of points, each
// evaluated by ray casting through the obstruction group (SolxBuildingEx::SunlitPeriods), not by
// the grid analysis's raster; and, for both plan methods, the reach of a lone tower's 1-hour
// line against the shadows computed from the sun's position. Then the filling of footprint nodes
// and the cut at the walls on a hand-made grid.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include <geos_c.h>

#include "EqualHour.h"
#include "MicroRegion.h"
#include "solx/SolxBuildingEx.h"
#include "solx/SolxDate.h"
#include "solx/SolxSunGrid.h"
#include "solx/SolxTimeList.h"

namespace {

struct Box {
    double x0, y0, x1, y1, elevation, height;
};

// 大寒 in Beijing, 8:00 to 16:00 at 6 minutes.
SolxSunSetting GreatCold() {
    SolxSunSetting s;
    s.longitude = 116.4;
    s.latitude = 39.9;
    s.declination = SolxDate(2026, 1, 20).GetDgLat();
    s.startMinute = 480;
    s.endMinute = 960;
    s.stepMinutes = 6;
    s.noAngleLimit = 1;
    return s;
}

std::vector<VxGePoint> Outline(const Box& b) {
    return {{b.x0, b.y0}, {b.x1, b.y0}, {b.x1, b.y1}, {b.x0, b.y1}};
}

SolxBuildingList Buildings(const std::vector<Box>& boxes) {
    SolxBuildingList list;
    for (const Box& b : boxes)
        list.push_back(std::make_unique<SolxBuilding>(Outline(b), b.elevation, b.height));
    return list;
}

// What the command does between the grid analysis and the drawing: the grid's values (the
// raster path, as the grid analysis computes them for the command), the footprint nodes filled,
// the lines of each level fitted and cut at the walls.
std::vector<std::vector<VxGePolyline2d>> FittedLines(const SolxBuildingList& buildings,
                                                     const SolxSunSetting& sun,
                                                     const SolxSunGrid& grid,
                                                     const std::vector<double>& levels) {
    Vx2dArray<float> hours;
    EXPECT_TRUE(SunGridHoursOf(buildings, {}, sun, 0, grid, SolxGridMethod::Raster, hours));
    std::vector<float> values;
    for (long r = 0; r < hours.GetRowCount(); ++r)
        for (long c = 0; c < hours.GetColumnCount(); ++c) values.push_back(hours[r][c]);
    const std::vector<VxGePolyline2d> outlines = CuttingOutlines(buildings);
    FillFootprintNodes(grid.origin, grid.spacing, grid.rows + 1, grid.columns + 1, values,
                       outlines);
    VxGeCurveFitGraph graph;
    EXPECT_TRUE(
        PrepareFit(grid.origin, grid.spacing, grid.rows + 1, grid.columns + 1, values, graph));
    std::vector<std::vector<VxGePolyline2d>> lines;
    for (double level : levels) lines.push_back(FitLevelLines(graph, level, outlines));
    return lines;
}

// The distance from a point to the nearest line.
double DistanceToLines(const std::vector<VxGePolyline2d>& lines, const VxGePoint& p) {
    double best = 1e300;
    for (const VxGePolyline2d& line : lines) {
        std::vector<VxGeLineSeg2d> segments;
        ExplodePoly2D(line, segments);
        for (const VxGeLineSeg2d& s : segments) {
            const double dx = s.end.x - s.start.x, dy = s.end.y - s.start.y;
            const double len2 = dx * dx + dy * dy;
            const double t =
                len2 > 0
                    ? std::clamp(((p.x - s.start.x) * dx + (p.y - s.start.y) * dy) / len2, 0.0, 1.0)
                    : 0.0;
            best = std::min(best, std::hypot(p.x - s.start.x - t * dx, p.y - s.start.y - t * dy));
        }
    }
    return best;
}

// The area below a level rebuilt from its lines, the building outlines and the grid's frame with
// GEOS, an outside polygon engine: the line work noded on a 0.001 mm grid and polygonized, and a
// face is below the level when probes 0.5 mm beside the middles of the line segments find it on
// their left and never on their right. Footprints are no ground and get no side.
class BelowArea {
public:
    BelowArea(const std::vector<VxGePolyline2d>& lines, const std::vector<VxGePolyline2d>& walls,
              const VxGePolyline2d& frame)
        : m_h(GEOS_init_r()) {
        std::vector<GEOSGeometry*> strings;
        auto add = [&](const VxGePolyline2d& line) {
            const auto& pts = line.Points();
            const size_t n = pts.size() + (line.IsClosed() ? 1 : 0);
            GEOSCoordSequence* seq = GEOSCoordSeq_create_r(m_h, static_cast<unsigned>(n), 2);
            for (size_t i = 0; i < n; ++i) {
                const VxGePoint& q = pts[i % pts.size()];
                GEOSCoordSeq_setXY_r(m_h, seq, static_cast<unsigned>(i), q.x, q.y);
            }
            strings.push_back(GEOSGeom_createLineString_r(m_h, seq));
        };
        for (const VxGePolyline2d& line : lines) add(line);
        for (const VxGePolyline2d& wall : walls) add(wall);
        add(frame);
        GEOSGeometry* all = GEOSGeom_createCollection_r(m_h, GEOS_MULTILINESTRING, strings.data(),
                                                        static_cast<unsigned>(strings.size()));
        GEOSGeometry* noded = GEOSUnaryUnionPrec_r(m_h, all, 1e-3);
        GEOSGeom_destroy_r(m_h, all);
        const GEOSGeometry* input[] = {noded};
        m_faces = GEOSPolygonize_r(m_h, input, 1);
        GEOSGeom_destroy_r(m_h, noded);
        const int count = GEOSGetNumGeometries_r(m_h, m_faces);
        for (int i = 0; i < count; ++i) {
            const GEOSGeometry* f = GEOSGetGeometryN_r(m_h, m_faces, i);
            Face face;
            face.prepared = GEOSPrepare_r(m_h, f);
            GEOSGeom_getXMin_r(m_h, f, &face.box.minX);
            GEOSGeom_getYMin_r(m_h, f, &face.box.minY);
            GEOSGeom_getXMax_r(m_h, f, &face.box.maxX);
            GEOSGeom_getYMax_r(m_h, f, &face.box.maxY);
            GEOSGeometry* inner = GEOSPointOnSurface_r(m_h, f);
            double x = 0, y = 0;
            GEOSGeomGetX_r(m_h, inner, &x);
            GEOSGeomGetY_r(m_h, inner, &y);
            GEOSGeom_destroy_r(m_h, inner);
            face.footprint = std::any_of(walls.begin(), walls.end(), [&](const auto& w) {
                return (w.HitTest(VxGePoint(x, y)) & kVxHitInside) != 0;
            });
            m_list.push_back(face);
        }
        for (const VxGePolyline2d& line : lines) {
            std::vector<VxGeLineSeg2d> segments;
            ExplodePoly2D(line, segments);
            for (const VxGeLineSeg2d& s : segments) {
                const double dx = s.end.x - s.start.x, dy = s.end.y - s.start.y;
                const double length = std::hypot(dx, dy);
                if (length < 2.0) continue;
                const double mx = (s.start.x + s.end.x) / 2, my = (s.start.y + s.end.y) / 2;
                const double nx = -dy / length * 0.5, ny = dx / length * 0.5;
                if (Face* f = FaceAt(mx + nx, my + ny)) ++f->left;
                if (Face* f = FaceAt(mx - nx, my - ny)) ++f->right;
            }
        }
        for (const Face& f : m_list) conflicts += !f.footprint && f.left > 0 && f.right > 0;
    }
    ~BelowArea() {
        for (Face& f : m_list) GEOSPreparedGeom_destroy_r(m_h, f.prepared);
        GEOSGeom_destroy_r(m_h, m_faces);
        GEOS_finish_r(m_h);
    }
    BelowArea(const BelowArea&) = delete;
    BelowArea& operator=(const BelowArea&) = delete;

    // 1 below the level, 0 not, -1 in no face or in a footprint.
    int At(const VxGePoint& p) {
        const Face* f = FaceAt(p.x, p.y);
        if (!f || f->footprint) return -1;
        return f->left > 0 && f->right == 0 ? 1 : 0;
    }
    int conflicts = 0;

private:
    struct Face {
        const GEOSPreparedGeometry* prepared = nullptr;
        VxGeExtent box;
        bool footprint = false;
        int left = 0, right = 0;
    };
    Face* FaceAt(double x, double y) {
        GEOSCoordSequence* seq = GEOSCoordSeq_create_r(m_h, 1, 2);
        GEOSCoordSeq_setXY_r(m_h, seq, 0, x, y);
        GEOSGeometry* point = GEOSGeom_createPoint_r(m_h, seq);
        Face* found = nullptr;
        for (Face& f : m_list)
            if (f.box.Contains(VxGePoint(x, y)) && GEOSPreparedContains_r(m_h, f.prepared, point)) {
                found = &f;
                break;
            }
        GEOSGeom_destroy_r(m_h, point);
        return found;
    }

    GEOSContextHandle_t m_h;
    GEOSGeometry* m_faces = nullptr;
    std::vector<Face> m_list;
};

VxGePolyline2d FrameOf(const SolxSunGrid& grid) {
    const double x0 = grid.origin.x, y0 = grid.origin.y;
    const double x1 = x0 + grid.columns * grid.spacing, y1 = y0 + grid.rows * grid.spacing;
    VxGePolyline2d frame;
    for (const VxGePoint& p : std::vector<VxGePoint>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}})
        frame.Append(p);
    frame.SetClosed(true);
    return frame;
}

double Length(const std::vector<VxGePolyline2d>& lines) {
    double total = 0.0;
    for (const VxGePolyline2d& line : lines) {
        std::vector<VxGeLineSeg2d> segments;
        ExplodePoly2D(line, segments);
        for (const VxGeLineSeg2d& s : segments)
            total += std::hypot(s.end.x - s.start.x, s.end.y - s.start.y);
    }
    return total;
}

struct DistrictCase {
    const char* name;
    std::vector<Box> boxes;
    double z;
};

class FittedAgainstRays : public ::testing::TestWithParam<DistrictCase> {};

// A 1 m grid fitted as the command does, and points of a grid 0.9 m apart (off the grid's
// nodes) evaluated by ray casting: every point more than one cell from the lines lies on the
// side its sunlight says; the points on the wrong side cover less than a band of one cell along
// the lines; no line runs inside a footprint. The side of a point is read from the area below
// the level rebuilt from the lines, the walls and the grid's edge.
TEST_P(FittedAgainstRays, LevelsAgreeWithRayCastPoints) {
    const DistrictCase& c = GetParam();
    const std::vector<double> levels{1.0, 2.0, 3.0};
    const SolxSunSetting sun = GreatCold();
    const SolxBuildingList buildings = Buildings(c.boxes);
    SolxSunGrid grid;
    grid.origin = VxGePoint(-50000.0, -25000.0, c.z);
    grid.spacing = 1000.0;
    grid.columns = 100;
    grid.rows = 110;
    const auto lines = FittedLines(buildings, sun, grid, levels);
    ASSERT_EQ(lines.size(), levels.size());

    SolxBuildingEx group;
    for (const Box& b : c.boxes)
        group.AddBuilding(std::make_unique<SolxBuilding>(Outline(b), b.elevation, b.height));
    group.CalExtend3D();
    const std::vector<SolxSunSample> samples = SampleSun(sun);
    const std::vector<VxGePolyline2d> outlines = CuttingOutlines(buildings);
    std::vector<std::unique_ptr<BelowArea>> areas;
    for (const auto& level : lines) {
        areas.push_back(std::make_unique<BelowArea>(level, outlines, FrameOf(grid)));
        EXPECT_EQ(areas.back()->conflicts, 0) << c.name << ": faces on both sides of lines";
    }
    const double step = 900.0, cell = grid.spacing;
    int compared = 0, below[3] = {0, 0, 0};
    double wrong[3] = {0, 0, 0};
    for (double x = -49000.31; x < 49000; x += step)
        for (double y = -24000.53; y < 84000; y += step) {
            const VxGePoint p(x, y, c.z);
            const bool inFootprint = std::any_of(outlines.begin(), outlines.end(), [&](auto& o) {
                return (o.HitTest(p) & kVxHitInside) != 0;
            });
            if (inFootprint) continue;
            const auto periods =
                group.SunlitPeriods(p, samples, sun.startMinute, sun.endMinute, sun.stepMinutes);
            const double minutes =
                SolxTimeList(periods, sun.startMinute, sun.endMinute).GetTotalTime();
            ++compared;
            for (size_t k = 0; k < levels.size(); ++k) {
                const bool isBelow = minutes < levels[k] * 60 - 1e-6;
                below[k] += isBelow;
                const int fitted = areas[k]->At(p);
                ASSERT_GE(fitted, 0) << c.name << " at " << x << "," << y << " in no face";
                if ((fitted == 1) == isBelow) continue;
                wrong[k] += step * step;
                // Sunlight comes in steps of the sampling: within a step of the level the
                // ground is a plateau the line may cross anywhere.
                if (std::fabs(minutes - levels[k] * 60) <= sun.stepMinutes) continue;
                EXPECT_LT(DistanceToLines(lines[k], p), cell)
                    << c.name << " level " << levels[k] << " at " << x << "," << y << ": "
                    << minutes << " min";
            }
        }
    EXPECT_GT(compared, 10000);
    EXPECT_GT(below[0], 0) << "the district shades some ground below 1 hour";
    for (size_t k = 0; k < levels.size(); ++k) {
        EXPECT_LE(wrong[k], Length(lines[k]) * cell) << c.name << " level " << levels[k];
        for (const VxGePolyline2d& line : lines[k]) {
            // The middle of every segment lies outside all footprints (or on a wall).
            std::vector<VxGeLineSeg2d> segments;
            ExplodePoly2D(line, segments);
            for (const VxGeLineSeg2d& s : segments) {
                const VxGePoint m((s.start.x + s.end.x) / 2, (s.start.y + s.end.y) / 2);
                for (const VxGePolyline2d& o : outlines) {
                    const unsigned hit = o.HitTest(m);
                    EXPECT_TRUE(!(hit & kVxHitInside) || (hit & kVxHitOnBoundary))
                        << c.name << " level " << levels[k] << " at " << m.x << "," << m.y;
                }
            }
        }
    }
}

const DistrictCase kDistricts[] = {
    {"SlabTowerAndLowBlock",
     {{-30000, 0, 10000, 12000, 0, 30000},
      {20000, 5000, 30000, 15000, 0, 60000},
      {-20000, 40000, 0, 50000, 0, 9000}},
     0.0},
    // Touching walls, collinear edges, a building on a podium; walls off the grid's nodes.
    {"TouchingAndCollinearOffTheNodes",
     {{-20300, 400, 0, 10400, 0, 18000},
      {0, 400, 20300, 10400, 0, 27000},
      {20300, 400, 30700, 10400, 9000, 18000}},
     0.0},
    // A plane at 3 m: the shed below it shades nothing there, but its outline still cuts.
    {"PlaneAboveAShed",
     {{-30000, 0, 10000, 12000, 0, 30000}, {-5500, 30500, 4500, 38500, 0, 2995}},
     3000.0},
};

INSTANTIATE_TEST_SUITE_P(Districts, FittedAgainstRays, ::testing::ValuesIn(kDistricts),
                         [](const ::testing::TestParamInfo<DistrictCase>& p) {
                             return std::string(p.param.name);
                         });

// Whether the ground at (x, y) is shaded by a prism over the square [-a, a]^2 of height h at
// one sample: the stretch from the point towards the sun, as long as the top's shadow reaches
// (h over the tangent of the altitude), meets the square (Liang-Barsky clipping).
bool ShadedBySquare(double x, double y, double a, double h, const SolxSunSample& s) {
    if (!(s.ray.z < 0.0)) return true;  // the sun is not up
    const double dx = -h * s.ray.x / -s.ray.z, dy = -h * s.ray.y / -s.ray.z;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x + a, a - x, y + a, a - y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1) return false;
    }
    return true;
}

// A 60 m tower of 10 x 10 m on open ground, the 1-hour level: the ground below it is where the
// tower's shadow lies for all but an hour, north of the tower. Its northern and southern reach,
// scanned on a 0.25 m grid with the shadows worked out from the sun's position alone, against
// the fitted line (1 m grid) and the micro-region outline.
TEST(LoneTower, OneHourLineReachesAsTheShadowsSay) {
    const double a = 5000.0, h = 60000.0;
    const SolxSunSetting sun = GreatCold();
    const std::vector<SolxSunSample> samples = SampleSun(sun);
    double north = -1e300, south = 1e300;
    for (double x = -30000.0; x <= 30000.0; x += 250.0)
        for (double y = -20000.0; y <= 60000.0; y += 250.0) {
            if (std::fabs(x) <= a && std::fabs(y) <= a) continue;  // the footprint
            SolxSunlitRun run(sun.startMinute, sun.endMinute, sun.stepMinutes);
            for (const SolxSunSample& s : samples)
                run.Add(s.minute, !ShadedBySquare(x, y, a, h, s));
            const double minutes =
                SolxTimeList(run.Finish(), sun.startMinute, sun.endMinute).GetTotalTime();
            if (minutes < 60.0 - 1e-6) north = std::max(north, y), south = std::min(south, y);
        }
    ASSERT_GT(north, a) << "some ground north of the tower gets less than an hour";
    ASSERT_LT(north, 50000.0) << "the scan reaches beyond the line";

    const std::vector<Box> tower{{-a, -a, a, a, 0, h}};
    SolxSunGrid grid;
    grid.origin = VxGePoint(-40000.0, -30000.0, 0.0);
    grid.spacing = 1000.0;
    grid.columns = 80;
    grid.rows = 100;
    const auto fitted = FittedLines(Buildings(tower), sun, grid, {1.0});
    ASSERT_FALSE(fitted[0].empty());
    double fittedNorth = -1e300, fittedSouth = 1e300;
    for (const VxGePolyline2d& line : fitted[0])
        for (const VxGePoint& p : line.Points())
            fittedNorth = std::max(fittedNorth, p.y), fittedSouth = std::min(fittedSouth, p.y);
    EXPECT_NEAR(fittedNorth, north, 1250.0) << "a cell and a scan step";
    EXPECT_NEAR(fittedSouth, south, 1250.0);

    MicroRegionInput input;
    input.outlines.push_back(Outline(tower[0]));
    input.baseAndHeight.emplace_back(0.0, h);
    input.levels = {1.0};
    input.sun = sun;
    MicroRegionMonitor quiet;
    const MicroRegionResult r = ComputeMicroRegions(input, quiet);
    ASSERT_EQ(r.outcome, MicroRegionOutcome::Done);
    ASSERT_EQ(r.merged.size(), 1u);
    double microNorth = -1e300;
    for (const VxGeRegion2d& region : r.merged[0])
        for (const VxGePoint& p : region.outer.Points()) microNorth = std::max(microNorth, p.y);
    // The micro-region outline is exact up to the sampling: within the scan's step.
    EXPECT_NEAR(microNorth, north, 250.0);
}

// The fill and the cut on a hand-made grid: a ramp of values from 0 at x = 0 to 4 at x = 4
// (rows of 5 nodes, 1 apart) with a footprint over x in [1.5, 2.5] whose nodes have no value.
// Filled from the neighbours the footprint node reads 2, so the 2-hour line crosses the
// footprint at x = 2 rather than running round it, and the cut leaves only the pieces outside:
// they end on the footprint's walls, y = 1.5 and y = 2.5.
TEST(FittingGeometry, FootprintNodesFilledAndLinesCutAtTheWalls) {
    const int rows = 5, columns = 5;
    std::vector<float> values;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) values.push_back(static_cast<float>(c));
    VxGePolyline2d footprint;
    for (const VxGePoint& p :
         std::vector<VxGePoint>{{1.5, 1.5}, {2.5, 1.5}, {2.5, 2.5}, {1.5, 2.5}})
        footprint.Append(p);
    footprint.SetClosed(true);
    values[2 * columns + 2] = kSunGridNoValue;
    FillFootprintNodes(VxGePoint(0, 0, 0), 1.0, rows, columns, values, {footprint});
    EXPECT_FLOAT_EQ(values[2 * columns + 2], 2.0f);

    VxGeCurveFitGraph graph;
    ASSERT_TRUE(PrepareFit(VxGePoint(0, 0, 0), 1.0, rows, columns, values, graph));
    const auto lines = FitLevelLines(graph, 2.5, {footprint});
    // The line x = 2.5 runs along the wall: along a wall is no line.
    for (const VxGePolyline2d& line : lines)
        for (const VxGePoint& p : line.Points())
            EXPECT_FALSE(p.y > 1.5 + 1e-9 && p.y < 2.5 - 1e-9) << p.x << "," << p.y;

    const auto cut = FitLevelLines(graph, 2.0, {footprint});
    ASSERT_EQ(cut.size(), 2u);
    for (const VxGePolyline2d& line : cut) {
        EXPECT_FALSE(line.IsClosed());
        for (const VxGePoint& p : line.Points()) EXPECT_NEAR(p.x, 2.0, 1e-6);
        // Directed with the lower values (x < 2) on the left: northwards.
        EXPECT_GT(line.Points().back().y, line.Points().front().y);
    }
    const double ends[2] = {std::min(cut[0].Points().back().y, cut[1].Points().back().y),
                            std::max(cut[0].Points().front().y, cut[1].Points().front().y)};
    EXPECT_NEAR(ends[0], 1.5, 1e-9);
    EXPECT_NEAR(ends[1], 2.5, 1e-9);

    // A node that no valued ground surrounds keeps no value.
    std::vector<float> dark(static_cast<size_t>(rows) * columns, kSunGridNoValue);
    VxGePolyline2d everything;
    for (const VxGePoint& p : std::vector<VxGePoint>{{-1, -1}, {5, -1}, {5, 5}, {-1, 5}})
        everything.Append(p);
    everything.SetClosed(true);
    FillFootprintNodes(VxGePoint(0, 0, 0), 1.0, rows, columns, dark, {everything});
    EXPECT_TRUE(
        std::all_of(dark.begin(), dark.end(), [](float v) { return v == kSunGridNoValue; }));
}

}  // namespace
