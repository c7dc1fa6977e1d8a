#pragma once
// A generated residential district: slab buildings of different heights and orientations on a
// loose grid of plots, windows on every floor of both long facades, pitched roofs of 3D faces
// on some of the slabs. Lengths in millimetres. The same seed gives the same district.

#include <vector>

#include "brel/VxGePoint.h"
#include "solx/SolxShadowSource.h"
#include "solx/SolxWinSunlightInfo.h"

namespace district {

struct Slab {
    std::vector<VxGePoint> outline;  // 4 corners, anticlockwise; the first edge is the front
    double elevation = 0.0;
    double height = 0.0;
    int floors = 0;
};

struct District {
    std::vector<Slab> slabs;
    std::vector<SolxWindowBlock> windows;
    std::vector<SolxFace3d> roofFaces;
};

struct Options {
    int buildings = 12;
    unsigned seed = 1;
    double floorHeight = 3000.0;
    double windowSpacing = 3600.0;  // along the facade
    double windowWidth = 1500.0;
    double windowHeight = 1500.0;
    double wallDepth = 200.0;
    double sillAboveFloor = 900.0;
};

District MakeDistrict(const Options& options);

}  // namespace district
