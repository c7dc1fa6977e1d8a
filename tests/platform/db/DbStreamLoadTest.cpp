// Opening a drawing hands the reader's entities to the database one at a time: entities must
// arrive whole across their boundaries, fresh handles must stay clear of handles further down the
// file, errors must still name their line, and what we do not model must survive. Names many
// objects carry are shared: sharing must never let one object's change reach another.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "DbTestSupport.h"
#include "acad/acdb.h"
#include "db/DatabaseIo.h"
#include "dxf/DxfReader.h"

namespace {

using solx::dxf::Document;
using solx::dxf::DxfError;
using solx::dxf::Entity;
using Pairs = std::vector<std::pair<int, std::string>>;

std::string tags(const Pairs& pairs) {
    std::string s;
    for (const auto& [code, value] : pairs) s += std::to_string(code) + "\n" + value + "\n";
    return s;
}

// "0 LINE|5 2A|8 0" as DXF text: pairs split at '|', code and value at the first space.
std::string dxf(std::string_view pairs) {
    std::string s;
    for (size_t at = 0; at <= pairs.size();) {
        size_t bar = std::min(pairs.find('|', at), pairs.size());
        std::string_view p = pairs.substr(at, bar - at);
        size_t space = p.find(' ');
        s += std::string(p.substr(0, space)) + "\n" + std::string(p.substr(space + 1)) + "\n";
        at = bar + 1;
    }
    return s;
}

std::string section(const std::string& name, const std::string& body) {
    return dxf("0 SECTION|2 " + name) + body + "0\nENDSEC\n";
}

// 1-based line of the first occurrence of NEEDLE (which starts a line) in TEXT.
long lineOf(const std::string& text, const std::string& needle) {
    size_t at = text.find(needle);
    EXPECT_NE(at, std::string::npos) << needle;
    return 1 + static_cast<long>(std::count(text.begin(), text.begin() + at, '\n'));
}

// Every entity record kind that has children, an unknown entity between them, and a plain
// entity right before ENDSEC; each record carries its handle.
struct Sample {
    std::string unknown =
        dxf("0 ACME_BEAM|5 40|330 1F|100 AcDbEntity|8 0|100 AcmeBeam|1 keep me|10 1.50|20 -0.000|"
            "1071 7");
    std::string entities =
        dxf("0 INSERT|5 30|330 1F|100 AcDbEntity|8 0|100 AcDbBlockReference|66 1|2 B|10 0|20 0|"
            "30 0|"
            "0 ATTRIB|5 31|330 30|100 AcDbEntity|8 0|100 AcDbText|10 0|20 0|30 0|40 1|1 v1|"
            "100 AcDbAttribute|2 T1|70 0|"
            "0 ATTRIB|5 32|330 30|100 AcDbEntity|8 0|100 AcDbText|10 0|20 0|30 0|40 1|1 v2|"
            "100 AcDbAttribute|2 T2|70 0|"
            "0 SEQEND|5 33|330 30|100 AcDbEntity|8 0|"
            "0 POLYLINE|5 34|330 1F|100 AcDbEntity|8 0|100 AcDb2dPolyline|66 1|10 0|20 0|30 0|"
            "0 VERTEX|5 35|330 34|100 AcDbEntity|8 0|100 AcDbVertex|100 AcDb2dVertex|10 0|20 0|"
            "30 0|"
            "0 VERTEX|5 36|330 34|100 AcDbEntity|8 0|100 AcDbVertex|100 AcDb2dVertex|10 5|20 0|"
            "30 0|"
            "0 SEQEND|5 37|330 34|100 AcDbEntity|8 0") +
        unknown +
        // An insert without attributes, then a line right before ENDSEC.
        dxf("0 INSERT|5 41|330 1F|100 AcDbEntity|8 0|100 AcDbBlockReference|2 B|10 3|20 0|30 0|"
            "0 LINE|5 42|330 1F|100 AcDbEntity|8 0|100 AcDbLine|10 0|20 0|30 0|11 1|21 1|31 0");
    std::string tables = section(
        "TABLES",
        dxf("0 TABLE|2 BLOCK_RECORD|5 1|330 0|100 AcDbSymbolTable|70 2|"
            "0 BLOCK_RECORD|5 1F|330 1|100 AcDbSymbolTableRecord|100 AcDbBlockTableRecord|"
            "2 *Model_Space|"
            "0 BLOCK_RECORD|5 20|330 1|100 AcDbSymbolTableRecord|100 AcDbBlockTableRecord|2 B|"
            "0 ENDTAB"));
    std::string blocks = section(
        "BLOCKS", dxf("0 BLOCK|5 21|330 20|100 AcDbEntity|8 0|100 AcDbBlockBegin|2 B|70 0|10 0|"
                      "20 0|30 0|0 ENDBLK|5 22|330 20|100 AcDbEntity|8 0|100 AcDbBlockEnd"));
    std::string objects =
        section("OBJECTS", dxf("0 DICTIONARY|5 C|330 0|100 AcDbDictionary|281 1"));
    std::string header = section("HEADER", dxf("9 $ACADVER|1 AC1024"));

    std::string text(const std::string& ents) const {
        return header + tables + blocks + section("ENTITIES", ents) + objects + "0\nEOF\n";
    }
    std::string text() const { return text(entities); }
};

struct Recorder : solx::dxf::EntitySink {
    std::vector<std::string> sections;
    std::vector<std::pair<std::string, std::string>> records;
    std::vector<Entity> entities;
    bool take = true;
    size_t blocksSeen = 0, objectsSeen = 0;
    void scannedSection(std::string_view name) override { sections.emplace_back(name); }
    void scannedRecord(std::string_view type, std::string_view handle) override {
        records.emplace_back(type, handle);
    }
    bool beginEntities(Document& doc) override {
        blocksSeen = doc.blocks.size(), objectsSeen = doc.objects.size();
        return take;
    }
    void entity(Entity&& e) override { entities.push_back(std::move(e)); }
};

std::string handleOf(const solx::dxf::Record& r) {
    for (const auto& t : r.tags)
        if (t.code == 5) return t.value;
    return {};
}

TEST(DxfStream, EntitiesArriveWholeAcrossTheirBoundaries) {
    Sample s;
    Recorder sink;
    Document doc = solx::dxf::parseDocument(s.text(), "s.dxf", &sink);
    EXPECT_TRUE(doc.entities.empty());
    EXPECT_EQ(sink.blocksSeen, 1u);   // what comes before ENTITIES is there when it starts
    EXPECT_EQ(sink.objectsSeen, 0u);  // and nothing after it
    EXPECT_EQ(doc.objects.size(), 1u);
    struct Want {
        const char* type;
        const char* handle;
        std::vector<std::string> children;
    };
    const std::vector<Want> want = {{"INSERT", "30", {"31", "32", "33"}},
                                    {"POLYLINE", "34", {"35", "36", "37"}},
                                    {"ACME_BEAM", "40", {}},
                                    {"INSERT", "41", {}},
                                    {"LINE", "42", {}}};
    ASSERT_EQ(sink.entities.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        const Entity& e = sink.entities[i];
        EXPECT_EQ(e.record.type, want[i].type);
        EXPECT_EQ(handleOf(e.record), want[i].handle);
        std::vector<std::string> children;
        for (const auto& c : e.children) children.push_back(handleOf(c));
        EXPECT_EQ(children, want[i].children) << want[i].type;
    }
    // The unknown entity's tags, value text included, as the file has them.
    const auto& beam = sink.entities[2].record.tags;
    ASSERT_EQ(beam.size(), 9u);
    EXPECT_EQ(beam[6].value, "1.50");
    EXPECT_EQ(beam[7].value, "-0.000");
    EXPECT_EQ(beam[8].code, 1071);
}

TEST(DxfStream, FirstPassNamesSectionsAndEveryRecordHandle) {
    Sample s;
    Recorder sink;
    solx::dxf::parseDocument(s.text(), "s.dxf", &sink);
    EXPECT_EQ(sink.sections,
              (std::vector<std::string>{"HEADER", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS"}));
    // Every record of the object sections with the handle written above, ENDTAB aside; the
    // header's $HANDSEED-like values are not records.
    std::vector<std::pair<std::string, std::string>> want = {
        {"TABLE", "1"},     {"BLOCK_RECORD", "1F"}, {"BLOCK_RECORD", "20"}, {"BLOCK", "21"},
        {"ENDBLK", "22"},   {"INSERT", "30"},       {"ATTRIB", "31"},       {"ATTRIB", "32"},
        {"SEQEND", "33"},   {"POLYLINE", "34"},     {"VERTEX", "35"},       {"VERTEX", "36"},
        {"SEQEND", "37"},   {"ACME_BEAM", "40"},    {"INSERT", "41"},       {"LINE", "42"},
        {"DICTIONARY", "C"}};
    EXPECT_EQ(sink.records, want);
    // A dimension style's handle is its 105; its 5 is a block name in old files.
    Recorder dim;
    solx::dxf::parseDocument(section("TABLES", dxf("0 TABLE|2 DIMSTYLE|0 DIMSTYLE|105 2A|2 S|"
                                                   "5 ARCHTICK|0 DIMSTYLE|2 R12|5 ARCHTICK|"
                                                   "0 ENDTAB")) +
                                 "0\nEOF\n",
                             "d.dxf", &dim);
    EXPECT_EQ(dim.records, (std::vector<std::pair<std::string, std::string>>{
                               {"TABLE", ""}, {"DIMSTYLE", "2A"}, {"DIMSTYLE", ""}}));
}

TEST(DxfStream, ErrorsNameTheirLineAfterEntitiesWereHandedOn) {
    Sample s;
    // A value that is no number, in the third entity of the section.
    std::string bad = s.unknown;
    bad.replace(bad.find("10\n1.50\n"), 8, "10\n1.5x\n");
    std::string text = s.text(s.entities.substr(0, s.entities.find(s.unknown)) + bad +
                              s.entities.substr(s.entities.find(s.unknown) + s.unknown.size()));
    Recorder sink;
    try {
        solx::dxf::parseDocument(text, "s.dxf", &sink);
        FAIL() << "loaded";
    } catch (const DxfError& e) {
        EXPECT_EQ(e.line(), lineOf(text, "1.5x\n"));
        EXPECT_NE(std::string(e.what()).find("1.5x"), std::string::npos) << e.what();
    }
    EXPECT_EQ(sink.entities.size(), 2u);  // the two before it, whole

    // The first pass stops quietly at a tag it cannot read; the parse reports the fault that
    // comes first in the file (here a table without ENDTAB before a group code that is text).
    std::string first = section("TABLES", dxf("0 TABLE|2 LAYER|0 LAYER|2 A")) +
                        section("ENTITIES", "abc\nLINE\n") + "0\nEOF\n";
    Recorder quiet;
    try {
        solx::dxf::parseDocument(first, "f.dxf", &quiet);
        FAIL() << "loaded";
    } catch (const DxfError& e) {
        EXPECT_EQ(e.line(), lineOf(first, "0\nENDSEC\n"));
        EXPECT_NE(std::string(e.what()).find("ENDTAB"), std::string::npos) << e.what();
    }
}

std::string saved(void (*load)(AcDbDatabase&, const std::string&), const std::string& text) {
    AcDbDatabase db(false);
    load(db, text);
    return solx::db::serializeDatabase(db);
}
void streamed(AcDbDatabase& db, const std::string& text) {
    solx::db::loadDrawingBytes(db, text, "s.dxf");
}
void whole(AcDbDatabase& db, const std::string& text) {
    solx::db::loadDocument(db, solx::dxf::parseDocument(text, "s.dxf"), "s.dxf");
}

// Files without handles (R12) and files without tables make the loader give out handles before
// the entities come: those must not be handles that entities further down the file carry.
TEST(DbStreamLoad, FreshHandlesStayClearOfHandlesFurtherDown) {
    auto line = [](const std::string& handle, const std::string& x) {
        return dxf("0 LINE|" + (handle.empty() ? "" : "5 " + handle + "|") + "8 0|10 " + x +
                   "|20 0|30 0|11 9|21 9|31 0");
    };
    // No tables, no blocks: model space, its table and the layer table are made before the first
    // entity; a line without a handle comes first.
    std::string text =
        section("ENTITIES", line("", "7") + line("1", "1") + line("2", "2") + line("3", "3")) +
        "0\nEOF\n";
    AcDbDatabase db(false);
    solx::db::loadDrawingBytes(db, text, "r12.dxf");
    for (int h = 1; h <= 3; ++h) {
        auto* l = dynamic_cast<AcDbLine*>(db.idOf(AcDbHandle(static_cast<uint64_t>(h))).object());
        ASSERT_NE(l, nullptr) << "handle " << h;
        EXPECT_EQ(l->startPoint().x, h);
    }
    // The line without a handle got one above every handle of the file.
    auto* ms = dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
    ASSERT_NE(ms, nullptr);
    ASSERT_EQ(ms->entityIds().length(), 4);
    AcDbObjectId first = ms->entityIds()[0];
    EXPECT_GT(first.handle().value(), 3u);
    EXPECT_EQ(dynamic_cast<AcDbLine*>(first.object())->startPoint().x, 7);
}

TEST(DbStreamLoad, SameDrawingAsLoadingTheWholeDocument) {
    Sample s;
    const std::string r12 =
        section("HEADER", dxf("9 $ACADVER|1 AC1009")) +
        section("TABLES", dxf("0 TABLE|2 LAYER|70 1|0 LAYER|2 WALLS|70 0|62 1|6 CONTINUOUS|"
                              "0 ENDTAB")) +
        section("ENTITIES", dxf("0 LINE|8 WALLS|10 0|20 0|11 1|21 0|0 POLYLINE|8 0|66 1|"
                                "0 VERTEX|8 0|10 0|20 0|0 VERTEX|8 0|10 2|20 0|0 SEQEND|8 0")) +
        "0\nEOF\n";
    // Entities before the tables and blocks they need: they wait for the whole file.
    const std::string late =
        s.header + section("ENTITIES", s.entities) + s.tables + s.blocks + s.objects + "0\nEOF\n";
    // No ENTITIES section at all.
    const std::string none = s.header + s.tables + s.blocks + s.objects + "0\nEOF\n";
    for (const std::string& text : {s.text(), r12, late, none}) {
        std::string want = saved(whole, text);
        EXPECT_EQ(saved(streamed, text), want) << text.substr(0, 200);
    }
}

// Tag for tag, each value's text as the file had it ("1.50", "-0.000"); the writer only pads
// the group codes.
TEST(DbStreamLoad, UnknownEntitiesSurviveTagForTag) {
    Sample s;
    Document out = solx::dxf::parseDocument(saved(streamed, s.text()), "out.dxf");
    Pairs got;
    for (const auto& e : out.entities)
        if (e.record.type == "ACME_BEAM") {
            got.emplace_back(0, e.record.type);
            for (const auto& t : e.record.tags) got.emplace_back(t.code, t.value);
        }
    EXPECT_EQ(tags(got), s.unknown);
}

TEST(DbStreamLoad, FaultDeepInTheEntitiesNamesTheLineAndKeepsTheDrawing) {
    Sample s;
    // A section that never ends: found only after every entity was made.
    std::string text =
        s.header + s.tables + s.blocks + dxf("0 SECTION|2 ENTITIES") + s.entities + "0\nEOF\n";
    auto dir = solx::dbtest::scratchDir("stream-load");
    std::string path = (dir / "cut.dxf").string();
    std::ofstream(path, std::ios::binary) << text;

    AcDbDatabase db;
    AcDbBlockTableRecord* ms = dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
    ASSERT_NE(ms, nullptr);
    ms->appendAcDbEntity(new AcDbLine({0, 0, 0}, {5, 5, 0}));
    const size_t before = db.numObjects();
    EXPECT_EQ(db.readDxfFile(solx::dbtest::wide(path).c_str()), Acad::eBadDxfFile);
    std::wstring message = db.lastError();
    EXPECT_NE(
        message.find(solx::dbtest::wide(":" + std::to_string(lineOf(text, "0\nEOF\n")) + ":")),
        std::wstring::npos);
    EXPECT_NE(message.find(L"ENDSEC"), std::wstring::npos);
    EXPECT_EQ(db.numObjects(), before);
    EXPECT_EQ(ms->entityIds().length(), 1);
}

TEST(DbSharedName, SharedNamesKeepValueSemantics) {
    // One stored text per name, whichever way it came in.
    EXPECT_EQ(AcDbSharedName(L"墙体").c_str(), AcDbSharedName::fromUtf8("墙体").c_str());
    EXPECT_EQ(AcDbSharedName::fromUtf8("墙体").str(), L"墙体");
    EXPECT_TRUE(AcDbSharedName().empty());
    EXPECT_TRUE(AcDbSharedName::fromUtf8("").empty());
    EXPECT_NE(AcDbSharedName(L"A").c_str(), AcDbSharedName(L"a").c_str());

    // Two attributes read on one layer with one tag: renaming one leaves the other alone.
    Sample s;
    std::string text = s.text();
    for (size_t at = 0; (at = text.find("\n8\n0\n", at)) != std::string::npos; at += 6)
        text.replace(at, 5, "\n8\n墙体\n");
    AcDbDatabase db(false);
    solx::db::loadDrawingBytes(db, text, "s.dxf");
    auto* a = dynamic_cast<AcDbAttribute*>(db.idOf(AcDbHandle(0x31)).object());
    auto* b = dynamic_cast<AcDbAttribute*>(db.idOf(AcDbHandle(0x32)).object());
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->layer(), L"墙体");
    a->setLayer(L"OTHER");
    a->setTag(L"T9");
    std::unique_ptr<AcDbAttribute> copy(dynamic_cast<AcDbAttribute*>(b->clone()));
    b->setTextStyleName(L"NARROW");
    EXPECT_EQ(a->layer(), L"OTHER");
    EXPECT_EQ(b->layer(), L"墙体");
    EXPECT_EQ(a->tag(), L"T9");
    EXPECT_EQ(b->tag(), L"T2");
    EXPECT_EQ(copy->layer(), L"墙体");
    EXPECT_EQ(copy->tag(), L"T2");
    EXPECT_EQ(b->textStyleName(), L"NARROW");
    EXPECT_EQ(a->textStyleName(), L"Standard");
    EXPECT_EQ(copy->textStyleName(), L"Standard");
    EXPECT_EQ(AcDbSharedName(L"墙体").str(), L"墙体");  // the stored text itself never changes
}

}  // namespace
