#pragma once
// The micro-region method of the equal-hour lines: the shadow outlines of every time sample
// are overlaid into one planar arrangement; in each of its faces (a micro-region) the sunlight
// history is the same everywhere, so one point inside it is evaluated; the micro-regions below
// a level are merged into that level's outlines.
//
// Phases: 1 shadow outlines per sample, united; 2 the boundaries broken at their crossings;
// 3 the faces of the arrangement; 4 the sunlight of each face; 5 the faces below each level
// united. Phases 2 to 5 run tile by tile (MicroRegionTiles.h); the phase times add up the
// tiles. When the only level is the whole period the line is the outline of everything ever
// shadowed, the union of the samples' shadows, and phases 2 to 5 are skipped while the unions
// succeed.

#include <ctime>
#include <vector>

#include "acad/AcDbRegion.h"
#include "brel/VxGeometry.h"
#include "solx/SolxShadowSource.h"
#include "solx/SolxSunSample.h"

// The method never samples finer than this (minutes): every region is tested at every sample.
inline constexpr int kMicroRegionMinStep = 6;

struct MicroRegionInput {
    std::vector<std::vector<VxGePoint>> outlines;  // closed outlines of the prisms
    std::vector<VxGePoint> baseAndHeight;          // x base elevation, y height, per outline
    const SolxShadowSourceList* sources = nullptr;
    std::vector<double> levels;  // hours, ascending
    SolxSunSetting sun;
    double calcHeight = 0.0;
    int evaluationMode = 0;  // 0 total effective sunlight, else the longest continuous period
    // Boundary segments per tile of the arrangement: a tile's faces then take some tens of
    // megabytes at most.
    size_t segmentsPerTile = 1000;
    // A tile (or a quarter of one) whose sunlight is not the same on either side of every level
    // all across it is split into quarters while it holds more segments than this; 0 builds
    // every tile's arrangement whole and settles nothing without one.
    size_t segmentsPerBox = 200;
};

// What watches the computation: the messages between phases, the progress meter and the
// user's break. The default watches nothing and never breaks.
class MicroRegionMonitor {
public:
    virtual ~MicroRegionMonitor() = default;
    virtual void Say(const wchar_t* /*text*/) {}
    virtual void Begin(const wchar_t* /*label*/, int /*count*/) {}
    // False once the user broke off (the meter is then already put away).
    virtual bool Continue(int /*position*/) { return true; }
    virtual void End() {}
    // Asked now and then inside the long geometry operations; true breaks off.
    virtual bool (*StopTest())() { return nullptr; }
};

// The shadows of the samples (phase 1).
struct MicroRegionShadows {
    std::vector<SolxSunSample> samples;
    int stepMinutes = kMicroRegionMinStep;
    std::vector<char> dark;                  // the sun is not up: every point is in shadow
    std::vector<VxGeRegionIndex> shadowsAt;  // per sample: its shadows, for point tests
    // Per sample whose shadows could be united: the union (the samples with a shadow only).
    std::vector<std::vector<AcDbRegionPolygon>> stepRegions;
    VxGeObjList boundaryCurves;    // the boundaries of every sample's shadows
    std::vector<int> curveSample;  // the sample of each boundary curve
    bool allUnited = true;         // every sample had a shadow and its union succeeded
};

enum class MicroRegionOutcome { Done, Broken, Failed };

struct MicroRegionResult {
    MicroRegionOutcome outcome = MicroRegionOutcome::Done;
    bool fullPeriod = false;
    // Full period, unions succeeded: the outline of everything ever shadowed.
    std::vector<AcDbRegionPolygon> fullRegion;
    bool hasFullRegion = false;
    // Full period through the arrangement: the outer outlines of its connected groups.
    std::vector<VxGeRegion2d> fullOutlines;
    // Per level: the merged outlines of the micro-regions below it.
    std::vector<std::vector<VxGeRegion2d>> merged;
    size_t boundaryCount = 0, pieceCount = 0, regionCount = 0, tileCount = 0;
    // Boxes settled whole (every level on one side all across them) and boxes arranged.
    size_t settledBoxes = 0, arrangedBoxes = 0;
    std::clock_t t0 = 0, t1 = 0, t2 = 0, t3 = 0, t4 = 0;
};

// True when the only level equals the whole period (the level in minutes, rounded half away
// from zero, is end minus start).
bool IsFullPeriod(const std::vector<double>& levels, const SolxSunSetting& sun);

// Phase 1. False when the user broke off.
bool ComputeShadowPhase(const MicroRegionInput& input, MicroRegionMonitor& monitor,
                        MicroRegionShadows& out);

// The sunlight (minutes, by the evaluation mode) of a point over the samples.
double MicroRegionSunlight(const VxGePoint& point, const MicroRegionShadows& shadows,
                           const SolxSunSetting& sun, int evaluationMode);

// All phases; phases 4 and 5 only when there are levels and not the full period shortcut.
MicroRegionResult ComputeMicroRegions(const MicroRegionInput& input, MicroRegionMonitor& monitor);
