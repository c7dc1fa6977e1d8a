#include "brel/VxDtLayer.h"

#include <cwctype>

#include "acad/AcDbDatabase.h"
#include "acad/AcDbSymbolTable.h"

namespace {

struct StdLayer {
    const wchar_t* key;
    const wchar_t* name;
    int color;
};

// Colours follow the product's drawing conventions (docs/drawing-conventions.md): shadows
// yellow, windows cyan, buildings white, grids grey, annotation green.
constexpr StdLayer kLayers[] = {
    {L"SUN-SHADOW", L"SUN-SHADOW", 2},
    {L"SUN-WINDOW", L"SUN-WINDOW", 4},
    {L"SUN-BUILDING", L"SUN-BUILDING", 7},
    {L"TG_GRID", L"TG_GRID", 8},
    {L"TS_DIM", L"TS_DIM", 3},
};

struct StdStyle {
    const wchar_t* key;
    const wchar_t* name;
    const wchar_t* font;
    double widthFactor;
};

// A TrueType font with Chinese glyphs (the WenQuanYi Micro Hei the program installs).
constexpr StdStyle kStyles[] = {{L"TS_DIM", L"TS_DIM", L"wqy-microhei.ttc", 0.7}};

const StdLayer* FindLayer(const wchar_t* key) {
    for (const StdLayer& layer : kLayers) {
        if (std::wstring(layer.key) == key) return &layer;
    }
    return nullptr;
}

AcDbDatabase* Drawing(AcDbDatabase* db) {
    return db ? db : acdbHostApplicationServices()->workingDatabase();
}

// The record `name` of the table `tableId`, added by `make` when missing.
template <typename Record, typename Make>
AcDbObjectId EnsureRecord(AcDbObjectId tableId, const std::wstring& name, Make make) {
    AcDbSymbolTable* table = nullptr;
    if (acdbOpenObject(table, tableId, AcDb::kForWrite) != Acad::eOk || !table) return {};
    AcDbObjectId id;
    if (table->getAt(name.c_str(), id) != Acad::eOk) {
        auto* record = new Record;
        record->setName(name.c_str());
        make(*record);
        if (table->add(id, record) == Acad::eOk)
            record->close();
        else
            delete record;
    }
    table->close();
    return id;
}

}  // namespace

std::wstring VxDtGetLayerName(const wchar_t* key) {
    const StdLayer* layer = FindLayer(key);
    return layer ? layer->name : key;
}

AcDbObjectId VxDtInitStdLayer(const wchar_t* key, AcDbDatabase* db) {
    AcDbDatabase* drawing = Drawing(db);
    if (!drawing || !key || !*key) return {};
    const StdLayer* known = FindLayer(key);
    const int color = known ? known->color : 7;
    return EnsureRecord<AcDbLayerTableRecord>(
        drawing->layerTableId(), VxDtGetLayerName(key),
        [color](AcDbLayerTableRecord& layer) { layer.setColorIndex(color); });
}

AcDbObjectId VxDtInitTextStyle(const wchar_t* key, AcDbDatabase* db) {
    AcDbDatabase* drawing = Drawing(db);
    if (!drawing || !key || !*key) return {};
    StdStyle style{key, key, L"wqy-microhei.ttc", 1.0};
    for (const StdStyle& known : kStyles) {
        if (std::wstring(known.key) == key) style = known;
    }
    return EnsureRecord<AcDbTextStyleTableRecord>(drawing->textStyleTableId(), style.name,
                                                  [&style](AcDbTextStyleTableRecord& record) {
                                                      record.setFileName(style.font);
                                                      record.setXScale(style.widthFactor);
                                                  });
}
