// Obstruction selection from a drawing written to a DXF file and read back: which objects
// obstruct, the records they make, and the selection as a script answers it.

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "../ui/ScriptedFrontEnd.h"
#include "acad/AcDbCircle.h"
#include "acad/AcDbDatabase.h"
#include "acad/AcDbFace.h"
#include "acad/AcDbLine.h"
#include "acad/AcDbPolyFaceMesh.h"
#include "acad/AcDbPolyline.h"
#include "acad/adsdef.h"
#include "brel/BrelDbObject.h"
#include "brel/VxDbSlab.h"
#include "brel/VxDtLayer.h"
#include "solx/SolxSelUtility.h"

namespace {

AcDbPolyline* Square(double x, double y, double size, double elevation, double height,
                     const wchar_t* layer, bool closed = true) {
    auto* poly = new AcDbPolyline;
    const double xs[] = {x, x + size, x + size, x};
    const double ys[] = {y, y, y + size, y + size};
    for (unsigned i = 0; i < 4; ++i) poly->addVertexAt(i, AcGePoint2d(xs[i], ys[i]));
    poly->setClosed(closed);
    poly->setElevation(elevation);
    poly->setThickness(height);
    poly->setLayer(layer);
    return poly;
}

// The district every test reads: what obstructs and what does not.
void DrawDistrict() {
    VxDtInitStdLayer(L"SUN-BUILDING");
    const std::wstring building = VxDtGetLayerName(L"SUN-BUILDING");
    AddToModelSpace(Square(0, 0, 20000, 0, 30000, building.c_str()));            // tower
    AddToModelSpace(Square(40000, 0, 10000, 3000, 9000, building.c_str()));      // raised block
    AddToModelSpace(Square(60000, 0, 10000, 0, 9000, L"0"));                     // other layer
    AddToModelSpace(Square(80000, 0, 10000, 0, 9000, building.c_str(), false));  // open
    AddToModelSpace(Square(100000, 0, 10000, 0, 0, building.c_str()));           // no height
    auto* tank = new AcDbCircle(AcGePoint3d(0, 50000, 1000), AcGeVector3d(0, 0, 1), 5000);
    tank->setThickness(12000);
    tank->setLayer(building.c_str());
    AddToModelSpace(tank);
    AddToModelSpace(new VxDbSlab({{0, 80000, 0}, {6000, 80000, 0}, {6000, 81500, 0}, {0, 81500, 0}},
                                 9000, 150, true));
    AddToModelSpace(new AcDbFace(AcGePoint3d(0, 0, 30000), AcGePoint3d(20000, 0, 30000),
                                 AcGePoint3d(10000, 10000, 36000)));
    auto* mesh = new AcDbPolyFaceMesh;
    for (const AcGePoint3d& p : {AcGePoint3d(40000, 50000, 0), AcGePoint3d(50000, 50000, 0),
                                 AcGePoint3d(50000, 60000, 0), AcGePoint3d(40000, 60000, 9000)})
        mesh->appendVertex(p);
    mesh->appendFace(1, 2, 3, 4);
    mesh->appendFace(1, -3, 4);
    AddToModelSpace(mesh);
    AddToModelSpace(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));  // never
}

class ObstructionSelection : public ::testing::Test {
protected:
    void SetUp() override {
        const auto file = std::filesystem::temp_directory_path() /
                          ("solx-obstructions-" + std::to_string(::getpid()) + ".dxf");
        {
            AcDbDatabase drawn;
            acdbHostApplicationServices()->setWorkingDatabase(&drawn);
            DrawDistrict();
            ASSERT_EQ(drawn.dxfOut(file.wstring().c_str()), Acad::eOk);
        }
        m_db = std::make_unique<AcDbDatabase>(false);
        ASSERT_EQ(m_db->readDxfFile(file.wstring().c_str()), Acad::eOk);
        std::filesystem::remove(file);
        acdbHostApplicationServices()->setWorkingDatabase(m_db.get());
    }
    void TearDown() override { acdbHostApplicationServices()->setWorkingDatabase(nullptr); }

    std::unique_ptr<AcDbDatabase> m_db;
    SolxBuildingList buildings;
    SolxShadowSourceList sources;
};

TEST_F(ObstructionSelection, FilterAndRecordsFollowTheConventions) {
    SolxSelUtility selection;
    resbuf* filter = GetShadowObjectMask();
    ASSERT_EQ(selection.m_set1.Get(L"X", nullptr, nullptr, filter), RTNORM);
    acutRelRb(filter);
    EXPECT_EQ(selection.m_set1.GetLength(), 8);  // all but the polyline on layer 0 and the line
    ASSERT_EQ(selection.CreateShadowModel(selection.m_set1, buildings, sources), RTNORM);
    ASSERT_EQ(buildings.size(), 4u);  // tower, raised block, tank, balcony
    ASSERT_EQ(sources.size(), 2u);    // roof face, mesh

    EXPECT_DOUBLE_EQ(buildings[0]->Top(), 30000.0);
    EXPECT_DOUBLE_EQ(buildings[1]->Elevation(), 3000.0);
    EXPECT_DOUBLE_EQ(buildings[1]->Height(), 9000.0);
    const SolxBuilding& tank = *buildings[2];
    EXPECT_EQ(tank.Outline().size(), 36u);
    EXPECT_DOUBLE_EQ(tank.Elevation(), 1000.0);
    EXPECT_DOUBLE_EQ(tank.Top(), 13000.0);
    for (const VxGePoint& p : tank.Outline())
        EXPECT_NEAR(std::hypot(p.x, p.y - 50000), 5000.0, 1e-6);
    EXPECT_DOUBLE_EQ(buildings[3]->Elevation(), 9000.0);
    EXPECT_DOUBLE_EQ(buildings[3]->Height(), 150.0);

    ASSERT_EQ(sources[0]->Faces().size(), 1u);
    EXPECT_EQ(sources[0]->Faces()[0].count, 3);  // a 3D face with its fourth corner repeated
    EXPECT_DOUBLE_EQ(sources[0]->Faces()[0].pt[2].z, 36000.0);
    ASSERT_EQ(sources[1]->Faces().size(), 2u);
    EXPECT_EQ(sources[1]->Faces()[0].count, 4);
    EXPECT_EQ(sources[1]->Faces()[1].count, 3);  // a hidden edge keeps its corner
}

TEST_F(ObstructionSelection, ScriptSelectsAllAndCancelEndsSilently) {
    {
        ScriptedFrontEnd script({L"ALL", L""});
        SolxSelUtility selection;
        EXPECT_EQ(selection.SelShadowModel(buildings, sources, L"\n选择遮挡物:"), RTNORM);
        EXPECT_EQ(buildings.size() + sources.size(), 6u);
    }
    SolxBuildingList none;
    SolxShadowSourceList noSources;
    ScriptedFrontEnd empty({L""});
    SolxSelUtility selection;
    EXPECT_NE(selection.SelShadowModel(none, noSources, L"\n选择遮挡物:"), RTNORM);
    EXPECT_TRUE(none.empty() && noSources.empty());
}

TEST_F(ObstructionSelection, NothingUsableIsNotNormal) {
    SolxSelUtility selection;
    ASSERT_EQ(selection.m_set1.Get(L"X"), RTNORM);  // no filter: lines and all
    VxAdsEntSet lines(2);
    for (int i = 0; i < selection.m_set1.GetLength(); ++i) {
        AcDbEntity* entity = nullptr;
        ASSERT_EQ(selection.m_set1[i].Open(entity, AcDb::kForRead), Acad::eOk);
        if (entity->dxfName() == L"LINE") lines += selection.m_set1[i];
        entity->close();
    }
    ASSERT_EQ(lines.GetLength(), 1);
    EXPECT_EQ(selection.CreateShadowModel(lines, buildings, sources), RTNONE);
    EXPECT_TRUE(buildings.empty() && sources.empty());
}

}  // namespace
