// Geometry of entities: extents, transformations, explosion, areas, spline fitting, matrices.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "acad/acdb.h"

namespace {

void expectPoint(const AcGePoint3d& got, const AcGePoint3d& want, double tol = 1e-9) {
    EXPECT_NEAR(got.x, want.x, tol);
    EXPECT_NEAR(got.y, want.y, tol);
    EXPECT_NEAR(got.z, want.z, tol);
}

TEST(AcGeMatrix, RotationsAreRigidAndInversesUndoThem) {
    const AcGeVector3d axes[] = {{0, 0, 1}, {1, 2, 3}, {-1, 0, 0.5}};
    for (const auto& axis : axes) {
        AcGeMatrix3d m =
            AcGeMatrix3d::rotation(0.7, axis, {1, 2, 3}) * AcGeMatrix3d::translation({5, -2, 1});
        AcGePoint3d a(1, 1, 1), b(-3, 4, 2);
        EXPECT_NEAR((m * a).distanceTo(m * b), a.distanceTo(b), 1e-12);
        EXPECT_NEAR(m.det(), 1, 1e-12);
        expectPoint(m.inverse() * (m * a), a, 1e-12);
        // The rotation centre stays put under the rotation alone.
        expectPoint(AcGeMatrix3d::rotation(0.7, axis, {1, 2, 3}) * AcGePoint3d(1, 2, 3), {1, 2, 3},
                    1e-12);
    }
    AcGeMatrix3d singular = AcGeMatrix3d::scaling(0);
    AcGeMatrix3d out;
    EXPECT_FALSE(singular.inverse(out));
}

TEST(AcGeMatrix, PlaneSystemOfANormalIsOrthonormalAndRightHanded) {
    for (const auto& n : {AcGeVector3d(0, 0, 1), AcGeVector3d(0, 0.6, 0.8), AcGeVector3d(1, 0, 0),
                          AcGeVector3d(0.01, 0.001, -1)}) {
        AcGeMatrix3d m = AcGeMatrix3d::planeToWorld(n);
        AcGeVector3d x = m * AcGeVector3d::kXAxis, y = m * AcGeVector3d::kYAxis,
                     z = m * AcGeVector3d::kZAxis;
        EXPECT_NEAR(x.dotProduct(y), 0, 1e-12);
        EXPECT_NEAR(x.length(), 1, 1e-12);
        EXPECT_TRUE(z.isEqualTo(n.normal()));
        EXPECT_TRUE(x.crossProduct(y).isEqualTo(z));
    }
}

struct ExtentsCase {
    const char* name;
    std::function<AcDbEntity*()> make;
    AcGePoint3d min, max;
};

const ExtentsCase kExtents[] = {
    {"line with thickness",
     [] {
         auto* l = new AcDbLine({0, 0, 0}, {4, 2, 0});
         l->setThickness(3);
         return l;
     },
     {0, 0, 0},
     {4, 2, 3}},
    {"circle",
     [] {
         return new AcDbCircle({1, 1, 0}, AcGeVector3d::kZAxis, 2);
     },
     {-1, -1, 0},
     {3, 3, 0}},
    {"circle standing in the XZ plane",
     [] {
         return new AcDbCircle({0, 0, 0}, AcGeVector3d::kYAxis, 1);
     },
     {-1, 0, -1},
     {1, 0, 1}},
    {"quarter arc",
     [] {
         return new AcDbArc({0, 0, 0}, 2, 0, M_PI / 2);
     },
     {0, 0, 0},
     {2, 2, 0}},
    {"arc over the top",
     [] {
         return new AcDbArc({0, 0, 0}, 1, M_PI / 4, 3 * M_PI / 4);
     },
     {-std::sqrt(0.5), std::sqrt(0.5), 0},
     {std::sqrt(0.5), 1, 0}},
    {"half-circle bulge",
     [] {
         auto* p = new AcDbPolyline();
         p->addVertexAt(0, {0, 0}, 1.0);
         p->addVertexAt(1, {2, 0});
         p->setElevation(5);
         return p;
     },
     {0, -1, 5},
     {2, 0, 5}},
    {"face",
     [] {
         return new AcDbFace({0, 0, 0}, {1, 0, 2}, {1, 3, 0});
     },
     {0, 0, 0},
     {1, 3, 2}},
};

class EntityExtents : public ::testing::TestWithParam<ExtentsCase> {};

TEST_P(EntityExtents, BoxAsExpected) {
    std::unique_ptr<AcDbEntity> e(GetParam().make());
    AcDbExtents ext;
    ASSERT_EQ(e->getGeomExtents(ext), Acad::eOk);
    expectPoint(ext.minPoint(), GetParam().min);
    expectPoint(ext.maxPoint(), GetParam().max);
}

INSTANTIATE_TEST_SUITE_P(Entities, EntityExtents, ::testing::ValuesIn(kExtents),
                         [](const ::testing::TestParamInfo<ExtentsCase>& p) {
                             std::string n = p.param.name;
                             for (char& c : n)
                                 if (c == ' ' || c == '-') c = '_';
                             return n;
                         });

TEST(EntityTransform, MovingAndRotatingKeepsShapes) {
    AcGeMatrix3d m = AcGeMatrix3d::translation({10, 0, 0}) *
                     AcGeMatrix3d::rotation(M_PI / 2, AcGeVector3d::kZAxis);
    AcDbArc arc({0, 0, 0}, 2, 0, M_PI / 2);
    double before = 0, after = 0;
    arc.getArea(before);
    arc.transformBy(m);
    arc.getArea(after);
    EXPECT_NEAR(before, after, 1e-12);
    AcGePoint3d start;
    arc.getStartPoint(start);
    expectPoint(start, {10, 2, 0});

    AcDbPolyline pl;
    for (auto [x, y] : {std::pair{0.0, 0.0}, {4.0, 0.0}, {4.0, 3.0}})
        pl.addVertexAt(pl.numVerts(), {x, y});
    pl.setClosed(true);
    pl.getArea(before);
    pl.transformBy(AcGeMatrix3d::scaling(2) * m);
    pl.getArea(after);
    EXPECT_NEAR(after, 4 * before, 1e-9);
    AcGePoint3d p;
    pl.getPointAt(1, p);
    expectPoint(p, {20, 8, 0});

    AcDbText text({1, 0, 0}, L"abc", {}, 2.5);
    text.transformBy(AcGeMatrix3d::rotation(M_PI / 2, AcGeVector3d::kZAxis));
    EXPECT_NEAR(text.rotation(), M_PI / 2, 1e-12);
    expectPoint(text.position(), {0, 1, 0});
}

TEST(EntityExplode, PolylinePiecesCoverTheOutline) {
    AcDbPolyline pl;
    pl.addVertexAt(0, {0, 0}, 0);
    pl.addVertexAt(1, {4, 0}, 1.0);  // a counter-clockwise half circle: it bulges out of the square
    pl.addVertexAt(2, {4, 4}, 0);
    pl.addVertexAt(3, {0, 4}, 0);
    pl.setClosed(true);
    double area = 0;
    pl.getArea(area);
    EXPECT_NEAR(area, 16 + M_PI * 2, 1e-9);
    AcDbVoidPtrArray parts;
    ASSERT_EQ(pl.explode(parts), Acad::eOk);
    ASSERT_EQ(parts.length(), 4);
    auto* arc = dynamic_cast<AcDbArc*>(parts[1]);
    ASSERT_NE(arc, nullptr);
    EXPECT_NEAR(arc->radius(), 2, 1e-12);
    expectPoint(arc->center(), {4, 2, 0});
    for (AcDbEntity* e : parts) delete e;
}

TEST(EntityExplode, BlockReferencePlacesTheBlockAndItsAttributes) {
    AcDbDatabase db;
    AcDbBlockTableRecord* block = nullptr;
    AcDbObjectId blockId = db.addBlock(L"_SUNWD", &block);
    block->setOrigin({1, 0, 0});
    block->appendAcDbEntity(new AcDbLine({1, 0, 0}, {2, 0, 0}));
    auto* def = new AcDbAttributeDefinition({1, 1, 0}, L"?", L"FLOOR", L"Floor");
    block->appendAcDbEntity(def);
    EXPECT_TRUE(block->hasAttributeDefinitions());

    AcDbBlockReference ref({10, 10, 0}, blockId);
    ref.setRotation(M_PI / 2);
    ref.setScaleFactors(AcGeScale3d(2));
    auto* att = new AcDbAttribute();
    att->setAttributeFromBlock(def, ref.blockTransform());
    att->setTextString(L"3");
    ref.appendAttribute(att);
    expectPoint(att->position(), {8, 10, 0});  // (0, 1) from the origin, scaled and turned

    AcDbVoidPtrArray parts;
    ASSERT_EQ(ref.explode(parts), Acad::eOk);
    ASSERT_EQ(parts.length(), 2);  // the line and the attribute's text; not the definition
    auto* line = dynamic_cast<AcDbLine*>(parts[0]);
    ASSERT_NE(line, nullptr);
    expectPoint(line->endPoint(), {10, 12, 0});
    EXPECT_EQ(dynamic_cast<AcDbText*>(parts[1])->textString(), L"3");
    for (AcDbEntity* e : parts) delete e;
}

TEST(SplineFit, OpenCubicKeepsItsEndsAndClosedOneWraps) {
    AcDb3dPolyline open(AcDb::k3dSimplePoly, {{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 2}});
    ASSERT_EQ(open.convertToPolyType(AcDb::k3dCubicSplinePoly), Acad::eOk);
    AcGePoint3dArray pts = open.drawnPoints();
    ASSERT_GT(pts.length(), 4);
    expectPoint(pts.first(), {0, 0, 0});
    expectPoint(pts.last(), {4, 0, 2});
    ASSERT_EQ(open.convertToPolyType(AcDb::k3dSimplePoly), Acad::eOk);
    EXPECT_EQ(open.drawnPoints().length(), 4);  // back to the control points

    AcDb2dPolyline closed(AcDb::k2dSimplePoly, {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}}, 0,
                          true);
    ASSERT_EQ(closed.splineFit(), Acad::eOk);
    AcGePoint3dArray ring = closed.drawnPoints();
    EXPECT_EQ(ring.length(), 4 * 8);  // eight points per span, the closing one not repeated
    expectPoint(ring.first(), {10.0 / 6, 2.0 / 6, 0});  // (P0 + 4 P1 + P2) / 6 of a uniform cubic
    for (const auto& p : ring) EXPECT_NEAR(p.distanceTo({1, 1, 0}), std::sqrt(2.0) * 0.75, 0.35);
}

}  // namespace
