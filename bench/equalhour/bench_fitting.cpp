// The fitting method of the equal-hour lines on generated districts of 50, 100 and 200
// buildings (with their roof faces), 1, 2 and 3-hour levels, 8:00 to 16:00 at the 6-minute step
// on 大寒日 in Beijing, on the ground, at a 1 m grid over the district's extents grown by a tenth
// of the larger side on every side (the area the grid analysis takes on Enter). One run per
// size; the counters give the seconds of the grid's values (the raster path, as the command
// asks the grid analysis for them), of the contour lines of the three levels, and of cutting
// them at the walls, and the sizes: grid points, buildings, lines and their vertices.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <memory>

#include "DistrictModel.h"
#include "EqualHour.h"
#include "solx/SolxDate.h"
#include "solx/SolxSunGrid.h"

namespace {

double Seconds(std::clock_t from, std::clock_t to) {
    return static_cast<double>(to - from) / CLOCKS_PER_SEC;
}

void BM_Fitting(benchmark::State& state) {
    district::Options options;
    options.buildings = static_cast<int>(state.range(0));
    const district::District d = district::MakeDistrict(options);
    SolxBuildingList buildings;
    VxGeExtent extent;
    for (const district::Slab& s : d.slabs) {
        buildings.push_back(std::make_unique<SolxBuilding>(s.outline, s.elevation, s.height));
        for (const VxGePoint& p : s.outline) extent.Add(p);
    }
    SolxShadowSourceList sources;
    sources.push_back(std::make_unique<SolxShadowSource>(d.roofFaces));
    SolxSunSetting sun;
    sun.longitude = 116.4;
    sun.latitude = 39.9;
    sun.declination = SolxDate(2026, 1, 20).GetDgLat();
    sun.startMinute = 480;
    sun.endMinute = 960;
    sun.stepMinutes = 6;
    const double margin = std::max(extent.maxX - extent.minX, extent.maxY - extent.minY) / 10;
    SolxSunGrid grid;
    grid.spacing = 1000.0;
    grid.origin = VxGePoint(extent.minX - margin, extent.minY - margin, 0.0);
    grid.columns = static_cast<int>((extent.maxX - extent.minX + 2 * margin) / grid.spacing);
    grid.rows = static_cast<int>((extent.maxY - extent.minY + 2 * margin) / grid.spacing);
    const std::vector<double> levels{1.0, 2.0, 3.0};
    size_t lines = 0, vertices = 0;
    for (auto _ : state) {
        const std::clock_t start = std::clock();
        Vx2dArray<float> hours;
        SunGridHoursOf(buildings, sources, sun, 0, grid, SolxGridMethod::Raster, hours);
        const std::clock_t valued = std::clock();
        std::vector<float> values;
        values.reserve(static_cast<size_t>(grid.PointCount()));
        for (long r = 0; r < hours.GetRowCount(); ++r)
            for (long c = 0; c < hours.GetColumnCount(); ++c) values.push_back(hours[r][c]);
        const std::vector<VxGePolyline2d> outlines = CuttingOutlines(buildings);
        FillFootprintNodes(grid.origin, grid.spacing, grid.rows + 1, grid.columns + 1, values,
                           outlines);
        VxGeCurveFitGraph graph;
        PrepareFit(grid.origin, grid.spacing, grid.rows + 1, grid.columns + 1, values, graph);
        // The contour lines alone, then again with the cut.
        for (double level : levels) {
            graph.Fit(level, -1.0);
            VxGeObjList curves;
            graph.CreateCurve(curves);
            graph.Reset();
        }
        const std::clock_t contoured = std::clock();
        lines = vertices = 0;
        for (double level : levels)
            for (const VxGePolyline2d& line : FitLevelLines(graph, level, outlines)) {
                ++lines;
                vertices += line.Points().size();
            }
        const std::clock_t end = std::clock();
        state.counters["grid_s"] = Seconds(start, valued);
        state.counters["contour_s"] = Seconds(valued, contoured);
        state.counters["cut_s"] = Seconds(contoured, end) - Seconds(valued, contoured);
        state.counters["total_s"] = Seconds(start, valued) + Seconds(contoured, end);
    }
    state.counters["points"] = static_cast<double>(grid.PointCount());
    state.counters["buildings"] = static_cast<double>(buildings.size());
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["vertices"] = static_cast<double>(vertices);
}

BENCHMARK(BM_Fitting)
    ->Arg(50)
    ->Arg(100)
    ->Arg(200)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
BENCHMARK_MAIN();
