// The evaluation of a grid: the raster path over the shadow pieces of every sample, and the
// per-point reference path through SolxBuildingEx::SunlitPeriods.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "SunGridRaster.h"
#include "shadow/ShadowPolyBuild.h"
#include "solx/SolxBuildingEx.h"
#include "solx/SolxSunGrid.h"
#include "solx/SolxTimeList.h"

namespace {

using sungrid::PointMask;

// The group the reference path asks; copies, since the group owns what it holds.
std::unique_ptr<SolxBuildingEx> MakeGroup(const SolxBuildingList& buildings,
                                          const SolxShadowSourceList& sources, bool useIndex) {
    auto group = std::make_unique<SolxBuildingEx>(1);
    for (const auto& b : buildings)
        if (b) group->AddBuilding(std::make_unique<SolxBuilding>(*b));
    for (const auto& s : sources)
        if (s) group->AddSource(std::make_unique<SolxShadowSource>(*s));
    group->SetUseIndex(useIndex);
    group->CalExtend3D();
    return group;
}

// Points in the footprint of a valid building that the grid plane cuts (SpansHeight).
void FillFootprints(const SolxBuildingList& buildings, double z, PointMask& mask) {
    for (const auto& b : buildings) {
        if (!b || !b->IsValid() || !b->SpansHeight(z)) continue;
        AcDbRegionRing ring;
        for (const VxGePoint& p : b->Outline()) ring.emplace_back(p.x, p.y);
        mask.FillRing(ring);
    }
}

// The shadow pieces of everything for one sample, filled onto the mask.
void FillShadows(const SolxBuildingList& buildings, const SolxShadowSourceList& sources,
                 const shadow::PlanShift& shift, double z, PointMask& mask) {
    shadow::ShadowPieces pieces;
    auto fill = [&] {
        for (const AcDbRegionPolygon& polygon : pieces.polygons) mask.Fill(polygon);
        pieces.polygons.clear();
        pieces.united = true;
    };
    for (const auto& b : buildings) {
        if (!b || !b->IsValid() || b->Top() <= z) continue;
        shadow::AddPrismPieces(b->Outline(), b->Elevation(), b->Height(), shift, z, pieces);
        fill();
    }
    for (const auto& s : sources) {
        if (!s) continue;
        for (const SolxFace3d& face : s->Faces()) {
            shadow::AddFacePieces(face, shift, z, pieces);
            fill();
        }
    }
}

bool RasterPeriods(const SolxBuildingList& buildings, const SolxShadowSourceList& sources,
                   const SolxSunSetting& setting, const SolxSunGrid& grid,
                   const SolxGridVisit& visit, const SolxGridProgress& progress) {
    const std::vector<SolxSunSample> samples = SampleSun(setting);
    const long rows = grid.PointRows(), columns = grid.PointColumns();
    const double z = grid.origin.z;
    PointMask inside(grid);
    FillFootprints(buildings, z, inside);
    // Per point only its run of lit samples and the answer of the previous sample: memory
    // grows with the points, not the samples. Within a stretch of equal answers only the last
    // one changes what SolxSunlitRun makes of them (a lit answer moves the end of the open
    // period, a dark one closes it and moves the start of the next), so a point's run is told
    // the last sample of each stretch, when the answer changes and at the end.
    std::vector<SolxSunlitRun> runs(
        static_cast<size_t>(grid.PointCount()),
        SolxSunlitRun(setting.startMinute, setting.endMinute, setting.stepMinutes));
    constexpr uint8_t kNone = 2;
    constexpr uint64_t kOnes = 0x0101010101010101ULL;
    std::vector<uint8_t> previous(static_cast<size_t>(grid.PointCount()), kNone);
    PointMask shade(grid);
    std::unique_ptr<SolxBuildingEx> group;  // for the samples without plane shadows
    const long total = static_cast<long>(samples.size()) + 1;
    for (size_t k = 0; k < samples.size(); ++k) {
        if (progress && !progress(static_cast<long>(k), total)) return false;
        const SolxSunSample& sample = samples[k];
        const double before = k > 0 ? samples[k - 1].minute : 0.0;
        const VxGePoint light = sample.Ray();
        shadow::PlanShift shift;
        const bool plane = shadow::LightShift(light, shift);
        if (plane) {
            shade.Clear();
            FillShadows(buildings, sources, shift, z, shade);
        } else if (!group) {
            group = MakeGroup(buildings, sources, true);
        }
        for (long r = 0; r < rows; ++r) {
            const size_t first = static_cast<size_t>(r) * columns;
            const uint8_t* in = inside.Row(r);
            const uint8_t* dark = shade.Row(r);
            uint8_t* last = previous.data() + first;
            SolxSunlitRun* run = runs.data() + first;
            auto take = [&](long c, uint8_t lit) {
                if (last[c] != kNone) run[c].Add(before, last[c] != 0);
                last[c] = lit;
            };
            if (plane) {
                long c = 0;
                // Eight points at a time: a byte of (dark ^ 1 ^ last) is zero where the answer
                // did not change (lit = dark ^ 1); points in footprints are masked out.
                for (; c + 8 <= columns; c += 8) {
                    uint64_t d = 0, l = 0, m = 0;
                    std::memcpy(&d, dark + c, 8);
                    std::memcpy(&l, last + c, 8);
                    std::memcpy(&m, in + c, 8);
                    if (((d ^ l ^ kOnes) & ~(m * 0xFF)) == 0) continue;
                    for (long p = c; p < c + 8; ++p) {
                        const uint8_t lit = dark[p] == 0;
                        if (lit != last[p] && !in[p]) take(p, lit);
                    }
                }
                for (; c < columns; ++c) {
                    const uint8_t lit = dark[c] == 0;
                    if (lit != last[c] && !in[c]) take(c, lit);
                }
            } else {
                for (long c = 0; c < columns; ++c)
                    if (!in[c]) take(c, group->IsPointShadowed(grid.At(r, c), light, nullptr) == 0);
            }
        }
    }
    if (progress && !progress(total - 1, total)) return false;
    const double end = samples.empty() ? 0.0 : samples.back().minute;
    for (long r = 0; r < rows; ++r)
        for (long c = 0; c < columns; ++c) {
            const size_t i = static_cast<size_t>(r) * columns + c;
            if (inside.Get(r, c)) {
                visit(r, c, true, {});
                continue;
            }
            if (previous[i] != kNone) runs[i].Add(end, previous[i] != 0);
            visit(r, c, false, runs[i].Finish());
        }
    return true;
}

bool PointPeriods(const SolxBuildingList& buildings, const SolxShadowSourceList& sources,
                  const SolxSunSetting& setting, const SolxSunGrid& grid, bool useIndex,
                  const SolxGridVisit& visit, const SolxGridProgress& progress) {
    const std::vector<SolxSunSample> samples = SampleSun(setting);
    const std::unique_ptr<SolxBuildingEx> group = MakeGroup(buildings, sources, useIndex);
    PointMask inside(grid);
    FillFootprints(buildings, grid.origin.z, inside);
    const long rows = grid.PointRows(), columns = grid.PointColumns();
    for (long r = 0; r < rows; ++r) {
        if (progress && !progress(r, rows)) return false;
        for (long c = 0; c < columns; ++c) {
            if (inside.Get(r, c)) {
                visit(r, c, true, {});
                continue;
            }
            visit(r, c, false,
                  group->SunlitPeriods(grid.At(r, c), samples, setting.startMinute,
                                       setting.endMinute, setting.stepMinutes));
        }
    }
    return !progress || progress(rows, rows);
}

}  // namespace

bool SunGridPeriods(const SolxBuildingList& buildings, const SolxShadowSourceList& sources,
                    const SolxSunSetting& setting, const SolxSunGrid& grid, SolxGridMethod method,
                    const SolxGridVisit& visit, const SolxGridProgress& progress) {
    if (!(grid.spacing > 0.0) || grid.columns < 0 || grid.rows < 0) return false;
    switch (method) {
        case SolxGridMethod::Raster:
            return RasterPeriods(buildings, sources, setting, grid, visit, progress);
        case SolxGridMethod::PerPointIndexed:
            return PointPeriods(buildings, sources, setting, grid, true, visit, progress);
        case SolxGridMethod::PerPointAll:
            return PointPeriods(buildings, sources, setting, grid, false, visit, progress);
    }
    return false;
}

double SunGridHours(const std::vector<VxGePoint>& periods, const SolxSunSetting& setting,
                    int evaluationMode) {
    const SolxTimeList list(periods, setting.startMinute, setting.endMinute);
    return (evaluationMode == 0 ? list.GetTotalTime() : list.GetMaxContinueTime()) / 60.0;
}

bool SunGridHoursOf(const SolxBuildingList& buildings, const SolxShadowSourceList& sources,
                    const SolxSunSetting& setting, int evaluationMode, const SolxSunGrid& grid,
                    SolxGridMethod method, Vx2dArray<float>& hours,
                    const SolxGridProgress& progress) {
    hours.ReAllocate(grid.PointRows(), grid.PointColumns(), false);
    const bool done = SunGridPeriods(
        buildings, sources, setting, grid, method,
        [&](long r, long c, bool inside, std::vector<VxGePoint>&& periods) {
            hours[r][c] = inside
                              ? kSunGridNoValue
                              : static_cast<float>(SunGridHours(periods, setting, evaluationMode));
        },
        progress);
    if (!done) hours.ReAllocate(0, 0, false);
    return done;
}
