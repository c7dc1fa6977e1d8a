// CalMultiPoint: the area, the grid, its values and the map, in one call.

#include <algorithm>
#include <cmath>

#include "MultiPoint.h"
#include "SunGridRaster.h"
#include "acad/aced.h"
#include "solx/SolxMultiPoint.h"
#include "solx/SolxText.h"

int g_bPolyMultiCal = 0;

namespace {

using multipoint::Area;

// Does anything reach above the plane z?
bool AnythingAbove(const SolxBuildingList& buildings, const SolxShadowSourceList& sources,
                   double z) {
    for (const auto& b : buildings)
        if (b && b->IsValid() && b->Top() > z) return true;
    for (const auto& s : sources)
        if (s)
            for (const SolxFace3d& f : s->Faces())
                for (int i = 0; i < f.count; ++i)
                    if (f.pt[i].z > z) return true;
    return false;
}

// The status-bar meter over the evaluation, with the user's break.
class Meter {
public:
    explicit Meter(long total) : m_total(std::max(1L, total)) {
        acedSetStatusBarProgressMeter(SolxText(L"多点日照分析"), 0, 100);
    }
    ~Meter() { acedRestoreStatusBar(); }
    Meter(const Meter&) = delete;
    Meter& operator=(const Meter&) = delete;
    bool operator()(long done, long total) {
        if (acedUsrBrk()) return false;
        acedSetStatusBarProgressMeterPos(static_cast<int>(100.0 * done / std::max(1L, total)));
        return true;
    }

private:
    long m_total;
};

}  // namespace

bool CalMultiPoint(SolxBuildingList& buildings, SolxShadowSourceList& sources, int evaluationMode,
                   double spacing, double longitude, double latitude, double declination,
                   double timeCorrection, int startMinute, int endMinute, int stepMinutes,
                   int noAngleLimit, double height, int numberGrid, bool valuesOnly,
                   int labelSpacing, int& columns, int& rows, VxGePoint& origin,
                   Vx2dArray<float>& grid, AcDbObjectId layer, bool askArea, bool fastPath,
                   int detailed, VxGePoint areaFrom, VxGePoint areaTo, const double (*transform)[4],
                   double rotation) {
    columns = rows = 0;
    grid.ReAllocate(0, 0, false);
    if (transform || rotation != 0.0) {
        acutPrintf(L"%s", SolxText(L"\n多点分析只计算水平面上的平面网格。"));
        return false;
    }
    if (!(spacing > 0.0) || !std::isfinite(spacing)) {
        acutPrintf(SolxText(L"\n网格大小 %g 无效：须大于 0。"), spacing);
        return false;
    }
    Area area;
    if (askArea) {
        if (multipoint::AskArea(buildings, sources, area) != RTNORM) return false;
    } else {
        area.minX = std::min(areaFrom.x, areaTo.x), area.maxX = std::max(areaFrom.x, areaTo.x);
        area.minY = std::min(areaFrom.y, areaTo.y), area.maxY = std::max(areaFrom.y, areaTo.y);
    }
    SolxSunGrid layout;
    if (!multipoint::LayGrid(area, spacing, height, layout)) return false;
    if (!AnythingAbove(buildings, sources, height))
        acutPrintf(SolxText(L"\n没有高出计算高度 %g 的遮挡物：每个点都得到全部日照。"), height);

    SolxSunSetting setting;
    setting.longitude = longitude, setting.latitude = latitude;
    setting.declination = declination, setting.timeCorrection = timeCorrection;
    setting.startMinute = startMinute, setting.endMinute = endMinute;
    setting.stepMinutes = stepMinutes, setting.noAngleLimit = noAngleLimit;

    Vx2dArray<float> values(layout.PointRows(), layout.PointColumns());
    std::vector<std::vector<VxGePoint>> periods;
    if (detailed) periods.resize(static_cast<size_t>(layout.PointCount()));
    bool done = false;
    {
        Meter meter(layout.PointCount());
        done = SunGridPeriods(
            buildings, sources, setting, layout,
            fastPath ? SolxGridMethod::Raster : SolxGridMethod::PerPointIndexed,
            [&](long r, long c, bool inside, std::vector<VxGePoint>&& run) {
                values[r][c] = inside
                                   ? kSunGridNoValue
                                   : static_cast<float>(SunGridHours(run, setting, evaluationMode));
                if (detailed) periods[static_cast<size_t>(r * layout.PointColumns() + c)] = run;
            },
            [&](long at, long total) { return meter(at, total); });
    }
    if (!done) {
        acutPrintf(L"%s", SolxText(L"\n多点分析已中断，没有画出结果。"));
        return false;
    }
    // Points outside a polyline area have no value.
    if (!area.ring.empty()) {
        sungrid::PointMask in(layout);
        in.FillRing(area.ring);
        for (long r = 0; r < layout.PointRows(); ++r)
            for (long c = 0; c < layout.PointColumns(); ++c)
                if (!in.Get(r, c)) values[r][c] = kSunGridNoValue;
    }

    multipoint::MapInput map;
    map.grid = layout;
    map.hours = &values;
    map.periods = detailed ? &periods : nullptr;
    map.setting = setting;
    map.evaluationMode = evaluationMode;
    map.labels = numberGrid != 0;
    const long side = std::max(layout.PointColumns(), layout.PointRows());
    map.labelStep = std::max<long>(std::max(labelSpacing, 1),
                                   (side + kMultiPointMaxLabels - 1) / kMultiPointMaxLabels);
    map.detailed = detailed != 0;
    map.valuesOnly = valuesOnly;
    map.layer = layer;
    multipoint::DrawMap(map);

    columns = layout.columns;
    rows = layout.rows;
    origin = layout.origin;
    grid = std::move(values);
    return true;
}
