#include "DrawingSkeleton.h"

#include <charconv>
#include <cctype>
#include <cstdio>
#include <tuple>

namespace dxfgen {

using solx::dxf::Block;
using solx::dxf::Document;
using solx::dxf::Record;
using solx::dxf::Table;
using solx::dxf::Tag;

std::string real(double v) {
    char buf[32];
    int n = std::snprintf(buf, sizeof buf, "%.3f", v);
    // Trailing zeros carry nothing; "12.500" becomes "12.5", "3.000" becomes "3.0".
    while (n > 2 && buf[n - 1] == '0' && buf[n - 2] != '.') --n;
    return std::string(buf, static_cast<size_t>(n));
}

DrawingSkeleton::DrawingSkeleton() {
    modelSpace_ = newHandle();
    paperSpace_ = newHandle();
    windowRecord_ = newHandle();
    modelLayout_ = newHandle();
    paperLayout_ = newHandle();
    layouts_ = newHandle();
    doc.sectionOrder = {"HEADER", "CLASSES", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS"};
    doc.rawSections.push_back({"CLASSES", {}, {}});
    header();
    tables();
    blocks();
    objects();
}

std::string DrawingSkeleton::newHandle() {
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, next_++, 16);
    std::string h(buf, r.ptr);
    for (char& c : h) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return h;
}

Record DrawingSkeleton::entity(const char* type, const std::string& owner, const char* layer,
                               const char* subclass) {
    Record r{
        type, {{5, newHandle(), 0}, {330, owner, 0}, {100, "AcDbEntity", 0}, {8, layer, 0}}, 0};
    if (subclass) r.tags.push_back({100, subclass, 0});
    return r;
}

void DrawingSkeleton::header() {
    doc.header = {{9, "$ACADVER", 0},  {1, "AC1024", 0},    {9, "$DWGCODEPAGE", 0},
                  {3, "ANSI_1252", 0}, {9, "$HANDSEED", 0}, {5, "0", 0},
                  {9, "$INSUNITS", 0}, {70, "4", 0},        {9, "$MEASUREMENT", 0},
                  {70, "1", 0}};
}

Table& DrawingSkeleton::table(const char* name) {
    Table t;
    t.head = Record{"TABLE",
                    {{2, name, 0}, {5, newHandle(), 0}, {330, "0", 0}, {100, "AcDbSymbolTable", 0}},
                    0};
    doc.tables.push_back(std::move(t));
    return doc.tables.back();
}

Record& DrawingSkeleton::tableEntry(Table& t, const char* type, const char* subclass,
                                    const std::string& name) {
    const std::string& owner = t.head.tags[1].value;
    t.entries.push_back(Record{type,
                               {{5, newHandle(), 0},
                                {330, owner, 0},
                                {100, "AcDbSymbolTableRecord", 0},
                                {100, subclass, 0},
                                {2, name, 0},
                                {70, "0", 0}},
                               0});
    return t.entries.back();
}

void DrawingSkeleton::tables() {
    tableEntry(table("VPORT"), "VPORT", "AcDbViewportTableRecord", "*Active");
    Table& ltypes = table("LTYPE");
    for (const char* name : {"ByBlock", "ByLayer", "Continuous"}) {
        Record& r = tableEntry(ltypes, "LTYPE", "AcDbLinetypeTableRecord", name);
        r.tags.insert(r.tags.end(), {{3, "", 0}, {72, "65", 0}, {73, "0", 0}, {40, "0.0", 0}});
    }
    Table& layers = table("LAYER");
    const std::pair<const char*, const char*> kLayers[] = {{"0", "7"},
                                                           {kBuildingLayer, "8"},
                                                           {kWindowLayer, "4"},
                                                           {kModelLayer, "9"},
                                                           {kTextLayer, "2"}};
    for (const auto& [name, colour] : kLayers) {
        Record& r = tableEntry(layers, "LAYER", "AcDbLayerTableRecord", name);
        r.tags.insert(r.tags.end(), {{62, colour, 0}, {6, "Continuous", 0}});
    }
    Record& style = tableEntry(table("STYLE"), "STYLE", "AcDbTextStyleTableRecord", "Standard");
    style.tags.insert(style.tags.end(), {{40, "0.0", 0}, {41, "1.0", 0}, {3, "txt", 0}});
    table("VIEW");
    table("UCS");
    Table& apps = table("APPID");
    tableEntry(apps, "APPID", "AcDbRegAppTableRecord", "ACAD");
    tableEntry(apps, "APPID", "AcDbRegAppTableRecord", kTypeApp);
    Table& dims = table("DIMSTYLE");
    dims.head.tags.push_back({100, "AcDbDimStyleTable", 0});
    tableEntry(dims, "DIMSTYLE", "AcDbDimStyleTableRecord", "Standard").tags[0].code = 105;
    Table& records = table("BLOCK_RECORD");
    const std::pair<std::string, std::string> kRecords[] = {
        {"*Model_Space", modelLayout_}, {"*Paper_Space", paperLayout_}, {kWindowBlock, "0"}};
    const std::string* handles[] = {&modelSpace_, &paperSpace_, &windowRecord_};
    for (int i = 0; i < 3; ++i) {
        Record& r = tableEntry(records, "BLOCK_RECORD", "AcDbBlockTableRecord", kRecords[i].first);
        r.tags[0].value = *handles[i];
        r.tags.back() = {340, kRecords[i].second, 0};
        r.tags.insert(r.tags.end(), {{70, "4", 0}, {280, "1", 0}, {281, "0", 0}});
    }
    for (Table& t : doc.tables)
        t.head.tags.insert(t.head.tags.begin() + 4, {70, std::to_string(t.entries.size()), 0});
}

void DrawingSkeleton::blocks() {
    const std::pair<const std::string*, const char*> kBlocks[] = {{&modelSpace_, "*Model_Space"},
                                                                  {&paperSpace_, "*Paper_Space"},
                                                                  {&windowRecord_, kWindowBlock}};
    for (const auto& [record, name] : kBlocks) {
        Block b;
        b.begin = entity("BLOCK", *record, "0", "AcDbBlockBegin");
        bool window = *record == windowRecord_;
        b.begin.tags.insert(b.begin.tags.end(), {{2, name, 0},
                                                 {70, window ? "2" : "0", 0},
                                                 {10, "0.0", 0},
                                                 {20, "0.0", 0},
                                                 {30, "0.0", 0},
                                                 {3, name, 0},
                                                 {1, "", 0}});
        if (window) windowBlock(b, *record);
        b.end = entity("ENDBLK", *record, "0", "AcDbBlockEnd");
        doc.blocks.push_back(std::move(b));
    }
}

// The window in unit size: x across the window, y into the wall, z up; an insertion scales it
// by width, wall depth and height. Attributes FLOOR, NUMBER (hidden) and LABEL (shown).
void DrawingSkeleton::windowBlock(Block& block, const std::string& owner) {
    Record face = entity("3DFACE", owner, "0", "AcDbFace");
    const char* corners[4][3] = {{"-0.5", "0.0", "0.0"},
                                 {"0.5", "0.0", "0.0"},
                                 {"0.5", "0.0", "1.0"},
                                 {"-0.5", "0.0", "1.0"}};
    for (int i = 0; i < 4; ++i) {
        for (int axis = 0; axis < 3; ++axis)
            face.tags.push_back({10 + i + 10 * axis, corners[i][axis], 0});
    }
    block.entities.push_back({face, {}});
    const char* const kTags[] = {"FLOOR", "NUMBER", "LABEL"};
    for (int i = 0; i < 3; ++i) {
        Record def = entity("ATTDEF", owner, "0", "AcDbText");
        def.tags.insert(def.tags.end(), {{10, "-0.5", 0},
                                         {20, real(-0.3 * (i + 1)), 0},
                                         {30, "0.0", 0},
                                         {40, "0.2", 0},
                                         {1, "", 0},
                                         {100, "AcDbAttributeDefinition", 0},
                                         {280, "0", 0},
                                         {3, kTags[i], 0},
                                         {2, kTags[i], 0},
                                         {70, i == 2 ? "0" : "1", 0}});
        block.entities.push_back({def, {}});
    }
}

void DrawingSkeleton::objects() {
    std::string root = newHandle(), groups = newHandle();
    auto dictionary = [](const std::string& handle, const std::string& owner) {
        return Record{"DICTIONARY",
                      {{5, handle, 0}, {330, owner, 0}, {100, "AcDbDictionary", 0}, {281, "1", 0}},
                      0};
    };
    Record rootDict = dictionary(root, "0");
    rootDict.tags.insert(
        rootDict.tags.end(),
        {{3, "ACAD_GROUP", 0}, {350, groups, 0}, {3, "ACAD_LAYOUT", 0}, {350, layouts_, 0}});
    Record layoutDict = dictionary(layouts_, root);
    layoutDict.tags.insert(
        layoutDict.tags.end(),
        {{3, "Model", 0}, {350, modelLayout_, 0}, {3, "Layout1", 0}, {350, paperLayout_, 0}});
    doc.objects = {rootDict, dictionary(groups, root), layoutDict};
    const std::tuple<std::string, const char*, const char*, std::string> kLayouts[] = {
        {modelLayout_, "Model", "0", modelSpace_}, {paperLayout_, "Layout1", "1", paperSpace_}};
    for (const auto& [handle, name, order, record] : kLayouts) {
        doc.objects.push_back(Record{"LAYOUT",
                                     {{5, handle, 0},
                                      {330, layouts_, 0},
                                      {100, "AcDbPlotSettings", 0},
                                      {1, "", 0},
                                      {4, "", 0},
                                      {6, "", 0},
                                      {70, "0", 0},
                                      {100, "AcDbLayout", 0},
                                      {1, name, 0},
                                      {70, "1", 0},
                                      {71, order, 0},
                                      {10, "0.0", 0},
                                      {20, "0.0", 0},
                                      {11, "420.0", 0},
                                      {21, "297.0", 0},
                                      {12, "0.0", 0},
                                      {22, "0.0", 0},
                                      {14, "0.0", 0},
                                      {24, "0.0", 0},
                                      {34, "0.0", 0},
                                      {15, "0.0", 0},
                                      {25, "0.0", 0},
                                      {35, "0.0", 0},
                                      {146, "0.0", 0},
                                      {13, "0.0", 0},
                                      {23, "0.0", 0},
                                      {33, "0.0", 0},
                                      {16, "1.0", 0},
                                      {26, "0.0", 0},
                                      {36, "0.0", 0},
                                      {17, "0.0", 0},
                                      {27, "1.0", 0},
                                      {37, "0.0", 0},
                                      {76, "0", 0},
                                      {330, record, 0}},
                                     0});
    }
}

Document DrawingSkeleton::finish() {
    doc.header[5].value = newHandle();
    return std::move(doc);
}

}  // namespace dxfgen
