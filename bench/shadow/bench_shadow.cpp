// Window sunlight tests on generated districts, with the grid index on and off: 10,000 windows,
// 8:00 to 16:00 at a one-minute step (481 sun positions) on 大寒日 in Beijing. Each sample
// skips a sun behind the window plane and tests the window's test point, as the window
// analysis does.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "DistrictModel.h"
#include "solx/SolxBuildingEx.h"
#include "solx/SolxDate.h"
#include "solx/SolxSunPlace.h"
#include "solx/SolxWinSunlightInfo.h"

namespace {

constexpr size_t kWindows = 10000;

struct Scene {
    SolxBuildingEx group;
    std::vector<std::unique_ptr<SolxWinSunlightInfo>> windows;
    std::vector<VxGePoint> rays;
};

std::vector<VxGePoint> SunRays() {
    const SolxDate date(2026, 1, 20);
    std::vector<VxGePoint> rays;
    for (int minute = 480; minute <= 960; ++minute) {
        double altitude = 0, azimuth = 0, third = 0;
        getSunPlace(116.4, 39.9, date.GetDgLat(), minute / 60.0, altitude, azimuth, third);
        rays.push_back({std::cos(altitude) * std::sin(azimuth),
                        std::cos(altitude) * std::cos(azimuth), -std::sin(altitude)});
    }
    return rays;
}

// kWindows windows spread evenly over the district (repeating the windows of a small one).
std::unique_ptr<Scene> MakeScene(int buildings) {
    district::Options options;
    options.buildings = buildings;
    const district::District d = district::MakeDistrict(options);
    auto scene = std::make_unique<Scene>();
    for (const district::Slab& s : d.slabs)
        scene->group.AddBuilding(std::make_unique<SolxBuilding>(s.outline, s.elevation, s.height));
    scene->group.AddSource(std::make_unique<SolxShadowSource>(d.roofFaces));
    scene->group.CalExtend3D();
    for (size_t i = 0; i < kWindows; ++i) {
        const size_t k = i * d.windows.size() / kWindows;
        scene->windows.push_back(std::make_unique<SolxWinSunlightInfo>(d.windows[k], 100.0));
    }
    scene->rays = SunRays();
    return scene;
}

Scene& SceneOf(int buildings) {
    static std::vector<std::pair<int, std::unique_ptr<Scene>>> cache;
    for (auto& [n, s] : cache)
        if (n == buildings) return *s;
    cache.emplace_back(buildings, MakeScene(buildings));
    return *cache.back().second;
}

void WindowsTimesSamples(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<int>(state.range(0)));
    scene.group.SetUseIndex(state.range(1) != 0);
    int64_t rays = 0, shaded = 0;
    const size_t windows = std::min(scene.windows.size(), static_cast<size_t>(state.range(2)));
    for (auto _ : state) {
        for (size_t w = 0; w < windows; ++w) {
            const auto& win = scene.windows[w];
            const VxGePoint n = win->OutwardNormal();
            const VxGePoint p = win->GetTestPoint();
            for (const VxGePoint& ray : scene.rays) {
                if (-ray.x * n.x - ray.y * n.y <= 0.0) continue;  // sun behind the window
                shaded += scene.group.IsPointShadowed(p, ray, win.get());
                ++rays;
            }
        }
    }
    state.counters["rays"] =
        benchmark::Counter(static_cast<double>(rays), benchmark::Counter::kAvgIterations);
    state.counters["shaded%"] = 100.0 * static_cast<double>(shaded) / static_cast<double>(rays);
    state.counters["time/ray"] = benchmark::Counter(
        static_cast<double>(rays), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(WindowsTimesSamples)
    ->ArgNames({"buildings", "index", "windows"})
    ->Args({25, 1, 10000})
    ->Args({25, 0, 10000})
    ->Args({100, 1, 10000})
    ->Args({100, 0, 10000})
    ->Args({400, 1, 10000})
    ->Args({400, 0, 10000})
    ->Args({100, 1, 2500})
    ->Args({100, 1, 5000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK_MAIN();
