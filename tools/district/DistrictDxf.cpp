#include "DistrictDxf.h"

#include <cmath>
#include <numbers>
#include <string>

#include "DxfStream.h"

namespace district {
namespace {

// Fixed handles of the tables, the dictionaries, the layouts and the block records.
namespace H {
const char* const kVport = "1";
const char* const kLtype = "2";
const char* const kLayer = "3";
const char* const kStyle = "4";
const char* const kView = "5";
const char* const kUcs = "6";
const char* const kAppid = "7";
const char* const kDimstyle = "8";
const char* const kBlockRecord = "9";
const char* const kRoot = "A";
const char* const kGroups = "B";
const char* const kLayouts = "D";
const char* const kModelLayout = "E";
const char* const kPaperLayout = "F";
const char* const kModel = "10";
const char* const kPaper = "11";
const char* const kWindow = "12";
}  // namespace H

const char* const kBuildingLayer = "SUN-BUILDING";
const char* const kWindowLayer = "SUN-WINDOW";
const char* const kRoofLayer = "SUN-3DMODEL";
const char* const kWindowBlock = "_SUNWD";
const double kAttribHeight = 300.0;

std::string Utf8(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += static_cast<char>(c < 128 ? c : '?');  // labels are ASCII
    return out;
}

void Header(DxfStream& s, const std::string& seed) {
    s.Tag(0, "SECTION");
    s.Tag(2, "HEADER");
    s.Tag(9, "$ACADVER");
    s.Tag(1, "AC1024");
    s.Tag(9, "$DWGCODEPAGE");
    s.Tag(3, "ANSI_1252");
    s.Tag(9, "$HANDSEED");
    s.Tag(5, seed);
    s.Tag(9, "$INSUNITS");
    s.Tag(70, 4);
    s.Tag(9, "$MEASUREMENT");
    s.Tag(70, 1);
    s.Tag(0, "ENDSEC");
    s.Tag(0, "SECTION");
    s.Tag(2, "CLASSES");
    s.Tag(0, "ENDSEC");
}

void TableHead(DxfStream& s, const char* name, const char* handle, int count) {
    s.Tag(0, "TABLE");
    s.Tag(2, name);
    s.Tag(5, handle);
    s.Tag(330, "0");
    s.Tag(100, "AcDbSymbolTable");
    s.Tag(70, count);
}

void Record(DxfStream& s, const char* type, const char* table, const char* subclass,
            const std::string& name) {
    s.Begin(type, table);
    s.Tag(100, "AcDbSymbolTableRecord");
    s.Tag(100, subclass);
    s.Tag(2, name);
    s.Tag(70, 0);
}

void Layers(DxfStream& s) {
    TableHead(s, "LAYER", H::kLayer, 4);
    const std::pair<const char*, int> layers[] = {
        {"0", 7}, {kBuildingLayer, 8}, {kWindowLayer, 4}, {kRoofLayer, 9}};
    for (const auto& [name, colour] : layers) {
        Record(s, "LAYER", H::kLayer, "AcDbLayerTableRecord", name);
        s.Tag(62, colour);
        s.Tag(6, "Continuous");
    }
    s.Tag(0, "ENDTAB");
}

void Linetypes(DxfStream& s) {
    TableHead(s, "LTYPE", H::kLtype, 3);
    for (const char* name : {"ByBlock", "ByLayer", "Continuous"}) {
        Record(s, "LTYPE", H::kLtype, "AcDbLinetypeTableRecord", name);
        s.Tag(3, std::string(name) == "Continuous" ? "Solid line" : "");
        s.Tag(72, 65);
        s.Tag(73, 0);
        s.Real(40, 0.0);
    }
    s.Tag(0, "ENDTAB");
}

void SmallTables(DxfStream& s) {
    TableHead(s, "VPORT", H::kVport, 1);
    Record(s, "VPORT", H::kVport, "AcDbViewportTableRecord", "*Active");
    s.Tag(0, "ENDTAB");
    TableHead(s, "STYLE", H::kStyle, 1);
    Record(s, "STYLE", H::kStyle, "AcDbTextStyleTableRecord", "Standard");
    s.Real(40, 0.0);
    s.Real(41, 1.0);
    s.Tag(3, "txt");
    s.Tag(0, "ENDTAB");
    TableHead(s, "VIEW", H::kView, 0);
    s.Tag(0, "ENDTAB");
    TableHead(s, "UCS", H::kUcs, 0);
    s.Tag(0, "ENDTAB");
    TableHead(s, "APPID", H::kAppid, 1);
    Record(s, "APPID", H::kAppid, "AcDbRegAppTableRecord", "ACAD");
    s.Tag(0, "ENDTAB");
    TableHead(s, "DIMSTYLE", H::kDimstyle, 1);
    s.Tag(100, "AcDbDimStyleTable");
    Record(s, "DIMSTYLE", H::kDimstyle, "AcDbDimStyleTableRecord", "Standard");
    s.Tag(0, "ENDTAB");
}

void BlockRecords(DxfStream& s) {
    TableHead(s, "BLOCK_RECORD", H::kBlockRecord, 3);
    const std::pair<const char*, const char*> records[] = {
        {"*Model_Space", H::kModel}, {"*Paper_Space", H::kPaper}, {kWindowBlock, H::kWindow}};
    for (const auto& [name, handle] : records) {
        s.Tag(0, "BLOCK_RECORD");
        s.Tag(5, handle);
        s.Tag(330, H::kBlockRecord);
        s.Tag(100, "AcDbSymbolTableRecord");
        s.Tag(100, "AcDbBlockTableRecord");
        s.Tag(2, name);
        const std::string n = name;
        s.Tag(340, n == "*Model_Space"   ? H::kModelLayout
                   : n == "*Paper_Space" ? H::kPaperLayout
                                         : "0");
        s.Tag(70, 4);
        s.Tag(280, 1);
        s.Tag(281, 0);
    }
    s.Tag(0, "ENDTAB");
}

void Tables(DxfStream& s) {
    s.Tag(0, "SECTION");
    s.Tag(2, "TABLES");
    SmallTables(s);
    Linetypes(s);
    Layers(s);
    BlockRecords(s);
    s.Tag(0, "ENDSEC");
}

std::string EntityHead(DxfStream& s, const char* type, const std::string& owner, const char* layer,
                       const char* subclass) {
    const std::string handle = s.Begin(type, owner);
    s.Tag(100, "AcDbEntity");
    s.Tag(8, layer);
    if (subclass) s.Tag(100, subclass);
    return handle;
}

void BlockBegin(DxfStream& s, const char* name, const char* record, int flags) {
    EntityHead(s, "BLOCK", record, "0", "AcDbBlockBegin");
    s.Tag(2, name);
    s.Tag(70, flags);
    s.Point(10, {});
    s.Tag(3, name);
    s.Tag(1, "");
}

void BlockEnd(DxfStream& s, const char* record) {
    EntityHead(s, "ENDBLK", record, "0", "AcDbBlockEnd");
}

void Face(DxfStream& s, const std::string& owner, const char* layer, const VxGePoint* p) {
    EntityHead(s, "3DFACE", owner, layer, "AcDbFace");
    for (int i = 0; i < 4; ++i) s.Point(10 + i, p[i]);
}

void Line(DxfStream& s, const char* owner, const VxGePoint& a, const VxGePoint& b) {
    EntityHead(s, "LINE", owner, "0", "AcDbLine");
    s.Point(10, a);
    s.Point(11, b);
}

// The attribute tags of a window, in the order they are written.
const char* const kTags[] = {"FLOOR", "NUMBER", "LABEL"};

// The window block in unit size: x across the window, y into the wall, z up; scaled by width,
// wall depth and height on insertion.
void WindowBlock(DxfStream& s) {
    BlockBegin(s, kWindowBlock, H::kWindow, 2);
    const VxGePoint face[4] = {{-0.5, 0, 0}, {0.5, 0, 0}, {0.5, 0, 1}, {-0.5, 0, 1}};
    Face(s, H::kWindow, "0", face);
    Line(s, H::kWindow, {-0.5, 0, 0}, {0.5, 0, 0});
    Line(s, H::kWindow, {-0.5, 1, 0}, {0.5, 1, 0});
    for (int i = 0; i < 3; ++i) {
        EntityHead(s, "ATTDEF", H::kWindow, "0", "AcDbText");
        s.Point(10, {-0.5, -0.3 * (i + 1), 0});
        s.Real(40, 0.2);
        s.Tag(1, "");
        s.Tag(100, "AcDbAttributeDefinition");
        s.Tag(280, 0);
        s.Tag(3, kTags[i]);
        s.Tag(2, kTags[i]);
        s.Tag(70, i == 2 ? 0 : 1);  // floor and number hidden, the label shown
    }
    BlockEnd(s, H::kWindow);
}

void Blocks(DxfStream& s) {
    s.Tag(0, "SECTION");
    s.Tag(2, "BLOCKS");
    BlockBegin(s, "*Model_Space", H::kModel, 0);
    BlockEnd(s, H::kModel);
    BlockBegin(s, "*Paper_Space", H::kPaper, 0);
    BlockEnd(s, H::kPaper);
    WindowBlock(s);
    s.Tag(0, "ENDSEC");
}

void Slab(DxfStream& s, const district::Slab& slab) {
    EntityHead(s, "LWPOLYLINE", H::kModel, kBuildingLayer, "AcDbPolyline");
    s.Tag(90, static_cast<int>(slab.outline.size()));
    s.Tag(70, 1);
    s.Real(38, slab.elevation);
    s.Real(39, slab.height);
    for (const VxGePoint& p : slab.outline) {
        s.Real(10, p.x);
        s.Real(20, p.y);
    }
}

void Window(DxfStream& s, const SolxWindowBlock& w) {
    const std::string insert =
        EntityHead(s, "INSERT", H::kModel, kWindowLayer, "AcDbBlockReference");
    s.Tag(66, 1);
    s.Tag(2, kWindowBlock);
    s.Point(10, w.insertion);
    s.Real(41, w.width);
    s.Real(42, w.depth);
    s.Real(43, w.height);
    s.Real(50, w.rotation * 180.0 / std::numbers::pi);
    const std::string values[] = {std::to_string(w.floor), std::to_string(w.number), Utf8(w.label)};
    // Attribute texts stand in front of the window, along the wall.
    const double c = std::cos(w.rotation), sn = std::sin(w.rotation);
    for (int i = 0; i < 3; ++i) {
        EntityHead(s, "ATTRIB", insert, kWindowLayer, "AcDbText");
        const double back = -kAttribHeight * 1.5 * (i + 1);
        s.Point(10, {w.insertion.x - 0.5 * w.width * c - back * sn,
                     w.insertion.y - 0.5 * w.width * sn + back * c, w.insertion.z});
        s.Real(40, kAttribHeight);
        s.Tag(1, values[i]);
        s.Real(50, w.rotation * 180.0 / std::numbers::pi);
        s.Tag(100, "AcDbAttribute");
        s.Tag(280, 0);
        s.Tag(2, kTags[i]);
        s.Tag(70, i == 2 ? 0 : 1);
    }
    EntityHead(s, "SEQEND", insert, kWindowLayer, nullptr);
}

void Entities(DxfStream& s, const District& d) {
    s.Tag(0, "SECTION");
    s.Tag(2, "ENTITIES");
    for (const district::Slab& slab : d.slabs) Slab(s, slab);
    for (const SolxWindowBlock& w : d.windows) Window(s, w);
    for (const SolxFace3d& f : d.roofFaces) {
        const VxGePoint p[4] = {f.pt[0], f.pt[1], f.pt[2], f.count == 4 ? f.pt[3] : f.pt[2]};
        Face(s, H::kModel, kRoofLayer, p);
    }
    s.Tag(0, "ENDSEC");
}

void Dictionary(DxfStream& s, const char* handle, const char* owner,
                std::initializer_list<std::pair<const char*, const char*>> entries) {
    s.Tag(0, "DICTIONARY");
    s.Tag(5, handle);
    s.Tag(330, owner);
    s.Tag(100, "AcDbDictionary");
    s.Tag(281, 1);
    for (const auto& [name, target] : entries) {
        s.Tag(3, name);
        s.Tag(350, target);
    }
}

void Layout(DxfStream& s, const char* handle, const char* name, int order, const char* record) {
    s.Tag(0, "LAYOUT");
    s.Tag(5, handle);
    s.Tag(330, H::kLayouts);
    s.Tag(100, "AcDbPlotSettings");
    s.Tag(1, "");
    s.Tag(4, "");
    s.Tag(6, "");
    s.Tag(70, 0);
    s.Tag(100, "AcDbLayout");
    s.Tag(1, name);
    s.Tag(70, 1);
    s.Tag(71, order);
    s.Point(10, {});
    s.Point(11, {420.0, 297.0, 0.0});
    s.Point(12, {});
    s.Point(14, {});
    s.Point(15, {});
    s.Real(146, 0.0);
    s.Point(13, {});
    s.Point(16, {1.0, 0.0, 0.0});
    s.Point(17, {0.0, 1.0, 0.0});
    s.Tag(76, 0);
    s.Tag(330, record);
}

void Objects(DxfStream& s) {
    s.Tag(0, "SECTION");
    s.Tag(2, "OBJECTS");
    Dictionary(s, H::kRoot, "0", {{"ACAD_GROUP", H::kGroups}, {"ACAD_LAYOUT", H::kLayouts}});
    Dictionary(s, H::kGroups, H::kRoot, {});
    Dictionary(s, H::kLayouts, H::kRoot,
               {{"Model", H::kModelLayout}, {"Layout1", H::kPaperLayout}});
    Layout(s, H::kModelLayout, "Model", 0, H::kModel);
    Layout(s, H::kPaperLayout, "Layout1", 1, H::kPaper);
    s.Tag(0, "ENDSEC");
}

}  // namespace

void WriteDxf(const District& d, std::ostream& out) {
    DxfStream body;
    Tables(body);
    Blocks(body);
    Entities(body, d);
    Objects(body);
    body.Tag(0, "EOF");
    DxfStream head;
    Header(head, body.Seed());
    out << head.Text() << body.Text();
}

}  // namespace district
