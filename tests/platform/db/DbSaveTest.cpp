// What every save must hold: unique handles under $HANDSEED, owners that exist, nothing erased;
// and a failed load leaves the database as it was.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "DbTestSupport.h"
#include "dxf/DxfReader.h"

namespace {

using solx::dxf::Record;

uint64_t hex(const std::string& s) {
    return std::stoull(s, nullptr, 16);
}

// Handle and owner of every record of a saved file, in one list.
struct Ids {
    std::vector<std::pair<uint64_t, uint64_t>> records;  // handle, owner (0 = none)
    uint64_t seed = 0;
};

Ids collect(const solx::dxf::Document& doc) {
    Ids ids;
    auto add = [&](const Record& r) {
        uint64_t h = 0, owner = 0;
        bool inGroup = false, pastHead = false;  // reactor groups hold 330s that are not owners
        for (const auto& t : r.tags) {
            if ((t.code == 5 || t.code == 105) && h == 0) h = hex(t.value);
            if (t.code == 102) inGroup = t.value != "}";
            if (t.code == 330 && !inGroup && !pastHead && owner == 0) owner = hex(t.value);
            if (t.code == 100) pastHead = true;
        }
        ids.records.emplace_back(h, owner);
    };
    for (const auto& t : doc.tables) {
        add(t.head);
        for (const auto& e : t.entries) add(e);
    }
    auto addEntity = [&](const solx::dxf::Entity& e) {
        add(e.record);
        for (const auto& c : e.children) add(c);
    };
    for (const auto& b : doc.blocks) {
        add(b.begin);
        add(b.end);
        for (const auto& e : b.entities) addEntity(e);
    }
    for (const auto& e : doc.entities) addEntity(e);
    for (const auto& o : doc.objects) add(o);
    for (size_t i = 0; i + 1 < doc.header.size(); ++i)
        if (doc.header[i].value == "$HANDSEED") ids.seed = hex(doc.header[i + 1].value);
    return ids;
}

TEST(DbSave, HandlesAreUniqueBelowTheSeedAndOwnersExist) {
    AcDbDatabase db;
    auto* ms = dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
    AcDbObjectId erased;
    ms->appendAcDbEntity(erased, new AcDbLine({0, 0, 0}, {1, 1, 0}));
    auto* poly = new AcDb3dPolyline(AcDb::k3dSimplePoly, {{0, 0, 0}, {1, 0, 0}, {1, 1, 1}});
    ms->appendAcDbEntity(poly);
    auto* region = new AcDbRegion();
    region->setPolygons({{{{0, 0}, {1, 0}, {1, 1}}, {}}});
    ms->appendAcDbEntity(region);
    erased.object()->erase();
    auto* groups = dynamic_cast<AcDbDictionary*>(db.groupDictionaryId().object());
    auto* group = new AcDbGroup(L"");
    AcDbObjectId groupId;
    groups->setAt(L"*", group, groupId);
    group->append(erased);
    group->append(poly->objectId());

    auto path = solx::dbtest::scratchDir("save") / "saved.dxf";
    ASSERT_EQ(db.dxfOut(path.wstring().c_str()), Acad::eOk);
    solx::dxf::Document doc = solx::dxf::readDocument(path.string());
    Ids ids = collect(doc);
    std::set<uint64_t> handles;
    for (auto [h, owner] : ids.records) {
        EXPECT_NE(h, 0u);
        EXPECT_TRUE(handles.insert(h).second) << "handle " << std::hex << h << " twice";
        EXPECT_LT(h, ids.seed);
    }
    for (auto [h, owner] : ids.records) {
        if (owner != 0) {
            EXPECT_TRUE(handles.count(owner)) << std::hex << h << " owned by missing " << owner;
        }
    }
    EXPECT_FALSE(handles.count(erased.handle().value()));  // erased: not written
    EXPECT_EQ(doc.entities.size(), 2u);                    // the polyline and the region's insert
    EXPECT_EQ(doc.entities[0].children.size(), 4u);        // three vertices and the SEQEND
}

// Drawings that lack the BLOCKS section (or every section but ENTITIES) still save with a handle
// for every record, BLOCK and ENDBLK included, which an independent reader checks.
TEST(DbSave, DrawingsWithoutBlocksSaveWithEveryHandle) {
    const std::string line =
        "  0\nLINE\n  5\n30\n330\n1F\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n"
        " 10\n0\n 20\n0\n 30\n0\n 11\n5\n 21\n5\n 31\n0\n";
    const std::string record = "100\nAcDbSymbolTableRecord\n100\nAcDbBlockTableRecord\n  2\n";
    const std::string noBlocks =
        "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1024\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nBLOCK_RECORD\n  5\n1\n330\n0\n"
        "100\nAcDbSymbolTable\n 70\n2\n"
        "  0\nBLOCK_RECORD\n  5\n1F\n330\n1\n" +
        record +
        "*Model_Space\n"
        "  0\nBLOCK_RECORD\n  5\n1B\n330\n1\n" +
        record +
        "*Paper_Space\n"
        "  0\nENDTAB\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nENTITIES\n" +
        line + "  0\nENDSEC\n  0\nEOF\n";
    const std::string entitiesOnly =
        "  0\nSECTION\n  2\nENTITIES\n" + line + "  0\nENDSEC\n  0\nEOF\n";
    auto dir = solx::dbtest::scratchDir("noblocks");
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const auto& [name, text] :
         {std::pair{"no-blocks", noBlocks}, {"entities-only", entitiesOnly}}) {
        const std::string original = (dir / (std::string(name) + ".dxf")).string();
        const std::string saved = (dir / (std::string(name) + ".saved.dxf")).string();
        std::ofstream(original) << text;
        ASSERT_EQ(solx::dbtest::loadAndSave(original, saved), "") << name;
        Ids ids = collect(solx::dxf::readDocument(saved));
        std::set<uint64_t> handles;
        for (auto [h, owner] : ids.records) {
            EXPECT_NE(h, 0u) << name;
            EXPECT_TRUE(handles.insert(h).second)
                << name << ": handle " << std::hex << h << " twice";
        }
        pairs.emplace_back(original, saved);
    }
    for (const auto& failure : solx::dbtest::checkRoundTrips(pairs, dir)) ADD_FAILURE() << failure;
}

TEST(DbSave, FailedLoadNamesTheFileAndKeepsTheDrawing) {
    AcDbDatabase db;
    auto* ms = dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
    ms->appendAcDbEntity(new AcDbPoint({1, 2, 3}));
    auto dir = solx::dbtest::scratchDir("badload");
    auto bad = dir / "truncated.dxf";
    std::ofstream(bad) << "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n";
    for (const auto& path : {bad, dir / "missing.dxf"}) {
        EXPECT_EQ(db.readDxfFile(path.wstring().c_str()), Acad::eBadDxfFile);
        EXPECT_NE(db.lastError().find(path.filename().wstring()), std::wstring::npos)
            << acdbUtf8(db.lastError());
    }
    ms = dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
    ASSERT_NE(ms, nullptr);
    EXPECT_EQ(ms->entityIds().length(), 1);
}

}  // namespace
