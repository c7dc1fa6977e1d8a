// Adding entities to the drawing, full explosion, the drawing unit.
#include "brel/BrelDbObject.h"

#include "acad/AcDbDatabase.h"
#include "acad/AcDbBlockReference.h"
#include "acad/AcDbPolyFaceMesh.h"

AcDbObjectId AddToModelSpace(AcDbEntity* entity, int close) {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db || !entity) return {};
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, db->modelSpaceId(), AcDb::kForWrite) != Acad::eOk) return {};
    AcDbObjectId id;
    Acad::ErrorStatus es = space->appendAcDbEntity(id, entity);
    space->close();
    if (es != Acad::eOk) return {};
    // The new entity stays open for write unless the caller asks to close it.
    entity->setOpenMode(close ? AcDb::kNotOpen : AcDb::kForWrite);
    return id;
}

AcDbObjectId AddToCurrentSpace(AcDbEntity* entity, int close) {
    return AddToModelSpace(entity, close);
}

namespace {
// Nested blocks deeper than this are cut off: a block that contains itself would never end.
constexpr int kMaxDepth = 32;

bool isCompound(const AcDbEntity* e) {
    return dynamic_cast<const AcDbBlockReference*>(e) || dynamic_cast<const AcDbPolyFaceMesh*>(e);
}

void explodeInto(const AcDbEntity* entity, AcDbVoidPtrArray& result, int depth) {
    if (!isCompound(entity)) {
        result.append(static_cast<AcDbEntity*>(entity->clone()));
        return;
    }
    if (depth >= kMaxDepth) return;
    AcDbVoidPtrArray parts;
    if (entity->explode(parts) != Acad::eOk) return;
    for (AcDbEntity* part : parts) {
        if (isCompound(part)) {
            explodeInto(part, result, depth + 1);
            delete part;
        } else {
            result.append(part);
        }
    }
}
}  // namespace

int VxDbFullExplode3d(const AcDbEntity* entity, AcDbVoidPtrArray& result) {
    if (!entity) return 0;
    int before = result.length();
    explodeInto(entity, result, 0);
    return result.length() - before;
}

void ReleaseEntSet(AcDbVoidPtrArray& entities) {
    for (AcDbEntity* e : entities)
        if (!e->objectId().isValid()) delete e;
    entities.clear();
}

int VxDbGetDrawUnit(AcDbDatabase* db) {
    if (!db) db = acdbHostApplicationServices()->workingDatabase();
    if (!db) return 0;
    switch (db->insunits()) {
        case AcDb::kUnitsMeters:
            return 1;
        case AcDb::kUnitsCentimeters:
            return 2;
        default:  // millimetres, and what is assumed to be millimetres
            return 0;
    }
}

bool VxDbDrawUnitAssumed(AcDbDatabase* db, int& insunits) {
    if (!db) db = acdbHostApplicationServices()->workingDatabase();
    insunits = db ? db->insunits() : AcDb::kUnitsMillimeters;
    return insunits != AcDb::kUnitsMillimeters && insunits != AcDb::kUnitsCentimeters &&
           insunits != AcDb::kUnitsMeters;
}
