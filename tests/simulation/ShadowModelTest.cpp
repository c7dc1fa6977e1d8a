// The simulation model of small drawings: what is taken, the face order and markers, the
// units of metre and millimetre drawings, the face-count limit and the relation matrix.
// Expected counts and places are worked out by hand from the drawing below.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "../ui/ScriptedFrontEnd.h"
#include "SolxShadowModel.h"
#include "acad/AcDbBlockReference.h"
#include "acad/AcDbCircle.h"
#include "acad/AcDbDatabase.h"
#include "acad/AcDbFace.h"
#include "acad/AcDbPolyline.h"
#include "brel/BrelDbObject.h"
#include "brel/VxAdsEntSet.h"
#include "brel/VxDbSlab.h"
#include "brel/VxDtLayer.h"
#include "solx/SolxDataSet.h"

namespace {

// The drawing, in millimetres times `s` (1: a millimetre drawing, 0.001: a metre drawing).
struct District {
    AcDbObjectId tower;
};

AcDbPolyline* Outline(std::vector<std::pair<double, double>> xy, std::vector<double> bulges,
                      double s, double elevation, double height, const std::wstring& layer) {
    auto* poly = new AcDbPolyline;
    for (unsigned i = 0; i < xy.size(); ++i)
        poly->addVertexAt(i, AcGePoint2d(xy[i].first * s, xy[i].second * s),
                          i < bulges.size() ? bulges[i] : 0.0);
    poly->setClosed(true);
    poly->setElevation(elevation * s);
    poly->setThickness(height * s);
    poly->setLayer(layer.c_str());
    return poly;
}

AcDbFace* Face(const AcGePoint3d& a, const AcGePoint3d& b, const AcGePoint3d& c,
               const AcGePoint3d& d, double s, const wchar_t* layer) {
    auto* face = new AcDbFace(
        AcGePoint3d(a.x * s, a.y * s, a.z * s), AcGePoint3d(b.x * s, b.y * s, b.z * s),
        AcGePoint3d(c.x * s, c.y * s, c.z * s), AcGePoint3d(d.x * s, d.y * s, d.z * s));
    face->setLayer(layer);
    return face;
}

District Draw(AcDbDatabase& db, double s) {
    District d;
    for (const wchar_t* key : {L"SUN-BUILDING", L"SUN-BALCONY", L"ARCH-ROOF"})
        VxDtInitStdLayer(key, &db);
    const std::wstring building = VxDtGetLayerName(L"SUN-BUILDING");
    // A tower 20 x 10 m, 30 m high: 4 walls, 2 roof triangles.
    d.tower = AddToModelSpace(
        Outline({{0, 0}, {20000, 0}, {20000, 10000}, {0, 10000}}, {}, s, 0, 30000, building));
    // A block with a half-round east end (bulge 1: 180 degrees): 3 straight walls and 18
    // chords of 10 degrees; 21 corners make 19 roof triangles.
    AddToModelSpace(Outline({{0, 20000}, {10000, 20000}, {10000, 30000}, {0, 30000}}, {0, 1, 0, 0},
                            s, 0, 15000, building));
    // 10 mm of thickness is no building, 10.001 mm is.
    AddToModelSpace(
        Outline({{50000, 0}, {51000, 0}, {51000, 1000}, {50000, 1000}}, {}, s, 0, 10.0, building));
    AddToModelSpace(Outline({{50000, 0}, {50000, 1000}, {51000, 1000}, {51000, 0}}, {}, s, 0,
                            10.001, building));  // drawn clockwise
    // A round tank: 36 walls, 34 roof triangles.
    auto* tank = new AcDbCircle(AcGePoint3d(0, 50000 * s, 0), AcGeVector3d(0, 0, 1), 5000 * s);
    tank->setThickness(12000 * s);
    tank->setLayer(building.c_str());
    AddToModelSpace(tank);
    // A building on another layer is not taken.
    AddToModelSpace(
        Outline({{90000, 0}, {91000, 0}, {91000, 1000}, {90000, 1000}}, {}, s, 0, 9000, L"0"));
    // A balcony: 4 walls, 2 triangles.
    auto* balcony = new VxDbSlab(
        {{0, -3000 * s, 0}, {6000 * s, -3000 * s, 0}, {6000 * s, -1500 * s, 0}, {0, -1500 * s, 0}},
        9000 * s, 150 * s, true);
    balcony->setLayer(VxDtGetLayerName(L"SUN-BALCONY").c_str());
    AddToModelSpace(balcony);
    // Roof faces: a triangle (fourth corner repeated) and a quad. 3D faces are two-sided on
    // every layer: each comes turned round, then as drawn.
    const std::wstring roof = VxDtGetLayerName(L"ARCH-ROOF");
    AddToModelSpace(Face({0, 0, 30000}, {20000, 0, 30000}, {10000, 5000, 33000},
                         {10000, 5000, 33000}, s, roof.c_str()));
    AddToModelSpace(Face({0, 0, 30000}, {20000, 0, 30000}, {20000, 10000, 30000}, {0, 10000, 30000},
                         s, roof.c_str()));
    // Two-sided faces on any other layer: a triangle (two faces), a face with only two
    // distinct corners (nothing), a quad (two faces).
    AddToModelSpace(
        Face({30000, 0, 0}, {34000, 0, 0}, {30000, 0, 4000}, {30000, 0, 4000}, s, L"0"));
    AddToModelSpace(Face({30000, 0, 0}, {34000, 0, 0}, {34000, 0, 0}, {30000, 0, 0}, s, L"0"));
    AddToModelSpace(
        Face({40000, 0, 0}, {44000, 0, 0}, {44000, 0, 4000}, {40000, 0, 4000}, s, L"0"));
    // A window 1.5 m wide, 0.2 m deep, 1.8 m high at (5, 0, 3) m in the tower's south wall.
    auto* window =
        new AcDbBlockReference(AcGePoint3d(5000 * s, 0, 3000 * s), db.addBlock(L"_SUNWD"));
    window->setScaleFactors(AcGeScale3d(1500 * s, 200 * s, 1800 * s));
    AddToModelSpace(window);
    return d;
}

class ShadowModel : public ::testing::TestWithParam<double> {
protected:
    void SetUp() override {
        m_db = std::make_unique<AcDbDatabase>();
        m_db->setInsunits(GetParam() == 1.0 ? 4 : 6);  // millimetres or metres
        acdbHostApplicationServices()->setWorkingDatabase(m_db.get());
        m_district = Draw(*m_db, GetParam());
        m_limit = g_RenderMaxFaceNum;
    }
    void TearDown() override {
        g_RenderMaxFaceNum = m_limit;
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    }

    std::unique_ptr<AcDbDatabase> m_db;
    District m_district;
    int m_limit = 0;
};

class RecordingModel : public SolxShadowModel {
public:
    std::wstring messages;
    int hidden = 0, shown = 0;

protected:
    void ShowMessage(const std::wstring& text) override { messages += text; }
    void HideWindow(bool hide) override { ++(hide ? hidden : shown); }
};

double PlanArea(const VxGeTriangle2d& t) {
    return std::fabs((t.pt[1].x - t.pt[0].x) * (t.pt[2].y - t.pt[0].y) -
                     (t.pt[2].x - t.pt[0].x) * (t.pt[1].y - t.pt[0].y)) /
           2;
}

TEST_P(ShadowModel, ListsFaceOrderAndMarkers) {
    RecordingModel model;
    model.CollectFromSelection(VxAdsEntSet(2));
    ASSERT_EQ(model.m_buildings.size(), 4u);  // tower, half-round block, 10.001 mm, tank
    EXPECT_EQ(model.m_buildings[1].outline.size(), 21u);
    EXPECT_EQ(model.m_buildings[3].outline.size(), 36u);
    EXPECT_EQ(model.m_roofTriangles.size(), 2u + 19u + 2u + 34u);
    ASSERT_EQ(model.m_balconies.size(), 1u);
    EXPECT_EQ(model.m_balconyTriangles.size(), 2u);
    EXPECT_EQ(model.m_modelFaces.size(), 8u);  // 2 + 2 roof, 2 + 0 + 2 two-sided
    ASSERT_EQ(model.m_windows.size(), 1u);

    // Roof triangles cover the outlines: the tower's 200 m2, the block's 100 m2 plus half of a
    // regular 36-gon of radius 5 m, the small one's 1 m2 and the tank's 36-gon.
    const double halfRound = 18 * 0.5 * 25 * std::sin(std::numbers::pi / 18);
    const double areas[] = {200, 100 + halfRound, 1, 2 * halfRound};
    size_t t = 0;
    for (size_t b = 0; b < 4; ++b) {
        const size_t triangles = model.m_buildings[b].outline.size() - 2;
        double area = 0;
        for (size_t k = 0; k < triangles; ++k, ++t) {
            area += PlanArea(model.m_roofTriangles[t]);
            for (const VxGePoint& p : model.m_roofTriangles[t].pt)
                EXPECT_NEAR(p.z, model.m_buildings[b].elevation + model.m_buildings[b].thickness,
                            1e-9);
        }
        EXPECT_NEAR(area, areas[b], 1e-6) << b;
    }

    model.BuildFaceArray();
    ASSERT_EQ(model.m_faceCount, 137);  // 65 + 4 walls, 57 + 2 triangles, 8 faces, the ground
    EXPECT_EQ(model.m_firstBalconyWall, 66);
    EXPECT_EQ(model.m_lastWall, 69);
    EXPECT_EQ(model.m_firstModelQuad, 70);
    EXPECT_EQ(model.m_roofTriangleBack, 79);  // roof triangles 136 down to 80
    EXPECT_EQ(model.m_lowestBalconyTriangle, 78);
    EXPECT_EQ(model.m_modelTriangleBack, 77);
    EXPECT_EQ(model.m_modelBack, 73);  // quads 70..73, triangles 77..74: the parts meet

    // The ground: a hundred times the buildings' plan extents (-5..51 m by 0..55 m).
    const VxGeFace3dEX& ground = model.m_faceArray[0];
    EXPECT_NEAR(ground.Point(0).x, 23 - 2800, 1e-6);
    EXPECT_NEAR(ground.Point(0).y, 27.5 - 2750, 1e-6);
    EXPECT_NEAR(ground.Point(2).x, 23 + 2800, 1e-6);
    EXPECT_NEAR(ground.Point(2).y, 27.5 + 2750, 1e-6);
    EXPECT_NEAR(ground.GetNormal().z, 1.0, 1e-12);

    // The tower's first wall stands on its south edge and faces south; every wall faces away
    // from its building's plan centre.
    const VxGeFace3dEX& south = model.m_faceArray[1];
    EXPECT_NEAR(south.Point(1).x, 20, 1e-9);
    EXPECT_NEAR(south.Point(2).z, 30, 1e-9);
    EXPECT_NEAR(south.GetNormal().y, -1, 1e-12);
    int face = 1;
    for (const auto* slabs : {&model.m_buildings, &model.m_balconies})
        for (const SolxSimSlab& slab : *slabs) {
            VxGePoint centre;
            for (const VxGePoint& p : slab.outline) centre = centre + p;
            centre = centre * (1.0 / static_cast<double>(slab.outline.size()));
            for (size_t w = 0; w < slab.outline.size(); ++w, ++face) {
                const VxGeFace3dEX& wall = model.m_faceArray[static_cast<size_t>(face)];
                const VxGePoint out = (wall.Point(0) + wall.Point(1)) * 0.5 - centre;
                EXPECT_GT(out.x * wall.GetNormal().x + out.y * wall.GetNormal().y, 0) << face;
                EXPECT_EQ(model.m_faceMaterial[static_cast<size_t>(face)], 1);
            }
        }
    EXPECT_EQ(model.m_faceMaterial[0], 0);
    for (int i = 70; i < 137; ++i) EXPECT_EQ(model.m_faceMaterial[static_cast<size_t>(i)], 2);
    // The roof's quad first among the quads, turned round before itself; the roof's triangle
    // at the back of the 3D triangles, then the two-sided triangle, each turned round first.
    EXPECT_NEAR(model.m_faceArray[70].GetNormal().z, -1, 1e-12);
    EXPECT_NEAR(model.m_faceArray[71].GetNormal().z, 1, 1e-12);
    EXPECT_NEAR(model.m_faceArray[73].GetNormal().y, -1, 1e-12);
    EXPECT_EQ(model.m_faceArray[77].Count(), 3);
    EXPECT_LT(model.m_faceArray[77].GetNormal().z, 0);
    EXPECT_NEAR(model.m_faceArray[76].HighestZ(), 33, 1e-9);
    EXPECT_GT(model.m_faceArray[76].GetNormal().z, 0);
    EXPECT_NEAR(model.m_faceArray[75].GetNormal().y, 1, 1e-12);
    EXPECT_NEAR(model.m_faceArray[74].GetNormal().y, -1, 1e-12);
    EXPECT_NEAR(model.m_faceArray[136].LowestZ(), 30, 1e-9);   // the tower's roof first
    EXPECT_NEAR(model.m_faceArray[79].LowestZ(), 9.15, 1e-9);  // balcony top
    for (int i = 1; i < 137; ++i) EXPECT_GE(model.m_faceArray[static_cast<size_t>(i)].Count(), 3);

    // The window line stands half the depth plus the 10 mm offset out of the wall.
    const SolxSimWindow& w = model.m_windows[0];
    EXPECT_NEAR(w.start.x, 5, 1e-9);
    EXPECT_NEAR(w.start.y, -0.11, 1e-9);
    EXPECT_NEAR(w.start.z, 3, 1e-9);
    EXPECT_NEAR(w.end.x, 6.5, 1e-9);
    EXPECT_NEAR(w.height, 1.8, 1e-9);

    // The model box reaches from the ground to the roof ridge.
    EXPECT_NEAR(model.m_bottomHeight, 0, 1e-9);
    EXPECT_NEAR(model.m_topHeight, 33, 1e-9);
    EXPECT_NEAR(model.m_boxMin.x, -5, 1e-9);
    EXPECT_NEAR(model.m_boxMax.x, 51, 1e-9);  // the polyline on layer 0 is no model object
}

TEST_P(ShadowModel, ShowSwitchesHideBalconiesAndModelFaces) {
    RecordingModel model;
    model.CollectFromSelection(VxAdsEntSet(2));
    model.BuildFaceArray();
    auto shown = [&] {
        int n = 0;
        for (int i = 0; i < model.m_faceCount; ++i) n += model.IsFaceShown(i);
        return n;
    };
    EXPECT_EQ(shown(), 137);
    model.m_showBalconies = false;
    EXPECT_EQ(shown(), 137 - 4 - 2);
    EXPECT_FALSE(model.IsFaceShown(66));
    EXPECT_FALSE(model.IsFaceShown(78));
    model.m_showModelFaces = false;
    EXPECT_EQ(shown(), 137 - 6 - 8);
    EXPECT_TRUE(model.IsFaceShown(65));
    EXPECT_TRUE(model.IsFaceShown(80));
}

TEST_P(ShadowModel, FaceLimitAndTheRelationMatrix) {
    RecordingModel model;
    model.CollectFromSelection(VxAdsEntSet(2));
    model.m_faceShadow = true;
    g_RenderMaxFaceNum = 136;  // one face too many
    model.BuildFaceArray();
    EXPECT_FALSE(model.m_faceShadow);
    EXPECT_FALSE(model.m_relations);
    EXPECT_NE(model.messages.find(L"=137"), std::wstring::npos);
    EXPECT_NE(model.messages.find(L"=136"), std::wstring::npos);

    g_RenderMaxFaceNum = 137;  // exactly the limit
    model.messages.clear();
    model.m_faceShadow = true;
    model.BuildFaceArray();
    EXPECT_TRUE(model.m_faceShadow);
    ASSERT_TRUE(model.m_relations);
    EXPECT_TRUE(model.messages.empty());
    int zeros = 0, twos = 0;
    for (int a = 0; a < 137; ++a)
        for (int b = 0; b < 137; ++b) {
            const int v = model.m_relations[static_cast<size_t>(a * 137 + b)];
            EXPECT_TRUE(v == 0 || v == 2);
            (v == 0 ? zeros : twos)++;
            if (a == 0 || a == b) {
                EXPECT_EQ(v, 0) << a << ' ' << b;
            }
        }
    EXPECT_EQ(zeros, 137 + 136);
    // A second call keeps the matrix; a rebuild with face shadows off drops it.
    auto* before = model.m_relations.get();
    EXPECT_TRUE(model.PrepareShadowRelations());
    EXPECT_EQ(model.m_relations.get(), before);
    model.m_faceShadow = false;
    model.BuildFaceArray();
    EXPECT_FALSE(model.m_relations);
}

TEST_P(ShadowModel, SelectionNarrowsTheModelAndAnEmptyAnswerTakesAll) {
    RecordingModel model;
    VxAdsEntSet tower(2);
    tower += VxAdsEnt(m_district.tower);
    model.CollectFromSelection(tower);
    model.BuildFaceArray();
    EXPECT_EQ(model.m_faceCount, 1 + 4 + 2);
    EXPECT_NEAR(model.m_boxMax.z, 30, 1e-9);
    EXPECT_NEAR(model.m_faceArray[0].Point(2).x, 10 + 50 * 20, 1e-6);  // around the tower

    ScriptedFrontEnd script({L""});
    model.LoadModel();
    EXPECT_EQ(model.m_faceCount, 137);
    EXPECT_EQ(model.hidden, 1);  // hidden while asking, shown again
    EXPECT_EQ(model.shown, 1);
}

INSTANTIATE_TEST_SUITE_P(Units, ShadowModel, ::testing::Values(1.0, 0.001), [](const auto& p) {
    return std::string(p.param == 1.0 ? "Millimetres" : "Metres");
});

TEST(ShadowModelEmpty, NoBuildingKeepsTheGround) {
    AcDbDatabase db;
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    RecordingModel model;
    model.m_ground = VxGeFace({1, 2, 0}, {3, 2, 0}, {3, 4, 0}, {1, 4, 0});
    model.CollectFromSelection(VxAdsEntSet(2));
    model.BuildFaceArray();
    EXPECT_EQ(model.m_faceCount, 1);
    EXPECT_EQ(model.m_lastWall, 0);
    EXPECT_EQ(model.m_modelBack, 0);
    EXPECT_NEAR(model.m_faceArray[0].Point(2).y, 4, 1e-12);
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
}

}  // namespace
