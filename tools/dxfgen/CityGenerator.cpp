#include "CityGenerator.h"

#include <cmath>
#include <string>

namespace dxfgen {
namespace {

using solx::dxf::Entity;
using solx::dxf::Record;
using solx::dxf::Tags;

constexpr double kFloorHeight = 3000.0;
constexpr double kSpacing = 40000.0;  // grid pitch of the building plots

struct Footprint {
    double x, y, width, depth;
};

// A small linear congruential sequence: the same district for the same options everywhere.
double pseudoRandom(unsigned& state) {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) / 16777216.0;
}

void addPoint(Tags& tags, int code, double x, double y, double z) {
    tags.push_back({code, real(x), 0});
    tags.push_back({code + 10, real(y), 0});
    tags.push_back({code + 20, real(z), 0});
}

Record outline(DrawingSkeleton& d, const Footprint& f, double elevation, double height) {
    Record r = d.entity("LWPOLYLINE", d.modelSpace(), kBuildingLayer, "AcDbPolyline");
    r.tags.insert(r.tags.end(),
                  {{90, "4", 0}, {70, "1", 0}, {38, real(elevation), 0}, {39, real(height), 0}});
    const double xs[] = {f.x, f.x + f.width, f.x + f.width, f.x};
    const double ys[] = {f.y, f.y, f.y + f.depth, f.y + f.depth};
    for (int i = 0; i < 4; ++i) {
        r.tags.push_back({10, real(xs[i]), 0});
        r.tags.push_back({20, real(ys[i]), 0});
    }
    return r;
}

// One floor of a stacked building, tagged so that the database loads it as a slab.
Record slab(DrawingSkeleton& d, const Footprint& f, double elevation) {
    Record r = outline(d, f, elevation, kFloorHeight);
    r.tags.insert(r.tags.end(), {{1001, kTypeApp, 0}, {1000, "BREL_SLAB", 0}});
    return r;
}

Record attribute(DrawingSkeleton& d, const std::string& owner, const char* tag,
                 const std::string& value, double x, double y, double z) {
    Record a = d.entity("ATTRIB", owner, kWindowLayer, "AcDbText");
    addPoint(a.tags, 10, x, y, z);
    a.tags.insert(a.tags.end(), {{40, "300.0", 0},
                                 {1, value, 0},
                                 {100, "AcDbAttribute", 0},
                                 {280, "0", 0},
                                 {2, tag, 0},
                                 {70, std::string(tag) == "LABEL" ? "0" : "1", 0}});
    return a;
}

struct WindowPlace {
    double x, y, z;  // middle of the sill on the outer wall face
    bool north;      // facing north (rotation 180: outside on the right of the wall direction)
    int building, floor, number;
};

// One window with its FLOOR, NUMBER and LABEL ("building-number") attributes.
Entity window(DrawingSkeleton& d, const WindowPlace& w) {
    const double x = w.x, y = w.y, z = w.z;
    Entity e{d.entity("INSERT", d.modelSpace(), kWindowLayer, "AcDbBlockReference"), {}};
    const std::string handle = e.record.tags[0].value;
    e.record.tags.insert(e.record.tags.end(), {{66, "1", 0}, {2, kWindowBlock, 0}});
    addPoint(e.record.tags, 10, x, y, z);
    e.record.tags.insert(e.record.tags.end(), {{41, "1500.0", 0},
                                               {42, "240.0", 0},
                                               {43, "1800.0", 0},
                                               {50, w.north ? "180.0" : "0.0", 0}});
    const std::string values[] = {std::to_string(w.floor), std::to_string(w.number),
                                  std::to_string(w.building) + "-" + std::to_string(w.number)};
    const char* const tags[] = {"FLOOR", "NUMBER", "LABEL"};
    for (int i = 0; i < 3; ++i)
        e.children.push_back(attribute(d, handle, tags[i], values[i], x, y - 400.0 * (i + 1), z));
    e.children.push_back(d.entity("SEQEND", handle, kWindowLayer, nullptr));
    return e;
}

Record roofFace(DrawingSkeleton& d, const Footprint& f, double z, bool first) {
    Record r = d.entity("3DFACE", d.modelSpace(), kModelLayer, "AcDbFace");
    const double xs[] = {f.x, f.x + f.width, f.x + f.width, f.x};
    const double ys[] = {f.y, f.y, f.y + f.depth, f.y + f.depth};
    const int corners[2][4] = {{0, 1, 2, 2}, {0, 2, 3, 3}};
    for (int i = 0; i < 4; ++i) {
        int c = corners[first ? 0 : 1][i];
        addPoint(r.tags, 10 + i, xs[c], ys[c], z);
    }
    return r;
}

Record label(DrawingSkeleton& d, const Footprint& f, int index) {
    Record r = d.entity("TEXT", d.modelSpace(), kTextLayer, "AcDbText");
    addPoint(r.tags, 10, f.x, f.y - 2000.0, 0.0);
    r.tags.insert(r.tags.end(), {{40, "1000.0", 0},
                                 {1, std::to_string(index + 1) + "号楼 building", 0},
                                 {100, "AcDbText", 0}});
    return r;
}

void addBuilding(DrawingSkeleton& d, const CityOptions& o, int index, unsigned& seed) {
    int columns = static_cast<int>(std::ceil(std::sqrt(o.buildings)));
    Footprint f{(index % columns) * kSpacing, (index / columns) * kSpacing,
                12000.0 + 12000.0 * pseudoRandom(seed), 10000.0 + 6000.0 * pseudoRandom(seed)};
    double height = o.floors * kFloorHeight;
    auto& out = d.doc.entities;
    if (index % 2 == 0) out.push_back({outline(d, f, 0.0, height), {}});
    for (int floor = 0; floor < o.floors; ++floor) {
        double z = floor * kFloorHeight;
        if (index % 2 == 1) out.push_back({slab(d, f, z), {}});
        for (int k = 0; k < o.windowsPerFloor; ++k) {
            double x = f.x + f.width * (k + 0.5) / o.windowsPerFloor;
            out.push_back(window(d, {x, f.y, z + 900.0, false, index + 1, floor + 1, k + 1}));
            int north = o.windowsPerFloor + k + 1;
            out.push_back(
                window(d, {x, f.y + f.depth, z + 900.0, true, index + 1, floor + 1, north}));
        }
    }
    out.push_back({roofFace(d, f, height, true), {}});
    out.push_back({roofFace(d, f, height, false), {}});
    out.push_back({label(d, f, index), {}});
}

}  // namespace

void addCity(DrawingSkeleton& drawing, const CityOptions& options) {
    unsigned seed = 12345;
    for (int i = 0; i < options.buildings; ++i) addBuilding(drawing, options, i, seed);
}

}  // namespace dxfgen
