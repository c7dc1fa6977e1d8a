// Symbol tables and their records.
#include <algorithm>

#include "acad/AcDbDatabase.h"
#include "db/TagResbuf.h"

using solx::db::sameName;

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const wchar_t* name) {
    if (!name || !*name) return Acad::eInvalidInput;
    name_ = name;
    if (auto* table = dynamic_cast<AcDbSymbolTable*>(ownerId().object())) table->nameChanged();
    return Acad::eOk;
}

std::optional<AcDbFilterValue> AcDbSymbolTableRecord::groupValue(short code) const {
    if (code == 2) return AcDbFilterValue::ofText(name_);
    if (code == 70) return AcDbFilterValue::ofNumber(flags_);
    return AcDbObject::groupValue(code);
}

bool AcDbSymbolTableRecord::dxfInField(const AcDbDxfTag& t, const std::string&) {
    if (t.code == 2)
        name_ = acdbDxfText(t);
    else if (t.code == 70)
        flags_ = acdbDxfInt(t);
    else
        return false;
    return true;
}

void AcDbSymbolTableRecord::writeHead(AcDbDxfFiler& f, const char* subclass) const {
    f.writeSubclass("AcDbSymbolTableRecord");
    f.writeSubclass(subclass);
    f.writeString(2, name_);
    f.writeInt(70, flags_);
}

void AcDbSymbolTableRecord::dxfOutFields(AcDbDxfFiler& f) const {
    writeHead(f, "AcDbSymbolTableRecord");
}

bool AcDbUnknownTableRecord::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    AcDbSymbolTableRecord::dxfInField(t, sub);  // the name, for lookups; the tag is kept
    return false;
}

bool AcDbLayerTableRecord::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    if (t.code == 62)
        color_ = acdbDxfInt(t);
    else if (t.code == 6)
        linetype_ = acdbDxfText(t);
    else
        return AcDbSymbolTableRecord::dxfInField(t, sub);
    return true;
}

void AcDbLayerTableRecord::dxfOutFields(AcDbDxfFiler& f) const {
    writeHead(f, "AcDbLayerTableRecord");
    f.writeInt(62, color_ == 0 ? 7 : color_);
    f.writeString(6, linetype_);
}

bool AcDbTextStyleTableRecord::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    switch (t.code) {
        case 40:
            size_ = acdbDxfReal(t);
            return true;
        case 41:
            xScale_ = acdbDxfReal(t);
            return true;
        case 50:
            oblique_ = acdbDxfReal(t);
            return true;
        case 71:
            generation_ = acdbDxfInt(t);
            return true;
        case 42:
            lastHeight_ = acdbDxfReal(t);
            return true;
        case 3:
            font_ = acdbDxfText(t);
            return true;
        case 4:
            bigFont_ = acdbDxfText(t);
            return true;
        default:
            return AcDbSymbolTableRecord::dxfInField(t, sub);
    }
}

void AcDbTextStyleTableRecord::dxfOutFields(AcDbDxfFiler& f) const {
    writeHead(f, "AcDbTextStyleTableRecord");
    f.writeDouble(40, size_);
    f.writeDouble(41, xScale_);
    f.writeDouble(50, oblique_);
    f.writeInt(71, generation_);
    f.writeDouble(42, lastHeight_);
    f.writeString(3, font_);
    f.writeString(4, bigFont_);
}

bool AcDbLinetypeTableRecord::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    if (t.code == 72) seenPattern_ = true;
    if (t.code == 3 && !seenPattern_)
        description_ = acdbDxfText(t);
    else if (seenPattern_ || (t.code != 2 && t.code != 70))
        return false;  // the pattern stays as read
    else
        return AcDbSymbolTableRecord::dxfInField(t, sub);
    return true;
}

void AcDbLinetypeTableRecord::dxfOutFields(AcDbDxfFiler& f) const {
    writeHead(f, "AcDbLinetypeTableRecord");
    f.writeString(3, description_);
    bool hasPattern = false;
    for (const auto& k : keptTags()) hasPattern = hasPattern || k.tag.code == 72;
    if (!hasPattern) {  // a new linetype: a solid line
        f.writeInt(72, 65);
        f.writeInt(73, 0);
        f.writeDouble(40, 0);
    }
}

void AcDbRegAppTableRecord::dxfOutFields(AcDbDxfFiler& f) const {
    writeHead(f, "AcDbRegAppTableRecord");
}

bool AcDbSymbolTable::has(const wchar_t* name) const {
    AcDbObjectId id;
    return getAt(name, id) == Acad::eOk;
}

bool AcDbSymbolTable::has(AcDbObjectId id) const {
    return records_.contains(id);
}

void AcDbSymbolTable::indexNewRecords() const {
    if (indexed_ > records_.size()) nameChanged();  // records were taken out: start again
    for (; indexed_ < records_.size(); ++indexed_) {
        AcDbObjectId r = records_[indexed_];
        if (auto* rec = dynamic_cast<AcDbSymbolTableRecord*>(r.object()))
            byName_.try_emplace(solx::db::upper(rec->getName()), r);  // the first one wins
    }
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const wchar_t* name, AcDbObjectId& id,
                                         bool getErased) const {
    indexNewRecords();
    auto it = byName_.find(solx::db::upper(name ? name : L""));
    if (it == byName_.end()) {
        id = AcDbObjectId();
        return Acad::eKeyNotFound;
    }
    auto* hit = dynamic_cast<AcDbSymbolTableRecord*>(it->second.object());
    if (hit && (getErased || !hit->isErased()) && sameName(hit->getName(), name)) {
        id = it->second;
        return Acad::eOk;
    }
    // The first record of that name is erased (or was changed behind our back): look at all.
    for (AcDbObjectId r : records_) {
        auto* rec = dynamic_cast<AcDbSymbolTableRecord*>(r.object());
        if (rec && (getErased || !rec->isErased()) && sameName(rec->getName(), name)) {
            id = r;
            return Acad::eOk;
        }
    }
    id = AcDbObjectId();
    return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* record) {
    AcDbObjectId id;
    return add(id, record);
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& id, AcDbSymbolTableRecord* record) {
    AcDbDatabase* db = database();
    if (!db) return Acad::eNoDatabase;
    if (!record || record->getName().empty()) return Acad::eInvalidInput;
    if (has(record->getName().c_str())) return Acad::eDuplicateKey;
    db->noteWrite(this);
    Acad::ErrorStatus es = db->addAcDbObject(id, record);
    if (es != Acad::eOk) return es;
    record->setOwnerId(objectId());
    records_.append(id);
    return Acad::eOk;
}

bool AcDbSymbolTable::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    return t.code == 2 || (t.code == 70 && sub == "AcDbSymbolTable") ||
           (t.code == 70 && sub.empty());
}

void AcDbSymbolTable::dxfOutFields(AcDbDxfFiler& f) const {
    f.writeSubclass("AcDbSymbolTable");
    int count = 0;
    for (AcDbObjectId r : records_) count += r.isValid() && !r.isErased();
    f.writeInt(70, std::min(count, 32767));  // a hint to readers, and a 16-bit value
}
