// Filtered geometric queries over model space. Each entity is opened for read, tested, closed.
#include "SelectionQuery.h"

#include <algorithm>

#include "acad/acdb.h"
#include "acad/aced.h"
#include "acad/acedFilter.h"

namespace solx::selection {
namespace {

// Opens id and runs f(entity) while it is open; false when it cannot be opened.
template <class F>
bool WithEntity(AcDbObjectId id, F&& f) {
    AcDbEntity* ent = nullptr;
    if (acdbOpenObject(ent, id, AcDb::kForRead) != Acad::eOk || !ent) return false;
    f(*ent);
    ent->close();
    return true;
}

bool Passes(const editor::SelectionFilter& filter, const AcDbEntity& ent) {
    return filter.Matches([&](short code) { return ent.groupValue(code); });
}

}  // namespace

std::vector<AcDbObjectId> ModelSpaceEntities() {
    std::vector<AcDbObjectId> ids;
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db) return ids;
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, db->modelSpaceId(), AcDb::kForRead) != Acad::eOk) return ids;
    for (const AcDbObjectId& id : space->entityIds()) {
        AcDbObject* obj = nullptr;
        if (acdbOpenObject(obj, id, AcDb::kForRead) != Acad::eOk) continue;  // erased
        obj->close();
        ids.push_back(id);
    }
    space->close();
    return ids;
}

QueryResult Query(const resbuf* filter, const std::function<bool(const HitShape&)>& test) {
    QueryResult result;
    const editor::SelectionFilter parsed(filter);
    if (!parsed.ok()) return result.error = parsed.error(), result;
    if (!acdbHostApplicationServices()->workingDatabase())
        return result.error = L"no drawing is open", result;
    for (const AcDbObjectId& id : ModelSpaceEntities())
        WithEntity(id, [&](const AcDbEntity& ent) {
            if (Passes(parsed, ent) && (!test || test(ShapeOf(ent)))) result.ids.push_back(id);
        });
    return result;
}

AcDbObjectId PickNearest(const resbuf* filter, Point2 p, double aperture) {
    const editor::SelectionFilter parsed(filter);
    AcDbObjectId best;
    double bestDistance = -1.0;
    for (const AcDbObjectId& id : ModelSpaceEntities())
        WithEntity(id, [&](const AcDbEntity& ent) {
            if (!Passes(parsed, ent)) return;
            const double d = PickDistance(ShapeOf(ent), p, aperture);
            // Later entities are drawn on top: on a tie they win.
            if (d >= 0 && (bestDistance < 0 || d <= bestDistance)) best = id, bestDistance = d;
        });
    return best;
}

AcDbObjectId LastEntity(const resbuf* filter) {
    const QueryResult all = Query(filter, nullptr);
    return all.ids.empty() ? AcDbObjectId() : all.ids.back();
}

AcDbObjectId ByHandle(const std::wstring& hex, const resbuf* filter) {
    const AcDbHandle handle(hex.c_str());
    if (handle.isNull()) return {};
    const QueryResult all = Query(filter, nullptr);
    for (const AcDbObjectId& id : all.ids) {
        AcDbHandle h;
        if (WithEntity(id, [&](const AcDbEntity& ent) { ent.getAcDbHandle(h); }) && h == handle)
            return id;
    }
    return {};
}

double PickAperture() {
    int pickbox = 3;
    resbuf rb;
    if (acedGetVar(L"PICKBOX", &rb) == RTNORM && rb.restype == RTSHORT) pickbox = rb.resval.rint;
    const editor::ViewModel& view = editor::CurrentView();
    const double pixel = view.heightPixels > 0 ? view.height / view.heightPixels : 1.0;
    return std::max(pickbox, 1) * pixel;
}

}  // namespace solx::selection
