// Markers: a cross (in a square for type 4) with an optional text, drawn through a block.
#include "brel/VxDbPromptSymbol.h"

#include "acad/AcDbDatabase.h"
#include "dbobject/OwnBlock.h"
#include "acad/AcDbLine.h"
#include "acad/AcDbPolyline.h"

AcDbVoidPtrArray VxDbPromptSymbol::BuildGraphics() const {
    AcDbVoidPtrArray out;
    double hx = xSize_ / 2, hy = ySize_ / 2;
    out.append(new AcDbLine({-hx, 0, 0}, {hx, 0, 0}));
    out.append(new AcDbLine({0, -hy, 0}, {0, hy, 0}));
    if (type_ == 4) {
        auto* box = new AcDbPolyline();
        for (auto [x, y] : {std::pair{-hx, -hy}, {hx, -hy}, {hx, hy}, {-hx, hy}})
            box->addVertexAt(box->numVerts(), AcGePoint2d(x, y));
        box->setClosed(true);
        out.append(box);
    }
    if (textDraw_ && !text_.empty()) {
        double h = textHeight_ > 0 ? textHeight_ : ySize_ / 2;
        auto* text = new AcDbText(AcGePoint3d(hx + h / 2, hy, 0), text_.c_str(), {}, h);
        text->setTextStyleName(style_.c_str());
        out.append(text);
    }
    for (AcDbEntity* e : out) {
        e->setLayer(L"0");    // drawn on the marker's own layer
        e->setColorIndex(0);  // and in its colour
    }
    return out;
}

Acad::ErrorStatus VxDbPromptSymbol::explode(AcDbVoidPtrArray& entities) const {
    AcGeMatrix3d m = AcGeMatrix3d::translation(position().asVector());
    for (AcDbEntity* e : BuildGraphics()) {
        e->transformBy(m);
        e->setLayer(layer().c_str());
        e->setColorIndex(colorIndex());
        entities.append(e);
    }
    return Acad::eOk;
}

Acad::ErrorStatus VxDbPromptSymbol::getGeomExtents(AcDbExtents& ext) const {
    ext = AcDbExtents();
    AcDbVoidPtrArray parts;
    explode(parts);
    for (AcDbEntity* e : parts) {
        AcDbExtents pe;
        if (e->getGeomExtents(pe) == Acad::eOk) ext.addExt(pe);
        delete e;
    }
    return Acad::eOk;
}

void VxDbPromptSymbol::prepareForSave() {
    AcDbBlockTableRecord* block = solx::dbobject::ClearOwnBlock(*this);
    if (!block) return;
    for (AcDbEntity* e : BuildGraphics()) block->appendAcDbEntity(e);
    AcDbBlockReference::prepareForSave();
}

void VxDbPromptSymbol::dxfInSolxData(const AcDbDxfTags& tags) {
    // 1040 x size, 1040 y size, 1040 text height, 1070 type, 1070 text drawn, 1000 text, 1000
    // style.
    std::vector<const AcDbDxfTag*> reals, shorts, texts;
    for (const auto& t : tags)
        (t.code == 1040 ? reals : t.code == 1070 ? shorts : texts).push_back(&t);
    if (reals.size() >= 3)
        xSize_ = acdbDxfReal(*reals[0]), ySize_ = acdbDxfReal(*reals[1]),
        textHeight_ = acdbDxfReal(*reals[2]);
    if (shorts.size() >= 2) type_ = acdbDxfInt(*shorts[0]), textDraw_ = acdbDxfInt(*shorts[1]) != 0;
    if (texts.size() >= 2) text_ = acdbDxfText(*texts[0]), style_ = acdbDxfText(*texts[1]);
}

void VxDbPromptSymbol::dxfOutSolxData(AcDbDxfTags& tags) const {
    tags.push_back({1040, acdbDxfNumber(xSize_)});
    tags.push_back({1040, acdbDxfNumber(ySize_)});
    tags.push_back({1040, acdbDxfNumber(textHeight_)});
    tags.push_back({1070, std::to_string(type_)});
    tags.push_back({1070, textDraw_ ? "1" : "0"});
    tags.push_back({1000, acdbUtf8(text_)});
    tags.push_back({1000, acdbUtf8(style_)});
}
