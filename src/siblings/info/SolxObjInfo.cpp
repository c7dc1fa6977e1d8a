// Info rows as extended data: after the application name, one pair of strings (1000 label,
// 1000 value) per row, in row order.
#include "solx/SolxObjInfo.h"

#include "acad/AcDbDatabase.h"
#include "acad/AcDbEntity.h"

namespace {
resbuf* Append(resbuf*& tail, int code, const wchar_t* text) {
    resbuf* rb = acutBuildList(code, text, 0);
    tail->rbnext = rb;
    tail = rb;
    return rb;
}
}  // namespace

int WriteXData(AcDbEntity* entity, const SolxObjInfoRows& rows) {
    if (!entity) return 0;
    AcDbDatabase* db = entity->database();
    if (!db) db = acdbHostApplicationServices()->workingDatabase();
    if (db) db->registerApp(kSolxInfoApp);
    resbuf* head = acutBuildList(1001, kSolxInfoApp, 0);
    resbuf* tail = head;
    for (auto* const* p = rows.GetFirst(); p; p = rows.GetNext(p)) {
        Append(tail, 1000, (*p)->name.c_str());
        Append(tail, 1000, (*p)->value.c_str());
    }
    const Acad::ErrorStatus status = entity->setXData(head);
    acutRelRb(head);
    return status == Acad::eOk ? 1 : 0;
}

int ReadXData(const AcDbEntity* entity, SolxObjInfoRows& rows) {
    if (!entity) return 0;
    resbuf* data = entity->xData(kSolxInfoApp);
    int count = 0;
    const resbuf* rb = data ? data->rbnext : nullptr;  // past the application name
    while (rb && rb->restype == 1000 && rb->rbnext && rb->rbnext->restype == 1000) {
        rows.Append(new IObjInfoUnit{rb->resval.rstring, rb->rbnext->resval.rstring});
        ++count;
        rb = rb->rbnext->rbnext;
    }
    acutRelRb(data);
    return count;
}
