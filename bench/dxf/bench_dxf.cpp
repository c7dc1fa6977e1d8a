// Load and save speed of the DXF layer on a generated district of about 50 MB (set
// SOLX_DXF_BENCH_MB for another size). The drawing is generated once per run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "CityGenerator.h"
#include "dxf/DxfReader.h"
#include "dxf/DxfWriter.h"

namespace {

struct Sample {
    std::string bytes;
    std::string path;
    std::string savePath;

    Sample() {
        const char* mb = std::getenv("SOLX_DXF_BENCH_MB");
        double wanted = (mb ? std::atof(mb) : 50.0) * 1024 * 1024;
        dxfgen::CityOptions city;
        city.floors = 10;
        city.buildings = 1;
        size_t one = text(city).size();
        city.buildings = static_cast<int>(wanted / static_cast<double>(one)) + 1;
        bytes = text(city);
        std::string dir = "/tmp/solx-bench-dxf-" + std::to_string(::getpid());
        std::system(("mkdir -p " + dir).c_str());
        path = dir + "/city.dxf";
        savePath = dir + "/saved.dxf";
        solx::dxf::writeDocument(solx::dxf::parseDocument(bytes, path), path);
    }
    ~Sample() { std::system(("rm -rf /tmp/solx-bench-dxf-" + std::to_string(::getpid())).c_str()); }

    static std::string text(const dxfgen::CityOptions& city) {
        dxfgen::DrawingSkeleton drawing;
        dxfgen::addCity(drawing, city);
        return solx::dxf::serializeDocument(drawing.finish());
    }
};

Sample& sample() {
    static Sample s;
    return s;
}

void BM_ParseBuffer(benchmark::State& state) {
    const std::string& bytes = sample().bytes;
    for (auto _ : state) benchmark::DoNotOptimize(solx::dxf::parseDocument(bytes, "city.dxf"));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_ReadFile(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(solx::dxf::readDocument(sample().path));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * sample().bytes.size()));
}

void BM_Serialize(benchmark::State& state) {
    solx::dxf::Document doc = solx::dxf::parseDocument(sample().bytes, "city.dxf");
    for (auto _ : state) benchmark::DoNotOptimize(solx::dxf::serializeDocument(doc));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * sample().bytes.size()));
}

// Includes the flush to disk and the rename that make saving safe.
void BM_WriteFile(benchmark::State& state) {
    solx::dxf::Document doc = solx::dxf::parseDocument(sample().bytes, "city.dxf");
    for (auto _ : state) solx::dxf::writeDocument(doc, sample().savePath);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * sample().bytes.size()));
}

BENCHMARK(BM_ParseBuffer)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Serialize)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteFile)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
