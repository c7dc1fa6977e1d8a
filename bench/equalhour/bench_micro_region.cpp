// The micro-region method on generated districts of 50, 100 and 200 buildings (with their roof
// faces), 1, 2 and 3-hour levels, 8:00 to 16:00 at the 6-minute step (81 samples) on 大寒日 in
// Beijing, on the ground. One run per size; the counters give each phase's seconds and the
// sizes that drive them: boundary curves, arrangement pieces, micro-regions, tiles, and the boxes
// settled whole or arranged. Then the plain way (every tile arranged) on 50 buildings, and box
// and tile sizes compared on 25 buildings.

#include <benchmark/benchmark.h>

#include <memory>

#include "DistrictModel.h"
#include "MicroRegion.h"
#include "solx/SolxDate.h"

namespace {

double Seconds(std::clock_t from, std::clock_t to) {
    return static_cast<double>(to - from) / CLOCKS_PER_SEC;
}

void BM_MicroRegion(benchmark::State& state) {
    district::Options options;
    options.buildings = static_cast<int>(state.range(0));
    const district::District d = district::MakeDistrict(options);
    SolxShadowSourceList sources;
    sources.push_back(std::make_unique<SolxShadowSource>(d.roofFaces));
    MicroRegionInput input;
    for (const district::Slab& s : d.slabs) {
        input.outlines.push_back(s.outline);
        input.baseAndHeight.emplace_back(s.elevation, s.height);
    }
    input.sources = &sources;
    input.levels = {1.0, 2.0, 3.0};
    input.sun.longitude = 116.4;
    input.sun.latitude = 39.9;
    input.sun.declination = SolxDate(2026, 1, 20).GetDgLat();
    input.sun.startMinute = 480;
    input.sun.endMinute = 960;
    input.sun.stepMinutes = 6;
    if (state.range(1) > 0) input.segmentsPerTile = static_cast<size_t>(state.range(1));
    if (state.range(2) >= 0) input.segmentsPerBox = static_cast<size_t>(state.range(2));
    MicroRegionMonitor quiet;
    MicroRegionResult r;
    for (auto _ : state) {
        const std::clock_t start = std::clock();
        r = ComputeMicroRegions(input, quiet);
        const std::clock_t end = std::clock();
        state.counters["shadows_s"] = Seconds(r.t0, r.t1);
        state.counters["break_s"] = Seconds(r.t1, r.t2);
        state.counters["faces_s"] = Seconds(r.t2, r.t3);
        state.counters["sunlight_s"] = Seconds(r.t3, r.t4);
        state.counters["merge_s"] = Seconds(r.t4, end);
        state.counters["total_s"] = Seconds(start, end);
    }
    state.counters["curves"] = static_cast<double>(r.boundaryCount);
    state.counters["pieces"] = static_cast<double>(r.pieceCount);
    state.counters["regions"] = static_cast<double>(r.regionCount);
    state.counters["tiles"] = static_cast<double>(r.tileCount);
    state.counters["settled"] = static_cast<double>(r.settledBoxes);
    state.counters["arranged"] = static_cast<double>(r.arrangedBoxes);
    state.counters["ok"] = r.outcome == MicroRegionOutcome::Done;
}

// Buildings, the boundary segments per tile (0: the method's own) and per box (-1: the method's
// own; 0: every tile arranged whole, nothing settled without its faces, as a reference).
BENCHMARK(BM_MicroRegion)
    ->Args({50, 0, -1})
    ->Args({100, 0, -1})
    ->Args({200, 0, -1})
    ->Args({50, 0, 0})
    ->Args({25, 0, 0})
    ->Args({25, 0, 50})
    ->Args({25, 0, 100})
    ->Args({25, 0, 200})
    ->Args({25, 0, 400})
    ->Args({25, 250, -1})
    ->Args({25, 4000, -1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
BENCHMARK_MAIN();
