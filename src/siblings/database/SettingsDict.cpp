// The settings inside the drawing: named dictionary g_dictSunSet in the named-objects
// dictionary, holding the xrecord "SETTINGS" with the list of SolxDataSet::ToResbuf.
#include "solx/SolxDataSet.h"

#include "acad/AcDbDatabase.h"
#include "acad/AcDbXrecord.h"
#include "acad/adsdef.h"

#include <cmath>
#include <cwchar>

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

// The two lists hold the same items (reals equal to the last printed digits, since a list that
// went through a DXF file comes back from its text).
bool SameList(const resbuf* a, const resbuf* b) {
    for (; a && b; a = a->rbnext, b = b->rbnext) {
        if (a->restype != b->restype) return false;
        const int code = a->restype;
        if ((code >= 0 && code <= 9) || (code >= 300 && code <= 309)) {
            const wchar_t* x = a->resval.rstring ? a->resval.rstring : L"";
            const wchar_t* y = b->resval.rstring ? b->resval.rstring : L"";
            if (std::wcscmp(x, y) != 0) return false;
        } else if (code >= 40 && code <= 59) {
            const double x = a->resval.rreal, y = b->resval.rreal;
            if (std::fabs(x - y) > 1e-9 * std::fmax(1.0, std::fabs(x))) return false;
        } else if (code >= 90 && code <= 99) {
            if (a->resval.rlong != b->resval.rlong) return false;
        } else {
            return false;  // not a kind this record uses: treat as changed
        }
    }
    return !a && !b;
}

// The settings record of the drawing already says what `list` says.
bool Unchanged(AcDbDatabase* db, const std::wstring& dictName, const resbuf* list) {
    const AcDbObjectId id = RecordId(db, dictName, false);
    AcDbXrecord* record = nullptr;
    if (id.isNull() || acdbOpenObject(record, id, AcDb::kForRead) != Acad::eOk) return false;
    resbuf* stored = nullptr;
    record->rbChain(&stored);
    record->close();
    const bool same = SameList(stored, list);
    acutRelRb(stored);
    return same;
}

}  // namespace

bool SolxDataSet::SaveSunDataSetDict(const std::wstring* dictName, AcDbDatabase* db) const {
    db = Resolve(db);
    if (!db || !dictName) return false;
    resbuf* list = ToResbuf();
    // A drawing that already holds these settings is left untouched.
    if (Unchanged(db, *dictName, list)) {
        acutRelRb(list);
        return true;
    }
    const AcDbObjectId id = RecordId(db, *dictName, true);
    AcDbXrecord* record = nullptr;
    if (id.isNull() || acdbOpenObject(record, id, AcDb::kForWrite) != Acad::eOk) {
        acutRelRb(list);
        return false;
    }
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
