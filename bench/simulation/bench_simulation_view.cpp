// Frames per second of the simulation view offscreen at 1280 x 720 (Mesa's software
// renderer here): a grid of 20 m x 14 m blocks of 6 faces each (4 walls, 2 roof triangles),
// about 2,000 or 20,000 faces, in plane-shadow mode and in face-shadow mode (relation matrix
// decided beforehand), seen from the default view at 10:00 on a winter day; and the time of
// the face relation analysis that decides the whole matrix.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "SolxSample.h"
#include "render/SolxRenderContext.h"
#include "solx/SolxDataSet.h"

namespace {

std::unique_ptr<SolxSample> MakeView(int faces, bool faceShadow) {
    std::string error;
    auto context = CreateOffscreenRenderContext(1280, 720, error);
    if (!context) return nullptr;
    auto view = std::make_unique<SolxSample>();
    if (!view->Create(std::move(context), false)) return nullptr;
    const int blocks = faces / 6;
    const int side = static_cast<int>(std::ceil(std::sqrt(blocks)));
    for (int k = 0; k < blocks; ++k) {
        const double x = (k % side) * 40.0, y = (k / side) * 35.0;
        const double height = 9 + (k * 7919 % 13) * 3;
        SolxSimSlab slab{
            {{x, y, 0}, {x + 20, y, 0}, {x + 20, y + 14, 0}, {x, y + 14, 0}}, 0, height};
        std::vector<VxGePoint> top = slab.outline;
        for (VxGePoint& p : top) p.z = height;
        for (const VxGeTriangle2d& t : Triangulate(top)) view->m_roofTriangles.push_back(t);
        view->m_buildings.push_back(slab);
    }
    const double w = side * 40.0, d = side * 35.0;
    view->m_ground =
        VxGeFace({w / 2 - 50 * w, d / 2 - 50 * d, 0}, {w / 2 + 50 * w, d / 2 - 50 * d, 0},
                 {w / 2 + 50 * w, d / 2 + 50 * d, 0}, {w / 2 - 50 * w, d / 2 + 50 * d, 0});
    view->m_boxMin = {0, 0, 0};
    view->m_boxMax = {w, d, 45};
    view->m_topHeight = 45;
    g_RenderMaxFaceNum = std::max(g_RenderMaxFaceNum, faces + 1);
    view->m_faceShadow = faceShadow;
    view->BuildFaceArray();
    // 10:00 on a winter day at 40 degrees north: the sun 22 degrees up, 30 degrees east of south.
    const double alt = 22 * M_PI / 180, azi = -30 * M_PI / 180;
    view->SetSunDirection(
        {std::cos(alt) * std::sin(azi), std::cos(alt) * std::cos(azi), -std::sin(alt)});
    view->DefaultView();
    return view;
}

void Frames(benchmark::State& state, bool faceShadow) {
    auto view = MakeView(static_cast<int>(state.range(0)), faceShadow);
    if (!view) {
        state.SkipWithError("no offscreen OpenGL context");
        return;
    }
    if (faceShadow)
        for (int b = 0; b < view->m_faceCount; ++b) view->DecideColumn(b);
    view->Paint();  // the first frame compiles the renderer's shaders
    for (auto _ : state) {
        view->Refresh();
        view->Paint();
    }
    state.counters["faces"] = view->m_faceCount;
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_PlaneShadowFrames(benchmark::State& state) {
    Frames(state, false);
}
void BM_FaceShadowFrames(benchmark::State& state) {
    Frames(state, true);
}

// Face shadows with the matrix still undecided: the first frame decides what it needs.
void BM_FaceShadowFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto view = MakeView(static_cast<int>(state.range(0)), true);
        state.ResumeTiming();
        if (!view) {
            state.SkipWithError("no offscreen OpenGL context");
            return;
        }
        view->Paint();
    }
}

// The face relation analysis: every column of the matrix decided.
void BM_RelationAnalysis(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto view = MakeView(static_cast<int>(state.range(0)), true);
        state.ResumeTiming();
        if (!view) {
            state.SkipWithError("no offscreen OpenGL context");
            return;
        }
        for (int b = 0; b < view->m_faceCount; ++b) view->DecideColumn(b);
    }
}

BENCHMARK(BM_PlaneShadowFrames)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FaceShadowFrames)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FaceShadowFirstFrame)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_RelationAnalysis)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
