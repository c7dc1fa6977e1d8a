#pragma once
// The arrangement of the micro-region method is built tile by tile: the boundary curves are cut
// into square tiles of about the same number of segments, each tile is broken, cut into faces,
// evaluated and merged on its own, and the tiles' outlines are united at the end. Memory then
// stays that of one tile whatever the district, and the meter and the user's break move tile by
// tile. All tiles snap to one grid, so the pieces on a tile's edge meet those of its neighbour.

#include <vector>

#include "brel/VxGeometry.h"

struct MicroRegionTiling {
    VxGeExtent extent;  // of all boundary curves
    double size = 1.0;  // side of a tile
    int nx = 0, ny = 0;
    double grid = 0.0;  // the noding grid of every tile
    // Per tile, the segments of the boundary that reach into it (clipped to it).
    std::vector<std::vector<VxGeLineSeg2d>> segments;

    int Count() const { return nx * ny; }
    // The edges between tiles: column c spans BorderX(c) to BorderX(c + 1), likewise rows.
    double BorderX(int column) const;
    double BorderY(int row) const;
    // The tile's outline, counter-clockwise.
    VxGePolyline2d Outline(int tile) const;
};

// Cuts the curves into tiles of about `perTile` segments each.
MicroRegionTiling TileCurves(const VxGeObjList& curves, size_t perTile);
