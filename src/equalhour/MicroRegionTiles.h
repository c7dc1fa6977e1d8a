#pragma once
// The arrangement of the micro-region method is built box by box. The boundary segments are cut
// into square tiles of about the same number of segments; a tile whose sunlight cannot change
// across it is settled whole, any other is split into four while it holds many segments, and
// only the boxes left unsettled are broken, cut into faces, evaluated and merged on their own.
// The boxes' outlines are united at the end. Memory then stays that of one tile whatever the
// district, and the meter and the user's break move tile by tile.
//
// Every border of every box lies on the noding grid (a power of two), so snapping leaves the
// boxes' outlines where they are and the pieces on a box's edge meet those of its neighbour,
// whatever size the neighbour is.

#include <cstdint>
#include <vector>

#include "brel/VxGeometry.h"

// A square of the tiling or of its subdivision.
struct MicroRegionBox {
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;

    VxGePoint Center() const { return {(x0 + x1) / 2.0, (y0 + y1) / 2.0}; }
    // Counter-clockwise.
    VxGePolyline2d Outline() const;
    // The four quarters; their borders are on the grid as long as the box is two grid steps
    // or more across.
    void Split(MicroRegionBox quarter[4]) const;
};

struct MicroRegionTiling {
    double grid = 0.0;  // the noding grid of every box, a power of two
    double size = 1.0;  // side of a tile, a whole number of grid steps times a power of two
    int nx = 0, ny = 0;
    double x0 = 0.0, y0 = 0.0;       // the lower left corner, on the grid
    std::vector<VxGeLineSeg2d> all;  // every boundary segment, ends ordered (start < end)
    std::vector<int> sampleOf;       // the time sample each segment bounds a shadow of
    // Per tile, the segments that reach into it.
    std::vector<std::vector<uint32_t>> segments;

    int Count() const { return nx * ny; }
    MicroRegionBox Tile(int tile) const;
    // The segments of `from` that reach into the box (by more than a point).
    void SegmentsIn(const std::vector<uint32_t>& from, const MicroRegionBox& box,
                    std::vector<uint32_t>& into) const;
    // Those segments clipped to the box, each cut from the whole segment, so that a segment
    // crossing the border of two boxes is cut at the same point, to the bit, in both.
    std::vector<VxGeLineSeg2d> Clipped(const std::vector<uint32_t>& which,
                                       const MicroRegionBox& box) const;
};

// Cuts the curves into tiles of about `perTile` segments each; `sampleOfCurve` gives the time
// sample of each curve. A tile can be halved `depth` times and stay on the grid.
MicroRegionTiling TileCurves(const VxGeObjList& curves, const std::vector<int>& sampleOfCurve,
                             size_t perTile, int depth);
