// Drawing-object services of the product line: adding entities to the drawing, full
// explosion into primitives, the drawing unit.
#pragma once

#include "acad/AcDbEntity.h"

// Adds an entity to model space (or the current space) of the working database, which owns
// it from then on; closes it when `close` is non-zero. Returns the new id (null on failure,
// and the entity is then still the caller's).
AcDbObjectId AddToModelSpace(AcDbEntity* entity, int close = 1);
AcDbObjectId AddToCurrentSpace(AcDbEntity* entity, int close = 1);

// Explodes an entity down to primitives (lines, arcs, circles, points, texts, faces,
// lightweight polylines...): blocks and meshes recursively, as new entities the caller owns
// (free them with ReleaseEntSet). Primitive entities are copied. Returns the count added.
int VxDbFullExplode3d(const AcDbEntity* entity, AcDbVoidPtrArray& result);
void ReleaseEntSet(AcDbVoidPtrArray& entities);

// The drawing unit from INSUNITS: 0 millimetres, 1 metres, 2 centimetres. Any other INSUNITS
// (unitless, inches, ...) reads as millimetres; VxDbDrawUnitAssumed tells when that happened.
int VxDbGetDrawUnit(AcDbDatabase* db = nullptr);
// True when the drawing's INSUNITS is none of millimetres, centimetres and metres, so that
// VxDbGetDrawUnit assumes millimetres; `insunits` receives the value found.
bool VxDbDrawUnitAssumed(AcDbDatabase* db, int& insunits);
