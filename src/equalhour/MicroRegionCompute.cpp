// Phases 2 to 5 of the micro-region method: the arrangement of the shadow boundaries, the
// sunlight of each of its faces, and the faces below each level merged into outlines.

#include <algorithm>
#include <cmath>

#include "MicroRegion.h"
#include "acad/AcDbRegionOps.h"
#include "host/VxUtPushResource.h"
#include "solx/SolxTimeList.h"

namespace {

// A region whose sunlight equals a level this closely (minutes) is not below it.
constexpr double kLevelTolerance = 0.000001;
// About this many meter updates and break tests while the regions are evaluated.
constexpr size_t kProgressSteps = 100;

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

// Phases 4 and 5.
void EvaluateAndMerge(const MicroRegionInput& input, const MicroRegionShadows& shadows,
                      const std::vector<VxGeCurveMeshCell>& cells, MicroRegionMonitor& monitor,
                      const VxGeInterruptScope& interrupt, MicroRegionResult& r) {
    monitor.Say(VxUtLangText(L"\n求阴影次数..."));
    const size_t n = cells.size();
    const size_t stride = std::max<size_t>(n / kProgressSteps, 1);
    std::vector<std::vector<size_t>> below(input.levels.size());
    monitor.Begin(VxUtLangText(L"计算微区的日照时间"), static_cast<int>(n));
    for (size_t c = 0; c < n; ++c) {
        if (c % stride == 0 && !monitor.Continue(static_cast<int>(c))) {
            r.outcome = MicroRegionOutcome::Broken;
            return;
        }
        const double v =
            MicroRegionSunlight(cells[c].center, shadows, input.sun, input.evaluationMode);
        for (size_t k = 0; k < input.levels.size(); ++k)
            if (v < input.levels[k] * 60.0 - kLevelTolerance) below[k].push_back(c);
    }
    monitor.End();
    r.t4 = std::clock();
    monitor.Say(VxUtLangText(L"\n合并微区...\n"));
    r.merged.resize(input.levels.size());
    for (size_t k = 0; k < below.size(); ++k) {
        std::vector<const VxGeRegion2d*> regions;
        regions.reserve(below[k].size());
        for (size_t c : below[k]) regions.push_back(&cells[c].region);
        if (!VxGeUnite(regions, r.merged[k])) {
            r.outcome =
                interrupt.Interrupted() ? MicroRegionOutcome::Broken : MicroRegionOutcome::Failed;
            return;
        }
        CompressOutlines(r.merged[k]);
    }
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
    r.t2 = std::clock();
    // Nothing to draw: the arrangement would be built for nobody.
    if (input.levels.empty()) {
        r.t3 = r.t4 = r.t2;
        return r;
    }
    std::vector<VxGeLineSeg2d> pieces;
    r.boundaryCount = shadows.boundaryCurves.GetLength();
    if (!shadows.boundaryCurves.InterBreakCurveEx2d(pieces)) {
        r.outcome =
            interrupt.Interrupted() ? MicroRegionOutcome::Broken : MicroRegionOutcome::Failed;
        return r;
    }
    shadows.boundaryCurves.RemoveAll();
    r.pieceCount = pieces.size();
    r.t2 = std::clock();
    monitor.Say(VxUtLangText(L"\n划分微区..."));
    VxGeCurveMesh mesh(pieces);
    if (!mesh.FindAllMesh()) {
        r.outcome =
            interrupt.Interrupted() ? MicroRegionOutcome::Broken : MicroRegionOutcome::Failed;
        return r;
    }
    pieces = {};
    r.regionCount = mesh.Cells().size();
    if (r.fullPeriod) {
        // Faces enclosed by shadows but never shadowed themselves stay out, so that the
        // outline keeps its holes as the united shadows would.
        std::vector<const VxGeRegion2d*> shadowed;
        for (const VxGeCurveMeshCell& cell : mesh.Cells())
            if (EverShadowed(cell.center, shadows)) shadowed.push_back(&cell.region);
        if (!VxGeUnite(shadowed, r.fullOutlines))
            r.outcome =
                interrupt.Interrupted() ? MicroRegionOutcome::Broken : MicroRegionOutcome::Failed;
        CompressOutlines(r.fullOutlines);
        r.t3 = r.t4 = std::clock();
        return r;
    }
    r.t3 = std::clock();
    EvaluateAndMerge(input, shadows, mesh.Cells(), monitor, interrupt, r);
    return r;
}
