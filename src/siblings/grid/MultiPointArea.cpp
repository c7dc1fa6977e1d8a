// The area of a grid analysis: asked from the user or given, checked, and laid out as a grid.

#include <algorithm>
#include <cmath>

#include "MultiPoint.h"
#include "acad/AcDbPolyline.h"
#include "acad/aced.h"
#include "brel/VxPtInput.h"
#include "solx/SolxText.h"

namespace multipoint {

namespace {

// The extents of everything that casts a shadow, grown by a tenth of the larger side.
bool ObstructionArea(const SolxBuildingList& buildings, const SolxShadowSourceList& sources,
                     Area& area) {
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    auto take = [&](const VxGePoint& p) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    };
    for (const auto& b : buildings)
        if (b && b->IsValid())
            for (const VxGePoint& p : b->Outline()) take(p);
    for (const auto& s : sources)
        if (s)
            for (const SolxFace3d& f : s->Faces())
                for (int i = 0; i < f.count; ++i) take(f.pt[i]);
    if (!(minX <= maxX && minY <= maxY)) return false;
    const double margin = 0.1 * std::max(maxX - minX, maxY - minY);
    area.minX = minX - margin, area.minY = minY - margin;
    area.maxX = maxX + margin, area.maxY = maxY + margin;
    return true;
}

// The closed polyline the user picks; false with a message for anything else.
int PickPolyline(Area& area) {
    VxAdsEnt picked;
    ads_point at = {0, 0, 0};
    const int status = VxPtSelectEntity(SolxText(L"\n选择闭合多段线: "), picked, at);
    if (status == RTCAN) return RTCAN;
    if (status != RTNORM) {
        acutPrintf(L"%s", SolxText(L"\n没有选到多段线。"));
        return RTERROR;
    }
    AcDbEntity* entity = nullptr;
    if (picked.Open(entity, AcDb::kForRead) != Acad::eOk || !entity) return RTERROR;
    const auto* polyline = dynamic_cast<const AcDbPolyline*>(entity);
    int result = RTERROR;
    if (!polyline) {
        acutPrintf(L"%s", SolxText(L"\n所选对象不是多段线。"));
    } else if (!polyline->isClosed()) {
        acutPrintf(L"%s", SolxText(L"\n所选多段线不是闭合的，不能作为分析区域。"));
    } else {
        area.ring.clear();
        for (unsigned i = 0; i < polyline->numVerts(); ++i) {
            AcGePoint2d p;
            polyline->getPointAt(i, p);
            area.ring.push_back(p);
        }
        area.minX = area.minY = INFINITY;
        area.maxX = area.maxY = -INFINITY;
        for (const AcGePoint2d& p : area.ring) {
            area.minX = std::min(area.minX, p.x), area.maxX = std::max(area.maxX, p.x);
            area.minY = std::min(area.minY, p.y), area.maxY = std::max(area.maxY, p.y);
        }
        result = area.ring.size() >= 3 ? RTNORM : RTERROR;
        if (result != RTNORM) acutPrintf(L"%s", SolxText(L"\n分析区域的大小为零。"));
    }
    entity->close();
    return result;
}

}  // namespace

int AskArea(const SolxBuildingList& buildings, const SolxShadowSourceList& sources, Area& area) {
    ads_point first = {0, 0, 0};
    acedInitGet(0, L"Polyline");
    int status = acedGetPoint(
        nullptr, SolxText(L"\n分析区域的第一个角点或 [闭合多段线(P)] <遮挡物范围>: "), first);
    if (status == RTKWORD) return PickPolyline(area);
    if (status == RTNONE) {
        if (ObstructionArea(buildings, sources, area)) return RTNORM;
        acutPrintf(L"%s", SolxText(L"\n没有遮挡物，无法确定分析区域。"));
        return RTERROR;
    }
    if (status != RTNORM) return status;
    ads_point second = {0, 0, 0};
    status = acedGetPoint(first, SolxText(L"\n另一个角点: "), second);
    if (status != RTNORM) return status == RTNONE ? RTCAN : status;
    area.minX = std::min(first[0], second[0]), area.maxX = std::max(first[0], second[0]);
    area.minY = std::min(first[1], second[1]), area.maxY = std::max(first[1], second[1]);
    area.ring.clear();
    return RTNORM;
}

bool LayGrid(const Area& area, double spacing, double height, SolxSunGrid& grid) {
    const double width = area.maxX - area.minX, depth = area.maxY - area.minY;
    if (!(spacing > 0.0) || !std::isfinite(spacing)) {
        acutPrintf(SolxText(L"\n网格大小 %g 无效：须大于 0。"), spacing);
        return false;
    }
    if (!(width > 0.0) || !(depth > 0.0) || !std::isfinite(width) || !std::isfinite(depth)) {
        acutPrintf(L"%s", SolxText(L"\n分析区域的大小为零。"));
        return false;
    }
    if (spacing > width || spacing > depth) {
        acutPrintf(SolxText(L"\n网格大小 %g 大于分析区域（%g × %g）。"), spacing, width, depth);
        return false;
    }
    const double columns = std::floor(width / spacing + 1e-9);
    const double rows = std::floor(depth / spacing + 1e-9);
    const double points = (columns + 1.0) * (rows + 1.0);
    if (points > static_cast<double>(kMultiPointMaxPoints)) {
        acutPrintf(SolxText(L"\n网格有 %.0f 个点，超过上限 %ld 个点；请加大网格大小或缩小区域。"),
                   points, kMultiPointMaxPoints);
        return false;
    }
    grid.origin = VxGePoint(area.minX, area.minY, height);
    grid.spacing = spacing;
    grid.columns = static_cast<int>(columns);
    grid.rows = static_cast<int>(rows);
    return true;
}

}  // namespace multipoint
