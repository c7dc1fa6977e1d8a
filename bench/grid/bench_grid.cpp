// A 500 x 500 grid (250,000 points) over generated districts of 100 and 400 buildings (roofs
// included), 8:00 to 16:00 at a one-minute step (481 sun positions) on 大寒日 in Beijing, on the
// ground. The raster path runs the whole grid; the per-point ray paths, far slower, run an even
// subset of its points (every 5th row and column with the index, every 10th without) and
// report their time per point and the time the whole grid would take ("grid_s").

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>

#include "DistrictModel.h"
#include "solx/SolxDate.h"
#include "solx/SolxSunGrid.h"

namespace {

constexpr int kSide = 500;  // cells a side: 501 x 501 points

struct Scene {
    SolxBuildingList buildings;
    SolxShadowSourceList sources;
    SolxSunGrid grid;
};

const Scene& SceneOf(int count) {
    static std::map<int, std::unique_ptr<Scene>> cache;
    auto& scene = cache[count];
    if (scene) return *scene;
    scene = std::make_unique<Scene>();
    district::Options options;
    options.buildings = count;
    const district::District d = district::MakeDistrict(options);
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (const district::Slab& s : d.slabs) {
        scene->buildings.push_back(
            std::make_unique<SolxBuilding>(s.outline, s.elevation, s.height));
        for (const VxGePoint& p : s.outline) {
            minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        }
    }
    scene->sources.push_back(std::make_unique<SolxShadowSource>(d.roofFaces));
    const double side = std::max(maxX - minX, maxY - minY) * 1.1;
    scene->grid.origin = VxGePoint(minX - 0.05 * side, minY - 0.05 * side, 0.0);
    scene->grid.spacing = side / kSide;
    scene->grid.columns = scene->grid.rows = kSide;
    return *scene;
}

SolxSunSetting Period() {
    SolxSunSetting s;
    s.longitude = 116.4;
    s.latitude = 39.9;
    s.declination = SolxDate(2026, 1, 20).GetDgLat();
    s.startMinute = 8 * 60;
    s.endMinute = 16 * 60;
    s.stepMinutes = 1;
    return s;
}

// Every `every`-th row and column of the grid.
SolxSunGrid Subset(const SolxSunGrid& grid, int every) {
    SolxSunGrid sub = grid;
    sub.spacing = grid.spacing * every;
    sub.columns = grid.columns / every;
    sub.rows = grid.rows / every;
    return sub;
}

void Run(benchmark::State& state, SolxGridMethod method, int every) {
    const Scene& scene = SceneOf(static_cast<int>(state.range(0)));
    const SolxSunGrid grid = every == 1 ? scene.grid : Subset(scene.grid, every);
    const SolxSunSetting setting = Period();
    for (auto _ : state) {
        Vx2dArray<float> hours;
        benchmark::DoNotOptimize(
            SunGridHoursOf(scene.buildings, scene.sources, setting, 0, grid, method, hours));
    }
    const double points = static_cast<double>(grid.PointCount());
    state.counters["points"] = points;
    state.counters["us_per_point"] =
        benchmark::Counter(points * state.iterations() / 1e6,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["grid_s"] =
        benchmark::Counter(points * state.iterations() / scene.grid.PointCount(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void Raster(benchmark::State& state) {
    Run(state, SolxGridMethod::Raster, 1);
}
void RaysIndexed(benchmark::State& state) {
    Run(state, SolxGridMethod::PerPointIndexed, 5);
}
void RaysAll(benchmark::State& state) {
    Run(state, SolxGridMethod::PerPointAll, 10);
}

}  // namespace

BENCHMARK(Raster)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(RaysIndexed)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(RaysAll)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
