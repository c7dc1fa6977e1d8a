// dxfgen: writes an R2010 drawing of a district of any size.
//   dxfgen --buildings N --floors F [--windows W] --out FILE
//   dxfgen --size-mb M [--floors F] --out FILE   (as many buildings as make about M MB)
//   dxfgen --lines N [--buildings B] --out FILE   (N lines in model space, for scale tests)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CityGenerator.h"
#include "dxf/DxfWriter.h"

namespace {

struct Args {
    dxfgen::CityOptions city;
    double sizeMb = 0;
    long lines = 0;
    bool buildingsGiven = false;
    std::string out;
};

[[noreturn]] void usage() {
    std::fputs(
        "usage: dxfgen (--buildings N | --size-mb M | --lines N) [--floors F] [--windows W] "
        "--out FILE\n",
        stderr);
    std::exit(2);
}

Args parse(int argc, char** argv) {
    Args a;
    for (int i = 1; i < argc; ++i) {
        if (i + 1 >= argc) usage();
        std::string key = argv[i], value = argv[++i];
        if (key == "--buildings")
            a.city.buildings = std::atoi(value.c_str()), a.buildingsGiven = true;
        else if (key == "--floors")
            a.city.floors = std::atoi(value.c_str());
        else if (key == "--windows")
            a.city.windowsPerFloor = std::atoi(value.c_str());
        else if (key == "--lines")
            a.lines = std::atol(value.c_str());
        else if (key == "--size-mb")
            a.sizeMb = std::atof(value.c_str());
        else if (key == "--out")
            a.out = value;
        else
            usage();
    }
    if (a.lines > 0 && !a.buildingsGiven) a.city.buildings = 0;  // lines alone unless asked
    if (a.out.empty() || a.city.buildings < (a.lines > 0 ? 0 : 1) || a.city.floors < 1 ||
        a.city.windowsPerFloor < 0 || a.lines < 0)
        usage();
    return a;
}

size_t bytesFor(const dxfgen::CityOptions& city) {
    dxfgen::DrawingSkeleton d;
    dxfgen::addCity(d, city);
    return solx::dxf::serializeDocument(d.finish()).size();
}

// COUNT lines of 10 units in rows of 1000, 1 unit apart.
void addLines(dxfgen::DrawingSkeleton& d, long count) {
    for (long i = 0; i < count; ++i) {
        solx::dxf::Record r = d.entity("LINE", d.modelSpace(), "0", "AcDbLine");
        const double x = static_cast<double>(i % 1000) * 12, y = static_cast<double>(i / 1000);
        for (auto [code, v] :
             {std::pair{10, x}, {20, y}, {30, 0.0}, {11, x + 10}, {21, y}, {31, 0.0}})
            r.tags.push_back({code, dxfgen::real(v)});
        d.doc.entities.push_back({std::move(r), {}});
    }
}

}  // namespace

int main(int argc, char** argv) {
    Args a = parse(argc, argv);
    if (a.sizeMb > 0) {
        // Bytes grow linearly with the buildings: measure two small districts and extrapolate.
        dxfgen::CityOptions probe = a.city;
        probe.buildings = 4;
        size_t four = bytesFor(probe);
        probe.buildings = 8;
        double perBuilding = (bytesFor(probe) - four) / 4.0;
        double wanted = a.sizeMb * 1024 * 1024 - (four - 4 * perBuilding);
        a.city.buildings = std::max(1, static_cast<int>(wanted / perBuilding + 0.5));
    }
    dxfgen::DrawingSkeleton drawing;
    if (a.city.buildings > 0) dxfgen::addCity(drawing, a.city);
    addLines(drawing, a.lines);
    try {
        solx::dxf::writeDocument(drawing.finish(), a.out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dxfgen: %s\n", e.what());
        return 1;
    }
    std::printf("%s: %d buildings, %d floors, %ld lines\n", a.out.c_str(), a.city.buildings,
                a.city.floors, a.lines);
    return 0;
}
