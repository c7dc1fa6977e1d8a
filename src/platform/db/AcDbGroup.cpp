// GROUP: a collection of entities by handle.
#include "acad/AcDbDatabase.h"

Acad::ErrorStatus AcDbGroup::append(AcDbObjectId id) {
    if (!id.isValid()) return Acad::eNullObjectId;
    if (has(id)) return Acad::eDuplicateKey;
    members_.push_back(id.handle());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::append(const AcDbObjectIdArray& ids) {
    for (AcDbObjectId id : ids) {
        Acad::ErrorStatus es = append(id);
        if (es != Acad::eOk && es != Acad::eDuplicateKey) return es;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::remove(AcDbObjectId id) {
    for (auto it = members_.begin(); it != members_.end(); ++it)
        if (*it == id.handle()) {
            members_.erase(it);
            return Acad::eOk;
        }
    return Acad::eKeyNotFound;
}

bool AcDbGroup::has(AcDbObjectId id) const {
    for (AcDbHandle h : members_)
        if (h == id.handle()) return true;
    return false;
}

int AcDbGroup::numEntities() const {
    return allEntityIds().length();
}

AcDbObjectIdArray AcDbGroup::allEntityIds() const {
    AcDbObjectIdArray ids;
    for (AcDbHandle h : members_) {
        AcDbObjectId id = lookupHandle(h);
        if (id.isValid() && !id.isErased()) ids.append(id);
    }
    return ids;
}

Acad::ErrorStatus AcDbGroup::clear() {
    members_.clear();
    return Acad::eOk;
}

std::wstring AcDbGroup::name() const {
    auto* dict = dynamic_cast<AcDbDictionary*>(ownerId().object());
    std::wstring key;
    if (dict) dict->nameAt(objectId(), key);
    return key;
}

bool AcDbGroup::dxfInField(const AcDbDxfTag& t, const std::string&) {
    switch (t.code) {
        case 300:
            description_ = acdbDxfText(t);
            return true;
        case 70:
            anonymous_ = acdbDxfInt(t) != 0;
            return true;
        case 71:
            selectable_ = acdbDxfInt(t) != 0;
            return true;
        case 340:
            members_.push_back(AcDbHandle(acdbDxfText(t).c_str()));
            return true;
        default:
            return false;
    }
}

void AcDbGroup::dxfOutFields(AcDbDxfFiler& f) const {
    f.writeSubclass("AcDbGroup");
    f.writeString(300, description_);
    f.writeInt(70, anonymous_ ? 1 : 0);
    f.writeInt(71, selectable_ ? 1 : 0);
    for (const auto& id : allEntityIds()) f.writeHandle(340, id.handle());
}
