// Model collection of the 3D shadow simulation: entities to slabs, triangles, faces and
// windows in metres, then the face array, its materials and the relation matrix.
#include "SolxShadowModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "acad/AcDb2dPolyline.h"
#include "acad/AcDbBlockReference.h"
#include "acad/AcDbCircle.h"
#include "acad/AcDbFace.h"
#include "acad/AcDbPolyline.h"
#include "acad/aced.h"
#include "acad/adsdef.h"
#include "analysis/SolxFrame.h"
#include "brel/BrelDbObject.h"
#include "brel/VxAdsEntSet.h"
#include "brel/VxDtLayer.h"
#include "brel/VxPtInput.h"
#include "host/VxUtPushResource.h"
#include "solx/SolxBuilding.h"
#include "solx/SolxDataSet.h"

namespace {

constexpr int kCircleSegments = 36;
const wchar_t* const kCollectorLayer = L"WATER-WT_CLASS_EQUI-WT_EQUI_COLLECTOR";

// Drawing units per millimetre (f): 1 in millimetre drawings, 0.001 in metre drawings.
double UnitsPerMm() {
    return DrawUnitScale();
}

struct Prism {
    std::vector<VxGePoint> outline;  // drawing units, z = elevation
    double elevation = 0.0;
    double height = 0.0;
};

// The closed outline, base and height of a slab, a closed polyline or a circle; arcs are
// dispersed into segments. False for anything else.
bool ReadPrism(const AcDbEntity& entity, Prism& prism) {
    if (const auto* poly = dynamic_cast<const AcDbPolyline*>(&entity)) {
        if (std::fabs(poly->normal().z - 1.0) > 1e-9) return false;
        std::vector<VxGePoint> points;
        std::vector<double> bulges;
        for (const AcDbPolyline::Vertex& v : poly->vertices()) {
            points.push_back({v.point.x, v.point.y, poly->elevation()});
            bulges.push_back(v.bulge);
        }
        prism.outline = Disperse(points, bulges, true);
        prism.elevation = poly->elevation();
        prism.height = poly->thickness();
        return true;
    }
    if (const auto* poly = dynamic_cast<const AcDbPolyEntity*>(&entity)) {
        if ((poly->polylineFlags() & (8 | 16 | 64)) != 0) return false;  // 3D, mesh, polyface
        if (std::fabs(poly->normal().z - 1.0) > 1e-9) return false;
        std::vector<VxGePoint> points;
        std::vector<double> bulges;
        for (const AcDbPolyVertex& v : poly->vertices()) {
            if (v.flags & 16) continue;  // spline frame
            points.push_back({v.point.x, v.point.y, poly->elevation()});
            bulges.push_back(v.bulge);
        }
        prism.outline = Disperse(points, bulges, true);
        prism.elevation = poly->elevation();
        prism.height = poly->thickness();
        return true;
    }
    if (const auto* circle = dynamic_cast<const AcDbCircle*>(&entity)) {
        if (std::fabs(circle->normal().z - 1.0) > 1e-9) return false;
        const AcGePoint3d c = circle->center();
        for (int k = 0; k < kCircleSegments; ++k) {
            const double a = 2.0 * std::numbers::pi * k / kCircleSegments;
            prism.outline.push_back(
                {c.x + circle->radius() * std::cos(a), c.y + circle->radius() * std::sin(a), c.z});
        }
        prism.elevation = c.z;
        prism.height = circle->thickness();
        return true;
    }
    return false;
}

VxGePoint ToMetres(double x, double y, double z, double toMetres) {
    return {x * toMetres, y * toMetres, z * toMetres};
}

// The whole drawing's entities passing the filter, reduced to the user's selection when there
// is one. False when nothing passes.
bool Query(VxAdsEntSet& result, resbuf* filter, const VxAdsEntSet& selection) {
    const int status = result.Get(L"X", nullptr, nullptr, filter);
    acutRelRb(filter);
    if (status != RTNORM) return false;
    if (selection.GetLength() > 0) SolxShadowModel::RemoveNotSelected(result, selection);
    return result.GetLength() > 0;
}

// Slabs and their cap triangles from the prisms of a set.
void CollectSlabs(const VxAdsEntSet& set, bool testVisible, double toMetres,
                  std::vector<SolxSimSlab>& slabs, std::vector<VxGeTriangle2d>& caps) {
    for (int i = 0; i < set.GetLength(); ++i) {
        AcDbEntity* entity = nullptr;
        if (set[i].Open(entity, AcDb::kForRead) != Acad::eOk || !entity) continue;
        Prism prism;
        const bool read =
            (!testVisible || entity->visibility() == AcDb::kVisible) && ReadPrism(*entity, prism);
        entity->close();
        if (!read || prism.outline.size() < 2) continue;
        const SolxBuilding building(prism.outline, prism.elevation, prism.height);
        if (!building.IsValid() || building.Height() <= 1e-9) continue;
        SolxSimSlab slab;
        for (const VxGePoint& p : building.Outline())
            slab.outline.push_back(ToMetres(p.x, p.y, building.Elevation(), toMetres));
        // Counter-clockwise seen from above, so that every wall faces out of its slab.
        double twiceArea = 0.0;
        for (size_t k = 0; k < slab.outline.size(); ++k) {
            const VxGePoint& p = slab.outline[k];
            const VxGePoint& q = slab.outline[(k + 1) % slab.outline.size()];
            twiceArea += p.x * q.y - q.x * p.y;
        }
        if (twiceArea < 0) std::reverse(slab.outline.begin(), slab.outline.end());
        slab.elevation = building.Elevation() * toMetres;
        slab.thickness = building.Height() * toMetres;
        std::vector<VxGePoint> top = slab.outline;
        for (VxGePoint& p : top) p.z = slab.elevation + slab.thickness;
        for (const VxGeTriangle2d& t : Triangulate(top)) caps.push_back(t);
        slabs.push_back(std::move(slab));
    }
}

// The faces of every entity of a set, exploded down to 3D faces: `reverseToo` adds each face
// turned round in front of it (two-sided faces), dropping repeated corners.
void CollectFaces(const VxAdsEntSet& set, bool twoSided, double toMetres,
                  std::vector<VxGeFace>& faces) {
    AcDbVoidPtrArray parts;
    for (int i = 0; i < set.GetLength(); ++i) {
        AcDbEntity* entity = nullptr;
        if (set[i].Open(entity, AcDb::kForRead) != Acad::eOk || !entity) continue;
        VxDbFullExplode3d(entity, parts);
        entity->close();
    }
    for (AcDbEntity* part : parts) {
        const auto* face = dynamic_cast<const AcDbFace*>(part);
        if (!face) continue;
        std::vector<VxGePoint> corners;
        for (unsigned short k = 0; k < 4; ++k) {
            AcGePoint3d p;
            face->getVertexAt(k, p);
            const VxGePoint m = ToMetres(p.x, p.y, p.z, toMetres);
            if (twoSided && std::any_of(corners.begin(), corners.end(), [&](const VxGePoint& q) {
                    return q.Distance3d(m) <= g_simDistZero;
                }))
                continue;
            corners.push_back(m);
        }
        if (!twoSided) {
            faces.emplace_back(corners[0], corners[1], corners[2], corners[3]);
            continue;
        }
        if (corners.size() < 3) continue;
        VxGeFace made = corners.size() == 3
                            ? VxGeFace(corners[0], corners[1], corners[2], corners[0])
                            : VxGeFace(corners[0], corners[1], corners[2], corners[3]);
        VxGeFace reversed = made;
        reversed.Reverse();
        faces.push_back(reversed);
        faces.push_back(made);
    }
    ReleaseEntSet(parts);
}

resbuf* BuildingFilter(double unitsPerMm) {
    const std::wstring building = VxDtGetLayerName(L"SUN-BUILDING");
    const double minThickness = 10.0 * unitsPerMm;
    return acutBuildList(-4, L"<OR",                                                           //
                         -4, L"<AND", RTDXF0, L"BREL_SLAB", 8, building.c_str(), -4, L"AND>",  //
                         -4, L"<AND", RTDXF0, L"POLYLINE,LWPOLYLINE", 8, building.c_str(), 70, 1,
                         -4, L">", 39, minThickness, -4, L"AND>",  //
                         -4, L"<AND", RTDXF0, L"CIRCLE", 8, building.c_str(), -4, L">", 39,
                         minThickness, -4,
                         L"AND>",  //
                         -4, L"OR>", 0);
}

resbuf* WindowFilter() {
    return acutBuildList(RTDXF0, L"INSERT", 2, L"_SUNWD", 0);
}

std::wstring TwoLayers(const wchar_t* a, const wchar_t* b) {
    return VxDtGetLayerName(a) + L"," + VxDtGetLayerName(b);
}

resbuf* BalconyFilter() {
    const std::wstring layers = TwoLayers(L"SUN-BALCONY", L"ARCH-BALCONY");
    return acutBuildList(RTDXF0, L"BREL_BALCONY", 8, layers.c_str(), 0);
}

resbuf* ModelFilter() {
    const std::wstring layers = TwoLayers(L"ARCH-ROOF", L"SUN-3DMODEL");
    const std::wstring collector = VxDtGetLayerName(kCollectorLayer);
    return acutBuildList(
        -4, L"<OR",  //
        -4, L"<AND", RTDXF0,
        L"BREL_POLYROOF,BREL_RECTROOF,BREL_CUSPROOF,BREL_DUALSLOPEROOF,BREL_SLAB,BREL_LANDFORM,"
        L"BREL_MESH,3DSOLID,*POLYLINE,CIRCLE,BREL_INSERT",
        8, layers.c_str(), -4, L"AND>",                                            //
        -4, L"<AND", RTDXF0, L"TPV_COLLECTOR", 8, collector.c_str(), -4, L"AND>",  //
        -4, L"OR>", 0);
}

}  // namespace

resbuf* GetDualFaceMask() {
    const std::wstring layers = TwoLayers(L"ARCH-ROOF", L"SUN-3DMODEL");
    return acutBuildList(-4, L"<OR", RTDXF0, L"3DFACE",                             //
                         -4, L"<AND", RTDXF0, L"POLYLINE", -4, L"&", 70, 64,        //
                         -4, L"<NOT", 8, layers.c_str(), -4, L"NOT>", -4, L"AND>",  //
                         -4, L"OR>", 0);
}

resbuf* GetSimulationObjectMask() {
    const std::wstring building = VxDtGetLayerName(L"SUN-BUILDING");
    const std::wstring balcony = TwoLayers(L"SUN-BALCONY", L"ARCH-BALCONY");
    const std::wstring model = TwoLayers(L"ARCH-ROOF", L"SUN-3DMODEL");
    const std::wstring collector = VxDtGetLayerName(kCollectorLayer);
    return acutBuildList(
        -4, L"<OR",  //
        -4, L"<AND", RTDXF0, L"BREL_SLAB,POLYLINE,LWPOLYLINE,CIRCLE", 8, building.c_str(), -4,
        L"AND>",                                                                   //
        -4, L"<AND", RTDXF0, L"INSERT", 2, L"_SUNWD", -4, L"AND>",                 //
        -4, L"<AND", RTDXF0, L"BREL_BALCONY", 8, balcony.c_str(), -4, L"AND>",     //
        -4, L"<AND", 8, model.c_str(), -4, L"AND>",                                //
        -4, L"<AND", RTDXF0, L"TPV_COLLECTOR", 8, collector.c_str(), -4, L"AND>",  //
        RTDXF0, L"3DFACE",                                                         //
        -4, L"<AND", RTDXF0, L"POLYLINE", -4, L"&", 70, 64, -4, L"AND>",           //
        -4, L"OR>", 0);
}

SolxShadowModel::SolxShadowModel() = default;
SolxShadowModel::~SolxShadowModel() = default;

void SolxShadowModel::ShowMessage(const std::wstring& text) {
    acutPrintf(L"\n%s\n", text.c_str());
}

void SolxShadowModel::LoadModel() {
    CollectShadowModel();
    BuildFaceArray();
}

bool SolxShadowModel::CollectShadowModel() {
    HideWindow(true);
    VxAdsEntSet selection(2);
    resbuf* mask = GetSimulationObjectMask();
    const int status =
        VxPtSelectEntities(VxUtLangText(L"\n请选择需要显示的日照模型<全选>:"), selection, mask);
    acutRelRb(mask);
    HideWindow(false);
    if (status != RTNORM) selection.Delete();
    CollectFromSelection(selection);
    return true;
}

void SolxShadowModel::ClearLists() {
    m_buildings.clear();
    m_roofTriangles.clear();
    m_balconies.clear();
    m_balconyTriangles.clear();
    m_modelFaces.clear();
    m_windows.clear();
}

void SolxShadowModel::CollectFromSelection(const VxAdsEntSet& selection) {
    ClearLists();
    for (const wchar_t* key : {L"SUN-BUILDING", L"SUN-BALCONY", L"ARCH-ROOF", L"SUN-3DMODEL",
                               L"SUN-WINDOW", L"ARCH-BALCONY", kCollectorLayer})
        VxDtInitStdLayer(key);
    const double unitsPerMm = UnitsPerMm();
    const double toMetres = 1.0 / unitsPerMm / 1000.0;

    // Buildings, and the ground a hundred times their extents around their centre.
    VxAdsEntSet set(2);
    if (Query(set, BuildingFilter(unitsPerMm), selection)) {
        AcGePoint3d lo, hi;
        if (set.GetExtent(lo, hi)) {
            const double cx = (lo.x + hi.x) / 2 * toMetres, cy = (lo.y + hi.y) / 2 * toMetres;
            const double hx = (hi.x - lo.x) * toMetres * 50, hy = (hi.y - lo.y) * toMetres * 50;
            m_ground = VxGeFace({cx - hx, cy - hy, 0}, {cx + hx, cy - hy, 0}, {cx + hx, cy + hy, 0},
                                {cx - hx, cy + hy, 0});
        }
        CollectSlabs(set, true, toMetres, m_buildings, m_roofTriangles);
    }

    // Windows: a line along the wall, standing the window offset out of it.
    if (Query(set, WindowFilter(), selection)) {
        for (int i = 0; i < set.GetLength(); ++i) {
            AcDbEntity* entity = nullptr;
            if (set[i].Open(entity, AcDb::kForRead) != Acad::eOk || !entity) continue;
            const auto* insert = dynamic_cast<const AcDbBlockReference*>(entity);
            if (insert && insert->visibility() == AcDb::kVisible) {
                const AcGePoint3d p = insert->position();
                const double r = insert->rotation();
                const AcGeScale3d s = insert->scaleFactors();
                const VxGePoint d{std::cos(r), std::sin(r), 0};
                const VxGePoint m{std::sin(r), -std::cos(r), 0};  // d turned by -90 degrees
                const VxGePoint start =
                    VxGePoint{p.x, p.y, p.z} + m * (s.sy / 2) + m * (g_nSunWinOffset * unitsPerMm);
                const VxGePoint end = start + d * s.sx;
                m_windows.push_back({ToMetres(start.x, start.y, start.z, toMetres),
                                     ToMetres(end.x, end.y, end.z, toMetres), s.sz * toMetres});
            }
            entity->close();
        }
    }

    if (Query(set, BalconyFilter(), selection))
        CollectSlabs(set, false, toMetres, m_balconies, m_balconyTriangles);
    if (Query(set, ModelFilter(), selection)) CollectFaces(set, false, toMetres, m_modelFaces);
    if (Query(set, GetDualFaceMask(), selection)) CollectFaces(set, true, toMetres, m_modelFaces);

    // The model box: the extents of what is shown, widened by the collected solids (plan
    // extents of a polyline leave its thickness out).
    VxAdsEntSet shown(2);
    if (selection.GetLength() > 0)
        shown = selection;
    else
        Query(shown, GetSimulationObjectMask(), selection);
    bool any = false;
    auto widen = [&](const VxGePoint& p) {
        if (!any) m_boxMin = m_boxMax = p, any = true;
        m_boxMin = {std::min(m_boxMin.x, p.x), std::min(m_boxMin.y, p.y),
                    std::min(m_boxMin.z, p.z)};
        m_boxMax = {std::max(m_boxMax.x, p.x), std::max(m_boxMax.y, p.y),
                    std::max(m_boxMax.z, p.z)};
    };
    AcGePoint3d lo, hi;
    if (shown.GetLength() > 0 && shown.GetExtent(lo, hi)) {
        widen(ToMetres(lo.x, lo.y, lo.z, toMetres));
        widen(ToMetres(hi.x, hi.y, hi.z, toMetres));
    }
    for (const auto* slabs : {&m_buildings, &m_balconies})
        for (const SolxSimSlab& s : *slabs)
            for (const VxGePoint& p : s.outline) {
                widen({p.x, p.y, s.elevation});
                widen({p.x, p.y, s.elevation + s.thickness});
            }
    for (const VxGeFace& f : m_modelFaces)
        for (const VxGePoint& p : f.pt) widen(p);
    for (const SolxSimWindow& w : m_windows) {
        widen(w.start);
        widen(w.end + VxGePoint{0, 0, w.height});
    }
    m_bottomHeight = m_boxMin.z;
    m_topHeight = m_boxMax.z;
}

void SolxShadowModel::RemoveNotSelected(VxAdsEntSet& set, const VxAdsEntSet& selection) {
    VxAdsEntSet outside(2);
    for (int i = 0; i < set.GetLength(); ++i)
        if (!selection.IsInclude(set[i])) outside += set[i];
    set -= outside;
}

int SolxShadowModel::GetWallFaceCount(int slabIndex, bool balcony) const {
    const auto& slabs = balcony ? m_balconies : m_buildings;
    if (slabIndex < 0 || slabIndex >= static_cast<int>(slabs.size())) return 0;
    return static_cast<int>(slabs[static_cast<size_t>(slabIndex)].outline.size());
}

bool SolxShadowModel::GetWallFace(int slabIndex, int wallIndex, VxGePoint corners[4],
                                  bool balcony) const {
    const int count = GetWallFaceCount(slabIndex, balcony);
    if (wallIndex < 0 || wallIndex >= count) return false;
    const SolxSimSlab& slab = (balcony ? m_balconies : m_buildings)[static_cast<size_t>(slabIndex)];
    const VxGePoint& p = slab.outline[static_cast<size_t>(wallIndex)];
    const VxGePoint& q = slab.outline[static_cast<size_t>((wallIndex + 1) % count)];
    corners[0] = {p.x, p.y, slab.elevation};
    corners[1] = {q.x, q.y, slab.elevation};
    corners[2] = {q.x, q.y, slab.elevation + slab.thickness};
    corners[3] = {p.x, p.y, slab.elevation + slab.thickness};
    return true;
}

bool SolxShadowModel::IsFaceShown(int i) const {
    if (!m_showBalconies && ((i >= m_lowestBalconyTriangle && i <= m_roofTriangleBack) ||
                             (i >= m_firstBalconyWall && i <= m_lastWall)))
        return false;
    if (!m_showModelFaces && i >= m_firstModelQuad && i <= m_modelTriangleBack) return false;
    return true;
}

void SolxShadowModel::BuildFaceArray() {
    ++m_modelVersion;
    int walls = 0, balconyWalls = 0;
    for (int i = 0; i < static_cast<int>(m_buildings.size()); ++i)
        walls += GetWallFaceCount(i, false);
    for (int i = 0; i < static_cast<int>(m_balconies.size()); ++i)
        balconyWalls += GetWallFaceCount(i, true);
    m_faceCount = walls + balconyWalls + static_cast<int>(m_roofTriangles.size()) +
                  static_cast<int>(m_modelFaces.size()) +
                  static_cast<int>(m_balconyTriangles.size()) + 1;

    m_faceArray.clear();
    m_faceFlags.clear();
    m_relations.reset();
    m_materials.reset();
    if (m_faceShadow && !PrepareShadowRelations()) m_faceShadow = false;

    const auto n = static_cast<size_t>(m_faceCount);
    m_faceFlags.assign(n, 2);
    m_faceArray.assign(n, VxGeFace3dEX());
    m_faceMaterial.assign(n, 2);
    m_childCuts.clear();
    m_childCuts.resize(n);
    m_materials = std::make_unique<FaceMaterial[]>(materialCount);
    m_materials[0] = {
        {0.63f, 0.6f, 0.5f, 1.0f}, {0.53f, 0.5f, 0.4f, 1.0f}, {0.23f, 0.23f, 0.23f, 1.0f}, 10.0f};
    m_materials[1] = {
        {0.9f, 0.8f, 0.65f, 1.0f}, {0.9f, 0.8f, 0.65f, 1.0f}, {0.82f, 0.82f, 0.82f, 1.0f}, 30.0f};
    m_materials[2] = {{0.77f, 0.45f, 0.06f, 1.0f},
                      {0.385f, 0.225f, 0.03f, 1.0f},
                      {0.4f, 0.4f, 0.4f, 1.0f},
                      50.0f};

    m_faceArray[0] = m_ground;
    m_faceMaterial[0] = 0;
    int front = 1;
    VxGePoint corners[4];
    auto addWalls = [&](bool balcony) {
        const int slabs = static_cast<int>((balcony ? m_balconies : m_buildings).size());
        for (int s = 0; s < slabs; ++s)
            for (int w = 0; GetWallFace(s, w, corners, balcony); ++w) {
                m_faceArray[static_cast<size_t>(front)].SetPoint(corners, 4);
                m_faceMaterial[static_cast<size_t>(front++)] = 1;
            }
    };
    addWalls(false);
    m_firstBalconyWall = front;
    addWalls(true);
    m_lastWall = front - 1;
    m_firstModelQuad = front;
    for (const VxGeFace& f : m_modelFaces)
        if (!f.IsTriangle()) m_faceArray[static_cast<size_t>(front++)] = f;

    int back = m_faceCount - 1;
    for (const VxGeTriangle2d& t : m_roofTriangles)
        m_faceArray[static_cast<size_t>(back--)].SetPoint(t.pt.data(), 3);
    m_roofTriangleBack = back;
    for (const VxGeTriangle2d& t : m_balconyTriangles)
        m_faceArray[static_cast<size_t>(back--)].SetPoint(t.pt.data(), 3);
    m_lowestBalconyTriangle = back + 1;
    m_modelTriangleBack = m_lowestBalconyTriangle - 1;
    for (const VxGeFace& f : m_modelFaces)
        if (f.IsTriangle()) m_faceArray[static_cast<size_t>(back--)] = f;
    m_modelBack = back;
}

bool SolxShadowModel::PrepareShadowRelations() {
    if (m_relations) return true;
    if (m_faceCount > g_RenderMaxFaceNum) {
        wchar_t text[512];
        std::swprintf(
            text, sizeof text / sizeof text[0],
            VxUtLangText(L"建筑物规模过大，如确需三维阴影仿真，请调整系统设置中仿真规模限制。"
                         L"\n当前面数=%d; 最大允许面数=%d"),
            m_faceCount, g_RenderMaxFaceNum);
        ShowMessage(text);
        return false;
    }
    if (m_faceCount <= 0) return false;
    const auto n = static_cast<size_t>(m_faceCount);
    m_relations = std::make_unique<std::uint8_t[]>(n * n);
    std::fill_n(m_relations.get(), n, std::uint8_t{0});
    std::fill_n(m_relations.get() + n, n * n - n, std::uint8_t{2});
    for (size_t i = 0; i < n; ++i) m_relations[i * n + i] = 0;
    return true;
}
