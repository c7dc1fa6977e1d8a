#pragma once
// Sunlight on a regular grid of points at one height: the value grid that the grid analysis
// draws as a sunlight map and that the equal-hour lines are fitted through.
//
// Layout of a value grid: `rows` x `columns` cells, hence (rows + 1) x (columns + 1) points.
// The point of row r and column c (0-based) stands at
//     origin + (c * spacing, r * spacing, 0)
// so row 0 is the southern (lowest y) row and column 0 the western one; every point lies at the
// height origin.z. The value of that point is hours[r][c] of a Vx2dArray<float> sized
// (rows + 1, columns + 1): the sunlight in hours by the evaluation mode (0: total effective
// sunlight; else the longest continuous effective sunlight), or kSunGridNoValue for a point
// that has no value (inside a building footprint at the grid height, or outside the analysed
// area).

#include <functional>
#include <vector>

#include "brel/VxGePoint.h"
#include "containers/Vx2dArray.h"
#include "solx/SolxBuilding.h"
#include "solx/SolxShadowSource.h"
#include "solx/SolxSunSample.h"

// The value of a grid point that has none. Below every hour level, so a contour fitted through
// the grid runs around such points as around shade.
inline constexpr float kSunGridNoValue = -1.0f;

struct SolxSunGrid {
    VxGePoint origin;      // the point of row 0, column 0; z is the grid height
    double spacing = 0.0;  // drawing units between neighbouring points, > 0
    int columns = 0;       // cells along x
    int rows = 0;          // cells along y

    long PointColumns() const { return columns + 1L; }
    long PointRows() const { return rows + 1L; }
    long PointCount() const { return PointColumns() * PointRows(); }
    VxGePoint At(long row, long column) const {
        return {origin.x + column * spacing, origin.y + row * spacing, origin.z};
    }
};

// How the points are evaluated. All give the same sunlit periods at every point that does not
// lie on the edge of a shadow (there the answer may go either way).
enum class SolxGridMethod {
    // For every sun sample the shadow pieces of every obstruction on the grid plane are filled
    // onto the grid (a point is shaded when it lies inside a piece, a point on a piece's left
    // or lower edge counts as inside); samples whose shadows cannot be made on the plane (a sun
    // grazing the horizon) fall back to the ray test for that sample. Per point only the run
    // of lit samples is kept.
    Raster,
    // SolxBuildingEx::SunlitPeriods at every point, with the spatial index (the reference).
    PerPointIndexed,
    // The same without the index: every obstruction tested for every ray.
    PerPointAll,
};

// Called now and then with the work done so far out of `total`; false stops the evaluation.
using SolxGridProgress = std::function<bool(long done, long total)>;

// Called once for every point of the grid, row by row: inside is true for a point in a
// building footprint at the grid height (the periods are then empty); otherwise the sunlit
// periods (x start, y end, minutes; SolxSunlitRun) over the setting's samples.
using SolxGridVisit =
    std::function<void(long row, long column, bool inside, std::vector<VxGePoint>&& periods)>;

// Evaluates every point of `grid` against the obstructions. False when the progress callback
// stopped it (some points may have been visited already) or the grid is empty.
bool SunGridPeriods(const SolxBuildingList& buildings, const SolxShadowSourceList& sources,
                    const SolxSunSetting& setting, const SolxSunGrid& grid, SolxGridMethod method,
                    const SolxGridVisit& visit, const SolxGridProgress& progress = {});

// Hours of one point's periods within the setting's period, by the evaluation mode (0: total,
// else the longest continuous), through SolxTimeList with the current standard's minimum
// counted period.
double SunGridHours(const std::vector<VxGePoint>& periods, const SolxSunSetting& setting,
                    int evaluationMode);

// SunGridPeriods turned into values: `hours` is resized to (rows + 1, columns + 1) and filled
// (kSunGridNoValue inside footprints). False when stopped; `hours` is then emptied.
bool SunGridHoursOf(const SolxBuildingList& buildings, const SolxShadowSourceList& sources,
                    const SolxSunSetting& setting, int evaluationMode, const SolxSunGrid& grid,
                    SolxGridMethod method, Vx2dArray<float>& hours,
                    const SolxGridProgress& progress = {});
