// The window analysis's computation: every window sampled into sunlit intervals and its times
// evaluated, 10,000 windows, 8:00 to 16:00 every minute on 大寒日 in Beijing, with the grid
// index of the obstruction group on and off.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "DistrictModel.h"
#include "WinSunAna.h"
#include "solx/SolxDate.h"

namespace {

constexpr size_t kWindows = 10000;

struct Scene {
    SolxBuildingEx group;
    std::vector<std::unique_ptr<SolxWinSunlightInfo>> windows;
    std::vector<SolxSunSample> samples;
};

std::unique_ptr<Scene> MakeScene(int buildings) {
    district::Options options;
    options.buildings = buildings;
    const district::District d = district::MakeDistrict(options);
    auto scene = std::make_unique<Scene>();
    for (const district::Slab& s : d.slabs)
        scene->group.AddBuilding(std::make_unique<SolxBuilding>(s.outline, s.elevation, s.height));
    scene->group.AddSource(std::make_unique<SolxShadowSource>(d.roofFaces));
    scene->group.CalExtend3D();
    for (size_t i = 0; i < kWindows; ++i)
        scene->windows.push_back(std::make_unique<SolxWinSunlightInfo>(
            d.windows[i * d.windows.size() / kWindows], 10.0));
    SolxSunSetting setting;
    setting.longitude = 116.4;
    setting.latitude = 39.9;
    setting.declination = SolxDate(2026, 1, 20).GetDgLat();
    setting.startMinute = 480;
    setting.endMinute = 960;
    setting.stepMinutes = 1;
    scene->samples = SampleSun(setting);
    return scene;
}

void WindowAnalysis(benchmark::State& state) {
    static std::vector<std::pair<int, std::unique_ptr<Scene>>> cache;
    const int buildings = static_cast<int>(state.range(0));
    Scene* scene = nullptr;
    for (auto& [n, s] : cache)
        if (n == buildings) scene = s.get();
    if (!scene) scene = cache.emplace_back(buildings, MakeScene(buildings)).second.get();
    scene->group.SetUseIndex(state.range(1) != 0);
    const WinSunRule rule{480, 960, 1, 0, 15, 0};
    double minutes = 0.0;
    for (auto _ : state) {
        for (const auto& win : scene->windows) {
            SampleWindowSunlight(*win, scene->group, scene->samples, rule);
            minutes += CountedTotal(ShownPeriods(*win, false, 0.0));
        }
    }
    state.counters["lit h/window"] = minutes / 60.0 / kWindows / state.iterations();
}

}  // namespace

BENCHMARK(WindowAnalysis)
    ->ArgNames({"buildings", "index"})
    ->Args({25, 1})
    ->Args({25, 0})
    ->Args({100, 1})
    ->Args({100, 0})
    ->Args({400, 1})
    ->Args({400, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK_MAIN();
