#pragma once
// The grid sunlight analysis of an area: asks the user for the area, evaluates a grid of points
// at one height (SolxSunGrid.h, the raster path), returns the value grid and draws a sunlight
// map on a layer.

#include "acad/AcDbCore.h"
#include "brel/VxGePoint.h"
#include "containers/Vx2dArray.h"
#include "solx/SolxBuilding.h"
#include "solx/SolxShadowSource.h"
#include "solx/SolxSunGrid.h"

// Set to 1 by the callers around CalMultiPoint; read by nothing else here.
extern int g_bPolyMultiCal;

// Largest grid the analysis takes, in points; a larger one is refused with its point count.
inline constexpr long kMultiPointMaxPoints = 10000000;

// The whole grid analysis, in this order of arguments:
//   buildings, sources     the obstructions (read only)
//   evaluationMode         0: the values are the total effective sunlight, else the longest
//                          continuous effective sunlight (hours)
//   spacing                grid spacing, drawing units (> 0, not larger than the area)
//   longitude ... noAngleLimit   the eight common analysis parameters (noAngleLimit unused:
//                          points have no facing)
//   height                 the grid plane z, drawing units
//   numberGrid             non-zero: the values are written as texts at the points, every
//                          labelSpacing-th point in both directions (thinned further to at most
//                          kMultiPointMaxLabels a side unless `detailed`)
//   valuesOnly             true: the caller draws its own result (the equal-hour lines) - only
//                          the number texts are drawn, no coloured cells and no legend
//   labelSpacing           see numberGrid (values below 1 count as 1)
//   columns, rows, origin  out: the number of cells along x and y and the point of row 0,
//                          column 0 (SolxSunGrid.h gives the layout)
//   grid                   out: (rows + 1) x (columns + 1) values, grid[row][column], hours,
//                          kSunGridNoValue in footprints and outside a polyline area
//   layer                  the layer of everything drawn (null: "SUN-SHADOW")
//   askArea                true: the area is asked from the user (two corners, a closed
//                          polyline, or Enter for the extents of the obstructions with a
//                          margin); false: the box between areaFrom and areaTo
//   fastPath               true: the raster path; false: the per-point ray path
//   detailed               non-zero: every point gets its text, with its sunlit periods in
//                          its extended data
//   areaFrom, areaTo       the area's corners when askArea is false
//   transform, rotation    a grid in a turned frame; only null and 0.0 are taken (anything else
//                          is refused)
// True when the values were computed (and, unless valuesOnly, the map drawn as one anonymous
// group); false on bad input (with a message), cancel or the user's break, with nothing drawn
// and the outputs left empty (columns = rows = 0, grid empty).
bool CalMultiPoint(SolxBuildingList& buildings, SolxShadowSourceList& sources, int evaluationMode,
                   double spacing, double longitude, double latitude, double declination,
                   double timeCorrection, int startMinute, int endMinute, int stepMinutes,
                   int noAngleLimit, double height, int numberGrid, bool valuesOnly,
                   int labelSpacing, int& columns, int& rows, VxGePoint& origin,
                   Vx2dArray<float>& grid, AcDbObjectId layer, bool askArea, bool fastPath,
                   int detailed, VxGePoint areaFrom, VxGePoint areaTo, const double (*transform)[4],
                   double rotation);

// Labels along the longer side of the grid without detailed output, at most.
inline constexpr long kMultiPointMaxLabels = 60;
