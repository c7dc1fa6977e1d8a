// The drawing scale record: xrecord "SOLX_DRAWINGSCALE" of the named-objects dictionary.
#include "brel/VxDrawingScale.h"

#include <cmath>
#include <cwchar>

#include "acad/AcDbDatabase.h"
#include "acad/AcDbDictionary.h"
#include "acad/AcDbXrecord.h"
#include "acad/adsdef.h"

namespace {

constexpr const wchar_t* kRecordName = L"SOLX_DRAWINGSCALE";
constexpr const wchar_t* kScaleKey = L"SCALE";

AcDbDatabase* Resolve(AcDbDatabase* db) {
    if (db) return db;
    AcDbHostApplicationServices* services = acdbHostApplicationServices();
    return services ? services->workingDatabase() : nullptr;
}

bool Usable(double scale) {
    return std::isfinite(scale) && scale >= kVxMinDrawingScale && scale <= kVxMaxDrawingScale;
}

bool IsScaleKey(const resbuf* rb) {
    return rb->restype == 300 && rb->resval.rstring &&
           std::wcscmp(rb->resval.rstring, kScaleKey) == 0;
}

// The value after the key "SCALE"; 0 when the list has none that is a real.
double ScaleIn(const resbuf* list) {
    for (const resbuf* rb = list; rb; rb = rb->rbnext)
        if (IsScaleKey(rb) && rb->rbnext && rb->rbnext->restype == 40)
            return rb->rbnext->resval.rreal;
    return 0.0;
}

// The record's id; made when `create` and missing, null when missing and not made.
AcDbObjectId RecordId(AcDbDatabase* db, bool create) {
    AcDbDictionary* root = nullptr;
    if (acdbOpenObject(root, db->namedObjectsDictionaryId(), AcDb::kForRead) != Acad::eOk)
        return AcDbObjectId();
    AcDbObjectId id;
    if (root->getAt(kRecordName, id) != Acad::eOk && create && root->upgradeOpen() == Acad::eOk) {
        auto* record = new AcDbXrecord;
        if (root->setAt(kRecordName, record, id) == Acad::eOk)
            record->close();
        else
            delete record;
    }
    root->close();
    return id;
}

resbuf* NewPair(double scale) {
    return acutBuildList(300, kScaleKey, 40, scale, 0);
}

// The list with the value of "SCALE" replaced (or the pair appended); other pairs kept.
resbuf* WithScale(resbuf* list, double scale) {
    for (resbuf* rb = list; rb; rb = rb->rbnext)
        if (IsScaleKey(rb) && rb->rbnext && rb->rbnext->restype == 40) {
            rb->rbnext->resval.rreal = scale;
            return list;
        }
    if (!list) return NewPair(scale);
    resbuf* last = list;
    while (last->rbnext) last = last->rbnext;
    last->rbnext = NewPair(scale);
    return list;
}

resbuf* StoredList(AcDbObjectId id) {
    AcDbXrecord* record = nullptr;
    if (id.isNull() || acdbOpenObject(record, id, AcDb::kForRead) != Acad::eOk) return nullptr;
    resbuf* list = nullptr;
    record->rbChain(&list);
    record->close();
    return list;
}

}  // namespace

double VxDrawingScale(AcDbDatabase* db) {
    db = Resolve(db);
    if (!db) return kVxDefaultDrawingScale;
    resbuf* list = StoredList(RecordId(db, false));
    const double scale = ScaleIn(list);
    acutRelRb(list);
    return Usable(scale) ? scale : kVxDefaultDrawingScale;
}

Acad::ErrorStatus VxSetDrawingScale(double scale, AcDbDatabase* db) {
    db = Resolve(db);
    if (!db || !Usable(scale)) return Acad::eInvalidInput;
    resbuf* list = StoredList(RecordId(db, false));
    // Equal to the printed digits: a value that went through a DXF file comes back from its text.
    const double stored = ScaleIn(list);
    if (std::fabs(stored - scale) <= 1e-9 * scale) {
        acutRelRb(list);
        return Acad::eOk;
    }
    list = WithScale(list, scale);
    AcDbXrecord* record = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(record, RecordId(db, true), AcDb::kForWrite);
    if (es == Acad::eOk) {
        es = record->setFromRbChain(list);
        record->close();
    }
    acutRelRb(list);
    return es;
}

std::wstring VxDrawingScaleText(double scale) {
    wchar_t buf[64];
    std::swprintf(buf, 64, L"%.10g", scale);
    return buf;
}
