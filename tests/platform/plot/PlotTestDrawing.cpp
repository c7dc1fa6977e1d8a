#include "PlotTestDrawing.h"

#include <numbers>

namespace solx::plot::test {
namespace {

AcDbBlockTableRecord* Model(AcDbDatabase& db) {
    return dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
}

void AddLayer(AcDbDatabase& db, const wchar_t* name, int colour, bool off, bool frozen) {
    auto* layer = dynamic_cast<AcDbLayerTableRecord*>(db.ensureSymbol(L"LAYER", name).object());
    layer->setColorIndex(colour);
    layer->setIsOff(off);
    layer->setIsFrozen(frozen);
}

void AddHiddenCircles(AcDbDatabase& db) {
    for (const wchar_t* layer : {L"FROZEN", L"OFF", L"0"}) {
        auto* c = new AcDbCircle(AcGePoint3d(50, 30, 0), AcGeVector3d::kZAxis, 5);
        c->setLayer(layer);
        c->setColorIndex(6);
        if (std::wstring(layer) == L"0") c->setVisibility(AcDb::kInvisible);
        Model(db)->appendAcDbEntity(c);
    }
}

void AddBlockReference(AcDbDatabase& db, bool withAttribute) {
    AcDbBlockTableRecord* block = nullptr;
    const AcDbObjectId blockId = db.addBlock(L"MARK", &block);
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    line->setColorIndex(0);
    block->appendAcDbEntity(line);
    auto* ref = new AcDbBlockReference(AcGePoint3d(50, 50, 0), blockId);
    ref->setRotation(std::numbers::pi / 2);
    ref->setColorIndex(3);
    if (withAttribute) {
        auto* att = new AcDbAttribute(AcGePoint3d(52, 52, 0), L"A1", L"NO");
        att->setHeight(2);
        att->setColorIndex(0);
        ref->appendAttribute(att);
    }
    Model(db)->appendAcDbEntity(ref);
}

}  // namespace

std::unique_ptr<AcDbDatabase> MakeTestDrawing(bool chinese) {
    auto db = std::make_unique<AcDbDatabase>();
    AddLayer(*db, L"WALLS", 5, false, false);
    AddLayer(*db, L"FROZEN", 6, false, true);
    AddLayer(*db, L"OFF", 6, true, false);
    auto* red = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(100, 0, 0));
    red->setColorIndex(1);
    Model(*db)->appendAcDbEntity(red);
    auto* square = new AcDbPolyline;
    for (auto [x, y] : {std::pair{0, 10}, {20, 10}, {20, 30}, {0, 30}})
        square->addVertexAt(square->numVerts(), AcGePoint2d(x, y));
    square->setClosed(true);
    square->setLayer(L"WALLS");
    Model(*db)->appendAcDbEntity(square);
    AddBlockReference(*db, chinese);
    AddHiddenCircles(*db);
    if (chinese)
        Model(*db)->appendAcDbEntity(new AcDbText(AcGePoint3d(60, 20, 0), L"日照分析", {}, 5));
    return db;
}

}  // namespace solx::plot::test
