// Phases 2 to 5 of the micro-region method: the arrangement of the shadow boundaries, the
// sunlight of each of its faces, and the faces below each level merged into outlines.

#include <algorithm>
#include <cmath>

#include "MicroRegion.h"
#include "MicroRegionTiles.h"
#include "acad/AcDbRegionOps.h"
#include "host/VxUtPushResource.h"
#include "solx/SolxTimeList.h"

namespace {

// A region whose sunlight equals a level this closely (minutes) is not below it.
constexpr double kLevelTolerance = 0.000001;

// The full-period shortcut: the unions of all samples united one after the other, the meter
// moving with them. False when a union fails (`broken` tells a break from a failure).
bool UniteSamples(const MicroRegionShadows& shadows, MicroRegionMonitor& monitor,
                  std::vector<AcDbRegionPolygon>& united, bool& broken) {
    const auto& regions = shadows.stepRegions;
    united = regions.front();
    monitor.Begin(VxUtLangText(L"合并轮廓"), static_cast<int>(regions.size()));
    for (size_t i = 1; i < regions.size(); ++i) {
        if (!monitor.Continue(static_cast<int>(i))) {
            broken = true;
            return false;
        }
        std::vector<const AcDbRegionPolygon*> both;
        for (const AcDbRegionPolygon& p : united) both.push_back(&p);
        for (const AcDbRegionPolygon& p : regions[i]) both.push_back(&p);
        std::vector<AcDbRegionPolygon> next;
        if (!solx::region::UnitePolygons(both, 0.0, next)) {
            monitor.End();
            return false;
        }
        united.swap(next);
    }
    monitor.End();
    return true;
}

bool EverShadowed(const VxGePoint& point, const MicroRegionShadows& shadows) {
    for (size_t i = 0; i < shadows.samples.size(); ++i)
        if (!shadows.dark[i] && shadows.shadowsAt[i].AnyContains(point)) return true;
    return false;
}

void CompressOutlines(std::vector<VxGeRegion2d>& regions) {
    for (VxGeRegion2d& r : regions) {
        r.outer.Compress();
        for (VxGePolyline2d& hole : r.holes) hole.Compress();
    }
}

// What the tiles of phases 2 to 5 add up: clock ticks per phase and, per level (or for the
// whole period, the one "level" of the ever-shadowed ground), the outlines of each tile.
struct TileTotals {
    std::clock_t breakTicks = 0, faceTicks = 0, sunTicks = 0, mergeTicks = 0;
    std::vector<std::vector<VxGeRegion2d>> parts;
    bool saidFaces = false, saidSunlight = false, saidMerge = false;
};

// One tile: its pieces broken, its faces found and evaluated, the faces below each level
// united. False when the engine fails or the user broke off.
bool RunTile(const MicroRegionInput& input, const MicroRegionShadows& shadows,
             const MicroRegionTiling& tiling, int tile, bool fullPeriod,
             MicroRegionMonitor& monitor, MicroRegionResult& r, TileTotals& totals) {
    std::clock_t at = std::clock();
    VxGeObjList curves;
    for (const VxGeLineSeg2d& s : tiling.segments[tile])
        curves.Append(VxGePolyline2d({s.start, s.end}));
    curves.Append(tiling.Outline(tile));
    std::vector<VxGeLineSeg2d> pieces;
    if (!curves.InterBreakCurveEx2d(pieces, tiling.grid)) return false;
    curves.RemoveAll();
    r.pieceCount += pieces.size();
    totals.breakTicks += std::clock() - at;
    at = std::clock();
    if (!totals.saidFaces) monitor.Say(VxUtLangText(L"\n划分微区...")), totals.saidFaces = true;
    VxGeCurveMesh mesh(pieces);
    if (!mesh.FindAllMesh()) return false;
    pieces = {};
    r.regionCount += mesh.Cells().size();
    totals.faceTicks += std::clock() - at;
    at = std::clock();
    if (!totals.saidSunlight)
        monitor.Say(VxUtLangText(L"\n求阴影次数...")), totals.saidSunlight = true;
    const size_t groups = fullPeriod ? 1 : input.levels.size();
    std::vector<std::vector<const VxGeRegion2d*>> below(groups);
    for (const VxGeCurveMeshCell& cell : mesh.Cells()) {
        // Ground that no sample shadows is no micro-region: it stays out of every line.
        if (!EverShadowed(cell.center, shadows)) continue;
        if (fullPeriod) {
            below[0].push_back(&cell.region);
            continue;
        }
        const double v = MicroRegionSunlight(cell.center, shadows, input.sun, input.evaluationMode);
        for (size_t k = 0; k < groups; ++k)
            if (v < input.levels[k] * 60.0 - kLevelTolerance) below[k].push_back(&cell.region);
    }
    totals.sunTicks += std::clock() - at;
    at = std::clock();
    if (!totals.saidMerge) monitor.Say(VxUtLangText(L"\n合并微区...\n")), totals.saidMerge = true;
    for (size_t k = 0; k < groups; ++k) {
        std::vector<VxGeRegion2d> united;
        if (!VxGeUnite(below[k], united)) return false;
        for (VxGeRegion2d& u : united) totals.parts[k].push_back(std::move(u));
    }
    totals.mergeTicks += std::clock() - at;
    return true;
}

// Phases 2 to 5 over the tiles, and the tiles' outlines united.
void RunTiles(const MicroRegionInput& input, const MicroRegionShadows& shadows,
              MicroRegionMonitor& monitor, const VxGeInterruptScope& interrupt,
              MicroRegionResult& r) {
    const MicroRegionTiling tiling = TileCurves(shadows.boundaryCurves, input.segmentsPerTile);
    r.tileCount = static_cast<size_t>(tiling.Count());
    TileTotals totals;
    totals.parts.resize(r.fullPeriod ? 1 : input.levels.size());
    monitor.Begin(VxUtLangText(L"计算微区的日照时间"), tiling.Count());
    for (int tile = 0; tile < tiling.Count(); ++tile) {
        if (!monitor.Continue(tile)) {
            r.outcome = MicroRegionOutcome::Broken;
            return;
        }
        if (!RunTile(input, shadows, tiling, tile, r.fullPeriod, monitor, r, totals)) {
            monitor.End();
            r.outcome =
                interrupt.Interrupted() ? MicroRegionOutcome::Broken : MicroRegionOutcome::Failed;
            return;
        }
    }
    monitor.End();
    r.t2 = r.t1 + totals.breakTicks;
    r.t3 = r.t2 + totals.faceTicks;
    r.t4 = r.t3 + totals.sunTicks;
    std::vector<std::vector<VxGeRegion2d>> merged(totals.parts.size());
    for (size_t k = 0; k < totals.parts.size(); ++k) {
        std::vector<const VxGeRegion2d*> parts;
        for (const VxGeRegion2d& p : totals.parts[k]) parts.push_back(&p);
        if (!VxGeUnite(parts, merged[k])) {
            r.outcome =
                interrupt.Interrupted() ? MicroRegionOutcome::Broken : MicroRegionOutcome::Failed;
            return;
        }
        CompressOutlines(merged[k]);
    }
    if (r.fullPeriod)
        r.fullOutlines = std::move(merged.front());
    else
        r.merged = std::move(merged);
}

}  // namespace

bool IsFullPeriod(const std::vector<double>& levels, const SolxSunSetting& sun) {
    return levels.size() == 1 &&
           static_cast<int>(std::lround(levels.front() * 60.0)) == sun.endMinute - sun.startMinute;
}

double MicroRegionSunlight(const VxGePoint& point, const MicroRegionShadows& shadows,
                           const SolxSunSetting& sun, int evaluationMode) {
    SolxSunlitRun run(sun.startMinute, sun.endMinute, shadows.stepMinutes);
    for (size_t i = 0; i < shadows.samples.size(); ++i)
        run.Add(shadows.samples[i].minute,
                !shadows.dark[i] && !shadows.shadowsAt[i].AnyContains(point));
    const SolxTimeList time(run.Finish(), sun.startMinute, sun.endMinute);
    return evaluationMode ? time.GetMaxContinueTime() : time.GetTotalTime();
}

MicroRegionResult ComputeMicroRegions(const MicroRegionInput& input, MicroRegionMonitor& monitor) {
    MicroRegionResult r;
    r.t0 = std::clock();
    MicroRegionShadows shadows;
    if (!ComputeShadowPhase(input, monitor, shadows)) {
        r.outcome = MicroRegionOutcome::Broken;
        return r;
    }
    r.t1 = std::clock();
    r.fullPeriod = IsFullPeriod(input.levels, input.sun);
    const VxGeInterruptScope interrupt(monitor.StopTest());
    if (r.fullPeriod && shadows.allUnited && !shadows.stepRegions.empty()) {
        bool broken = false;
        if (UniteSamples(shadows, monitor, r.fullRegion, broken)) {
            r.hasFullRegion = true;
            r.t2 = r.t3 = std::clock();
            return r;
        }
        if (broken) {
            r.outcome = MicroRegionOutcome::Broken;
            return r;
        }
        r.fullRegion.clear();  // fall back on the arrangement
    }
    r.t2 = r.t3 = r.t4 = std::clock();
    r.boundaryCount = shadows.boundaryCurves.GetLength();
    // Nothing to draw: the arrangement would be built for nobody.
    if (input.levels.empty()) return r;
    RunTiles(input, shadows, monitor, interrupt, r);
    return r;
}
