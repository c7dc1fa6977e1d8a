#pragma once
// The pieces of the grid analysis behind CalMultiPoint: the area, the grid laid over it, and
// the sunlight map drawn from the values.

#include <vector>

#include "acad/AcDbCore.h"
#include "acad/acge.h"
#include "solx/SolxMultiPoint.h"
#include "solx/SolxSunSample.h"

namespace multipoint {

// The analysed area: a box, and the closed polyline it was taken from (empty for a box).
struct Area {
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
    std::vector<AcGePoint2d> ring;
};

// Asks for the area: two corners, the keyword P and a closed polyline, or Enter for the
// extents of the obstructions grown by a tenth of the larger side. The host status (RTNORM;
// RTCAN on Esc; RTERROR after a message for a pick that is no closed polyline).
int AskArea(const SolxBuildingList& buildings, const SolxShadowSourceList& sources, Area& area);

// The grid over the area from its lower left corner, whole cells of `spacing` (the part of the
// area beyond the last whole cell is left out). False with a message when the spacing is not
// positive, the area has no size, the spacing is larger than the area, or the grid would have
// more than kMultiPointMaxPoints points.
bool LayGrid(const Area& area, double spacing, double height, SolxSunGrid& grid);

// What the map is drawn from.
struct MapInput {
    SolxSunGrid grid;
    const Vx2dArray<float>* hours = nullptr;
    // With detailed output, the sunlit periods of every point (row-major), else empty.
    const std::vector<std::vector<VxGePoint>>* periods = nullptr;
    SolxSunSetting setting;
    int evaluationMode = 0;
    bool labels = false;      // write value texts
    long labelStep = 1;       // every labelStep-th point in both directions
    bool detailed = false;    // every point, with its periods
    bool valuesOnly = false;  // texts only
    AcDbObjectId layer;
};

// Draws the texts, the coloured cells and the legend as one anonymous group. The number of
// entities drawn.
int DrawMap(const MapInput& input);

}  // namespace multipoint
