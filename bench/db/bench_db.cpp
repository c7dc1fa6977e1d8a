// Load and save of a generated district through the drawing database (typed objects, kept
// tags): about 20 MB by default, SOLX_DB_BENCH_MB for another size. The file-layer cost alone
// is measured by bench_dxf; the difference is the database's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "CityGenerator.h"
#include "acad/acdb.h"
#include "db/DatabaseIo.h"
#include "dxf/DxfReader.h"
#include "dxf/DxfWriter.h"

namespace {

struct Sample {
    std::string bytes, dir, path, savePath;
    solx::dxf::Document doc;

    Sample() {
        const char* mb = std::getenv("SOLX_DB_BENCH_MB");
        double wanted = (mb ? std::atof(mb) : 20.0) * 1024 * 1024;
        dxfgen::CityOptions city;
        city.floors = 10;
        city.buildings = 1;
        size_t one = text(city).size();
        city.buildings = static_cast<int>(wanted / static_cast<double>(one)) + 1;
        bytes = text(city);
        dir = "/tmp/solx-bench-db-" + std::to_string(::getpid());
        std::system(("mkdir -p " + dir).c_str());
        path = dir + "/city.dxf";
        savePath = dir + "/saved.dxf";
        doc = solx::dxf::parseDocument(bytes, path);
        solx::dxf::writeDocument(doc, path);
    }
    ~Sample() { std::system(("rm -rf " + dir).c_str()); }

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

void setBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * sample().bytes.size()));
}

void BM_DocumentToDatabase(benchmark::State& state) {
    for (auto _ : state) {
        AcDbDatabase db(false);
        solx::db::loadDocument(db, sample().doc, "city.dxf");
        benchmark::DoNotOptimize(db.numObjects());
    }
    setBytes(state);
}

void BM_DatabaseToDocument(benchmark::State& state) {
    AcDbDatabase db(false);
    solx::db::loadDocument(db, sample().doc, "city.dxf");
    for (auto _ : state) benchmark::DoNotOptimize(solx::db::saveDocument(db));
    setBytes(state);
}

void BM_LoadFile(benchmark::State& state) {
    std::wstring path = acdbWide(sample().path);
    for (auto _ : state) {
        AcDbDatabase db(false);
        if (db.readDxfFile(path.c_str()) != Acad::eOk) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(db.numObjects());
    }
    setBytes(state);
}

// The same file through a whole tag document first (what opening did before it streamed the
// entities; tools and tests still read documents).
void BM_LoadFileThroughDocument(benchmark::State& state) {
    for (auto _ : state) {
        AcDbDatabase db(false);
        solx::db::loadDocument(db, solx::dxf::readDocument(sample().path), "city.dxf");
        benchmark::DoNotOptimize(db.numObjects());
    }
    setBytes(state);
}

// Taking a loaded drawing apart, object by object: what solx saves by keeping its drawing until
// the process ends (bench/db/compare_open.sh measures the whole open against ezdxf).
void BM_Teardown(benchmark::State& state) {
    std::wstring path = acdbWide(sample().path);
    for (auto _ : state) {
        state.PauseTiming();
        auto db = std::make_unique<AcDbDatabase>(false);
        if (db->readDxfFile(path.c_str()) != Acad::eOk) state.SkipWithError("load failed");
        state.ResumeTiming();
        db.reset();
    }
    setBytes(state);
}

void BM_LoadAndSaveFile(benchmark::State& state) {
    std::wstring path = acdbWide(sample().path), out = acdbWide(sample().savePath);
    for (auto _ : state) {
        AcDbDatabase db(false);
        if (db.readDxfFile(path.c_str()) != Acad::eOk || db.dxfOut(out.c_str()) != Acad::eOk)
            state.SkipWithError("load or save failed");
    }
    setBytes(state);
}

BENCHMARK(BM_DocumentToDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DatabaseToDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFileThroughDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Teardown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndSaveFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
