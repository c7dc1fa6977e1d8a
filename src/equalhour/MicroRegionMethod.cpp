// The micro-region method inside the command: the meter and the user's break, the outlines
// into the drawing level by level, and the timing report.

#include <memory>

#include "EqualHour.h"
#include "MicroRegion.h"
#include "acad/AcDbPolyline.h"
#include "acad/AcDbRegion.h"
#include "acad/aced.h"
#include "analysis/SolxFrame.h"
#include "brel/BrelDbObject.h"
#include "brel/VxAdsEntSet.h"
#include "host/VxUtPushResource.h"

namespace {

// The user's break asked at most five times a second from inside the geometry engine.
bool UserBroke() {
    static std::clock_t last = 0;
    const std::clock_t now = std::clock();
    if (now - last < CLOCKS_PER_SEC / 5) return false;
    last = now;
    return acedUsrBrk() != 0;
}

class CommandMonitor : public MicroRegionMonitor {
public:
    void Say(const wchar_t* text) override { acutPrintf(L"%s", text); }
    void Begin(const wchar_t* label, int count) override {
        m_progress = std::make_unique<SolxProgress>(label, count);
    }
    bool Continue(int position) override { return !m_progress || m_progress->Continue(position); }
    void End() override { m_progress.reset(); }
    bool (*StopTest())() override { return &UserBroke; }

private:
    std::unique_ptr<SolxProgress> m_progress;
};

AcDbPolyline* PolylineOf(const VxGePolyline2d& ring, double z) {
    auto* polyline = new AcDbPolyline();
    for (const VxGePoint& p : ring.Points())
        polyline->addVertexAt(polyline->numVerts(), AcGePoint2d(p.x, p.y));
    polyline->setClosed(true);
    polyline->setElevation(z);
    return polyline;
}

// Every ring of the regions as a closed polyline; `tag` marks each before it is added.
template <class Tag>
void AddOutlines(const std::vector<VxGeRegion2d>& regions, double z, Tag tag) {
    for (const VxGeRegion2d& region : regions) {
        std::vector<const VxGePolyline2d*> rings{&region.outer};
        for (const VxGePolyline2d& hole : region.holes) rings.push_back(&hole);
        for (const VxGePolyline2d* ring : rings) {
            if (ring->GetNodeNum() < 3) continue;
            AcDbPolyline* polyline = PolylineOf(*ring, z);
            tag(polyline);
            if (AddToModelSpace(polyline, 1).isNull()) delete polyline;
        }
    }
}

void DrawFullRegion(const std::vector<AcDbRegionPolygon>& polygons, double z, AcDbObjectId layer) {
    auto* region = new AcDbRegion();
    region->setElevation(z);
    if (region->setPolygons(polygons) != Acad::eOk || region->isNull()) {
        delete region;
        return;
    }
    if (!layer.isNull()) region->setLayer(layer);
    if (AddToModelSpace(region, 1).isNull()) delete region;
}

void DrawLevels(const MicroRegionResult& r, const std::vector<double>& levels,
                const EqualHourParams& params, AcDbObjectId layer) {
    for (size_t k = 0; k < r.merged.size(); ++k) {
        VxAdsEntSet group;
        group.IncludeBegin();
        AddOutlines(r.merged[k], params.calcHeight, [&](AcDbEntity* e) {
            TagEqualHourEntity(e, levels[k], params.evaluationMode, layer);
        });
        group.IncludeEnd();
        if (group.GetLength() > 0) group.MakeAnonymousGroup();
    }
}

void PrintSeconds(const wchar_t* label, std::clock_t from, std::clock_t to) {
    acutPrintf(L"%s", VxUtLangText(label));
    acutPrintf(L"%d", SolxStopwatch::Seconds(from, to));
}

void ReportPhases(const MicroRegionResult& r, std::clock_t end) {
    PrintSeconds(L"\n共耗时", r.t0, end);
    acutPrintf(L"%s", VxUtLangText(L"秒；"));
    PrintSeconds(L"其中阴影轮廓=", r.t0, r.t1);
    PrintSeconds(L" 重线交线=", r.t1, r.t2);
    PrintSeconds(L" 搜微区=", r.t2, r.t3);
    PrintSeconds(L" 阴影次数=", r.t3, r.t4);
    PrintSeconds(L" 微区合并=", r.t4, end);
}

}  // namespace

void RunMicroRegionMethod(const UsableOutlines& usable, const SolxShadowSourceList& sources,
                          const std::vector<double>& levels, const EqualHourParams& params,
                          AcDbObjectId layer) {
    MicroRegionInput input;
    input.outlines = usable.outlines;
    input.baseAndHeight = usable.baseAndHeight;
    input.sources = &sources;
    input.levels = levels;
    input.sun = params.sun;
    input.calcHeight = params.calcHeight;
    input.evaluationMode = params.evaluationMode;
    CommandMonitor monitor;
    const MicroRegionResult r = ComputeMicroRegions(input, monitor);
    if (r.outcome == MicroRegionOutcome::Broken) return;
    if (r.outcome == MicroRegionOutcome::Failed) {
        acutPrintf(L"%s", VxUtLangText(L"\n阴影轮廓无法划分微区，没有画出等照时线。"));
        return;
    }
    if (r.fullPeriod) {
        if (r.hasFullRegion)
            DrawFullRegion(r.fullRegion, params.calcHeight, layer);
        else
            AddOutlines(r.fullOutlines, params.calcHeight, [&](AcDbEntity* e) {
                if (!layer.isNull()) e->setLayer(layer);
            });
        PrintSeconds(L"\n共耗时", r.t0, r.t3);
        acutPrintf(L"%s", VxUtLangText(L"秒；"));
        return;
    }
    DrawLevels(r, levels, params, layer);
    ReportPhases(r, std::clock());
}
