#pragma once
// The equal-hour lines ("VxSunEqCurve"): for each hour level the outline of the ground that
// gets less sunlight than the level over the analysis period, in plan at the calculation height
// (by the micro-region method or by fitting contour lines through a grid of points), or along
// unfolded outer walls. This header holds what the command and its methods share: the levels,
// the parameters, the usable outlines and the tag every equal-hour line carries.

#include <string>
#include <vector>

#include "acad/AcDbCore.h"
#include "brel/VxGeCurveFit.h"
#include "brel/VxGePoint.h"
#include "solx/SolxBuilding.h"
#include "solx/SolxShadowSource.h"
#include "solx/SolxSunSample.h"

class AcDbEntity;
class AcDbPolyline;

// The most levels one run draws (the message names the number).
inline constexpr int kMaxEqualHourLevels = 16;

// The hour levels of a level text, in the order typed: comma-separated tokens, each read as a
// number the way the C library's _wtof reads it (leading
// blanks skipped, reading stops at the first character that cannot continue a number, no
// number reads 0), divided by 60 when `inMinutes`. A value within 0.05 h of one already taken
// is a duplicate; otherwise it is taken when 0.01 < value < 10.01. Dropped tokens say nothing.
// Tokens are cut at 255 characters. Not sorted and not limited to kMaxEqualHourLevels. What a
// Chinese keyboard types is read as its plain forms first: the full-width comma "，" and the
// enumeration comma "、" separate like ",", full-width digits and point read as digits and point.
std::vector<double> ParseHourLevels(const std::wstring& text, bool inMinutes);

// What the command reads once its dialog closed with OK; lengths in drawing units.
struct EqualHourParams {
    SolxSunSetting sun;
    std::wstring levelsText;
    int levelsInMinutes = 0;
    double calcHeight = 0.0;
    int evaluationMode = 0;  // 0 total effective sunlight, else the longest continuous period
    double gridSize = 1000.0;
    int labelSpacing = 1;
    int method = 1;  // 0 micro-region, 1 fitting
    int facadeMode = 0;
    int smoothing = 1;
    int showNumberGrid = 0;
};

// The buildings that cast a shadow on the plane at `calcHeight`: a valid closed outline, a
// height above the zero distance and a top at least 0.01 above the plane. Outlines and the
// parallel (x = base elevation, y = height) points.
struct UsableOutlines {
    std::vector<std::vector<VxGePoint>> outlines;
    std::vector<VxGePoint> baseAndHeight;
};
UsableOutlines CollectUsableOutlines(const SolxBuildingList& buildings, double calcHeight);

// The mark of every equal-hour line: one info row (the evaluation's name and the level as
// "h:mm"), the colour of the level in the current standard's colour table, and the layer when
// `layer` is not null.
void TagEqualHourEntity(AcDbEntity* entity, double level, int evaluationMode, AcDbObjectId layer);

// Adds a tagged line to model space; with smoothing it goes in as a spline-fitted 2D polyline
// that takes over the lightweight polyline's id (the lightweight one stays when it does not
// convert). The line is closed or freed either way.
void AddEqualHourCurve(AcDbPolyline* polyline, bool smoothing);

// The plan methods. Each prints its own messages and draws on `layer`.
void RunMicroRegionMethod(const UsableOutlines& usable, const SolxShadowSourceList& sources,
                          const std::vector<double>& levels, const EqualHourParams& params,
                          AcDbObjectId layer);

// The fitting method's geometry, apart from the drawing. The outlines that cut the fitted
// lines: every valid building of the list, also one lower than the plane (its footprint is
// still no open ground), as closed polylines.
std::vector<VxGePolyline2d> CuttingOutlines(const SolxBuildingList& buildings);
// Gives the grid nodes inside an outline that have no value (kSunGridNoValue: the footprints
// the plane cuts) the mean of their neighbours' values, ring by ring inwards, so that a contour
// crosses a footprint where the ground beside it says rather than running round it; the cut
// then ends it at the wall. Values row-major, `rows` x `columns` nodes.
void FillFootprintNodes(const VxGePoint& origin, double spacing, int rows, int columns,
                        std::vector<float>& values, const std::vector<VxGePolyline2d>& outlines);
// The lines of one level from a prepared graph: the contour pieces cut by every outline, only
// the pieces outside all footprints kept, each directed with the ground below the level on its
// left (counter-clockwise round it, as the micro-region outlines run). Cut pieces are open and
// end on a wall; pieces that the outlines do not meet keep their closing.
std::vector<VxGePolyline2d> FitLevelLines(VxGeCurveFitGraph& graph, double level,
                                          const std::vector<VxGePolyline2d>& outlines);

// The fitting method asks for the area itself (through the grid analysis) and lets the grid
// analysis read the obstruction lists.
void RunFittingMethod(SolxBuildingList& buildings, SolxShadowSourceList& sources,
                      const std::vector<double>& levels, const EqualHourParams& params,
                      AcDbObjectId layer);
