// The dynamic query's cost of one point: its sunlit periods from 8:00 to 16:00 every minute (481
// sun positions) on 大寒日 in Beijing, on a generated district of 400 buildings with their roof
// faces, with the spatial index of the prepared group on and off. Each iteration takes the next
// of 1,000 ground points spread over the district, as a cursor moving across the site would;
// the median of the repetitions is the number to quote.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "DistrictModel.h"
#include "SunSPoint.h"
#include "solx/SolxDate.h"

namespace {

struct Scene {
    std::unique_ptr<SPointEvaluator> eval;
    std::vector<VxGePoint> points;
};

Scene& SceneOf(int buildings) {
    static std::vector<std::pair<int, std::unique_ptr<Scene>>> cache;
    for (auto& [n, s] : cache)
        if (n == buildings) return *s;
    district::Options options;
    options.buildings = buildings;
    const district::District d = district::MakeDistrict(options);
    auto scene = std::make_unique<Scene>();
    SolxBuildingList slabs;
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (const district::Slab& s : d.slabs) {
        slabs.push_back(std::make_unique<SolxBuilding>(s.outline, s.elevation, s.height));
        for (const VxGePoint& p : s.outline)
            x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x),
            y1 = std::max(y1, p.y);
    }
    SolxShadowSourceList roofs;
    roofs.push_back(std::make_unique<SolxShadowSource>(d.roofFaces));
    SolxSunSetting setting;
    setting.longitude = 116.4;
    setting.latitude = 39.9;
    setting.declination = SolxDate(2026, 1, 20).GetDgLat();
    setting.startMinute = 480;
    setting.endMinute = 960;
    setting.stepMinutes = 1;
    scene->eval = std::make_unique<SPointEvaluator>(std::move(slabs), std::move(roofs), setting);
    for (int i = 0; i < 1000; ++i)
        scene->points.emplace_back(x0 + (x1 - x0) * ((i * 37) % 1000) / 1000.0,
                                   y0 + (y1 - y0) * ((i * 91) % 1000) / 1000.0, 0.0);
    return *cache.emplace_back(buildings, std::move(scene)).second;
}

void SinglePoint(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<int>(state.range(0)));
    scene.eval->Group().SetUseIndex(state.range(1) != 0);
    size_t next = 0, periods = 0;
    for (auto _ : state) {
        const auto result = scene.eval->Periods(scene.points[next]);
        periods += result.size();
        next = (next + 1) % scene.points.size();
        benchmark::DoNotOptimize(result.data());
    }
    state.counters["periods/point"] = static_cast<double>(periods) / state.iterations();
}

}  // namespace

BENCHMARK(SinglePoint)
    ->ArgNames({"buildings", "index"})
    ->Args({400, 1})
    ->Args({400, 0})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
