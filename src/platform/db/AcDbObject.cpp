// Object base: identity, open state, erase and extended data.
#include <cstdlib>
#include <cwchar>

#include "acad/AcDbDatabase.h"
#include "db/TagResbuf.h"

AcDbObjectId AcDbObject::ownerId() const {
    return lookupHandle(ownerHandle_);
}

Acad::ErrorStatus AcDbObject::setOwnerId(AcDbObjectId owner) {
    ownerHandle_ = owner.handle();
    return Acad::eOk;
}

AcDbDatabase* AcDbObject::database() const {
    return id_.database();
}

AcDbObjectId AcDbObject::lookupHandle(AcDbHandle h) const {
    AcDbDatabase* db = database();
    return db && !h.isNull() ? db->idOf(h) : AcDbObjectId();
}

void AcDbObject::setDatabaseStub(AcDbObjectId id, AcDbHandle handle) {
    id_ = id;
    handle_ = handle;
    newObject_ = false;
}

Acad::ErrorStatus AcDbObject::close() {
    // What was written while open shows from now on.
    if (AcDbDatabase* db = database(); db && openMode_ == AcDb::kForWrite) db->noteChange();
    openMode_ = AcDb::kNotOpen;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::upgradeOpen() {
    if (openMode_ == AcDb::kNotOpen && id_.isValid()) return Acad::eNotOpenForRead;
    if (AcDbDatabase* db = database(); db && openMode_ != AcDb::kForWrite) db->noteWrite(this);
    openMode_ = AcDb::kForWrite;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
    if (openMode_ == AcDb::kNotOpen && id_.isValid()) return Acad::eNotOpenForRead;
    openMode_ = AcDb::kForRead;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::erase(bool erasing) {
    if (!id_.isValid()) return Acad::eNotInDatabase;
    if (erased_ == erasing) return erasing ? Acad::eWasErased : Acad::eOk;
    database()->noteWrite(this);
    erased_ = erasing;
    return Acad::eOk;
}

resbuf* AcDbObject::xData(const wchar_t* app) const {
    resbuf *head = nullptr, *tail = nullptr;
    for (const AcDbXDataApp& a : xdata_) {
        if (app && !solx::db::sameName(a.app, app)) continue;
        AcDbDxfTags tags{{1001, acdbUtf8(a.app)}};
        tags.insert(tags.end(), a.tags.begin(), a.tags.end());
        resbuf* list = solx::db::tagsToResbuf(tags);
        (tail ? tail->rbnext : head) = list;
        for (tail = list; tail && tail->rbnext;) tail = tail->rbnext;
    }
    return head;
}

Acad::ErrorStatus AcDbObject::setXData(const resbuf* list) {
    AcDbDxfTags tags = solx::db::resbufToTags(list);
    if (tags.empty() || tags.front().code != 1001) return Acad::eInvalidXData;
    AcDbDatabase* db = database();
    for (size_t i = 0; i < tags.size();) {
        AcDbXDataApp app{acdbWide(tags[i].value), {}};
        if (db && db->symbolId(L"APPID", app.app).isNull()) return Acad::eRegappIdNotFound;
        for (++i; i < tags.size() && tags[i].code != 1001; ++i) app.tags.push_back(tags[i]);
        auto it = xdata_.begin();
        while (it != xdata_.end() && !solx::db::sameName(it->app, app.app)) ++it;
        if (app.tags.empty()) {
            if (it != xdata_.end()) xdata_.erase(it);
        } else if (it != xdata_.end()) {
            it->tags = std::move(app.tags);
        } else {
            xdata_.push_back(std::move(app));
        }
    }
    return Acad::eOk;
}

std::optional<AcDbFilterValue> AcDbObject::groupValue(short code) const {
    if (code == 0) return AcDbFilterValue::ofText(dxfName());
    if (code == 5) return AcDbFilterValue::ofText(handle_.toString());
    for (const AcDbKeptTag& k : kept_)
        if (k.tag.code == code) return solx::db::filterValueOf(k.tag, kept_);
    return std::nullopt;
}

AcDbObjectId AcDbObject::extensionDictionary() const {
    bool inGroup = false;
    for (const AcDbKeptTag& k : kept_) {
        if (k.tag.code == 102) inGroup = k.tag.value == "{ACAD_XDICTIONARY";
        if (inGroup && k.tag.code == 360)
            return lookupHandle(AcDbHandle(acdbWide(k.tag.value).c_str()));
    }
    return {};
}

bool AcDbObject::dxfInField(const AcDbDxfTag&, const std::string&) {
    return false;
}
void AcDbObject::dxfOutFields(AcDbDxfFiler&) const {}

std::optional<AcDbFilterValue> AcDbUnknownObject::groupValue(short code) const {
    if (code == 0) return AcDbFilterValue::ofText(dxfName());
    return AcDbObject::groupValue(code);
}
