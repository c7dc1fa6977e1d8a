// Region booleans on known shapes: areas, holes, the other operand emptied, degenerate input.
#include <gtest/gtest.h>

#include "acad/acdb.h"

namespace {

AcDbRegionRing square(double x, double y, double size) {
    return {{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}};
}

AcDbRegion* region(std::vector<AcDbRegionPolygon> polys) {
    auto* r = new AcDbRegion();
    EXPECT_EQ(r->setPolygons(polys), Acad::eOk);
    return r;
}

double area(const AcDbRegion& r) {
    double a = -1;
    r.getArea(a);
    return a;
}

struct BoolCase {
    const char* name;
    AcDbRegionRing a, b;
    AcDb::BoolOperType op;
    double area;
    size_t polygons, holes;
};

const BoolCase kBoolCases[] = {
    {"overlapping unite", square(0, 0, 10), square(5, 5, 10), AcDb::kBoolUnite, 175, 1, 0},
    {"overlapping intersect", square(0, 0, 10), square(5, 5, 10), AcDb::kBoolIntersect, 25, 1, 0},
    {"overlapping subtract", square(0, 0, 10), square(5, 5, 10), AcDb::kBoolSubtract, 75, 1, 0},
    {"inner subtract makes a hole", square(0, 0, 10), square(3, 3, 4), AcDb::kBoolSubtract, 84, 1,
     1},
    {"disjoint unite keeps two", square(0, 0, 1), square(5, 0, 2), AcDb::kBoolUnite, 5, 2, 0},
    {"disjoint intersect is empty", square(0, 0, 1), square(5, 0, 2), AcDb::kBoolIntersect, 0, 0,
     0},
    {"touching unite merges", square(0, 0, 2), square(2, 0, 2), AcDb::kBoolUnite, 8, 1, 0},
    {"equal subtract leaves nothing", square(0, 0, 3), square(0, 0, 3), AcDb::kBoolSubtract, 0, 0,
     0},
};

class RegionBoolean : public ::testing::TestWithParam<BoolCase> {};

TEST_P(RegionBoolean, AreaAndShapeAsExpected) {
    const BoolCase& c = GetParam();
    std::unique_ptr<AcDbRegion> a(region({{c.a, {}}})), b(region({{c.b, {}}}));
    ASSERT_EQ(a->booleanOper(c.op, b.get()), Acad::eOk);
    EXPECT_NEAR(area(*a), c.area, 1e-9);
    ASSERT_EQ(a->polygons().size(), c.polygons);
    size_t holes = 0;
    for (const auto& p : a->polygons()) {
        holes += p.holes.size();
        double signedArea = 0;  // outer rings counter-clockwise
        for (size_t i = 0; i < p.outer.size(); ++i) {
            const auto& u = p.outer[i];
            const auto& v = p.outer[(i + 1) % p.outer.size()];
            signedArea += u.x * v.y - v.x * u.y;
        }
        EXPECT_GT(signedArea, 0);
    }
    EXPECT_EQ(holes, c.holes);
    EXPECT_TRUE(b->isNull());  // the host empties the other operand
}

INSTANTIATE_TEST_SUITE_P(Shapes, RegionBoolean, ::testing::ValuesIn(kBoolCases),
                         [](const ::testing::TestParamInfo<BoolCase>& p) {
                             std::string n = p.param.name;
                             for (char& ch : n)
                                 if (ch == ' ') ch = '_';
                             return n;
                         });

TEST(RegionInput, SelfCrossingRingIsRepairedAndDegenerateRingsSkipped) {
    // A bow tie: two triangles of area 25 each, meeting at (5, 5).
    std::unique_ptr<AcDbRegion> bow(region({{{{0, 0}, {10, 10}, {10, 0}, {0, 10}}, {}}}));
    EXPECT_NEAR(area(*bow), 50, 1e-9);
    AcArray<AcDbRegion*> made;
    EXPECT_EQ(AcDbRegion::createFromRings({{{0, 0}, {1, 1}, {2, 2}}, {{0, 0}, {1, 0}}}, 0, made),
              Acad::eDegenerateGeometry);
    EXPECT_TRUE(made.isEmpty());
    EXPECT_EQ(AcDbRegion::createFromRings({square(0, 0, 2), {{0, 0}, {1, 0}}}, 3, made), Acad::eOk);
    ASSERT_EQ(made.length(), 1);
    EXPECT_DOUBLE_EQ(made[0]->elevation(), 3);
    delete made[0];
}

TEST(RegionInput, RegionsInDifferentPlanesDoNotCombine) {
    std::unique_ptr<AcDbRegion> a(region({{square(0, 0, 1), {}}})),
        b(region({{square(0, 0, 1), {}}}));
    b->setElevation(5);
    EXPECT_EQ(a->booleanOper(AcDb::kBoolUnite, b.get()), Acad::eNonPlanarEntity);
    EXPECT_NEAR(area(*b), 1, 1e-12);
}

TEST(RegionFile, RegionWithHoleLoadsBackFromItsBlock) {
    AcDbDatabase db;
    auto* r = region({{square(0, 0, 10), {square(2, 2, 3)}}, {square(20, 0, 1), {}}});
    r->setElevation(4);
    auto* ms = dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
    ASSERT_EQ(ms->appendAcDbEntity(r), Acad::eOk);
    auto path = std::string(SOLX_BINARY_DIR) + "/test-scratch/region.dxf";
    ASSERT_EQ(db.dxfOut(acdbWide(path).c_str()), Acad::eOk) << acdbUtf8(db.lastError());
    AcDbDatabase loaded(false);
    ASSERT_EQ(loaded.readDxfFile(acdbWide(path).c_str()), Acad::eOk)
        << acdbUtf8(loaded.lastError());
    auto* lms = dynamic_cast<AcDbBlockTableRecord*>(loaded.modelSpaceId().object());
    ASSERT_EQ(lms->entityIds().length(), 1);
    auto* back = dynamic_cast<AcDbRegion*>(lms->entityIds()[0].object());
    ASSERT_NE(back, nullptr);
    EXPECT_NEAR(area(*back), 100 - 9 + 1, 1e-9);
    EXPECT_DOUBLE_EQ(back->elevation(), 4);
    ASSERT_EQ(back->polygons().size(), 2u);
}

}  // namespace
