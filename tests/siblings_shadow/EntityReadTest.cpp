// Windows and buildings read from drawing entities.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "acad/AcDbAttribute.h"
#include "acad/AcDbBlockReference.h"
#include "acad/AcDbPolyline.h"
#include "solx/SolxBuilding.h"
#include "solx/SolxDataSet.h"
#include "solx/SolxWinSunlightInfo.h"

namespace {

constexpr double kPi = std::numbers::pi;

void Attribute(AcDbBlockReference& ref, const wchar_t* tag, const wchar_t* text) {
    ref.appendAttribute(new AcDbAttribute(ref.position(), text, tag));
}

TEST(EntityRead, WindowFromSunwdReference) {
    AcDbBlockReference ref(AcGePoint3d(1000, 2000, 3900), AcDbObjectId());
    ref.setRotation(kPi / 2);  // wall runs north, window faces east
    ref.setScaleFactors(AcGeScale3d(1500, 200, 1600));
    Attribute(ref, L"floor", L"7");  // tags in any case
    Attribute(ref, L"NUMBER", L" 12");
    Attribute(ref, L"LABEL", L"3-12");
    for (double unitsPerMm : {1.0, 0.001}) {
        const SolxWinSunlightInfo w(&ref, 1, unitsPerMm);
        EXPECT_EQ(w.m_nFloor, 7);
        EXPECT_EQ(w.m_nNumber, 12);
        EXPECT_EQ(w.m_strLabel, L"3-12");
        EXPECT_DOUBLE_EQ(w.m_dSillHeight, 3900);
        EXPECT_NEAR(w.m_dAngle, kPi / 2, 1e-12);
        EXPECT_DOUBLE_EQ(w.Block().width, 1500);
        EXPECT_DOUBLE_EQ(w.Block().depth, 200);
        const VxGePoint p = w.GetTestPoint();
        EXPECT_NEAR(p.x, 1000 + g_nSunWinOffset * unitsPerMm, 1e-9) << unitsPerMm;
        EXPECT_NEAR(p.y, 2000, 1e-9);
    }
}

TEST(EntityRead, MissingOrUnreadableAttributesAndOtherEntities) {
    AcDbBlockReference ref(AcGePoint3d(0, 0, 0), AcDbObjectId());
    Attribute(ref, L"FLOOR", L"two");
    const SolxWinSunlightInfo w(&ref, 1);
    EXPECT_EQ(w.m_nFloor, 0);
    EXPECT_EQ(w.m_nNumber, 0);
    EXPECT_TRUE(w.m_strLabel.empty());
    AcDbPolyline notAWindow;
    EXPECT_EQ(SolxReadWindowBlock(&notAWindow).floor, 0);
    EXPECT_EQ(SolxReadWindowBlock(nullptr).width, 1.0);
}

AcDbPolyline* Square(bool closed, double elevation, double thickness) {
    auto* poly = new AcDbPolyline;
    const double xy[4][2] = {{0, 0}, {10000, 0}, {10000, 8000}, {0, 8000}};
    for (unsigned i = 0; i < 4; ++i) poly->addVertexAt(i, AcGePoint2d(xy[i][0], xy[i][1]));
    poly->setClosed(closed);
    poly->setElevation(elevation);
    poly->setThickness(thickness);
    return poly;
}

TEST(EntityRead, BuildingFromClosedPolylineOnly) {
    std::unique_ptr<AcDbPolyline> slab(Square(true, 300, 18000));
    const SolxBuilding b(slab.get(), 0);
    ASSERT_TRUE(b.IsValid());
    EXPECT_EQ(b.Outline().size(), 4u);
    EXPECT_DOUBLE_EQ(b.Elevation(), 300);
    EXPECT_DOUBLE_EQ(b.Top(), 18300);

    std::unique_ptr<AcDbPolyline> open(Square(false, 0, 18000));
    EXPECT_FALSE(SolxBuilding(open.get(), 0).IsValid());
    std::unique_ptr<AcDbPolyline> flat(Square(true, 0, 0));
    EXPECT_FALSE(SolxBuilding(flat.get(), 0).IsValid());
    std::unique_ptr<AcDbPolyline> tilted(Square(true, 0, 18000));
    tilted->setNormal(AcGeVector3d(0, 1, 0));
    EXPECT_FALSE(SolxBuilding(tilted.get(), 0).IsValid());
    AcDbBlockReference ref(AcGePoint3d(0, 0, 0), AcDbObjectId());
    EXPECT_FALSE(SolxBuilding(&ref, 0).IsValid());
}

}  // namespace
