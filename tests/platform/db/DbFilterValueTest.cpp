// What entities answer for the group codes filter lists ask about, and their visibility.
#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "db/DatabaseIo.h"
#include "dxf/DxfReader.h"

namespace {

// One drawing with an entity of each kind the selection filters look at.
const char* kDrawing =
    "0\nSECTION\n2\nENTITIES\n"
    "0\nLINE\n5\n30\n100\nAcDbEntity\n8\nWALLS\n62\n3\n100\nAcDbLine\n10\n1.0\n20\n2.0\n30\n3."
    "0\n11\n4.0\n21\n5.0\n"
    "31\n6.0\n"
    "0\nLWPOLYLINE\n5\n31\n100\nAcDbEntity\n8\nSLABS\n60\n1\n100\nAcDbPolyline\n90\n2\n70\n1\n39\n2"
    "800.0\n10\n0.0\n"
    "20\n0.0\n10\n1.0\n20\n0.0\n"
    "0\nINSERT\n5\n32\n100\nAcDbEntity\n8\nSUN-WINDOW\n100\nAcDbBlockReference\n2\n_SUNWD\n10\n7."
    "0\n20\n8.0\n30\n"
    "0.0\n"
    "0\nMTEXT\n5\n33\n100\nAcDbEntity\n8\nNOTES\n100\nAcDbMText\n10\n1.0\n20\n1.0\n30\n0.0\n40\n2."
    "5\n1\nnote\n"
    "0\nENDSEC\n0\nEOF\n";

struct Query {
    int entity;  // index in model space
    short code;
    const char* text;  // expected text, or null
    double number;     // expected number when text is null and point is false
    bool point;
};

const Query kQueries[] = {
    {0, 0, "LINE", 0, false},   {0, 8, "WALLS", 0, false},     {0, 62, nullptr, 3, false},
    {0, 10, nullptr, 0, true},  {0, 39, nullptr, 0, false},    {1, 0, "LWPOLYLINE", 0, false},
    {1, 70, nullptr, 1, false}, {1, 39, nullptr, 2800, false}, {1, 60, nullptr, 1, false},
    {2, 0, "INSERT", 0, false}, {2, 2, "_SUNWD", 0, false},    {2, 8, "SUN-WINDOW", 0, false},
    {3, 0, "MTEXT", 0, false},  {3, 1, "note", 0, false},      {3, 40, nullptr, 2.5, false},
    {3, 8, "NOTES", 0, false},
};

TEST(DbFilterValue, EntitiesAnswerForTheirGroupCodes) {
    AcDbDatabase db(false);
    solx::db::loadDocument(db, solx::dxf::parseDocument(kDrawing, "filters"), "filters");
    auto* ms = dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
    ASSERT_EQ(ms->entityIds().length(), 4);
    for (const Query& q : kQueries) {
        SCOPED_TRACE(std::to_string(q.entity) + " code " + std::to_string(q.code));
        auto v = ms->entityIds()[static_cast<size_t>(q.entity)].object()->groupValue(q.code);
        ASSERT_TRUE(v.has_value());
        if (q.text) {
            EXPECT_EQ(v->text, acdbWide(q.text));
        } else if (q.point) {
            EXPECT_TRUE(v->isPoint);
            EXPECT_TRUE(v->point.isEqualTo({1, 2, 3}));
        } else {
            EXPECT_TRUE(v->isNumber);
            EXPECT_DOUBLE_EQ(v->number, q.number);
        }
    }
    EXPECT_FALSE(ms->entityIds()[2].object()->groupValue(40).has_value());  // an insert has no 40
}

TEST(DbFilterValue, VisibilityFollowsTheEntityAndItsLayer) {
    AcDbDatabase db(false);
    solx::db::loadDocument(db, solx::dxf::parseDocument(kDrawing, "filters"), "filters");
    auto* ms = dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
    auto* line = dynamic_cast<AcDbEntity*>(ms->entityIds()[0].object());
    auto* hidden = dynamic_cast<AcDbEntity*>(ms->entityIds()[1].object());
    EXPECT_FALSE(hidden->isVisible());  // group 60 = 1
    db.ensureSymbol(L"LAYER", L"WALLS");
    auto* walls = dynamic_cast<AcDbLayerTableRecord*>(line->layerId().object());
    ASSERT_NE(walls, nullptr);
    EXPECT_TRUE(line->isVisible());
    walls->setIsOff(true);
    EXPECT_FALSE(line->isVisible());
    walls->setIsOff(false);
    walls->setIsFrozen(true);
    EXPECT_FALSE(line->isVisible());
    EXPECT_EQ(walls->colorIndex(), 7);  // switching off does not lose the colour
}

}  // namespace
