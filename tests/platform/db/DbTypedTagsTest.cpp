// Typed entities take the codes they model and put every other tag back where it stood.
#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "db/DatabaseIo.h"
#include "dxf/DxfReader.h"

namespace {

using solx::dxf::Document;

// A drawing of one entity section; the default drawing supplies everything else on save.
std::string drawing(const std::string& entities) {
    return "0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

std::string tagsText(const solx::dxf::Entity& e) {
    std::string s = e.record.type + "\n";
    // Owners are compared elsewhere: the test drawings have no block records to own them.
    auto add = [&](const solx::dxf::Record& r) {
        bool owner = true;
        for (const auto& t : r.tags) {
            bool isOwner = t.code == 330 && owner;
            owner = owner && t.code != 330;
            s += std::to_string(t.code) + "=" + (isOwner ? "owner" : t.value) + "\n";
        }
    };
    add(e.record);
    for (const auto& c : e.children) {
        s += c.type + "\n";
        add(c);
    }
    return s;
}

struct Case {
    const char* name;
    const char* entity;  // group code and value lines, in the order the writer uses
};

// Each entity carries tags the typed class does not model (lineweight, true colour, vertex
// ids, an unknown code, other applications' data) between the ones it does.
const Case kCases[] = {
    {"line",
     "0\nLINE\n5\n2A\n330\n1F\n100\nAcDbEntity\n8\nWALLS\n62\n3\n370\n35\n420\n1193046\n100\nAcDbLi"
     "ne\n"
     "10\n1.5\n20\n2.0\n30\n0.0\n11\n4.0\n21\n5.0\n31\n6.25\n1001\nACAD\n1000\nkept\n1070\n7\n"},
    {"circle with normal",
     "0\nCIRCLE\n5\n2B\n330\n1F\n100\nAcDbEntity\n8\n0\n100\nAcDbCircle\n39\n2.0\n10\n1.0\n20\n2."
     "0\n30\n3.0\n"
     "40\n4.5\n210\n0.0\n220\n0.6\n230\n0.8\n"},
    {"lightweight polyline",
     "0\nLWPOLYLINE\n5\n2C\n330\n1F\n100\nAcDbEntity\n8\n0\n100\nAcDbPolyline\n90\n3\n70\n129\n38\n"
     "3.0\n"
     "39\n9.0\n10\n0.0\n20\n0.0\n91\n7\n10\n10.0\n20\n0.0\n91\n8\n42\n0.5\n10\n10.0\n20\n10."
     "0\n91\n9\n"},
    {"text with vertical mode",
     "0\nTEXT\n5\n2D\n330\n1F\n100\nAcDbEntity\n8\n0\n100\nAcDbText\n10\n1.0\n20\n2.0\n30\n0."
     "0\n40\n3.5\n"
     "1\n日照 "
     "text\n50\n30.0\n7\nStandard\n72\n1\n11\n1.0\n21\n2.0\n31\n0.0\n100\nAcDbText\n73\n2\n"},
    {"polygon mesh kept whole",
     "0\nPOLYLINE\n5\n2E\n330\n1F\n100\nAcDbEntity\n8\n0\n100\nAcDbPolygonMesh\n66\n1\n10\n0."
     "0\n20\n0.0\n"
     "30\n0."
     "0\n70\n16\n71\n2\n72\n2\n0\nVERTEX\n5\n2F\n330\n2E\n100\nAcDbEntity\n8\n0\n100\nAcDbVertex\n"
     "100\nAcDbPolygonMeshVertex\n10\n0.0\n20\n0.0\n30\n0."
     "0\n70\n64\n0\nSEQEND\n5\n30\n330\n2E\n100\n"
     "AcDbEntity\n8\n0\n"},
    {"3d polyline",
     "0\nPOLYLINE\n5\n31\n330\n1F\n100\nAcDbEntity\n8\n0\n100\nAcDb3dPolyline\n66\n1\n10\n0."
     "0\n20\n0.0\n"
     "30\n0.0\n70\n8\n0\nVERTEX\n5\n32\n330\n31\n100\nAcDbEntity\n8\n0\n100\nAcDbVertex\n100\n"
     "AcDb3dPolylineVertex\n10\n1.0\n20\n2.0\n30\n3."
     "0\n70\n32\n0\nVERTEX\n5\n33\n330\n31\n100\nAcDbEntity\n"
     "8\n0\n100\nAcDbVertex\n100\nAcDb3dPolylineVertex\n10\n4.0\n20\n5.0\n30\n6."
     "0\n70\n32\n0\nSEQEND\n5\n34\n"
     "330\n31\n100\nAcDbEntity\n8\n0\n"},
};

class DbTypedTags : public ::testing::TestWithParam<Case> {};

TEST_P(DbTypedTags, UntouchedEntityIsWrittenBackTagForTag) {
    Document in = solx::dxf::parseDocument(drawing(GetParam().entity), "case");
    ASSERT_EQ(in.entities.size(), 1u);
    AcDbDatabase db(false);
    solx::db::loadDocument(db, in, "case");
    Document out = solx::db::saveDocument(db);
    ASSERT_EQ(out.entities.size(), 1u);
    EXPECT_EQ(tagsText(out.entities[0]), tagsText(in.entities[0]));
}

INSTANTIATE_TEST_SUITE_P(Entities, DbTypedTags, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& p) {
                             std::string n = p.param.name;
                             for (char& c : n)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return n;
                         });

// Edits change what they model and nothing else; the reader takes the typed values.
TEST(DbTypedTagsEdit, EditedLineKeepsItsUnmodelledTags) {
    Document in = solx::dxf::parseDocument(drawing(kCases[0].entity), "case");
    AcDbDatabase db(false);
    solx::db::loadDocument(db, in, "case");
    auto* ms = dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
    auto* line = dynamic_cast<AcDbLine*>(ms->entityIds()[0].object());
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->endPoint().isEqualTo({4, 5, 6.25}));
    EXPECT_EQ(line->layer(), L"WALLS");
    line->setEndPoint({7, 8, 9});
    std::string text = tagsText(solx::db::saveDocument(db).entities[0]);
    EXPECT_NE(text.find("370=35\n420=1193046\n100=AcDbLine"), std::string::npos) << text;
    EXPECT_NE(text.find("11=7.0\n21=8.0\n31=9.0\n1001=ACAD"), std::string::npos) << text;
}

}  // namespace
