// Fills a drawing with a district of buildings for tests and benchmarks: each building is a
// closed LWPOLYLINE with elevation and thickness (every other one stacked as one slab per
// floor), "_SUNWD" windows with FLOOR/NUMBER/LABEL attributes on two facades, a roof of
// 3DFACEs and a name TEXT. Deterministic for given options.
#pragma once

#include "DrawingSkeleton.h"

namespace dxfgen {

struct CityOptions {
    int buildings = 10;
    int floors = 6;
    int windowsPerFloor = 4;  // per facade; the south and north facades get windows
};

void addCity(DrawingSkeleton& drawing, const CityOptions& options);

}  // namespace dxfgen
