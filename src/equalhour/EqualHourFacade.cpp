// The facade mode of "VxSunEqCurve": the user picks wall lines or whole slab buildings, every
// wall becomes an unfolded panel, the panels are computed and drawn, and the unfolded drawing
// is dragged into place.

#include <memory>

#include "CSunSpreadWall.h"
#include "acad/AcDbArc.h"
#include "acad/AcDbLine.h"
#include "acad/AcDbPolyline.h"
#include "acad/aced.h"
#include "acad/adsdef.h"
#include "analysis/SolxFrame.h"
#include "brel/BrelDbObject.h"
#include "brel/VxDbPromptSymbol.h"
#include "brel/VxDtLayer.h"
#include "brel/VxGeometry.h"
#include "brel/VxPtInput.h"
#include "host/VxUtPushResource.h"
#include "solx/SolxBuildingEx.h"
#include "solx/SolxDataSet.h"
#include "solx/SolxWinSunlightInfo.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct RbDeleter {
    void operator()(resbuf* rb) const { acutRelRb(rb); }
};
using RbList = std::unique_ptr<resbuf, RbDeleter>;

// A slab as the facade mode reads it: the outline with its bulges, the base and the height.
struct SlabShape {
    std::vector<SolxOutlineVertex> outline;
    double elevation = 0.0;
    double thickness = 0.0;
};

// A closed lightweight polyline on the building layer is a slab (the slab entity is one too).
bool ReadSlab(const VxAdsEnt& ent, SlabShape& slab) {
    AcDbEntity* entity = nullptr;
    if (ent.Open(entity, AcDb::kForRead) != Acad::eOk) return false;
    const auto* polyline = dynamic_cast<const AcDbPolyline*>(entity);
    const bool ok = polyline && polyline->isClosed();
    if (ok) {
        for (unsigned i = 0; i < polyline->numVerts(); ++i) {
            AcGePoint2d p;
            double bulge = 0.0;
            polyline->getPointAt(i, p);
            polyline->getBulgeAt(i, bulge);
            slab.outline.push_back({VxGePoint(p.x, p.y, 0.0), bulge});
        }
        slab.elevation = polyline->elevation();
        slab.thickness = polyline->thickness();
    }
    entity->close();
    return ok;
}

// A highlighted copy of a chosen wall on the building layer.
AcDbObjectId HighlightWall(const SolxWallCurve& wall) {
    AcDbEntity* copy = nullptr;
    if (wall.IsArc()) {
        const double a0 = wall.Sweep() > 0 ? wall.StartAngle() : wall.StartAngle() + wall.Sweep();
        const VxGePoint& c = wall.Centre();
        copy =
            new AcDbArc(AcGePoint3d(c.x, c.y, 0.0), wall.Radius(), a0, a0 + std::abs(wall.Sweep()));
    } else {
        copy = new AcDbLine(AcGePoint3d(wall.Start().x, wall.Start().y, 0.0),
                            AcGePoint3d(wall.End().x, wall.End().y, 0.0));
    }
    copy->setLayer(VxDtInitStdLayer(L"SUN-BUILDING"));
    const AcDbObjectId id = AddToModelSpace(copy, 0);
    if (id.isNull()) {
        delete copy;
        return id;
    }
    copy->downgradeOpen();
    copy->highlight();
    copy->close();
    return id;
}

class FacadeSelection {
public:
    FacadeSelection(const EqualHourParams& params, double unit)
        : m_params(params), m_unit(unit), m_unfolding(5000.0 * unit) {
        const std::wstring building = VxDtGetLayerName(L"SUN-BUILDING");
        const std::wstring window = VxDtGetLayerName(L"SUN-WINDOW");
        m_slabFilter.reset(
            acutBuildList(RTDXF0, L"BREL_SLAB,LWPOLYLINE,POLYLINE", 8, building.c_str(), 0));
        m_windowFilter.reset(acutBuildList(RTDXF0, L"INSERT", 8, window.c_str(), 0));
    }
    ~FacadeSelection() { m_highlights.Erase(); }

    // The selection loop; false when the command ends without computing.
    bool Run();
    std::vector<std::unique_ptr<CSunSpreadWall>>& Panels() { return m_panels; }
    void EraseHighlights() { m_highlights.Erase(); }

private:
    void TakePick(const VxAdsEnt& ent, const ads_point pick);
    void TakeWall(const VxAdsEnt& ent, const SlabShape& slab, const ads_point pick);
    void TakeSlab(const SlabShape& slab);
    std::unique_ptr<CSunSpreadWall> NewPanel(const SlabShape& slab, const SolxWallCurve& wall);
    void AttachWindows(CSunSpreadWall& panel);
    void Append(std::unique_ptr<CSunSpreadWall> panel);

    const EqualHourParams& m_params;
    double m_unit;
    int m_mode = 0;  // 0 pick wall lines, 1 select slab buildings
    std::vector<std::unique_ptr<CSunSpreadWall>> m_panels;
    std::vector<VxAdsEnt> m_slabs;
    std::vector<std::pair<AcDbObjectId, int>> m_walls;  // slab and segment of each picked wall
    SolxFacadeUnfolding m_unfolding;
    int m_panelCount = 0;
    int m_slabCount = 0;
    VxAdsEntSet m_highlights;
    RbList m_slabFilter, m_windowFilter;
};

bool FacadeSelection::Run() {
    for (;;) {
        const bool some = !m_panels.empty();
        VxAdsEnt ent;
        ads_point pick = {0.0, 0.0, 0.0};
        int rc = RTNONE;
        if (m_mode == 0) {
            VxPtInitGet keywords(0, L"S");
            const wchar_t* prompt =
                some ? L"\n请点取下一段要生成等照时线的外墙线，连续墙线按逆时针顺序点取或 "
                       L"[选取平板建筑(S)]<结束>："
                     : L"\n请点取要生成等照时线的外墙线<选取平板建筑>：";
            rc = ent.Select(100.0 * m_unit, VxUtLangText(prompt), m_slabFilter.get(), pick);
        } else {
            VxPtInitGet keywords(0, L"D");
            const wchar_t* prompt =
                some ? L"\n请选取下一个要生成等照时线的平板建筑或 [点取外墙线(D)]<结束>："
                     : L"\n请选取要生成等照时线的平板建筑<点取外墙线>：";
            rc = VxPtSelectEntity(VxUtLangText(prompt), ent, pick, m_slabFilter.get());
        }
        if (!some) {
            // Enter at the first wall prompt and an empty answer at the first slab prompt
            // switch between the two ways of choosing.
            if (m_mode == 0 && rc == RTNONE) {
                m_mode = 1;
                continue;
            }
            if (m_mode == 1 && (rc == RTERROR || rc == RTNONE)) {
                m_mode = 0;
                continue;
            }
            if (rc != RTNORM) return false;
        } else {
            if (rc == RTKWORD) {
                m_mode = 1 - m_mode;
                continue;
            }
            if (rc == RTCAN) {
                m_highlights.Erase();
                return false;
            }
            if (rc != RTNORM) return true;
        }
        TakePick(ent, pick);
    }
}

void FacadeSelection::TakePick(const VxAdsEnt& ent, const ads_point pick) {
    if (m_mode == 1) {
        for (const VxAdsEnt& taken : m_slabs)
            if (taken == ent) {
                acutPrintf(L"%s", VxUtLangText(L"\n此平板建筑已经选择！"));
                return;
            }
        m_slabs.push_back(ent);
    }
    SlabShape slab;
    if (!ReadSlab(ent, slab)) {
        acutPrintf(L"%s", VxUtLangText(L"\n所选对象不是平板建筑（闭合的建筑轮廓）。"));
        return;
    }
    if (slab.outline.size() < 3) {
        acutPrintf(L"%s", VxUtLangText(L"\n平板建筑的轮廓不足三个顶点，不能生成立面。"));
        return;
    }
    if (!(slab.thickness > g_distZero)) {
        acutPrintf(L"%s", VxUtLangText(L"\n平板建筑的厚度为零，不能生成立面。"));
        return;
    }
    if (m_mode == 0)
        TakeWall(ent, slab, pick);
    else
        TakeSlab(slab);
}

std::unique_ptr<CSunSpreadWall> FacadeSelection::NewPanel(const SlabShape& slab,
                                                          const SolxWallCurve& wall) {
    auto panel = std::make_unique<CSunSpreadWall>(m_params.gridSize, g_nSunWinOffset * m_unit);
    panel->elevation = slab.elevation;
    panel->height = slab.thickness;
    panel->wall = std::make_unique<SolxWallCurve>(wall);
    return panel;
}

void FacadeSelection::Append(std::unique_ptr<CSunSpreadWall> panel) {
    AttachWindows(*panel);
    m_unfolding.Place(*panel);
    m_panels.push_back(std::move(panel));
    ++m_panelCount;
}

void FacadeSelection::TakeWall(const VxAdsEnt& ent, const SlabShape& slab, const ads_point pick) {
    const int k = HitOutlineSegment(slab.outline, VxGePoint(pick[0], pick[1], 0.0), 100.0 * m_unit);
    if (k < 0) {
        acutPrintf(L"%s", VxUtLangText(L"\n点取位置不在平板建筑的墙线上。"));
        return;
    }
    const SolxWallCurve wall = OutlineSegment(slab.outline, k);
    if (wall.Length() <= 0.0) return;
    m_highlights += VxAdsEnt(HighlightWall(wall));
    const std::pair<AcDbObjectId, int> key(ent.GetObjectId(), k);
    for (const auto& taken : m_walls)
        if (taken == key) {
            acutPrintf(L"%s", VxUtLangText(L"\n墙线已经选择！"));
            return;
        }
    m_walls.push_back(key);
    // A picked wall faces the right-hand side of its outline's direction: outwards only when the
    // outline runs counter-clockwise.
    if (OutlineArea(slab.outline) < 0.0)
        acutPrintf(L"%s",
                   VxUtLangText(L"\n此平板建筑的轮廓为顺时针，所点墙线的立面朝向建筑内侧。"));
    Append(NewPanel(slab, wall));
    acutPrintf(VxUtLangText(L"\n已选择%d条墙线。"), m_panelCount);
}

void FacadeSelection::TakeSlab(const SlabShape& slab) {
    ++m_slabCount;
    acutPrintf(VxUtLangText(L"\n已选择%d个平板建筑。"), m_slabCount);
    VxGePoint start;
    const std::vector<SolxWallCurve> walls = SlabWalls(slab.outline, &start);
    // The marker of a chosen slab stands at the vertex where its unfolding starts.
    auto* marker = new VxDbPromptSymbol();
    marker->SetTextStyle(L"TS_DIM");
    marker->setLayer(VxDtInitStdLayer(L"SUN-SHADOW"));
    marker->SetXSize(700.0 * m_unit);
    marker->SetYSize(700.0 * m_unit);
    marker->SetType(4);
    marker->setColorIndex(1);
    marker->SetText(L"");
    marker->SetLocation(AcGePoint3d(start.x, start.y, 0.0));
    if (AddToModelSpace(marker, 1).isNull()) delete marker;
    for (const SolxWallCurve& wall : walls) m_highlights += VxAdsEnt(HighlightWall(wall));
    for (const SolxWallCurve& wall : walls) Append(NewPanel(slab, wall));
}

void FacadeSelection::AttachWindows(CSunSpreadWall& panel) {
    // A fence just inside the wall face crosses the windows set into it (a window block reaches
    // from the outer face inwards); windows of a neighbouring wall that it also crosses near a
    // corner are left out by their direction.
    const SolxWallCurve& wall = *panel.wall;
    const double inset = 1.0 * m_unit, trim = std::min(10.0 * m_unit, wall.Length() / 4);
    resbuf* fence = nullptr;
    resbuf* last = nullptr;
    const std::vector<VxGePoint> points = wall.Points();
    for (size_t i = 0; i < points.size(); ++i) {
        double along = wall.DistanceAlong(points[i]);
        if (i == 0) along = trim;
        if (i + 1 == points.size()) along = wall.Length() - trim;
        const VxGePoint p = wall.PointAt(along);
        const double inward = wall.TangentAngle(along) + kPi / 2;
        resbuf* rb = acutNewRb(RT3DPOINT);
        rb->resval.rpoint[0] = p.x + inset * std::cos(inward);
        rb->resval.rpoint[1] = p.y + inset * std::sin(inward);
        rb->resval.rpoint[2] = 0.0;
        (last ? last->rbnext : fence) = rb;
        last = rb;
    }
    RbList owned(fence);
    VxAdsEntSet found;
    if (found.Get(L"F", fence, nullptr, m_windowFilter.get()) != RTNORM) return;
    for (int i = 0; i < found.GetLength(); ++i) {
        AcDbEntity* entity = nullptr;
        if (found[i].Open(entity, AcDb::kForRead) != Acad::eOk) continue;
        const SolxWindowBlock block = SolxReadWindowBlock(entity);
        entity->close();
        const double along = wall.DistanceAlong(block.insertion);
        const double turn = std::remainder(block.rotation - wall.TangentAngle(along), 2 * kPi);
        if (std::abs(turn) < 0.02) panel.windows += found[i];
    }
}

}  // namespace

void RunFacadeEqualHourLines(SolxBuildingList& buildings, SolxShadowSourceList& sources,
                             const std::vector<double>& levels, const EqualHourParams& params) {
    const double unit = DrawUnitScale();
    VxDtInitStdLayer(L"SUN-BUILDING");
    VxDtInitStdLayer(L"SUN-WINDOW");
    VxDtInitStdLayer(L"SUN-SHADOW");
    VxDtInitTextStyle(L"TS_DIM");
    FacadeSelection selection(params, unit);
    if (!selection.Run()) return;
    selection.EraseHighlights();
    auto& panels = selection.Panels();
    if (panels.empty()) return;

    VxAdsEntSet collected;
    collected.IncludeBegin();
    SolxBuildingEx group(1);
    for (auto& building : buildings) group.AddBuilding(std::move(building));
    for (auto& source : sources) group.AddSource(std::move(source));
    group.CalExtend3D();
    // The sample points stand out of the wall by the window offset; the wall they stand on is
    // found within that distance (and a little more).
    const double offset = g_nSunWinOffset * unit;
    const SolxCalSetting setting(params.sun, offset + 1.0 * unit);
    SolxStopwatch stopwatch;
    bool broken = false;
    for (auto& panel : panels) {
        panel->DrawOutlineAndWindows();
        panel->BuildGrids();
        if (!panel->ComputeAndDraw(group, setting, levels, params)) {
            broken = true;
            break;
        }
        if (params.showNumberGrid)
            panel->DrawNumberGrid(params.labelSpacing, params.evaluationMode);
        panel->ReleaseGrids();
    }
    collected.IncludeEnd();
    if (broken) {
        collected.Erase();
        return;
    }
    stopwatch.Report();
    for (auto& panel : panels) collected -= panel->lineEntities;
    const ads_point base = {0.0, 0.0, 0.0};
    if (VxPtDragEntSet(collected, base, VxUtLangText(L"\n请指定立面展开图的位置：")) != RTNORM)
        collected.Erase();
}
