// Redraw time of the plan view: the index query, the scene drawn with cairo into an image of the
// window's size, and the copy into the window's RGB picture (what the workbench does on every
// pan or zoom). The sample district and a generated drawing of about 50 MB
// (SOLX_PLANVIEW_BENCH_MB for another size), at the extents, panned, and zoomed in; every item
// drawn whole (as the picture files draw them), and with the level of detail the workbench uses
// (items under 1.5 pixels set as one pixel). Also the cost of building the scene and its index
// again, which the workbench pays when a command changed the drawing. With
// SOLX_PLANVIEW_BENCH_PNG=DIR the pictures at the extents are saved there to be looked at.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "CityGenerator.h"
#include "acad/acdb.h"
#include "dxf/DxfWriter.h"
#include "plot/PlanDraw.h"
#include "plot/PlanIndex.h"
#include "plot/PlotScene.h"

namespace {

constexpr int kWidth = 1100, kHeight = 640;  // the plan of a 1100 x 800 window
constexpr double kDetailPixels = 1.5;        // the workbench's level of detail

struct Plan {
    std::unique_ptr<AcDbDatabase> db;
    solx::plot::Scene scene;
    std::unique_ptr<solx::plot::PlanIndex> index;

    explicit Plan(const std::string& path) : db(std::make_unique<AcDbDatabase>(false)) {
        if (db->readDxfFile(std::wstring(path.begin(), path.end()).c_str()) != Acad::eOk) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            std::exit(1);
        }
        scene = solx::plot::BuildScene(*db);
        index = std::make_unique<solx::plot::PlanIndex>(scene);
    }
};

Plan& District() {
    static Plan plan(SOLX_SOURCE_DIR "/examples/district.dxf");
    return plan;
}

Plan& Big() {
    static std::unique_ptr<Plan> plan = [] {
        const char* mb = std::getenv("SOLX_PLANVIEW_BENCH_MB");
        const double wanted = (mb ? std::atof(mb) : 50.0) * 1024 * 1024;
        dxfgen::CityOptions city;
        city.floors = 10;
        city.buildings = 1;
        auto text = [](const dxfgen::CityOptions& c) {
            dxfgen::DrawingSkeleton drawing;
            dxfgen::addCity(drawing, c);
            return solx::dxf::serializeDocument(drawing.finish());
        };
        city.buildings = static_cast<int>(wanted / static_cast<double>(text(city).size())) + 1;
        const std::string path = "/tmp/solx-bench-plan-" + std::to_string(::getpid()) + ".dxf";
        std::FILE* f = std::fopen(path.c_str(), "wb");
        const std::string bytes = text(city);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        auto p = std::make_unique<Plan>(path);
        std::remove(path.c_str());
        return p;
    }();
    return *plan;
}

solx::plot::PlanView ViewOf(const Plan& plan, double share, double panX) {
    const solx::plot::Box& e = plan.index->Extents();
    const double size = std::max((e.x1 - e.x0) / kWidth, (e.y1 - e.y0) / kHeight) * 1.05 * share;
    const double cx = (e.x0 + e.x1) / 2 + panX * (e.x1 - e.x0), cy = (e.y0 + e.y1) / 2;
    solx::plot::PlanView view;
    view.scale = 1 / size, view.width = kWidth, view.height = kHeight;
    view.offsetX = kWidth / 2.0 - cx / size, view.offsetY = kHeight / 2.0 + cy / size;
    return view;
}

void CopyToRgb(cairo_surface_t* surface, std::vector<unsigned char>& rgb) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    unsigned char* out = rgb.data();
    for (int y = 0; y < kHeight; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int x = 0; x < kWidth; ++x, out += 3)
            out[0] = row[x] >> 16, out[1] = row[x] >> 8, out[2] = row[x];
    }
}

// One redraw as the workbench makes it (solx::plot::DrawPlan) with the given level of detail.
void RedrawPlan(benchmark::State& state, Plan& plan, double share, double panX, double detail,
                const char* picture = nullptr) {
    const solx::plot::PlanView view = ViewOf(plan, share, panX);
    std::vector<unsigned char> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
    solx::plot::PlanDrawStats stats;
    for (auto _ : state) {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
        solx::plot::DrawPlan(surface, view, plan.scene, *plan.index, detail, stats);
        CopyToRgb(surface, rgb);
        benchmark::DoNotOptimize(rgb.data());
        if (const char* dir = std::getenv("SOLX_PLANVIEW_BENCH_PNG"); dir && picture)
            cairo_surface_write_to_png(surface, (std::string(dir) + "/" + picture).c_str());
        cairo_surface_destroy(surface);
    }
    state.counters["items_drawn"] = static_cast<double>(stats.drawn);
    state.counters["specks"] = static_cast<double>(stats.specks);
}

// Building the scene and its index from the drawing again.
void Rebuild(benchmark::State& state, Plan& plan) {
    for (auto _ : state) {
        solx::plot::Scene scene = solx::plot::BuildScene(*plan.db);
        solx::plot::PlanIndex index(scene);
        benchmark::DoNotOptimize(index.Extents());
    }
}

// One redraw: the view's window of the plan (centre, a share of the extents' width), through
// the index or the whole scene.
void Redraw(benchmark::State& state, Plan& plan, double share, double panX, bool useIndex) {
    const solx::plot::PlanView view = ViewOf(plan, share, panX);
    // The drawing's area the view shows: its pixel corners taken back to drawing units.
    solx::plot::Box visible;
    visible.add(-view.offsetX / view.scale, (view.offsetY - kHeight) / view.scale);
    visible.add((kWidth - view.offsetX) / view.scale, view.offsetY / view.scale);
    std::vector<unsigned char> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
    size_t drawn = 0;
    for (auto _ : state) {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
        cairo_t* cr = cairo_create(surface);
        solx::plot::DrawStats stats;
        if (useIndex) {
            const auto items = plan.index->Query(visible);
            drawn = items.strokes.size() + items.labels.size() + items.fills.size();
            solx::plot::DrawScene(cr, view, plan.scene, &items, stats);
        } else {
            drawn = plan.scene.strokes.size() + plan.scene.labels.size() + plan.scene.fills.size();
            solx::plot::DrawScene(cr, view, plan.scene, nullptr, stats);
        }
        cairo_destroy(cr);
        CopyToRgb(surface, rgb);
        benchmark::DoNotOptimize(rgb.data());
        cairo_surface_destroy(surface);
    }
    state.counters["items_drawn"] = static_cast<double>(drawn);
    state.counters["items_total"] = static_cast<double>(
        plan.scene.strokes.size() + plan.scene.labels.size() + plan.scene.fills.size());
}

void BM_DistrictExtents(benchmark::State& s) {
    Redraw(s, District(), 1.0, 0.0, true);
}
void BM_DistrictPanned(benchmark::State& s) {
    Redraw(s, District(), 1.0, 0.2, true);
}
void BM_DistrictZoomed(benchmark::State& s) {
    Redraw(s, District(), 0.25, 0.1, true);
}
void BM_BigExtents(benchmark::State& s) {
    Redraw(s, Big(), 1.0, 0.0, true);
}
void BM_BigZoomedIndex(benchmark::State& s) {
    Redraw(s, Big(), 0.05, 0.1, true);
}
void BM_BigZoomedNoIndex(benchmark::State& s) {
    Redraw(s, Big(), 0.05, 0.1, false);
}
void BM_BigPannedIndex(benchmark::State& s) {
    Redraw(s, Big(), 0.05, -0.2, true);
}

void BM_DistrictExtentsWhole(benchmark::State& s) {
    RedrawPlan(s, District(), 1.0, 0.0, 0, "district-whole.png");
}
void BM_DistrictExtentsDetail(benchmark::State& s) {
    RedrawPlan(s, District(), 1.0, 0.0, kDetailPixels, "district-detail.png");
}
void BM_BigExtentsWhole(benchmark::State& s) {
    RedrawPlan(s, Big(), 1.0, 0.0, 0, "big-whole.png");
}
void BM_BigExtentsDetail(benchmark::State& s) {
    RedrawPlan(s, Big(), 1.0, 0.0, kDetailPixels, "big-detail.png");
}
void BM_BigZoomedDetail(benchmark::State& s) {
    RedrawPlan(s, Big(), 0.05, 0.1, kDetailPixels);
}
void BM_DistrictRebuild(benchmark::State& s) {
    Rebuild(s, District());
}
void BM_BigRebuild(benchmark::State& s) {
    Rebuild(s, Big());
}

BENCHMARK(BM_DistrictExtents)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DistrictPanned)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DistrictZoomed)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BigExtents)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_BigZoomedIndex)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BigZoomedNoIndex)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_BigPannedIndex)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DistrictExtentsWhole)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DistrictExtentsDetail)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BigExtentsWhole)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_BigExtentsDetail)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BigZoomedDetail)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DistrictRebuild)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BigRebuild)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
