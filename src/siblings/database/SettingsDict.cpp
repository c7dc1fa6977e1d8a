// The settings inside the drawing: named dictionary g_dictSunSet in the named-objects
// dictionary, holding the xrecord "SETTINGS" with the list of SolxDataSet::ToResbuf.
#include "solx/SolxDataSet.h"

#include "acad/AcDbDatabase.h"
#include "acad/AcDbXrecord.h"
#include "acad/adsdef.h"

namespace {

constexpr const wchar_t* kRecordKey = L"SETTINGS";

AcDbDatabase* Resolve(AcDbDatabase* db) {
    if (db) return db;
    AcDbHostApplicationServices* services = acdbHostApplicationServices();
    return services ? services->workingDatabase() : nullptr;
}

// The id of the entry `key` of an open dictionary, made (as a new dictionary or xrecord)
// when `create` and missing; null id when missing and not created.
template <typename T>
AcDbObjectId Entry(AcDbDictionary* dict, const wchar_t* key, bool create) {
    AcDbObjectId id;
    if (dict->getAt(key, id) == Acad::eOk) return id;
    if (!create || dict->upgradeOpen() != Acad::eOk) return AcDbObjectId();
    T* object = new T;
    if (dict->setAt(key, object, id) != Acad::eOk) {
        delete object;
        return AcDbObjectId();
    }
    object->close();
    return id;
}

// The settings xrecord's id, following (and with `create` making) the dictionary path.
AcDbObjectId RecordId(AcDbDatabase* db, const std::wstring& dictName, bool create) {
    AcDbDictionary* root = nullptr;
    if (acdbOpenObject(root, db->namedObjectsDictionaryId(), AcDb::kForRead) != Acad::eOk)
        return AcDbObjectId();
    const AcDbObjectId dictId = Entry<AcDbDictionary>(root, dictName.c_str(), create);
    root->close();
    AcDbDictionary* dict = nullptr;
    if (dictId.isNull() || acdbOpenObject(dict, dictId, AcDb::kForRead) != Acad::eOk)
        return AcDbObjectId();
    const AcDbObjectId recordId = Entry<AcDbXrecord>(dict, kRecordKey, create);
    dict->close();
    return recordId;
}

}  // namespace

bool SolxDataSet::SaveSunDataSetDict(const std::wstring* dictName, AcDbDatabase* db) const {
    db = Resolve(db);
    if (!db || !dictName) return false;
    const AcDbObjectId id = RecordId(db, *dictName, true);
    AcDbXrecord* record = nullptr;
    if (id.isNull() || acdbOpenObject(record, id, AcDb::kForWrite) != Acad::eOk) return false;
    resbuf* list = ToResbuf();
    const bool ok = record->setFromRbChain(list) == Acad::eOk;
    acutRelRb(list);
    record->close();
    return ok;
}

bool SolxDataSet::LoadSunDataSetDict(const std::wstring* dictName, AcDbDatabase* db) {
    db = Resolve(db);
    if (!db || !dictName) return false;
    const AcDbObjectId id = RecordId(db, *dictName, false);
    AcDbXrecord* record = nullptr;
    if (id.isNull() || acdbOpenObject(record, id, AcDb::kForRead) != Acad::eOk) return false;
    resbuf* list = nullptr;
    record->rbChain(&list);
    record->close();
    const bool ok = list && FromResbuf(list);
    acutRelRb(list);
    return ok;
}
