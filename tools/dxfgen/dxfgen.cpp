// dxfgen: writes an R2010 drawing of a district of any size.
//   dxfgen --buildings N --floors F [--windows W] --out FILE
//   dxfgen --size-mb M [--floors F] --out FILE   (as many buildings as make about M MB)
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
    std::string out;
};

[[noreturn]] void usage() {
    std::fputs(
        "usage: dxfgen (--buildings N | --size-mb M) [--floors F] [--windows W] --out FILE\n",
        stderr);
    std::exit(2);
}

Args parse(int argc, char** argv) {
    Args a;
    for (int i = 1; i < argc; ++i) {
        if (i + 1 >= argc) usage();
        std::string key = argv[i], value = argv[++i];
        if (key == "--buildings")
            a.city.buildings = std::atoi(value.c_str());
        else if (key == "--floors")
            a.city.floors = std::atoi(value.c_str());
        else if (key == "--windows")
            a.city.windowsPerFloor = std::atoi(value.c_str());
        else if (key == "--size-mb")
            a.sizeMb = std::atof(value.c_str());
        else if (key == "--out")
            a.out = value;
        else
            usage();
    }
    if (a.out.empty() || a.city.buildings < 1 || a.city.floors < 1 || a.city.windowsPerFloor < 0)
        usage();
    return a;
}

size_t bytesFor(const dxfgen::CityOptions& city) {
    dxfgen::DrawingSkeleton d;
    dxfgen::addCity(d, city);
    return solx::dxf::serializeDocument(d.finish()).size();
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
    dxfgen::addCity(drawing, a.city);
    try {
        solx::dxf::writeDocument(drawing.finish(), a.out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dxfgen: %s\n", e.what());
        return 1;
    }
    std::printf("%s: %d buildings, %d floors\n", a.out.c_str(), a.city.buildings, a.city.floors);
    return 0;
}
