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

void CompressOutlines(std::vector<VxGeRegion2d>& regions) {
    for (VxGeRegion2d& r : regions) {
        r.outer.Compress();
        for (VxGePolyline2d& hole : r.holes) hole.Compress();
    }
}

// How a sample lights a box: lit all across it, shadowed all across it (also a sample with the
// sun down), or lit in parts (its shadow boundary reaches into the box).
enum class SampleState : char { Lit, Shadowed, Open };

// Where a box stands against a level (or, for the whole period, against the ever-shadowed
// ground): all of it below, none of it below, or only its faces can tell.
enum class Side : char { Below, Above, Open };

// What the boxes of phases 2 to 5 add up: clock ticks per phase and, per level (or for the
// whole period, the one "level" of the ever-shadowed ground), the outlines of each box.
struct TileTotals {
    std::clock_t breakTicks = 0, faceTicks = 0, sunTicks = 0, mergeTicks = 0;
    std::vector<std::vector<VxGeRegion2d>> parts;
    bool saidFaces = false, saidSunlight = false, saidMerge = false;
};

// The state shared by the boxes of one run.
struct BoxRun {
    const MicroRegionInput& input;
    const MicroRegionShadows& shadows;
    const MicroRegionTiling& tiling;
    MicroRegionMonitor& monitor;
    MicroRegionResult& r;
    TileTotals& totals;
    size_t groups;
    std::vector<char> uncertain;  // scratch: per sample, a boundary of it reaches into the box
    std::vector<char> lit;        // scratch: per sample, lit at the point or bound asked for

    // The sunlight (minutes, by the evaluation mode) when exactly the samples of `lit` are lit.
    double Sunlight() const {
        const SolxSunSetting& sun = input.sun;
        SolxSunlitRun run(sun.startMinute, sun.endMinute, shadows.stepMinutes);
        for (size_t i = 0; i < shadows.samples.size(); ++i)
            run.Add(shadows.samples[i].minute, lit[i] != 0);
        const SolxTimeList time(run.Finish(), sun.startMinute, sun.endMinute);
        return input.evaluationMode ? time.GetMaxContinueTime() : time.GetTotalTime();
    }
    bool IsBelow(double minutes, size_t k) const {
        return minutes < input.levels[k] * 60.0 - kLevelTolerance;
    }
};

// The states of the samples over a box holding `segments`. A sample none of whose boundary
// reaches into the box lights all of it or none of it, so its state at the centre is its state
// everywhere; the parent's settled states hold for its quarters.
void ClassifySamples(BoxRun& run, const MicroRegionBox& box, const std::vector<uint32_t>& segments,
                     const std::vector<SampleState>* parent, std::vector<SampleState>& states,
                     bool& anyShadow) {
    const MicroRegionShadows& sh = run.shadows;
    std::fill(run.uncertain.begin(), run.uncertain.end(), 0);
    for (uint32_t s : segments) {
        const int sample = run.tiling.sampleOf[s];
        if (sample >= 0) run.uncertain[static_cast<size_t>(sample)] = 1;
    }
    const VxGePoint centre = box.Center();
    states.resize(sh.samples.size());
    anyShadow = false;
    for (size_t i = 0; i < sh.samples.size(); ++i) {
        if (sh.dark[i])
            states[i] = SampleState::Shadowed;
        else if (run.uncertain[i])
            states[i] = SampleState::Open;
        else if (parent && (*parent)[i] != SampleState::Open)
            states[i] = (*parent)[i];
        else
            states[i] =
                sh.shadowsAt[i].AnyContains(centre) ? SampleState::Shadowed : SampleState::Lit;
        // Only a sample with the sun up makes ground part of the shadowed ground.
        if (!sh.dark[i] && states[i] == SampleState::Shadowed) anyShadow = true;
    }
}

// Where the box stands against each group. The sunlight grows with the set of lit samples
// (a lit sample only lengthens or joins sunlit periods), so the samples surely lit give the
// least sunlight in the box and those possibly lit the most; when both are on one side of a
// level, so is every point of the box. A box is below a level as a whole only when some sample
// shadows all of it: ground never shadowed is no micro-region.
void SettleSides(BoxRun& run, const std::vector<SampleState>& states, bool anyShadow,
                 bool fullPeriod, std::vector<Side>& sides) {
    sides.assign(run.groups, Side::Open);
    bool anyOpen = false;
    for (SampleState s : states) anyOpen = anyOpen || s == SampleState::Open;
    if (fullPeriod) {
        sides[0] = anyShadow ? Side::Below : anyOpen ? Side::Open : Side::Above;
        return;
    }
    for (size_t i = 0; i < states.size(); ++i) run.lit[i] = states[i] == SampleState::Lit;
    const double least = run.Sunlight();
    for (size_t i = 0; i < states.size(); ++i) run.lit[i] = states[i] != SampleState::Shadowed;
    const double most = run.Sunlight();
    for (size_t k = 0; k < run.groups; ++k) {
        if (!run.IsBelow(least, k))
            sides[k] = Side::Above;
        else if (run.IsBelow(most, k) && anyShadow)
            sides[k] = Side::Below;
    }
}

// A box whose sides are not all settled: its pieces broken, its faces found and evaluated (the
// open samples only), the faces below each open level united. False when the engine fails or
// the user broke off.
bool ArrangeBox(BoxRun& run, const MicroRegionBox& box, const std::vector<uint32_t>& segments,
                const std::vector<SampleState>& states, bool anyShadow,
                const std::vector<Side>& sides) {
    TileTotals& totals = run.totals;
    MicroRegionMonitor& monitor = run.monitor;
    const MicroRegionShadows& sh = run.shadows;
    ++run.r.arrangedBoxes;
    std::clock_t at = std::clock();
    VxGeObjList curves;
    for (const VxGeLineSeg2d& s : run.tiling.Clipped(segments, box))
        curves.Append(VxGePolyline2d({s.start, s.end}));
    curves.Append(box.Outline());
    std::vector<VxGeLineSeg2d> pieces;
    if (!curves.InterBreakCurveEx2d(pieces, run.tiling.grid)) return false;
    curves.RemoveAll();
    run.r.pieceCount += pieces.size();
    totals.breakTicks += std::clock() - at;
    at = std::clock();
    if (!totals.saidFaces) monitor.Say(VxUtLangText(L"\n划分微区...")), totals.saidFaces = true;
    VxGeCurveMesh mesh(pieces);
    if (!mesh.FindAllMesh()) return false;
    pieces = {};
    run.r.regionCount += mesh.Cells().size();
    totals.faceTicks += std::clock() - at;
    at = std::clock();
    if (!totals.saidSunlight)
        monitor.Say(VxUtLangText(L"\n求阴影次数...")), totals.saidSunlight = true;
    std::vector<std::vector<const VxGeRegion2d*>> below(run.groups);
    std::vector<size_t> open;
    for (size_t i = 0; i < states.size(); ++i)
        if (states[i] == SampleState::Open) open.push_back(i);
    for (const VxGeCurveMeshCell& cell : mesh.Cells()) {
        bool everShadowed = anyShadow;
        for (size_t i = 0; i < states.size(); ++i) run.lit[i] = states[i] == SampleState::Lit;
        for (size_t i : open) {
            const bool shadowed = sh.shadowsAt[i].AnyContains(cell.center);
            run.lit[i] = !shadowed;
            everShadowed = everShadowed || shadowed;
        }
        // Ground that no sample shadows is no micro-region: it stays out of every line.
        if (!everShadowed) continue;
        const double v = run.r.fullPeriod ? 0.0 : run.Sunlight();
        for (size_t k = 0; k < run.groups; ++k)
            if (sides[k] == Side::Open && (run.r.fullPeriod || run.IsBelow(v, k)))
                below[k].push_back(&cell.region);
    }
    totals.sunTicks += std::clock() - at;
    at = std::clock();
    if (!totals.saidMerge) monitor.Say(VxUtLangText(L"\n合并微区...\n")), totals.saidMerge = true;
    for (size_t k = 0; k < run.groups; ++k) {
        if (sides[k] == Side::Below) {
            totals.parts[k].push_back({box.Outline(), {}});
            continue;
        }
        std::vector<VxGeRegion2d> united;
        if (!VxGeUnite(below[k], united)) return false;
        for (VxGeRegion2d& u : united) totals.parts[k].push_back(std::move(u));
    }
    totals.mergeTicks += std::clock() - at;
    return true;
}

// One box: settled whole when it can be, else split while it holds many segments, else
// arranged. False when the engine fails or the user broke off.
bool RunBox(BoxRun& run, const MicroRegionBox& box, const std::vector<uint32_t>& segments,
            const std::vector<SampleState>* parent, int depthLeft) {
    const bool settle = run.input.segmentsPerBox > 0;
    std::vector<SampleState> states;
    std::vector<Side> sides(run.groups, Side::Open);
    bool anyShadow = false;
    std::clock_t at = std::clock();
    ClassifySamples(run, box, segments, parent, states, anyShadow);
    if (!settle) {  // the plain way: every sample with the sun up is tested at every face
        for (size_t i = 0; i < states.size(); ++i)
            if (!run.shadows.dark[i]) states[i] = SampleState::Open;
        anyShadow = false;
    } else {
        SettleSides(run, states, anyShadow, run.r.fullPeriod, sides);
    }
    run.totals.sunTicks += std::clock() - at;
    if (std::none_of(sides.begin(), sides.end(), [](Side s) { return s == Side::Open; })) {
        ++run.r.settledBoxes;
        for (size_t k = 0; k < run.groups; ++k)
            if (sides[k] == Side::Below) run.totals.parts[k].push_back({box.Outline(), {}});
        return true;
    }
    if (settle && depthLeft > 0 && segments.size() > run.input.segmentsPerBox) {
        MicroRegionBox quarters[4];
        box.Split(quarters);
        std::vector<uint32_t> inside;
        for (const MicroRegionBox& q : quarters) {
            run.tiling.SegmentsIn(segments, q, inside);
            if (!RunBox(run, q, inside, &states, depthLeft - 1)) return false;
        }
        return true;
    }
    return ArrangeBox(run, box, segments, states, anyShadow, sides);
}

// A tile can be halved this often; its quarters stay on the noding grid.
constexpr int kMaxBoxDepth = 12;

// Phases 2 to 5 over the tiles, and the boxes' outlines united.
void RunTiles(const MicroRegionInput& input, const MicroRegionShadows& shadows,
              MicroRegionMonitor& monitor, const VxGeInterruptScope& interrupt,
              MicroRegionResult& r) {
    const MicroRegionTiling tiling = TileCurves(shadows.boundaryCurves, shadows.curveSample,
                                                input.segmentsPerTile, kMaxBoxDepth);
    r.tileCount = static_cast<size_t>(tiling.Count());
    TileTotals totals;
    const size_t groups = r.fullPeriod ? 1 : input.levels.size();
    totals.parts.resize(groups);
    BoxRun run{input, shadows, tiling, monitor, r, totals, groups, {}, {}};
    run.uncertain.resize(shadows.samples.size());
    run.lit.resize(shadows.samples.size());
    monitor.Begin(VxUtLangText(L"计算微区的日照时间"), tiling.Count());
    for (int tile = 0; tile < tiling.Count(); ++tile) {
        if (!monitor.Continue(tile)) {
            r.outcome = MicroRegionOutcome::Broken;
            return;
        }
        if (!RunBox(run, tiling.Tile(tile), tiling.segments[static_cast<size_t>(tile)], nullptr,
                    kMaxBoxDepth)) {
            monitor.End();
            r.outcome =
                interrupt.Interrupted() ? MicroRegionOutcome::Broken : MicroRegionOutcome::Failed;
            return;
        }
    }
    monitor.End();
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
    r.t2 = r.t1 + totals.breakTicks;
    r.t3 = r.t2 + totals.faceTicks;
    r.t4 = r.t3 + totals.sunTicks;
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
