// Entity base: layer, colour, linetype, visibility; unknown entities kept whole.
#include "acad/AcDbDatabase.h"
#include "db/TagResbuf.h"

Acad::ErrorStatus AcDbEntity::setLayer(const wchar_t* name) {
    if (!name || !*name) return Acad::eInvalidInput;
    layer_ = name;
    set_ |= kLayerSet;
    return Acad::eOk;
}

AcDbObjectId AcDbEntity::layerId() const {
    AcDbDatabase* db = database();
    if (!db) db = acdbHostApplicationServices()->workingDatabase();
    return db ? db->symbolId(L"LAYER", layer_) : AcDbObjectId();
}

Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId id) {
    auto* rec = dynamic_cast<AcDbLayerTableRecord*>(id.object());
    if (!rec) return Acad::eInvalidInput;
    layer_ = rec->getName();
    set_ |= kLayerSet;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setColorIndex(int color) {
    if (color < 0 || color > 257) return Acad::eInvalidInput;
    color_ = color;
    set_ |= kColorSet;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLinetype(const wchar_t* name) {
    linetype_ = name ? name : L"";
    set_ |= kLinetypeSet;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setVisibility(AcDb::Visibility v) {
    visible_ = v == AcDb::kVisible;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::highlight() {
    highlighted_ = true;
    if (AcDbDatabase* db = database()) db->noteHighlight(objectId().stub(), true);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::unhighlight() {
    highlighted_ = false;
    if (AcDbDatabase* db = database()) db->noteHighlight(objectId().stub(), false);
    return Acad::eOk;
}

bool AcDbEntity::isVisible() const {
    if (!visible_) return false;
    auto* layer = dynamic_cast<AcDbLayerTableRecord*>(layerId().object());
    return !layer || (!layer->isOff() && !layer->isFrozen());
}

void AcDbEntity::setDatabaseDefaults(AcDbDatabase* db) {
    set_ = 0;
    setUnsetDatabaseDefaults(db);
}

void AcDbEntity::setUnsetDatabaseDefaults(AcDbDatabase* db) {
    if (!db) db = acdbHostApplicationServices()->workingDatabase();
    if (!db || set_ == kAllSet) return;
    if (!(set_ & kLayerSet))
        if (auto* layer = dynamic_cast<AcDbLayerTableRecord*>(db->clayer().object()))
            layer_ = layer->getName();
    resbuf rb;
    if (!(set_ & kColorSet) && db->getSysVar(L"CECOLOR", &rb) == RTNORM)
        color_ = rb.resval.rint >= 0 && rb.resval.rint <= 256 ? rb.resval.rint : 256;
    if (!(set_ & kLinetypeSet) && db->getSysVar(L"CELTYPE", &rb) == RTNORM) {
        const std::wstring name = rb.resval.rstring ? rb.resval.rstring : L"";
        delete[] rb.resval.rstring;
        // "By layer" is what an entity without a linetype of its own already means.
        linetype_ = solx::db::sameName(name, L"BYLAYER") ? L"" : name;
    }
    set_ = kAllSet;
}

Acad::ErrorStatus AcDbEntity::explode(AcDbVoidPtrArray&) const {
    return Acad::eNotApplicable;
}

std::optional<AcDbFilterValue> AcDbEntity::groupValue(short code) const {
    switch (code) {
        case 8:
            return AcDbFilterValue::ofText(layer_);
        case 6:
            return AcDbFilterValue::ofText(linetype_.empty() ? L"BYLAYER" : linetype_);
        case 62:
            return AcDbFilterValue::ofNumber(color_);
        case 60:
            return AcDbFilterValue::ofNumber(visible_ ? 0 : 1);
        default:
            return AcDbObject::groupValue(code);
    }
}

bool AcDbEntity::dxfInField(const AcDbDxfTag& tag, const std::string& subclass) {
    if (!subclass.empty() && subclass != "AcDbEntity" && subclass != "*") return false;
    switch (tag.code) {
        case 8:
            layer_ = AcDbSharedName::fromUtf8(tag.value);
            return true;
        case 6:
            linetype_ = AcDbSharedName::fromUtf8(tag.value);
            return true;
        case 62:
            color_ = acdbDxfInt(tag);
            return true;
        case 60:
            visible_ = acdbDxfInt(tag) == 0;
            return true;
        default:
            return false;
    }
}

void AcDbEntity::dxfOutFields(AcDbDxfFiler& f) const {
    f.writeSubclass("AcDbEntity");
    f.writeString(8, layer_);
    if (!linetype_.empty()) f.writeString(6, linetype_);
    if (color_ != 256) f.writeInt(62, color_);
    if (!visible_) f.writeInt(60, 1);
}

bool AcDbUnknownEntity::dxfInField(const AcDbDxfTag& tag, const std::string& subclass) {
    AcDbEntity::dxfInField(tag, subclass);  // remembered for queries, but kept as written
    return false;
}

void AcDbUnknownEntity::dxfOutFields(AcDbDxfFiler&) const {}

std::optional<AcDbFilterValue> AcDbUnknownEntity::groupValue(short code) const {
    if (code == 0 || code == 8 || code == 62 || code == 60 || code == 6)
        return AcDbEntity::groupValue(code);
    return AcDbObject::groupValue(code);
}

Acad::ErrorStatus AcDbUnknownEntity::getGeomExtents(AcDbExtents& ext) const {
    ext = AcDbExtents();
    for (int code : {10, 11, 12, 13}) {
        auto v = AcDbObject::groupValue(static_cast<short>(code));
        if (v && v->isPoint) ext.addPoint(v->point);
    }
    return ext.isEmpty() ? Acad::eNotApplicable : Acad::eOk;
}
