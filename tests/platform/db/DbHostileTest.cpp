// Drawings built to hurt: blocks that insert themselves, nesting that multiplies, handles at the
// ends of their range, huge angles, values that cannot be written, tables of many blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <set>
#include <string>

#include "DbTestSupport.h"
#include "acad/acdb.h"
#include "db/DatabaseIo.h"
#include "dxf/DxfReader.h"

namespace fs = std::filesystem;

namespace {

std::string tags(std::initializer_list<std::pair<int, std::string>> pairs) {
    std::string s;
    for (const auto& [code, value] : pairs) s += std::to_string(code) + "\n" + value + "\n";
    return s;
}

void load(AcDbDatabase& db, const std::string& entities, const std::string& blocks = "",
          const std::string& objects = "") {
    std::string text;
    if (!blocks.empty()) text += tags({{0, "SECTION"}, {2, "BLOCKS"}}) + blocks + "0\nENDSEC\n";
    text += tags({{0, "SECTION"}, {2, "ENTITIES"}}) + entities + "0\nENDSEC\n";
    if (!objects.empty()) text += tags({{0, "SECTION"}, {2, "OBJECTS"}}) + objects + "0\nENDSEC\n";
    text += "0\nEOF\n";
    solx::db::loadDocument(db, solx::dxf::parseDocument(text, "case.dxf"), "case.dxf");
}

AcDbBlockTableRecord* block(AcDbDatabase& db, const wchar_t* name) {
    AcDbBlockTableRecord* rec = nullptr;
    db.addBlock(name, &rec);
    return rec;
}

AcDbBlockReference* insert(AcDbBlockTableRecord* owner, AcDbBlockTableRecord* of,
                           const AcGePoint3d& at) {
    auto* ref = new AcDbBlockReference(at, of->objectId());
    owner->appendAcDbEntity(ref);
    return ref;
}

AcDbBlockTableRecord* modelSpace(AcDbDatabase& db) {
    return dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
}

// Ten inserts of the level below on each of twelve levels: 10^12 lines through 13 blocks.
TEST(DbHostile, ExtentsOfExponentialNestingComeFromEachBlockOnce) {
    AcDbDatabase db;
    AcDbBlockTableRecord* below = block(db, L"L0");
    below->appendAcDbEntity(new AcDbLine({0, 0, 0}, {1, 1, 0}));
    for (int level = 1; level <= 12; ++level) {
        AcDbBlockTableRecord* b = block(db, (L"L" + std::to_wstring(level)).c_str());
        for (int i = 0; i < 10; ++i) insert(b, below, {2.0 * i, 0, 0});
        below = b;
    }
    AcDbBlockReference* top = insert(modelSpace(db), below, {100, 50, 0});
    AcDbExtents ext;
    ASSERT_EQ(top->getGeomExtents(ext), Acad::eOk);
    // Each level reaches 18 further in x: 12 * 18 + 1.
    EXPECT_NEAR(ext.minPoint().x, 100, 1e-9);
    EXPECT_NEAR(ext.maxPoint().x, 100 + 217, 1e-9);
    EXPECT_NEAR(ext.minPoint().y, 50, 1e-9);
    EXPECT_NEAR(ext.maxPoint().y, 51, 1e-9);

    // A small nested insert, rotated, still gets tight extents (not a turned box).
    AcDbBlockTableRecord* l1 =
        dynamic_cast<AcDbBlockTableRecord*>(db.symbolId(L"BLOCK_RECORD", L"L1").object());
    AcDbBlockReference* small = insert(modelSpace(db), l1, {0, 0, 0});
    small->setRotation(M_PI / 2);
    ASSERT_EQ(small->getGeomExtents(ext), Acad::eOk);
    EXPECT_NEAR(ext.minPoint().x, -1, 1e-9);
    EXPECT_NEAR(ext.maxPoint().x, 0, 1e-9);
    EXPECT_NEAR(ext.maxPoint().y, 19, 1e-9);
}

// Cycles made after loading (no load-time mark) end too: the way back counts as empty.
TEST(DbHostile, ExtentsEndForBlocksThatInsertThemselvesAfterLoading) {
    AcDbDatabase db;
    AcDbBlockTableRecord* a = block(db, L"A");
    AcDbBlockTableRecord* b = block(db, L"B");
    a->appendAcDbEntity(new AcDbLine({0, 0, 0}, {1, 1, 0}));
    insert(a, a, {10, 0, 0});
    insert(a, b, {0, 20, 0});
    b->appendAcDbEntity(new AcDbLine({0, 0, 0}, {1, 0, 0}));
    insert(b, a, {0, 0, 0});
    AcDbBlockReference* ref = insert(modelSpace(db), a, {0, 0, 0});
    AcDbExtents ext;
    ASSERT_EQ(ref->getGeomExtents(ext), Acad::eOk);
    EXPECT_TRUE(std::isfinite(ext.maxPoint().x) && std::isfinite(ext.maxPoint().y));
    EXPECT_GE(ext.maxPoint().y, 20);  // B's line, drawn once through A
}

// Loading marks the inserts of a cycle and reports each; they explode to nothing.
TEST(DbHostile, LoadMarksAndReportsInsertsThatLeadBackToTheirBlock) {
    const std::string line =
        tags({{0, "LINE"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}});
    auto blockText = [&](const std::string& name, const std::string& body) {
        return tags({{0, "BLOCK"}, {2, name}, {70, "0"}, {10, "0"}, {20, "0"}}) + body +
               "0\nENDBLK\n";
    };
    auto insertText = [](const std::string& name, const std::string& handle) {
        return tags({{0, "INSERT"}, {5, handle}, {8, "0"}, {2, name}, {10, "0"}, {20, "0"}});
    };
    AcDbDatabase db(false);
    load(db, insertText("A", "A1") + insertText("C", "A2") + insertText("*Model_Space", "A3"),
         blockText("A", line + insertText("B", "B1")) + blockText("B", insertText("A", "B2")) +
             blockText("C", line + insertText("A", "C1")));
    std::set<std::wstring> marked;
    db.forEachObject([&](AcDbObject* o) {
        if (auto* ref = dynamic_cast<AcDbBlockReference*>(o); ref && ref->closesCycle())
            marked.insert(ref->handle().toString());
    });
    // A <-> B is a cycle, and so is model space inserting itself; C and A1, A2 only lead into
    // one.
    EXPECT_EQ(marked, (std::set<std::wstring>{L"B1", L"B2", L"A3"}));
    ASSERT_EQ(db.loadWarnings().size(), 3u);
    EXPECT_NE(db.loadWarnings()[0].find(L"case.dxf: the insert of block \"B\" (handle B1)"),
              std::wstring::npos)
        << acdbUtf8(db.loadWarnings()[0]);

    auto* b2 = dynamic_cast<AcDbBlockReference*>(db.idOf(AcDbHandle(L"B2")).object());
    ASSERT_NE(b2, nullptr);
    AcDbVoidPtrArray parts;
    EXPECT_EQ(b2->explode(parts), Acad::eOk);
    EXPECT_EQ(parts.length(), 0);
}

// Handles at the ends of their range, zero and repeated: every saved handle is unique and not
// zero, and the named-objects dictionary with the largest handle is still found.
TEST(DbHostile, HandlesAtTheEndsOfTheRangeZeroOrRepeatedGetFreshOnes) {
    auto line = [](const std::string& handle) {
        return tags(
            {{0, "LINE"}, {5, handle}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}});
    };
    AcDbDatabase db(false);
    load(db,
         line("FFFFFFFFFFFFFFFF") + line("0") + line("2A") + line("2A") + line("7FFFFFFFFFFFFFFF"),
         "", tags({{0, "DICTIONARY"}, {5, "FFFFFFFFFFFFFFFF"}, {100, "AcDbDictionary"}}));
    EXPECT_NE(dynamic_cast<AcDbDictionary*>(db.namedObjectsDictionaryId().object()), nullptr);
    // Nothing was lost for want of a handle: the tables the loader adds, and every line.
    for (const wchar_t* table : {L"VPORT", L"LTYPE", L"LAYER", L"STYLE", L"APPID", L"BLOCK_RECORD"})
        EXPECT_FALSE(db.tableId(table).isNull()) << acdbUtf8(table);
    EXPECT_EQ(modelSpace(db)->entityIds().length(), 5);
    EXPECT_TRUE(db.idOf(AcDbHandle(L"7FFFFFFFFFFFFFFF")).isValid());
    solx::dxf::Document saved = solx::db::saveDocument(db);
    std::set<std::string> seen;
    auto check = [&](const solx::dxf::Record& r) {
        for (const auto& t : r.tags)
            if (t.code == 5 || (t.code == 105 && r.type == "DIMSTYLE")) {
                EXPECT_NE(t.value, "0") << r.type;
                EXPECT_TRUE(seen.insert(t.value).second) << r.type << " repeats " << t.value;
            }
    };
    for (const auto& t : saved.tables) {
        check(t.head);
        for (const auto& r : t.entries) check(r);
    }
    for (const auto& b : saved.blocks) {
        check(b.begin), check(b.end);
        for (const auto& e : b.entities) check(e.record);
    }
    for (const auto& e : saved.entities) check(e.record);
    for (const auto& r : saved.objects) check(r);
    EXPECT_GE(seen.size(), 5u + 2u);
}

TEST(DbHostile, HugeAnglesAreReducedToOneTurn) {
    AcDbDatabase db(false);
    load(db, tags({{0, "ARC"},
                   {5, "A"},
                   {8, "0"},
                   {10, "0"},
                   {20, "0"},
                   {40, "1"},
                   {50, "7e307"},
                   {51, "-1e17"}}) +
                 tags({{0, "TEXT"},
                       {5, "B"},
                       {8, "0"},
                       {10, "0"},
                       {20, "0"},
                       {40, "1"},
                       {1, "t"},
                       {50, "1.7e308"}}));
    auto* arc = dynamic_cast<AcDbArc*>(db.idOf(AcDbHandle(L"A")).object());
    auto* text = dynamic_cast<AcDbText*>(db.idOf(AcDbHandle(L"B")).object());
    ASSERT_TRUE(arc && text);
    for (double a : {arc->startAngle(), arc->endAngle(), text->rotation()}) {
        EXPECT_TRUE(std::isfinite(a));
        EXPECT_LE(std::abs(a), 2 * M_PI);
    }
    // -1e17 is a whole number of degrees: 1e17 = 360 * 277777777777777 + 280.
    EXPECT_NEAR(arc->endAngle() * 180 / M_PI, -280, 1e-9);
}

// A value that would not read back stops the save; the file on disk stays as it was.
TEST(DbHostile, NonFiniteValueIsNeverWritten) {
    const fs::path dir = solx::dbtest::scratchDir("nonfinite");
    const fs::path path = dir / "drawing.dxf";
    AcDbDatabase db;
    auto* circle =
        new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, std::numeric_limits<double>::infinity());
    modelSpace(db)->appendAcDbEntity(circle);
    EXPECT_EQ(db.dxfOut(path.wstring().c_str()), Acad::eCannotWriteFile);
    const std::string message = acdbUtf8(db.lastError());
    EXPECT_NE(message.find("'inf' of group code 40 in CIRCLE (handle " +
                           acdbUtf8(circle->handle().toString()) + ")"),
              std::string::npos)
        << message;
    EXPECT_FALSE(fs::exists(path));
    for (const auto& entry : fs::directory_iterator(dir)) ADD_FAILURE() << entry.path();
}

// Lookups by name go through an index: renames, erasures and many records keep it right.
TEST(DbHostile, BlockLookupByNameFollowsRenamesAndErasures) {
    AcDbDatabase db;
    for (int i = 0; i < 20000; ++i) block(db, (L"B" + std::to_wstring(i)).c_str());
    EXPECT_FALSE(db.symbolId(L"BLOCK_RECORD", L"b19999").isNull());  // names ignore case
    EXPECT_TRUE(db.symbolId(L"BLOCK_RECORD", L"B20000").isNull());

    AcDbBlockTableRecord* b7 =
        dynamic_cast<AcDbBlockTableRecord*>(db.symbolId(L"BLOCK_RECORD", L"B7").object());
    ASSERT_NE(b7, nullptr);
    b7->setName(L"Renamed");
    EXPECT_TRUE(db.symbolId(L"BLOCK_RECORD", L"B7").isNull());
    EXPECT_EQ(db.symbolId(L"BLOCK_RECORD", L"RENAMED"), b7->objectId());

    // An erased record gives way to a new one of the same name.
    b7->erase();
    EXPECT_TRUE(db.symbolId(L"BLOCK_RECORD", L"Renamed").isNull());
    AcDbBlockTableRecord* again = block(db, L"Renamed");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(db.symbolId(L"BLOCK_RECORD", L"Renamed"), again->objectId());
}

}  // namespace
