// The facade equal-hour lines' computation for one panel: a wall 100 m long and 60 m high at a
// 1 m grid (101 x 61 = 6,161 points) standing 1 m north of a generated district of 400
// buildings with their roof faces, facing south across the whole district; 大寒日 in Beijing from
// 8:00 to 16:00 every `step` minutes. One iteration lays the grid, evaluates every point
// (CalSinglePoint) and fits the lines of 1, 2 and 3 hours; the counter "time/point" is the
// per-point cost (seconds).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

#include "CSunSpreadWall.h"
#include "DistrictModel.h"
#include "brel/VxGeCurveFit.h"
#include "solx/SolxBuildingEx.h"
#include "solx/SolxDate.h"
#include "solx/SolxTimeList.h"

namespace {

struct Scene {
    SolxBuildingEx group;
    double cx = 0, cy = 0;
};

Scene& TheScene() {
    static std::unique_ptr<Scene> scene;
    if (scene) return *scene;
    scene = std::make_unique<Scene>();
    district::Options options;
    options.buildings = 400;
    const district::District d = district::MakeDistrict(options);
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (const district::Slab& s : d.slabs) {
        scene->group.AddBuilding(std::make_unique<SolxBuilding>(s.outline, s.elevation, s.height));
        for (const VxGePoint& p : s.outline)
            x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x),
            y1 = std::max(y1, p.y);
    }
    scene->group.AddSource(std::make_unique<SolxShadowSource>(d.roofFaces));
    scene->group.CalExtend3D();
    scene->cx = (x0 + x1) / 2;
    scene->cy = y1 + 1000.0;
    return *scene;
}

void Facade(benchmark::State& state) {
    Scene& scene = TheScene();
    SolxSunSetting sun;
    sun.longitude = 116.4;
    sun.latitude = 39.9;
    sun.declination = SolxDate(2026, 1, 20).GetDgLat();
    sun.startMinute = 480;
    sun.endMinute = 960;
    sun.stepMinutes = static_cast<int>(state.range(0));
    const SolxCalSetting setting(sun, 11.0);
    long points = 0;
    for (auto _ : state) {
        CSunSpreadWall panel(1000.0, 10.0);
        panel.wall = std::make_unique<SolxWallCurve>(VxGePoint(scene.cx - 50000, scene.cy, 0),
                                                     VxGePoint(scene.cx + 50000, scene.cy, 0));
        panel.height = 60000;
        panel.BuildGrids();
        for (long r = 0; r < panel.samples.GetRowCount(); ++r)
            for (long c = 0; c < panel.samples.GetColumnCount(); ++c) {
                SolxTimeList times({}, 0, 0, 0);
                scene.group.CalSinglePoint(setting, panel.samples[r][c], times);
                panel.values[r][c].z = times.GetTotalTime() / 60.0;
                ++points;
            }
        VxGeCurveFitGraph graph;
        PrepareFit(panel.values, graph);
        for (double level : {1.0, 2.0, 3.0}) {
            graph.Fit(level);
            VxGeObjList curves;
            benchmark::DoNotOptimize(graph.CreateCurve(curves));
            graph.Reset();
        }
    }
    state.counters["points"] = static_cast<double>(points) / state.iterations();
    state.counters["time/point"] = benchmark::Counter(
        static_cast<double>(points), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(Facade)
    ->ArgName("step")
    ->Arg(1)
    ->Arg(6)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
