// DICTIONARY: keyed entries owning or pointing to objects.
#include "acad/AcDbDatabase.h"
#include "db/TagResbuf.h"

using solx::db::sameName;

const AcDbDictionary::Entry* AcDbDictionary::find(const wchar_t* key) const {
    for (const Entry& e : entries_)
        if (sameName(e.key, key)) return &e;
    return nullptr;
}

bool AcDbDictionary::has(const wchar_t* key) const {
    return find(key) != nullptr;
}

bool AcDbDictionary::has(AcDbObjectId id) const {
    for (const Entry& e : entries_)
        if (e.handle == id.handle()) return true;
    return false;
}

Acad::ErrorStatus AcDbDictionary::getAt(const wchar_t* key, AcDbObjectId& id) const {
    const Entry* e = find(key);
    id = e ? lookupHandle(e->handle) : AcDbObjectId();
    if (!e) return Acad::eKeyNotFound;
    return id.isValid() && !id.isErased() ? Acad::eOk : Acad::eWasErased;
}

Acad::ErrorStatus AcDbDictionary::setAt(const wchar_t* key, AcDbObject* obj, AcDbObjectId& id) {
    AcDbDatabase* db = database();
    if (!db) return Acad::eNotInDatabase;
    if (!obj || !key || !*key) return Acad::eInvalidInput;
    db->noteWrite(this);
    std::wstring k = key;
    if (k == L"*") {
        do k = L"*A" + std::to_wstring(++anonymousCount_);
        while (has(k.c_str()));
    }
    id = obj->objectId();
    if (!id.isValid()) {
        Acad::ErrorStatus es = db->addAcDbObject(id, obj);
        if (es != Acad::eOk) return es;
    }
    obj->setOwnerId(objectId());
    remove(k.c_str());
    entries_.push_back({k, id.handle(), hardOwner_ ? 360 : 350});
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::remove(const wchar_t* key) {
    AcDbObjectId removed;
    return remove(key, removed);
}

Acad::ErrorStatus AcDbDictionary::remove(const wchar_t* key, AcDbObjectId& removed) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (!sameName(it->key, key)) continue;
        if (AcDbDatabase* db = database()) db->noteWrite(this);
        removed = lookupHandle(it->handle);
        entries_.erase(it);
        return Acad::eOk;
    }
    return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbDictionary::nameAt(AcDbObjectId id, std::wstring& key) const {
    for (const Entry& e : entries_)
        if (e.handle == id.handle()) {
            key = e.key;
            return Acad::eOk;
        }
    return Acad::eKeyNotFound;
}

int AcDbDictionary::numEntries() const {
    return static_cast<int>(entries_.size());
}

bool AcDbDictionary::dxfInField(const AcDbDxfTag& t, const std::string&) {
    switch (t.code) {
        case 3:
            entries_.push_back({acdbDxfText(t), {}, 350});
            return true;
        case 350:
        case 360:
            if (entries_.empty() || !entries_.back().handle.isNull()) return false;
            entries_.back().handle = AcDbHandle(acdbDxfText(t).c_str());
            entries_.back().code = t.code;
            return true;
        case 280:
            hardOwner_ = acdbDxfInt(t) != 0;
            return true;
        case 281:
            cloning_ = acdbDxfInt(t);
            return true;
        default:
            return false;
    }
}

void AcDbDictionary::dxfOutFields(AcDbDxfFiler& f) const {
    f.writeSubclass("AcDbDictionary");
    if (hardOwner_) f.writeInt(280, 1);
    f.writeInt(281, cloning_);
    for (const Entry& e : entries_) {
        // Entries whose object is gone (erased or never loaded) are dropped.
        AcDbObjectId id = lookupHandle(e.handle);
        if (database() && (!id.isValid() || id.isErased())) continue;
        f.writeString(3, e.key);
        f.writeHandle(e.code, e.handle);
    }
}
