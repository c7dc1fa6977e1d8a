// Block definitions: the BLOCK_RECORD entry, its BLOCK/ENDBLK records and its entities.
#include "acad/AcDbAttributeDefinition.h"
#include "acad/AcDbDatabase.h"
#include "db/TagResbuf.h"

using solx::db::sameName;
using solx::db::upper;

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* entity) {
    AcDbObjectId id;
    return appendAcDbEntity(id, entity);
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity) {
    AcDbDatabase* db = database();
    if (!db) return Acad::eNotInDatabase;
    if (!entity) return Acad::eNullEntityPointer;
    db->noteWrite(this);
    id = entity->objectId();
    if (!id.isValid()) {
        // A new entity takes the current layer, colour and linetype where its maker set none.
        entity->setUnsetDatabaseDefaults(db);
        Acad::ErrorStatus es = db->addAcDbObject(id, entity);
        if (es != Acad::eOk) return es;
    }
    entity->setOwnerId(objectId());
    entities_.append(id);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& it) const {
    it = new AcDbBlockTableRecordIterator(this);
    return Acad::eOk;
}

bool AcDbBlockTableRecord::isLayout() const {
    return sameName(name_, L"*Model_Space") || upper(name_).rfind(L"*PAPER_SPACE", 0) == 0;
}

bool AcDbBlockTableRecord::hasAttributeDefinitions() const {
    for (AcDbObjectId id : entities_)
        if (dynamic_cast<AcDbAttributeDefinition*>(id.object()) && !id.isErased()) return true;
    return false;
}

bool AcDbBlockTableRecord::dxfInField(const AcDbDxfTag& t, const std::string&) {
    if (t.code != 2) return false;
    name_ = acdbDxfText(t);
    return true;
}

void AcDbBlockTableRecord::dxfOutFields(AcDbDxfFiler& f) const {
    f.writeSubclass("AcDbSymbolTableRecord");
    f.writeSubclass("AcDbBlockTableRecord");
    f.writeString(2, name_);
}

void AcDbBlockTableRecord::readBlockBegin(const AcDbDxfTags& tags) {
    for (size_t i = 0; i < tags.size(); ++i) {
        const AcDbDxfTag& t = tags[i];
        switch (t.code) {
            case 5:
                beginHandle = AcDbHandle(acdbWide(t.value).c_str());
                break;
            case 8:
                beginLayer = acdbDxfText(t);
                break;
            case 70:
                blockFlags_ = acdbDxfInt(t);
                break;
            case 10:
            case 20:
            case 30:
                origin_[t.code / 10 - 1] = acdbDxfReal(t);
                break;
            case 4:
                description_ = acdbDxfText(t);
                break;
            case 2:
            case 3:
            case 100:
            case 330:
            case 67:
                break;  // rewritten
            case 1001:
                for (; i < tags.size(); ++i) {
                    if (tags[i].code == 1001)
                        beginXData.push_back({acdbWide(tags[i].value), {}});
                    else
                        beginXData.back().tags.push_back(tags[i]);
                }
                break;
            default:
                beginKept.push_back({"*", t});
        }
    }
}

void AcDbBlockTableRecord::readBlockEnd(const AcDbDxfTags& tags) {
    for (const auto& t : tags) {
        if (t.code == 5)
            endHandle = AcDbHandle(acdbWide(t.value).c_str());
        else if (t.code != 100 && t.code != 330 && t.code != 8 && t.code != 67)
            endKept.push_back({"*", t});
    }
}

AcDbDxfTags AcDbBlockTableRecord::writeBlockBegin() const {
    AcDbDxfFiler f(&beginKept);
    f.writeHead(5, beginHandle, handle());
    f.writeSubclass("AcDbEntity");
    if (upper(name_).rfind(L"*PAPER_SPACE", 0) == 0) f.writeInt(67, 1);
    f.writeString(8, beginLayer);
    f.writeSubclass("AcDbBlockBegin");
    f.writeString(2, name_);
    f.writeInt(70, blockFlags_);
    f.writePoint3d(10, origin_);
    f.writeString(3, name_);
    bool hasPath = false;
    for (const auto& k : beginKept) hasPath = hasPath || k.tag.code == 1;
    if (!hasPath) f.writeUtf8(1, "");
    if (!description_.empty()) f.writeString(4, description_);
    AcDbDxfTags tags = f.finish();
    for (const auto& app : beginXData) {
        tags.push_back({1001, acdbUtf8(app.app)});
        tags.insert(tags.end(), app.tags.begin(), app.tags.end());
    }
    return tags;
}

AcDbDxfTags AcDbBlockTableRecord::writeBlockEnd() const {
    AcDbDxfFiler f(&endKept);
    f.writeHead(5, endHandle, handle());
    f.writeSubclass("AcDbEntity");
    if (upper(name_).rfind(L"*PAPER_SPACE", 0) == 0) f.writeInt(67, 1);
    f.writeString(8, beginLayer);
    f.writeSubclass("AcDbBlockEnd");
    return f.finish();
}

void AcDbBlockTableRecordIterator::skipErased() {
    const auto& ids = block_->entityIds();
    while (index_ < ids.size() && (!ids[index_].isValid() || ids[index_].isErased())) ++index_;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& id) const {
    if (done()) return Acad::eInvalidIndex;
    id = block_->entityIds()[index_];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& entity,
                                                          AcDb::OpenMode mode) const {
    AcDbObjectId id;
    Acad::ErrorStatus es = getEntityId(id);
    return es == Acad::eOk ? acdbOpenObject(entity, id, mode) : es;
}
